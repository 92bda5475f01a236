// The home page: bands from the sections answer, controls placed by their
// edges into the deepest window that contains them, and the waiting label
// with its rebuild once the gateway answers.
#include "vistrel/shell/homepage.h"

#include <gtest/gtest.h>

#include <string>

#include "control_records.h"
#include "gfx/icon.h"
#include "gfx/zvimage.h"
#include "sample_installation.h"
#include "shell_fixture.h"
#include "widgets/text/zvlabel.h"

namespace {

using testsupport::ControlList;
using testsupport::ControlRecord;
using testsupport::PayloadWriter;
using testsupport::SectionList;

ControlRecord Label(int x, int y, int width, int height, int type = 100) {
    ControlRecord r;
    r.type = type;
    r.text = "x";
    r.x = x;
    r.y = y;
    r.width = width;
    r.height = height;
    return r;
}

class HomePageTest : public vistreltest::ShellTest {
protected:
    void SetUp() override { Connect(); }
    // A home page of the size, built from whatever the gateway answers.
    CHomePage* Build(int width, int height) {
        auto* page = new CHomePage(window.get(), CZVRect(0, 0, width, height));
        window->AddChild(page);
        return page;
    }
    static CZVWindow* Child(CZVWindow* w, int index) {
        ZVPOSITION pos = w->GetChildren().FindIndex(index);
        return pos ? static_cast<CZVWindow*>(w->GetChildren().GetAt(pos)) : nullptr;
    }
    static bool IsWaiting(CHomePage* page) {
        auto* label = dynamic_cast<CZVLabel*>(Child(page, 0));
        return label && std::string(label->GetText().GetAnsi()) == "Looking For Gateway, Please Wait...";
    }
};

TEST_F(HomePageTest, BandsSpanTheirRowsInTheirColours) {
    gateway.Answer(ZVM_LAYOUT_GETSECTIONSQ,
                   SectionList({{0, 9999, {}}, {3000, 6399, {40, 70, 110}}, {6000, 5000, {1, 2, 3}}}));
    gateway.Answer(ZVM_LAYOUT_GETCONTROLSQ, ControlList({}));
    CHomePage* page = Build(400, 600);
    ASSERT_EQ(page->GetChildren().GetCount(), 3);
    CZVWindow* whole = Child(page, 0);
    EXPECT_EQ(whole->GetY(), 0);
    EXPECT_EQ(whole->GetBottom(), 599);  // 9999 x 600 / 10000
    EXPECT_EQ(whole->GetWidth(), 396);
    EXPECT_EQ(whole->GetFaceColor(), ScaleColor(0.75, page->GetFaceColor()));
    EXPECT_EQ(Child(page, 1)->GetY(), 180);
    EXPECT_EQ(Child(page, 1)->GetFaceColor(), MakeColor(40, 70, 110));
    EXPECT_LE(Child(page, 2)->GetHeight(), 0);  // top below bottom: nothing to draw
    EXPECT_FALSE(page->IsRebuildRequested());
    window->PaintAll();  // a band of no height paints nothing and breaks nothing
}

TEST_F(HomePageTest, ControlsMeetWithoutGapsAndNestInWhatContainsThem) {
    gateway.Answer(ZVM_LAYOUT_GETSECTIONSQ, SectionList({{0, 4999, {}}, {5000, 9999, {}}}));
    ControlRecord panel = Label(5000, 6000, 4000, 3000, 127);
    gateway.Answer(ZVM_LAYOUT_GETCONTROLSQ, ControlList({
                                                Label(0, 1000, 5000, 1000),            // top band, left half
                                                Label(5000, 1000, 4999, 1000),         // top band, right half
                                                Label(0, 4000, 2000, 2000),            // straddles both bands
                                                panel, Label(6000, 7000, 1000, 1000),  // inside the panel
                                                Label(0, 0, 1000, 1000, 191),          // no such type: skipped
                                                Label(100, 6000, 1000, 1000),          // built after the skipped one
                                            }));
    CHomePage* page = Build(797, 400);
    CZVWindow* top = Child(page, 0);
    CZVWindow* bottom = Child(page, 1);
    // The right half reaches past the band, which stops 4 pixels short of
    // the page's edge: it stays on the page.
    ASSERT_EQ(top->GetChildren().GetCount(), 1);
    CZVWindow* left = Child(top, 0);
    CZVWindow* right = Child(page, 2);
    EXPECT_EQ(left->GetX(), 0);
    EXPECT_EQ(left->GetRight(), 397);
    EXPECT_EQ(right->GetX(), 398);
    EXPECT_EQ(right->GetRight(), 795);
    EXPECT_EQ(left->GetY(), 40);  // relative to the band

    EXPECT_EQ(page->GetChildren().GetCount(), 4);  // two bands, the right half and the straddling label
    ASSERT_EQ(bottom->GetChildren().GetCount(), 2);
    CZVWindow* region = Child(bottom, 0);
    ASSERT_EQ(region->GetChildren().GetCount(), 1);
    EXPECT_EQ(Child(region, 0)->GetX(), 478 - 398);
    EXPECT_EQ(Child(region, 0)->GetY(), 280 - 240);
}

TEST_F(HomePageTest, TooManySectionsShowTheWaitingLabel) {
    PayloadWriter tooMany;
    tooMany.Int(501);
    gateway.Answer(ZVM_LAYOUT_GETSECTIONSQ, tooMany);
    gateway.Answer(ZVM_LAYOUT_GETCONTROLSQ, ControlList({Label(0, 0, 1000, 1000)}));
    CHomePage* page = Build(400, 300);
    ASSERT_EQ(page->GetChildren().GetCount(), 1);
    auto* label = dynamic_cast<CZVLabel*>(Child(page, 0));
    ASSERT_TRUE(IsWaiting(page));
    EXPECT_EQ(label->GetFontSize(), 22);
    EXPECT_EQ(label->GetTextColor(), 0xFFFFFFu);
    EXPECT_FALSE(label->HasFlag(kLabelFramed));
    EXPECT_EQ(label->GetWidth(), 400);
    EXPECT_TRUE(page->IsRebuildRequested());
    EXPECT_TRUE(window->IsMenuReloadPending());
}

TEST_F(HomePageTest, BothQuestionsGoOutBeforeEitherWait) {
    testsupport::ServeSampleInstallation(gateway);
    Build(400, 300);
    std::vector<uint16_t> asked;
    for (const testsupport::Frame& frame : gateway.Requests())
        if (frame.id == ZVM_LAYOUT_GETSECTIONSQ || frame.id == ZVM_LAYOUT_GETCONTROLSQ) asked.push_back(frame.id);
    EXPECT_EQ(asked, (std::vector<uint16_t>{ZVM_LAYOUT_GETSECTIONSQ, ZVM_LAYOUT_GETCONTROLSQ}));
}

TEST_F(HomePageTest, TheWaitingPageIsRebuiltOnceTheGatewayAnswers) {
    window->StartPages();
    auto* waiting = dynamic_cast<CHomePage*>(window->GetCurrentPage());
    ASSERT_NE(waiting, nullptr);
    EXPECT_TRUE(IsWaiting(waiting));
    testsupport::ServeSampleInstallation(gateway);
    for (int i = 0; i < 60 && window->GetCurrentPage() == waiting; ++i) {
        clock.Advance(100);
        window->OnIdle(0);
    }
    auto* built = dynamic_cast<CHomePage*>(window->GetCurrentPage());
    ASSERT_NE(built, nullptr);
    EXPECT_NE(built, waiting);
    EXPECT_FALSE(IsWaiting(built));
    EXPECT_FALSE(built->IsRebuildRequested());
    EXPECT_EQ(built->GetChildren().GetCount(), 3);  // the bands, every control inside one
}

}  // namespace

namespace {

// The pictures of the sample house, as the tablet fetches them: the menu icons as shapes, a
// name the house does not have refused at once, and the home page's garden photo. Without a
// style object the toolkit reads answers in the themed form.
TEST_F(HomePageTest, TheSampleHouseServesItsIconsAndTheGardenPhoto) {
    testsupport::SampleInstallation themed;
    themed.style = samplegateway::Style::kThemed;
    testsupport::ServeSampleInstallation(gateway, themed);
    CIconCache* cache = CIconCache::Instance();
    ASSERT_NE(cache, nullptr);
    for (const char* name : {"I_LOGO", "I_POOL", "MAIN\\LIGHT_OFF", "I_HVACOFF", "I_GHVACSTAT", "I_GHVACSCHED",
                             "MAIN\\PHOTOS", "MAIN\\INTERNET"}) {
        CZVIcon* icon = cache->GetIcon(CZVString(name));
        EXPECT_EQ(icon->WaitLoaded(), 1) << name;
        EXPECT_GE(icon->GetShapeCount(), 3) << name;
    }
    CZVIcon* unknown = cache->GetIcon(CZVString("I_NOSUCH"));
    EXPECT_EQ(unknown->WaitLoaded(), 0);
    EXPECT_EQ(unknown->GetState(), CZVIcon::kFailed);

    CZVImage* garden = cache->GetImage(CZVString("garden.png"), 0, 0, 6, 0, 0);
    CDibDC* photo = garden->GetDib(nullptr, -1, -1);
    ASSERT_NE(photo, nullptr);
    EXPECT_EQ(garden->GetWidth(), 128);
    EXPECT_EQ(garden->GetHeight(), 160);
    CZVImage* missing = cache->GetImage(CZVString("lawn.png"), 0, 0, 6, 0, 0);
    EXPECT_EQ(missing->GetDib(nullptr, -1, -1), nullptr);
    EXPECT_FALSE(missing->IsPending());
    cache->ReleaseImage(garden);
    cache->ReleaseImage(missing);
}

// The speaker selector's four positions share one extent, so the speaker stands still from one
// position to the next.
TEST_F(HomePageTest, TheSpeakerIconsShareOneExtent) {
    testsupport::SampleInstallation themed;
    themed.style = samplegateway::Style::kThemed;
    testsupport::ServeSampleInstallation(gateway, themed);
    CIconCache* cache = CIconCache::Instance();
    ASSERT_NE(cache, nullptr);
    CZVIcon* off = cache->GetIcon(CZVString("speaker_0"));
    ASSERT_EQ(off->WaitLoaded(), 1);
    for (const char* name : {"speaker_1", "speaker_2", "speaker_3"}) {
        CZVIcon* icon = cache->GetIcon(CZVString(name));
        ASSERT_EQ(icon->WaitLoaded(), 1) << name;
        EXPECT_EQ(icon->GetBounds(), off->GetBounds()) << name;
    }
}

}  // namespace
