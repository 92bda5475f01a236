#include "platform/font.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include "platform/glyphcache.h"

#include <strings.h>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>
#include <mutex>
#include <tuple>

namespace platform {

namespace {

// One FreeType instance for the process; it lives until exit so that fonts
// held by singletons can be released in any order.
FT_Library Library() {
    static FT_Library library = [] {
        FT_Library lib = nullptr;
        if (FT_Init_FreeType(&lib) != 0) return static_cast<FT_Library>(nullptr);
        return lib;
    }();
    return library;
}

std::string& PinnedFile() {
    static std::string path;
    return path;
}

// FreeType's library and faces are not safe to use from two threads at once.
// Like the library, the lock lives until exit: fonts held by singletons take
// it when they are released.
std::mutex& FreeTypeMutex() {
    static auto* mutex = new std::mutex;
    return *mutex;
}

void CopyCoverage(const FT_Bitmap& bitmap, Glyph& glyph) {
    glyph.width = static_cast<int>(bitmap.width);
    glyph.rows = static_cast<int>(bitmap.rows);
    glyph.coverage.assign(static_cast<size_t>(glyph.width) * glyph.rows, 0);
    for (int r = 0; r < glyph.rows; ++r) {
        const uint8_t* src = bitmap.buffer + static_cast<ptrdiff_t>(r) * bitmap.pitch;
        uint8_t* dst = glyph.coverage.data() + static_cast<size_t>(r) * glyph.width;
        for (int c = 0; c < glyph.width; ++c) {
            if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
                dst[c] = (src[c >> 3] & (0x80 >> (c & 7))) ? 255 : 0;
            else
                dst[c] = src[c];
        }
    }
}

// How a face file is set up for one cell height, worked out when the file is
// first opened for it, so that fonts made again for the same style need not
// open the file until a glyph is missing from the cache.
struct FaceSetup {
    long ppem26 = 0;  // the character size, 26.6 pixels
    int ascent = 0;
    bool embolden = false;
};

// Opens the face at the file and sizes it for the cell height; null when the
// file is no scalable font. Called under the FreeType lock.
FT_Face OpenFace(const std::string& path, int height, int weight, FaceSetup* setup) {
    FT_Library library = Library();
    FT_Face face = nullptr;
    if (!library || FT_New_Face(library, path.c_str(), 0, &face) != 0) return nullptr;
    if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) {
        FT_Done_Face(face);
        return nullptr;
    }
    FT_Select_Charmap(face, FT_ENCODING_UNICODE);

    // The cell is the font's Windows ascent plus descent where it has them.
    long ascender = face->ascender;
    long descender = -face->descender;
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->usWinAscent + os2->usWinDescent > 0) {
        ascender = os2->usWinAscent;
        descender = os2->usWinDescent;
    }
    long cellUnits = ascender + descender;
    long ppem26 = cellUnits > 0 ? static_cast<long>(height) * face->units_per_EM * 64 / cellUnits : 0;
    if (cellUnits <= 0 || FT_Set_Char_Size(face, 0, std::max(ppem26, 64L), 72, 72) != 0) {
        FT_Done_Face(face);
        return nullptr;
    }
    setup->ppem26 = ppem26;
    setup->ascent = static_cast<int>((ascender * height + cellUnits / 2) / cellUnits);
    setup->embolden = weight >= 600 && !(face->style_flags & FT_STYLE_FLAG_BOLD);
    return face;
}

// The setups worked out so far, one per style; few styles are ever in use.
std::map<GlyphStyle, FaceSetup>& KnownSetups() {
    static std::map<GlyphStyle, FaceSetup> setups;
    return setups;
}

inline uint16_t Blend565(uint16_t dst, uint16_t src, unsigned a) {
    unsigned na = 255 - a;
    unsigned r = (((src >> 11) & 0x1F) * a + ((dst >> 11) & 0x1F) * na + 127) / 255;
    unsigned g = (((src >> 5) & 0x3F) * a + ((dst >> 5) & 0x3F) * na + 127) / 255;
    unsigned b = ((src & 0x1F) * a + (dst & 0x1F) * na + 127) / 255;
    return static_cast<uint16_t>((r << 11) | (g << 5) | b);
}

}  // namespace

struct Font::Impl {
    GlyphStyle style;
    FaceSetup setup;
    int styleId = 0;
    FT_Face face = nullptr;  // opened on the first glyph the cache lacks

    ~Impl() {
        std::lock_guard lock(FreeTypeMutex());
        if (face) FT_Done_Face(face);
    }

    std::shared_ptr<const Glyph> Get(char16_t c) {
        GlyphCache& cache = GlyphCache::Shared();
        if (auto glyph = cache.Find(styleId, c)) return glyph;
        return cache.Insert(styleId, c, Render(c));
    }

    Glyph Render(char16_t c) {
        std::lock_guard lock(FreeTypeMutex());
        Glyph glyph;
        if (!face) {
            FaceSetup reopened;
            face = OpenFace(style.file, style.height, style.weight, &reopened);
            if (!face) return glyph;
        }
        const bool smooth = style.smooth;
        FT_Int32 flags = smooth ? FT_LOAD_TARGET_NORMAL : (FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME);
        if (FT_Load_Char(face, c, flags) != 0) return glyph;
        FT_GlyphSlot slot = face->glyph;
        if (setup.embolden) FT_GlyphSlot_Embolden(slot);
        if (FT_Render_Glyph(slot, smooth ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) != 0) return glyph;
        glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
        glyph.left = slot->bitmap_left;
        glyph.top = slot->bitmap_top;
        CopyCoverage(slot->bitmap, glyph);
        return glyph;
    }
};

Font::Font(std::unique_ptr<Impl> impl, int ascent, int descent, bool smooth)
    : m_impl(std::move(impl)), m_ascent(ascent), m_descent(descent), m_smooth(smooth) {}

Font::~Font() = default;

std::shared_ptr<const Font> Font::CreateFromFile(const std::string& path, const FontRequest& request) {
    auto impl = std::make_unique<Impl>();
    impl->style = GlyphStyle{path, std::clamp(request.height, 1, 1000), request.weight, request.italic, request.smooth};
    {
        std::lock_guard lock(FreeTypeMutex());
        auto known = KnownSetups().find(impl->style);
        if (known != KnownSetups().end()) {
            impl->setup = known->second;
        } else {
            impl->face = OpenFace(path, impl->style.height, request.weight, &impl->setup);
            if (!impl->face) return nullptr;
            KnownSetups().emplace(impl->style, impl->setup);
        }
    }
    impl->styleId = GlyphCache::Shared().StyleId(impl->style);
    const int height = impl->style.height;
    const int ascent = impl->setup.ascent;
    return std::shared_ptr<const Font>(new Font(std::move(impl), ascent, height - ascent, request.smooth));
}

namespace {

bool FontconfigReady() {
    // FcFini at exit returns what fontconfig keeps for the process.
    static bool ready = [] {
        if (FcInit() != FcTrue) return false;
        std::atexit(FcFini);
        return true;
    }();
    return ready;
}

// fontconfig's weight scale from the 100..900 scale of the callers.
int FcWeight(int weight) { return FcWeightFromOpenType(std::clamp(weight, 1, 1000)); }

std::string MatchFile(const FontRequest& request) {
    if (!FontconfigReady()) return {};
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(request.face.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeight(request.weight));
    FcPatternAddInteger(pattern, FC_SLANT, request.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    std::string path;
    FcChar8* file = nullptr;
    if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch)
        path = reinterpret_cast<const char*>(file);
    if (match) FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    return path;
}

std::string StringOf(FcPattern* pattern, const char* object) {
    FcChar8* value = nullptr;
    if (FcPatternGetString(pattern, object, 0, &value) != FcResultMatch) return {};
    return reinterpret_cast<const char*>(value);
}

}  // namespace

std::shared_ptr<const Font> Font::Create(const FontRequest& request) {
    std::string path = PinnedFile().empty() ? MatchFile(request) : PinnedFile();
    if (path.empty()) return nullptr;
    return CreateFromFile(path, request);
}

int Font::CharAdvance(char16_t c) const { return m_impl->Get(c)->advance; }

int Font::Advance(std::u16string_view text) const {
    int width = 0;
    for (char16_t c : text) width += m_impl->Get(c)->advance;
    return width;
}

void Font::Draw(std::u16string_view text, int x, int y, uint16_t colour565, const Surface16& target,
                const ClipBox& clip) const {
    int left = std::max(clip.left, 0);
    int top = std::max(clip.top, 0);
    int right = std::min(clip.right, target.width);
    int bottom = std::min(clip.bottom, target.height);
    if (!target.pixels || right <= left || bottom <= top) return;
    int baseline = y + m_ascent;
    int pen = x;
    for (char16_t c : text) {
        if (pen >= right) break;
        const std::shared_ptr<const Glyph> glyph = m_impl->Get(c);
        const Glyph& g = *glyph;
        int gx = pen + g.left;
        int gy = baseline - g.top;
        int c0 = std::max(0, left - gx);
        int c1 = std::min(g.width, right - gx);
        int r0 = std::max(0, top - gy);
        int r1 = std::min(g.rows, bottom - gy);
        for (int r = r0; r < r1; ++r) {
            const uint8_t* cov = g.coverage.data() + static_cast<size_t>(r) * g.width;
            uint16_t* row = target.pixels + static_cast<ptrdiff_t>(gy + r) * target.stride + gx;
            for (int col = c0; col < c1; ++col) {
                unsigned a = cov[col];
                if (a == 255)
                    row[col] = colour565;
                else if (a)
                    row[col] = Blend565(row[col], colour565, a);
            }
        }
        pen += g.advance;
    }
}

std::vector<FontFamily> ListFontFamilies() {
    std::vector<FontFamily> families;
    if (!FontconfigReady()) return families;
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_STYLE, FC_WEIGHT, FC_SLANT, nullptr);
    FcFontSet* set = FcFontList(nullptr, pattern, objects);
    if (set) {
        for (int i = 0; i < set->nfont; ++i) {
            FcPattern* font = set->fonts[i];
            std::string family = StringOf(font, FC_FAMILY);
            if (family.empty()) continue;
            FontStyle style;
            style.name = StringOf(font, FC_STYLE);
            int weight = FC_WEIGHT_REGULAR;
            FcPatternGetInteger(font, FC_WEIGHT, 0, &weight);
            style.weight = FcWeightToOpenType(weight);
            int slant = FC_SLANT_ROMAN;
            FcPatternGetInteger(font, FC_SLANT, 0, &slant);
            style.italic = slant != FC_SLANT_ROMAN;
            auto it =
                std::find_if(families.begin(), families.end(), [&](const FontFamily& f) { return f.name == family; });
            if (it == families.end()) it = families.insert(families.end(), FontFamily{family, {}});
            it->styles.push_back(style);
        }
        FcFontSetDestroy(set);
    }
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    std::sort(families.begin(), families.end(),
              [](const FontFamily& a, const FontFamily& b) { return a.name < b.name; });
    for (auto& family : families)
        std::sort(family.styles.begin(), family.styles.end(), [](const FontStyle& a, const FontStyle& b) {
            // The regular style first: it is the one a family stands for.
            return std::make_tuple(a.italic, std::abs(a.weight - 400), a.name) <
                   std::make_tuple(b.italic, std::abs(b.weight - 400), b.name);
        });
    return families;
}

std::string ResolveFontFamily(const std::string& face) {
    if (face.empty() || !FontconfigReady()) return {};
    std::vector<FontFamily> installed = ListFontFamilies();
    auto installedName = [&](const char* name) -> std::string {
        for (const auto& family : installed)
            if (strcasecmp(family.name.c_str(), name) == 0) return family.name;
        return {};
    };
    if (std::string name = installedName(face.c_str()); !name.empty()) return name;

    // Substitutes that the configuration binds as strongly as the name itself
    // (metric aliases) count; the weak generic fallbacks do not.
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(face.c_str()));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    std::string resolved;
    FcValue value;
    FcValueBinding binding;
    for (int i = 1; FcPatternGetWithBinding(pattern, FC_FAMILY, i, &value, &binding) == FcResultMatch; ++i) {
        if (binding == FcValueBindingWeak || value.type != FcTypeString) continue;
        resolved = installedName(reinterpret_cast<const char*>(value.u.s));
        if (!resolved.empty()) break;
    }
    FcPatternDestroy(pattern);
    return resolved;
}

void PinFontFile(const std::string& path) { PinnedFile() = path; }

}  // namespace platform
