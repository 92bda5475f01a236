#include "platform/glyphcache.h"

namespace platform {

GlyphCache::GlyphCache(size_t budget) : m_budget(budget) {}

GlyphCache& GlyphCache::Shared() {
    static GlyphCache cache;
    return cache;
}

size_t GlyphCache::BytesOf(const Glyph& glyph) {
    // The coverage plus what holding the glyph costs: its record, the list
    // entry and the index slot.
    return glyph.coverage.size() + sizeof(Glyph) + 64;
}

int GlyphCache::StyleId(const GlyphStyle& style) {
    std::lock_guard lock(m_mutex);
    auto [it, added] = m_styles.try_emplace(style, static_cast<int>(m_styles.size()));
    return it->second;
}

std::shared_ptr<const Glyph> GlyphCache::Find(int style, char16_t c) {
    std::lock_guard lock(m_mutex);
    auto it = m_entries.find(KeyOf(style, c));
    if (it == m_entries.end()) return nullptr;
    m_recent.splice(m_recent.begin(), m_recent, it->second);
    return it->second->glyph;
}

std::shared_ptr<const Glyph> GlyphCache::Insert(int style, char16_t c, Glyph glyph) {
    const Key key = KeyOf(style, c);
    std::lock_guard lock(m_mutex);
    if (auto it = m_entries.find(key); it != m_entries.end()) {
        m_recent.splice(m_recent.begin(), m_recent, it->second);
        return it->second->glyph;
    }
    auto shared = std::make_shared<const Glyph>(std::move(glyph));
    m_recent.push_front(Entry{key, shared});
    m_entries.emplace(key, m_recent.begin());
    m_bytes += BytesOf(*shared);
    EvictOverBudget();
    return shared;
}

void GlyphCache::EvictOverBudget() {
    // The newest glyph stays even when it alone is over the budget: its
    // caller is about to draw it.
    while (m_bytes > m_budget && m_recent.size() > 1) {
        const Entry& oldest = m_recent.back();
        m_bytes -= BytesOf(*oldest.glyph);
        m_entries.erase(oldest.key);
        m_recent.pop_back();
    }
}

size_t GlyphCache::Bytes() const {
    std::lock_guard lock(m_mutex);
    return m_bytes;
}

size_t GlyphCache::Count() const {
    std::lock_guard lock(m_mutex);
    return m_entries.size();
}

}  // namespace platform
