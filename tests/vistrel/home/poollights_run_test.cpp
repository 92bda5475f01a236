// The whole tablet against the sample installation with its pool lights:
// Pool & Spa, then Lights, shows the lights with their levels, and a level
// pressed there goes to the gateway, whose pushed status marks it.
#include <gtest/gtest.h>

#include "pool_fixture.h"
#include "support/golden.h"
#include "vistrel/home/pool/poollights.h"
#include "vistrel/home/pool/poolpage.h"
#include "vistrel/media/advlbitem/advlbitem.h"
#include "widgets/lists/textlist.h"
#include "widgets/tabs/tabbutton.h"

namespace {

constexpr int kPoolDimmer = 511;
constexpr int kThirtyPercent = 7;  // the dimmer row's "30%"
constexpr int kSixtyPercent = 4;

class PoolLightsRun : public vistreltest::SampleHouseRun {
protected:
    PoolLightsRun() {
        RegisterHomePages();
        testsupport::SampleInstallation sample;
        sample.poolLights = true;
        testsupport::ServeSampleInstallation(gateway, sample);
    }
    // The row of the light, or null.
    static CAdvLBItem* RowOf(CPoolDimmerPopup* popup, int circuitId, int* index) {
        for (int i = 0; popup && i < popup->GetList()->GetCount(); ++i) {
            CAdvLBItem* row = popup->GetRow(i);
            if (static_cast<CPoolCircuit*>(row->m_data)->circuitId == circuitId) {
                *index = i;
                return row;
            }
        }
        return nullptr;
    }
    static int Marked(const CAdvLBItem& row) {
        for (int i = 0; i < row.GetSubItemCount(); ++i)
            if (row.GetSubItem(i).chosen) return i;
        return -1;
    }
    // A touch on the sub-item of the row, through the list.
    void TouchSubItem(CTextList* list, CAdvLBItem* row, int index, int subItem) {
        clock.Advance(1000);
        CZVRect r;
        list->GetItemRectAt(&r, index);
        int left = 0, right = 0;
        row->GetSubItemSpan(r, subItem, &left, &right);
        const int x = list->ToRootX((left + right) / 2);
        const int y = list->ToRootY(r.y + r.h / 2);
        list->OnLButtonDown(x, y, 0);
        list->OnLButtonUp(x, y, 0);
    }
};

TEST_F(PoolLightsRun, TheLightsTabShowsTheLevelsAndSetsADimmer) {
    enum Step {
        kWaitForHome,
        kPressMenu,
        kWaitForStatus,
        kPressLights,
        kWaitForLights,
        kPressLevel,
        kWaitForPush,
        kDone
    };
    Step step = kWaitForHome;
    testsupport::Image565 shown;
    CPoolCircuit* dimmer = nullptr;
    vistreltest::TestHost host(environment.Folder(), 1024, 768, [&](CMainWnd& window, CZVServer& server, int pass) {
        auto* page = dynamic_cast<CPoolControlPage*>(window.GetCurrentPage());
        auto* lights = page ? dynamic_cast<CColorLightsPage*>(page->GetTabWindow()) : nullptr;
        auto* popup = lights ? dynamic_cast<CPoolDimmerPopup*>(lights->GetPanel()) : nullptr;
        CZVButton* entry = MenuEntry(window, "Pool & Spa");
        int index = -1;
        CAdvLBItem* row = RowOf(popup, kPoolDimmer, &index);
        switch (step) {
        case kWaitForHome:
            if (!pooltest::PoolControlsShowTheSampleStatus(window.GetCurrentPage()) ||
                !vistreltest::AnswersIn(gateway, server))
                break;
            step = kPressMenu;
            break;
        case kPressMenu:
            if (!entry) return true;
            Touch(entry);
            step = kWaitForStatus;
            break;
        case kWaitForStatus:
            if (!page || page->GetModel()->GetBody(0)->temperature != 81 || entry->GetHighlightCountdown() >= 0) break;
            step = kPressLights;
            break;
        case kPressLights: {
            CZVButton* tab = TabNamed(static_cast<CTabContainer*>(page->GetTabControl()), "Lights");
            if (!tab) return true;
            Touch(tab);
            step = kWaitForLights;
            break;
        }
        case kWaitForLights:
            // The status marks the dimmer's 60% once it is in, and the tab's flash has faded.
            if (!row || Marked(*row) != kSixtyPercent || !vistreltest::AnswersIn(gateway, server)) break;
            if (auto* tab =
                    static_cast<CTabButton*>(TabNamed(static_cast<CTabContainer*>(page->GetTabControl()), "Lights"));
                tab && tab->GetHighlightCountdown() >= 0)
                break;
            shown = Picture(window, host);
            step = kPressLevel;
            break;
        case kPressLevel:
            TouchSubItem(popup->GetList(), row, index, kThirtyPercent);
            // Only the gateway's status can mark it again.
            dimmer = static_cast<CPoolCircuit*>(row->m_data);
            dimmer->state = 0;
            row->SelectSubItem(-1);
            step = kWaitForPush;
            break;
        case kWaitForPush:
            if (dimmer->state == 30 && row && Marked(*row) == kThirtyPercent) step = kDone;
            break;
        case kDone: break;
        }
        return step == kDone || pass == 600;
    });
    EXPECT_EQ(TabletMain(Arguments(), host), 0);
    ASSERT_EQ(step, kDone);
    EXPECT_TRUE(GatewaySaw(ZVM_POOL_SETCIRCUIT));
    EXPECT_TRUE(testsupport::MatchesGolden(shown, "vistrel_pool_lights"));
}

}  // namespace
