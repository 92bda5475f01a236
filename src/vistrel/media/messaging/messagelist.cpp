#include "vistrel/media/messaging/messagelist.h"

#include "core/messages/mediamessages.h"
#include "core/msgreader.h"
#include "vistrel/shell/mainwnd.h"

namespace {

// State, time and two empty strings.
constexpr int32_t kMinMessageBytes = 4 + 16 + 4 + 4;

CZVString ReceivedText(const CZVTime& time) {
    CZVString text;
    text.Format("%d/%d %s", time.GetMonth(), time.GetDay(), time.FormatTime().c_str());
    return text;
}

}  // namespace

CMessageList::CMessageList(CZVWindow* parent, CZVRect rect, int commandId, int reloadId, int32_t listId,
                           CZVServer& server)
    : CColumnListWnd(parent, rect, 3, commandId), CSocketSink(server), m_listId(listId), m_reloadId(reloadId) {
    SetColumnTitle(0, "Received");
    SetColumnTitle(1, "From");
    SetColumnTitle(2, "Subject");
    server.RegisterSink(this);
    Load();
}

CMessageList::~CMessageList() {
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

void CMessageList::Load() {
    CZVServer* server = GetServer();
    if (!server) return;
    CZVMSG request(GetId(), ZVM_MESSAGES_GETLISTQ);
    request.WriteInt(m_listId);
    server->Send(&request);
}

void CMessageList::OnMessage(CZVMSG* message) {
    message->ResetPosition();
    if (message->GetId() == ZVM_MESSAGES_GETLISTA) {
        ReadList(message);
    } else if (message->GetId() == ZVM_UI_LISTCHANGED) {
        int32_t id = 0;
        if (message->ReadInt(id) && id == m_listId) Load();
    }
}

void CMessageList::ReadList(CZVMSG* message) {
    const int selected = GetSelectedIndex();
    const bool hadSelection = selected >= 0;
    const Key selectedKey = GetKey(selected);
    const int scroll = GetScrollPos();
    RemoveAll(0);
    m_keys.clear();
    int32_t count = 0;
    if (message->ReadInt(count)) {
        ReadRecords(*message, count, kMinMessageBytes, [&](int32_t) {
            int32_t state = 0;
            Key key;
            if (!message->ReadInt(state) || !message->ReadTime(key.received) ||
                !CMsgReader(*message).String(key.from).String(key.subject))
                return false;
            CColumnListItem* row = InsertRowFirst();
            row->m_data = reinterpret_cast<void*>(static_cast<intptr_t>(state));
            row->SetText(0, ReceivedText(key.received));
            row->SetText(1, CZVString(key.from.c_str()));
            row->SetText(2, CZVString(key.subject.c_str()));
            m_keys.insert(m_keys.begin(), key);
            return true;
        });
    }
    if (m_autoFitPending) {
        AutoFitColumns();
        m_autoFitPending = 0;
    }
    // The selection stays on its message, wherever the new answer put it.
    const int again = hadSelection ? FindRow(selectedKey) : -1;
    if (again >= 0) SelectIndex(again, 0);
    SetScrollPos(scroll);
    UpdateScrollBar(nullptr, 0);
    if (IsShown() && !CMainWndBase::InputBlockedFor(this)) Redraw(1);
    if (m_parent) m_parent->OnCommand(m_reloadId);
}

int CMessageList::GetState(int row) {
    if (!GetItemAt(row)) return -1;
    return static_cast<int>(reinterpret_cast<intptr_t>(GetItemData(row)));
}

CMessageList::Key CMessageList::GetKey(int row) const {
    if (row < 0 || row >= static_cast<int>(m_keys.size())) return {};
    return m_keys[static_cast<size_t>(row)];
}

int CMessageList::FindRow(const Key& key) const {
    for (size_t i = 0; i < m_keys.size(); ++i) {
        if (m_keys[i] == key) return static_cast<int>(i);
    }
    return -1;
}
