// The Pictures page: the album tree it asks for decides whether a viewer or
// a tabbed panel shows it, panel by panel down the tree; crowded tabs wrap.
#include "vistrel/media/pictures/picturespage.h"

#include <gtest/gtest.h>

#include <string>

#include "picture_fixture.h"
#include "vistrel/media/pictures/pictureviewer.h"
#include "vistrel/media/pictures/picwnd.h"
#include "vistrel/shell_fixture.h"

namespace {

using picturetest::Album;

class PicturesPage : public vistreltest::ShellTest {
protected:
    void SetUp() override { Connect(); }

    CPicturesSummaryPage* Open(const Album* album) {
        if (album) {
            CZVMSG message(0, 0);
            picturetest::WriteAlbum(message, *album);
            gateway.Answer(ZVM_PICTURES_GETSUMMARYQ,
                           testsupport::Bytes(message.GetData(), message.GetData() + message.GetLength()));
        }
        page = new CPicturesSummaryPage(window.get(), window->GetPageArea(), server);
        window->AddChild(page);
        return page;
    }
    static std::string Shape(CZVWindow* content) {
        if (auto* viewer = dynamic_cast<CPictureViewerWnd*>(content))
            return "viewer " + std::string(viewer->GetFolder() ? viewer->GetFolder()->GetName().GetAnsi() : "-");
        auto* panel = dynamic_cast<CPictureAlbumPanel*>(content);
        if (!panel) return "?";
        std::string shape = "panel [";
        for (const CZVString& caption : panel->GetCaptions()) shape += std::string(CZVString(caption).GetAnsi()) + "|";
        return shape + "] " + Shape(panel->GetContent());
    }

    CPicturesSummaryPage* page = nullptr;
};

TEST_F(PicturesPage, TheTreeDecidesBetweenAViewerAndNestedTabbedPanels) {
    const struct {
        const char* what;
        Album album;
        const char* shape;
    } cases[] = {
        {"pictures only", {1, "Pictures", {"a", "b"}, {}}, "viewer Pictures"},
        {"pictures and sub-albums",
         {1, "Pictures", {"a"}, {{2, "Garden", {"b"}, {}}}},
         "panel [Pictures in Pictures|Garden|] viewer Pictures"},
        {"no pictures of its own, a sub-album with sub-albums first",
         {1, "Pictures", {}, {{3, "Holidays", {}, {{4, "Summer", {"s"}, {}}, {5, "Winter", {"w"}, {}}}}}},
         "panel [Holidays|] panel [Summer|Winter|] viewer Summer"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Open(&c.album);
        EXPECT_EQ(Shape(page->GetContent()), c.shape);
        window->RemoveChild(page);
        delete page;
    }
}

TEST_F(PicturesPage, TabsOfAnotherAlbumReplaceTheContentAndUnknownIdsAreIgnored) {
    const Album album{1, "Pictures", {}, {{2, "Garden", {"b"}, {}}, {3, "Pond", {"c"}, {}}}};
    Open(&album);
    auto* panel = dynamic_cast<CPictureAlbumPanel*>(page->GetContent());
    ASSERT_NE(panel, nullptr);
    panel->OnCommand(CPictureAlbumPanel::kFirstSubAlbumTab + 1);
    EXPECT_EQ(Shape(panel), "panel [Garden|Pond|] viewer Pond");
    CZVWindow* shown = panel->GetContent();
    panel->OnCommand(CPictureAlbumPanel::kFirstSubAlbumTab + 2);
    panel->OnCommand(CPictureAlbumPanel::kLastSubAlbumTab + 1);
    EXPECT_EQ(panel->GetContent(), shown);
}

TEST_F(PicturesPage, CrowdedTabsWrapTheirCaptionsAndTheBandGrows) {
    Album album{1, "Pictures", {}, {}};
    for (int i = 0; i < 14; ++i)
        album.subAlbums.push_back({10 + i, "Holiday album number " + std::to_string(i), {"p"}, {}});
    Open(&album);
    auto* panel = dynamic_cast<CPictureAlbumPanel*>(page->GetContent());
    ASSERT_NE(panel, nullptr);
    ASSERT_EQ(panel->GetCaptions().size(), 14u);
    EXPECT_NE(std::string(CZVString(panel->GetCaptions()[0]).GetAnsi()).find('\n'), std::string::npos);
}

TEST_F(PicturesPage, AnUnansweredQueryShowsAnEmptyViewer) {
    Open(nullptr);
    auto* viewer = dynamic_cast<CPictureViewerWnd*>(page->GetContent());
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->GetGrid()->GetCount(), 0);
    EXPECT_EQ(page->GetRoot()->GetPictureCount(), 0);
}

}  // namespace
