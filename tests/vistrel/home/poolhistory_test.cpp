// The pool's History tab against the sample gateway: the value axis from
// the temperatures, the rows of the equipment, what is asked for as the
// window moves, the share labels, answers cut short and answers that
// arrive while input is blocked, and the picture of the sample's history.
#include "vistrel/home/pool/poolhistory.h"

#include <gtest/gtest.h>

#include <cstring>

#include "pool_fixture.h"
#include "support/golden.h"

namespace {

using samplegateway::PayloadWriter;
using testsupport::Frame;

platform::LocalTime Local(int year, int month, int day, int hour, int minute) {
    platform::LocalTime time;
    time.year = static_cast<uint16_t>(year);
    time.month = static_cast<uint16_t>(month);
    time.day = static_cast<uint16_t>(day);
    time.hour = static_cast<uint16_t>(hour);
    time.minute = static_cast<uint16_t>(minute);
    return time;
}

void WriteTime(PayloadWriter& out, const CZVTime& t) {
    for (int field : {t.GetYear(), t.GetMonth(), t.GetDayOfWeek(), t.GetDay(), t.GetHour(), t.GetMinute(),
                      t.GetSecond(), t.GetMilliseconds()})
        out.Short(static_cast<uint16_t>(field));
}

// A history answer: the values spread over the last hours before end on
// every curve, and the ranges as the heater's.
samplegateway::Bytes Answer(const CZVTime& end, const std::vector<int>& values, const CTimeRanges& heater = {}) {
    PayloadWriter out;
    for (int series = 0; series < 5; ++series) {
        const bool drawn = series == 0 || series == 1 || series == 3;
        out.Int(drawn ? static_cast<int32_t>(values.size()) : 0);
        if (!drawn) continue;
        for (size_t i = 0; i < values.size(); ++i) {
            WriteTime(out, PlusMinutes(end, -60 * static_cast<int64_t>(values.size() - i)));
            out.Int(values[i]);
        }
    }
    for (int list = 0; list < 5; ++list) {
        const CTimeRanges& ranges = list == 3 ? heater : CTimeRanges{};
        out.Int(static_cast<int32_t>(ranges.size()));
        for (const CTimeRange& range : ranges) {
            WriteTime(out, range.start);
            WriteTime(out, range.end);
        }
    }
    return out;
}

class PoolHistoryTest : public pooltest::PoolTest {
protected:
    void SetUp() override {
        clock.SetLocalTime(Local(2026, 12, 5, 15, 37));
        ConnectToSampleHouse();
        g_nClockOffsetMinutes = 0;  // the local clock, not the gateway's that came on connecting
    }
    ~PoolHistoryTest() override {
        if (page) {
            window->RemoveChild(page);
            delete page;
        }
    }
    CPoolHistoryPage* Build(uint32_t equipment = 0x2) {
        ConfigFixture config;
        config.equipmentFlags = equipment;
        model = Model(config);
        page = Adopt(new CPoolHistoryPage(window.get(), window->GetPageArea(), model.get(), server));
        window->PaintAll();
        return page;
    }
    // Waits for the sample's answer to the page's first request.
    void WaitForSample() {
        ASSERT_TRUE(PollUntil([&] {
            return !page->IsLoading() && !page->GetHistory().series[0].empty() &&
                   vistreltest::NothingOnItsWay(gateway, server);
        }));
        window->PaintAll();
    }
    void Push(const samplegateway::Bytes& payload) { gateway.Push(ZVM_POOL_HISTORYDATA, payload, page->GetId()); }
    // Pushes the answer and waits until the first curve holds `points` points.
    void PushAndWait(const samplegateway::Bytes& payload, size_t points) {
        Push(payload);
        ASSERT_TRUE(PollUntil([&] { return page->GetHistory().series[0].size() == points; }));
        window->PaintAll();
    }
    std::vector<Frame> HistoryRequests() { return gateway.RequestsOf(ZVM_POOL_GETHISTORYQ); }
    // The start and end a request asks for.
    static std::pair<CZVTime, CZVTime> RangeOf(const Frame& frame) {
        CZVMSG message(frame.sender, frame.id, static_cast<int32_t>(frame.payload.size()));
        std::memcpy(message.GetData(), frame.payload.data(), frame.payload.size());
        int32_t controller = 0;
        CZVTime start, end;
        EXPECT_TRUE(message.ReadInt(controller) && message.ReadTime(start) && message.ReadTime(end));
        return {start, end};
    }
    int GraphBottom() { return page->GetHeight() - CTimeView::kBottomMargin - 1; }

    std::unique_ptr<CBasinSetup> model;
    CPoolHistoryPage* page = nullptr;
};

TEST_F(PoolHistoryTest, TheFirstRequestCoversTheWindowAndAnHourBefore) {
    Build();
    ASSERT_TRUE(PollUntil([&] { return HistoryRequests().size() == 1; }));
    const Frame request = HistoryRequests()[0];
    EXPECT_EQ(request.sender, page->GetId());
    const auto [start, end] = RangeOf(request);
    EXPECT_EQ(end, page->GetTimeWindow()->GetEnd());
    EXPECT_EQ(start, PlusMinutes(page->GetTimeWindow()->GetStart(), -60));
}

TEST_F(PoolHistoryTest, TheValueAxisRoundsTheTemperaturesToTens) {
    Build();
    WaitForSample();
    const CZVTime end = page->GetTimeWindow()->GetEnd();
    PushAndWait(Answer(end, {78, 96, 85, 300}), 4);
    EXPECT_EQ(page->GetValueMin(), 70);
    EXPECT_EQ(page->GetValueMax(), 100);
    PushAndWait(Answer(end, {}), 0);
    EXPECT_EQ(page->GetValueMin(), 70);
    EXPECT_EQ(page->GetValueMax(), 110);
}

TEST_F(PoolHistoryTest, FourRowsWithoutSolarOrHeatPumpFiveWith) {
    for (uint32_t equipment : {0u, 1u, 2u}) {
        Build(equipment);
        WaitForSample();
        const int rows = equipment ? 5 : 4;
        EXPECT_EQ(page->GetRowCount(), rows) << equipment;
        // The value area ends a row above the rows.
        EXPECT_EQ(page->ValueToY(page->GetValueMin()), GraphBottom() - rows * 20 - 20) << equipment;
        window->RemoveChild(page);
        delete page;
        page = nullptr;
    }
}

TEST_F(PoolHistoryTest, ZoomingInsideTheLoadedRangeAsksNothingScrollingPastItAsksForTheNewWindow) {
    Build();
    WaitForSample();
    const size_t asked = HistoryRequests().size();
    CZoomBar* bar = page->GetZoomBar();
    bar->OnChildCommand(CZoomBar::kZoomInId, 0);
    EXPECT_EQ(page->GetTimeWindow()->GetKind(), CTimeWindow::kSixHours);
    EXPECT_FALSE(page->IsLoading());
    bar->OnChildCommand(CZoomBar::kZoomOutId, 0);
    EXPECT_FALSE(page->IsLoading());
    const CZVTime start = page->GetTimeWindow()->GetStart(), end = page->GetTimeWindow()->GetEnd();
    bar->OnChildCommand(CZoomBar::kBackId, 0);
    ASSERT_TRUE(PollUntil([&] { return HistoryRequests().size() == asked + 1; }));
    const auto [askedStart, askedEnd] = RangeOf(HistoryRequests().back());
    EXPECT_EQ(askedStart, PlusMinutes(start, -1440));
    EXPECT_EQ(askedEnd, PlusMinutes(end, -1440));
}

TEST_F(PoolHistoryTest, AHeaterRunOverHalfTheWindowIsFiftyPercent) {
    Build();
    WaitForSample();
    const CZVTime end = page->GetTimeWindow()->GetEnd();
    PushAndWait(Answer(end, {80, 81}, {{PlusMinutes(end, -720), end}}), 2);
    EXPECT_EQ(page->PercentOfWindow(page->GetHistory().ranges[3]), 50);
}

TEST_F(PoolHistoryTest, ACutAnswerKeepsWhatCameBeforeTheCut) {
    Build();
    WaitForSample();
    const CZVTime end = page->GetTimeWindow()->GetEnd();
    samplegateway::Bytes payload = Answer(end, {80, 81, 82});
    // The first curve whole, the second's count and one point and a half.
    payload.resize(4 + 3 * 20 + 4 + 20 + 10);
    PushAndWait(payload, 3);
    EXPECT_EQ(page->GetHistory().series[1].size(), 1u);
    EXPECT_TRUE(page->GetHistory().series[3].empty());
    EXPECT_FALSE(page->IsLoading());
}

TEST_F(PoolHistoryTest, AnAnswerWhileInputIsBlockedIsKept) {
    Build();
    WaitForSample();
    window->SetModal(1);
    const CZVTime end = page->GetTimeWindow()->GetEnd();
    PushAndWait(Answer(end, {90, 91, 92, 93, 94}), 5);
    EXPECT_FALSE(page->IsLoading());
    EXPECT_TRUE(window->IsMenuReloadPending());
    window->SetModal(0);
}

TEST_F(PoolHistoryTest, TheSampleHistory) {
    Build();
    WaitForSample();
    EXPECT_EQ(page->GetValueMin(), 60);
    EXPECT_EQ(page->GetValueMax(), 110);
    EXPECT_TRUE(testsupport::MatchesGolden(testsupport::ImageOf(*window->GetScreen()), "pool_history"));
}

}  // namespace
