#include "vistrel/media/weather/weathernow.h"

#include <algorithm>
#include <vector>

#include "core/messages/mediamessages.h"
#include "core/zvtime.h"
#include "vistrel/media/weather/weatherdata.h"
#include "vistrel/shell/pagecontrol.h"
#include "vistrel/shell/temperatureunit.h"
#include "widgets/text/zvlabel.h"
#include "widgets/window/gateway.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr const char* kCaptions[CWeatherNowLayout::kEntries] = {"Current",   "Current Temp", "Wind",      "Wind Chill",
                                                                "Barometer", "Humidity",     "Dew Point", "Visibility",
                                                                "Sunrise",   "Sunset"};
enum Entry : int {
    kCurrent,
    kCurrentTemp,
    kWind,
    kWindChill,
    kBarometer,
    kHumidity,
    kDewPoint,
    kVisibility,
    kSunrise,
    kSunset
};

CZVString OrDash(const std::string& text) { return text.empty() ? CZVString("-") : CZVString(text.c_str()); }

CZVString WithSuffix(CZVString text, const char* suffix) {
    text += suffix;
    return text;
}

}  // namespace

CWeatherNowLayout LayoutWeatherNow(int width, int height, int fontSize) {
    CWeatherNowLayout layout;
    if (width > static_cast<int>(height * 1.5)) {
        layout.rows = std::max(1, layout.rows / 2);
        while (layout.columns * layout.rows < CWeatherNowLayout::kEntries) ++layout.columns;
    }
    layout.fontSize =
        fontSize ? fontSize : std::clamp(height / layout.rows - 2, CWeatherNowWnd::kMinFont, CWeatherNowWnd::kMaxFont);
    return layout;
}

CWeatherNowWnd::CWeatherNowWnd(CZVWindow* parent, CZVRect rect, CZVServer& server, int fontSize)
    : CZVWindow(parent, rect, parent ? parent->GetStyleClass() : 0),
      CSocketSink(server),
      m_layout(LayoutWeatherNow(rect.w, rect.h, fontSize)) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    m_textColor = kWhite;
    m_fontSize = m_layout.fontSize;
    server.RegisterSink(this);
    for (int i = 0; i < kEntries; ++i) {
        CZVRect cell = CellOf(i);
        const CZVRect caption = cell.CutLeft(cell.w / 2, 0);
        m_captions[i] = AddLabelClass(caption, kCaptions[i], m_layout.fontSize, m_styleClass);
        m_values[i] = AddLabelClass(cell, "", m_layout.fontSize, m_styleClass);
        for (CZVLabel* label : {m_captions[i], m_values[i]}) {
            label->SetTextFormat(kTextFormat);
            label->SetTextColor(kWhite);
            label->SetSmooth(1);
        }
    }
    RequestWeather();
}

CWeatherNowWnd::~CWeatherNowWnd() {
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

CZVRect CWeatherNowWnd::CellOf(int entry) const {
    const int row = entry % m_layout.rows;
    const int column = entry / m_layout.rows;
    return CZVRect(0, 0, m_width, m_height).Row(row, m_layout.rows, 0).Column(column, m_layout.columns, 0);
}

void CWeatherNowWnd::RequestWeather() {
    CZVServer* server = GetServer();
    if (!server) return;
    CZVMSG request(GetId(), ZVM_WEATHER_GETFORECASTQ);
    server->Send(&request);
}

void CWeatherNowWnd::OnMessage(CZVMSG* message) {
    switch (message->GetId()) {
    case ZVM_WEATHER_CHANGED: RequestWeather(); return;
    case ZVM_WEATHER_GETFORECASTA: Update(message, m_shown && !CMainWndBase::InputBlockedFor(this)); return;
    default: return;
    }
}

void CWeatherNowWnd::Update(CZVMSG* message, int redraw) {
    message->ResetPosition();
    CWeatherData data;
    if (!data.Read(message)) return;
    int32_t sunrise = 0;
    int32_t sunset = 0;
    if (!message->ReadInt(sunrise) || !message->ReadInt(sunset)) sunset = 0;
    const int celsius = IsCelsius(GetServer());
    CZVString texts[kEntries];
    texts[kCurrent] = OrDash(data.conditions);
    texts[kCurrentTemp] = FormatWeatherTemperature(data.temperature, celsius);
    texts[kWind] = OrDash(data.wind);
    texts[kWindChill] = FormatWeatherTemperature(data.windChill, celsius);
    texts[kBarometer] = FormatHundredths(data.barometer);
    texts[kHumidity] = WithSuffix(FormatWeatherInt(data.humidity), " %");
    texts[kDewPoint] = FormatWeatherTemperature(data.dewPoint, celsius);
    texts[kVisibility] = WithSuffix(FormatHundredths(data.visibility), " mi");
    if (sunrise && sunset) {
        texts[kSunrise] = FormatHourMinute(sunrise).c_str();
        texts[kSunset] = FormatHourMinute(sunset).c_str();
    }
    for (int i = 0; i < kEntries; ++i) {
        m_values[i]->SetText(texts[i], nullptr, 0);
        m_captions[i]->SetTextColor(m_textColor);
        m_values[i]->SetTextColor(m_textColor);
    }
    PlaceColumns();
    if (!redraw) return;
    if (m_texture)
        Redraw(1);
    else
        RedrawBuffered();
}

void CWeatherNowWnd::PlaceColumns() {
    const int columns = m_layout.columns;
    std::vector<int> captionWidth(static_cast<size_t>(columns), 0);
    std::vector<int> valueWidth(static_cast<size_t>(columns), 0);
    CZVDC dc;
    dc.SetFont(m_layout.fontSize, 0, 1);
    for (int i = 0; i < kEntries; ++i) {
        const auto c = static_cast<size_t>(i / m_layout.rows);
        captionWidth[c] = std::max(captionWidth[c], dc.GetTextSize(m_captions[i]->GetText()).cx);
        valueWidth[c] = std::max(valueWidth[c], dc.GetTextSize(m_values[i]->GetText()).cx);
    }
    int sum = 0;
    for (int c = 0; c < columns; ++c) sum += captionWidth[static_cast<size_t>(c)] + valueWidth[static_cast<size_t>(c)];
    if (sum <= 0) return;
    for (int c = 0; c < columns; ++c) {
        captionWidth[static_cast<size_t>(c)] = captionWidth[static_cast<size_t>(c)] * m_width / sum;
        valueWidth[static_cast<size_t>(c)] = valueWidth[static_cast<size_t>(c)] * m_width / sum;
    }
    int x = 0;
    for (int i = 0; i < kEntries; ++i) {
        const int row = i % m_layout.rows;
        const auto c = static_cast<size_t>(i / m_layout.rows);
        const CZVRect band = CZVRect(0, 0, m_width, m_height).Row(row, m_layout.rows, 0);
        m_captions[i]->SetRect(CZVRect(x, band.y, captionWidth[c], band.h));
        const int valueX = x + captionWidth[c] - 1;
        m_values[i]->SetRect(CZVRect(valueX, band.y, valueWidth[c], band.h));
        if (row == m_layout.rows - 1) x = valueX + valueWidth[c] - 1;
    }
}

CZVWindow* MakeWeatherNow(CPageControlArgs& args) {
    CZVServer* server = GetGatewayServer();
    if (!server) return nullptr;
    return new CWeatherNowWnd(args.parent, args.rect, *server, args.fontSize);
}
