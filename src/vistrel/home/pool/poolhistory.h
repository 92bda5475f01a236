#pragma once
// CPoolHistoryPage: the pool page's History tab. A time line of the
// outside air and both bodies' temperatures over rows of bars for the
// times the bodies, the solar or heat pump, the heater and the lights ran,
// each row labelled with its share of the window. The history of each
// window comes from the gateway in one answer, asked for only when the
// window leaves the range last asked for.
#include "core/basinsetup.h"
#include "core/zvserver.h"
#include "vistrel/home/pool/poolreaders.h"
#include "widgets/timeline/timeview.h"

class CPoolHistoryPage : public CTimeView, public CSocketSink {
public:
    static constexpr int kRowHeight = 20;
    static constexpr int kBarHeight = 17;
    static constexpr int kTopMargin = 30;
    static constexpr int kFirstLeftMargin = 70;

    CPoolHistoryPage(CZVWindow* parent, CZVRect rect, CBasinSetup* pool, CZVServer& server);
    ~CPoolHistoryPage() override;

    void LoadTimeRange(const CZVTime& start, const CZVTime& end) override;
    void SetTimeRange(const CZVTime& start, const CZVTime& end, int redraw) override;
    void OnDrawTimeBand(CZVDC* dc, COLORREF colour, int x1, int x2, int y1, int y2) override;
    void DrawUnderlay(CZVDC* dc, int top, int bottom) override;
    CZVString FormatValue(int value) override;
    void DrawData(CZVDC* dc, int top, int bottom) override;
    int ValueToY(int value) override;
    void OnMessage(CZVMSG* message) override;

    // 5 with a solar or heat pump row, else 4.
    int GetRowCount() const;
    const CPoolHistory& GetHistory() const { return m_history; }

private:
    struct Row {
        int list;
        int styleClass;
    };
    int ShowsSolarRow() const;
    // The rows shown, top to bottom.
    std::vector<Row> Rows() const;
    void Request() override;
    void RebuildValueTable(int top, int valueBottom);

    CBasinSetup* m_pool;
    std::vector<int> m_valueTable;
    int m_tableStale = 1;
    CPoolHistory m_history;
    int m_rowSeries[CPoolHistory::kLists] = {};
};
