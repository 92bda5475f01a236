#pragma once
// Rendered glyphs shared by every font of the process, so that text drawn
// again, or drawn by a font made anew for the same face and size, is not
// rendered again. The cache holds at most a budget of bytes and drops the
// glyphs used longest ago first. Safe to use from several threads.
#include <cstddef>
#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace platform {

struct Glyph {
    int advance = 0;
    int left = 0;
    int top = 0;
    int width = 0;
    int rows = 0;
    std::vector<uint8_t> coverage;  // 0..255, width x rows
};

// What the pixels of a glyph depend on besides its character.
struct GlyphStyle {
    std::string file;
    int height = 0;
    int weight = 400;
    bool italic = false;
    bool smooth = false;
    auto operator<=>(const GlyphStyle&) const = default;
};

class GlyphCache {
public:
    static constexpr size_t kDefaultBudget = 4u << 20;

    explicit GlyphCache(size_t budget = kDefaultBudget);
    GlyphCache(const GlyphCache&) = delete;
    GlyphCache& operator=(const GlyphCache&) = delete;

    // The one cache the fonts of the process share.
    static GlyphCache& Shared();

    // A number that stands for the style in the calls below; the same style
    // always gets the same number.
    int StyleId(const GlyphStyle& style);

    // The glyph cached for the character, null when there is none; a hit
    // makes it the most recently used.
    std::shared_ptr<const Glyph> Find(int style, char16_t c);
    // Keeps the glyph (or the one another caller put in first) and drops the
    // least recently used glyphs while the cache is over its budget.
    std::shared_ptr<const Glyph> Insert(int style, char16_t c, Glyph glyph);

    size_t Bytes() const;
    size_t Count() const;

    // What one glyph counts against the budget.
    static size_t BytesOf(const Glyph& glyph);

private:
    using Key = uint64_t;
    struct Entry {
        Key key;
        std::shared_ptr<const Glyph> glyph;
    };
    static Key KeyOf(int style, char16_t c) { return (static_cast<Key>(style) << 16) | c; }
    void EvictOverBudget();

    const size_t m_budget;
    mutable std::mutex m_mutex;
    std::map<GlyphStyle, int> m_styles;
    std::list<Entry> m_recent;  // most recently used first
    std::unordered_map<Key, std::list<Entry>::iterator> m_entries;
    size_t m_bytes = 0;
};

}  // namespace platform
