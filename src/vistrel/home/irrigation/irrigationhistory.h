#pragma once
// CIrrigationHistoryPage: the History tab of the irrigation system window.
// A time line with four rows per controller for the system mode it was in
// ("Not Ready", "Off", "Run Program", "Manual") over one row per zone showing
// when it watered. Each window that leaves the stretch last asked for is
// asked of the gateway; rows that do not fit scroll.
#include <array>
#include <vector>

#include "core/zvserver.h"
#include "vistrel/home/historyrows.h"
#include "vistrel/home/irrigation/irrigationreaders.h"

inline constexpr int kIrrigationModeRows = 4;
using CModeRows = std::array<CTimeRanges, kIrrigationModeRows>;

// The stretches of each mode row of a controller; intervals of a mode
// outside 0..3 belong to no row.
CModeRows ModeRows(const CModeTimeline& timeline);

// The height of each zone row when `zones` rows share `height` pixels:
// at most 20; 0 when there is no zone.
int ZoneRowHeight(int height, int zones);

class CIrrigationHistoryPage : public CRowHistoryView, public CSocketSink {
public:
    static constexpr int kLeftMargin = 100;
    static constexpr int kMaxZoneRow = 20;

    CIrrigationHistoryPage(CZVWindow* parent, CZVRect rect, CZVServer& server);
    ~CIrrigationHistoryPage() override;

    void LoadTimeRange(const CZVTime& start, const CZVTime& end) override;
    void SetTimeRange(const CZVTime& start, const CZVTime& end, int redraw) override;
    void OnMessage(CZVMSG* message) override;
    void OnConnect(int) override {}

    const CIrrigationHistory& GetHistory() const { return m_history; }

protected:
    void DrawRows(CZVDC* dc, int top, int bottom) override;

private:
    void Request() override;
    // The left margin fitted to the labels, none wider than a third of the view.
    void FitLabels();
    void DrawModeRows(CZVDC* dc, const CModeRows& rows, int top);
    void DrawZoneRows(CZVDC* dc, int top, int bottom);

    CIrrigationHistory m_history;
    std::vector<CModeRows> m_modeRows;  // one per controller
    COLORREF m_modeColours[kIrrigationModeRows] = {};
    COLORREF m_modeTextColours[kIrrigationModeRows] = {};
    COLORREF m_zoneColours[2] = {};
};
