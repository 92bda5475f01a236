// The intercom: button widths, the talk gain, the recorded buffers as mu-law messages with one
// held back, the station list's "All" row, which windows an AUDIOSTART ends, TALKSTATE on a
// station and on all stations, the failures that send nothing, the list while a row talks, and
// the unseen window that answers an incoming call.
#include <gtest/gtest.h>

#include <algorithm>

#include "av/audioplayer.h"
#include "av/mulaw.h"
#include "calendar_fixture.h"
#include "core/messages/mediamessages.h"
#include "samplegateway/intercom.h"
#include "support/golden.h"
#include "support/null_wave.h"
#include "vistrel/media/intercom/intercomlist.h"
#include "vistrel/media/intercom/talklisten.h"
#include "widgets/buttons/zv3dbutton.h"

namespace {

using mediatest::InfoPanelTest;

constexpr int kBufferBytes = 882;  // 40 ms of the talk format
constexpr int16_t kSignal = 3270;  // level 10, gain 7

TEST(TalkGain, BringsTheLevelTowardsSeventyFive) {
    for (auto [level, gain] : {std::pair{30, 2}, {5, 10}, {80, 1}, {75, 1}, {1, 10}, {0, 0}})
        EXPECT_EQ(TalkGainFor(level), gain) << level;
}

class IntercomTest : public InfoPanelTest {
protected:
    CTalkListenWnd* Control(int station, CZVRect rect = CZVRect(120, 10, 300, 40)) {
        auto* control = new CTalkListenWnd(window.get(), nullptr, rect, server, station, 0, 0, 2, 6, 14, "",
                                           CTalkListenWnd::kControlType, &device);
        window->AddChild(control);
        return control;
    }
    CIntercomButton* List(CZVRect rect = CZVRect(120, 60, 400, 300)) {
        auto* list = new CIntercomButton(window.get(), rect, server, 20, 0, 0, &device);
        window->AddChild(list);
        return list;
    }
    static samplegateway::Bytes Stations(int count) {
        samplegateway::PayloadWriter out;
        out.Int(count);
        for (int i = 0; i < count; ++i) out.Int(5 + i).String("Station " + std::to_string(5 + i));
        return out;
    }
    void Push(uint16_t id, std::initializer_list<int32_t> values, uint16_t sender = samplegateway::kEverySink) {
        samplegateway::PayloadWriter out;
        for (int32_t v : values) out.Int(v);
        gateway.Push(id, out, sender);
    }
    void PushAudioStart(int32_t station) {
        samplegateway::PayloadWriter out;
        out.Int(station);
        const uint8_t format[platform::WaveFormat::kWireSize] = {};
        out.Raw(format, sizeof format);
        gateway.Push(ZVM_INTERCOM_AUDIOSTART, out);
    }
    void AddBuffers(CTalkListenWnd* control, int count) {
        const std::vector<uint8_t> bytes(kBufferBytes, 0x10);
        for (int i = 0; i < count; ++i) control->GetTalkStream().AddCopy(bytes.data(), kBufferBytes);
    }

    testsupport::NullWaveBackend backend;
    CWavDevice device;
};

TEST_F(IntercomTest, ButtonsTakeAThirdOfTheWidthUpToFifty) {
    EXPECT_EQ(Control(0, CZVRect(120, 10, 120, 40))->GetTalkButton()->GetWidth(), 40);
    CTalkListenWnd* wide = Control(5, CZVRect(120, 60, 300, 40));
    EXPECT_EQ(wide->GetTalkButton()->GetWidth(), 50);
    EXPECT_EQ(wide->GetListenButton()->GetWidth(), 50);
    EXPECT_EQ(Control(0)->GetListenButton(), nullptr);
}

TEST_F(IntercomTest, ThreeRecordedBuffersSendTwoMessagesOf441Bytes) {
    CTalkListenWnd* control = Control(0);
    ASSERT_TRUE(Settle());
    control->OnCommand(CTalkListenWnd::kTalkPressed);
    ASSERT_EQ(control->GetState(), CTalkListenWnd::kTalking);
    AddBuffers(control, 3);
    control->OnIdle(0);
    EXPECT_EQ(control->GetTalkStream().GetCount(), 1);
    const auto sent = Requests(ZVM_INTERCOM_AUDIODATA);
    ASSERT_EQ(sent.size(), 2u);
    for (const samplegateway::Bytes& payload : sent) {
        samplegateway::PayloadReader in(payload);
        int32_t count = 0;
        ASSERT_TRUE(in.Int(&count));
        EXPECT_EQ(count, 441);
        EXPECT_EQ(payload.size(), 4u + 444u);
    }
    const auto started = Requests(ZVM_INTERCOM_STARTTALK);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].size(), 28u);  // the format padded to 20, the type, the station
    control->OnCommand(CTalkListenWnd::kTalkReleased);
    EXPECT_EQ(Requests(ZVM_INTERCOM_STOPTALK).size(), 1u);
}

TEST_F(IntercomTest, RecordedSamplesReachTheGatewayAsTheirMuLawCodes) {
    backend.SetInputSignal([](uint64_t) { return kSignal; });
    CTalkListenWnd* control = Control(0);
    ASSERT_TRUE(Settle());
    control->OnCommand(CTalkListenWnd::kTalkPressed);
    backend.FillAll();
    device.Poll();
    ASSERT_GE(control->GetTalkStream().GetCount(), 2);
    const int gain = TalkGainFor(device.GetLevel());
    EXPECT_EQ(gain, 7);
    control->OnIdle(0);
    const auto sent = Requests(ZVM_INTERCOM_AUDIODATA);
    ASSERT_FALSE(sent.empty());
    const uint8_t code = EncodeMuLaw(static_cast<int16_t>(kSignal * gain));
    for (const samplegateway::Bytes& payload : sent) {
        samplegateway::PayloadReader in(payload);
        int32_t count = 0;
        ASSERT_TRUE(in.Int(&count));
        samplegateway::Bytes codes(static_cast<size_t>(count));
        ASSERT_TRUE(in.Raw(codes.data(), codes.size()));
        EXPECT_TRUE(std::all_of(codes.begin(), codes.end(), [&](uint8_t c) { return c == code; }));
    }
    control->OnCommand(CTalkListenWnd::kTalkReleased);
}

TEST_F(IntercomTest, TalkWhileTheDeviceRecordsSendsNothing) {
    CAStream other;
    other.GetFormat() = device.GetRecordStream()->GetFormat();
    CTalkListenWnd* first = Control(0);
    CTalkListenWnd* second = Control(0, CZVRect(120, 60, 300, 40));
    ASSERT_TRUE(Settle());
    first->OnCommand(CTalkListenWnd::kTalkPressed);
    second->OnCommand(CTalkListenWnd::kTalkPressed);
    EXPECT_EQ(second->GetState(), CTalkListenWnd::kIdle);
    EXPECT_EQ(Requests(ZVM_INTERCOM_STARTTALK).size(), 1u);
    first->OnCommand(CTalkListenWnd::kTalkReleased);
}

TEST_F(IntercomTest, TheAllRowComesOnlyWithSeveralStations) {
    for (auto [stations, rows] : {std::pair{1, 1}, {2, 3}, {0, 0}}) {
        gateway.Answer(ZVM_INTERCOM_GETSTATIONQ, Stations(stations));
        CIntercomButton* list = List();
        ASSERT_TRUE(Settle());
        ASSERT_EQ(list->GetRowCount(), rows) << stations;
        if (rows > 1) {
            EXPECT_EQ(list->GetRowWindow(0)->GetStation(), CTalkListenWnd::kAllStations);
            EXPECT_EQ(list->GetRowWindow(1)->GetStation(), 5);
        }
        window->RemoveChild(list);
        delete list;
    }
}

TEST_F(IntercomTest, AudioStartEndsTalkOnAllAndItsStationOnly) {
    CIntercomButton* list = List();
    ASSERT_TRUE(Settle());
    ASSERT_EQ(list->GetRowCount(), 4);  // All, Kitchen 5, Garage 6, Front Door 7
    CTalkListenWnd* all = list->GetRowWindow(0);
    CTalkListenWnd* kitchen = list->GetRowWindow(1);
    CTalkListenWnd* garage = list->GetRowWindow(2);
    garage->OnCommand(CTalkListenWnd::kTalkPressed);
    ASSERT_EQ(garage->GetState(), CTalkListenWnd::kTalking);
    PushAudioStart(5);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(all->GetState(), CTalkListenWnd::kListening);
    EXPECT_EQ(kitchen->GetState(), CTalkListenWnd::kListening);
    EXPECT_EQ(garage->GetState(), CTalkListenWnd::kTalking);
    list->OnCommand(CTalkListenWnd::kTalkReleased);
    EXPECT_EQ(garage->GetState(), CTalkListenWnd::kIdle);
    kitchen->OnCommand(CTalkListenWnd::kTalkPressed);
    PushAudioStart(5);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(kitchen->GetState(), CTalkListenWnd::kListening);
    EXPECT_EQ(Requests(ZVM_INTERCOM_STOPTALK).size(), 2u);
    Push(ZVM_INTERCOM_AUDIOSTOP, {});
    ASSERT_TRUE(Settle());
    EXPECT_EQ(kitchen->GetState(), CTalkListenWnd::kIdle);
    EXPECT_EQ(all->GetState(), CTalkListenWnd::kIdle);
}

TEST_F(IntercomTest, TalkStateDisablesTalkOnAStationOnly) {
    CTalkListenWnd* garage = Control(samplegateway::kUnavailableStation);
    CTalkListenWnd* every = Control(0, CZVRect(120, 60, 300, 40));
    ASSERT_TRUE(Settle());
    // The station control asked for its state at its first idle step.
    EXPECT_EQ(Requests(ZVM_INTERCOM_COMMAND).size(), 1u);
    EXPECT_FALSE(garage->GetTalkButton()->IsEnabled());
    Push(ZVM_INTERCOM_TALKSTATE, {1}, garage->GetId());
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(garage->GetTalkButton()->IsEnabled());
    EXPECT_TRUE(garage->GetListenButton()->IsEnabled());
    Push(ZVM_INTERCOM_TALKSTATE, {0}, garage->GetId());
    Push(ZVM_INTERCOM_TALKSTATE, {0}, every->GetId());
    ASSERT_TRUE(Settle());
    EXPECT_FALSE(garage->GetTalkButton()->IsEnabled());
    EXPECT_FALSE(garage->GetListenButton()->IsEnabled());
    EXPECT_TRUE(every->GetTalkButton()->IsEnabled());
}

TEST_F(IntercomTest, ReleasingListenEndsOnlyTheCallThatWasBegun) {
    CIntercomButton* list = List();
    ASSERT_TRUE(Settle());
    list->SelectIndex(3, 0);
    list->OnCommand(CTalkListenWnd::kListenPressed);
    list->OnCommand(CTalkListenWnd::kListenReleased);
    const auto begun = Requests(ZVM_INTERCOM_INCOMINGCALL);
    const auto ended = Requests(ZVM_INTERCOM_ENDCALL);
    ASSERT_EQ(begun.size(), 1u);
    ASSERT_EQ(ended.size(), 1u);
    EXPECT_EQ(ended[0], begun[0]);
    list->OnCommand(CTalkListenWnd::kListenReleased);
    EXPECT_EQ(Requests(ZVM_INTERCOM_ENDCALL).size(), 1u);
}

TEST_F(IntercomTest, TheListWhileARowTalks) {
    backend.SetInputSignal([](uint64_t i) { return static_cast<int16_t>(i % 2 ? 16000 : -16000); });
    CIntercomButton* list = List();
    ASSERT_TRUE(Settle());
    list->SelectIndex(1, 0);
    list->OnCommand(CTalkListenWnd::kTalkPressed);
    backend.FillAll();
    device.Poll();
    clock.Advance(CTalkListenWnd::kLevelInterval);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(list->GetRowWindow(1)->GetLevel(), 48);
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(list), "vistrel_intercom_talking"));
    list->OnCommand(CTalkListenWnd::kTalkReleased);
}

TEST_F(IntercomTest, AnIncomingCallIsAnsweredByAnUnseenWindowUntilItEnds) {
    CGatewayAudioPlayer player{server};
    ASSERT_TRUE(Settle());
    Push(ZVM_INTERCOM_INCOMINGCALL, {samplegateway::kIntercomCaller});
    ASSERT_TRUE(SettleUntil([&] { return window->GetIntercomCall() != nullptr; }));
    // Not in the tree: nothing of it is drawn or touched.
    EXPECT_FALSE(window->GetChildren().Contains(window->GetIntercomCall()));
    const auto started = Requests(ZVM_INTERCOM_STARTTALK);
    ASSERT_EQ(started.size(), 1u);
    samplegateway::PayloadReader in(started[0]);
    uint8_t format[20];
    int32_t type = 0, station = 0;
    ASSERT_TRUE(in.Raw(format, sizeof format) && in.Int(&type) && in.Int(&station));
    EXPECT_EQ(type, CTalkListenWnd::kRowType);
    EXPECT_EQ(station, samplegateway::kIntercomCaller);
    Push(ZVM_INTERCOM_ENDCALL, {samplegateway::kIntercomCaller});
    ASSERT_TRUE(SettleUntil([&] { return window->GetIntercomCall() == nullptr; }));
    EXPECT_EQ(Requests(ZVM_INTERCOM_STOPTALK).size(), 1u);
    EXPECT_FALSE(player.IsInputOpen());
}

}  // namespace
