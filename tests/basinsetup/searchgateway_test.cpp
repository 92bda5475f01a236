#include "basinsetup/searchgateway.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include "core/zvsock.h"
#include "platform/settings.h"
#include "support/net_config_sandbox.h"
#include "support/search_responder.h"
#include "support/temp_dir.h"
#include "support/virtual_clock.h"

namespace {

class Progress : public CSearchProgress {
public:
    void SetProgress(int percent) override { shown.push_back(percent); }
    std::vector<int> shown;
};

// The search aimed by the settings at a few loopback addresses and the responder's port.
class SubnetSearch : public ::testing::Test {
protected:
    SubnetSearch() {
        ZVNetConfig config = m_sandbox.Saved();
        config.searchPort = responder.Port();
        SetNetConfig(config);
        EXPECT_TRUE(platform::WriteSettingString("GatewaySearch", "Subnet", "127.0.0.0/30"));
    }

    testsupport::NetConfigSandbox m_sandbox{"basinsetup"};
    testsupport::SearchResponder responder;
    Progress progress;
};

testsupport::GatewayRecord Record(uint8_t kind, uint8_t model) {
    testsupport::GatewayRecord record;
    record.address = "10.9.9.9";  // not used: the answer's source counts
    record.port = 4321;
    record.kind = kind;
    record.sub_kind = model;
    record.name = "Pool";
    return record;
}

TEST_F(SubnetSearch, FindsThePoolGatewayAtTheAnswersSource) {
    responder.AddReply({Record(1, 0), Record(2, 12)});
    EXPECT_EQ(FindLocalGateways(&progress), htonl(INADDR_LOOPBACK));
    EXPECT_EQ(responder.Requests(), 1);  // one probe reached 127.0.0.1
    ASSERT_FALSE(progress.shown.empty());
    EXPECT_LE(progress.shown.back(), 100);
}

TEST_F(SubnetSearch, OtherKindsAreNotTaken) {
    testsupport::VirtualClock clock;
    responder.AddReply({Record(1, 12), Record(6, 0), Record(7, 12), Record(2, 11)});
    EXPECT_EQ(FindLocalGateways(&progress), 0u);
    EXPECT_GE(clock.TotalSlept(), kSearchTime);
    for (size_t i = 1; i < progress.shown.size(); ++i) EXPECT_LE(progress.shown[i - 1], progress.shown[i]);
}

// Each datagram is read on its own: the two pieces of a record sent in two
// datagrams are no record, and a whole record after them is still found.
TEST_F(SubnetSearch, ARecordSplitOverTwoDatagramsIsNotJoined) {
    const testsupport::Bytes pool = testsupport::EncodeRecords({Record(2, 12)});
    ASSERT_EQ(pool.size(), 40u);
    responder.AddRawReply(testsupport::Bytes(pool.begin(), pool.begin() + 20));
    responder.AddRawReply(testsupport::Bytes(pool.begin() + 20, pool.end()));
    {
        testsupport::VirtualClock clock;
        EXPECT_EQ(FindLocalGateways(&progress), 0u);
        EXPECT_GE(clock.TotalSlept(), kSearchTime);
    }

    responder.AddReply({Record(2, 12)});
    EXPECT_EQ(FindLocalGateways(&progress), htonl(INADDR_LOOPBACK));
}

TEST_F(SubnetSearch, LargeSubnetIsCutToTheBlockOfTheAddress) {
    ASSERT_TRUE(platform::WriteSettingString("GatewaySearch", "Subnet", "10.1.2.3/16"));
    CSearchTargets targets;
    ASSERT_TRUE(GetSearchTargets(targets));
    EXPECT_EQ(targets.first, 0x0A010200u);
    EXPECT_EQ(targets.last, 0x0A0102FFu);
    EXPECT_EQ(targets.port, responder.Port());
}

TEST_F(SubnetSearch, MachineInterfaceIsNeverLoopback) {
    testsupport::ScopedEnv other{"ZAVORO_CONFIG_DIR", (m_sandbox.SettingsDir() + "/none").c_str()};
    CSearchTargets targets;
    if (GetSearchTargets(targets)) {
        EXPECT_NE(targets.first >> 24, 127u);
    }
}

}  // namespace
