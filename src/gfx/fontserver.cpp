#include "gfx/fontserver.h"

#include <algorithm>

#include "gfx/shellservices.h"
#include "gfx/zvregistry.h"
#include "platform/report.h"

namespace {

CFontServer* g_instance = nullptr;

constexpr const char* kSection = "UserInterface";
constexpr const char* kValue = "DefaultFont";

}  // namespace

CFontServer::CFontServer() : m_face("Arial") {
    CZVRegistry registry(kSection);
    CZVString face;
    if (registry.ReadString(kValue, &face) && !face.IsEmpty()) m_face = face;
    g_instance = this;
}

CFontServer::~CFontServer() {
    FlushFonts();
    if (g_instance == this) g_instance = nullptr;
}

CFontServer* CFontServer::Get() { return g_instance; }

void CFontServer::EnumerateFonts() {
    m_families.clear();
    m_resolvedFace.reset();
    for (auto& family : platform::ListFontFamilies()) {
        CFontFamily record;
        record.name = family.name.c_str();
        record.styles = std::move(family.styles);
        m_families.push_back(std::move(record));
    }
}

const CFontFamily* CFontServer::FindFamily() {
    for (const auto& family : m_families)
        if (family.name.CompareNoCase(m_face) == 0) return &family;
    // A face that is installed under another name (a metric-compatible
    // substitute such as Liberation Sans for Arial) counts as present.
    // Resolving asks fontconfig for every installed family: once per face.
    if (!m_resolvedFace) m_resolvedFace = platform::ResolveFontFamily(m_face.GetAnsi());
    const std::string& resolved = *m_resolvedFace;
    for (const auto& family : m_families)
        if (!resolved.empty() && family.name.Compare(resolved.c_str()) == 0) return &family;
    return nullptr;
}

bool CFontServer::HasFace() { return FindFamily() != nullptr; }

platform::FontRequest CFontServer::GetLogFont() {
    platform::FontRequest request;
    const CFontFamily* family = FindFamily();
    if (!family && !m_families.empty()) family = &m_families.front();
    if (!family || family->styles.empty()) {
        // Without an enumeration fontconfig still finds a face for the name.
        ReportAssert("FontServer", __LINE__, 1);
        request.face = m_face.GetAnsi();
        return request;
    }
    request.face = CZVString(family->name).GetAnsi();
    request.weight = family->styles.front().weight;
    request.italic = family->styles.front().italic;
    return request;
}

FontHandle CFontServer::MakeFont(int height, int weight, bool smooth) {
    platform::FontRequest request = GetLogFont();
    request.height = height;
    request.smooth = smooth;
    if (Shell().IsBoldText())
        request.weight = 700;
    else if (weight > 0)
        request.weight = weight;
    return platform::Font::Create(request);
}

FontHandle CFontServer::GetFont(int height) {
    height = std::clamp(height, kMinHeight, kMaxHeight);
    FontHandle& font = m_fonts[height];
    if (!font) font = MakeFont(height, 0, false);
    return font;
}

FontHandle CFontServer::GetSmoothFont(int height) {
    if (Shell().UseAlternateFont() || height < 10) return GetFont(height);
    if (m_smoothFont && m_smoothHeight == height) return m_smoothFont;
    m_smoothFont = MakeFont(std::min(height, kMaxHeight), 500, true);
    m_smoothHeight = height;
    return m_smoothFont;
}

void CFontServer::SetFaceName(CZVString face, bool persist) {
    m_face = face;
    m_resolvedFace.reset();
    FlushFonts();
    if (persist) {
        CZVRegistry registry(kSection);
        registry.WriteString(kValue, m_face);
    }
}

void CFontServer::FlushFonts() {
    for (auto& font : m_fonts) font.reset();
    m_smoothFont.reset();
    m_smoothHeight = 0;
}
