#pragma once
// The installation a sample gateway serves, read from a house file (samplehouse.ini): the
// answers it gives by request id, each a list of typed fields.
//
//   # comment                      to the end of the line, outside quotes
//   switch layout4 on              a switch, in the file's head, that `when` lines test
//   [answer 0x1FB8 versions]       the answer to request 0x1FB8, sent as 0x1FB9
//   i32 2 7                        32-bit little-endian values (also -5, 0x7F)
//   u16 2011                       16-bit values
//   u8 0x40 1                      single bytes
//   string "4.1 \"Rel\"\x80"       a counted string padded to 4 bytes (escapes \" \\ \xHH)
//   block 8 01 81 @6 FF            a counted block of 8 bytes, given in hex from the front or
//                                  from @position on, the rest zeros, padded to 4 bytes
//   count menu                     the number of records of list menu, as a 32-bit value
//   i32 adapter_type 2             a named value, which tests may replace by its name
//   list menu i32 string           a count, then records of these types, one a line, until
//     0 "Home"                     `end`
//   end
//   when layout4 ... end           what lies between is sent only while the switch is on
//   when not layout4 ... end       ... only while it is off
//   [slice 0x3111 names]           one list; the request {i32, start, count} gets the count
//                                  and the records asked for, as far as they go
//   [keyed 0x25AB 1 lighting]      the answer to request 0x25AB whose first i32 is 1; a
//                                  request with another key gets the [answer 0x25AB], if any
//   [keyed 0x30F4 0 0 tablet]      keyed by the first two i32s; it goes before an answer keyed
//                                  by the first one only
//
// A file that breaks a rule is refused with the number of the first line that does.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "samplegateway/wire.h"

namespace samplegateway {

class Gateway;

enum class FieldType { kI32, kU16, kU8, kString, kBlock, kCount };

// A field's value: a number, or a text (a string's, or the list a count counts).
using Value = std::variant<int64_t, std::string>;

// Whether the value can stand in a field of the type: a number in the type's range for i32
// (-2^31 up to 2^32 - 1, read as bits), u16 and u8, a text for a string.
bool Fits(FieldType type, const Value& value);
// The bytes the field takes in a payload (a count: 4).
size_t WireSize(FieldType type, const Value& value, const Bytes& block);

struct Field {
    FieldType type = FieldType::kI32;
    Value value = int64_t{0};
    Bytes block;
    std::string name;  // empty unless tests may replace the value
};

// One field, or one list of records, of an answer.
struct Item {
    int line = 0;
    std::string when;     // the switch it depends on, if any
    bool unless = false;  // sent while that switch is off
    bool is_list = false;
    Field field;
    std::string list_name;
    std::vector<FieldType> layout;
    std::vector<std::vector<Field>> records;
};

struct Answer {
    int line = 0;
    bool slice = false;
    std::vector<Item> items;
};

struct HouseError {
    int line = 0;  // 0: the file as a whole
    std::string message;
};

class House {
public:
    // Limits of a house file.
    static constexpr size_t kMaxFileSize = 1 << 20;
    static constexpr size_t kMaxLineLength = 4096;
    static constexpr int64_t kMaxBlockSize = 65536;
    static constexpr size_t kMaxPayload = 1000000;

    // Reads a house file's text; on failure fills *error and returns nothing.
    static std::optional<House> Read(std::string_view text, HouseError* error);
    // Reads the file; errors read "<path>:<line>: <message>".
    static std::optional<House> Load(const std::string& path, std::string* error);

    // Puts a value in place of every named value of that name; false when there is none or it
    // does not fit one of them.
    bool Set(const std::string& name, const Value& value);
    bool SetSwitch(const std::string& name, bool on);
    // Whether the switch is on; false for a switch the file does not have.
    bool IsOn(const std::string& name) const;
    // Puts these records in place of the list's; false when the list is unknown or a record
    // does not fit its layout.
    bool SetList(const std::string& name, const std::vector<std::vector<Value>>& records);
    // Puts the value into the field at column of the list's records whose first field is key;
    // false when there is no such record or the value does not fit.
    bool SetRecordField(const std::string& name, int64_t key, size_t column, const Value& value);
    // Takes the list's record whose first field is key out; false when there is none.
    bool RemoveRecord(const std::string& name, int64_t key);

    std::vector<uint16_t> Ids() const;
    // The answer's payload for a request without arguments; empty for an unknown id.
    Bytes Payload(uint16_t id) const;
    // What the gateway sends back for the request: nothing for an unknown id.
    std::vector<Frame> Respond(const Frame& request) const;

private:
    friend class HouseReader;

    bool On(const Item& item) const;
    // The list of that name, in any answer; null when there is none.
    Item* List(const std::string& name);
    const Item* List(const std::string& name) const;
    // The answer the request gets: the one of its key, else the request id's.
    const Answer* Find(const Frame& request) const;
    Bytes PayloadOf(const Answer& answer) const;
    void Write(PayloadWriter& out, const Field& field) const;
    void WriteRecords(PayloadWriter& out, const Item& list, size_t first, size_t count) const;
    Bytes Slice(const Answer& answer, const Frame& request) const;

    std::map<std::string, bool> m_switches;
    std::map<uint16_t, Answer> m_answers;
    // By request id and the request's first i32s (one or two).
    std::map<std::pair<uint16_t, std::vector<int32_t>>, Answer> m_keyed;
};

class Pacer;

// Scripts the gateway to give every answer of the house, and to keep the states of its on/off
// objects (ServeToggles). What it sends as time passes waits for the pacer to be run.
std::shared_ptr<Pacer> Serve(Gateway& gateway, const House& house);

}  // namespace samplegateway
