#pragma once
// CPhonePage: the panel a phone mailbox's messaging tab shows: a rounded
// panel with the tabs "Voice Mail", "Incoming Calls" and "Greeting", each
// showing its page, built when the tab is chosen. The three pages share one
// layout (GetAreaRect). Commands that reach the panel go no further.
#include <cstdint>

#include "core/zvserver.h"
#include "widgets/tabs/trregion.h"

class CPhonePage : public CTRRegion {
public:
    enum Tab : int { kVoiceMailTab = 11016, kCallsTab = 11017, kGreetingTab = 11018 };
    enum Area : int { kInfoArea = 0, kVolumeArea = 1, kLevelArea = 2, kMainArea = 3 };

    CPhonePage(CZVWindow* parent, CZVRect rect, int styleClass, COLORREF backColour, int32_t mailbox,
               CZVServer& server);
    ~CPhonePage() override;

    int OnCommand(int id) override;
    // Shows the tab's page; other commands change nothing.
    void ShowTab(int command, int redraw);
    void SetContent(CZVWindow* window, int redraw);

    // The shared layout of the tab pages, from the page's client rectangle:
    // the info panel, the volume column right of it, the level strip, and
    // the main area below; the whole client rectangle for another area.
    static void GetAreaRect(CZVRect* out, CZVWindow* page, int area);

    int32_t GetMailbox() const { return m_mailbox; }
    CZVWindow* GetContent() const { return m_content; }

private:
    CZVWindow* MakeTabPage(int command, CZVRect area);

    int32_t m_mailbox;
    CZVServer& m_server;
    CZVWindow* m_content = nullptr;
};

// Makes the messaging page that holds the window send its subscriptions
// again (a call came in); nothing when no such page holds it.
void ResubscribeMessaging(CZVWindow* window);
