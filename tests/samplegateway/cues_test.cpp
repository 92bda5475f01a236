// The sample gateway's cues: an offered program comes whole through the
// tablet's downloader, in chunks, and typed commands push their notices.
#include "samplegateway/cues.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "core/downloader.h"
#include "core/messages/shellmessages.h"
#include "support/gateway_session.h"
#include "support/temp_dir.h"

namespace {

class Cues : public testsupport::GatewaySession {};

TEST_F(Cues, AnOfferedProgramComesWholeThroughTheDownloader) {
    testsupport::TempDir dir;
    std::string program(3 * 65536 + 17, '\0');
    for (size_t i = 0; i < program.size(); ++i) program[i] = static_cast<char>(i * 7);
    std::ofstream(dir.File("offered"), std::ios::binary) << program;
    ASSERT_TRUE(samplegateway::OfferProgramUpdate(gateway.Engine(), dir.File("offered")));
    EXPECT_FALSE(samplegateway::OfferProgramUpdate(gateway.Engine(), dir.File("missing")));
    Connect();
    CFileDownloader downloader(server, nullptr, dir.File("received"));
    CZVMSG request(downloader.GetId(), ZVM_UPDATE_GETTABLETFILEQ);
    request.WriteInt(0);
    ASSERT_EQ(downloader.Download(&request), 1);
    std::stringstream received;
    received << std::ifstream(dir.File("received"), std::ios::binary).rdbuf();
    EXPECT_EQ(received.str(), program);
}

TEST_F(Cues, TypedCommandsPushTheirNotices) {
    testsupport::RecordingSink sink(server, "main", &log);
    ASSERT_TRUE(server.RegisterSink(&sink));
    Connect();
    EXPECT_TRUE(samplegateway::RunCue(gateway.Engine(), "update"));
    EXPECT_TRUE(samplegateway::RunCue(gateway.Engine(), "web http://pool.example/"));
    EXPECT_FALSE(samplegateway::RunCue(gateway.Engine(), "reboot"));
    for (const char* broken : {"push", "push 0x10000", "push 0x0078 \"open", "push 0x0077 1x", "push \"a\""})
        EXPECT_FALSE(samplegateway::RunCue(gateway.Engine(), broken)) << broken;
    EXPECT_TRUE(samplegateway::RunCue(gateway.Engine(), "push 0x0078 \"Kitchen\""));
    EXPECT_TRUE(samplegateway::RunCue(gateway.Engine(), "push 0x3CAC 2 -7"));
    const std::vector<std::string> wanted = {
        "main:" + std::to_string(ZVM_SYSCONFIG_PREPAREUPDATE), "main:" + std::to_string(ZVM_UI_SETPAGEVARIABLE),
        "main:" + std::to_string(ZVM_TABLET_IDENTIFY), "main:" + std::to_string(ZVM_TABLET_SHOWPAGE)};
    EXPECT_TRUE(testsupport::PollAllUntil(server, [&] {
        std::vector<std::string> messages;
        for (const std::string& entry : log)
            if (entry.find(":up") == std::string::npos) messages.push_back(entry);
        return messages == wanted;
    }));
    server.UnregisterSink(&sink);
}

}  // namespace
