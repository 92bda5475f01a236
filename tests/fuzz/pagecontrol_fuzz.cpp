// Arbitrary answers through the readers of gateway-defined pages: the
// control record, the bounded record count, and a whole list built into a
// window tree as a gateway panel builds it.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/zvoblist.h"
#include "vistrel/shell/pagecontrol.h"

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

void Fill(CZVMSG& message, const uint8_t* data, size_t size) {
    message.WriteBytes(data, static_cast<int32_t>(size));
    message.ResetPosition();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CZVMSG records(0, 0x2596);
    Fill(records, data, size);
    int count = 0;
    if (ReadControlCount(&records, &count)) {
        Check(count >= 0 && count <= static_cast<int>(size / CPageControlDesc::kMinWireSize));
        for (int i = 0; i < count; ++i) {
            CPageControlDesc desc;
            if (!desc.Read(&records)) break;
            Check(desc.x >= -1 && desc.y >= -1 && desc.width <= kPageUnits && desc.height <= kPageUnits);
            desc.Overlaps(desc);
        }
    }

    CZVMSG panel(0, 0x25AC);
    Fill(panel, data, size);
    CZVWindow owner(nullptr, CZVRect(0, 0, 400, 300), 0);
    CZVObList built;
    BuildPageControls(&panel, &owner, &built, PageScaling::kEachValue, 0);
    Check(built.GetCount() <= static_cast<int>(size / CPageControlDesc::kMinWireSize));
    return 0;
}
