// The font page: every installed family once, in the font server's order,
// the first selected; "Done" makes the selected family the face, keeps it,
// and the page, released from inside its own button, is gone by the next
// idle pass.
#include "vistrel/shell/fontpage.h"

#include <gtest/gtest.h>

#include "core/messages/shellmessages.h"
#include "gfx/fontserver.h"
#include "shell_fixture.h"
#include "support/golden.h"

namespace {

class FontPageTest : public vistreltest::ShellTest {
protected:
    CFontPage* Show() {
        window->OnMessage(std::make_unique<CZVMSG>(0, ZVM_TABLET_SHOWFONTPAGE).get());
        return dynamic_cast<CFontPage*>(window->GetCurrentPage());
    }
};

TEST_F(FontPageTest, ListsEachFamilyOnceInOrderWithTheFirstSelected) {
    CFontServer* fonts = CFontServer::Get();
    CFontPage* page = Show();
    ASSERT_NE(page, nullptr);
    const auto& families = fonts->GetFamilies();
    ASSERT_FALSE(families.empty());
    ASSERT_EQ(page->GetList()->GetCount(), static_cast<int>(families.size()));
    for (int i = 0; i < page->GetList()->GetCount(); ++i)
        EXPECT_EQ(std::string(static_cast<CTextItem*>(page->GetList()->GetItemAt(i))->GetText().GetAnsi()),
                  CZVString(families[static_cast<size_t>(i)].name).GetAnsi());
    EXPECT_EQ(page->GetList()->GetSelectedIndex(), 0);
}

TEST_F(FontPageTest, DoneStoresTheSelectedFamilyAndTheReleasedPageIsDeletedLater) {
    CFontServer* fonts = CFontServer::Get();
    CFontPage* page = Show();
    ASSERT_NE(page, nullptr);
    const std::string first = CZVString(fonts->GetFamilies().front().name).GetAnsi();
    window->PaintAll();
    clock.Advance(1000);
    CZVWindow* done = nullptr;
    for (ZVPOSITION pos = page->GetChildren().GetHeadPosition(); pos;) {
        auto* child = static_cast<CZVWindow*>(page->GetChildren().GetNext(pos));
        if (std::string(child->GetText().GetAnsi()) == "Done") done = child;
    }
    ASSERT_NE(done, nullptr);
    const int x = done->ToRootX(10), y = done->ToRootY(10);
    done->OnLButtonDown(x, y, 0);
    done->OnLButtonUp(x, y, 0);  // deletes nothing under the running handler (ASan would tell)
    EXPECT_EQ(std::string(fonts->GetFaceName().GetAnsi()), first);
    EXPECT_NE(window->GetCurrentPage(), static_cast<CZVWindow*>(page));
    window->OnIdle(0);
}

TEST_F(FontPageTest, PictureOfTheTitleAndTheDoneButton) {
    CFontPage* page = Show();
    ASSERT_NE(page, nullptr);
    window->PaintAll();
    // The rows name the machine's own fonts: the picture keeps the title band and the button.
    const testsupport::Image565 screen = testsupport::ImageOf(*window->GetScreen());
    testsupport::Image565 shown{page->GetWidth(), 60, {}};
    for (int band : {0, page->GetHeight() - 30})
        for (int y = band; y < band + 30; ++y)
            for (int x = 0; x < page->GetWidth(); ++x)
                shown.pixels.push_back(
                    screen.pixels[static_cast<size_t>(page->ToRootY(y) * screen.width + page->ToRootX(x))]);
    EXPECT_TRUE(testsupport::MatchesGolden(shown, "vistrel_font_page"));
}

}  // namespace
