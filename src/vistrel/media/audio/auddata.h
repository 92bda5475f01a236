#pragma once
// The records the audio pages share: the source path list that every zone
// state carries, and the zone and source records of the zone list.
#include <cstdint>
#include <memory>
#include <vector>

#include "core/zvmsg.h"
#include "gfx/zvstring.h"

// One entry of a source path list. Kind 1004 stands for the radio directory.
struct CAudDataEntry {
    static constexpr int kRadioDirectory = 1004;
    // On the wire: i32 id, string name, i32 kind.
    static constexpr int kMinWireSize = 12;

    int id = 0;
    int kind = 0;
    CZVString name;
};

class CAudDataList {
public:
    CAudDataList() = default;
    // Reads a count and that many entries; the count is bounded by what the
    // rest of the message can hold, and a cut entry ends the list. ok() tells
    // whether everything sent was read.
    explicit CAudDataList(CZVMSG* message);

    int GetCount() const { return static_cast<int>(m_entries.size()); }
    // Null (reported) outside 0..count - 1.
    const CAudDataEntry* GetAt(int index) const;
    // Equal counts and, position by position, equal ids or both entries of
    // the radio directory; names play no part.
    bool IsSame(const CAudDataList& other) const;
    void CopyFrom(const CAudDataList& other) { m_entries = other.m_entries; }
    void DeleteAll() { m_entries.clear(); }
    bool ok() const { return m_ok; }

private:
    std::vector<CAudDataEntry> m_entries;
    bool m_ok = true;
};

struct CAudioSource {
    CAudioSource(int id, int kind, CZVString name, CZVString iconName)
        : id(id), kind(kind), name(name), iconName(iconName) {}

    int id;
    int kind;
    CZVString name;      // the button's caption
    CZVString iconName;  // the gateway icon of the button, empty for none
};

class CAudioZone {
public:
    // Zone id 0 is the source preview entry; no settings layout is 0x7FFF.
    static constexpr int kPreviewZone = 0;
    static constexpr int kNoSettingsLayout = 0x7FFF;

    CAudioZone(int id, CZVString name, int kind, int settingsLayout, int extraControl)
        : m_id(id), m_name(name), m_kind(kind), m_settingsLayout(settingsLayout), m_extraControl(extraControl) {}
    virtual ~CAudioZone() = default;

    void AddSource(int id, int kind, CZVString name, CZVString iconName);
    int GetSourceCount() const { return static_cast<int>(m_sources.size()); }
    // Null (reported) outside 0..count - 1.
    const CAudioSource* GetSource(int index) const;

    int GetId() const { return m_id; }
    CZVString GetName() const { return m_name; }
    int GetKind() const { return m_kind; }
    int GetSettingsLayout() const { return m_settingsLayout; }
    int HasExtraControl() const { return m_extraControl != 0; }

private:
    int m_id;
    CZVString m_name;
    int m_kind;
    int m_settingsLayout;
    int m_extraControl;
    std::vector<CAudioSource> m_sources;
};
