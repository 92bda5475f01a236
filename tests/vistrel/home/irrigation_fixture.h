#pragma once
// The irrigation family under test: the shell's fixture with the home pages
// registered and the sample house served, and the requests the gateway saw
// read back as integers.
#include <cstdint>
#include <vector>

#include "climate_fixture.h"

namespace irrigationtest {

using climatetest::Bytes;
using climatetest::Message;
using climatetest::PayloadWriter;

class IrrigationTest : public climatetest::ClimateTest {
protected:
    // The leading integers of every request of the id, in order.
    std::vector<std::vector<int32_t>> Sent(uint16_t id) {
        std::vector<std::vector<int32_t>> sent;
        for (const testsupport::Frame& frame : gateway.RequestsOf(id)) sent.push_back(testsupport::IntsOf(frame));
        return sent;
    }
    // The gateway leaves requests of the id unanswered.
    void Silence(uint16_t id) {
        gateway.On(id, [](const testsupport::Frame&) { return std::vector<testsupport::Frame>{}; });
    }
};

}  // namespace irrigationtest
