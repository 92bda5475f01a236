// The title requests as the gateway receives them.
#include "vistrel/media/audio/titlerequests.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/messages/mediamessages.h"
#include "vistrel/shell_fixture.h"

namespace {

using testsupport::PayloadWriter;

class TitleRequestsTest : public vistreltest::ShellTest {
protected:
    void SetUp() override { Connect(); }
};

TEST_F(TitleRequestsTest, EachRequestCarriesTheSinkAndItsPayload) {
    CSocketSink sink(server);
    const int s = sink.GetId();
    struct Case {
        std::function<int()> send;
        uint16_t id;
        testsupport::Bytes payload;
    };
    const Case cases[] = {
        {[&] { return SendGetTitles(sink, 7, 2); }, ZVM_MEDIA_GETTITLESQ, PayloadWriter().Int(7).Int(2)},
        {[&] { return SendTitlesCommand(sink, 7, 2, 5); }, ZVM_MEDIA_TITLESCOMMAND,
         PayloadWriter().Int(7).Int(1849).Int(0x00020005)},
        {[&] { return SendSubscribeTitles(sink, 7); }, ZVM_MEDIA_SUBSCRIBETITLES, PayloadWriter().Int(7).Int(s)},
        {[&] { return SendUnsubscribeTitles(sink, 7); }, ZVM_MEDIA_UNSUBSCRIBETITLES, PayloadWriter().Int(7).Int(s)},
        {[&] { return SendGetTitleState(sink, 7); }, ZVM_MEDIA_GETTITLESTATEQ, PayloadWriter().Int(7)},
        {[&] { return SendGetTitleList(sink, 7); }, ZVM_MEDIA_GETTITLELISTQ, PayloadWriter().Int(7)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.send(), 1);
        testsupport::Frame frame;
        ASSERT_TRUE(gateway.WaitForRequest(c.id, &frame));
        EXPECT_EQ(frame.payload, c.payload);
        EXPECT_EQ(frame.sender, s);
    }
}

}  // namespace
