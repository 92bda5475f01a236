#include "vistrel/media/weather/forecastview.h"

#include <algorithm>

#include "core/messages/mediamessages.h"
#include "gfx/jpegdecode.h"
#include "gfx/picturelimits.h"
#include "gfx/skinservices.h"
#include "gfx/speed.h"
#include "platform/report.h"
#include "vistrel/media/weather/weatherdata.h"
#include "vistrel/shell/pagecontrol.h"
#include "widgets/style/setserver.h"
#include "widgets/window/gateway.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr int kSmallScreen = 600;
constexpr int kBaseFont = 14;
constexpr int kLightWeight = 384;
constexpr COLORREF kLightHigh = 0x9696FF;
constexpr COLORREF kLightLow = 0xFF9696;
constexpr COLORREF kStrongHigh = 0x0000FF;
constexpr COLORREF kStrongLow = 0xFF0000;
constexpr int kTextFormat = 0x12;
constexpr int kTexturedTextFormat = 0x112;

int RedOf(COLORREF c) { return static_cast<int>(c & 0xFF); }
int BlueOf(COLORREF c) { return static_cast<int>(c >> 16 & 0xFF); }

}  // namespace

int GetForecastFontSize() {
    CMainWndBase* main = GetMainWnd();
    if (!main || main->GetHeight() <= kSmallScreen) return kBaseFont;
    return main->GetHeight() * kBaseFont / kSmallScreen;
}

int ForecastTileCount(int width, int height, int days, int maximum) {
    const int pitch = height > width ? CForecastView::kStackedPitch : CForecastView::kAcrossPitch;
    int count = days;
    const int fit = std::max(width, height) / pitch;
    if (count >= fit) count = fit;
    if (maximum > 0 && count >= maximum) count = maximum;
    return std::max(count, 0);
}

CForecastColors ForecastColorsFor(COLORREF textColor) {
    const int weight = BlueOf(textColor) + 2 * RedOf(textColor);
    if (weight > kLightWeight) return {MixColors(textColor, kLightHigh, 0.5), MixColors(textColor, kLightLow, 0.5)};
    return {MixColors(textColor, kStrongHigh, 0.5), MixColors(textColor, kStrongLow, 0.5)};
}

// ---- the view

CForecastView::CForecastView(CZVWindow* parent, CZVRect rect, CZVServer& server, int maximumDays)
    : CZVWindow(parent, rect, parent ? parent->GetStyleClass() : 0),
      CSocketSink(server),
      m_maximumDays(maximumDays & 0xFF) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    server.RegisterSink(this);
    RequestForecast();
}

CForecastView::~CForecastView() {
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

void CForecastView::RequestForecast() {
    CZVServer* server = GetServer();
    if (!server) return;
    CZVMSG request(GetId(), ZVM_WEATHER_GETFORECASTQ);
    server->Send(&request);
}

void CForecastView::OnMessage(CZVMSG* message) {
    switch (message->GetId()) {
    case ZVM_WEATHER_CHANGED: RequestForecast(); return;
    case ZVM_WEATHER_GETFORECASTA: {
        const bool draw = m_shown && !CMainWndBase::InputBlockedFor(this);
        if (draw) ForEachChild(m_children, [&](CZVWindow* child) { EraseChildArea(child); });
        DeleteChildren();
        Build(message);
        if (draw) Redraw(0);
        return;
    }
    default: return;
    }
}

void CForecastView::Build(CZVMSG* message) {
    if (!m_children.IsEmpty()) ReportAssert("fcview", __LINE__, 1);
    CZVServer* server = GetServer();
    message->ResetPosition();
    CWeatherData data;
    if (!server || !data.Read(message) || data.GetDayCount() == 0) return;
    const int vertical = m_height > m_width;
    const int count = ForecastTileCount(m_width, m_height, data.GetDayCount(), m_maximumDays);
    const CZVRect client(0, 0, m_width, m_height);
    for (int i = 0; i < count; ++i) {
        const CForecastDay* day = data.GetDay(i);
        if (!day) continue;
        const CZVRect cell = vertical ? client.Row(i, count, 1) : client.Column(i, count, 1);
        auto* tile = new CForecastDayView(this, cell, *server, *day, i, m_textColor, vertical);
        tile->Show(m_shown, 1);
        AddChild(tile);
    }
}

// ---- a day's tile

CForecastDayView::CForecastDayView(CZVWindow* parent, CZVRect rect, CZVServer& server, const CForecastDay& day,
                                   int index, COLORREF textColor, int vertical)
    : CZVWindow(parent, rect, 0),
      CSocketSink(server),
      m_index(index),
      m_high(day.high),
      m_low(day.low),
      m_dayText(day.text),
      m_dayOfWeek(day.date.GetDayOfWeek()),
      m_iconSize(IconSizeFor(rect.w, rect.h, vertical)),
      m_vertical(vertical) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    m_textColor = textColor;
    const CForecastColors colours = ForecastColorsFor(textColor);
    m_highColor = colours.high;
    m_lowColor = colours.low;
    server.RegisterSink(this);
    CZVMSG request(GetId(), ZVM_WEATHER_GETICONQ);
    request.WriteInt(m_index);
    request.WriteInt(m_iconSize);
    request.WriteInt(m_iconSize);
    server.Send(&request);
}

CForecastDayView::~CForecastDayView() {
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

int CForecastDayView::IconSizeFor(int width, int height, int vertical) {
    int side = 0;
    if (vertical) {
        side = std::min(height, width - kStackedText);
    } else {
        side = std::min(width - 4, height - 4 * GetForecastFontSize()) - 4;
        if (side & 1) ++side;
    }
    return std::max(side, kMinIcon);
}

void CForecastDayView::OnMessage(CZVMSG* message) {
    if (message->GetId() != ZVM_WEATHER_GETICONA || m_iconAnswered) return;
    m_iconAnswered = 1;
    TakeIcon(message);
}

void CForecastDayView::TakeIcon(CZVMSG* message) {
    message->ResetPosition();
    int32_t count = 0;
    // The picture is the bytes the gateway counted, never more than it sent.
    if (!message->ReadInt(count) || count < 0 || count > message->GetRemaining()) return;
    const uint8_t* jpeg = message->GetUnread();
    const auto size = static_cast<size_t>(count);
    int width = 0;
    int height = 0;
    if (!jpeg || !ReadJpegSize(jpeg, size, &width, &height)) {
        ReportAssert("fcdayview", __LINE__, 1);
        return;
    }
    if (!WithinPictureLimits(width, height)) return;
    auto surface = std::make_unique<CDibDC>(width, height, 0, 0, 0);
    if (!surface->GetBits() || !DecodeJpegWithProgress(jpeg, size, surface->GetBits(), surface->GetWidth(),
                                                       surface->GetHeight(), 0, 0, 0, nullptr))
        return;
    if (width != m_iconSize || height != m_iconSize) {
        std::unique_ptr<CDibDC> scaled(surface->ScaleNearest(m_iconSize, m_iconSize));
        if (!scaled) return;
        surface = std::move(scaled);
    }
    m_icon = std::move(surface);
    if (m_shown && !CMainWndBase::InputBlockedFor(this)) {
        CZVDC dc(this);
        DrawIcon(&dc);
    }
}

void CForecastDayView::DrawIcon(CZVDC* dc) {
    const int w = m_icon ? m_icon->GetRequestedWidth() : m_iconSize;
    const int h = m_icon ? m_icon->GetHeight() : m_iconSize;
    const int x = m_vertical ? kIconFrame : m_width / 2 - w / 2;
    const int y = m_vertical ? m_height / 2 - h / 2 : kIconFrame;
    const int f = kIconFrame;
    if ((CSetServer::CurrentFlags() & kStyleSkins) && IsOnBaseSurface()) {
        CDibDC box(w + 2 * f, h + 2 * f, 0, 0, 1);
        box.FillBevelBoxStd(m_backColor, m_backColor, true, 0, 0, w + 2 * f - 1, h + 2 * f - 1, f);
        Skins().DrawWithSkin(dc, &box, ToRootX(x - f), ToRootY(y - f), x - f, y - f, w + 2 * f, h + 2 * f, 0);
    } else {
        dc->FillBevelBoxStd(m_faceColor, m_faceColor, true, x - f, y - f, x + w + f - 1, y + h + f - 1, f);
    }
    if (m_icon) dc->BitBlt(x, y, m_icon.get(), 0, 0, w, h);
}

void CForecastDayView::OnPaint(CZVDC* dc) {
    CZVWindow::OnPaint(dc);
    CZVRect rest(0, 0, m_width, m_height);
    if (m_vertical)
        rest.CutLeft(m_iconSize + 4, 1);
    else
        rest.CutTop(m_iconSize + 4, 1);
    const CZVRect lower = rest.Row(1, 2, 0);
    const CZVRect values = rest.Row(1, 4, 0);
    const CZVRect name = rest.Row(0, 4, 0);
    const int format = m_texture ? kTexturedTextFormat : kTextFormat;
    dc->SetFont(GetForecastFontSize(), 0, 1);
    dc->SetColor(m_textColor);
    dc->DrawText(GetDayName(m_dayOfWeek).c_str(), name, format);
    if (m_high != kNoWeatherValue) {
        CZVRect right = values;
        right.CutLeft(values.w / 2, 0);
        right.w = std::min(right.w, kValueWidth);
        CZVString text;
        text.Format("Hi %d", m_high);
        dc->SetColor(m_highColor);
        dc->DrawText(text, right, format);
    }
    if (m_low != kNoWeatherValue) {
        CZVRect left = values.Column(0, 2, 0);
        left.w = values.w / 2;
        if (left.w > kValueWidth) {
            left.x += left.w - kValueWidth;
            left.w = kValueWidth;
        }
        CZVString text;
        text.Format("Lo %d", m_low);
        dc->SetColor(m_lowColor);
        dc->DrawText(text, left, format);
    }
    int lines = kTextLines;
    CZVString text(m_dayText.c_str());
    const CZVString wrapped = dc->WrapText(text, m_width, kWrapLookBack, &lines);
    dc->SetColor(m_textColor);
    dc->DrawText(wrapped, CZVRect(0, lower.y, m_width, lower.h), format);
    DrawIcon(dc);
}

CZVWindow* MakeForecastView(CPageControlArgs& args) {
    CZVServer* server = GetGatewayServer();
    if (!server) return nullptr;
    auto* view = new CForecastView(args.parent, args.rect, *server, args.parameter);
    if (args.textColor) view->SetTextColor(args.textColor);
    return view;
}
