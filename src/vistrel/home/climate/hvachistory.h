#pragma once
// A climate zone's history on the time line: the heating and cooling set
// points, the room and outside values and the zone's extra curves over rows
// of bars for the times heating, cooling and the fan ran, with two summary
// texts of the window. CHostedViewWnd places one for a zone of its own on a
// gateway page.
#include <string>
#include <vector>

#include "core/zvserver.h"
#include "vistrel/home/climate/climatemodel.h"
#include "widgets/timeline/timeview.h"

// ZVM_HVAC_HISTORYDATA: four curves, three lists of running times, then,
// only from a themed gateway, extra curves and extra lists.
struct CClimateHistory {
    CValuePoints room, outside, heat, cool;
    CTimeRanges fan, heating, cooling;
    std::vector<CValuePoints> extraSeries;
    std::vector<CTimeRanges> extraBands;
};
// Reads up to the first value that is not there, keeping what came before
// it; 1 when the whole answer was read.
int ReadClimateHistory(CZVMSG& message, int themed, CClimateHistory* out);

// ZVM_HVAC_HISTORYLABELS: the two summary texts.
struct CClimateSummary {
    std::string first, second;
};
int ReadClimateSummary(CZVMSG& message, CClimateSummary* out);

class CHvacHistoryGraph : public CTimeView, public CSocketSink {
public:
    static constexpr int kRowHeight = 20;
    static constexpr int kLegendRow = 30;
    static constexpr int kLeftMargin = 55;
    static constexpr int kExtendedLeftMargin = 27;
    static constexpr int kOverlayFontSize = 16;

    // A null window: the view's own day.
    CHvacHistoryGraph(CZVWindow* parent, CZVRect rect, CZVServer& server, CThermostatZone& zone, CTimeWindow* window);
    ~CHvacHistoryGraph() override;

    void LoadTimeRange(const CZVTime& start, const CZVTime& end) override;
    void SetTimeRange(const CZVTime& start, const CZVTime& end, int redraw) override;
    void OnDrawTimeBand(CZVDC* dc, COLORREF colour, int x1, int x2, int y1, int y2) override;
    void DrawUnderlay(CZVDC* dc, int top, int bottom) override;
    CZVString FormatValue(int value) override { return FormatTemperature(value); }
    void DrawData(CZVDC* dc, int top, int bottom) override;
    // The value of every curve at the selected time, in a box beside its point.
    void DrawOverlay(CZVDC* dc, int x, int rightEdgeMoved, std::vector<CZVRect>* restore, int top, int bottom) override;
    int ValueToY(int value) override;
    void OnMessage(CZVMSG* message) override;

    // The zone's graph series, and the four fixed ones of a zone that is not extended.
    static int ValueSeriesCount(CThermostatZone& zone);
    int GetBarRowCount();
    const CClimateHistory& GetHistory() const { return m_history; }
    const CClimateSummary& GetSummary() const { return m_summary; }
    // The value of the curve at the time, between its points; false outside it.
    static bool ValueAt(const CValuePoints& points, const CZVTime& time, int* value);

private:
    struct Curve {
        const CValuePoints* points;
        COLORREF colour;
    };
    // The curves DrawData draws, in the order their boxes are placed.
    std::vector<Curve> Curves();
    struct Row {
        CZVString name;
        COLORREF colour;
        const CTimeRanges* ranges;
    };
    std::vector<Row> Rows();
    int BarTop(int bottom);
    int BarRowHeight(int bottom);
    void Request() override;
    void RebuildValueTable(int top, int valueBottom);
    void DrawSummary(CZVDC* dc);
    void AddLegend();

    CThermostatZone& m_zone;
    CClimateHistory m_history;
    CClimateSummary m_summary;
    int m_busy = 0;
    int m_rescale = 1;
    int m_summaryWanted = 1;
    std::vector<int> m_valueTable;
};

// A control of a gateway page that shows the history of one zone.
class CHostedViewWnd : public CZVWindow {
public:
    CHostedViewWnd(CZVWindow* parent, CZVRect rect, CZVServer& server, int zoneId);
    ~CHostedViewWnd() override;

    CHvacHistoryGraph* GetGraph() const { return m_graph; }
    CThermostatZone& GetZone() { return m_zone; }

private:
    CThermostatZone m_zone;
    CHvacHistoryGraph* m_graph = nullptr;
};
