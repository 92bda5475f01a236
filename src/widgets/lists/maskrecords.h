#pragma once
// Lists keyed by bit masks: records whose first word is a mask of the
// items they apply to (climate zone lists, thermostat zones), and the text
// for a set of house modes chosen by a mask.
#include <cstdint>

#include "core/zvoblist.h"
#include "gfx/zvstring.h"

// One record: the mask, then bytes that the user fills.
struct CMaskRecord {
    int32_t mask = 0;
    uint8_t data[128] = {};
};
static_assert(sizeof(CMaskRecord) == 132);

class CBitmaskRecordList {
public:
    // The source and the value are kept for the users.
    CBitmaskRecordList(void* source, int value) : m_source(source), m_value(value) {}
    virtual ~CBitmaskRecordList();
    CBitmaskRecordList(const CBitmaskRecordList&) = delete;
    CBitmaskRecordList& operator=(const CBitmaskRecordList&) = delete;

    // A new record with the mask, appended; null (and nothing appended)
    // when it cannot be made.
    CMaskRecord* Add(int mask);
    // The record at the index; null outside the list.
    CMaskRecord* GetAt(int index) const;
    // The first record whose mask has bit (1 << bit); null when none has.
    CMaskRecord* FindByBit(int bit) const;
    int GetCount() const { return m_records.GetCount(); }
    void* GetSource() const { return m_source; }
    int GetValue() const { return m_value; }

private:
    void* m_source;
    int m_value;
    CZVObList m_records;
};

// The names of the house modes, by index (supplied by the shell's mode list).
class IHouseModeNames {
public:
    virtual ~IHouseModeNames() = default;
    virtual int GetCount() const = 0;
    virtual CZVString GetName(int index) const = 0;
};

// "All" when every mode of the list is in the mask (also for an empty
// list), "None" when none is, else the names of the chosen modes joined by "+".
void FormatMaskNames(CZVString* out, int mask, const IHouseModeNames& modes);
