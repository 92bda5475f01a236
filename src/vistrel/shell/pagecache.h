#pragma once
// The built pages that are kept while hidden, one slot per cached command,
// so that going back to them needs no rebuild. The cache owns its pages;
// the parent window holds them as children while they are shown.
#include <functional>

class CZVWindow;

class CPageCache {
public:
    static constexpr int kSlots = 8;

    CPageCache() = default;
    CPageCache(const CPageCache&) = delete;
    CPageCache& operator=(const CPageCache&) = delete;
    ~CPageCache();

    // Whether pages of the command are kept.
    static bool IsCached(int id) { return SlotOf(id) >= 0; }
    // The kept page of the command, made by make when missing; null for
    // commands without a slot or when make gives none.
    CZVWindow* Get(int id, const std::function<CZVWindow*()>& make);
    // Whether the page is one of the kept ones.
    bool Holds(const CZVWindow* page) const;
    // The page is no longer kept: its owner releases it like any uncached page.
    void Forget(const CZVWindow* page);
    // Deletes every kept page but keep, taking each from the parent first;
    // keep stays alive but is no longer kept.
    void Free(CZVWindow& parent, const CZVWindow* keep);

private:
    static int SlotOf(int id);

    CZVWindow* m_pages[kSlots] = {};
};
