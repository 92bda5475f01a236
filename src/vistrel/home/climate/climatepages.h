#pragma once
// The climate pages of the main menu: CClimatePage (one tab per climate
// zone, each showing its zone page or its gateway panel), CClimateSensorsPage
// (the overview of every thermostat and humidistat, the sensors and the
// outside temperature) and CClimateSchedulePage (one tab per shared
// schedule).
#include <memory>
#include <vector>

#include "core/zvserver.h"
#include "vistrel/home/climate/climatemodel.h"
#include "vistrel/shell/pbase.h"

class CHvacZonePage;
class CRRegion;
class CTRRegion;
class CZVLabel;

// Registers the climate pages and the climate controls of gateway pages.
void RegisterClimatePages();

class CClimatePage : public CPageBase, public CSocketSink {
public:
    static constexpr int kPageId = 5002;
    static constexpr int kFirstTab = 1100;
    static constexpr int kLastTab = 1200;
    static constexpr int kPanelId = 4;
    static constexpr int kZonePageClass = 6;

    // What the content area shows.
    enum : int { kContentZonePage = 0, kContentPanel = 1, kContentNone = 2 };

    CClimatePage(CZVWindow* parent, CZVRect rect, CZVServer& server);
    ~CClimatePage() override;

    int OnCommand(int id) override;
    void OnShow(int show) override;
    void OnResume() override;
    void Rebuild() override;
    void OnMessage(CZVMSG* message) override;
    void OnConnect(int) override {}

    int GetContentState() const { return m_contentState; }
    CZVWindow* GetContent() const { return m_content; }
    int GetZoneCount() const { return static_cast<int>(m_zones.size()); }
    CThermostatZone* GetZone(int index) const;
    CHvacZoneList& GetSchedules() { return *m_schedules; }

private:
    int LoadZones(CZVServer& server);
    // Shows the zone of the tab; fromCommand repaints the content.
    void SelectTab(int index, int fromCommand);
    // The tab index held to the tabs there are.
    int ClampedTabIndex() const;
    // A thermostat row's choice becomes the tab index; the choice is used once.
    void TakeZoneToShow();
    void RemoveContent();

    std::unique_ptr<CHvacZoneList> m_schedules;
    std::vector<std::unique_ptr<CThermostatZone>> m_zones;
    int m_history = 0;
    CZVWindow* m_content = nullptr;
    CHvacZonePage* m_zonePage = nullptr;  // the content when it is a reusable zone page
    int m_contentState = kContentNone;
};

class CClimateSensorsPage : public CPageBase, public CSocketSink {
public:
    static constexpr int kPageId = 5003;
    static constexpr int kOverviewTab = 1100;
    static constexpr int kSensorsTab = 1101;
    static constexpr int kPollInterval = 5000;  // ms

    CClimateSensorsPage(CZVWindow* parent, CZVRect rect, CZVServer& server);
    ~CClimateSensorsPage() override;

    int OnCommand(int id) override;
    void OnTimer() override;
    void OnMessage(CZVMSG* message) override;
    void OnConnect(int) override {}

    CZVLabel* GetOutsideLabel() const { return m_outside; }
    CZVWindow* GetContent() const { return m_content; }

private:
    void AskOutsideTemperature();
    void ShowTab(int id, int redraw);

    CTRRegion* m_region = nullptr;
    CZVLabel* m_outside = nullptr;
    CZVWindow* m_content = nullptr;
};

class CClimateSchedulePage : public CPageBase {
public:
    static constexpr int kPageId = 5004;
    static constexpr int kFirstTab = 1000;
    static constexpr int kLastTab = 1100;

    CClimateSchedulePage(CZVWindow* parent, CZVRect rect, CZVServer& server);
    ~CClimateSchedulePage() override;

    int OnCommand(int id) override;

    CTRRegion* GetRegion() const { return m_region; }
    CZVWindow* GetContent() const { return m_content; }
    // The shared schedule of the tab shown; -1 for none.
    int GetShownSchedule() const { return m_shownSchedule; }

private:
    // One tab per shared schedule the list holds now.
    void BuildTabs();
    // Whether the list's schedules or names differ from the tabs'.
    bool TabsChanged() const;

    CHvacZoneList m_schedules;
    CTRRegion* m_region = nullptr;
    CZVWindow* m_content = nullptr;
    std::vector<int> m_tabSchedules;  // the shared schedule id of each tab
    std::vector<CZVString> m_tabNames;
    int m_shownSchedule = -1;
};
