#include "vistrel/home/climate/hvachistory.h"

#include <algorithm>

#include "core/messages/climatemessages.h"
#include "core/messages/shellmessages.h"
#include "core/msgreader.h"
#include "vistrel/home/historyreaders.h"
#include "vistrel/shell/mainwnd.h"
#include "widgets/style/setserver.h"

namespace {

constexpr int kHeatClass = 25;
constexpr int kFanClass = 28;
constexpr int kCoolClass = 29;
constexpr int kRoomClass = 30;
constexpr int kOutsideClass = 31;
constexpr int kFixedSeries = 4;
constexpr int kLegendPerRow = 4;
constexpr int kLegendTop = 5;
constexpr int kLegendHeight = 25;
constexpr int kRequestLeadMinutes = 60;
constexpr int kSummaryInset = 8;
constexpr int kSummaryGap = 2;
constexpr double kSummaryTint = 0.2;
constexpr int kCentred = 18;
constexpr int kBoxDistance = 10;
constexpr int kBoxAbove = 18;
constexpr int kBoxBelow = 6;
constexpr int kBoxPadding = 2;

bool Overlap(const CZVRect& a, const CZVRect& b) {
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

// Black on a light box, white on a dark one.
COLORREF TextOn(COLORREF box) {
    const int r = box & 0xFF, g = (box >> 8) & 0xFF, b = (box >> 16) & 0xFF;
    return r * 299 + g * 587 + b * 114 > 128000 ? 0x000000 : 0xFFFFFF;
}

int Themed() {
    CSetServer* style = CSetServer::Get();
    return style && style->IsThemed();
}

// Legend rows: one for the four fixed entries of a zone that is not
// extended, and one for every four of the zone's own series.
int TopMargin(CThermostatZone& zone) {
    if (CHvacHistoryGraph::ValueSeriesCount(zone) == 0) return 0;
    const int rows = (zone.IsExtended() ? 0 : 1) + (zone.GetSeriesCount() + kLegendPerRow - 1) / kLegendPerRow;
    return CHvacHistoryGraph::kLegendRow * rows + kLegendTop;
}

const CTimeRanges kNoRanges;

}  // namespace

int ReadClimateHistory(CZVMSG& message, int themed, CClimateHistory* out) {
    for (CValuePoints* points : {&out->room, &out->outside, &out->heat, &out->cool})
        if (!ReadValuePoints(message, points)) return 0;
    for (CTimeRanges* ranges : {&out->fan, &out->heating, &out->cooling})
        if (!ReadTimeRanges(message, ranges)) return 0;
    if (!themed) return 1;
    int32_t count = 0;
    if (!message.ReadInt(count)) return 0;
    // Each list takes at least its count.
    if (!ReadRecords(message, count, 4, [&](int32_t) {
            out->extraSeries.emplace_back();
            return ReadValuePoints(message, &out->extraSeries.back());
        }))
        return 0;
    if (!message.ReadInt(count)) return 0;
    return ReadRecords(message, count, 4, [&](int32_t) {
        out->extraBands.emplace_back();
        return ReadTimeRanges(message, &out->extraBands.back());
    });
}

int ReadClimateSummary(CZVMSG& message, CClimateSummary* out) {
    CClimateSummary read;
    if (!CMsgReader(message).String(read.first).String(read.second)) return 0;
    *out = std::move(read);
    return 1;
}

// ---- the graph

CHvacHistoryGraph::CHvacHistoryGraph(CZVWindow* parent, CZVRect rect, CZVServer& server, CThermostatZone& zone,
                                     CTimeWindow* window)
    : CTimeView(parent, rect, window, zone.IsExtended() ? kExtendedLeftMargin : kLeftMargin, 0, TopMargin(zone)),
      CSocketSink(server),
      m_zone(zone) {
    server.RegisterSink(this);
    AddLegend();
    // An extended zone has no heat, cool or fan rows: only its bands name rows.
    std::vector<CZVString> names;
    if (!zone.IsExtended()) names.push_back("Cool");
    for (int i = 0; i < zone.GetBandCount(); ++i) names.push_back(zone.GetBand(i)->text);
    if (!names.empty()) FitLeftMargin(names, 1);
    AskForRange(PlusMinutes(GetTimeWindow()->GetStart(), -kRequestLeadMinutes), GetTimeWindow()->GetEnd());
    for (int styleClass : {kHeatClass, kCoolClass, kFanClass}) AddSeries(GetStyleColour(styleClass, 0));
}

CHvacHistoryGraph::~CHvacHistoryGraph() {
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

void CHvacHistoryGraph::AddLegend() {
    if (ValueSeriesCount(m_zone) == 0) return;
    const int width = m_width / kLegendPerRow;
    int slot = 0;
    auto add = [&](int styleClass, COLORREF colour, CZVString text) {
        const int row = slot / kLegendPerRow, column = slot % kLegendPerRow;
        AddLegendEntry(CZVRect(column * width, kLegendTop + row * kLegendRow, width, kLegendHeight), styleClass, colour,
                       text);
        ++slot;
    };
    if (!m_zone.IsExtended()) {
        const int humidistat = m_zone.IsHumidistat();
        add(kHeatClass, 0, humidistat ? " Low Set Point" : " Heat Set Point");
        add(kCoolClass, 0, humidistat ? " High Set Point" : " Cool Set Point");
        add(kRoomClass, 0, humidistat ? " Room Humidity" : " Room Temperature");
        add(kOutsideClass, 0, " Outside Temperature");
    }
    for (int i = 0; i < m_zone.GetSeriesCount(); ++i) add(0, m_zone.GetSeries(i)->colour, m_zone.GetSeries(i)->text);
}

int CHvacHistoryGraph::ValueSeriesCount(CThermostatZone& zone) {
    return zone.GetSeriesCount() + (zone.IsExtended() ? 0 : kFixedSeries);
}

std::vector<CHvacHistoryGraph::Row> CHvacHistoryGraph::Rows() {
    std::vector<Row> rows;
    if (m_zone.HasHeat()) rows.push_back({"Heat", GetStyleColour(kHeatClass, 0), &m_history.heating});
    if (m_zone.HasCool()) rows.push_back({"Cool", GetStyleColour(kCoolClass, 0), &m_history.cooling});
    if (m_zone.HasFan()) rows.push_back({"Fan", GetStyleColour(kFanClass, 0), &m_history.fan});
    for (int i = 0; i < m_zone.GetBandCount(); ++i) {
        const size_t index = static_cast<size_t>(i);
        const CTimeRanges* ranges = index < m_history.extraBands.size() ? &m_history.extraBands[index] : &kNoRanges;
        rows.push_back({m_zone.GetBand(i)->text, m_zone.GetBand(i)->colour, ranges});
    }
    return rows;
}

int CHvacHistoryGraph::GetBarRowCount() { return static_cast<int>(Rows().size()); }

int CHvacHistoryGraph::BarRowHeight(int bottom) {
    const int rows = GetBarRowCount();
    // Without curves the bars take the whole graph.
    if (ValueSeriesCount(m_zone) == 0 && rows > 0) return (bottom - GetTop()) / rows;
    return kRowHeight;
}

int CHvacHistoryGraph::BarTop(int bottom) { return bottom - GetBarRowCount() * BarRowHeight(bottom); }

// ---- loading

void CHvacHistoryGraph::Request() {
    CZVServer* server = GetServer();
    if (!server) return;
    CZVMSG message(GetId(), m_zone.IsExtended() ? ZVM_HVAC_GETHISTORYEXTQ : ZVM_HVAC_GETHISTORYQ);
    message.WriteInt(m_zone.GetZoneId());
    message.WriteTime(GetLoadedStart());
    message.WriteTime(GetLoadedEnd());
    message.WriteInt(GetId());
    server->Send(&message);
    m_busy = 0;
}

void CHvacHistoryGraph::LoadTimeRange(const CZVTime& start, const CZVTime& end) {
    m_summary = {};
    if (LoadRange(start, end)) SetLoadingFlag(1);
}

void CHvacHistoryGraph::SetTimeRange(const CZVTime& start, const CZVTime& end, int redraw) {
    m_summaryWanted = 1;
    m_summary = {};
    ShowRange(start, end, redraw);
}

void CHvacHistoryGraph::OnMessage(CZVMSG* message) {
    if (!message) return;
    message->ResetPosition();
    const int blocked = CMainWndBase::InputBlockedFor(this);
    switch (message->GetId()) {
    case ZVM_HVAC_HISTORYDATA:
        // The data is kept while input is blocked: only the repaint waits.
        m_history = CClimateHistory();
        ReadClimateHistory(*message, Themed(), &m_history);
        m_rescale = 1;
        SetLoading(0);
        if (!blocked && !IsZoomBarAnimating() && IsShown()) {
            RepaintBuffered();
            CZVDC dc(this);
            CaptureGraph(&dc);
        }
        break;
    case ZVM_HVAC_HISTORYLABELS:
        ReadClimateSummary(*message, &m_summary);
        if (!blocked && IsShown()) {
            CZVDC dc(this);
            DrawSummary(&dc);
        }
        break;
    case ZVM_UI_BUSYSTATE:
        CMsgReader(*message).Int(m_busy);
        if (m_busy == 0) SetLoading(0);
        break;
    default: return;
    }
    if (blocked)
        if (CMainWnd* main = GetTabletMainWnd()) main->SetMenuReloadPending(1);
}

// ---- values

bool CHvacHistoryGraph::ValueAt(const CValuePoints& points, const CZVTime& time, int* value) {
    for (size_t i = 1; i < points.size(); ++i) {
        const CValuePoint& a = points[i - 1];
        const CValuePoint& b = points[i];
        if (time < a.time || b.time < time) continue;
        const int64_t span = MillisecondsBetween(a.time, b.time);
        // Two points of one time: the later one counts.
        if (span <= 0) {
            *value = b.value;
            return true;
        }
        const int64_t into = MillisecondsBetween(a.time, time);
        *value = static_cast<int>(a.value + (static_cast<int64_t>(b.value) - a.value) * into / span);
        return true;
    }
    return false;
}

void CHvacHistoryGraph::RebuildValueTable(int top, int valueBottom) {
    m_valueTable.clear();
    m_rescale = 0;
    int min = 0, max = 0, found = 0;
    for (const CValuePoints* points : {&m_history.room, &m_history.outside, &m_history.heat, &m_history.cool})
        found = ExtendValueRange(found, &min, &max, *points);
    for (const CValuePoints& points : m_history.extraSeries) found = ExtendValueRange(found, &min, &max, points);
    if (!found) return;
    const int low = RoundDownTen(min - 1), high = RoundUpTen(max);
    SetValueRange(low, high);
    for (CValuePoints* points : {&m_history.room, &m_history.outside, &m_history.heat, &m_history.cool})
        ClampValues(low, high, points);
    for (CValuePoints& points : m_history.extraSeries) ClampValues(low, high, &points);
    const int count = high - low + 1;
    m_valueTable.resize(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        m_valueTable[static_cast<size_t>(i)] =
            static_cast<int>(valueBottom - static_cast<double>(valueBottom - top) * i / count);
}

int CHvacHistoryGraph::ValueToY(int value) {
    if (m_valueTable.empty()) return m_height - kBottomMargin;
    const int index = std::clamp(value - GetValueMin(), 0, static_cast<int>(m_valueTable.size()) - 1);
    return m_valueTable[static_cast<size_t>(index)];
}

// ---- drawing

void CHvacHistoryGraph::OnDrawTimeBand(CZVDC* dc, COLORREF colour, int x1, int x2, int, int y2) {
    const int height = BarRowHeight(y2);
    int y = y2 - height;
    int series = 0;
    for (int present : {m_zone.HasHeat(), m_zone.HasCool(), m_zone.HasFan()}) {
        if (present) {
            dc->FillRect(GetSeriesTint(series, colour), x1, y, x2 - x1 + 1, height, 0);
            y -= height;
        }
        ++series;
    }
}

void CHvacHistoryGraph::DrawUnderlay(CZVDC* dc, int top, int bottom) {
    const int barTop = BarTop(bottom);
    if (ValueSeriesCount(m_zone) > 0) {
        if (m_rescale) RebuildValueTable(top, barTop);
        if (!m_valueTable.empty()) DrawValueAxis(dc, top, barTop);
    }
    const int height = BarRowHeight(bottom);
    int y = bottom - height;
    for (const Row& row : Rows()) {
        DrawIntervalRow(dc, CZVRect(0, y, GetLeft() + 1, height + 1), 0, row.colour, *row.ranges, row.name);
        y -= height;
    }
}

void CHvacHistoryGraph::DrawData(CZVDC* dc, int top, int bottom) {
    if (m_summaryWanted) {
        m_summaryWanted = 0;
        if (CZVServer* server = GetServer()) {
            CZVMSG message(0, ZVM_HVAC_GETGRAPHQ);
            message.WriteInt(m_zone.GetZoneId());
            message.WriteTime(GetTimeWindow()->GetStart());
            message.WriteTime(GetTimeWindow()->GetEnd());
            message.WriteInt(GetId());
            server->Send(&message);
        }
    }
    const int left = GetLeft(), right = m_width - GetRightMargin();
    const int barTop = BarTop(bottom);
    const CZVRect graph(left, top, right - left, bottom - top + 1);
    dc->PushClip(&graph);
    const int curves = ValueSeriesCount(m_zone) > 0;
    if (curves) {
        if (m_rescale) RebuildValueTable(top, barTop);
        if (!m_valueTable.empty()) {
            if (m_zone.HasHeat()) DrawSeries(dc, m_history.heat, GetStyleColour(kHeatClass, 0), 0, 1, top, barTop, 0);
            if (m_zone.HasCool()) DrawSeries(dc, m_history.cool, GetStyleColour(kCoolClass, 0), 0, 0, top, barTop, 0);
            // The room, outside and extra curves, thick and without fill.
            for (const Curve& curve : Curves())
                if (curve.points != &m_history.heat && curve.points != &m_history.cool)
                    DrawSeries(dc, *curve.points, curve.colour, 1, 2, 0, 0, 0);
        }
    }
    const int height = BarRowHeight(bottom);
    int y = bottom - height + 1;
    for (const Row& row : Rows()) {
        DrawIntervals(dc, *row.ranges, left, y, right - left, height - 3, 0, row.colour);
        y -= height;
    }
    dc->PopClip();
    if (curves) DrawFrame(dc);
    DrawSummary(dc);
}

std::vector<CHvacHistoryGraph::Curve> CHvacHistoryGraph::Curves() {
    std::vector<Curve> curves;
    if (m_zone.HasCool()) curves.push_back({&m_history.cool, GetStyleColour(kCoolClass, 0)});
    if (m_zone.HasHeat()) curves.push_back({&m_history.heat, GetStyleColour(kHeatClass, 0)});
    curves.push_back({&m_history.room, GetStyleColour(kRoomClass, 0)});
    curves.push_back({&m_history.outside, GetStyleColour(kOutsideClass, 0)});
    for (size_t i = 0; i < m_history.extraSeries.size(); ++i)
        if (const CZoneSeries* entry = m_zone.GetSeries(static_cast<int>(i)))
            curves.push_back({&m_history.extraSeries[i], entry->colour});
    return curves;
}

void CHvacHistoryGraph::DrawOverlay(CZVDC* dc, int x, int rightEdgeMoved, std::vector<CZVRect>* restore, int top,
                                    int bottom) {
    if (m_valueTable.empty()) return;
    const int px = GetLeft() + x;
    const CZVTime time = XToTime(px);
    const int plotBottom = BarTop(bottom);
    const int middle = (top + bottom) / 2;
    // The boxes stand beside the moving end, away from the stretch when its left end moves.
    const int side = rightEdgeMoved ? 1 : -1;
    dc->SetFont(kOverlayFontSize, 0, 0);
    std::vector<CZVRect> placed;
    for (const Curve& curve : Curves()) {
        int value = 0;
        if (!ValueAt(*curve.points, time, &value)) continue;
        const int py = ValueToY(value);
        if (py < top || py > plotBottom) continue;
        CZVString text;
        text.Format("%d", value);
        const CTextSize size = dc->GetTextSize(text);
        CZVRect box(0, py > middle ? py - kBoxAbove : py + kBoxBelow, size.cx + 2 * kBoxPadding, size.cy + kBoxPadding);
        box.x = side > 0 ? px + kBoxDistance : px - kBoxDistance - box.w;
        for (bool moved = true; moved;) {
            moved = false;
            for (const CZVRect& other : placed)
                if (Overlap(box, other)) {
                    box.x = side > 0 ? other.x + other.w + 1 : other.x - box.w - 1;
                    moved = true;
                }
        }
        dc->FillRect(curve.colour, box.x, box.y, box.w, box.h, 0);
        dc->SetColor(TextOn(curve.colour));
        dc->DrawText(text, box, kCentred);
        placed.push_back(box);
        restore->push_back(box);
    }
}

void CHvacHistoryGraph::DrawSummary(CZVDC* dc) {
    if (m_summary.first.empty() && m_summary.second.empty()) return;
    dc->SetFont(GetLabelFontSize(), 0, 0);
    const CTextSize a = dc->GetTextSize(m_summary.first.c_str());
    const CTextSize b = dc->GetTextSize(m_summary.second.c_str());
    const int w = std::max(a.cx, b.cx) + 4, h = std::max(a.cy, b.cy) + 2;
    int y = GetTop() + kSummaryInset;
    const int x = GetLeft() + kSummaryInset;
    const std::pair<const std::string*, int> boxes[] = {{&m_summary.first, kHeatClass},
                                                        {&m_summary.second, kCoolClass}};
    for (const auto& [text, styleClass] : boxes) {
        dc->FillRect(MixColors(m_faceColor, GetStyleColour(styleClass, 0), kSummaryTint), x, y, w, h, 0);
        dc->SetColor(GetStyleColour(styleClass, 1));
        dc->DrawText(text->c_str(), CZVRect(x, y, w, h), kCentred);
        y += h + kSummaryGap;
    }
}

// ---- the hosted view

CHostedViewWnd::CHostedViewWnd(CZVWindow* parent, CZVRect rect, CZVServer& server, int zoneId)
    : CZVWindow(parent, rect, 0), m_zone(&server, zoneId, "", 0, 1) {
    if (parent) SetColors(parent->GetFaceColor(), parent->GetFaceColor());
    m_zone.LoadInfo();
    CZVRect client;
    GetClientRect(&client);
    m_graph = new CHvacHistoryGraph(this, client, server, m_zone, nullptr);
    AddChild(m_graph);
}

CHostedViewWnd::~CHostedViewWnd() {
    // The graph reads the zone: it goes first.
    RemoveChild(m_graph);
    delete m_graph;
}
