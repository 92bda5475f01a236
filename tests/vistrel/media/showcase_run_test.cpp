// The whole tablet against the sample house: the Living Room's Showcase source opens its TV tab
// (a channel typed and a favourite pressed), its Intercom tab (the Kitchen talked to, and the
// microphone heard back through the sound system), its Calendar and Weather tabs, its Titles tab
// (a thumbnail's Play band touched); an incoming call is answered by an unseen window until it
// ends.
#include <gtest/gtest.h>

#include <functional>

#include "core/messages/mediamessages.h"
#include "samplegateway/titles.h"
#include "support/golden.h"
#include "support/null_wave.h"
#include "vistrel/media/audio/audiozonespage.h"
#include "vistrel/media/audio/sourceselwnd.h"
#include "vistrel/media/calendar/monthcalendar.h"
#include "vistrel/media/intercom/intercomlist.h"
#include "vistrel/media/intercom/talklisten.h"
#include "vistrel/media/mediapages.h"
#include "vistrel/media/pictures/picwnd.h"
#include "vistrel/media/titles/titleslist.h"
#include "vistrel/media/titles/titleswnd.h"
#include "vistrel/media/tv/tvchannel.h"
#include "vistrel/media/tv/tvfavorites.h"
#include "vistrel/media/weather/forecastview.h"
#include "vistrel/shell/customlayoutpage.h"
#include "vistrel/shell_fixture.h"
#include "widgets/regions/rregionradio.h"
#include "widgets/text/zvlabel.h"

namespace {

constexpr int kShowcaseOption = 5;  // after "Off" and four sources
constexpr int16_t kSignal = 8000;

class ShowcaseRun : public vistreltest::SampleHouseRun {
protected:
    ShowcaseRun() {
        RegisterMediaPages();
        SetClockToTheGateways();
        m_backend.SetInputSignal([](uint64_t i) { return static_cast<int16_t>(i % 2 ? kSignal : -kSignal); });
    }

    // What a tab's steps are given each pass once the tab shows: true ends the run.
    using TabSteps = std::function<bool(CMainWnd& window, CZVServer& server, CZVWindow* content)>;

    // Opens the Audio page, chooses the Showcase source and touches its tab, then runs the steps.
    bool RunTab(const std::string& caption, const TabSteps& steps) {
        enum Step { kWaitForHome, kWaitForZone, kWaitForShowcase, kOnTab } step = kWaitForHome;
        bool done = false;
        vistreltest::TestHost host(environment.Folder(), 1024, 768, [&](CMainWnd& window, CZVServer& server, int pass) {
            m_host = &host;
            const bool answered = AnsweredAndStill(window, server, "Audio");
            auto* page = dynamic_cast<CAudioZonesPage*>(window.GetCurrentPage());
            switch (step) {
            case kWaitForHome:
                if (TouchEntryWhenAnswered(window, server, "Audio")) step = kWaitForZone;
                break;
            case kWaitForZone: {
                auto* selector = page ? dynamic_cast<CSourceRadioWnd*>(page->GetSelector()) : nullptr;
                if (!selector || !page->GetSourcePage() || !answered) break;
                selector->GetRegion()->SetSelection(kShowcaseOption, 0);
                selector->OnCommand(CSourceSelWnd::kOptionChosen);
                step = kWaitForShowcase;
                break;
            }
            case kWaitForShowcase: {
                auto* showcase = dynamic_cast<CCustomLayoutPage*>(page ? page->GetSourcePage() : nullptr);
                if (!showcase || window.GetOverlay() || !answered) break;
                CZVButton* tab = TabNamed(showcase->GetTabRegion()->GetTabs(), caption);
                if (!tab) return true;
                Touch(tab);
                m_showcase = showcase;
                step = kOnTab;
                break;
            }
            case kOnTab: done = steps(window, server, m_showcase->GetContent()); break;
            }
            return done || pass == 800;
        });
        EXPECT_EQ(TabletMain(Arguments(), host), 0);
        return done;
    }

    template <class T>
    static T* Find(CZVWindow* parent) {
        if (!parent) return nullptr;
        for (ZVPOSITION pos = parent->GetChildren().GetHeadPosition(); pos;) {
            auto* child = static_cast<CZVWindow*>(parent->GetChildren().GetNext(pos));
            if (auto* found = dynamic_cast<T*>(child)) return found;
            if (T* deeper = Find<T>(child)) return deeper;
        }
        return nullptr;
    }
    testsupport::Image565 Shown(CMainWnd& window) { return Picture(window, *m_host); }

    testsupport::NullWaveBackend m_backend;
    vistreltest::TestHost* m_host = nullptr;
    CCustomLayoutPage* m_showcase = nullptr;
};

TEST_F(ShowcaseRun, TheTvTabTunesATypedChannelAndAFavourite) {
    testsupport::Image565 shown;
    int stage = 0;
    ASSERT_TRUE(RunTab("TV", [&](CMainWnd& window, CZVServer& server, CZVWindow* content) {
        auto* channel = Find<CTvChannelCtl>(content);
        auto* favorites = Find<CTvFavoritesCtl>(content);
        if (!channel || !favorites || !vistreltest::NothingOnItsWay(gateway, server)) return false;
        const std::string display = channel->GetDisplay()->GetText().GetAnsi();
        switch (stage) {
        case 0:
            if (display != "Channel   7" || favorites->GetButtons().size() != 3) return false;
            shown = Shown(window);
            for (int digit : {1, 2, 3}) channel->OnCommand(CTvChannelCtl::kFirstDigit + digit);
            stage = 1;
            return false;
        case 1:
            // The next poll shows the channel the gateway tuned to.
            clock.Advance(500);
            if (display != "Channel 123" || !GatewaySaw(ZVM_TV_CHANNELCOMMAND)) return false;
            Touch(favorites->GetButtons()[1]);
            stage = 2;
            return false;
        default: clock.Advance(500); return display == "Channel   9";
        }
    }));
    EXPECT_TRUE(GatewaySaw(ZVM_TV_FAVORITESCOMMAND));
    EXPECT_TRUE(testsupport::MatchesGolden(shown, "vistrel_showcase_tv"));
}

TEST_F(ShowcaseRun, TheIntercomTabTalksAndTheEchoIsHeard) {
    testsupport::Image565 shown;
    int stage = 0;
    ASSERT_TRUE(RunTab("Intercom", [&](CMainWnd& window, CZVServer& server, CZVWindow* content) {
        auto* list = Find<CIntercomButton>(content);
        if (!list || list->GetRowCount() != 4) return false;
        switch (stage) {
        case 0:
            if (!vistreltest::NothingOnItsWay(gateway, server)) return false;
            shown = Shown(window);
            list->SelectIndex(1, 1);
            list->OnCommand(CTalkListenWnd::kTalkPressed);
            stage = 1;
            return false;
        case 1:
            // Half a second of talk.
            clock.Advance(100);
            if (RequestsOf(ZVM_INTERCOM_AUDIODATA) < 10) return false;
            list->OnCommand(CTalkListenWnd::kTalkReleased);
            stage = 2;
            return false;
        default:
            clock.Advance(100);
            RunPacer();
            return !m_backend.PlayedSamples().empty();
        }
    }));
    EXPECT_EQ(RequestsOf(ZVM_INTERCOM_STOPTALK), 1u);
    // What was said comes back: the samples played are the signal's through mu-law and the gain.
    const std::vector<int16_t> played = m_backend.PlayedSamples();
    ASSERT_FALSE(played.empty());
    EXPECT_GT(*std::max_element(played.begin(), played.end()), kSignal / 2);
    EXPECT_TRUE(testsupport::MatchesGolden(shown, "vistrel_showcase_intercom"));
}

TEST_F(ShowcaseRun, TheCalendarAndWeatherTabsFillTheirControls) {
    testsupport::Image565 month, weather;
    ASSERT_TRUE(RunTab("Calendar", [&](CMainWnd& window, CZVServer& server, CZVWindow* content) {
        auto* calendar = Find<CMonthCalendarCtl>(content);
        if (!calendar || !calendar->GetMarkedDays() || !vistreltest::NothingOnItsWay(gateway, server)) return false;
        month = Shown(window);
        return true;
    }));
    ASSERT_TRUE(RunTab("Weather", [&](CMainWnd& window, CZVServer& server, CZVWindow* content) {
        auto* forecast = Find<CForecastView>(content);
        if (!forecast || forecast->GetChildren().GetCount() == 0 || !vistreltest::NothingOnItsWay(gateway, server))
            return false;
        bool icons = true;
        ForEachChild(forecast->GetChildren(),
                     [&](CZVWindow* tile) { icons = icons && static_cast<CForecastDayView*>(tile)->GetIcon(); });
        if (!icons) return false;
        weather = Shown(window);
        return true;
    }));
    EXPECT_TRUE(testsupport::MatchesGolden(month, "vistrel_showcase_calendar"));
    EXPECT_TRUE(testsupport::MatchesGolden(weather, "vistrel_showcase_weather"));
}

TEST_F(ShowcaseRun, TheTitlesTabPlaysAThumbnailsTitleThroughItsPlayBand) {
    testsupport::Image565 shown;
    int stage = 0;
    int32_t played = 0;
    ASSERT_TRUE(RunTab("Titles", [&](CMainWnd& window, CZVServer& server, CZVWindow* content) {
        auto* list = Find<CTitlesList>(content);
        auto* grid = Find<CPicWnd>(content);
        CPictureFolder* folder = grid ? grid->GetFolder() : nullptr;
        if (!list || !folder || list->GetCount() == 0 || !vistreltest::NothingOnItsWay(gateway, server)) return false;
        switch (stage) {
        case 0:
            for (int i = 0; i < folder->GetPictureCount(); ++i)
                if (!folder->GetPicture(i)->GetThumbnail()) return false;
            shown = Shown(window);
            grid->OnCommand(CPicWnd::kPressCommand + 4);
            grid->OnCommand(CPicWnd::kReleaseCommand + 4);
            stage = 1;
            return false;
        case 1: {
            clock.Advance(50);
            CRowExpander* expander = grid->GetExpander(4 / grid->GetColumns());
            if (grid->GetSelection() != 4 || !expander || expander->GetHeight() != CRowExpander::kFullHeight)
                return false;
            played = grid->GetSelectedItem()->GetIndex();
            CZVRect cell;
            grid->GetItemRectAt(&cell, 4);
            const int x = grid->ToRootX(cell.x + cell.w / 2);
            const int y = grid->ToRootY(cell.y + cell.h + CRowExpander::kFullHeight / 2);
            grid->OnLButtonDown(x, y, 0);
            grid->OnLButtonUp(x, y, 0);
            stage = 2;
            return false;
        }
        default:
            // The changer's state, pushed to both, marks the title played.
            return list->GetCurrentTitle() == played && GatewaySaw(ZVM_MEDIA_TITLESCOMMAND);
        }
    }));
    EXPECT_EQ(played, samplegateway::kFirstTitleId + 4);
    EXPECT_TRUE(testsupport::MatchesGolden(shown, "vistrel_showcase_titles"));
}

// The titles window a thumbnail grid lies in, or null.
CTitlesWnd* TitlesOf(CZVWindow* grid) {
    for (CZVWindow* w = grid; w; w = w->GetParent())
        if (auto* titles = dynamic_cast<CTitlesWnd*>(w)) return titles;
    return nullptr;
}

TEST_F(ShowcaseRun, ATitlePlayedFromTheSecondDiscKeepsItsTab) {
    constexpr int kSecondDisc = 1;
    constexpr int kChosen = 4;
    // The ids run on across the discs: the first has eight titles.
    constexpr int32_t kSecondDiscFirstTitle = samplegateway::kFirstTitleId + 8;
    int stage = 0, group = -1, tab = -1;
    EXPECT_TRUE(RunTab("Titles", [&](CMainWnd&, CZVServer& server, CZVWindow* content) {
        auto* grid = Find<CPicWnd>(content);
        CTitlesWnd* titles = TitlesOf(grid);
        CPictureFolder* folder = grid ? grid->GetFolder() : nullptr;
        if (!folder || !titles || folder->GetPictureCount() == 0 || !vistreltest::NothingOnItsWay(gateway, server))
            return false;
        switch (stage) {
        case 0:
            Touch(TabNamed(titles->GetTabs(), "Concerts"));
            stage = 1;
            return false;
        case 1:
            if (titles->GetGroup() != kSecondDisc || folder->GetPicture(0)->GetIndex() != kSecondDiscFirstTitle)
                return false;
            grid->OnCommand(CPicWnd::kPressCommand + kChosen);
            grid->OnCommand(CPicWnd::kReleaseCommand + kChosen);
            stage = 2;
            return false;
        case 2:
            if (grid->GetSelection() != kChosen) return false;
            titles->OnCommand(CTitlesWnd::kPlayCommand);
            stage = 3;
            return false;
        default:
            // The changer's pushed state marks the title played, on the tab it was played from.
            if (titles->GetCurrentTitle() != kSecondDiscFirstTitle + kChosen) return false;
            group = titles->GetGroup();
            tab = titles->GetTabs()->GetSelectedIndex();
            return true;
        }
    }));
    EXPECT_EQ(group, kSecondDisc);
    EXPECT_EQ(tab, kSecondDisc);
}

TEST_F(ShowcaseRun, AnIncomingCallMakesAndRemovesTheAnsweringWindow) {
    enum Step { kWaitForHome, kWaitForCall, kWaitForEnd, kDone } step = kWaitForHome;
    vistreltest::TestHost host(environment.Folder(), 800, 480, [&](CMainWnd& window, CZVServer& server, int pass) {
        switch (step) {
        case kWaitForHome:
            if (!window.IsHomePageShown() || !vistreltest::NothingOnItsWay(gateway, server)) break;
            gateway.Push(ZVM_INTERCOM_INCOMINGCALL, samplegateway::PayloadWriter().Int(5));
            step = kWaitForCall;
            break;
        case kWaitForCall:
            if (!window.GetIntercomCall() || !GatewaySaw(ZVM_INTERCOM_STARTTALK)) break;
            gateway.Push(ZVM_INTERCOM_ENDCALL, samplegateway::PayloadWriter().Int(5));
            step = kWaitForEnd;
            break;
        case kWaitForEnd:
            if (window.GetIntercomCall() || !GatewaySaw(ZVM_INTERCOM_STOPTALK)) break;
            step = kDone;
            break;
        case kDone: break;
        }
        return step == kDone || pass == 600;
    });
    EXPECT_EQ(TabletMain(Arguments(), host), 0);
    EXPECT_EQ(step, kDone);
}

}  // namespace
