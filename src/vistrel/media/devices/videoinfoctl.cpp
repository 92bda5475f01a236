#include "vistrel/media/devices/videoinfoctl.h"

#include <string>

#include "core/messages/mediamessages.h"
#include "core/msgreader.h"
#include "platform/clock.h"
#include "widgets/text/zvlabel.h"
#include "widgets/window/gateway.h"

CVideoInfoCtl::CVideoInfoCtl(CZVWindow* parent, CZVRect rect, CZVServer& server, int source, int fontSize)
    : CZVWindow(parent, rect, kStyleClass), CSocketSink(server), m_source(source) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    const int size = fontSize ? fontSize : GetFontSize();
    CZVRect area;
    GetClientRect(&area);
    const CZVRect top = area.Row(0, kLines, 0);
    const int noticeWidth = top.w / 4;
    m_lines[0] = AddLabel(top.LeftPart(top.w - noticeWidth), "", size);
    m_notice = AddLabel(top.RightPart(noticeWidth), "", size);
    for (int k = 1; k < kLines; ++k) m_lines[k] = AddLabel(area.Row(k, kLines, 0), "", size);
    ForEachChild(GetChildren(), [this](CZVWindow* label) { label->SetFaceColor(GetFaceColor()); });
    server.RegisterSink(this);
    Request();
}

CVideoInfoCtl::~CVideoInfoCtl() {
    SendToGateway(ZVM_MEDIA_UNREGISTERSOURCE, {m_source, GetId()}, GetId());
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

void CVideoInfoCtl::Request() {
    SendToGateway(ZVM_MEDIA_REGISTERSOURCE, {m_source, GetId()}, GetId());
    SendToGateway(ZVM_MEDIA_GETSOURCEINFOQ, {m_source}, GetId());
}

void CVideoInfoCtl::OnMessage(CZVMSG* message) {
    if (message->GetId() != ZVM_MEDIA_GETSOURCEINFOA) return;
    int32_t status = 0;
    std::string lines[kLines];
    int32_t noticeFlag = 0;
    std::string notice;
    CMsgReader in(*message);
    in.Int(status);
    if (!in || status != 0) {
        // Another form of the answer, for whoever else reads it.
        message->ResetPosition();
        return;
    }
    for (std::string& line : lines) in.String(line);
    in.Int(noticeFlag).String(notice);
    if (!in) return;
    if (noticeFlag) {
        m_notice->SetText(notice.c_str(), nullptr, 1);
        SetTimer(kNoticeMs);
        m_timerLastTick = platform::GetTickCount();
    }
    for (int k = 0; k < kLines; ++k) m_lines[k]->SetText(lines[k].c_str(), nullptr, 1);
}

void CVideoInfoCtl::OnTimer() {
    m_notice->SetText("", nullptr, 1);
    KillTimer();
}

void CVideoInfoCtl::OnConnect(int connected) {
    if (connected) Request();
}
