#pragma once
// CMainMenu: the column of large tabs down the main window's left edge. The
// gateway lists its entries (type t opens page 5000 + t) and later pushes
// their icons; without a usable list the column holds one home entry.
// Holding the first entry for five seconds shuts the program down.
#include <string>
#include <vector>

#include "core/messages/shellmessages.h"
#include "core/zvserver.h"
#include "widgets/tabs/menucolumn.h"
#include "widgets/tabs/tabcolumn.h"

class CMainWnd;

// The gateway's menu answer, read in full or not at all.
struct CMenuAnswer {
    static constexpr int kMaxCount = 100;
    static constexpr int kMaxType = 14;
    enum Result { kRead, kEmpty, kTooMany, kBroken };

    // kEmpty for no answer or a count of 0 or less; kTooMany above
    // kMaxCount; kBroken for a missing field or a type outside 0..kMaxType.
    Result Read(CZVMSG* answer);

    std::vector<int> types;
    std::vector<std::string> captions;
};

class CMainMenu : public CTabColumn, public CSocketSink, public CMenuColumn {
public:
    static constexpr int kFirstCommand = 5000;
    static constexpr int kExitType = 14;
    static constexpr int kMaxFontSize = 30;
    static constexpr uint32_t kPressSettle = 100;  // ms
    static constexpr uint32_t kHoldToExit = 5000;  // ms
    static constexpr int kTimerInterval = 1000;    // ms

    // exitEntry: an "Exit" entry follows the gateway's entries.
    CMainMenu(CMainWnd* owner, CZVRect rect, COLORREF backColour, int exitEntry);
    ~CMainMenu() override;

    int IsOnBaseSurface() override { return 1; }
    void Paint(CZVDC* dc, int withBackground) override;
    int OnMouseMove(int x, int y, int keys) override;
    int OnLButtonDown(int x, int y, int keys) override;
    int OnLButtonUp(int x, int y, int keys) override;
    int OnCommand(int id) override;
    void OnTimer() override;
    int OnIdle(int busy) override;
    void Select(int index, int redraw) override;

    void OnMessage(CZVMSG* message) override;
    void OnConnect(int) override {}

    int BuildEntries(const std::vector<int>& types, const std::vector<std::string>& captions);
    int AddEntry(int type, CZVString caption, int y, int height);
    void AddDefaultEntries();
    CTabButton* FindEntry(int id);
    void SetEntryIcon(int type, CZVString iconName);
    void SetEntryText(int type, CZVString text);
    // The text last pushed for an entry type; empty for others.
    const std::string& GetEntryText(int type) const;
    // Asks the gateway's menu again: 1 while the shown entries still match it.
    int CheckMenu();
    // 1 when a menu answer of that many entries gives the column it shows now.
    int HoldsEntryCount(int count) { return count + ExitEntries() == GetTabCount(); }
    // Every entry's caption and icon into the context, at the entries' places.
    void DrawEntries(CZVDC* dc);
    // ---- the toolkit's view of the menu
    // The area below the last entry: the column's background, with a shaded
    // edge down its right side when shaded.
    void DrawTail(CZVDC* dc, int shaded) override;
    int FillsColumn() const override { return m_fillsHeight; }
    int IsLastEntrySelected() override { return GetTabCount() > 0 && GetSelectedIndex() == GetTabCount() - 1; }
    int GetPressState() const override { return m_pressState; }
    int IsSubscriptionPending() const { return m_subscriptionPending; }
    // Asks the gateway to push the entries' icons and texts to the menu.
    void SubscribeToStatus();

    // The icon an entry type asks of the gateway.
    static const char* IconNameOf(int type, int themed);

private:
    int ExitEntries() const { return m_exitEntry ? 1 : 0; }
    int EntryBottom();
    // Every entry at the largest size up to kMaxFontSize at which all captions fit.
    void FitEntryFonts();

    CMainWnd* m_owner;
    int m_exitEntry;
    int m_subscriptionPending = 0;
    int m_fillsHeight = 0;
    int m_pressState = 0;
    uint32_t m_pressTick;
    std::string m_entryTexts[kExitType + 1];
};
