// The whole tablet against the sample installation with its pool equipment:
// Pool & Spa, then Equipment, shows the system status; each equipment tab
// opens, and the chlorinator's "Start" after choosing 24 hours reaches the
// gateway.
#include <gtest/gtest.h>

#include "pool_fixture.h"
#include "samplegateway/wire.h"
#include "support/golden.h"
#include "vistrel/home/pool/poolchlorinator.h"
#include "vistrel/home/pool/poolequipment.h"
#include "vistrel/home/pool/poolpage.h"
#include "vistrel/home/pool/poolpump.h"
#include "widgets/tabs/tabbutton.h"
#include "widgets/tabs/trregion.h"
#include "widgets/text/zvlabel.h"

namespace {

class PoolEquipmentRun : public vistreltest::SampleHouseRun {
protected:
    PoolEquipmentRun() { RegisterHomePages(); }

    // The ints of every request of that id the gateway received.
    std::vector<std::vector<int32_t>> RequestInts(uint16_t id) const {
        std::vector<std::vector<int32_t>> found;
        for (const testsupport::Frame& frame : gateway.RequestsOf(id)) found.push_back(testsupport::IntsOf(frame));
        return found;
    }
};

TEST_F(PoolEquipmentRun, EveryEquipmentTabOpensAndTheChlorinatorStarts) {
    enum Step {
        kOpenEquipment,
        kWaitForStatus,
        kWaitForChlorinator,
        kWaitForStart,
        kWaitForFlowPump,
        kWaitForSpeedPump,
        kDone
    } step = kOpenEquipment;
    testsupport::Image565 status, chlorinator;
    vistreltest::TestHost host(environment.Folder(), 1024, 768, [&](CMainWnd& window, CZVServer& server, int pass) {
        auto* page = dynamic_cast<CPoolControlPage*>(window.GetCurrentPage());
        auto* equipment = page ? dynamic_cast<CSystemStatusPage*>(page->GetTabWindow()) : nullptr;
        CTabContainer* tabs = equipment ? equipment->GetTabColumn()->GetTabs() : nullptr;
        auto touchTab = [&](const char* caption, Step next) {
            CZVButton* tab = TabNamed(tabs, caption);
            if (!tab) return false;
            Touch(tab);
            step = next;
            return true;
        };
        switch (step) {
        case kOpenEquipment: {
            auto* pageTabs = page && page->GetModel()->IsReady() ? page->GetTabControl() : nullptr;
            const TabStep opened = StepToTab(window, "Pool & Spa", static_cast<CTabContainer*>(pageTabs), "Equipment");
            if (opened == TabStep::kNoTab) return true;
            if (opened == TabStep::kTouched) step = kWaitForStatus;
            break;
        }
        case kWaitForStatus: {
            auto* delays = equipment ? dynamic_cast<CSystemDelaysPage*>(equipment->GetContent()) : nullptr;
            if (!delays || delays->GetErrorCount() != 2 || !vistreltest::AnswersIn(gateway, server)) break;
            clock.Advance(1000);  // the tab's flash fades
            status = Picture(window, host);
            if (!touchTab("Chlorinator", kWaitForChlorinator)) return true;
            break;
        }
        case kWaitForChlorinator: {
            auto* shown = equipment ? dynamic_cast<CChlorinatorPage*>(equipment->GetContent()) : nullptr;
            if (!shown || shown->GetStatusText()->GetText().GetAnsi() != std::string("Communications OK") ||
                !vistreltest::AnswersIn(gateway, server))
                break;
            clock.Advance(1000);
            chlorinator = Picture(window, host);
            shown->OnChildCommand(CChlorinatorPage::kHoursUpId, 24);  // a held arrow's repeats
            Touch(shown->GetStartButton());
            step = kWaitForStart;
            break;
        }
        case kWaitForStart:
            if (!GatewaySaw(ZVM_POOL_SETCHLORINATOR) || !vistreltest::AnswersIn(gateway, server)) break;
            if (!touchTab("Vortana #1\nPool", kWaitForFlowPump)) return true;
            break;
        case kWaitForFlowPump: {
            auto* pump = equipment ? dynamic_cast<CPumpPage*>(equipment->GetContent()) : nullptr;
            if (!pump || pump->GetRowCount() == 0) break;
            if (pump->IsRpmMode() || pump->GetPresetValue(1) != 55) return true;
            if (!touchTab("Vortana #2\nSpa", kWaitForSpeedPump)) return true;
            break;
        }
        case kWaitForSpeedPump: {
            auto* pump = equipment ? dynamic_cast<CPumpPage*>(equipment->GetContent()) : nullptr;
            if (!pump || pump->GetPump() != 1 || pump->GetRowCount() == 0) break;
            step = pump->IsRpmMode() && pump->GetPresetValue(0) == 2000 ? kDone : step;
            return true;
        }
        case kDone: break;
        }
        return step == kDone || pass == 800;
    });
    EXPECT_EQ(TabletMain(Arguments(), host), 0);
    ASSERT_EQ(step, kDone);
    const auto starts = RequestInts(ZVM_POOL_SETCHLORINATOR);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0], (std::vector<int32_t>{0, 50, 20, 1, 24}));
    EXPECT_TRUE(GatewaySaw(ZVM_POOL_GETERRORSQ));
    EXPECT_TRUE(testsupport::MatchesGolden(status, "vistrel_pool_equipment"));
    EXPECT_TRUE(testsupport::MatchesGolden(chlorinator, "vistrel_pool_chlorinator"));
}

}  // namespace
