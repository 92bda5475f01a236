#pragma once
// CLightingPage: the main-menu page of the home's lighting. One tab per
// lighting area shows the area's keypad or, for a panel area, its gateway
// panel; the side entry "Schedules" shows the lighting schedule editor in
// the same place. The last area chosen is remembered for the whole run.
#include <vector>

#include "core/zvserver.h"
#include "vistrel/home/lighting/lightingreaders.h"
#include "vistrel/shell/pbase.h"

// Registers the lighting page and the lighting controls of gateway pages.
void RegisterLightingPages();

class CLightingPage : public CPageBase {
public:
    static constexpr int kPageId = 5005;
    static constexpr int kFirstTab = 1000;
    static constexpr int kLastTab = 1999;
    static constexpr int kSchedulesId = 2000;
    static constexpr int kTabVariable = 5;
    static constexpr int kPanelFlag = 0x40;
    static constexpr int kPanelId = 1;

    CLightingPage(CZVWindow* parent, CZVRect rect, CZVServer& server);

    int OnCommand(int id) override;
    void OnShow(int show) override;
    void Rebuild() override;

    CZVWindow* GetContent() const { return m_content; }
    int GetCurrentCommand() const { return m_currentCommand; }
    int GetAreaCount() const { return static_cast<int>(m_areas.size()); }

private:
    void BuildTabs();
    // The remembered tab held to the tabs there are, and remembered so.
    int ClampRememberedTab();
    void ShowTab(int command, int redraw);
    void SetContent(CZVWindow* window, int redraw);
    void RemoveContent();

    CZVServer& m_server;
    std::vector<CLightingAreaRecord> m_areas;  // one per area tab
    CZVWindow* m_content = nullptr;
    int m_currentCommand = kFirstTab;
};
