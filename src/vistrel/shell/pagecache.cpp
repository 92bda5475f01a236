#include "vistrel/shell/pagecache.h"

#include "widgets/window/zvwindow.h"

namespace {

// The cache slot of each cached command.
constexpr int kCachedCommands[CPageCache::kSlots] = {5000, 5001, 5002, 5006, 5007, 5009, 5005, 5013};

}  // namespace

CPageCache::~CPageCache() {
    for (CZVWindow* page : m_pages) delete page;
}

int CPageCache::SlotOf(int id) {
    for (int slot = 0; slot < kSlots; ++slot)
        if (kCachedCommands[slot] == id) return slot;
    return -1;
}

CZVWindow* CPageCache::Get(int id, const std::function<CZVWindow*()>& make) {
    const int slot = SlotOf(id);
    if (slot < 0) return nullptr;
    if (!m_pages[slot]) m_pages[slot] = make();
    return m_pages[slot];
}

bool CPageCache::Holds(const CZVWindow* page) const {
    for (const CZVWindow* kept : m_pages)
        if (page && kept == page) return true;
    return false;
}

void CPageCache::Forget(const CZVWindow* page) {
    for (CZVWindow*& kept : m_pages)
        if (kept == page) kept = nullptr;
}

void CPageCache::Free(CZVWindow& parent, const CZVWindow* keep) {
    for (CZVWindow*& page : m_pages) {
        if (page && page != keep) {
            parent.RemoveChild(page);
            delete page;
        }
        page = nullptr;
    }
}
