// Arbitrary payloads through the polyline reader, then its writer: whatever
// it accepts must write back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/zvmsg.h"
#include "gfx/pline.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1000000)
        return 0;
    CZVMSG in(1, 2);
    if (size && !in.WriteBytes(data, static_cast<int32_t>(size)))
        return 0;
    in.ResetPosition();
    CPLineList list;
    if (!list.Read(&in))
        return 0;
    CZVMSG out(1, 2);
    if (list.Write(&out) && (out.GetLength() > in.GetLength() ||
                             std::memcmp(out.GetData(), in.GetData(), out.GetLength()) != 0))
        __builtin_trap();
    return 0;
}
