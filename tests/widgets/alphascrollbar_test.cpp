// The alphabet bar: the letter strip, the mapping between scroll positions
// and offsets along it, and its touches.
#include "widgets/lists/alphascrollbar.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <numeric>
#include <string>
#include <vector>

#include "button_fixture.h"
#include "platform/keys.h"

namespace {

// What the bar tells its target.
class Target : public CZVWindow {
public:
    explicit Target(CZVWindow* parent) : CZVWindow(parent, CZVRect(0, 0, 100, 320), 0) {}
    void OnScroll(CZVDC*, int position) override { positions.push_back(position); }
    std::vector<int> positions;
};

using Counts = std::array<int, CAlphaScrollBar::kBuckets>;

// Rows of 20 pixels; a view of 10 rows.
constexpr int kRow = 20;
constexpr int kPage = 200;

// A bar of 30 x 320 at x 200: arrows of 30, the letters at y 30..289.
class AlphaScrollBarTest : public ::testing::Test {
protected:
    AlphaScrollBarTest() {
        root.SetColors(0xD0D0D0, 0xD0D0D0);
        bar = new CAlphaScrollBar(&root, &target, CZVRect(200, 0, 30, 320));
        root.AddChild(bar);
        bar->SetStep(kRow);
    }
    void SetCounts(const Counts& counts) {
        const int rows = std::accumulate(counts.begin(), counts.end(), 0);
        bar->SetRange(kPage, rows * kRow);
        bar->SetLetterCounts(counts.data());
    }
    // Counts with bucket 0 and an empty B: 4 rows before "A", 6 with A,
    // none with B, 10 with C, 2 with each later letter.
    static Counts Sample() {
        Counts c{};
        c[0] = 4;
        c[1] = 6;
        c[3] = 10;
        for (int b = 4; b < CAlphaScrollBar::kBuckets; ++b) c[static_cast<size_t>(b)] = 2;
        return c;
    }
    int LetterStart(int letter) const {
        int start = 0;
        for (int k = 0; k < letter; ++k) start += bar->GetLetterSize(k);
        return start;
    }
    // Root y of a strip offset.
    int StripY(int offset) const { return bar->GetLetterArea().y + bar->GetStripStart() + offset; }

    widgettest::PinnedFonts fonts;
    testsupport::WidgetHarness harness{320, 320};
    testsupport::TestMainWnd& root = harness.Root();
    Target target{nullptr};
    CAlphaScrollBar* bar;
};

TEST_F(AlphaScrollBarTest, TheLettersAreFittedAndCentredAlongTheBar) {
    EXPECT_LE(bar->GetStripFontSize(), 30);
    EXPECT_EQ(bar->GetLetterArea().y, 30);
    EXPECT_EQ(bar->GetLetterArea().h, 260);
    const int strip = LetterStart(CAlphaScrollBar::kLetters);
    EXPECT_LT(strip, 260);
    for (int k = 0; k < CAlphaScrollBar::kLetters; ++k) EXPECT_GT(bar->GetLetterSize(k), 0) << k;
    EXPECT_NEAR(bar->GetStripStart(), (260 - strip) / 2, 1);
}

TEST_F(AlphaScrollBarTest, PositionsAndOffsetsMapBothWaysOverEmptyAndLeadingBuckets) {
    SetCounts(Sample());
    struct Case {
        const char* name;
        int row;     // first row of the position
        int offset;  // its offset along the strip
    };
    const int c = LetterStart(2);
    const Case cases[] = {
        {"rows before A", 0, 0},
        {"last row before A", 3, 0},
        {"first A", 4, 0},
        {"half way through A", 7, bar->GetLetterSize(0) * 3 / 6},
        {"first C, B being empty", 10, c},
        {"second C", 11, c + bar->GetLetterSize(2) / 10},
        {"first D", 20, LetterStart(3)},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        EXPECT_EQ(bar->PositionToOffset(k.row * kRow), k.offset);
    }
    // Each letter's band leads to its first row; an empty letter's band to
    // the next letter's first row.
    const std::vector<std::pair<int, int>> back = {{0, 4}, {1, 10}, {2, 10}, {3, 20}, {25, 64}};
    for (auto [letter, row] : back) {
        SCOPED_TRACE(letter);
        EXPECT_EQ(bar->OffsetToPosition(LetterStart(letter)), row * kRow);
        if (Sample()[static_cast<size_t>(letter) + 1] > 0)
            EXPECT_EQ(bar->PositionToOffset(bar->OffsetToPosition(LetterStart(letter))), LetterStart(letter));
    }
    EXPECT_EQ(bar->OffsetToPosition(bar->GetBandMax()), bar->GetTotal() - bar->GetPageLength());
    EXPECT_EQ(bar->PositionToOffset(bar->GetTotal()), LetterStart(CAlphaScrollBar::kLetters));
}

TEST_F(AlphaScrollBarTest, LongListsMapAsExactlyAsShortOnes) {
    // 13000 rows and 260000 pixels: past 12288 the mapping is worked out in
    // floating point and must agree with exact arithmetic.
    Counts counts{};
    counts[0] = 520;
    for (int b = 1; b < CAlphaScrollBar::kBuckets; ++b) counts[static_cast<size_t>(b)] = 480;
    SetCounts(counts);
    const int64_t items = 13000;
    const int64_t total = bar->GetTotal();
    for (int64_t pos : std::vector<int64_t>{0, 12288, 12289, 100000, 200013, total - kPage}) {
        SCOPED_TRACE(pos);
        const int64_t row = pos * items / total;
        int64_t expected = 0;
        if (row >= 520) {
            const int64_t letter = (row - 520) / 480;
            expected = LetterStart(static_cast<int>(letter)) +
                       (row - 520 - letter * 480) * bar->GetLetterSize(static_cast<int>(letter)) / 480;
        }
        EXPECT_EQ(bar->PositionToOffset(static_cast<int>(pos)), expected);
    }
    for (int letter : {0, 12, 25}) {
        const int64_t row = 520 + 480LL * letter;
        EXPECT_EQ(bar->OffsetToPosition(LetterStart(letter)), row * total / items) << letter;
    }
}

TEST_F(AlphaScrollBarTest, WithoutLetterCountsNothingDividesByZeroAndTouchesMoveNothing) {
    bar->SetRange(kPage, 1000);
    EXPECT_EQ(bar->PositionToOffset(500), 0);
    EXPECT_EQ(bar->OffsetToPosition(40), 0);
    EXPECT_EQ(bar->BandLength(), 0);
    harness.PaintAll();
    harness.Press(215, 60);
    harness.Move(215, 200);
    harness.RunFor(400);
    harness.Release(215, 200);
    EXPECT_EQ(bar->GetPosition(), 0);
    for (int p : target.positions) EXPECT_EQ(p, 0);
}

TEST_F(AlphaScrollBarTest, AQuickTapBesideTheBandPagesOnce) {
    SetCounts(Sample());
    harness.PaintAll();
    target.positions.clear();
    const int below = StripY(bar->GetBandOffset() + bar->GetBandLength()) + 60;
    harness.Press(215, below);
    harness.RunFor(200);
    harness.Release(215, below);
    EXPECT_EQ(bar->GetPosition(), kPage - kRow);
    EXPECT_EQ(target.positions, std::vector<int>{kPage - kRow});
    EXPECT_EQ(bar->GetDragMode(), 0);

    harness.Press(215, below);
    harness.Release(215, below);
    EXPECT_EQ(bar->GetPosition(), 2 * (kPage - kRow));
    // The top of the letters, far above the band.
    const int above = bar->GetLetterArea().y + 2;
    harness.Press(215, above);
    harness.Release(215, above);
    EXPECT_EQ(bar->GetPosition(), kPage - kRow);
}

TEST_F(AlphaScrollBarTest, AHeldFingerDrawsTheBandToItThenDragsIt) {
    SetCounts(Sample());
    harness.PaintAll();
    target.positions.clear();
    const int finger = StripY(LetterStart(12));
    harness.Press(215, finger);
    harness.RunFor(250);
    EXPECT_TRUE(target.positions.empty());
    harness.RunFor(100);
    ASSERT_EQ(target.positions.size(), 1u);
    EXPECT_EQ(bar->GetDragMode(), 3);
    const int centre = bar->GetBandOffset() + bar->GetBandLength() / 2;
    EXPECT_EQ(centre, finger - StripY(0));
    EXPECT_EQ(target.positions.back(), bar->GetPosition());
    EXPECT_GT(bar->GetPosition(), 0);

    const int offset = bar->GetBandOffset();
    harness.Move(215, finger + 10);
    EXPECT_EQ(bar->GetBandOffset(), offset + 10);
    EXPECT_EQ(target.positions.back(), bar->GetPosition());
    harness.Move(215, 319);
    EXPECT_EQ(bar->GetBandOffset(), bar->GetBandMax());
    EXPECT_EQ(bar->GetPosition(), bar->GetTotal() - kPage);
    harness.Release(215, 319);
    EXPECT_EQ(bar->GetDragMode(), 0);
}

TEST_F(AlphaScrollBarTest, TheStripLooksRightAtRestAndWhileTheBandIsDragged) {
    SetCounts(Sample());
    bar->SetPosition(10 * kRow, 0);
    harness.PaintAll();
    EXPECT_TRUE(testsupport::MatchesGolden(harness.Capture(), "alpha_bar_rest"));
    const int y = StripY(bar->GetBandOffset() + bar->GetBandLength() / 2);
    harness.Press(215, y);
    harness.Move(215, y + 60);
    EXPECT_TRUE(testsupport::MatchesGolden(harness.Capture(), "alpha_bar_drag"));
    harness.Release(215, y + 60);
}

}  // namespace
