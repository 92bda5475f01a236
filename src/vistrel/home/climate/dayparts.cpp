#include "vistrel/home/climate/dayparts.h"

#include <algorithm>

#include "gfx/speed.h"
#include "platform/report.h"
#include "widgets/buttons/rockerswitch.h"
#include "widgets/style/setserver.h"
#include "widgets/tabs/captionfitter.h"
#include "widgets/text/zvlabel.h"

namespace {

constexpr const char* kGraphSource = "hvacpgmgraph";
constexpr int kNoColourLine = 349;

constexpr int kPanelRadius = 2;
constexpr int kPanelMargin = 2;
constexpr int kCaptionHeight = 15;
constexpr int kCaptionSize = 12;
constexpr int kTimeSize = 15;
constexpr int kValueSize = 18;
constexpr int kFitStart = 24;
constexpr int kButtonColumn = 90;
constexpr int kButtonGap = 2;
constexpr int kRockerClass = 16;
constexpr int kArrowClass = 4;
constexpr int kLeftIcon = 5;
constexpr int kRightIcon = 4;
constexpr int kUpIcon = 6;
constexpr int kDownIcon = 7;
constexpr COLORREF kCoolColour = 0xFF0000;
constexpr COLORREF kHeatColour = 0x0000FF;
constexpr double kValueTint = 0.25;
constexpr int kCentred = kTextCentre | kTextVCentre;
constexpr const char* kTimeTemplate = "55:55 PM";

constexpr int kFanSpeedsHighest = 4;
constexpr int kFanSkipped = 2;  // the mode a kind-4 gateway does not have

constexpr int kTickHeight = 5;
constexpr int kBottomSpace = 6;
constexpr int kLowestShown = 55;
constexpr int kHighestShown = 100;
constexpr int kHighestShownCelsius = 35;
constexpr int kNoPeriodValue = 72;
constexpr double kLineShade = 0.75;
constexpr double kLineLight = 1.1;
constexpr int kNamedPeriods = 4;

COLORREF StyleColour(int styleClass, int index) {
    CSetServer* style = CSetServer::Get();
    return style ? style->GetStyleColor(styleClass, index) : 0;
}

int Kind4() {
    CSetServer* style = CSetServer::Get();
    return style && style->IsSpecial();
}

// Minutes from `from` forward to `to`, across midnight.
int MinutesAfter(int from, int to) {
    const int gap = to - from;
    return gap < 0 ? gap + kMinutesPerDay : gap;
}

}  // namespace

CZVString FormatPeriodTime(int minutes) {
    int hours = minutes / 60;
    const char* suffix = hours > 11 ? " PM" : " AM";
    if (hours == 0) hours = 12;
    if (hours > 12) hours -= 12;
    CZVString text;
    text.Format("%d:%02d %s", hours, minutes % 60, suffix);
    return text;
}

CZVString FormatFanMode(int mode, int capabilities) {
    switch (mode) {
    case 0: return "AUTO";
    case 1: return (capabilities & kZoneFanSpeeds) ? "MED" : "ON";
    case 3: return "HIGH";
    case 4: return "LOW";
    default: return "--";
    }
}

CZVString PeriodName(int periods, int index) {
    static const char* const kNames[][4] = {
        {"All"}, {"Day", "Night"}, {"Day", "Evening", "Night"}, {"Morning", "Day", "Evening", "Night"}};
    if (periods < 1 || periods > kNamedPeriods || index < 0 || index >= periods) return "";
    return kNames[periods - 1][index];
}

// ---- one period

CThermostatPage::CThermostatPage(CZVWindow* parent, CZVRect rect, CZVServer* server, CZVString name, COLORREF face,
                                 CMaskRecord& day, int index, const CPeriodOptions& options)
    : CZVWindow(parent, rect, kStyleClass), m_server(server), m_day(day), m_index(index), m_options(options) {
    SetFaceColor(face);
    if (parent) SetBackColor(parent->GetFaceColor());
    SetCornerRadius(kPanelRadius);
    SetMargin(kPanelMargin);
    const CZVRect inner(kPanelMargin, kPanelMargin, rect.w - 2 * kPanelMargin, rect.h - 2 * kPanelMargin);
    const int rows = options.hasFan ? 4 : 3;
    const int rowHeight = inner.h / rows;
    int row = 0;
    auto next = [&] { return CZVRect(inner.x, inner.y + rowHeight * row++, inner.w, rowHeight); };
    const COLORREF arrows = StyleColour(kArrowClass, 0);
    const COLORREF text = GetTextColor();
    if (options.timeRow)
        m_time = AddRow(next(), name, kTimeSize, text, kEarlierId, kLaterId, kLeftIcon, kRightIcon, arrows);
    if (options.hasCool)
        m_cool = AddRow(next(), "Cool", kValueSize, MixColors(text, kCoolColour, kValueTint), kCoolDownId, kCoolUpId,
                        kDownIcon, kUpIcon, kCoolColour);
    if (options.hasHeat)
        m_heat = AddRow(next(), "Heat", kValueSize, MixColors(text, kHeatColour, kValueTint), kHeatDownId, kHeatUpId,
                        kDownIcon, kUpIcon, kHeatColour);
    if (options.hasFan)
        m_fan = AddRow(next(), "Fan Mode", kValueSize, text, kFanPreviousId, kFanNextId, kLeftIcon, kRightIcon, arrows);

    // One size for the captions and one for the values, the largest that fits them all; the
    // time is fitted on its widest text.
    Fill(0);
    if (m_time) m_time->SetText(kTimeTemplate, nullptr, 0);
    CCaptionFitter captions(this), values(this);
    for (CZVLabel* caption : m_captions) captions.AddWindow(caption);
    for (CZVLabel* value : {m_time, m_cool, m_heat, m_fan}) values.AddWindow(value);
    captions.Apply(kFitStart);
    values.Apply(kFitStart);
    m_captions.clear();
    Fill(0);
}

CZVLabel* CThermostatPage::AddRow(CZVRect row, CZVString caption, int valueSize, COLORREF valueColour, int first,
                                  int second, int firstIcon, int secondIcon, COLORREF iconColour) {
    const int column = std::min(row.w / 2, kButtonColumn);
    const int textWidth = m_options.followsShared ? row.w : row.w - column - kButtonGap;
    CZVLabel* title = AddLabel(CZVRect(row.x, row.y, textWidth, kCaptionHeight), caption, kCaptionSize);
    title->SetTextFormat(kCentred);
    m_captions.push_back(title);
    CZVLabel* value =
        AddLabel(CZVRect(row.x, row.y + kCaptionHeight, textWidth, row.h - kCaptionHeight), "", valueSize);
    value->SetTextFormat(kCentred);
    value->SetTextColor(valueColour);
    value->SetColors(GetFaceColor(), GetFaceColor());
    if (m_options.followsShared) return value;
    // The rocker steps once on a tap and repeats while held.
    auto* rocker = new CRockerSwitch(
        this, CZVRect(row.x + row.w - column - kButtonGap, row.y + kButtonGap, column, row.h - 2 * kButtonGap),
        kRockerClass, first, second, 0, 2);
    const COLORREF segmentFace = MixColors(GetFaceColor(), StyleColour(kRockerClass, 0), 0.5);
    for (int i = 0; i < rocker->GetSegmentCount(); ++i) {
        CZV3DButton* segment = rocker->GetSegment(i);
        segment->SetIconKind(i == 0 ? firstIcon : secondIcon, &iconColour);
        segment->SetBevel(2);
        segment->SetAutoRepeat(1);
        segment->SetRepeatTiming(300, 50, 400, 1000);
        segment->SetFaceColor(segmentFace);
    }
    AddChild(rocker);
    m_rockers.push_back(rocker);
    return value;
}

void CThermostatPage::Fill(int redraw) {
    const int animate = redraw && IsShown();
    if (m_time) m_time->SetText(FormatPeriodTime(Value(DayField::kTime)), nullptr, animate);
    if (m_cool) m_cool->SetText(FormatTemperature(Value(DayField::kCool)), nullptr, animate);
    if (m_heat) m_heat->SetText(FormatTemperature(Value(DayField::kHeat)), nullptr, animate);
    if (m_fan) m_fan->SetText(FormatFanMode(Value(DayField::kFan), m_options.capabilities), nullptr, animate);
}

int CThermostatPage::OnCommand(int id) {
    if (id < kEarlierId || id > kFanNextId) return CZVWindow::OnCommand(id);
    if (m_options.followsShared || !Step(id)) return 1;
    Fill(1);
    CZVWindow::OnCommand(kChangedId);
    return 1;
}

bool CThermostatPage::MoveStart(int delta) {
    const int start = GetStart();
    const int gap = delta < 0 ? MinutesAfter(m_previous->GetStart(), start) : MinutesAfter(start, m_next->GetStart());
    if (gap <= kMinimumPeriod) return false;
    int moved = start + delta;
    if (moved < 0) moved = kMinutesPerDay - kTimeStep;
    if (moved >= kMinutesPerDay) moved = 0;
    SetPeriod(m_day, DayField::kTime, m_index, moved);
    return true;
}

bool CThermostatPage::Step(int id) {
    const int cool = Fahrenheit(Value(DayField::kCool));
    const int heat = Fahrenheit(Value(DayField::kHeat));
    auto change = [&](DayField field, int delta) { SetPeriod(m_day, field, m_index, Value(field) + delta); };
    switch (id) {
    case kEarlierId: return MoveStart(-kTimeStep);
    case kLaterId: return MoveStart(kTimeStep);
    case kCoolDownId:
        // Without a heating row the floor still holds: the byte on the wire never wraps.
        if (cool <= kLowestSetPoint || (m_options.hasHeat && cool <= heat + kSetPointGap)) return false;
        change(DayField::kCool, -1);
        return true;
    case kCoolUpId:
        if (cool >= kHighestSetPoint) return false;
        change(DayField::kCool, 1);
        return true;
    case kHeatDownId:
        if (heat <= kLowestSetPoint) return false;
        change(DayField::kHeat, -1);
        return true;
    case kHeatUpId:
        if (heat >= kHighestSetPoint || (m_options.hasCool && heat >= cool - kSetPointGap)) return false;
        change(DayField::kHeat, 1);
        return true;
    case kFanPreviousId:
    case kFanNextId: {
        const int kind4 = Kind4();
        const int highest = (m_options.capabilities & kZoneFanSpeeds) ? kFanSpeedsHighest : kind4 ? 1 : 2;
        const int forward = id == kFanNextId;
        int mode = Value(DayField::kFan) + (forward ? 1 : -1);
        if (kind4 && mode == kFanSkipped) mode = forward ? kFanSkipped + 1 : kFanSkipped - 1;
        if (mode < 0) mode = highest;
        if (mode > highest) mode = 0;
        SetPeriod(m_day, DayField::kFan, m_index, mode);
        return true;
    }
    default: return false;
    }
}

// ---- the graph

CHvacPgmGraph::CHvacPgmGraph(CZVWindow* parent, CZVRect rect, CZVServer* server, const CMaskRecord& day, int periods,
                             const CPeriodOptions& options, std::vector<COLORREF> colours)
    : CZVWindow(parent, rect, CDayPartSelector::kStyleClass),
      m_server(server),
      m_day(day),
      m_periods(std::clamp(periods, 0, kMaxPeriods)),
      m_options(options),
      m_colours(std::move(colours)) {
    if (parent) SetColors(parent->GetFaceColor(), parent->GetFaceColor());
}

void CHvacPgmGraph::ValueRange(const CMaskRecord& day, int periods, int celsius, int plotHeight, int textHeight,
                               int* low, int* high) {
    int lowest = kNoPeriodValue, highest = kNoPeriodValue;
    for (int p = 0; p < periods; ++p)
        for (DayField field : {DayField::kCool, DayField::kHeat}) {
            const int value = GetPeriod(day, field, p);
            lowest = p == 0 && field == DayField::kCool ? value : std::min(lowest, value);
            highest = p == 0 && field == DayField::kCool ? value : std::max(highest, value);
        }
    lowest = std::min(lowest, kLowestShown);
    highest = std::max(highest, celsius ? kHighestShownCelsius : kHighestShown);
    // Room for a label above the top line and below the bottom one; a plot
    // too short for two labels is left as it is.
    const int room = plotHeight - 2 * textHeight - 1;
    if (room > 0) {
        const int widen = (textHeight + 1) * (highest - lowest) / room;
        lowest -= widen;
        highest += widen;
    }
    *low = lowest;
    *high = highest;
}

COLORREF CHvacPgmGraph::PeriodColour(int index) const {
    if (index < 0 || index >= static_cast<int>(m_colours.size())) {
        ReportAssert(kGraphSource, kNoColourLine, 1);
        return 0xFFFFFF;
    }
    return m_colours[static_cast<size_t>(index)];
}

void CHvacPgmGraph::OnPaint(CZVDC* dc) {
    const COLORREF back = GetBackColor();
    dc->FillRect(back, 0, 0, m_width, m_height, 0);
    dc->SetFont(kFontSize, 0, 0);
    const int text = dc->GetTextSize(kTimeTemplate).cy;
    const int bottom = m_height - 2 * text - kBottomSpace - kTickHeight;
    if (bottom <= 0 || m_periods == 0) return;
    int low = 0, high = 0;
    ValueRange(m_day, m_periods, IsCelsius(m_server), bottom, text, &low, &high);
    auto y = [&](int value) { return high == low ? bottom / 2 : bottom - bottom * (value - low) / (high - low); };
    const int first = GetPeriod(m_day, DayField::kTime, 0);
    auto x = [&](int minutes) { return m_width * minutes / kMinutesPerDay; };
    const COLORREF textColour = GetTextColor();
    int lastLabelEnd = -1, labelLine = 0;
    auto label = [&](int at, int minutes) {
        const CZVString time = FormatPeriodTime(minutes);
        const int w = dc->GetTextSize(time).cx;
        int left = std::clamp(at - w / 2, 0, std::max(0, m_width - w));
        labelLine = left < lastLabelEnd ? labelLine + 1 : 0;
        const int top = bottom + kTickHeight + std::min(labelLine, 1) * text;
        dc->SetColor(textColour);
        dc->DrawText(time, CZVRect(left, top, w, text), kTextLeft);
        lastLabelEnd = left + w;
    };
    for (int p = 0; p < m_periods; ++p) {
        const COLORREF colour = PeriodColour(p);
        const int from = MinutesAfter(first, GetPeriod(m_day, DayField::kTime, p));
        const int to =
            p + 1 < m_periods ? MinutesAfter(first, GetPeriod(m_day, DayField::kTime, p + 1)) : kMinutesPerDay;
        const int x1 = x(from), x2 = p + 1 < m_periods ? x(to) : m_width;
        dc->FillRect(MixColors(back, colour, CDayPartSelector::kColourShare), x1, 0, x2 - x1, bottom, 0);
        dc->Line(textColour, x1, bottom, x1, bottom + kTickHeight);
        label(x1, GetPeriod(m_day, DayField::kTime, p));
        struct Line {
            bool shown;
            DayField field;
            COLORREF tint;
        };
        const Line lines[] = {{m_options.hasCool != 0, DayField::kCool, kCoolColour},
                              {m_options.hasHeat != 0, DayField::kHeat, kHeatColour}};
        int coolY = -1;
        for (const Line& line : lines) {
            if (!line.shown) continue;
            const int value = GetPeriod(m_day, line.field, p);
            const int ly = y(value);
            dc->Line(ScaleColor(kLineShade, colour), x1, ly, x2 - 1, ly);
            dc->Line(ScaleColor(kLineLight, colour), x1, ly + 1, x2 - 1, ly + 1);
            int textTop = ly - text;
            // The heating text makes way for a cooling text close above it.
            if (line.field == DayField::kHeat && coolY >= 0 && ly - coolY < text * 3 / 2) textTop += text * 3 / 2;
            if (line.field == DayField::kCool) coolY = ly;
            dc->SetColor(MixColors(textColour, line.tint, kValueTint));
            dc->DrawText(FormatTemperature(value), CZVRect(x1, textTop, x2 - x1, text), kTextCentre);
        }
    }
    dc->Line(textColour, m_width - 1, bottom, m_width - 1, bottom + kTickHeight);
    const CZVString end = FormatPeriodTime(first);
    const int w = dc->GetTextSize(end).cx;
    dc->SetColor(textColour);
    dc->DrawText(end, CZVRect(m_width - w, bottom + kTickHeight + text, w, text), kTextLeft);
}

// ---- the day editor

CDayPartSelector::CDayPartSelector(CZVWindow* parent, CZVRect rect, CZVServer* server, CMaskRecord& day, int periods,
                                   const CPeriodOptions& options)
    : CZVWindow(parent, rect, kStyleClass), m_day(day) {
    if (parent) SetColors(parent->GetFaceColor(), parent->GetFaceColor());
    periods = std::clamp(periods, 0, kMaxPeriods);
    // The graph tints its blocks from the style's colours; the panels take the tint.
    std::vector<COLORREF> colours;
    for (int i = 0; i < std::min(periods, kNamedPeriods); ++i) colours.push_back(StyleColour(kFirstColourClass + i, 0));
    const int strip = options.hasFan ? kStripHeightWithFan : kStripHeight;
    CPeriodOptions panel = options;
    panel.timeRow = periods != 1;
    const int width = periods > 0 ? (rect.w - kPanelGap * (periods - 1)) / periods : 0;
    for (int i = 0; i < periods; ++i) {
        const COLORREF face = i < static_cast<int>(colours.size())
                                  ? MixColors(GetFaceColor(), colours[static_cast<size_t>(i)], kColourShare)
                                  : GetFaceColor();
        auto* page = new CThermostatPage(this, CZVRect(i * (width + kPanelGap), 0, width, strip), server,
                                         PeriodName(periods, i), face, day, i, panel);
        AddChild(page);
        m_panels.push_back(page);
    }
    for (int i = 0; i < periods; ++i)
        m_panels[static_cast<size_t>(i)]->SetNeighbours(m_panels[static_cast<size_t>((i + periods - 1) % periods)],
                                                        m_panels[static_cast<size_t>((i + 1) % periods)]);
    const int graphTop = strip + kGraphGap;
    m_graph = new CHvacPgmGraph(this, CZVRect(0, graphTop, rect.w, std::max(0, rect.h - graphTop)), server, day,
                                periods, options, std::move(colours));
    AddChild(m_graph);
}

int CDayPartSelector::OnCommand(int id) {
    if (id != CThermostatPage::kChangedId) return CZVWindow::OnCommand(id);
    m_changed = 1;
    if (m_graph->IsShown()) m_graph->Redraw(1);
    return 1;
}
