// The picture viewer: stepping with wrap-around and prefetch, the memory
// rule, the buttons' widths, full screen and a touch while loading.
#include "vistrel/media/pictures/pictureviewer.h"

#include <gtest/gtest.h>

#include "gfx/shellservices.h"
#include "picture_fixture.h"
#include "support/golden.h"
#include "vistrel/media/pictures/picwnd.h"
#include "vistrel/media/pictures/thumbbutton.h"
#include "widgets/command_sink.h"

namespace {

using picturetest::Album;

// The harness's services with the memory the platform reports set by the test.
class LowMemory : public CShellServices {
public:
    explicit LowMemory(CShellServices& real) : m_real(real), m_previous(InstallShellServices(this)) {}
    ~LowMemory() override { InstallShellServices(m_previous); }
    CDibDC* GetScreen() override { return m_real.GetScreen(); }
    uint64_t GetAvailableMemory() override { return available; }
    uint64_t available = UINT64_MAX;

private:
    CShellServices& m_real;
    CShellServices* m_previous;
};

class Viewer : public widgettest::GatewayTree {
protected:
    void SetUp() override { Connect(); }

    CPictureViewerWnd* Make(const Album& album, CZVRect rect = CZVRect(10, 10, 300, 220)) {
        picturetest::ReadAlbum(folder, album);
        viewer = new CPictureViewerWnd(&folder, page, rect, 7);
        page->AddChild(viewer);
        harness.PaintAll();
        picturetest::AnswerPending(*viewer->GetFolder(), 80, 60);
        return viewer;
    }
    // Opens picture i as a touch would and lets it arrive at w x h.
    void Open(int i, int w, int h) {
        viewer->GetGrid()->SetSelection(i);
        viewer->OnCommand(CPictureViewerWnd::kOpenCommand);
        Arrive(w, h);
    }
    void Arrive(int w, int h) {
        CPictureItem* item = viewer->GetShownItem();
        ASSERT_NE(item, nullptr);
        ASSERT_EQ(item->GetPending(), kPictureFull);
        picturetest::Answer(item, w, h, picturetest::FlatJpeg(w, h, 60, 140, 200));
    }
    int ButtonWidth() const { return viewer->GetButton(0) ? viewer->GetButton(0)->GetWidth() : -1; }

    CPictureFolder folder{server};
    widgettest::CommandSink* page = new widgettest::CommandSink(&root, CZVRect(0, 0, 320, 240));
    CPictureViewerWnd* viewer = nullptr;
};

TEST_F(Viewer, NextAndPreviousWrapAndFetchTheNeighbourAhead) {
    Make({1, "Album", {"a", "b", "c"}, {}});
    const CZVRect viewing = viewer->GetViewingRect();
    Open(2, 200, 150);
    viewer->OnCommand(CPictureViewerWnd::kNextCommand);
    EXPECT_EQ(viewer->GetShownItem()->GetIndex(), 0);
    Arrive(200, 150);
    // The one after it is fetched ahead at the viewing size.
    EXPECT_EQ(folder.GetPicture(1)->GetPending(), kPictureFull);
    picturetest::Answer(folder.GetPicture(1), viewing.w, viewing.h, picturetest::FlatJpeg(viewing.w, viewing.h));
    viewer->OnCommand(CPictureViewerWnd::kPreviousCommand);
    EXPECT_EQ(viewer->GetShownItem()->GetIndex(), 2);
}

TEST_F(Viewer, AnAlbumOfOnePictureStepsOntoItselfWithoutPrefetch) {
    Make({1, "Album", {"only"}, {}});
    Open(0, 200, 150);
    viewer->OnCommand(CPictureViewerWnd::kNextCommand);
    EXPECT_EQ(viewer->GetShownItem()->GetIndex(), 0);
    EXPECT_EQ(viewer->GetShownItem()->GetPending(), kPictureNone);
    viewer->OnCommand(CPictureViewerWnd::kPreviousCommand);
    EXPECT_EQ(viewer->GetShownItem()->GetIndex(), 0);
}

TEST_F(Viewer, OldPicturesAreFreedPastTheLimitOrWhenMemoryRunsShortButThumbnailsStay) {
    Make({1, "Album", {"a", "b", "c", "d"}, {}});
    // Three pictures of 6,000,000 bytes each: 18 MB is past the limit.
    const std::vector<uint8_t> big = picturetest::FlatJpeg(2000, 1500);
    for (int i = 0; i < 3; ++i) {
        harness.Clock().Advance(10);
        CPictureItem* item = folder.GetPicture(i);
        item->Request(2000, 1500, kPictureFull);
        picturetest::Answer(item, 2000, 1500, big);
    }
    viewer->FreeOldPictures();
    EXPECT_EQ(folder.GetPicture(0)->GetPicture(), nullptr);
    EXPECT_NE(folder.GetPicture(1)->GetPicture(), nullptr);
    EXPECT_LE(folder.GetTotalBytes(), CPictureViewerWnd::kMaxPictureBytes);

    LowMemory memory(harness);
    memory.available = CPictureViewerWnd::kMinAvailableMemory - 1;
    viewer->FreeOldPictures();
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(folder.GetPicture(i)->GetPicture(), nullptr);
        EXPECT_NE(folder.GetPicture(i)->GetThumbnail(), nullptr);
    }
}

TEST_F(Viewer, ButtonsShareTheNarrowerOfPictureAndViewer) {
    Make({1, "Album", {"a", "b"}, {}});
    Open(0, 200, 150);
    EXPECT_EQ(ButtonWidth(), (200 - 4) / 4);
    viewer->OnCommand(CPictureViewerWnd::kBackCommand);
    EXPECT_EQ(viewer->GetShownItem(), nullptr);
    folder.GetPicture(1)->FreePicture();
    Open(1, 400, 200);
    EXPECT_EQ(ButtonWidth(), (300 - 4) / 4);
    EXPECT_STREQ(viewer->GetButton(3)->GetText().GetAnsi(), "Previous");
}

TEST_F(Viewer, FullScreenFreesThePicturesAndAsksAtTheScreensSize) {
    Make({1, "Album", {"a", "b"}, {}});
    Open(0, 200, 150);
    viewer->OnCommand(CPictureViewerWnd::kFullScreenCommand);
    EXPECT_TRUE(viewer->IsFullScreen());
    EXPECT_EQ(root.overlay, viewer);
    EXPECT_EQ(viewer->GetViewingRect(), CZVRect(0, 0, 320, 240));
    CPictureItem* item = viewer->GetShownItem();
    EXPECT_EQ(item->GetPicture(), nullptr);
    EXPECT_EQ(item->GetPending(), kPictureFull);
    Arrive(320, 240);
    ASSERT_NE(viewer->GetButton(1), nullptr);
    EXPECT_STREQ(viewer->GetButton(1)->GetText().GetAnsi(), "Normal\nSize");
    viewer->OnCommand(CPictureViewerWnd::kBackCommand);
    EXPECT_FALSE(viewer->IsFullScreen());
    EXPECT_EQ(root.overlay, nullptr);
}

TEST_F(Viewer, ATouchWhileThePictureLoadsGoesBackToTheGrid) {
    Make({1, "Album", {"a", "b"}, {}});
    viewer->GetGrid()->SetSelection(1);
    viewer->OnCommand(CPictureViewerWnd::kOpenCommand);
    ASSERT_NE(viewer->GetShownItem(), nullptr);
    harness.Tap(150, 100);
    EXPECT_EQ(viewer->GetShownItem(), nullptr);
    EXPECT_TRUE(viewer->GetGrid()->IsShown());
}

TEST_F(Viewer, AnAlbumWithoutPicturesOpensOnItsFirstSubAlbumWithPictures) {
    Make({1, "Holidays", {}, {{4, "Empty", {}, {}}, {5, "Summer", {"beach"}, {}}}});
    EXPECT_EQ(viewer->GetFolder(), folder.GetSubFolder(1));
    EXPECT_EQ(viewer->GetGrid()->GetCount(), 1);
}

TEST_F(Viewer, APictureWithItsFourButtonsLooksRight) {
    Make({1, "Garden", {"a", "b"}, {}});
    Open(1, 260, 180);
    harness.PaintAll();
    EXPECT_TRUE(testsupport::MatchesGolden(harness.Capture(), "picture_viewer"));
}

}  // namespace
