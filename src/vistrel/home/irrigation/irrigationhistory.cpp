#include "vistrel/home/irrigation/irrigationhistory.h"

#include <algorithm>
#include <cctype>

#include "core/messages/irrigationmessages.h"
#include "vistrel/shell/mainwnd.h"

namespace {

constexpr int kModeClasses[kIrrigationModeRows] = {27, 25, 29, 26};
constexpr const char* kModeNames[kIrrigationModeRows] = {"Not Ready", "Off", "Run Program", "Manual"};
constexpr int kZoneClasses[2] = {33, 34};
constexpr int kRainClass = 25;
constexpr int kRowGap = 1;  // below each row's bar, where the separators run
constexpr double kLabelMix = 0.8;
constexpr double kSeparatorShade = 0.9;
constexpr int kAllControllers = -1;

bool IsRain(const std::string& name) {
    static constexpr char kRain[] = "rain";
    return name.size() == 4 && std::equal(name.begin(), name.end(), kRain, [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == b;
           });
}

}  // namespace

CModeRows ModeRows(const CModeTimeline& timeline) {
    CModeRows rows;
    for (const CModeInterval& interval : timeline.intervals)
        if (interval.mode >= 0 && interval.mode < kIrrigationModeRows)
            rows[static_cast<size_t>(interval.mode)].emplace_back(interval.start, interval.end);
    return rows;
}

int ZoneRowHeight(int height, int zones) {
    if (zones <= 0) return 0;
    return std::min(CIrrigationHistoryPage::kMaxZoneRow, height / zones);
}

CIrrigationHistoryPage::CIrrigationHistoryPage(CZVWindow* parent, CZVRect rect, CZVServer& server)
    : CRowHistoryView(parent, rect, nullptr, kLeftMargin), CSocketSink(server) {
    for (int row = 0; row < kIrrigationModeRows; ++row) {
        m_modeColours[row] = GetStyleColour(kModeClasses[row], 0);
        m_modeTextColours[row] = GetStyleColour(kModeClasses[row], 1);
    }
    for (int i = 0; i < 2; ++i) m_zoneColours[i] = GetStyleColour(kZoneClasses[i], 0);
    server.RegisterSink(this);
    AskForRange(GetTimeWindow()->GetStart(), GetTimeWindow()->GetEnd());
}

CIrrigationHistoryPage::~CIrrigationHistoryPage() {
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

// ---- loading

void CIrrigationHistoryPage::Request() { AskForLoadedStretch(*this, ZVM_IRRIGATION_GETHISTORYQ, kAllControllers); }

void CIrrigationHistoryPage::LoadTimeRange(const CZVTime& start, const CZVTime& end) {
    if (LoadRange(start, end)) SetLoadingFlag(1);
}

void CIrrigationHistoryPage::SetTimeRange(const CZVTime& start, const CZVTime& end, int redraw) {
    ShowRange(start, end, redraw);
}

void CIrrigationHistoryPage::OnMessage(CZVMSG* message) {
    if (!message || message->GetId() != ZVM_IRRIGATION_GETHISTORYA) return;
    message->ResetPosition();
    CIrrigationHistory history;
    // A cut answer keeps "Working..." on the graph and the rows of the last whole one.
    if (!ReadIrrigationHistory(*message, &history)) return;
    m_history = std::move(history);
    m_modeRows.clear();
    for (const CModeTimeline& timeline : m_history.modes) m_modeRows.push_back(ModeRows(timeline));
    const int left = GetLeft();
    FitLabels();
    if (GetLeft() != left) CreateZoomBar(1);
    SetLoading(0);
    const int rowHeight = GetLargeFontSize();
    const int rows =
        kIrrigationModeRows * static_cast<int>(m_modeRows.size()) + static_cast<int>(m_history.zones.size());
    if (GraphHeight() / rowHeight - kIrrigationModeRows < rows)
        ScrollRows(rows * rowHeight, rowHeight);
    else
        StopScrolling();
    if (IsZoomBarAnimating() || !IsShown() || CMainWndBase::InputBlockedFor(this)) return;
    RepaintBuffered();
    CZVDC dc(this);
    CaptureGraph(&dc);
}

void CIrrigationHistoryPage::FitLabels() {
    CZVDC dc;
    dc.SetFont(GetLabelFontSize(), 0, 0);
    const int widest = m_width / 3;
    std::vector<CZVString> labels{kModeNames[2]};
    for (const CZoneTimeline& zone : m_history.zones)
        labels.push_back(dc.EllipsizeText(CZVString(zone.name.c_str()), widest));
    FitLeftMargin(labels, 0);
}

// ---- drawing

void CIrrigationHistoryPage::DrawRows(CZVDC* dc, int top, int bottom) {
    for (const CModeRows& rows : m_modeRows) {
        DrawModeRows(dc, rows, top);
        top += kIrrigationModeRows * GetLargeFontSize();
    }
    DrawZoneRows(dc, top, bottom);
}

void CIrrigationHistoryPage::DrawModeRows(CZVDC* dc, const CModeRows& rows, int top) {
    const int rowHeight = GetLargeFontSize();
    const int barHeight = rowHeight - kRowGap;
    const int right = GraphRight();
    for (int row = 0; row < kIrrigationModeRows; ++row) {
        const int rowTop = top + row * rowHeight;
        DrawLabelCell(dc, rowTop, barHeight, MixColors(m_modeColours[row], m_backColor, kLabelMix),
                      m_modeTextColours[row], kModeNames[row]);
        FillStretches(dc, rows[static_cast<size_t>(row)], rowTop, barHeight, m_modeColours[row]);
    }
    const COLORREF separator = ScaleColor(kSeparatorShade, m_faceColor);
    for (int row = 0; row + 1 < kIrrigationModeRows; ++row) {
        const int y = top + row * rowHeight + (barHeight + rowHeight) / 2;
        dc->FillRect(separator, GetLeft(), y, right - GetLeft(), 1, 0);
    }
    for (int row = 0; row < kIrrigationModeRows; ++row) {
        const int rowTop = top + row * rowHeight;
        DrawSunkenFrame(dc, 0, rowTop, right - 1, rowTop + barHeight - 1);
    }
}

void CIrrigationHistoryPage::DrawZoneRows(CZVDC* dc, int top, int bottom) {
    const int rowHeight = ZoneRowHeight(bottom - top, static_cast<int>(m_history.zones.size()));
    const int barHeight = rowHeight - kRowGap;
    if (barHeight < 1) return;
    const int right = GraphRight();
    int y = top;
    for (size_t i = 0; i < m_history.zones.size(); ++i, y += rowHeight) {
        const CZoneTimeline& zone = m_history.zones[i];
        const COLORREF colour = IsRain(zone.name) ? GetStyleColour(kRainClass, 0) : m_zoneColours[i % 2];
        FillStretches(dc, zone.ranges, y, barHeight, colour);
        DrawLabelCell(dc, y, barHeight, MixColors(colour, m_backColor, kLabelMix),
                      GetStyleColour(kZoneClasses[(i + 1) % 2], 1), CZVString(zone.name.c_str()));
        DrawSunkenFrame(dc, 0, y, right - 1, y + barHeight - 1);
    }
}
