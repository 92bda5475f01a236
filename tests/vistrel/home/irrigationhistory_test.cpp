// The irrigation history: which stretches show on the graph, the rows' heights,
// the mode rows of a controller, and the page against built answers: rows that
// scroll, the rain row's colour, long names, zooming within what was loaded
// and stretches that ended before the window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/messages/irrigationmessages.h"
#include "gfx/dibdc.h"
#include "irrigation_fixture.h"
#include "samplegateway/times.h"
#include "vistrel/home/irrigation/irrigationhistory.h"
#include "vistrel/shell/mainwnd.h"
#include "vistrel/shell/pbase.h"
#include "widgets/lists/scrollbar.h"

namespace {

using irrigationtest::Message;
using irrigationtest::PayloadWriter;

TEST(IrrigationHistoryColumns, OnlyStretchesThatShowOnTheGraphGetColumns) {
    struct Case {
        int x1, x2;
        bool shown;
        int x, width;
    };
    // The graph's bars run from column 100 up to 500.
    for (const Case& c : {Case{150, 200, true, 150, 50}, Case{50, 200, true, 100, 100}, Case{450, 600, true, 450, 50},
                          Case{300, 300, true, 300, 1}, Case{20, 60, false, 0, 0}, Case{20, 100, false, 0, 0},
                          Case{500, 520, false, 0, 0}, Case{300, 250, false, 0, 0}}) {
        CStretchColumns columns;
        EXPECT_EQ(StretchColumns(c.x1, c.x2, 100, 500, &columns), c.shown) << c.x1 << ".." << c.x2;
        if (!c.shown) continue;
        EXPECT_EQ(columns.x, c.x) << c.x1;
        EXPECT_EQ(columns.width, c.width) << c.x1;
    }
}

TEST(IrrigationHistoryRows, ZoneRowsShareTheirHeightAtMostTwentyEachAndNoneWithoutZones) {
    struct Case {
        int height, zones, row;
    };
    for (const Case& c : {Case{200, 0, 0}, Case{200, 5, 20}, Case{200, 20, 10}, Case{10, 3, 3}, Case{-4, 2, -2}})
        EXPECT_EQ(ZoneRowHeight(c.height, c.zones), c.row) << c.height << " / " << c.zones;
}

TEST(IrrigationHistoryRows, EachModeHasItsRowAndOtherModesNone) {
    CZVTime a, b;
    a.Set(2011, 6, 0, 15, 8, 0, 0, 0);
    b.Set(2011, 6, 0, 15, 9, 0, 0, 0);
    CModeTimeline timeline;
    for (int32_t mode : {2, 0, 4, -1, 3, 2}) timeline.intervals.push_back({a, b, mode});
    const CModeRows rows = ModeRows(timeline);
    EXPECT_EQ(rows[0].size(), 1u);
    EXPECT_EQ(rows[1].size(), 0u);
    EXPECT_EQ(rows[2].size(), 2u);
    EXPECT_EQ(rows[3].size(), 1u);
}

// The history page alone in a page area, fed answers of the test's own.
class IrrigationHistoryTest : public irrigationtest::IrrigationTest {
protected:
    struct Zone {
        std::string name;
        std::vector<CTimeRange> ranges;
    };

    IrrigationHistoryTest() {
        window.reset();
        window = std::make_unique<CMainWnd>(server, CZVRect(0, 0, 800, 600), 0, &large);
        area = new CPageBase(window.get(), window->GetPageArea());
        window->AddChild(area);
        area->Show(1, 0);
    }
    ~IrrigationHistoryTest() override { window.reset(); }

    // A page whose graph holds `rows` rows of the label font.
    void Open(int rows) {
        const int height = CTimeView::kBottomMargin + rows * CTimeView::GetLargeFontSize() + 2;
        history = new CIrrigationHistoryPage(area, CZVRect(0, 0, area->GetWidth(), height), server);
        area->AddChild(history);
        history->Show(1, 0);
        ASSERT_TRUE(SettleUntil([&] { return !history->IsLoading() && !history->GetHistory().zones.empty(); }));
    }
    // One controller in the Off mode over the window, and the zones.
    void Answer(const std::vector<Zone>& zones, int controllers = 1) {
        PayloadWriter w;
        w.Int(controllers);
        for (int i = 0; i < controllers; ++i) {
            w.String("Controller").Int(1);
            samplegateway::WriteTime(w, Back(24));
            samplegateway::WriteTime(w, Back(0));
            w.Int(kIrrigationOff);
        }
        w.Int(static_cast<int32_t>(zones.size()));
        for (const Zone& zone : zones) {
            w.String(zone.name).Int(static_cast<int32_t>(zone.ranges.size()));
            for (const CTimeRange& range : zone.ranges) {
                samplegateway::WriteTime(w, range.start);
                samplegateway::WriteTime(w, range.end);
            }
        }
        history->OnMessage(Message(ZVM_IRRIGATION_GETHISTORYA, w).get());
    }
    // The time `hours` before the window's end.
    CZVTime Back(int hours) { return PlusMinutes(history->GetTimeWindow()->GetEnd(), -60 * hours); }
    // The pixel of the page's column x in the middle of the zone's row, on the screen.
    uint16_t ZonePixel(size_t zone, int x, size_t zones) {
        window->PaintAll();
        const int r = CTimeView::GetLargeFontSize();
        const int top = kIrrigationModeRows * r;
        const int row =
            ZoneRowHeight(history->GetHeight() - CTimeView::kBottomMargin - 1 - top, static_cast<int>(zones));
        const int y = top + static_cast<int>(zone) * row + row / 2;
        return *window->GetScreen()->GetPixelAddress(history->ToRootX(x), history->ToRootY(y));
    }
    int Requests() { return static_cast<int>(Sent(ZVM_IRRIGATION_GETHISTORYQ).size()); }

    platform::HeadlessWindow large{800, 600};
    CPageBase* area = nullptr;
    CIrrigationHistoryPage* history = nullptr;
};

TEST_F(IrrigationHistoryTest, RowsBeyondTheGraphScrollWithABarAtTheRight) {
    ASSERT_NO_FATAL_FAILURE(Open(14));
    // One controller and six zones: 10 rows, which fit 14 less the mode rows.
    std::vector<Zone> zones(6, Zone{"Roses", {CTimeRange(Back(5), Back(4))}});
    Answer(zones);
    EXPECT_EQ(history->GetRowScrollBar(), nullptr);
    EXPECT_EQ(history->GetRightMargin(), 0);
    zones.resize(12, zones.front());
    Answer(zones);
    ASSERT_NE(history->GetRowScrollBar(), nullptr);
    EXPECT_EQ(history->GetRightMargin(), CRowHistoryView::kScrollBarWidth);
    ASSERT_NE(history->GetScrollImage(), nullptr);
    EXPECT_EQ(history->GetScrollImage()->GetHeight(), (16 * CTimeView::GetLargeFontSize() + 3) / 4 * 4);
    EXPECT_EQ(history->GetRowScrollBar()->GetStep(), CTimeView::GetLargeFontSize());
}

TEST_F(IrrigationHistoryTest, ARainZoneInAnyCaseTakesTheRainColour) {
    ASSERT_NO_FATAL_FAILURE(Open(14));
    const std::vector<Zone> zones{{"Roses", {CTimeRange(Back(20), Back(2))}},
                                  {"rAiN", {CTimeRange(Back(20), Back(2))}}};
    Answer(zones);
    const int x = history->TimeToX(Back(10));
    EXPECT_EQ(ZonePixel(0, x, 2), ToRgb565(CTimeView::GetStyleColour(33, 0)));
    EXPECT_EQ(ZonePixel(1, x, 2), ToRgb565(CTimeView::GetStyleColour(25, 0)));
}

TEST_F(IrrigationHistoryTest, AStretchThatEndedBeforeTheWindowDrawsNothing) {
    ASSERT_NO_FATAL_FAILURE(Open(14));
    const COLORREF bar = CTimeView::GetStyleColour(33, 0);
    Answer({{"Roses", {CTimeRange(Back(30), Back(26))}}});
    const int x = history->GetLeft() + 2;
    EXPECT_NE(ZonePixel(0, x, 1), ToRgb565(bar));
    // One that runs into the window is drawn from the graph's left edge.
    Answer({{"Roses", {CTimeRange(Back(30), Back(20))}}});
    EXPECT_EQ(ZonePixel(0, x, 1), ToRgb565(bar));
}

TEST_F(IrrigationHistoryTest, WithoutZonesOnlyTheModeRowsAreDrawn) {
    ASSERT_NO_FATAL_FAILURE(Open(14));
    Answer({});
    EXPECT_FALSE(history->IsLoading());
    EXPECT_TRUE(history->GetHistory().zones.empty());
    window->PaintAll();
    // Nothing at all: the label column and the grid only.
    Answer({}, 0);
    window->PaintAll();
    EXPECT_TRUE(history->GetHistory().modes.empty());
}

TEST_F(IrrigationHistoryTest, ALongNameIsShortenedAndLeavesTheGraphItsWidth) {
    ASSERT_NO_FATAL_FAILURE(Open(14));
    Answer({{std::string(200, 'W'), {CTimeRange(Back(5), Back(4))}}});
    EXPECT_LT(history->GetLeft(), history->GetWidth() / 2);
    EXPECT_GT(history->GetGraphWidth(), history->GetWidth() / 2);
}

TEST_F(IrrigationHistoryTest, ACutAnswerKeepsTheRowsShownAndWorking) {
    ASSERT_NO_FATAL_FAILURE(Open(14));
    Answer({{"Roses", {CTimeRange(Back(5), Back(4))}}});
    PayloadWriter w;
    w.Int(1).String("Controller").Int(3);
    history->SetTimeRange(Back(48), Back(24), 1);
    history->OnMessage(Message(ZVM_IRRIGATION_GETHISTORYA, w).get());
    EXPECT_TRUE(history->IsLoading());
    ASSERT_EQ(history->GetHistory().zones.size(), 1u);
    EXPECT_EQ(history->GetHistory().zones[0].name, "Roses");
}

TEST_F(IrrigationHistoryTest, ZoomingInsideTheLoadedStretchAsksNothingAndGoingBackAsksOnce) {
    ASSERT_NO_FATAL_FAILURE(Open(14));
    const int asked = Requests();
    EXPECT_EQ(Sent(ZVM_IRRIGATION_GETHISTORYQ).back().front(), -1);
    CZoomBar* bar = history->GetZoomBar();
    ASSERT_NE(bar, nullptr);
    bar->OnChildCommand(CZoomBar::kZoomInId, 0);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(history->GetTimeWindow()->GetKind(), CTimeWindow::kSixHours);
    EXPECT_EQ(Requests(), asked);
    EXPECT_FALSE(history->IsLoading());
    bar->OnChildCommand(CZoomBar::kZoomOutId, 0);
    const CZVTime end = history->GetTimeWindow()->GetEnd();
    bar->OnChildCommand(CZoomBar::kBackId, 0);
    ASSERT_TRUE(SettleUntil([&] { return Requests() == asked + 1; }));
    EXPECT_EQ(history->GetLoadedEnd(), PlusMinutes(end, -24 * 60));
}

}  // namespace
