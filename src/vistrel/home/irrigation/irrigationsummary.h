#pragma once
// CIrrigationSummaryPage: the irrigation page of the main menu. A status band
// shows the controller's system mode, which the user can change, and what is
// watering now; one tab per plant group opens the group's programs, zones and
// watering days below it. The page polls the status every second.
#include <memory>
#include <string>
#include <vector>

#include "core/zvserver.h"
#include "vistrel/home/irrigation/irrigationmodel.h"
#include "vistrel/shell/pbase.h"

class CZVLabel;
class CZVRadio;

// Registers the irrigation page.
void RegisterIrrigationPages();

// The page variable that holds the last plant-group tab used.
inline constexpr int kIrrigationTabVariable = 8;

// "%s Watering %s Remaining" while a zone has time left, else the rain or the quiet text.
std::string IrrigationStatusText(const CIrrigationStatus& status);
// The radio position of a system mode (Run Program, Manual, Off); -1 for a mode without one.
int IrrigationModeOption(int32_t mode);

class CIrrigationSummaryPage : public CPageBase, public CSocketSink {
public:
    static constexpr int kPageId = 5008;
    static constexpr int kFirstTab = 1000;
    static constexpr int kLastTab = 1999;
    static constexpr int kSystemId = 2000;
    static constexpr int kModeId = 2001;
    static constexpr uint32_t kStatusPeriod = 1000;
    static constexpr int kBandHeight = 100;

    CIrrigationSummaryPage(CZVWindow* parent, CZVRect rect, CZVServer& server);
    ~CIrrigationSummaryPage() override;

    int OnCommand(int id) override;
    void OnTimer() override;
    void Rebuild() override;
    void OnMessage(CZVMSG* message) override;
    void OnConnect(int) override {}

    int GetGroupCount() const { return static_cast<int>(m_groups.size()); }
    CPlantGroup* GetGroup(int index) const;
    const std::vector<std::unique_ptr<CIrrigationProgram>>& GetPrograms() const { return m_programs; }
    CSeasonalAdjust& GetSeasonal() { return m_seasonal; }
    CZVWindow* GetContent() const { return m_content; }
    CZVRadio* GetModeRadio() const { return m_modeRadio; }
    CZVLabel* GetStatusLabel() const { return m_statusLabel; }
    CZVRect GetContentArea() const { return m_contentRect; }

private:
    int LoadGroups(CZVServer& server);
    void LoadPrograms(CZVServer& server);
    void BuildStatusBand(CZVRect band);
    void SendMode();
    void SendStatusQuery();
    void ShowGroup(int index, int redraw);
    void SetContent(CZVWindow* content, int redraw);
    void RemoveContent();
    void ShowStatus(const CIrrigationStatus& status);

    std::vector<std::unique_ptr<CPlantGroup>> m_groups;  // one per group tab
    std::vector<std::unique_ptr<CIrrigationProgram>> m_programs;
    CSeasonalAdjust m_seasonal;
    CZVWindow* m_content = nullptr;
    CZVRadio* m_modeRadio = nullptr;
    CZVLabel* m_statusLabel = nullptr;
    CZVRect m_contentRect;
};
