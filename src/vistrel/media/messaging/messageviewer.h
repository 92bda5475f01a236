#pragma once
// CMessageViewerCtl: the gateway-placed control (types 166 and 167) that
// shows one message box: the list of its messages, a strip of buttons (mark
// read or unread, "Delete", "Check Now") beside a status line with the box's
// title, and, for type 167, the selected message's body in a scrolling
// panel below the list. A message that stays selected and unread for more
// than 5 s is marked read; in type 167 so is a message the user moves away
// from.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/zvserver.h"
#include "vistrel/media/messaging/messagelist.h"
#include "widgets/window/zvwindow.h"

class CScrollPanel;
class CZV3DButton;
class CZVLabel;
struct CPageControlArgs;

// Breaks the text into lines narrower than width, as measured by width of
// (text, count); a line that can hold not even one character still takes
// one, so the text always advances.
std::vector<std::string> BreakMessageLines(const std::string& text, int width,
                                           const std::function<int(const char*, int)>& measure);

class CMessageViewerCtl : public CZVWindow, public CSocketSink {
public:
    static constexpr int kListType = 166;
    static constexpr int kBodyType = 167;
    enum Command : int { kMark = 1000, kDelete = 1001, kCheckNow = 1002, kRowTouched = 1003, kReloaded = 1004 };
    enum NewState : int { kSetUnread = 0, kSetRead = 1, kSetDeleted = 2 };
    static constexpr uint32_t kAutoReadAfter = 5000;  // ms
    static constexpr int kTimerInterval = 2000;       // ms

    CMessageViewerCtl(CZVWindow* parent, CZVRect rect, int fontSize, int32_t listId, int controlType,
                      CZVServer& server);
    ~CMessageViewerCtl() override;

    int OnCommand(int id) override;
    void OnTimer() override;
    void OnMessage(CZVMSG* message) override;

    CMessageList* GetList() const { return m_list; }
    CScrollPanel* GetBody() const { return m_body; }
    CZVLabel* GetStatus() const { return m_status; }
    CZV3DButton* GetMarkButton() const { return m_mark; }
    CZV3DButton* GetDeleteButton() const { return m_delete; }
    CZV3DButton* GetCheckNowButton() const { return m_checkNow; }
    bool HasPendingRead() const { return m_pendingRead.has_value(); }

private:
    void UpdateButtons(int redraw, int keepPending);
    void SendState(int row, int state);
    void ShowSelection(int id);
    void ReadBody(CZVMSG* message);
    // The part's text lines as labels from y on; y moves below them.
    void AddTextLines(CZVMSG* message, int textLeft, int textWidth, int* y);
    // A JPEG part as a picture at (textLeft, y); y moves below it.
    void AddPicture(const std::vector<uint8_t>& jpeg, int textLeft, int* y);
    void ReadTitle(CZVMSG* message);

    int32_t m_listId;
    CMessageList* m_list = nullptr;
    CZVRect m_viewRect;
    CScrollPanel* m_body = nullptr;
    CZVLabel* m_status = nullptr;
    CZV3DButton* m_delete = nullptr;
    CZV3DButton* m_mark = nullptr;
    CZV3DButton* m_checkNow = nullptr;
    int m_hasBody;
    // The message to mark read when the user moves to another one.
    std::optional<CMessageList::Key> m_pendingRead;
    uint32_t m_shownSince;
    int m_autoReadArmed = 0;
};

// Registers the message viewer with the control factory (types 166, 167).
void RegisterMessageControls();
CZVWindow* MakeMessageViewer(CPageControlArgs& args);
