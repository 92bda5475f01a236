#include "vistrel/home/security/securityhistory.h"

#include <algorithm>
#include <optional>

#include "core/messages/securitymessages.h"
#include "vistrel/shell/mainwnd.h"

namespace {

constexpr int kStateClasses[kSecurityStateRows] = {26, 27, 25, 32};
constexpr const char* kStateNames[kSecurityStateRows] = {"Armed", "Not Ready", "Alarm", "Fire"};
constexpr int kZoneClasses[2] = {34, 33};
constexpr int kFormatCentred = 18;
constexpr COLORREF kStretchFrame = 255;  // red
constexpr int kLabelGap = 10;            // between the marked column and a label, and its padding
constexpr double kOverlayShade = 0.7;
constexpr double kOverlayBoxMix = 0.25;
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

CZVString OpenStretchText(const CTimeRange& range) {
    const auto stamp = [](const CZVTime& time) {
        CZVString text;
        text.Format("%d/%d %s", time.GetMonth(), time.GetDay(), time.FormatTimeSeconds().c_str());
        return text;
    };
    CZVString text;
    text.Format("%s - %s", stamp(range.start).GetAnsi(), stamp(range.end).GetAnsi());
    return text;
}

CSecurityHistoryPage::CSecurityHistoryPage(CZVWindow* parent, CZVRect rect, CZVServer& server, CTimeWindow* window,
                                           int partitionId, int area)
    : CRowHistoryView(parent, rect, window, kLeftMargin),
      CSocketSink(server),
      m_partitionId(partitionId),
      m_lists(server, area),
      m_rowHeight(GetLargeFontSize()) {
    for (int row = 0; row < kSecurityStateRows; ++row) {
        m_stateColours[row] = GetStyleColour(kStateClasses[row], 0);
        m_stateTextColours[row] = GetStyleColour(kStateClasses[row], 1);
        AddSeries(m_stateColours[row]);
    }
    server.RegisterSink(this);
    AskForRange(GetTimeWindow()->GetStart(), GetTimeWindow()->GetEnd());
}

CSecurityHistoryPage::~CSecurityHistoryPage() {
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

// ---- loading

void CSecurityHistoryPage::Request() { AskForLoadedStretch(*this, ZVM_SECURITY_GETHISTORYQ, m_partitionId); }

// The loading flag stays as it is: the data held is shown until the answer comes.
void CSecurityHistoryPage::LoadTimeRange(const CZVTime& start, const CZVTime& end) { LoadRange(start, end); }

void CSecurityHistoryPage::SetTimeRange(const CZVTime& start, const CZVTime& end, int redraw) {
    ShowRange(start, end, redraw);
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
    m_bands = SecurityStateBands(m_history.states, std::min(GetLoadedEnd(), now));
    // A cut answer keeps "Working..." on the graph.
    if (!whole) return;
    FitLeftMargin(labels, 0);
    if (GetLeft() != left) CreateZoomBar(1);
    SetLoading(0);
    const int zones = static_cast<int>(m_history.zones.size());
    const CSecurityRowFit fit = SecurityRowFit(GraphHeight(), GetLargeFontSize(), zones);
    m_rowHeight = fit.rowHeight;
    if (fit.scrolls)
        ScrollRows((kSecurityStateRows + zones) * m_rowHeight, m_rowHeight);
    else
        StopScrolling();
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

void CSecurityHistoryPage::DrawRows(CZVDC* dc, int top, int bottom) {
    DrawStateRows(dc, top);
    DrawZoneRows(dc, top + kSecurityStateRows * m_rowHeight, bottom);
}

int CSecurityHistoryPage::ZoneRowTop(int top, size_t zone) const {
    return top + (kSecurityStateRows + static_cast<int>(zone)) * m_rowHeight - GetScrollOffset();
}

void CSecurityHistoryPage::DrawStateRows(CZVDC* dc, int top) {
    const int right = GraphRight();
    for (int row = 0; row < kSecurityStateRows; ++row) {
        const int rowTop = top + row * m_rowHeight;
        DrawLabelCell(dc, rowTop, m_rowHeight, MixColors(m_backColor, m_stateColours[row], kStateLabelMix),
                      m_stateTextColours[row], kStateNames[row]);
        FillStretches(dc, m_bands[static_cast<size_t>(row)], rowTop, m_rowHeight - 1, m_stateColours[row]);
        DrawSunkenFrame(dc, 0, rowTop, right - 1, rowTop + m_rowHeight - 1);
    }
}

void CSecurityHistoryPage::DrawZoneRows(CZVDC* dc, int top, int bottom) {
    const int right = GraphRight();
    int rowTop = top;
    for (size_t i = 0; i < m_history.zones.size() && rowTop + m_rowHeight - 1 <= bottom; ++i) {
        const int styleClass = kZoneClasses[i % 2];
        const COLORREF colour = GetStyleColour(styleClass, 0);
        FillStretches(dc, m_history.zones[i].ranges, rowTop, m_rowHeight - 1, colour);
        DrawLabelCell(dc, rowTop, m_rowHeight, MixColors(m_backColor, colour, kZoneLabelMix),
                      GetStyleColour(styleClass, 1), m_zoneNames[i]);
        DrawSunkenFrame(dc, 0, rowTop, right - 1, rowTop + m_rowHeight - 1);
        rowTop += m_rowHeight;
    }
}

// ---- labels of the stretches open at a marked time

void CSecurityHistoryPage::DrawOverlay(CZVDC* dc, int x, int, std::vector<CZVRect>* restore, int top, int bottom) {
    const int column = x + GetLeft();
    const CTimeScale scale = GetScale();
    dc->SetFont(GetLabelFontSize(), 0, 0);
    for (size_t i = 0; i < m_history.zones.size(); ++i)
        if (const CTimeRange* range = RangeAtColumn(scale, m_history.zones[i].ranges, column))
            DrawOpenStretch(dc, i, *range, column, top, bottom, restore);
}

void CSecurityHistoryPage::DrawOpenStretch(CZVDC* dc, size_t zone, const CTimeRange& range, int column, int top,
                                           int bottom, std::vector<CZVRect>* restore) {
    const int styleClass = kZoneClasses[zone % 2];
    const COLORREF fill = ScaleColor(kOverlayShade, GetStyleColour(styleClass, 0));
    const CZVString text = OpenStretchText(range);
    const int left = GetLeft(), right = m_width - GetRightMargin();
    const int rowTop = ZoneRowTop(top, zone);
    const int w = dc->GetTextSize(text).cx + kLabelGap;
    // Right of the marked column, or left of it in the view's right half.
    const int boxX = column > m_width / 2 ? column - w - kLabelGap : column + kLabelGap;
    const CZVRect box(boxX, rowTop, w, m_rowHeight - 2);
    if (box.y < top || box.y + box.h > bottom || box.x < left || box.x + box.w > right) return;
    // The row's bars under the box, in the darker shade.
    for (const CTimeRange& bar : m_history.zones[zone].ranges) {
        const int x1 = std::max(TimeToX(bar.start), box.x), x2 = std::min(TimeToX(bar.end), box.x + box.w);
        if (x2 > x1) dc->FillRect(fill, x1, rowTop, x2 - x1, m_rowHeight - 1, 0);
    }
    const int x1 = std::max(TimeToX(range.start) - 1, left), x2 = std::min(TimeToX(range.end) + 1, right - 1);
    const CZVRect frame(x1, rowTop - 1, x2 - x1 + 1, m_rowHeight + 1);
    dc->FrameRect(kStretchFrame, frame.x, frame.y, frame.w, frame.h);
    dc->FillRect(MixColors(fill, m_backColor, kOverlayBoxMix), box.x, box.y, box.w, box.h, 0);
    dc->FrameRect(fill, box.x, box.y, box.w, box.h);
    dc->SetColor(GetStyleColour(styleClass, 1));
    dc->DrawText(text, box, kFormatCentred);
    const int unionLeft = std::min(box.x, frame.x), unionTop = std::min(box.y, frame.y);
    restore->emplace_back(unionLeft, unionTop, std::max(box.x + box.w, frame.x + frame.w) - unionLeft,
                          std::max(box.y + box.h, frame.y + frame.h) - unionTop);
}
