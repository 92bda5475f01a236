// A climate zone's history graph: its legend and margins, what it asks the
// gateway for as the window moves, the value range of its curves, the data
// that comes while input is blocked.
#include "vistrel/home/climate/hvachistory.h"

#include <gtest/gtest.h>

#include "climate_fixture.h"
#include "core/messages/climatemessages.h"
#include "widgets/text/zvlabel.h"

namespace {

using climatetest::Ansi;
using climatetest::ClimateTest;
using climatetest::Message;
using climatetest::PayloadWriter;

class HvacHistoryTest : public ClimateTest {
protected:
    // A zone whose information says heat, cool and fan.
    CThermostatZone& Zone(int humidistat) {
        zones.push_back(std::make_unique<CThermostatZone>(&server, 1, "Living Room", humidistat, 0));
        PayloadWriter w;
        w.Int(1).Int(1).Int(1).Int(0).Int(0).Int(0).Int(0).Int(40).Int(90).Int(60).Int(99).Int(0).Int(0);
        w.String("").String("");
        zones.back()->ReadInfo(Message(ZVM_HVAC_GETZONESTATUSA, w).get(), 0);
        return *zones.back();
    }
    CHvacHistoryGraph* Graph(CThermostatZone& zone) {
        auto* graph = new CHvacHistoryGraph(window.get(), CZVRect(0, 0, 320, 240), server, zone, nullptr);
        window->AddChild(graph);
        graph->Show(1, 0);
        return graph;
    }
    std::vector<std::string> LegendTexts(CHvacHistoryGraph* graph) {
        std::vector<std::string> texts;
        for (ZVPOSITION pos = graph->GetChildren().GetHeadPosition(); pos;) {
            auto* label = dynamic_cast<CZVLabel*>(static_cast<CZVWindow*>(graph->GetChildren().GetNext(pos)));
            if (label && !Ansi(label->GetText()).empty()) texts.push_back(Ansi(label->GetText()));
        }
        return texts;
    }
    // A data answer whose room curve has the values at the window's end and a minute before.
    std::unique_ptr<CZVMSG> Data(CHvacHistoryGraph* graph, int first, int second) {
        auto message = std::make_unique<CZVMSG>(0, ZVM_HVAC_HISTORYDATA);
        const CZVTime end = graph->GetTimeWindow()->GetEnd();
        message->WriteInt(2);
        message->WriteTime(PlusMinutes(end, -1));
        message->WriteInt(first);
        message->WriteTime(end);
        message->WriteInt(second);
        for (int list = 0; list < 6; ++list) message->WriteInt(0);
        message->ResetPosition();
        return message;
    }
    bool Answered(CHvacHistoryGraph* graph) {
        return PollUntil([&] { return !graph->GetHistory().room.empty() && !graph->GetSummary().first.empty(); });
    }

    std::vector<std::unique_ptr<CThermostatZone>> zones;
};

TEST_F(HvacHistoryTest, TheLegendNamesTheSetPointsOfAThermostatOrAHumidistat) {
    EXPECT_EQ(LegendTexts(Graph(Zone(0))), (std::vector<std::string>{" Heat Set Point", " Cool Set Point",
                                                                     " Room Temperature", " Outside Temperature"}));
    CHvacHistoryGraph* humidistat = Graph(Zone(1));
    EXPECT_EQ(LegendTexts(humidistat), (std::vector<std::string>{" Low Set Point", " High Set Point", " Room Humidity",
                                                                 " Outside Temperature"}));
    EXPECT_EQ(humidistat->GetTop(), CHvacHistoryGraph::kLegendRow + 5);
}

TEST_F(HvacHistoryTest, AnExtendedZoneWithoutSeriesHasNoLegendAndANarrowMargin) {
    CThermostatZone zone(&server, 9, "", 0, 1);
    zone.ReadInfo(Message(ZVM_HVAC_GETZONEEXTA, PayloadWriter().Int(0).String("Guest Suite")).get(), 0);
    CHvacHistoryGraph* graph = Graph(zone);
    EXPECT_EQ(graph->GetLeft(), CHvacHistoryGraph::kExtendedLeftMargin);
    EXPECT_EQ(graph->GetTop(), 0);
    EXPECT_TRUE(LegendTexts(graph).empty());
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_HVAC_GETHISTORYEXTQ));
}

TEST_F(HvacHistoryTest, AZoomInsideTheLoadedRangeAsksOnlyForTheSummary) {
    CHvacHistoryGraph* graph = Graph(Zone(0));
    testsupport::Frame request;
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_HVAC_GETHISTORYQ, &request));
    EXPECT_EQ(request.sender, graph->CSocketSink::GetId());
    window->PaintAll();
    ASSERT_TRUE(Answered(graph));
    EXPECT_EQ(graph->GetSummary().second, "Cooling: 1 h 05 min");
    EXPECT_EQ(Asked(ZVM_HVAC_GETGRAPHQ), 1);
    EXPECT_EQ(LastRequest(ZVM_HVAC_GETGRAPHQ).sender, 0);

    const CZVTime end = graph->GetTimeWindow()->GetEnd();
    graph->SetTimeRange(PlusMinutes(end, -120), end, 1);
    window->PaintAll();
    ASSERT_TRUE(PollUntil([&] { return Asked(ZVM_HVAC_GETGRAPHQ) == 2; }));
    EXPECT_EQ(Asked(ZVM_HVAC_GETHISTORYQ), 1);

    // A window beyond the loaded range asks for its data.
    graph->SetTimeRange(PlusMinutes(end, -3000), end, 1);
    ASSERT_TRUE(PollUntil([&] { return Asked(ZVM_HVAC_GETHISTORYQ) == 2; }));
}

TEST_F(HvacHistoryTest, TheValueAxisRoundsToTensAroundTheValues) {
    CHvacHistoryGraph* graph = Graph(Zone(0));
    graph->OnMessage(Data(graph, 63, 81).get());
    window->PaintAll();
    EXPECT_EQ(graph->GetValueMin(), 60);
    EXPECT_EQ(graph->GetValueMax(), 90);
    EXPECT_EQ(graph->IsLoading(), 0);
}

TEST_F(HvacHistoryTest, DataThatComesWhileInputIsBlockedIsKept) {
    CHvacHistoryGraph* graph = Graph(Zone(0));
    graph->SetLoading(1);
    window->SetModal(1);
    graph->OnMessage(Data(graph, 70, 72).get());
    EXPECT_EQ(graph->GetHistory().room.size(), 2u);
    EXPECT_EQ(graph->IsLoading(), 0);
    window->SetModal(0);
}

TEST_F(HvacHistoryTest, TheSelectionShowsEachCurvesValueInABoxBesideItsPointWithoutOverlap) {
    CHvacHistoryGraph* graph = Graph(Zone(0));
    const CZVTime end = graph->GetTimeWindow()->GetEnd();
    // Room and outside alike: 70 a minute before the end, 80 at it.
    CZVMSG data(0, ZVM_HVAC_HISTORYDATA);
    for (int curve = 0; curve < 2; ++curve) {
        data.WriteInt(2);
        data.WriteTime(PlusMinutes(end, -1));
        data.WriteInt(70);
        data.WriteTime(end);
        data.WriteInt(80);
    }
    for (int list = 0; list < 5; ++list) data.WriteInt(0);
    data.ResetPosition();
    graph->OnMessage(&data);
    window->PaintAll();
    const int px = graph->TimeToX(end);
    const int bottom = graph->GetHeight() - CTimeView::kBottomMargin - 1;
    for (int rightEdgeMoved : {0, 1}) {
        CZVDC dc(graph);
        std::vector<CZVRect> boxes;
        graph->DrawOverlay(&dc, px - graph->GetLeft(), rightEdgeMoved, &boxes, graph->GetTop(), bottom);
        ASSERT_EQ(boxes.size(), 2u) << "the room and the outside value; no heat or cool points";
        const CZVRect& a = boxes[0];
        const CZVRect& b = boxes[1];
        EXPECT_EQ(a.y, b.y);
        EXPECT_TRUE(a.x + a.w <= b.x || b.x + b.w <= a.x) << "the second box moved past the first";
        for (const CZVRect& box : boxes)
            EXPECT_TRUE(rightEdgeMoved ? box.x >= px + 10 : box.x + box.w <= px - 10) << rightEdgeMoved;
    }
}

TEST(HvacHistoryValues, InterpolateBetweenPointsAndTakeTheLaterOfOneTime) {
    CZVTime t0;
    t0.Set(2011, 6, 0, 15, 12, 0, 0, 0);
    const CZVTime t1 = PlusMinutes(t0, 10);
    int value = 0;
    EXPECT_TRUE(CHvacHistoryGraph::ValueAt({{t0, 60}, {t1, 80}}, PlusMinutes(t0, 5), &value));
    EXPECT_EQ(value, 70);
    EXPECT_TRUE(CHvacHistoryGraph::ValueAt({{t0, 60}, {t0, 80}}, t0, &value));
    EXPECT_EQ(value, 80);
    EXPECT_FALSE(CHvacHistoryGraph::ValueAt({{t0, 60}, {t1, 80}}, PlusMinutes(t1, 1), &value));
}

}  // namespace
