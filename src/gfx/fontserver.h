#pragma once
// The process-wide font owner: the installed families, the chosen face (kept
// in the settings), one plain font per pixel height and one smoothed font.
// Fonts are shared handles: a drawing context keeps the font it selected
// alive even when the server flushes its cache.
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gfx/zvstring.h"
#include "platform/font.h"

using FontHandle = std::shared_ptr<const platform::Font>;

struct CFontFamily {
    CZVString name;
    std::vector<platform::FontStyle> styles;
    int fontType = 4;  // scalable outlines
};

class CFontServer {
public:
    static constexpr int kMinHeight = 11;
    static constexpr int kMaxHeight = 39;

    CFontServer();
    virtual ~CFontServer();
    CFontServer(const CFontServer&) = delete;
    CFontServer& operator=(const CFontServer&) = delete;

    // The process-wide instance, null when none exists.
    static CFontServer* Get();

    void EnumerateFonts();
    const std::vector<CFontFamily>& GetFamilies() const { return m_families; }

    FontHandle GetFont(int height);
    FontHandle GetSmoothFont(int height);
    // The request every font is based on: face, weight and slant of the first
    // style of the chosen family.
    platform::FontRequest GetLogFont();
    CZVString GetFaceName() const { return m_face; }
    bool HasFace();
    void SetFaceName(CZVString face, bool persist);
    void FlushFonts();

private:
    const CFontFamily* FindFamily();
    FontHandle MakeFont(int height, int weight, bool smooth);

    std::vector<CFontFamily> m_families;
    std::array<FontHandle, 40> m_fonts;
    FontHandle m_smoothFont;
    int m_smoothHeight = 0;
    CZVString m_face;
    std::optional<std::string> m_resolvedFace;  // the installed family of m_face, once asked
};
