// The thumbnail grid: its geometry, touch (select, open, drag), synthetic
// input, scrolling a cell into view, and how its cells look.
#include "vistrel/media/pictures/picwnd.h"

#include <gtest/gtest.h>

#include "picture_fixture.h"
#include "platform/keys.h"
#include "support/golden.h"
#include "support/virtual_clock.h"
#include "widgets/command_sink.h"

namespace {

using picturetest::Album;

constexpr int kSelect = 77;
constexpr int kOpen = 88;

Album Numbered(int count) {
    Album album{2, "Garden", {}, {}};
    for (int i = 0; i < count; ++i) album.pictures.push_back("Picture " + std::to_string(i + 1));
    return album;
}

class PicGrid : public widgettest::GatewayTree {
protected:
    void SetUp() override { Connect(); }

    CPicWnd* Make(CZVRect rect, int flags, int captionHeight = 0, int pictures = 12) {
        picturetest::ReadAlbum(folder, Numbered(pictures));
        auto* grid = new CPicWnd(page, rect, kSelect, kOpen, 80, 60, captionHeight, 4, 2, flags);
        page->AddChild(grid);
        grid->SetFolder(&folder);
        harness.PaintAll();
        return grid;
    }
    // Window coordinates of the centre of cell i, in root coordinates.
    static std::pair<int, int> CentreOf(CPicWnd* grid, int i) {
        CZVRect r;
        grid->GetItemRectAt(&r, i);
        return {grid->ToRootX(r.x + r.w / 2), grid->ToRootY(r.y + r.h / 2)};
    }
    void Tap(CPicWnd* grid, int i) {
        const auto [x, y] = CentreOf(grid, i);
        harness.Tap(x, y);
    }

    CPictureFolder folder{server};
    widgettest::CommandSink* page = new widgettest::CommandSink(&root, CZVRect(0, 0, 320, 240));
};

TEST_F(PicGrid, CellsFillTheWidthInColumns) {
    const struct {
        int width;
        int columns;
        CZVRect cell5;
    } cases[] = {
        {60, 1, CZVRect(6, 6 + 5 * 64, 80, 60)},  // narrower than a cell: still one column
        {320, 3, CZVRect(6 + 2 * 84, 6 + 64, 80, 60)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        CPicWnd* grid = Make(CZVRect(0, 0, c.width, 240), CPicWnd::kCellsNotWidened);
        EXPECT_EQ(grid->GetColumns(), c.columns);
        CZVRect cell;
        grid->GetItemRectAt(&cell, 5);
        EXPECT_EQ(cell, c.cell5);
        EXPECT_EQ(grid->ItemFromPoint(cell.x, cell.y), 5);
        EXPECT_EQ(grid->ItemFromPoint(cell.x - 2, cell.y), -1);
        page->RemoveChild(grid);
        delete grid;
    }
    EXPECT_EQ(CPicWnd(page, CZVRect(0, 0, 100, 100), 1, 2, 80, 60, 0, 4, 2, 0).GetCount(), 0);
}

TEST_F(PicGrid, APressSelectsAtOnceAndOnlyAReleaseOnTheSelectedCellOpens) {
    CPicWnd* grid = Make(CZVRect(0, 0, 320, 240), 0);
    Tap(grid, 1);
    EXPECT_EQ(grid->GetSelection(), 1);
    EXPECT_EQ(page->commands, (std::vector<int>{kSelect}));
    Tap(grid, 1);
    EXPECT_EQ(page->commands, (std::vector<int>{kSelect, kOpen}));
    // With flag 4 the first release opens as well.
    page->commands.clear();
    page->RemoveChild(grid);
    delete grid;
    CPicWnd* opening = Make(CZVRect(0, 0, 320, 240), CPicWnd::kEveryReleaseOpens);
    Tap(opening, 2);
    EXPECT_EQ(page->commands, (std::vector<int>{kSelect, kOpen}));
}

TEST_F(PicGrid, DraggingTheGridMoreThanEightPixelsOpensNothing) {
    CPicWnd* grid = Make(CZVRect(0, 0, 320, 150), CPicWnd::kEveryReleaseOpens);
    ASSERT_NE(grid->GetListScrollBar(), nullptr);
    const auto [x, y] = CentreOf(grid, 4);
    harness.Press(x, y);
    for (int dy = 4; dy <= 40; dy += 4)
        harness.Native().QueueMouse(platform::kWmMouseMove, x, y - dy, platform::MK_LBUTTON);
    harness.PumpEvents();
    harness.Release(x, y - 40);
    EXPECT_TRUE(grid->IsDragged());
    EXPECT_EQ(page->commands, (std::vector<int>{kSelect}));
}

TEST_F(PicGrid, SyntheticPressAndReleaseTouchTheCellOneStepPerIdlePass) {
    CPicWnd* grid = Make(CZVRect(0, 0, 320, 240), CPicWnd::kEveryReleaseOpens);
    grid->OnCommand(CPicWnd::kPressCommand + 3);
    grid->OnCommand(CPicWnd::kReleaseCommand + 3);
    EXPECT_EQ(grid->GetSelection(), -1);
    harness.Idle();
    EXPECT_EQ(grid->GetSelection(), 3);
    EXPECT_EQ(page->commands, (std::vector<int>{kSelect}));
    harness.Idle();
    EXPECT_EQ(page->commands, (std::vector<int>{kSelect, kOpen}));
}

TEST_F(PicGrid, AReleaseNearTheBottomScrollsTheCellUpOver200Ms) {
    CPicWnd* grid = Make(CZVRect(0, 0, 320, 150), 0);
    CZVRect cell;
    grid->GetItemRectAt(&cell, 4);
    const int expected = cell.y + cell.h - 150 + 2 + CPicWnd::kRevealBelow;
    Tap(grid, 4);
    harness.Clock().Advance(100);
    harness.Idle();
    EXPECT_EQ(grid->GetScrollPos(), expected / 2);
    harness.Clock().Advance(100);
    harness.Idle();
    EXPECT_EQ(grid->GetScrollPos(), expected);
}

TEST_F(PicGrid, CellsShowTheirThumbnailsCaptionsSelectionAndOneStillLoading) {
    CPicWnd* grid = Make(CZVRect(0, 0, 320, 240), 0, 16, 8);
    // Every thumbnail arrives but the fifth: only its caption shows.
    for (int i = 0; i < folder.GetPictureCount(); ++i)
        if (i != 4)
            picturetest::Answer(folder.GetPicture(i), 72, 54, picturetest::FlatJpeg(72, 54, 60 + 25 * i, 140, 90));
    Tap(grid, 1);
    harness.PaintAll();
    EXPECT_TRUE(testsupport::MatchesGolden(harness.Capture(), "picture_grid"));
}

TEST(RowExpander, OpensAndClosesInProportionToTheWayLeft) {
    testsupport::VirtualClock clock;
    CRowExpander expander(2);
    expander.SetOpen(1);
    clock.Advance(100);
    EXPECT_EQ(expander.Step(), 1);
    EXPECT_EQ(expander.GetHeight(), CRowExpander::kFullHeight / 2);
    EXPECT_EQ(expander.Step(), 0);
    // Closing from half way takes half the time.
    expander.SetOpen(0);
    clock.Advance(50);
    expander.Step();
    EXPECT_EQ(expander.GetHeight(), 10);
    clock.Advance(60);
    expander.Step();
    EXPECT_EQ(expander.GetHeight(), 0);
    expander.SetOpen(1);
    clock.Advance(1000);
    expander.Step();
    EXPECT_EQ(expander.GetHeight(), CRowExpander::kFullHeight);
}

TEST_F(PicGrid, WithTheBandATouchOpensTheRowsExpanderAndMovesTheRowsBelow) {
    CPicWnd* grid = Make(CZVRect(0, 0, 320, 240), CPicWnd::kPlayBand);
    CZVRect below;
    grid->GetItemRectAt(&below, 3);
    Tap(grid, 1);
    for (int i = 0; i < 5; ++i) {
        harness.Clock().Advance(50);
        harness.Idle();
    }
    ASSERT_NE(grid->GetExpander(0), nullptr);
    EXPECT_EQ(grid->GetExpander(0)->GetHeight(), CRowExpander::kFullHeight);
    CZVRect moved;
    grid->GetItemRectAt(&moved, 3);
    EXPECT_EQ(moved.y, below.y + CRowExpander::kFullHeight);
    // A cell of another row closes this one.
    Tap(grid, 4);
    harness.Clock().Advance(300);
    harness.Idle();
    EXPECT_EQ(grid->GetExpander(0)->GetHeight(), 0);
    EXPECT_EQ(grid->GetExpander(1)->GetHeight(), CRowExpander::kFullHeight);
}

TEST_F(PicGrid, OnlyAPressAndReleaseOnTheOpenPlayBandOpensTheSelectedCell) {
    // The band's command goes through the list's own handling, which offers it to the parent's
    // child-command hook first.
    page->onChild = [](int, int) { return 0; };
    CPicWnd* grid = Make(CZVRect(0, 0, 320, 240), CPicWnd::kPlayBand, 16);
    Tap(grid, 1);
    harness.Clock().Advance(CRowExpander::kFullMs);
    harness.Idle();
    EXPECT_EQ(page->commands, (std::vector<int>{kSelect}));
    CZVRect cell;
    grid->GetItemRectAt(&cell, 1);
    const int x = grid->ToRootX(cell.x + cell.w / 2);
    const int band = grid->ToRootY(cell.y + cell.h + CRowExpander::kFullHeight / 2);
    // Released on the picture above the band: nothing.
    harness.Press(x, band);
    harness.Release(x, grid->ToRootY(cell.y + 10));
    EXPECT_EQ(page->commands, (std::vector<int>{kSelect}));
    harness.Tap(x, band);
    EXPECT_EQ(page->commands, (std::vector<int>{kSelect, kOpen}));
    EXPECT_EQ(grid->GetSelection(), 1);
}

}  // namespace
