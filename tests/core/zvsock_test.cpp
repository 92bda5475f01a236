#include "core/zvsock.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include "platform/program.h"
#include "platform/settings.h"
#include "support/temp_dir.h"

namespace {

class NetSettings : public testing::Test {
protected:
    NetSettings() { platform::SetProgramName("basinsetup"); }
    ~NetSettings() override {
        SetNetConfig(saved_);
        platform::SetProgramName(previousName_);
    }

    const ZVNetConfig saved_ = GetNetConfig();
    const std::string previousName_ = platform::GetProgramName();
    testsupport::TempDir dir_;
    testsupport::ScopedEnv config_{"ZAVORO_CONFIG_DIR", dir_.Path().c_str()};
};

TEST_F(NetSettings, SettingsReplaceTheDefaultsThatTheyHoldValidly) {
    SetNetConfig(ZVNetConfig{});
    LoadNetConfig();
    EXPECT_EQ(GetNetConfig().serviceHost, "service.zavoro.com");
    EXPECT_EQ(GetNetConfig().addressServerPort, 80);
    EXPECT_EQ(GetNetConfig().relayPort, 7576);

    ASSERT_TRUE(platform::WriteSettingString("Network", "ServiceHost", "relay.example"));
    ASSERT_TRUE(platform::WriteSettingInt("Network", "AddressServerPort", 8080));
    ASSERT_TRUE(platform::WriteSettingInt("Network", "RelayPort", 70000));
    ASSERT_TRUE(platform::WriteSettingInt("Network", "SearchPort", 0));
    ASSERT_TRUE(platform::WriteSettingInt("Network", "KeepAlivePort", 4530));
    ASSERT_TRUE(platform::WriteSettingString("Network", "BroadcastAddress", "192.168.1.255"));
    LoadNetConfig();
    const ZVNetConfig& config = GetNetConfig();
    EXPECT_EQ(config.serviceHost, "relay.example");
    EXPECT_EQ(config.addressServerPort, 8080);
    EXPECT_EQ(config.relayPort, 7576);
    EXPECT_EQ(config.searchPort, 444);
    EXPECT_EQ(config.keepAlivePort, 4530);
    EXPECT_EQ(config.gatewayPort, 80);
    EXPECT_EQ(config.broadcastAddress, inet_addr("192.168.1.255"));
}

}  // namespace
