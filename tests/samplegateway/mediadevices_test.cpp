// The sample house's media devices: the player's information and menu as two answers, its
// chapter list from the top asked for, and the notice every ten seconds to the controls
// registered for the player, paced on the virtual clock.
#include "samplegateway/mediadevices.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/messages/mediamessages.h"
#include "core/msgreader.h"
#include "samplegateway/house.h"
#include "samplegateway/pacer.h"
#include "support/gateway_session.h"

namespace {

constexpr int32_t kDevice = samplegateway::kMediaRoomDevice;

// Keeps a copy of every message that reaches its sink id.
class KeepingSink : public CSocketSink {
public:
    explicit KeepingSink(CZVServer& server) : CSocketSink(server) { server.RegisterSink(this); }
    ~KeepingSink() override { GetServer()->UnregisterSink(this); }
    void OnMessage(CZVMSG* message) override { received.push_back(message->Clone()); }
    std::vector<CZVMSG*> Of(uint16_t id) const {
        std::vector<CZVMSG*> of;
        for (const auto& message : received)
            if (message->GetId() == id) of.push_back(message.get());
        return of;
    }
    std::vector<std::unique_ptr<CZVMSG>> received;
};

class SampleDevices : public testsupport::GatewaySession {
protected:
    SampleDevices() {
        std::string error;
        auto house = samplegateway::House::Load(ZV_SAMPLE_HOUSE, &error);
        EXPECT_TRUE(house) << error;
        if (house) samplegateway::ServeMediaDevices(gateway.Engine(), *house, *pacer);
    }
    void SetUp() override { Connect(); }
    void Drain() {
        ASSERT_TRUE(testsupport::PollAllUntil(server, [this] {
            return !gateway.Owes() && !testsupport::AnswersWaiting(server) && !testsupport::RequestsOnTheirWay(server);
        }));
    }
    void Send(uint16_t id, std::vector<int32_t> values) {
        CZVMSG message(sink.GetId(), id);
        for (int32_t value : values) message.WriteInt(value);
        ASSERT_TRUE(server.Send(&message));
        ASSERT_TRUE(gateway.WaitForRequest(id));
        Drain();
    }
    void RunAt(uint32_t ms) {
        pacer->Run(start + ms);
        Drain();
    }
    // count, top and the row texts of a list answer.
    static std::vector<std::string> ListOf(CZVMSG* answer) {
        answer->ResetPosition();
        int32_t count = 0, top = 0, unused = 0;
        std::vector<std::string> read;
        if (!CMsgReader(*answer).Int(count).Int(top).Int(unused)) return read;
        read = {std::to_string(count), std::to_string(top)};
        for (std::string text; answer->ReadString(text);) read.push_back(text);
        return read;
    }

    std::shared_ptr<samplegateway::Pacer> pacer = std::make_shared<samplegateway::Pacer>();
    uint32_t start = 50000;
    KeepingSink sink{server};
};

TEST_F(SampleDevices, ThePlayerAnswersWithItsInformationThenItsMenu) {
    Send(ZVM_MEDIA_GETSOURCEINFOQ, {kDevice});
    const std::vector<CZVMSG*> answers = sink.Of(ZVM_MEDIA_GETSOURCEINFOA);
    ASSERT_EQ(answers.size(), 2u);
    int32_t status = -1, flag = -1, count = 0;
    std::string first, last;
    ASSERT_TRUE(CMsgReader(*answers[0]).Int(status).String(first).String(last).String(last).String(last).Int(flag));
    EXPECT_EQ(status, 0);
    EXPECT_EQ(first, "Media Room");
    EXPECT_EQ(flag, 0);
    answers[1]->ResetPosition();
    ASSERT_TRUE(CMsgReader(*answers[1]).Int(status).Int(count));
    EXPECT_EQ(status, 1);
    EXPECT_EQ(count, 5);
    // Another device has nothing to tell.
    Send(ZVM_MEDIA_GETSOURCEINFOQ, {kDevice + 1});
    EXPECT_EQ(sink.Of(ZVM_MEDIA_GETSOURCEINFOA).size(), 2u);
}

TEST_F(SampleDevices, TheChapterListAnswersSixRowsFromTheTopAskedFor) {
    Send(ZVM_MEDIA_GETLISTQ, {kDevice});
    Send(ZVM_MEDIA_SETLISTPOSITION, {kDevice, 37});
    Send(ZVM_MEDIA_SETLISTPOSITION, {kDevice, 500});
    Send(ZVM_MEDIA_GETLISTQ, {kDevice});
    const std::vector<CZVMSG*> answers = sink.Of(ZVM_MEDIA_GETLISTA);
    ASSERT_EQ(answers.size(), 4u);
    EXPECT_EQ(ListOf(answers[0]), (std::vector<std::string>{"40", "0", "Chapter 1", "Chapter 2", "Chapter 3",
                                                            "Chapter 4", "Chapter 5", "Chapter 6"}));
    EXPECT_EQ(ListOf(answers[1]), (std::vector<std::string>{"40", "37", "Chapter 38", "Chapter 39", "Chapter 40"}));
    EXPECT_EQ(ListOf(answers[2]), (std::vector<std::string>{"40", "39", "Chapter 40"}));
    // The top stays where it was moved.
    EXPECT_EQ(ListOf(answers[3]), (std::vector<std::string>{"40", "39", "Chapter 40"}));
}

TEST_F(SampleDevices, RegisteredControlsHearANoticeEveryTenSeconds) {
    RunAt(0);
    Send(ZVM_MEDIA_REGISTERSOURCE, {kDevice, sink.GetId()});
    RunAt(samplegateway::kDeviceNoticeMs - 1);
    EXPECT_TRUE(sink.Of(ZVM_MEDIA_GETSOURCEINFOA).empty());
    RunAt(samplegateway::kDeviceNoticeMs);
    ASSERT_EQ(sink.Of(ZVM_MEDIA_GETSOURCEINFOA).size(), 1u);
    int32_t status = -1, flag = 0;
    std::string line, notice;
    CZVMSG* pushed = sink.Of(ZVM_MEDIA_GETSOURCEINFOA)[0];
    pushed->ResetPosition();
    ASSERT_TRUE(
        CMsgReader(*pushed).Int(status).String(line).String(line).String(line).String(line).Int(flag).String(notice));
    EXPECT_EQ(status, 0);
    EXPECT_EQ(flag, 1);
    EXPECT_EQ(notice, "Playing");
    Send(ZVM_MEDIA_UNREGISTERSOURCE, {kDevice, sink.GetId()});
    RunAt(2 * samplegateway::kDeviceNoticeMs);
    EXPECT_EQ(sink.Of(ZVM_MEDIA_GETSOURCEINFOA).size(), 1u);
}

}  // namespace
