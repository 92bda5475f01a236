// The "Loading..." bar: the decoder's progress as a percentage.
#include "widgets/gauges/pictureloadbutton.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "button_fixture.h"
#include "command_sink.h"
#include "gfx/picture_files.h"
#include "support/golden.h"
#include "support/widget_harness.h"

namespace {

// The page the bar lies on, in a page's grey.
class GreyPage : public widgettest::CommandSink {
public:
    explicit GreyPage(CZVWindow* parent) : CommandSink(parent, CZVRect(0, 0, 320, 240)) {
        SetColors(0xD0D0D0, 0xD0D0D0);
    }
    void OnPaint(CZVDC* dc) override {
        CZVWindow::OnPaint(dc);
        FillFaceColor(dc, 0, 0, m_width, m_height);
    }
};

class PictureLoadButtonTest : public ::testing::Test {
protected:
    PictureLoadButtonTest() {
        bar = new CPictureLoadButton(sink, CZVRect(20, 100, 280, 30));
        sink->AddChild(bar);
        harness.PaintAll();
    }
    std::string Text() const { return bar->GetText().GetAnsi(); }

    // The caption needs the fonts.
    widgettest::PinnedFonts fonts;
    testsupport::WidgetHarness harness;
    GreyPage* sink = new GreyPage(&harness.Root());
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

// The percentages the bar showed, one for each row the decoder told.
class RecordingLoadBar : public CPictureLoadButton {
public:
    using CPictureLoadButton::CPictureLoadButton;
    int OnProgress(int done, int total) override {
        const int answer = CPictureLoadButton::OnProgress(done, total);
        shown.push_back(GetShownPercent());
        return answer;
    }
    std::vector<int> shown;
};

TEST_F(PictureLoadButtonTest, FollowsADecodingPictureRowByRowToTheFull) {
    const pictures::Rgb colours[4] = {{200, 0, 0}, {0, 200, 0}, {0, 0, 200}, {200, 200, 0}};
    const pictures::Bytes file = pictures::MakeJpeg(pictures::QuadrantJpeg(16, 12, colours));
    auto* loader = new RecordingLoadBar(sink, CZVRect(20, 150, 280, 30));
    sink->AddChild(loader);
    std::vector<uint16_t> pixels(16 * 12);
    ASSERT_EQ(DecodeJpegWithProgress(file.data(), file.size(), pixels.data(), 16, 12, 0, 0, 0, loader), 1);
    ASSERT_EQ(loader->shown.size(), 12u);
    for (size_t row = 0; row < loader->shown.size(); ++row)
        EXPECT_EQ(loader->shown[row], static_cast<int>((row + 1) * 100 / 12)) << row;
    EXPECT_EQ(loader->GetLevel(), 100);
    EXPECT_STREQ(loader->GetText().GetAnsi(), "Loading...");
}

TEST_F(PictureLoadButtonTest, HalfWayLooksRight) {
    bar->OnProgress(1, 2);
    EXPECT_TRUE(testsupport::MatchesGolden(harness.Capture(), "picture_load_50"));
}

}  // namespace
