#include "vistrel/home/pool/poolhistory.h"

#include <algorithm>

#include "core/messages/coremessages.h"
#include "vistrel/shell/mainwnd.h"

namespace {

constexpr int kRowClasses[CPoolHistory::kLists] = {30, 26, 29, 25, 32};
constexpr int kAirClass = 31;
constexpr int kSolarRow = 2;
constexpr int kDefaultMin = 80;
constexpr int kDefaultMax = 100;
constexpr int kRequestLeadMinutes = 60;
// The curves drawn: outside air, first body, second body.
constexpr struct {
    int series;
    int styleClass;
} kCurves[] = {{0, kAirClass}, {1, 30}, {3, 26}};

}  // namespace

CPoolHistoryPage::CPoolHistoryPage(CZVWindow* parent, CZVRect rect, CBasinSetup* pool, CZVServer& server)
    : CTimeView(parent, rect, nullptr, kFirstLeftMargin, 0, kTopMargin), CSocketSink(server), m_pool(pool) {
    server.RegisterSink(this);
    const int third = (m_width - GetRightMargin()) / 3;
    const std::string body0 = m_pool->GetBody0Name(), body1 = m_pool->GetBody1Name();
    CZVString legend[3];
    legend[0].Format("%s Temperature", body0.c_str());
    legend[1].Format("%s Temperature", body1.c_str());
    legend[2] = "Outside Temperature";
    const int legendClasses[3] = {30, 26, kAirClass};
    for (int i = 0; i < 3; ++i)
        AddLegendEntry(CZVRect(i * third, 0, third, kTopMargin - 4), legendClasses[i], 0, legend[i]);
    SetValueRange(30, 110);
    for (int i = 0; i < CPoolHistory::kLists; ++i) m_rowSeries[i] = AddSeries(GetStyleColour(kRowClasses[i], 0));
    FitLeftMargin({body0.c_str(), body1.c_str(), "Heat", "Lights"}, 1);
    AskForRange(PlusMinutes(GetTimeWindow()->GetStart(), -kRequestLeadMinutes), GetTimeWindow()->GetEnd());
}

CPoolHistoryPage::~CPoolHistoryPage() {
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

int CPoolHistoryPage::ShowsSolarRow() const { return (m_pool->GetEquipmentFlags() & 0x3) != 0; }

int CPoolHistoryPage::GetRowCount() const { return ShowsSolarRow() ? 5 : 4; }

std::vector<CPoolHistoryPage::Row> CPoolHistoryPage::Rows() const {
    std::vector<Row> rows;
    for (int i = 0; i < CPoolHistory::kLists; ++i)
        if (i != kSolarRow || ShowsSolarRow()) rows.push_back({i, kRowClasses[i]});
    return rows;
}

// ---- loading

void CPoolHistoryPage::Request() {
    CZVServer* server = GetServer();
    if (!server) return;
    CZVMSG message(GetId(), ZVM_POOL_GETHISTORYQ);
    message.WriteInt(m_pool->GetControllerIndex());
    message.WriteTime(GetLoadedStart());
    message.WriteTime(GetLoadedEnd());
    message.WriteInt(GetId());
    server->Send(&message);
}

void CPoolHistoryPage::LoadTimeRange(const CZVTime& start, const CZVTime& end) {
    if (LoadRange(start, end)) SetLoadingFlag(1);
}

void CPoolHistoryPage::SetTimeRange(const CZVTime& start, const CZVTime& end, int redraw) {
    ShowRange(start, end, redraw);
}

void CPoolHistoryPage::OnMessage(CZVMSG* message) {
    if (!message || message->GetId() != ZVM_POOL_HISTORYDATA) return;
    message->ResetPosition();
    // The answer is kept even while input is blocked: the range it covers
    // counts as loaded, so it would not be asked for again.
    m_history = CPoolHistory();
    ReadPoolHistory(*message, &m_history);
    m_tableStale = 1;
    SetLoading(0);
    if (CMainWndBase::InputBlockedFor(this)) {
        if (CMainWnd* main = GetTabletMainWnd()) main->SetMenuReloadPending(1);
        return;
    }
    if (IsZoomBarAnimating() || !IsShown()) return;
    RepaintBuffered();
    CZVDC dc(this);
    CaptureGraph(&dc);
}

// ---- values

void CPoolHistoryPage::RebuildValueTable(int top, int valueBottom) {
    int min = kDefaultMin, max = kDefaultMax, found = 0;
    for (const CValuePoints& points : m_history.series) found = ExtendValueRange(found, &min, &max, points);
    const int valueMin = RoundDownTen(min - 1), valueMax = RoundUpTen(max);
    SetValueRange(valueMin, valueMax);
    for (CValuePoints& points : m_history.series) ClampValues(valueMin, valueMax, &points);
    const int count = valueMax - valueMin + 1;
    m_valueTable.resize(count);
    for (int i = 0; i < count; ++i)
        m_valueTable[i] = static_cast<int>(valueBottom - static_cast<float>(valueBottom - top) * i / count);
    m_tableStale = 0;
}

int CPoolHistoryPage::ValueToY(int value) {
    if (m_valueTable.empty()) return m_height - kBottomMargin;
    const int index = std::clamp(value - GetValueMin(), 0, static_cast<int>(m_valueTable.size()) - 1);
    return m_valueTable[index];
}

CZVString CPoolHistoryPage::FormatValue(int value) { return m_pool->GetTempText(value).c_str(); }

// ---- drawing

void CPoolHistoryPage::OnDrawTimeBand(CZVDC* dc, COLORREF colour, int x1, int x2, int, int y2) {
    int y = y2 - GetRowCount() * kRowHeight;
    for (const Row& row : Rows()) {
        dc->FillRect(GetSeriesTint(m_rowSeries[row.list], colour), x1, y, x2 - x1 + 1, kRowHeight, 0);
        y += kRowHeight;
    }
}

void CPoolHistoryPage::DrawUnderlay(CZVDC* dc, int top, int bottom) {
    const int valueBottom = bottom - GetRowCount() * kRowHeight - kRowHeight;
    if (m_tableStale) RebuildValueTable(top, valueBottom);
    DrawValueAxis(dc, top, valueBottom);
    const CZVString names[CPoolHistory::kLists] = {m_pool->GetBody0Name().c_str(), m_pool->GetBody1Name().c_str(),
                                                   m_pool->GetSolarText().c_str(), "Heat", "Lights"};
    int y = valueBottom + kRowHeight;
    for (const Row& row : Rows()) {
        DrawIntervalRow(dc, CZVRect(0, y, GetLeft() + 1, kRowHeight + 1), row.styleClass, 0, m_history.ranges[row.list],
                        names[row.list]);
        y += kRowHeight;
    }
}

void CPoolHistoryPage::DrawData(CZVDC* dc, int top, int bottom) {
    const int left = GetLeft(), right = m_width - GetRightMargin();
    const CZVRect graph(left, top, right - left, m_height - kBottomMargin - top + 1);
    dc->PushClip(&graph);
    for (const auto& curve : kCurves)
        DrawSeries(dc, m_history.series[curve.series], GetStyleColour(curve.styleClass, 0), 1, 2, 0, 0, 0);
    int y = bottom - GetRowCount() * kRowHeight + 2;
    for (const Row& row : Rows()) {
        DrawIntervals(dc, m_history.ranges[row.list], left, y, right - left, kBarHeight, row.styleClass, 0);
        y += kRowHeight;
    }
    dc->PopClip();
    DrawFrame(dc);
    const int y0 = bottom - GetRowCount() * kRowHeight;
    dc->FillRect(m_faceColor, left - 1, y0 - 1, right - left + 2, 1, 0);
    dc->FillRect(ScaleColor(0.8, m_backColor), left, y0 - 2, right - left, 1, 0);
}
