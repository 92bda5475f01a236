#pragma once
// The climate family under test: the shell's fixture with the home pages
// registered and the sample house served, messages built from payloads, and
// whole runs of the tablet that open the climate pages.
#include <memory>
#include <string>
#include <utility>

#include "core/zvmsg.h"
#include "sample_installation.h"
#include "vistrel/home/climate/climatelists.h"
#include "vistrel/home/climate/climatemodel.h"
#include "vistrel/home/climate/climatepages.h"
#include "vistrel/home/climate/zonepage.h"
#include "vistrel/home/homepages.h"
#include "vistrel/shell_fixture.h"

namespace climatetest {

using testsupport::Bytes;
using testsupport::PayloadWriter;

// The 8-bit text of a string.
inline std::string Ansi(CZVString text) { return text.GetAnsi(); }

// A message holding the payload, read from its start.
inline std::unique_ptr<CZVMSG> Message(uint16_t id, const Bytes& payload) {
    auto message = std::make_unique<CZVMSG>(0, id);
    message->WriteBytes(payload.data(), static_cast<int32_t>(payload.size()));
    message->ResetPosition();
    return message;
}

class ClimateTest : public vistreltest::ShellTest {
protected:
    void SetUp() override {
        RegisterHomePages();
        ResetTemperatureUnit();
        SetClimateZoneToShow(0);
        // Served before the connection, so the menu asked for on connecting comes from the house.
        testsupport::ServeSampleInstallation(gateway);
        Connect();
        // The menu and the gateway's clock are taken first: the pages' times are the gateway's.
        ASSERT_TRUE(Settle());
    }
    void TearDown() override { ResetTemperatureUnit(); }

    int Asked(uint16_t id) { return static_cast<int>(gateway.RequestsOf(id).size()); }
    // The last request of the id; an empty frame when there was none.
    testsupport::Frame LastRequest(uint16_t id) {
        const std::vector<testsupport::Frame> frames = gateway.RequestsOf(id);
        return frames.empty() ? testsupport::Frame{} : frames.back();
    }
};

// The whole tablet against the sample house, on the virtual clock, with the home pages registered.
class ClimateRun : public vistreltest::SampleHouseRun {
protected:
    explicit ClimateRun(testsupport::SampleInstallation sample = {}) : SampleHouseRun(std::move(sample)) {
        RegisterHomePages();
        ResetTemperatureUnit();
    }
    ~ClimateRun() override { ResetTemperatureUnit(); }

    // The zone page that the climate page shows, or null.
    static CHvacZonePage* ShownZonePage(CMainWnd& window) {
        auto* page = dynamic_cast<CClimatePage*>(window.GetCurrentPage());
        return page ? dynamic_cast<CHvacZonePage*>(page->GetContent()) : nullptr;
    }
};

}  // namespace climatetest
