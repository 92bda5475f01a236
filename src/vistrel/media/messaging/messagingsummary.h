#pragma once
// CMessagingSummaryPage: the main menu's Messages page (command 5007). It
// asks the gateway once for the messaging sources and shows one tab per
// source under "All Messaging", and below them the selected source: the
// phone page for a telephone mailbox (kind 0), a gateway panel for kind 64,
// a message box control for any other kind. It subscribes to the sources'
// change notices and shows the icon the gateway names for each tab. The
// selected tab is remembered across pages in page variable 7.
#include <cstdint>
#include <vector>

#include "core/zvserver.h"
#include "vistrel/shell/pbase.h"

class CTabContainer;

class CMessagingSummaryPage : public CPageBase, public CSocketSink {
public:
    static constexpr int kPageId = 5007;
    static constexpr int kFirstTab = 11020;
    static constexpr int kTabVariable = 7;
    static constexpr int kPhoneKind = 0;
    static constexpr int kPanelKind = 64;
    static constexpr int kPanelId = 6;
    static constexpr int kIconLayout = 4;

    struct Source {
        int32_t id;
        int32_t kind;
        CZVString name;
    };

    CMessagingSummaryPage(CZVWindow* parent, CZVRect rect, CZVServer& server);
    ~CMessagingSummaryPage() override;

    int OnCommand(int id) override;
    void OnShow(int show) override;
    void Rebuild() override;
    void OnMessage(CZVMSG* message) override;

    // Replaces the content by the tab's; commands of no tab change nothing.
    void ShowTab(int command, int redraw);
    // Asks the gateway for the change notices of the sources.
    void Subscribe();

    CZVWindow* GetContent() const { return m_content; }
    const std::vector<Source>& GetSources() const { return m_sources; }

private:
    CTabContainer* Tabs() const;
    int TabCount() const { return static_cast<int>(m_sources.size()); }
    void ReadSources();

    CZVServer& m_server;
    CZVWindow* m_content = nullptr;
    std::vector<Source> m_sources;
};

// Registers the Messages page with the shell.
void RegisterMessagingPages();
