#pragma once
// The security family under test: the shell's fixture with the home pages
// registered and the sample house served, and partition records built as
// the gateway sends them.
#include <memory>
#include <string>

#include "climate_fixture.h"
#include "vistrel/home/security/securitymodel.h"

namespace securitytest {

using climatetest::Bytes;
using climatetest::Message;
using climatetest::PayloadWriter;

struct Mode {
    uint8_t value;
    uint8_t shown;
    uint8_t withoutCode;
    uint8_t codeLength;
    std::string name;
};

// A partition record: name, id 1, area 1, the flags, the modes and zones {id, name}.
inline Bytes Record(std::vector<Mode> modes, std::vector<std::pair<int32_t, std::string>> zones, int32_t keypad = 1,
                    int32_t bypass = 1) {
    PayloadWriter w;
    w.String("House").Int(1).Int(1).Int(0).Int(keypad).Int(bypass).Int(static_cast<int32_t>(modes.size()));
    for (const Mode& m : modes) w.Byte(m.value).Byte(m.shown).Byte(m.withoutCode).Byte(m.codeLength).String(m.name);
    w.Int(static_cast<int32_t>(zones.size()));
    for (const auto& [id, name] : zones) w.Int(id).String(name).Int(0);
    return w;
}

inline CSecurityRecord ReadRecord(const Bytes& payload) {
    CSecurityRecord record;
    ReadSecurityRecord(*Message(0x0443, payload), &record);
    return record;
}

// A status answer: lines, {zone, state} pairs and the status word.
inline Bytes Status(std::vector<std::string> lines, std::vector<std::pair<int32_t, int32_t>> zones, int32_t word) {
    PayloadWriter w;
    w.Int(static_cast<int32_t>(lines.size()));
    for (const std::string& line : lines) w.String(line);
    w.Int(static_cast<int32_t>(zones.size()));
    for (const auto& [id, state] : zones) w.Int(id).Int(state);
    return w.Int(word);
}

// The sample's four shown modes and a hidden one, and five zones.
inline Bytes HouseRecord(int32_t keypad = 1, int32_t bypass = 1) {
    return Record({{0, 1, 0, 4, "Disarm"},
                   {1, 1, 0, 4, "Stay"},
                   {2, 1, 0, 4, "Away"},
                   {3, 1, 1, 0, "Instant"},
                   {4, 0, 0, 4, "Maximum"}},
                  {{1, "Front Door"}, {2, "Back Door"}, {3, "Kitchen Window"}, {4, "Hall Motion"}, {5, "Garage Entry"}},
                  keypad, bypass);
}

class SecurityTest : public climatetest::ClimateTest {
protected:
    // A listener that counts the status changes it is told of.
    class Listener : public CZVWindow {
    public:
        Listener() : CZVWindow(nullptr, CZVRect(0, 0, 10, 10), 0) {}
        int OnCommand(int id) override {
            changes += id == kSecurityStatusChanged;
            return 1;
        }
        int changes = 0;
    };
    // Delivers the status answer to the partition as the gateway would.
    static void Deliver(CSecurityPartition& partition, const Bytes& status) {
        partition.OnMessage(Message(0x03F6, status).get());
    }
};

}  // namespace securitytest
