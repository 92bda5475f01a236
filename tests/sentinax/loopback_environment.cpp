// For the whole test program, the monitor's discovery service is a loopback
// fake, and a lookup of any name but a dotted address or "localhost" fails
// the test that made it: no test asks a name server.
#include <gtest/gtest.h>

#include <memory>

#include "core/zvsock.h"
#include "sentinax/discoveryclient.h"
#include "sentinax/hostlookup.h"
#include "support/fake_discovery.h"

namespace {

bool OnlyLocalNames(const std::string& name) {
    if (name.empty() || name == "localhost" || IsDottedQuad(name)) return true;
    ADD_FAILURE() << "A test looked up the host name \"" << name << "\"";
    return false;
}

class LoopbackEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        SetHostLookupGuard(&OnlyLocalNames);
        m_discovery = std::make_unique<testsupport::FakeDiscovery>();
        CDiscoveryConfig config;
        config.host = "127.0.0.1";
        config.port = m_discovery->Port();
        SetDiscoveryConfig(config);
    }
    void TearDown() override { m_discovery.reset(); }

private:
    std::unique_ptr<testsupport::FakeDiscovery> m_discovery;
};

[[maybe_unused]] const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new LoopbackEnvironment);

}  // namespace
