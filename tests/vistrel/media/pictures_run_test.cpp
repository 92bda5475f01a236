// The whole tablet against the sample house: "Pictures" shows the album tree,
// the Garden tab its thumbnails; a picture opens, Next slides to the next one,
// Full Screen shows it over the whole screen, a touch on the picture changes
// nothing and Back returns to the grid.
#include <gtest/gtest.h>

#include <string>

#include "core/messages/mediamessages.h"
#include "support/golden.h"
#include "vistrel/media/mediapages.h"
#include "vistrel/media/pictures/picturespage.h"
#include "vistrel/media/pictures/pictureviewer.h"
#include "vistrel/media/pictures/picwnd.h"
#include "vistrel/media/pictures/thumbbutton.h"
#include "vistrel/shell_fixture.h"

namespace {

class PicturesRun : public vistreltest::SampleHouseRun {
protected:
    PicturesRun() { RegisterMediaPages(); }

    static bool ThumbnailsIn(CPictureFolder* folder) {
        for (int i = 0; folder && i < folder->GetPictureCount(); ++i)
            if (!folder->GetPicture(i)->GetThumbnail()) return false;
        return folder != nullptr;
    }
    static bool PictureIn(CPictureViewerWnd* viewer) {
        return viewer && viewer->GetShownItem() && viewer->GetShownItem()->GetPicture() && viewer->GetButton(0);
    }
    void TouchAt(CZVWindow* window, int x, int y) {
        clock.Advance(1000);
        window->OnLButtonDown(x, y, 0);
        window->OnLButtonUp(x, y, 0);
    }
};

TEST_F(PicturesRun, BrowsesTheGardenAlbumAndViewsAPictureFullScreen) {
    enum Step {
        kWaitForHome,
        kWaitForAlbums,
        kPressGarden,
        kWaitForGarden,
        kOpenPicture,
        kWaitForPicture,
        kPressNext,
        kWaitForNext,
        kPressFullScreen,
        kWaitForFullScreen,
        kTouchPicture,
        kPressBack,
        kWaitForGrid,
        kDone
    } step = kWaitForHome;
    testsupport::Image565 albums, garden, opened, next, fullScreen, back;
    std::string summer;
    CPicturesSummaryPage* page = nullptr;
    CPictureAlbumPanel* panel = nullptr;
    CPictureViewerWnd* viewer = nullptr;
    vistreltest::TestHost host(environment.Folder(), 800, 600, [&](CMainWnd& window, CZVServer& server, int pass) {
        const bool answered = AnsweredAndStill(window, server, "Pictures");
        switch (step) {
        case kWaitForHome:
            if (TouchEntryWhenAnswered(window, server, "Pictures")) step = kWaitForAlbums;
            break;
        case kWaitForAlbums:
            page = dynamic_cast<CPicturesSummaryPage*>(window.GetCurrentPage());
            panel = page ? dynamic_cast<CPictureAlbumPanel*>(page->GetContent()) : nullptr;
            viewer = panel ? dynamic_cast<CPictureViewerWnd*>(panel->GetContent()) : nullptr;
            if (!viewer || !ThumbnailsIn(viewer->GetFolder()) || !answered) break;
            albums = Picture(window, host);
            summer = page->GetRoot()->GetSubFolder(1)->GetSubFolder(0)->GetName().GetAnsi();
            step = kPressGarden;
            break;
        case kPressGarden: {
            CZVButton* tab = TabNamed(panel->GetTabs(), "Garden");
            if (!tab) return true;
            Touch(tab);
            step = kWaitForGarden;
            break;
        }
        case kWaitForGarden:
            viewer = dynamic_cast<CPictureViewerWnd*>(panel->GetContent());
            if (!viewer || !ThumbnailsIn(viewer->GetFolder()) || !answered) break;
            garden = Picture(window, host);
            step = kOpenPicture;
            break;
        case kOpenPicture: {
            // The first touch selects the third picture and, the grid opening on every
            // release on the selected cell, opens it.
            CPicWnd* grid = viewer->GetGrid();
            CZVRect cell;
            grid->GetItemRectAt(&cell, 2);
            TouchAt(grid, grid->ToRootX(cell.x + cell.w / 2), grid->ToRootY(cell.y + cell.h / 2));
            step = kWaitForPicture;
            break;
        }
        case kWaitForPicture:
            if (!PictureIn(viewer) || !answered) break;
            opened = Picture(window, host);
            step = kPressNext;
            break;
        case kPressNext:
            Touch(viewer->GetButton(0));
            step = kWaitForNext;
            break;
        case kWaitForNext:
            if (!PictureIn(viewer) || viewer->GetShownItem()->GetIndex() != 3 || !answered) break;
            next = Picture(window, host);
            step = kPressFullScreen;
            break;
        case kPressFullScreen:
            Touch(viewer->GetButton(1));
            step = kWaitForFullScreen;
            break;
        case kWaitForFullScreen:
            if (!viewer->IsFullScreen() || !PictureIn(viewer) || !answered) break;
            fullScreen = Picture(window, host);
            step = kTouchPicture;
            break;
        case kTouchPicture:
            // Outside the buttons a touch on the picture changes nothing.
            TouchAt(viewer, 400, 100);
            if (!viewer->IsFullScreen() || !viewer->GetShownItem()) return true;
            step = kPressBack;
            break;
        case kPressBack:
            Touch(viewer->GetButton(2));
            step = kWaitForGrid;
            break;
        case kWaitForGrid:
            if (viewer->GetShownItem() || viewer->IsFullScreen() || !answered) break;
            back = Picture(window, host);
            step = kDone;
            break;
        case kDone: break;
        }
        return step == kDone || pass == 3000;
    });
    EXPECT_EQ(TabletMain(Arguments(), host), 0);
    ASSERT_EQ(step, kDone);
    EXPECT_TRUE(GatewaySaw(ZVM_PICTURES_GETSUMMARYQ));
    EXPECT_EQ(summer, "Summer");
    EXPECT_TRUE(testsupport::MatchesGolden(albums, "vistrel_pictures_albums"));
    EXPECT_TRUE(testsupport::MatchesGolden(garden, "vistrel_pictures_garden"));
    EXPECT_TRUE(testsupport::MatchesGolden(opened, "vistrel_pictures_opened"));
    EXPECT_TRUE(testsupport::MatchesGolden(next, "vistrel_pictures_next"));
    EXPECT_TRUE(testsupport::MatchesGolden(fullScreen, "vistrel_pictures_fullscreen"));
    // Back shows the grid as it was.
    EXPECT_TRUE(testsupport::MatchesGolden(back, "vistrel_pictures_garden"));
}

}  // namespace
