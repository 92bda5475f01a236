// The whole tablet against the sample house with its climate home page: the
// hosted view names its zone, asks for the extended zone's history and shows
// the graph over the page's width.
#include <gtest/gtest.h>

#include <vector>

#include "climate_fixture.h"
#include "core/messages/climatemessages.h"
#include "support/golden.h"
#include "vistrel/home/climate/hvachistory.h"

namespace {

testsupport::SampleInstallation ClimateHome() {
    testsupport::SampleInstallation sample;
    sample.climateHome = true;
    return sample;
}

void FindHostedViews(CZVWindow* window, std::vector<CHostedViewWnd*>* found) {
    if (auto* hosted = dynamic_cast<CHostedViewWnd*>(window)) found->push_back(hosted);
    ForEachChild(window->GetChildren(), [found](CZVWindow* child) { FindHostedViews(child, found); });
}

class ClimateHomeRun : public climatetest::ClimateRun {
protected:
    ClimateHomeRun() : ClimateRun(ClimateHome()) {
        // The sample gateway's clock, so that the graph's days are fixed.
        SetClockToTheGateways();
    }
};

TEST_F(ClimateHomeRun, TheHomePageShowsTheGuestSuitesHistory) {
    bool done = false;
    testsupport::Image565 shown;
    std::vector<CHostedViewWnd*> hosted;
    vistreltest::TestHost host(environment.Folder(), 1024, 768, [&](CMainWnd& window, CZVServer& server, int pass) {
        hosted.clear();
        if (window.GetCurrentPage()) FindHostedViews(window.GetCurrentPage(), &hosted);
        if (hosted.size() == 1 && !hosted[0]->GetGraph()->IsLoading() &&
            vistreltest::NothingOnItsWay(gateway, server)) {
            EXPECT_EQ(std::string(hosted[0]->GetZone().GetName().GetAnsi()), "Guest Suite");
            shown = Picture(window, host);
            done = true;
        }
        return done || pass == 600;
    });
    EXPECT_EQ(TabletMain(Arguments(), host), 0);
    ASSERT_TRUE(done);
    EXPECT_TRUE(GatewaySaw(ZVM_HVAC_GETHISTORYEXTQ));
    EXPECT_TRUE(testsupport::MatchesGolden(shown, "vistrel_climate_home"));
}

}  // namespace
