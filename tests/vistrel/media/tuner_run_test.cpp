// The whole tablet against the sample house: "Audio" opens on the Living
// Room; its FM Tuner takes a typed frequency, tunes up and adds the station
// to its favourites; its Satellite radio browses a genre and takes a typed
// channel; the Patio's Euro Tuner, Digital FM and Cable Radio each take a
// frequency or channel and a favourite.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/messages/mediamessages.h"
#include "samplegateway/tuners.h"
#include "support/golden.h"
#include "vistrel/media/audio/audiozonespage.h"
#include "vistrel/media/audio/sourceselwnd.h"
#include "vistrel/media/mediapages.h"
#include "vistrel/media/tuner/stationbrowse.h"
#include "vistrel/media/tuner/stationfavorites.h"
#include "vistrel/media/tuner/tunerband.h"
#include "vistrel/media/tuner/tunergenre.h"
#include "vistrel/media/tuner/tunerlist.h"
#include "vistrel/media/tuner/tunerpage.h"
#include "vistrel/shell_fixture.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/tabs/trregion.h"
#include "widgets/text/zvlabel.h"
#include "widgets/window/gateway.h"

namespace {

constexpr int kPatioTab = 4002;

class TunerRun : public vistreltest::SampleHouseRun {
protected:
    TunerRun() { RegisterMediaPages(); }
};

std::string TextOf(CZVWindow* w) { return w ? w->GetText().GetAnsi() : ""; }

// One step of the run: acts, and tells when it is done (false: try again on the next pass).
using Step = std::function<bool(CMainWnd& window, CAudioZonesPage* page, bool answered)>;

template <class Page>
Page* SourceOf(CAudioZonesPage* page) {
    return page ? dynamic_cast<Page*>(page->GetSourcePage()) : nullptr;
}

void Choose(CAudioZonesPage* page, int sourceId) {
    page->GetSelector()->SetSelection(sourceId, 0, 0);
    page->GetSelector()->OnCommand(CSourceSelWnd::kOptionChosen);
}

void Type(CZVWindow* page, const std::vector<int>& digits) {
    for (int digit : digits) page->OnCommand(kKeypadFirstKey + digit);
}

TEST_F(TunerRun, EachTunerTakesAFrequencyTunesAndAddsAFavourite) {
    std::vector<testsupport::Image565> pictures;
    std::vector<std::string> names;
    const auto shoot = [&](CMainWnd& window, vistreltest::TestHost& host, const char* name) {
        pictures.push_back(Picture(window, host));
        names.push_back(name);
    };
    size_t favoritesBefore = 0;
    vistreltest::TestHost* hostOf = nullptr;
    // A tuner page: chosen, shown with its answers, a typed frequency tuned, a favourite added.
    const auto tunerSteps = [&](int sourceId, std::vector<int> keys, int frequency, const char* name) {
        return std::vector<Step>{
            [=](CMainWnd&, CAudioZonesPage* page, bool) {
                Choose(page, sourceId);
                return true;
            },
            [=](CMainWnd&, CAudioZonesPage* page, bool answered) {
                CTunerPage* tuner = SourceOf<CTunerPage>(page);
                if (!tuner || !answered || tuner->GetBand() != kBandFM) return false;
                Type(tuner, keys);
                return true;
            },
            [=, &favoritesBefore](CMainWnd&, CAudioZonesPage* page, bool answered) {
                CTunerPage* tuner = SourceOf<CTunerPage>(page);
                if (!tuner || !answered || tuner->GetFrequency() != frequency) return false;
                favoritesBefore = static_cast<size_t>(tuner->GetFavorites()->GetList()->GetCount());
                Touch(tuner->GetAddButton());
                return true;
            },
            [=, &favoritesBefore, &shoot, &hostOf](CMainWnd& window, CAudioZonesPage* page, bool answered) {
                CTunerPage* tuner = SourceOf<CTunerPage>(page);
                if (!tuner || !answered ||
                    static_cast<size_t>(tuner->GetFavorites()->GetList()->GetCount()) != favoritesBefore + 1)
                    return false;
                shoot(window, *hostOf, name);
                return true;
            },
        };
    };
    std::vector<Step> steps;
    const auto append = [&](std::vector<Step> more) { steps.insert(steps.end(), more.begin(), more.end()); };
    append(std::vector<Step>{
        [&](CMainWnd& window, CAudioZonesPage*, bool answered) {
            CZVButton* entry = MenuEntry(window, "Audio");
            if (!answered || !entry || entry->GetHighlightCountdown() >= 0) return false;
            Touch(entry);
            return true;
        },
        [&](CMainWnd&, CAudioZonesPage* page, bool answered) { return page && page->GetSelector() && answered; }});
    append(tunerSteps(samplegateway::kLivingFmTuner, {1, 0, 1, 5}, 1015, "vistrel_tuner_fm"));
    // The Satellite radio: a station of the second genre, then a typed channel.
    append(std::vector<Step>{[&](CMainWnd&, CAudioZonesPage* page, bool) {
                                 Choose(page, samplegateway::kLivingSatellite);
                                 return true;
                             },
                             [&](CMainWnd&, CAudioZonesPage* page, bool answered) {
                                 auto* browse = SourceOf<CStationBrowsePage>(page);
                                 if (!browse || !answered) return false;
                                 CTunerGenrePage* genres = browse->GetGenrePage();
                                 genres->GetGenreList()->SelectIndex(1, 0);
                                 genres->OnCommand(CTunerGenrePage::kGenreSelectedId);
                                 genres->GetStationList()->SelectIndex(0, 0);
                                 genres->OnCommand(CTunerGenrePage::kTuneStationId);
                                 return true;
                             },
                             [&](CMainWnd& window, CAudioZonesPage* page, bool answered) {
                                 auto* browse = SourceOf<CStationBrowsePage>(page);
                                 if (!browse || !answered || TextOf(browse->GetChannelLine()) != "Channel 201")
                                     return false;
                                 shoot(window, *hostOf, "vistrel_station_browse");
                                 Touch(TabNamed(browse->GetTabPanel()->GetTabs(), "Direct Tuning"));
                                 Type(browse, {1, 0, 5});
                                 return true;
                             },
                             [&](CMainWnd& window, CAudioZonesPage* page, bool answered) {
                                 auto* browse = SourceOf<CStationBrowsePage>(page);
                                 if (!browse || !answered || TextOf(browse->GetChannelLine()) != "Channel 105")
                                     return false;
                                 shoot(window, *hostOf, "vistrel_station_direct");
                                 page->OnCommand(kPatioTab);
                                 return true;
                             },
                             [&](CMainWnd&, CAudioZonesPage* page, bool answered) {
                                 return answered && page->GetSelector() && GetCurrentAudioZone() == 2;
                             }});
    append(tunerSteps(samplegateway::kPatioEuroTuner, {1, 0, 1, 5, 5}, 10155, "vistrel_tuner_euro"));
    append(tunerSteps(samplegateway::kPatioDigitalFm, {9, 1, 5, 1}, 91510, "vistrel_tuner_digital"));
    // The Cable Radio's compact favourites: a typed channel, then the first favourite tuned by its row.
    append(std::vector<Step>{[&](CMainWnd&, CAudioZonesPage* page, bool) {
                                 Choose(page, samplegateway::kPatioCableRadio);
                                 return true;
                             },
                             [&](CMainWnd&, CAudioZonesPage* page, bool answered) {
                                 auto* browse = SourceOf<CStationBrowsePage>(page);
                                 if (!browse || !answered || browse->GetFavorites()->GetList()->GetCount() == 0)
                                     return false;
                                 browse->GetFavorites()->GetList()->SelectIndex(0, 0);
                                 browse->GetFavorites()->OnCommand(CStationFavoritesPage::kTuneId);
                                 return true;
                             },
                             [&](CMainWnd& window, CAudioZonesPage* page, bool answered) {
                                 auto* browse = SourceOf<CStationBrowsePage>(page);
                                 if (!browse || !answered || TextOf(browse->GetChannelLine()) != "Channel 201")
                                     return false;
                                 shoot(window, *hostOf, "vistrel_station_compact");
                                 return true;
                             }});
    size_t next = 0;
    vistreltest::TestHost host(environment.Folder(), 1024, 768, [&](CMainWnd& window, CZVServer& server, int pass) {
        const bool answered = vistreltest::AnswersIn(gateway, server);
        auto* page = dynamic_cast<CAudioZonesPage*>(window.GetCurrentPage());
        if (next < steps.size() && steps[next](window, page, answered)) ++next;
        return next == steps.size() || pass == 3000;
    });
    hostOf = &host;
    EXPECT_EQ(TabletMain(Arguments(), host), 0);
    ASSERT_EQ(next, steps.size());
    EXPECT_TRUE(GatewaySaw(ZVM_TUNER_ADDFAVORITEQ));
    EXPECT_TRUE(GatewaySaw(ZVM_TUNER_TUNESTATIONQ));
    EXPECT_TRUE(GatewaySaw(ZVM_TUNER_TUNEFAVORITEQ));
    for (size_t i = 0; i < pictures.size(); ++i) EXPECT_TRUE(testsupport::MatchesGolden(pictures[i], names[i]));
}

}  // namespace
