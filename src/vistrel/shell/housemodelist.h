#pragma once
// CHouseModeList: the names and icons of the gateway's house modes, by
// mode number. The main window owns the one list, loads it with its menu
// and on the gateway's flush notice; the house-mode controls, the menu's
// icon and the schedules' mode masks read it.
#include <optional>
#include <vector>

#include "core/zvserver.h"
#include "gfx/zvstring.h"
#include "widgets/lists/maskrecords.h"

class CHouseModeList : public IHouseModeNames {
public:
    struct Entry {
        CZVString name;
        CZVString icon;
    };

    // Clears the list and fills it: with a themed style the gateway's names
    // (a blocking query past the answer cache), otherwise Home, Away and
    // Vacation. 0 when the gateway's names could not be had; the list then
    // stays empty.
    int Load(CZVServer& server);
    void Clear() { m_entries.clear(); }

    int GetCount() const override { return static_cast<int>(m_entries.size()); }
    // "Error" for a mode outside the list.
    CZVString GetName(int index) const override;
    // "" for a mode outside the list.
    CZVString GetIcon(int index) const;
    std::optional<Entry> GetEntry(int index) const;

private:
    int Holds(int index) const { return index >= 0 && index < GetCount(); }

    std::vector<Entry> m_entries;
};
