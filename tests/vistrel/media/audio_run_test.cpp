// The whole tablet against the sample house: "Audio" opens on the Living
// Room, with its music source and its rocker column at the gateway's level;
// the column's "Settings" button opens the zone's settings over the page,
// and choosing the Showcase source closes them and shows its layout, whose
// "Pictures" tab shows every picture control with its picture.
#include <gtest/gtest.h>

#include "core/messages/mediamessages.h"
#include "samplegateway/volumes.h"
#include "support/golden.h"
#include "vistrel/media/audio/audiosettingswnd.h"
#include "vistrel/media/audio/audiozonespage.h"
#include "vistrel/media/audio/sourceselwnd.h"
#include "vistrel/media/audio/volumewnd.h"
#include "vistrel/media/mediapages.h"
#include "vistrel/media/pictures/picview.h"
#include "vistrel/shell/customlayoutpage.h"
#include "vistrel/shell_fixture.h"
#include "widgets/regions/rregionradio.h"
#include "widgets/tabs/trregion.h"
#include "widgets/window/overlay.h"

namespace {

constexpr int kShowcaseOption = 5;  // after "Off" and four sources

class AudioRun : public vistreltest::SampleHouseRun {
protected:
    AudioRun() { RegisterMediaPages(); }
    // Whether the layout shows picture controls and each has its picture.
    static bool PicturesIn(CCustomLayoutPage* layout) {
        int views = 0;
        bool all = true;
        const auto visit = [&](auto&& self, CZVWindow* w) -> void {
            if (auto* view = dynamic_cast<CPicView*>(w)) {
                ++views;
                all = all && view->GetPicture();
            }
            ForEachChild(w->GetChildren(), [&](CZVWindow* child) { self(self, child); });
        };
        if (layout && layout->GetContent()) visit(visit, layout->GetContent());
        return views > 0 && all;
    }
};

TEST_F(AudioRun, TheLivingRoomWithItsColumnSettingsAndShowcase) {
    enum Step {
        kWaitForHome,
        kWaitForZone,
        kPressSettings,
        kWaitForSettings,
        kChooseShowcase,
        kWaitForShowcase,
        kChoosePictures,
        kWaitForPictures,
        kDone
    } step = kWaitForHome;
    testsupport::Image565 zone, settings, showcase, pictures;
    CAudioZonesPage* page = nullptr;
    CAudioSettingsWnd* column = nullptr;
    bool popupClosed = false;
    vistreltest::TestHost host(environment.Folder(), 1024, 768, [&](CMainWnd& window, CZVServer& server, int pass) {
        const bool answered = AnsweredAndStill(window, server, "Audio");
        switch (step) {
        case kWaitForHome:
            if (TouchEntryWhenAnswered(window, server, "Audio")) step = kWaitForZone;
            break;
        case kWaitForZone:
            page = dynamic_cast<CAudioZonesPage*>(window.GetCurrentPage());
            column = page ? page->GetSettingsColumn() : nullptr;
            if (!column || !column->GetVolume() || !page->GetSourcePage() || !answered ||
                column->GetVolume()->GetValue() != samplegateway::kStartZoneLevel)
                break;
            zone = Picture(window, host);
            step = kPressSettings;
            break;
        case kPressSettings:
            if (!column->GetSettingsButton()) return true;
            Touch(column->GetSettingsButton());
            step = kWaitForSettings;
            break;
        case kWaitForSettings:
            // The overlay darkens the page in steps as time passes.
            clock.Advance(50);
            if (!window.GetOverlay() || window.GetOverlay()->GetFrame() < COverlay::kDimFrames - 1 || !answered) break;
            settings = Picture(window, host);
            step = kChooseShowcase;
            break;
        case kChooseShowcase: {
            auto* selector = dynamic_cast<CSourceRadioWnd*>(page->GetSelector());
            if (!selector) return true;
            selector->GetRegion()->SetSelection(kShowcaseOption, 0);
            selector->OnCommand(CSourceSelWnd::kOptionChosen);
            step = kWaitForShowcase;
            break;
        }
        case kWaitForShowcase:
            if (!dynamic_cast<CCustomLayoutPage*>(page->GetSourcePage()) || window.GetOverlay() || !answered) break;
            showcase = Picture(window, host);
            popupClosed = !column->IsPopupShown();
            step = kChoosePictures;
            break;
        case kChoosePictures: {
            auto* layout = dynamic_cast<CCustomLayoutPage*>(page->GetSourcePage());
            CZVButton* tab =
                layout && layout->GetTabRegion() ? TabNamed(layout->GetTabRegion()->GetTabs(), "Pictures") : nullptr;
            if (!tab) return true;
            Touch(tab);
            step = kWaitForPictures;
            break;
        }
        case kWaitForPictures:
            if (!PicturesIn(dynamic_cast<CCustomLayoutPage*>(page->GetSourcePage())) || !answered) break;
            pictures = Picture(window, host);
            step = kDone;
            break;
        case kDone: break;
        }
        return step == kDone || pass == 600;
    });
    EXPECT_EQ(TabletMain(Arguments(), host), 0);
    ASSERT_EQ(step, kDone);
    EXPECT_TRUE(popupClosed);
    EXPECT_TRUE(GatewaySaw(ZVM_AUDIO_GETSETTINGSQ));
    EXPECT_TRUE(testsupport::MatchesGolden(zone, "vistrel_audio_living_room"));
    EXPECT_TRUE(testsupport::MatchesGolden(settings, "vistrel_audio_settings"));
    EXPECT_TRUE(testsupport::MatchesGolden(showcase, "vistrel_audio_showcase"));
    for (uint16_t id : {ZVM_PICTURES_GETPICTUREQ, ZVM_PICTURES_GETALBUMPICTUREQ, ZVM_PICTURES_SUBSCRIBEFRAMEQ,
                        ZVM_WEATHER_GETIMAGEQ, ZVM_VIDEO_GETSNAPSHOTQ})
        EXPECT_TRUE(GatewaySaw(id)) << id;
    EXPECT_TRUE(testsupport::MatchesGolden(pictures, "vistrel_audio_showcase_pictures"));
}

}  // namespace
