// The "Loading..." bar: the decoder's progress as a percentage.
#include "widgets/gauges/pictureloadbutton.h"

#include <gtest/gtest.h>

#include <string>

#include "command_sink.h"
#include "support/golden.h"
#include "support/widget_harness.h"

namespace {

class PictureLoadButtonTest : public ::testing::Test {
protected:
    PictureLoadButtonTest() {
        bar = new CPictureLoadButton(sink, CZVRect(20, 100, 280, 30));
        sink->AddChild(bar);
        harness.PaintAll();
    }
    std::string Text() const { return bar->GetText().GetAnsi(); }

    testsupport::WidgetHarness harness;
    widgettest::CommandSink* sink = new widgettest::CommandSink(&harness.Root(), CZVRect(0, 0, 320, 240));
    CPictureLoadButton* bar;
};

TEST_F(PictureLoadButtonTest, ShowsAChangedPercentageAndIgnoresAnUnchangedOrEmptyTotal) {
    struct Case {
        int done;
        int total;
        int percent;
        std::string text;
    };
    const Case cases[] = {
        {0, 1, 0, ""},             // 0 % was already shown
        {5, 0, 0, ""},             // no total: nothing to show
        {5, -3, 0, ""},
        {1, 2, 50, "Loading..."},
        {2, 4, 50, "Loading..."},  // unchanged
        {3, 4, 75, "Loading..."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.done) + "/" + std::to_string(c.total));
        EXPECT_EQ(bar->OnProgress(c.done, c.total), 1);
        EXPECT_EQ(bar->GetShownPercent(), c.percent);
        if (!c.text.empty()) EXPECT_EQ(bar->GetLevel(), c.percent);
        EXPECT_EQ(Text(), c.text);
    }
}

TEST_F(PictureLoadButtonTest, HalfWayLooksRight) {
    bar->OnProgress(1, 2);
    EXPECT_TRUE(testsupport::MatchesGolden(harness.Capture(), "picture_load_50"));
}

}  // namespace
