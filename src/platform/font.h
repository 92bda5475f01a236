#pragma once
// Text rasterising on FreeType, with faces found through fontconfig.
// A font is a face at a cell height in pixels (ascent plus descent, the
// whole line), a weight, and plain (one-bit) or smooth (antialiased) glyphs.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/surface16.h"

namespace platform {

struct FontRequest {
    std::string face;
    int height = 10;     // cell height in pixels
    int weight = 400;    // 400 regular, 700 bold
    bool italic = false;
    bool smooth = false;
};

struct FontStyle {
    std::string name;  // "Regular", "Bold Italic", ...
    int weight = 400;
    bool italic = false;
};

struct FontFamily {
    std::string name;
    std::vector<FontStyle> styles;
};

class Font {
public:
    // Resolves the face through fontconfig (or the pinned file); null when
    // no font file can be loaded.
    static std::shared_ptr<const Font> Create(const FontRequest& request);
    static std::shared_ptr<const Font> CreateFromFile(const std::string& path, const FontRequest& request);

    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    int Height() const { return m_ascent + m_descent; }
    int Ascent() const { return m_ascent; }
    int Descent() const { return m_descent; }
    bool Smooth() const { return m_smooth; }

    // Width in pixels of the text on one line (sum of the glyph advances).
    int Advance(std::u16string_view text) const;
    int CharAdvance(char16_t c) const;

    // Draws the text with the top of its cell at (x, y), glyphs blended in the
    // colour, clipped to the box and the surface.
    void Draw(std::u16string_view text, int x, int y, uint16_t colour565, const Surface16& target,
              const ClipBox& clip) const;

private:
    struct Impl;
    explicit Font(std::unique_ptr<Impl> impl, int ascent, int descent, bool smooth);

    std::unique_ptr<Impl> m_impl;
    int m_ascent;
    int m_descent;
    bool m_smooth;
};

// Every installed family, sorted by name, with its styles, the regular one first.
std::vector<FontFamily> ListFontFamilies();

// The installed family a face name stands for: itself when installed, else
// the family that fontconfig binds to it as a metric-compatible substitute
// ("Arial" -> "Liberation Sans"); empty when there is none.
std::string ResolveFontFamily(const std::string& face);

// Makes every face resolve to this font file; an empty path undoes it. Tests
// pin their font so that measures do not move.
void PinFontFile(const std::string& path);

}  // namespace platform
