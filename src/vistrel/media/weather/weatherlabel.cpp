#include "vistrel/media/weather/weatherlabel.h"

#include <string>

#include "core/messages/mediamessages.h"
#include "vistrel/media/weather/forecastview.h"
#include "vistrel/media/weather/weathernow.h"
#include "vistrel/shell/pagecontrol.h"
#include "vistrel/shell/pagemakers.h"
#include "widgets/window/gateway.h"
#include "widgets/window/mainwnd.h"

CWeatherLabel::CWeatherLabel(CZVWindow* parent, CZVRect rect, CZVServer& server)
    : CZVLabel(parent, rect, "", kStyleClass), CSocketSink(server) {
    if (parent) SetBackColor(parent->GetFaceColor());
    SetTextColor(kWhite);
    server.RegisterSink(this);
    RequestText();
}

CWeatherLabel::~CWeatherLabel() {
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

void CWeatherLabel::RequestText() {
    CZVServer* server = GetServer();
    if (!server) return;
    CZVMSG request(GetId(), ZVM_WEATHER_GETTEXTQ);
    server->Send(&request);
}

void CWeatherLabel::OnMessage(CZVMSG* message) {
    switch (message->GetId()) {
    case ZVM_WEATHER_CHANGED: RequestText(); return;
    case ZVM_WEATHER_GETTEXTA: {
        message->ResetPosition();
        std::string text;
        if (!message->ReadString(text)) return;
        SetText(text.c_str(), nullptr, m_shown && !CMainWndBase::InputBlockedFor(this));
        return;
    }
    default: return;
    }
}

// ---- the factory

CZVWindow* MakeWeatherLabel(CPageControlArgs& args) {
    CZVServer* server = GetGatewayServer();
    if (!server) return nullptr;
    auto* label = new CWeatherLabel(args.parent, args.rect, *server);
    if (args.fontSize) label->SetFontSize(args.fontSize);
    if (args.textColor) label->SetTextColor(args.textColor);
    return label;
}

void RegisterWeatherControls() {
    static constexpr CControlMakerRow kControls[] = {
        {CWeatherNowWnd::kType, MakeWeatherNow, kSkipCommon},
        {CForecastView::kType, MakeForecastView, kSkipCommon},
        {CWeatherLabel::kType, MakeWeatherLabel, kSkipCommon},
    };
    RegisterControlMakers(kControls);
}
