#include "vistrel/home/security/securityhistory.h"

#include <algorithm>
#include <optional>

#include "core/messages/securitymessages.h"
#include "vistrel/shell/mainwnd.h"

namespace {

constexpr int kStateClasses[kSecurityStateRows] = {26, 27, 25, 32};
constexpr const char* kStateNames[kSecurityStateRows] = {"Armed", "Not Ready", "Alarm", "Fire"};
constexpr int kZoneClasses[2] = {34, 33};
constexpr int kFormatLeft = 17;
constexpr int kLabelInset = 2;
constexpr double kStateLabelMix = 0.25;
constexpr double kZoneLabelMix = 0.15;

// Whether the row's condition holds for the status word.
bool RowOn(int row, int32_t word) {
    switch (row) {
    case 0: return (word & kSecurityArmed) != 0;
    case 1: return (word & kSecurityReady) == 0;
    case 2: return (word & kSecurityAlarm) != 0;
    default: return (word & kSecurityFire) != 0;
    }
}

}  // namespace

CSecurityStateBands SecurityStateBands(const std::vector<CSecurityState>& states, const CZVTime& closeAt) {
    CSecurityStateBands bands;
    std::optional<CZVTime> opened[kSecurityStateRows];
    for (const CSecurityState& state : states) {
        for (int row = 0; row < kSecurityStateRows; ++row) {
            const bool on = RowOn(row, state.statusWord);
            if (on && !opened[row]) {
                opened[row] = state.time;
            } else if (!on && opened[row]) {
                bands[static_cast<size_t>(row)].emplace_back(*opened[row], state.time);
                opened[row].reset();
            }
        }
    }
    // A state still in force at the end of the data is drawn up to it.
    for (int row = 0; row < kSecurityStateRows; ++row)
        if (opened[row] && *opened[row] < closeAt) bands[static_cast<size_t>(row)].emplace_back(*opened[row], closeAt);
    return bands;
}

CSecurityRowFit SecurityRowFit(int graphHeight, int fontSize, int zones) {
    const int g = std::max(graphHeight, 1);
    // A graph lower than one label still holds one row.
    const int v = std::max(1, g / std::max(fontSize, 1));
    CSecurityRowFit fit;
    fit.rowHeight = std::max(1, g / v);
    if (zones == v - 3) fit.rowHeight = std::max(1, g / (v + 1));
    fit.scrolls = zones > v - 3 ? 1 : 0;
    return fit;
}

CSecurityHistoryPage::CSecurityHistoryPage(CZVWindow* parent, CZVRect rect, CZVServer& server, CTimeWindow* window,
                                           int partitionId, int area)
    : CTimeView(parent, rect, window, kLeftMargin, 0, 0),
      CSocketSink(server),
      m_partitionId(partitionId),
      m_lists(server, area),
      m_rowHeight(GetLargeFontSize()) {
    for (int row = 0; row < kSecurityStateRows; ++row) {
        m_stateColours[row] = GetStyleColour(kStateClasses[row], 0);
        m_stateTextColours[row] = GetStyleColour(kStateClasses[row], 1);
        AddSeries(m_stateColours[row]);
    }
    m_loadedStart = GetTimeWindow()->GetStart();
    m_loadedEnd = GetTimeWindow()->GetEnd();
    server.RegisterSink(this);
    Request();
}

CSecurityHistoryPage::~CSecurityHistoryPage() {
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

// ---- loading

int CSecurityHistoryPage::Holds(const CZVTime& start, const CZVTime& end) const {
    return start >= m_loadedStart && end <= m_loadedEnd;
}

void CSecurityHistoryPage::Request() {
    CZVServer* server = GetServer();
    if (!server) return;
    CZVMSG message(GetId(), ZVM_SECURITY_GETHISTORYQ);
    message.WriteInt(m_partitionId);
    message.WriteTime(m_loadedStart);
    message.WriteTime(m_loadedEnd);
    server->Send(&message);
}

void CSecurityHistoryPage::LoadTimeRange(const CZVTime& start, const CZVTime& end) {
    if (Holds(start, end)) return;
    m_loadedStart = start;
    m_loadedEnd = end;
    Request();
}

void CSecurityHistoryPage::SetTimeRange(const CZVTime& start, const CZVTime& end, int redraw) {
    CTimeView::SetTimeRange(start, end, redraw);
    if (Holds(start, end)) {
        if (!IsShown()) return;
        RepaintBuffered();
        CZVDC dc(this);
        CaptureGraph(&dc);
        return;
    }
    m_loadedStart = start;
    m_loadedEnd = end;
    Request();
    if (redraw) SetLoading(1);
    SetLoadingFlag(1);
}

void CSecurityHistoryPage::OnMessage(CZVMSG* message) {
    if (!message || message->GetId() != ZVM_SECURITY_GETHISTORYA) return;
    message->ResetPosition();
    const int left = GetLeft();
    m_history = CSecurityHistory();
    m_zoneNames.clear();
    const int whole = ReadSecurityHistory(*message, &m_history);
    std::vector<CZVString> labels{"Not Ready"};
    for (const CSecurityZoneHistory& zone : m_history.zones) {
        m_zoneNames.push_back(m_lists.GetName(zone.zoneId));
        labels.push_back(m_zoneNames.back());
    }
    // Bands still open end at the end of the loaded stretch, or now when that is earlier.
    const CZVTime now;
    m_bands = SecurityStateBands(m_history.states, std::min(m_loadedEnd, now));
    // A cut answer keeps "Working..." on the graph.
    if (!whole) return;
    FitLeftMargin(labels, 0);
    if (GetLeft() != left) CreateZoomBar(1);
    SetLoading(0);
    const int graphHeight = m_height - GetTop() - kBottomMargin;
    m_rowHeight = SecurityRowFit(graphHeight, GetLargeFontSize(), static_cast<int>(m_history.zones.size())).rowHeight;
    if (IsZoomBarAnimating() || !IsShown() || CMainWndBase::InputBlockedFor(this)) return;
    RepaintBuffered();
    CZVDC dc(this);
    CaptureGraph(&dc);
}

// ---- drawing

void CSecurityHistoryPage::OnDrawTimeBand(CZVDC* dc, COLORREF colour, int x1, int x2, int y1, int) {
    for (int row = 0; row < kSecurityStateRows; ++row)
        dc->FillRect(GetSeriesTint(row, colour), x1, y1 + row * m_rowHeight, x2 - x1 + 1, m_rowHeight, 0);
}

void CSecurityHistoryPage::DrawData(CZVDC* dc, int top, int bottom) {
    DrawStateRows(dc, top);
    DrawZoneRows(dc, top + kSecurityStateRows * m_rowHeight, bottom);
}

void CSecurityHistoryPage::DrawLabelCell(CZVDC* dc, int top, COLORREF fill, COLORREF text, const CZVString& name) {
    const int left = GetLeft();
    dc->FillRect(fill, 0, top, left + 1, m_rowHeight, 0);
    dc->SetFont(GetLabelFontSize(), 0, 0);
    dc->SetColor(text);
    dc->DrawText(dc->EllipsizeText(name, left - kLabelInset),
                 CZVRect(kLabelInset, top, left - kLabelInset, m_rowHeight), kFormatLeft);
}

void CSecurityHistoryPage::DrawStateRows(CZVDC* dc, int top) {
    const int right = m_width - GetRightMargin();
    for (int row = 0; row < kSecurityStateRows; ++row) {
        const int rowTop = top + row * m_rowHeight;
        DrawLabelCell(dc, rowTop, MixColors(m_backColor, m_stateColours[row], kStateLabelMix), m_stateTextColours[row],
                      kStateNames[row]);
        for (const CTimeRange& band : m_bands[static_cast<size_t>(row)]) {
            int x1 = TimeToX(band.start);
            if (x1 >= right) continue;
            x1 = std::max(x1, GetLeft());
            const int x2 = std::min(TimeToX(band.end), right);
            dc->FillRect(m_stateColours[row], x1, rowTop, std::max(1, x2 - x1), m_rowHeight - 1, 0);
        }
        DrawSunkenFrame(dc, 0, rowTop, right - 1, rowTop + m_rowHeight - 1);
    }
}

void CSecurityHistoryPage::DrawZoneRows(CZVDC* dc, int top, int bottom) {
    const int right = m_width - GetRightMargin();
    int rowTop = top;
    for (size_t i = 0; i < m_history.zones.size() && rowTop + m_rowHeight - 1 <= bottom; ++i) {
        const int styleClass = kZoneClasses[i % 2];
        const COLORREF colour = GetStyleColour(styleClass, 0);
        for (const CTimeRange& range : m_history.zones[i].ranges) {
            int x1 = TimeToX(range.start);
            if (x1 >= right) continue;
            x1 = std::max(x1, GetLeft());
            const int width = std::max(1, std::min(TimeToX(range.end), right) - x1);
            dc->FillRect(colour, x1, rowTop, width, m_rowHeight - 1, 0);
        }
        DrawLabelCell(dc, rowTop, MixColors(m_backColor, colour, kZoneLabelMix), GetStyleColour(styleClass, 1),
                      m_zoneNames[i]);
        DrawSunkenFrame(dc, 0, rowTop, right - 1, rowTop + m_rowHeight - 1);
        rowTop += m_rowHeight;
    }
}
