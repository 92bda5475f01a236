#pragma once
// CMessageList: the messages of one of the gateway's message boxes, newest
// (the answer's last) at the top, with the received time, the sender and the
// subject. It asks for the list when made and again whenever the gateway
// says the box changed; after every answer it sends its reload command to
// its parent. A reload keeps the selected message selected wherever it moved.
#include <cstdint>
#include <string>
#include <vector>

#include "core/zvserver.h"
#include "core/zvtime.h"
#include "widgets/lists/columnlist.h"

class CMessageList : public CColumnListWnd, public CSocketSink {
public:
    enum State : int { kUnread = 0, kRead = 1 };

    // What tells one message from another across reloads.
    struct Key {
        CZVTime received;
        std::string from;
        std::string subject;
        bool operator==(const Key& other) const {
            return received == other.received && from == other.from && subject == other.subject;
        }
    };

    CMessageList(CZVWindow* parent, CZVRect rect, int commandId, int reloadId, int32_t listId, CZVServer& server);
    ~CMessageList() override;

    void OnMessage(CZVMSG* message) override;
    // Asks the gateway for the box's messages.
    void Load();
    // Rebuilds the rows from a list answer.
    void ReadList(CZVMSG* message);

    // The row's state; -1 for no such row.
    int GetState(int row);
    // The message of the row; an empty key for no such row.
    Key GetKey(int row) const;
    // The row showing the message; -1 when it is not in the list.
    int FindRow(const Key& key) const;
    int32_t GetListId() const { return m_listId; }

private:
    int32_t m_listId;
    int m_autoFitPending = 1;
    int m_reloadId;
    std::vector<Key> m_keys;  // the rows' messages, top first
};
