// The wizard steps' Qt windows, off screen, over the sample installation's model.
#include <QComboBox>
#include <QLineEdit>
#include <QTabBar>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "basinsetup/views/macrosview.h"
#include "basinsetup/views/step2view.h"
#include "basinsetup/views/step3view.h"
#include "basinsetup/views/step4view.h"
#include "basinsetup/views/step5view.h"
#include "qt_application.h"
#include "step_session.h"

namespace {

class StepViews : public bstest::StepSession {
protected:
    void SetUp() override {
        bstest::TestApplication();
        StepSession::SetUp();
    }
    template <class W> static W* Widget(const CDialogWindow& window, int id) {
        auto* widget = qobject_cast<W*>(window.Control(id));
        EXPECT_NE(widget, nullptr) << id;
        return widget;
    }
};

TEST_F(StepViews, CircuitsWindowShowsWhatItsLogicSetsAndIsGrabbed) {
    CStep2Window window(nullptr, model);
    EXPECT_EQ(window.windowTitle().toStdString(), "Setup Circuits (Step 2 of 5)");
    auto* list = Widget<QTreeWidget>(window, IDC_CIRCUIT_LIST);
    ASSERT_EQ(list->topLevelItemCount(), 25);
    EXPECT_EQ(list->topLevelItem(5)->text(2).toStdString(), "Pool");
    EXPECT_EQ(list->topLevelItem(5)->text(4).toStdString(), "Yes");
    list->setCurrentItem(list->topLevelItem(3));  // as a click does: the logic loads the circuit
    EXPECT_EQ(Widget<QComboBox>(window, IDC_CIRCUIT_FUNCTION)->currentText().toStdString(), "Sequence Light");
    EXPECT_EQ(Widget<QComboBox>(window, IDC_SHOW_WITH)->currentText().toStdString(), "SAm/SAL (Lights Page)");
    EXPECT_FALSE(window.Control(IDC_SHOW_WITH)->isEnabled());
    EXPECT_TRUE(window.Control(IDC_CIRCUIT_NAME)->isEnabled());
    EXPECT_TRUE(window.grab().save(QString(ZV_TEST_OUTPUT_DIR) + "/basinsetup_step2.png"));
}

TEST_F(StepViews, AChoiceInAWindowReachesTheGateway) {
    CStep5Window window(nullptr, model);
    auto* tabs = Widget<QTabBar>(window, IDC_REMOTE_TABS);
    ASSERT_EQ(tabs->count(), 6);
    tabs->setCurrentIndex(5);
    EXPECT_EQ(Widget<QLabel>(window, IDC_TOP_CAPTION)->text().toStdString(), "Pivana");
    EXPECT_TRUE(window.Control(kRemoteButtonIds[5])->isHidden());
    auto* box = Widget<QComboBox>(window, kRemoteButtonIds[1]);
    const int pool = box->findText("Pool");
    box->setCurrentIndex(pool);  // what a user's choice does, then reports it
    emit box->activated(pool);
    const auto tables = OneTableWrite();
    EXPECT_EQ(tables[3][41], 6);
    EXPECT_EQ(box->currentText().toStdString(), "Pool");
}

TEST_F(StepViews, EveryWindowBuildsOverTheModel) {
    CStep3Window equipment(nullptr, model);
    EXPECT_EQ(equipment.windowTitle().toStdString(), "Configure Other Equipment (Step 3 of 5)");
    EXPECT_EQ(Widget<QTreeWidget>(equipment, IDC_VALVE_LIST)->topLevelItem(0)->text(1).toStdString(), "USED BY SOLAR");
    CStep4Window pumps(nullptr, model);
    EXPECT_EQ(Widget<QComboBox>(pumps, IDC_PUMP_TYPE)->currentText().toStdString(), "Vortana");
    CFlowsWindow flows(nullptr, model, 0);
    EXPECT_EQ(flows.windowTitle().toStdString(), "Pump 1 Filtering");
    CSelectCircuitWindow select(nullptr, model);
    EXPECT_FALSE(select.Control(IDC_OK)->isEnabled());
    CCustomNamesWindow names(nullptr, model);
    EXPECT_EQ(Widget<QLineEdit>(names, IDC_CUSTOM_EDIT)->maxLength(), kCustomNameLength);
    CMacrosWindow macros(nullptr, model, *model->FindCircuitByDevice(41));
    EXPECT_EQ(macros.windowTitle().toStdString(), "Configure: Jets");
    CLightsWindow lights(nullptr, model);
    EXPECT_EQ(Widget<QComboBox>(lights, kLightSlots[0])->currentText().toStdString(), "Pool Light");
    EXPECT_TRUE(Sent(ZVM_POOL_SETEXTCONFIGQ).empty());  // showing writes nothing
}

}  // namespace
