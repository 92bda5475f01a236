#include "vistrel/media/tv/tvchannel.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "core/messages/mediamessages.h"
#include "core/msgreader.h"
#include "gfx/speed.h"
#include "gfx/ticks.h"
#include "platform/clock.h"
#include "vistrel/shell/pagecontrol.h"
#include "widgets/style/setserver.h"
#include "widgets/tabs/captionfitter.h"
#include "widgets/text/zvlabel.h"
#include "widgets/window/gateway.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr double kKeyShade = 0.9;
constexpr int kDisplayBevelType = 2;
constexpr int kDisplayFormat = 18;
constexpr const char* kWidestCaption = "CHANNEL 9999";
constexpr int kMaxKeyGap = 5;
constexpr int kEntryPlaces = 4;

}  // namespace

CZVString FormatChannelDisplay(int channel, int entry) {
    char text[32];
    std::snprintf(text, sizeof text, "Channel %3d", channel);
    std::string shown = text;
    if (entry >= 1 && entry <= kEntryPlaces - 1) shown.append(static_cast<size_t>(kEntryPlaces - entry), '_');
    return CZVString(shown.c_str());
}

CTvChannelCtl::CTvChannelCtl(CZVWindow* parent, CZVServer& server, int source, int digits, int radius, int bevel,
                             COLORREF faceColour, CZVRect rect, int type, int fontSize)
    : CRRegion(parent, rect, kStyleClass),
      CSocketSink(server),
      m_source(source),
      m_digits(std::clamp(digits, kMinDigits, kMaxDigits)),
      m_type(type) {
    if (radius == 0 || bevel == 0) radius = bevel = kDefaultShape;
    SetShape(radius, bevel, 0);
    if (fontSize > 0) SetFontSize(fontSize);
    if (parent) SetBackColor(parent->GetFaceColor());
    SetFaceColor(faceColour ? faceColour : parent ? parent->GetFaceColor() : GetFaceColor());
    CZVRect area;
    GetContentRectWide(&area);
    const int band = m_height / 5;
    PlaceKeypad(CZVRect(area.x, area.y + band, area.w, area.h - band));
    BuildDisplay(CZVRect(area.x, area.y, area.w, band));
    server.RegisterSink(this);
    RequestChannel();
    SetTimer(kPollInterval);
}

CTvChannelCtl::~CTvChannelCtl() {
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

void CTvChannelCtl::PlaceKeypad(CZVRect area) {
    const int gap = std::clamp(m_width / 100, 1, kMaxKeyGap);
    CSetServer* style = CSetServer::Get();
    const COLORREF saved = style ? style->GetStyleColor(kKeyClass, 0) : 0;
    if (style) style->SetStyleColor(kKeyClass, 0, ScaleColor(kKeyShade, m_faceColor));
    CZV3DButton* keys[12];
    CZVWindow::BuildKeypad(area, gap, GetFontSize(), "", 0, keys, 0, kKeyClass);
    if (style) style->SetStyleColor(kKeyClass, 0, saved);
}

void CTvChannelCtl::BuildDisplay(CZVRect band) {
    m_display = new CZVLabel(this, band, "", GetStyleClass());
    m_display->SetTextColor(0);
    m_display->SetBevelType(kDisplayBevelType);
    m_display->SetTextFormat(kDisplayFormat);
    CZVRect inside;
    m_display->GetClientRect(&inside);
    CCaptionFitter fitter(m_display);
    fitter.AddCaption(kWidestCaption, inside);
    m_display->SetFontSize(fitter.FindFontSize(inside.w, inside.h, 2 * GetFontSize()));
    AddChild(m_display);
}

void CTvChannelCtl::RequestChannel() {
    CZVServer* server = GetServer();
    if (!server || CMainWndBase::InputBlockedFor(nullptr)) return;
    CZVMSG request(GetId(), ZVM_TV_GETCHANNELQ);
    request.WriteInt(m_source);
    server->Send(&request);
}

void CTvChannelCtl::ShowChannel(int channel) { m_display->SetText(FormatChannelDisplay(channel, m_entry), nullptr, 1); }

int CTvChannelCtl::OnCommand(int id) {
    if (id < kFirstDigit || id > kLastDigit) return 1;
    if (m_entry == 0) {
        m_display->SetTextColor(kEntryColor);
        m_number = 0;
        m_entry = 1;
    }
    m_number = m_number * 10 + (id - kFirstDigit);
    ++m_entry;
    m_lastDigitTick = platform::GetTickCount();
    if (m_entry >= m_digits + 1) {
        m_entry = 0;
        CZVServer* server = GetServer();
        if (server) {
            CZVMSG command(GetId(), ZVM_TV_CHANNELCOMMAND);
            command.WriteInt(m_source);
            command.WriteInt(m_type == kNumberedType ? 1 : 0);
            command.WriteInt(m_number);
            server->Send(&command);
        }
        m_display->SetTextColor(0);
    }
    ShowChannel(m_number);
    return 1;
}

int CTvChannelCtl::OnIdle(int busy) {
    if (m_entry != 0 && TicksSince(&m_lastDigitTick) > kEntryTimeout) DropEntry();
    return CRRegion::OnIdle(busy);
}

void CTvChannelCtl::DropEntry() {
    m_entry = 0;
    m_display->SetTextColor(0);
    if (m_channel >= 0)
        ShowChannel(m_channel);
    else
        m_display->SetText("", nullptr, 1);
    RequestChannel();
}

void CTvChannelCtl::OnMessage(CZVMSG* message) {
    if (message->GetId() != ZVM_TV_GETCHANNELA || m_entry != 0) return;
    message->ResetPosition();
    int32_t unused = 0, channel = 0;
    if (!CMsgReader(*message).Int(unused).Int(channel)) return;
    m_channel = channel;
    ShowChannel(channel);
}

// ---- the factory

CZVWindow* MakeTvChannel(CPageControlArgs& args) {
    CZVServer* server = GetGatewayServer();
    if (!server) return nullptr;
    auto* control = new CTvChannelCtl(args.parent, *server, args.desc.id, args.desc.Attribute(kAttrParameter),
                                      args.desc.Attribute(kAttrCornerRadius), args.desc.Attribute(kAttrBevel),
                                      args.faceColor, args.rect, args.desc.type, args.fontSize);
    return control;
}
