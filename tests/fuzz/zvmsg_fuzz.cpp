// Arbitrary frames through every read of a received message.
// Input: variant byte, script length n, n script bytes (one read each, in
// turn, repeated), then the frame as the socket would hold it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/zvmsg.h"

namespace {

void Check(bool condition) {
    if (!condition)
        __builtin_trap();
}

void RunRead(CZVMSG& msg, uint8_t op) {
    switch (op % 16) {
    case 0: { uint8_t v; msg.ReadByte(v); break; }
    case 1: { int8_t v; msg.ReadByte(v); break; }
    case 2: { uint16_t v; msg.ReadShort(v); break; }
    case 3: { int16_t v; msg.ReadShort(v); break; }
    case 4: { int32_t v; msg.ReadInt(v); break; }
    case 5: msg.ReadInt(nullptr); break;
    case 6: msg.ReadShort(nullptr); break;
    case 7: { uint8_t block[64]; msg.ReadBytes(block, op / 16 * 4 + 1); break; }
    case 8: { std::string s; msg.ReadString(s); break; }
    case 9: { std::u16string s; msg.ReadString(s); break; }
    case 10: { CZVTime t; msg.ReadTime(t); break; }
    case 11: { CZVTime t; msg.ReadPackedTime(t); break; }
    case 12: { CZVTimeSpan s; msg.ReadTimeSpan(s); break; }
    case 13: { uint32_t c; msg.ReadColor(c); break; }
    case 14: { ZVRectEdges r; msg.ReadRect(r); break; }
    case 15: msg.ResetPosition(); break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    const auto variant = static_cast<ZVVariant>(data[0] % 3);
    const size_t scriptSize = data[1];
    if (size < 2 + scriptSize)
        return 0;
    const std::vector<uint8_t> script(data + 2, data + 2 + scriptSize);
    std::vector<uint8_t> frame(data + 2 + scriptSize, data + size);
    const std::vector<uint8_t> original = frame;

    CZVMSG msg(frame, variant);
    Check(msg.GetLength() >= 0 && static_cast<size_t>(msg.GetTotalSize()) <= frame.size() + 8);
    if (!script.empty()) {
        for (size_t i = 0; i < 4 * script.size() + 64; ++i)
            RunRead(msg, script[i % script.size()]);
    }

    std::unique_ptr<CZVMSG> clone = msg.Clone();
    Check(clone && clone->IsEqual(msg));
    for (uint8_t op : script)
        RunRead(*clone, op);

    // Changing a received message copies it; the socket's bytes stay as they came.
    msg.WriteString("x");
    msg.SetSenderId(1);
    Check(frame == original);
    return 0;
}
