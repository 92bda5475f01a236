#pragma once
// CSecurityHistoryPage: the "History" sub-tab of the security page: a time
// line with four state rows of one partition ("Armed", "Not Ready",
// "Alarm", "Fire") over one row per zone showing when it was open. It
// shares the security page's time window, so zoom and position survive a
// change of partition. Rows that do not fit are drawn into an image of
// their own, which a scroll bar at the right moves through. Marking a
// stretch labels, in each zone's row, the stretch the zone was open at the
// marked time.
#include <array>
#include <vector>

#include "core/zvserver.h"
#include "vistrel/home/historyrows.h"
#include "vistrel/home/security/securitymodel.h"
#include "vistrel/home/security/securityreaders.h"

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

// The label of a zone's open stretch: "6/15 10:05:00 AM - 6/15 10:07:30 AM".
CZVString OpenStretchText(const CTimeRange& range);

class CSecurityHistoryPage : public CRowHistoryView, public CSocketSink {
public:
    static constexpr int kLeftMargin = 50;

    CSecurityHistoryPage(CZVWindow* parent, CZVRect rect, CZVServer& server, CTimeWindow* window, int partitionId,
                         int area);
    ~CSecurityHistoryPage() override;

    void LoadTimeRange(const CZVTime& start, const CZVTime& end) override;
    void SetTimeRange(const CZVTime& start, const CZVTime& end, int redraw) override;
    void OnDrawTimeBand(CZVDC* dc, COLORREF colour, int x1, int x2, int y1, int y2) override;
    void DrawOverlay(CZVDC* dc, int x, int rightEdgeMoved, std::vector<CZVRect>* restore, int top, int bottom) override;
    void OnMessage(CZVMSG* message) override;
    void OnConnect(int) override {}

    const CSecurityHistory& GetHistory() const { return m_history; }
    const CSecurityStateBands& GetBands() const { return m_bands; }
    int GetRowHeight() const { return m_rowHeight; }

private:
    void Request() override;
    void DrawRows(CZVDC* dc, int top, int bottom) override;
    int ZoneRowTop(int top, size_t zone) const;
    void DrawStateRows(CZVDC* dc, int top);
    void DrawZoneRows(CZVDC* dc, int top, int bottom);
    // The label of a zone's stretch open at the column, in its row; the
    // rectangles drawn over go into restore.
    void DrawOpenStretch(CZVDC* dc, size_t zone, const CTimeRange& range, int column, int top, int bottom,
                         std::vector<CZVRect>* restore);

    int m_partitionId;
    CSecurityLists m_lists;
    CSecurityHistory m_history;
    CSecurityStateBands m_bands;
    std::vector<CZVString> m_zoneNames;
    int m_rowHeight;
    COLORREF m_stateColours[kSecurityStateRows] = {};
    COLORREF m_stateTextColours[kSecurityStateRows] = {};
};
