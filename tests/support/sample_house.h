#pragma once
// The sample house: the home page, gateway panels and check states that the
// sample installation's gateway serves to the tablet. The layout is the same
// for every layout type; coordinates are page units (0..9999).
#include <vector>

#include "control_records.h"
#include "fake_gateway.h"

namespace testsupport {

struct SectionRecord {
    int32_t top;
    int32_t bottom;
    Rgb colour;  // 0: the page's face, darkened
};

// The home page's three bands and its controls.
std::vector<SectionRecord> SampleHouseSections();
std::vector<ControlRecord> SampleHouseControls();
// The section answer: a count, then top, bottom and colour of each band.
Bytes SectionList(const std::vector<SectionRecord>& sections);

// Serves the home page (0x2591, 0x2595), the panels (0x25AB: 1 lighting,
// 4 climate) and the check states (0x25A1, 0x3AE4, 0x3AE6; 0x0074 echoed to
// every sink, 0x3AE2 followed by a 0x3A9A notice, 0x2727 taken silently).
void ServeSampleHouse(FakeGateway& gateway);

}  // namespace testsupport
