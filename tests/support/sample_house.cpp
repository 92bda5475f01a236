#include "sample_house.h"

#include <string>
#include <utility>

namespace testsupport {
namespace {

constexpr Rgb kBandBlue = {40, 70, 110};
constexpr Rgb kWhite = {255, 255, 255};

ControlRecord Control(int32_t type, int32_t id, std::string text, int32_t x, int32_t y, int32_t w, int32_t h,
                      int8_t fontSize = 0) {
    ControlRecord r;
    r.type = type;
    r.id = id;
    r.text = std::move(text);
    r.x = x;
    r.y = y;
    r.width = w;
    r.height = h;
    r.attributes[0] = fontSize;
    return r;
}

std::vector<ControlRecord> LightingPanel() {
    return {Control(123, 201, "Porch Light", 0, 0, 3200, 9999, 16), Control(123, 202, "Hall", 3400, 0, 3200, 9999, 16),
            Control(173, 203, "Garage", 6800, 0, 3199, 9999, 16)};
}

std::vector<ControlRecord> ClimatePanel() {
    return {Control(149, 12, "", 0, 0, 4900, 9999), Control(149, 13, "", 5100, 0, 4899, 9999)};
}

Frame Reply(const Frame& request, uint16_t id, Bytes payload) { return Frame{request.sender, id, std::move(payload)}; }

}  // namespace

std::vector<SectionRecord> SampleHouseSections() { return {{0, 2999, {}}, {3000, 6399, kBandBlue}, {6400, 9999, {}}}; }

std::vector<ControlRecord> SampleHouseControls() {
    ControlRecord title = Control(100, 0, "Brenvik Residence", 300, 300, 4600, 1000, 28);
    title.textColor = kWhite;
    ControlRecord gate = Control(185, 3, "Gate", 4300, 4700, 1900, 1300);
    gate.attributes[7] = 7;
    ControlRecord panel = Control(127, 0, "", 6400, 3200, 3300, 3000);
    panel.faceColor = {60, 95, 140};
    panel.attributes[4] = 12;
    ControlRecord keypad = Control(147, 8, "", 6500, 6600, 3200, 3200);
    keypad.attributes[7] = 3;  // Enter and Cancel
    return {
        title,
        Control(107, 0, "", 300, 1400, 4600, 700, 18),
        Control(187, 0, "", 300, 2200, 2200, 600),
        Control(104, 0, "", 2600, 2200, 2300, 600),
        Control(113, 0, "garden.png", 5100, 300, 1800, 2400),
        Control(181, 0, "", 7100, 200, 2600, 2600),
        Control(101, 0, "Home", 300, 3300, 1900, 1100, 16),
        Control(102, 0, "Away", 2300, 3300, 1900, 1100, 16),
        Control(103, 0, "Vacation", 4300, 3300, 1900, 1100, 16),
        Control(123, 201, "Porch Light", 300, 4700, 1900, 1300, 16),
        Control(125, 301, "Fountain", 2300, 4700, 1900, 1300, 16),
        gate,
        panel,
        Control(149, 12, "", 6600, 3500, 2900, 1000),
        Control(171, 4200, "I_LOGO", 6600, 4800, 2900, 1200),
        Control(157, 7, "", 300, 6600, 3400, 3200),
        Control(124, 4100, "All Off", 3900, 6600, 2400, 1400, 16),
        Control(169, 2, "Chime", 3900, 8300, 2400, 1400, 16),
        keypad,
    };
}

Bytes SectionList(const std::vector<SectionRecord>& sections) {
    PayloadWriter out;
    out.Int(static_cast<int32_t>(sections.size()));
    for (const SectionRecord& s : sections)
        out.Int(s.top).Int(s.bottom).Int(s.colour.red).Int(s.colour.green).Int(s.colour.blue);
    return out;
}

void ServeSampleHouse(FakeGateway& gateway) {
    gateway.Answer(0x2591, SectionList(SampleHouseSections()));
    gateway.Answer(0x2595, ControlList(SampleHouseControls()));
    gateway.On(0x25AB, [](const Frame& request) {
        PayloadReader in(request.payload);
        int32_t panel = 0;
        in.Int(&panel);
        const std::vector<ControlRecord> controls =
            panel == 1 ? LightingPanel() : panel == 4 ? ClimatePanel() : std::vector<ControlRecord>{};
        return std::vector<Frame>{Reply(request, 0x25AC, ControlList(controls))};
    });
    for (const std::pair<uint16_t, uint16_t>& ids : {std::pair<uint16_t, uint16_t>{0x25A1, 0x25A2}, {0x3AE4, 0x3AE5},
                                                    {0x3AE6, 0x3AE7}})
        gateway.On(ids.first, [answer = ids.second](const Frame& request) {
            PayloadReader in(request.payload);
            int32_t object = 0;
            in.Int(&object);
            return std::vector<Frame>{Reply(request, answer,  // everything starts off
                                                   PayloadWriter().Int(object).Int(0))};
        });
    gateway.On(0x0074, [](const Frame& request) {
        return std::vector<Frame>{Frame{kEverySink, 0x0074, request.payload}};
    });
    gateway.On(0x3AE2, [](const Frame& request) {
        return std::vector<Frame>{Frame{kEverySink, 0x3A9A, request.payload}};
    });
    gateway.On(0x2727, [](const Frame&) { return std::vector<Frame>{}; });
}

}  // namespace testsupport
