// The whole tablet against the sample house: the Patio's internet radio on Now Playing; then the
// Living Room's music server, its "Internet Radio" tab, a genre, a station and "Listen", after
// which Now Playing shows that station.
#include <gtest/gtest.h>

#include "core/messages/mediamessages.h"
#include "samplegateway/radio.h"
#include "support/golden.h"
#include "vistrel/media/audio/audiozonespage.h"
#include "vistrel/media/mediapages.h"
#include "vistrel/media/music/musiclists.h"
#include "vistrel/media/music/musicsourcepage.h"
#include "vistrel/media/music/nowplayingpanel.h"
#include "vistrel/media/radio/radiobrowserpage.h"
#include "vistrel/media/radio/radionowplaying.h"
#include "vistrel/media/radio/radiostationlistpage.h"
#include "vistrel/shell_fixture.h"
#include "widgets/tabs/tabbutton.h"
#include "widgets/tabs/trregion.h"
#include "widgets/text/zvlabel.h"

namespace {

using Page = CRadioStationListPage;

class RadioRun : public vistreltest::SampleHouseRun {
protected:
    // The radio page switches the program's labels to the smooth font for good: the run starts
    // and ends without.
    RadioRun() {
        RegisterMediaPages();
        g_bSmoothLabels = 0;
    }
    ~RadioRun() override { g_bSmoothLabels = 0; }
};

std::string Text(CZVWindow* w) { return w->GetText().GetAnsi(); }

TEST_F(RadioRun, ThePatiosRadioAndListeningFromTheDirectory) {
    enum Step {
        kWaitForHome,
        kOpenPatio,
        kPatioPlaying,
        kOpenLivingRoom,
        kOpenDirectory,
        kChooseGenre,
        kChooseStation,
        kListen,
        kOpenNowPlaying,
        kListening,
        kDone
    } step = kWaitForHome;
    testsupport::Image565 patio, directory, listening;
    CAudioZonesPage* zones = nullptr;
    CMusicSourcePage* music = nullptr;
    Page* stations = nullptr;
    vistreltest::TestHost host(environment.Folder(), 800, 600, [&](CMainWnd& window, CZVServer& link, int pass) {
        CZVButton* entry = MenuEntry(window, "Audio");
        const bool answered = vistreltest::AnswersIn(gateway, link) && entry && entry->GetHighlightCountdown() < 0;
        zones = dynamic_cast<CAudioZonesPage*>(window.GetCurrentPage());
        music = zones ? dynamic_cast<CMusicSourcePage*>(zones->GetSourcePage()) : nullptr;
        auto* radio = music ? dynamic_cast<CRadioNowPlayingPage*>(music->GetNowPlaying()->GetChild()) : nullptr;
        auto* browser = music ? dynamic_cast<CRadioBrowserPage*>(music->GetCurrentPage()) : nullptr;
        stations = browser ? browser->GetStationPage() : nullptr;
        const auto zoneTab = [&](const char* name) { return TabNamed(zones->GetZoneTabs(), name); };
        switch (step) {
        case kWaitForHome:
            if (!answered) break;
            Touch(entry);
            step = kOpenPatio;
            break;
        case kOpenPatio:
            if (!answered || !zones || !zones->GetZoneTabs() || !zoneTab("Patio")) break;
            Touch(zoneTab("Patio"));
            step = kPatioPlaying;
            break;
        case kPatioPlaying:
            if (!answered || !radio || !radio->IsShown() || Text(radio->GetStation()) != samplegateway::kRadioStation)
                break;
            patio = Picture(window, host);
            step = kOpenLivingRoom;
            break;
        case kOpenLivingRoom:
            Touch(zoneTab("Living Room"));
            step = kOpenDirectory;
            break;
        case kOpenDirectory:
            if (!answered || !music || radio) break;
            Touch(TabNamed(music->GetTabRegion()->GetTabs(), "Internet Radio"));
            step = kChooseGenre;
            break;
        case kChooseGenre:
            if (!answered || !stations || stations->GetStationList()->GetSelectedIndex() != 0) break;
            stations->GetGenreList()->SelectIndex(2, 1);
            stations->OnCommand(Page::kGenreSelected);
            step = kChooseStation;
            break;
        case kChooseStation:
            if (!answered || stations->GetStationList()->GetCount() == 0) break;
            stations->GetStationList()->SelectIndex(1, 1);
            stations->OnCommand(Page::kStationSelected);
            step = kListen;
            break;
        case kListen:
            if (!answered) break;
            directory = Picture(window, host);
            stations->OnCommand(Page::kListen);
            step = kOpenNowPlaying;
            break;
        case kOpenNowPlaying:
            if (!answered || !music->GetNowPlaying()->IsRadioMode()) break;
            Touch(TabNamed(music->GetTabRegion()->GetTabs(), "Now Playing"));
            step = kListening;
            break;
        case kListening:
            if (!answered || !radio || !radio->IsShown() || Text(radio->GetStation()) != "Sunset Jazz FM") break;
            listening = Picture(window, host);
            step = kDone;
            break;
        case kDone: break;
        }
        return step == kDone || pass == 900;
    });
    EXPECT_EQ(TabletMain(Arguments(), host), 0);
    ASSERT_EQ(step, kDone);
    EXPECT_EQ(RequestsOf(ZVM_RADIO_GETFAVORITEQ), 2u);
    EXPECT_EQ(RequestsOf(ZVM_AUDIO_LIBRARYCOMMANDEX), 1u);
    EXPECT_TRUE(testsupport::MatchesGolden(patio, "vistrel_radio_patio"));
    EXPECT_TRUE(testsupport::MatchesGolden(directory, "vistrel_radio_directory"));
    EXPECT_TRUE(testsupport::MatchesGolden(listening, "vistrel_radio_listening"));
}

}  // namespace
