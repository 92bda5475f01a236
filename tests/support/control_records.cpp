#include "control_records.h"

namespace testsupport {

void WriteControl(PayloadWriter& out, const ControlRecord& r) {
    out.Int(r.type).Int(r.id).String(r.text).Int(r.x).Int(r.y).Int(r.width).Int(r.height);
    for (const Rgb& colour : {r.textColor, r.faceColor}) out.Int(colour.red).Int(colour.green).Int(colour.blue);
    for (int8_t attribute : r.attributes) out.Byte(static_cast<uint8_t>(attribute));
    for (int i = 0; i < 4; ++i) out.Byte(0);
    out.String(r.text2).Int(r.value);
}

Bytes ControlList(const std::vector<ControlRecord>& records) {
    PayloadWriter out;
    out.Int(static_cast<int32_t>(records.size()));
    for (const ControlRecord& record : records) WriteControl(out, record);
    return out;
}

Bytes SectionList(const std::vector<SectionRecord>& sections) {
    PayloadWriter out;
    out.Int(static_cast<int32_t>(sections.size()));
    for (const SectionRecord& s : sections)
        out.Int(s.top).Int(s.bottom).Int(s.colour.red).Int(s.colour.green).Int(s.colour.blue);
    return out;
}

}  // namespace testsupport
