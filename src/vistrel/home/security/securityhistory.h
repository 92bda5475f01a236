#pragma once
// CSecurityHistoryPage: the "History" sub-tab of the security page: a time
// line with four state rows of one partition ("Armed", "Not Ready",
// "Alarm", "Fire") over one row per zone showing when it was open. It
// shares the security page's time window, so zoom and position survive a
// change of partition.
#include <array>
#include <memory>
#include <vector>

#include "core/zvserver.h"
#include "vistrel/home/security/securitymodel.h"
#include "vistrel/home/security/securityreaders.h"
#include "vistrel/home/timeview.h"

inline constexpr int kSecurityStateRows = 4;
using CSecurityStateBands = std::array<CTimeRanges, kSecurityStateRows>;

// The stretches of each state row: a row's band opens at the state that
// turns its condition on and ends at the one that turns it off; a band
// still open after the last state ends at closeAt.
CSecurityStateBands SecurityStateBands(const std::vector<CSecurityState>& states, const CZVTime& closeAt);

// How the rows share a graph of height G with labels of the font size:
// V = G / font rows (at least 1) of height G / V; with one zone too many
// the rows shrink to G / (V + 1); with more the rows scroll.
struct CSecurityRowFit {
    int rowHeight = 1;
    int scrolls = 0;
};
CSecurityRowFit SecurityRowFit(int graphHeight, int fontSize, int zones);

class CSecurityHistoryPage : public CTimeView, public CSocketSink {
public:
    static constexpr int kLeftMargin = 50;

    CSecurityHistoryPage(CZVWindow* parent, CZVRect rect, CZVServer& server, CTimeWindow* window, int partitionId,
                         int area);
    ~CSecurityHistoryPage() override;

    void LoadTimeRange(const CZVTime& start, const CZVTime& end) override;
    void SetTimeRange(const CZVTime& start, const CZVTime& end, int redraw) override;
    void OnDrawTimeBand(CZVDC* dc, COLORREF colour, int x1, int x2, int y1, int y2) override;
    void DrawData(CZVDC* dc, int top, int bottom) override;
    void OnMessage(CZVMSG* message) override;
    void OnConnect(int) override {}

    const CSecurityHistory& GetHistory() const { return m_history; }
    const CSecurityStateBands& GetBands() const { return m_bands; }
    int GetRowHeight() const { return m_rowHeight; }
    const CZVTime& GetLoadedStart() const { return m_loadedStart; }
    const CZVTime& GetLoadedEnd() const { return m_loadedEnd; }

private:
    void Request();
    int Holds(const CZVTime& start, const CZVTime& end) const;
    void DrawStateRows(CZVDC* dc, int top);
    void DrawZoneRows(CZVDC* dc, int top, int bottom);
    void DrawLabelCell(CZVDC* dc, int top, COLORREF fill, COLORREF text, const CZVString& name);

    int m_partitionId;
    CSecurityLists m_lists;
    CSecurityHistory m_history;
    CSecurityStateBands m_bands;
    std::vector<CZVString> m_zoneNames;
    CZVTime m_loadedStart;
    CZVTime m_loadedEnd;
    int m_rowHeight;
    COLORREF m_stateColours[kSecurityStateRows] = {};
    COLORREF m_stateTextColours[kSecurityStateRows] = {};
};
