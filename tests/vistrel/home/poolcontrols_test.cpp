// The pool controls of gateway pages: the circuit grid's plan and its
// highlight after the next poll, the status table's rows and values, and
// their pictures beside the Main tab's.
#include "vistrel/home/pool/poolcontrols.h"

#include <gtest/gtest.h>

#include "pool_fixture.h"
#include "support/golden.h"
#include "vistrel/home/pool/poolmain.h"
#include "vistrel/home/pool/poolpage.h"
#include "vistrel/shell/pagecontrol.h"
#include "widgets/style/setserver.h"
#include "widgets/text/zvlabel.h"

namespace {

using Grid = CPoolCircuitGrid::Grid;

TEST(PoolCircuitGridPlan, ColumnsGrowUntilCellsAreAtMostTenTimesAsWideAsHigh) {
    struct Case {
        int count, width, height;
        Grid grid;
    } cases[] = {
        {12, 600, 120, {3, 4, 200, 30}},
        {1, 100, 50, {1, 1, 100, 50}},
        {4, 40, 400, {1, 4, 40, 100}},
        {3, 1000, 20, {5, 1, 200, 20}},    // more columns than circuits
        {200, 600, 100, {12, 17, 50, 5}},  // more circuits than pixel rows
        {10, 5, 3, {}},                    // not a pixel a row: nothing
        {0, 600, 120, {}},
        {5, 600, 0, {}},
    };
    for (const Case& c : cases) {
        const Grid grid = CPoolCircuitGrid::PlanGrid(c.count, c.width, c.height);
        EXPECT_EQ(grid.columns, c.grid.columns) << c.count << " in " << c.width << " x " << c.height;
        EXPECT_EQ(grid.rows, c.grid.rows) << c.count << " in " << c.width << " x " << c.height;
        EXPECT_EQ(grid.cellWidth, c.grid.cellWidth) << c.count << " in " << c.width << " x " << c.height;
        EXPECT_EQ(grid.cellHeight, c.grid.cellHeight) << c.count << " in " << c.width << " x " << c.height;
    }
}

class PoolControlsTest : public pooltest::PoolTest {
protected:
    void Serve(const samplegateway::House& house) { samplegateway::Serve(gateway.Engine(), house); }
    void SetUp() override { ConnectToSampleHouse(); }
    // The control of the type as the factory builds it from a definition.
    template <class Control>
    Control* Make(int type, CZVRect rect) {
        CPageControlDesc desc;
        desc.type = type;
        desc.textColor = 0x202020;
        desc.SetAttribute(kAttrFontSize, 16);
        desc.SetAttribute(kAttrBevelType, 1);
        auto* control = dynamic_cast<Control*>(CreatePageControl(window.get(), window.get(), rect, desc, nullptr, 0));
        if (control) Adopt(control);
        return control;
    }
    template <class Control>
    void WaitForStatus(Control* control, int32_t air) {
        ASSERT_TRUE(PollUntil([&] { return control->GetModel().GetAirTemp() == air; }));
    }
    static std::string Text(CZVLabel* label) { return label->GetText().GetAnsi(); }
    static samplegateway::House WithoutSpa() {
        samplegateway::House house = testsupport::SampleHouse();
        auto row = [](int64_t id, const char* name, int64_t function, int64_t group) {
            return std::vector<samplegateway::Value>{id,           std::string(name), int64_t{0}, function,   group,
                                                     int64_t{0},   int64_t{0},        int64_t{0}, int64_t{0}, id % 250,
                                                     int64_t{720}, int64_t{0},        int64_t{0}};
        };
        EXPECT_TRUE(house.SetList("tablet_circuits", {row(505, "Pool", 2, 0), row(540, "Jets", 0, 2)}));
        return house;
    }
};

TEST_F(PoolControlsTest, GridNamesTheShownCircuitsAndMarksThoseThatAreOn) {
    auto* grid = Make<CPoolCircuitGrid>(118, CZVRect(10, 10, 600, 120));
    ASSERT_NE(grid, nullptr);
    std::vector<std::string> names;
    for (int i = 0; i < grid->GetLabelCount(); ++i) names.push_back(Text(grid->GetLabel(i)));
    // Groups 0 to 4 without the cleaner, the pool and the spa.
    EXPECT_EQ(names,
              (std::vector<std::string>{"Spa Light", "Aux 1", "Waterfall", "Jets", "Spillway", "Aux 3", "Pool Light"}));
    EXPECT_EQ(grid->GetTimerInterval(), CPoolStatusControl::kPollInterval);
    WaitForStatus(grid, 78);
    const COLORREF highlight = CSetServer::Get()->GetSelectionColor();
    auto faceOf = [&](int32_t id) {
        for (int i = 0; i < grid->GetLabelCount(); ++i)
            if (grid->GetCircuitId(i) == id) return grid->GetLabel(i)->GetFaceColor();
        return COLORREF{1};
    };
    EXPECT_EQ(faceOf(501), highlight);  // Aux 1 runs
    EXPECT_EQ(faceOf(540), grid->GetFaceColor());

    // Jets switched on elsewhere: the next poll shows it; touches do nothing.
    CZVMSG on(0, ZVM_POOL_SETCIRCUIT);
    for (int32_t value : {0, 540, 1}) on.WriteInt(value);
    server.Send(&on);
    EXPECT_FALSE(grid->OnLButtonDown(grid->ToRootX(5), grid->ToRootY(5), 0));
    const size_t polls = gateway.Requests().size();
    clock.Advance(CPoolStatusControl::kPollInterval + 1);
    window->OnIdle(0);
    ASSERT_TRUE(PollUntil([&] { return grid->GetModel().FindCircuitById(540)->state == 1; }));
    EXPECT_GT(gateway.Requests().size(), polls);
    EXPECT_EQ(faceOf(540), highlight);
    EXPECT_EQ(grid->GetLabel(3)->GetTextColor(), 0u);
}

TEST_F(PoolControlsTest, TableRowsDependOnTheSpa) {
    struct Case {
        bool spa;
        std::vector<int> keys;
    } cases[] = {
        {true, {8, 0, 4, 1, 5, 2, 3, 6, 7, 9, 10}},
        {false, {8, 0, 1, 2, 3, 9, 10}},
    };
    for (const Case& c : cases) {
        Serve(c.spa ? testsupport::SampleHouse() : WithoutSpa());
        auto* table = Make<CPoolStatusPage>(117, CZVRect(0, 0, 400, 330));
        ASSERT_NE(table, nullptr);
        std::vector<int> keys;
        for (int i = 0; i < table->GetRowCount(); ++i) keys.push_back(table->GetRowKey(i));
        EXPECT_EQ(keys, c.keys) << c.spa;
        window->RemoveChild(table);
        delete table;
    }
}

TEST_F(PoolControlsTest, TableShowsTheStatusAndDashesForNoReading) {
    samplegateway::House house = testsupport::SampleHouse();
    ASSERT_TRUE(house.Set("air_temperature", int64_t{255}));
    Serve(house);
    auto* table = Make<CPoolStatusPage>(117, CZVRect(0, 0, 400, 330));
    ASSERT_NE(table, nullptr);
    WaitForStatus(table, 255);
    std::vector<std::pair<std::string, std::string>> rows;
    for (int i = 0; i < table->GetRowCount(); ++i)
        rows.emplace_back(Text(table->GetCaption(i)), Text(table->GetValue(i)));
    EXPECT_EQ(rows, (std::vector<std::pair<std::string, std::string>>{
                        {"Air Temperature", "--"},
                        {"Pool Temperature", "81 F"},
                        {"Spa Temperature", "99 F"},
                        {"Pool Set Point", "82 F"},
                        {"Spa Set Point", "102 F"},
                        {"Pool Heat Mode", "H.Pump Only"},
                        {"Pool Heat Status", "Off"},
                        {"Spa Heat Mode", "H.Pump Only"},
                        {"Spa Heat Status", "Heater On"},
                        {"Spa-Side Remotes", "Enabled"},
                        {"Freeze Mode", "No"},
                    }));
    table->SetRowValue(8, "A value much too long for the width of its row to hold");
    const std::string cut = Text(table->GetValue(0));
    EXPECT_EQ(cut.substr(cut.size() - 3), "...");
    table->SetRowValue(99, "no such row");  // nothing
}

TEST_F(PoolControlsTest, PicturesOfTheControlsAndTheMainTab) {
    auto* table = Make<CPoolStatusPage>(117, CZVRect(110, 10, 380, 300));
    auto* grid = Make<CPoolCircuitGrid>(118, CZVRect(500, 10, 290, 120));
    ASSERT_TRUE(table && grid);
    WaitForStatus(table, 78);
    WaitForStatus(grid, 78);
    ASSERT_TRUE(Settle());
    window->PaintAll();
    EXPECT_TRUE(testsupport::MatchesGolden(testsupport::ImageOf(*window->GetScreen()), "pool_status_controls"));
    window->RemoveChild(table);
    window->RemoveChild(grid);
    delete table;
    delete grid;

    auto* page = Adopt(new CPoolControlPage(window.get(), window->GetPageArea(), server));
    ASSERT_TRUE(SettleUntil([&] { return page->GetModel()->GetBody(0)->temperature == 81; }));
    window->PaintAll();
    EXPECT_TRUE(testsupport::MatchesGolden(testsupport::ImageOf(*window->GetScreen()), "pool_main"));
    window->RemoveChild(page);
    delete page;
}

}  // namespace
