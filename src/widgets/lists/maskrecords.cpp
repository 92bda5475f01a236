#include "widgets/lists/maskrecords.h"

#include <new>

namespace {

// Bits of the mask that the shifts below may test.
constexpr int kMaskBits = 32;

bool HasBit(int mask, int bit) { return bit >= 0 && bit < kMaskBits && (static_cast<uint32_t>(mask) >> bit) & 1; }

}  // namespace

CBitmaskRecordList::~CBitmaskRecordList() {
    while (!m_records.IsEmpty()) delete static_cast<CMaskRecord*>(m_records.RemoveHead());
}

CMaskRecord* CBitmaskRecordList::Add(int mask) {
    auto* record = new (std::nothrow) CMaskRecord;
    if (!record) return nullptr;
    record->mask = mask;
    if (!m_records.AddTail(record)) {
        delete record;
        return nullptr;
    }
    return record;
}

CMaskRecord* CBitmaskRecordList::GetAt(int index) const {
    ZVPOSITION position = m_records.FindIndex(index);
    return position ? static_cast<CMaskRecord*>(m_records.GetAt(position)) : nullptr;
}

CMaskRecord* CBitmaskRecordList::FindByBit(int bit) const {
    for (ZVPOSITION position = m_records.GetHeadPosition(); position;) {
        auto* record = static_cast<CMaskRecord*>(m_records.GetNext(position));
        if (HasBit(record->mask, bit)) return record;
    }
    return nullptr;
}

void FormatMaskNames(CZVString* out, int mask, const IHouseModeNames& modes) {
    const int n = modes.GetCount();
    int chosen = 0;
    for (int i = 0; i < n; ++i) chosen += HasBit(mask, i);
    if (chosen >= n) {
        *out = "All";
        return;
    }
    if (chosen == 0) {
        *out = "None";
        return;
    }
    CZVString text;
    for (int i = 0; i < n; ++i) {
        if (!HasBit(mask, i)) continue;
        if (text.IsEmpty()) {
            text = modes.GetName(i);
        } else {
            CZVString joined;
            joined.Format("%s+%s", text.GetAnsi(), modes.GetName(i).GetAnsi());
            text = joined;
        }
    }
    *out = text;
}
