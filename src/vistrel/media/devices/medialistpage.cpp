#include "vistrel/media/devices/medialistpage.h"

#include <algorithm>
#include <string>

#include "core/messages/mediamessages.h"
#include "core/msgreader.h"
#include "platform/clock.h"
#include "widgets/lists/scrollbar.h"
#include "widgets/window/gateway.h"

CMediaListPage::CMediaListPage(CZVWindow* parent, CZVRect rect, CZVServer& server, int deviceId, int fontSize,
                               int visibleRows)
    : CTextList(parent, rect, kRowCommand),
      CSocketSink(server),
      m_deviceId(deviceId),
      m_lastScrollTick(platform::GetTickCount()) {
    m_scrollBarWidth *= 2;
    if (fontSize > 0) {
        SetFontSize(fontSize);
        SetRowFontSize(fontSize);
    }
    server.RegisterSink(this);
    Request();
    if (visibleRows > 0) {
        const int bevel = GetBevel();
        const int rowHeight = (m_height - 2 * bevel) / visibleRows;
        m_height = visibleRows * rowHeight + 2 * bevel;
        SetRowHeight(rowHeight);
        SetSelectedRowHeight(rowHeight);
    }
}

CMediaListPage::~CMediaListPage() {
    SendToGateway(ZVM_MEDIA_UNREGISTERSOURCE, {m_deviceId, GetId()}, GetId());
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

void CMediaListPage::Request() {
    SendToGateway(ZVM_MEDIA_REGISTERSOURCE, {m_deviceId, GetId()}, GetId());
    SendToGateway(ZVM_MEDIA_GETLISTQ, {m_deviceId}, GetId());
}

void CMediaListPage::OnConnect(int /*connected*/) { Request(); }

void CMediaListPage::Resize(int count) {
    if (count == GetCount()) return;
    RemoveAll(0);
    DeleteAllRowButtons();
    for (int i = 0; i < count; ++i) AddString("", nullptr);
    AddRowButton(kGoIcon, 0, "Go", kGoCommand, 0, 0, 1);
}

void CMediaListPage::OnMessage(CZVMSG* message) {
    if (message->GetId() != ZVM_MEDIA_GETLISTA) return;
    message->ResetPosition();
    int32_t count = 0, top = 0, unused = 0;
    if (!CMsgReader(*message).Int(count).Int(top).Int(unused)) return;
    Resize(std::clamp<int32_t>(count, 0, kMaxRows));
    for (int i = 0; i < kRowsPerAnswer; ++i) {
        const int64_t index = int64_t{top} + i;
        if (index < 0 || index >= GetCount()) continue;
        auto* row = static_cast<CTextItem*>(GetItemAt(static_cast<int>(index)));
        // Rows the answer holds no text for are left empty.
        std::string text;
        message->ReadString(text);
        row->SetText(text.c_str());
    }
    LayoutItems();
    UpdateScrollBar(nullptr, 0);
    if (GetFirstVisibleItem() != top) {
        const int offset = std::clamp(top, 0, GetCount()) * GetRowHeight();
        SetScrollPos(offset);
        if (CZVScrollBar* bar = GetListScrollBar()) {
            bar->SetPosition(offset, 0);
            bar->RedrawBuffered();
        }
    }
    RedrawBuffered();
}

void CMediaListPage::OnScroll(CZVDC* dc, int position) {
    m_scrollPending = 1;
    m_lastScrollTick = platform::GetTickCount();
    CTextList::OnScroll(dc, position);
}

int CMediaListPage::OnIdle(int busy) {
    if (m_scrollPending && GetFlickVelocity() == 0 && platform::TicksSince(m_lastScrollTick) > kScrollSettleMs) {
        SendToGateway(ZVM_MEDIA_SETLISTPOSITION, {m_deviceId, GetFirstVisibleItem()}, GetId());
        m_scrollPending = 0;
    }
    return CTextList::OnIdle(busy);
}

int CMediaListPage::OnCommand(int id) {
    if (id == kGoCommand || id == kRowCommand)
        SendToGateway(ZVM_MEDIA_SELECTLISTITEM, {m_deviceId, GetSelectedIndex(), id == kGoCommand ? 1 : 0}, GetId());
    return 1;
}
