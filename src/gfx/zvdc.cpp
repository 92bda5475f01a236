#include "gfx/zvdc.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "gfx/dibdc.h"
#include "gfx/pixelrow.h"
#include "gfx/shellservices.h"
#include "gfx/ticks.h"
#include "platform/clock.h"
#include "platform/cp1252.h"
#include "platform/report.h"

namespace {

constexpr const char* kSource = "zvdc";

std::u16string WideOf(CZVString text) { return std::u16string(text.GetWide()); }

std::u16string WideOf(const char* text, int count) {
    std::u16string wide(static_cast<size_t>(count), u'\0');
    for (int i = 0; i < count; ++i) wide[i] = platform::Cp1252CharToUtf16(static_cast<uint8_t>(text[i]));
    return wide;
}

CZVRect Overlap(const CZVRect& a, const CZVRect& b) {
    CZVRect out;
    a.Intersect(&out, b);
    return out;
}

platform::ClipBox Intersect(const platform::ClipBox& a, const platform::ClipBox& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

// Text colours never become the transparent key.
uint16_t TextPixel(COLORREF colour) {
    uint16_t pixel = ToRgb565(colour);
    return pixel ? pixel : 0x0821;
}

// Pixel widths of each prefix of the text: widths[i] is the width of the first i characters.
std::vector<int> PrefixWidths(const platform::Font& font, std::u16string_view text) {
    std::vector<int> widths(text.size() + 1, 0);
    for (size_t i = 0; i < text.size(); ++i) widths[i + 1] = widths[i] + font.CharAdvance(text[i]);
    return widths;
}

// The longest prefix no wider than the limit.
int FittingPrefix(const std::vector<int>& widths, int limit) {
    auto it = std::upper_bound(widths.begin(), widths.end(), limit);
    return static_cast<int>(it - widths.begin()) - 1;
}

std::vector<std::u16string_view> SplitLines(std::u16string_view text) {
    std::vector<std::u16string_view> lines;
    size_t start = 0;
    while (true) {
        size_t end = text.find(u'\n', start);
        std::u16string_view line = text.substr(start, end == std::u16string_view::npos ? end : end - start);
        if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::u16string_view::npos) break;
        start = end + 1;
    }
    return lines;
}

}  // namespace

unsigned ToDrawTextFlags(int format) {
    unsigned flags = DT_LEFT;
    if ((format & 7) == kTextCentre) flags = DT_CENTER;
    if ((format & 7) == kTextRight) flags = DT_RIGHT;
    if (((format >> 3) & 7) == 1) flags |= DT_BOTTOM;
    return flags;
}

// Copies a w x h block between pixel targets with both rectangles clipped
// together: the destination to its clip box, the source to its bounds.
void CopySurface(platform::Surface16& dst, int x, int y, const platform::ClipBox& clip, const platform::Surface16& src,
                 int sx, int sy, int w, int h, int key) {
    platform::ClipBox box = Intersect(clip, {0, 0, dst.width, dst.height});
    auto trim = [](int& d, int& s, int& len, int dLow, int dHigh, int sHigh) {
        int cut = std::max({0, dLow - d, -s});
        d += cut;
        s += cut;
        len -= cut;
        len = std::min({len, dHigh - d, sHigh - s});
    };
    trim(x, sx, w, box.left, box.right, src.width);
    trim(y, sy, h, box.top, box.bottom, src.height);
    if (w <= 0 || h <= 0 || !dst.pixels || !src.pixels) return;

    const uint16_t* from = src.pixels + static_cast<ptrdiff_t>(sy) * src.stride + sx;
    uint16_t* to = dst.pixels + static_cast<ptrdiff_t>(y) * dst.stride + x;
    if (key < 0 && w == src.stride && w == dst.stride) {
        std::memmove(to, from, static_cast<size_t>(w) * h * 2);  // whole rows: one block
        return;
    }
    // Within one buffer a source above the destination is copied bottom-up.
    bool upward = from < to;
    std::vector<uint16_t> row;
    if (key >= 0 && upward) row.resize(static_cast<size_t>(w));
    for (int i = 0; i < h; ++i) {
        int r = upward ? h - 1 - i : i;
        const uint16_t* s = from + static_cast<ptrdiff_t>(r) * src.stride;
        uint16_t* d = to + static_cast<ptrdiff_t>(r) * dst.stride;
        if (key < 0) {
            std::memmove(d, s, static_cast<size_t>(w) * 2);
            continue;
        }
        if (!row.empty()) s = static_cast<const uint16_t*>(std::memcpy(row.data(), s, static_cast<size_t>(w) * 2));
        pixelrow::CopyKeyed(d, s, w, static_cast<uint16_t>(key));
    }
}

CZVDC::CZVDC() = default;

CZVDC::CZVDC(CPaintWindow* window) : m_window(window) {
    if (!window) return;
    if (window->HasParent()) m_enclosing = window->GetEnclosingDC();
    if (m_enclosing) {
        if (platform::Surface16* borrowed = m_enclosing->PixelTarget()) {
            m_target = *borrowed;
            m_hasHDC = true;
        }
        m_enclosing->GetOrigin(&m_originX, &m_originY);
        m_pen = m_enclosing->m_pen;
        m_brush = m_enclosing->m_brush;
    } else {
        m_originX = window->ToRootX(0);
        m_originY = window->ToRootY(0);
    }
    CZVRect clip;
    if (window->GetClipRect(&clip)) {
        clip.x -= window->ToRootX(0);
        clip.y -= window->ToRootY(0);
        PushClip(&clip);
    }
}

CZVDC::~CZVDC() {
    FlushDeferredText();
    if (m_enclosing && m_window) m_window->ReleaseEnclosingDC(m_enclosing);
}

void CZVDC::GetOrigin(int* x, int* y) {
    if (x) *x = m_originX;
    if (y) *y = m_originY;
}

void CZVDC::GetDeviceOrigin(int* x, int* y) { GetOrigin(x, y); }

void CZVDC::SetOrigin(int x, int y) {
    m_originX = x;
    m_originY = y;
}

void CZVDC::SetOriginFromWindow(CPaintWindow* window) {
    if (window) SetOrigin(window->ToRootX(0), window->ToRootY(0));
}

void CZVDC::OffsetOrigin(int dx, int dy) {
    m_originX += dx;
    m_originY += dy;
}

platform::Surface16* CZVDC::GetHDC() {
    if (!m_hasHDC) {
        CDibDC* screen = Shell().GetScreen();
        if (!screen || screen == this) return nullptr;
        m_target = *static_cast<CZVDC*>(screen)->PixelTarget();
        m_hasHDC = true;
    }
    return &m_target;
}

void CZVDC::SetInvert(bool on) {
    GetHDC();
    m_invert = on;
}

void CZVDC::SetColor(COLORREF colour) {
    if (m_colourSelected && colour == m_colour) return;
    m_colour = colour;
    m_colourSelected = true;
    if (CGdiCache* cache = CGdiCache::Get())
        cache->GetPenAndBrush(colour, &m_pen, &m_brush);
    else
        CGdiCache::MakePenAndBrush(colour, &m_pen, &m_brush);
}

void CZVDC::SetFont(int size, int reserved, int smooth) {
    if (m_font && size == m_fontSize && smooth == m_smooth) return;
    m_fontSize = size;
    m_smooth = smooth;
    SelectFont(size, reserved, smooth);
}

void CZVDC::SelectFont(int size, int /*reserved*/, int smooth) {
    m_lineOffset = static_cast<int>(size * 1.15);
    if (!GetHDC()) {
        ReportAssert(kSource, __LINE__, 1);
        return;
    }
    CFontServer* server = CFontServer::Get();
    if (!server) return;
    m_font = smooth ? server->GetSmoothFont(size) : server->GetFont(size);
}

const platform::Font* CZVDC::EnsureFont() {
    if (!m_font) {
        if (CFontServer* server = CFontServer::Get()) m_font = server->GetFont(m_fontSize ? m_fontSize : 10);
    }
    return m_font.get();
}

// ---- clipping

platform::ClipBox CZVDC::DrawClip(const platform::Surface16& target) const {
    platform::ClipBox bounds{0, 0, target.width, target.height};
    return m_selected ? Intersect(bounds, *m_selected) : bounds;
}

CZVRect CZVDC::FixedClipOnSurface() {
    CZVRect fixed = *m_fixedClip;
    if (m_pixelSurface) {
        // The fixed clip is in root coordinates: move it onto the surface.
        int deviceX = 0, deviceY = 0;
        GetDeviceOrigin(&deviceX, &deviceY);
        fixed.x -= deviceX - m_originX;
        fixed.y -= deviceY - m_originY;
    }
    return fixed;
}

void CZVDC::SelectClip(const CZVRect* rect) {
    GetHDC();
    std::optional<CZVRect> area;
    if (rect) area = *rect;
    if (m_fixedClip) {
        const CZVRect fixed = FixedClipOnSurface();
        area = area ? Overlap(*area, fixed) : fixed;
    }
    if (!area) {
        m_selected.reset();
        return;
    }
    if (area->w <= 0 || area->h <= 0)
        m_selected = platform::ClipBox{};
    else
        m_selected = platform::ClipBox{area->x, area->y, area->x + area->w, area->y + area->h};
}

void CZVDC::PushClip(const CZVRect* rect) {
    std::optional<CZVRect> entry;
    if (rect) entry = CZVRect(rect->x + m_originX, rect->y + m_originY, rect->w, rect->h);
    m_clips.push_back(entry);
    SelectClip(entry ? &*entry : nullptr);
}

void CZVDC::PopClip() {
    if (m_clips.empty()) {
        ReportAssert(kSource, __LINE__, 1);
    } else {
        m_clips.pop_back();
    }
    if (!m_clips.empty() && m_clips.back())
        SelectClip(&*m_clips.back());
    else
        SelectClip(nullptr);
}

void CZVDC::PushClipXYWH(int x, int y, int w, int h) {
    CZVRect rect(x, y, w, h);
    PushClip(&rect);
}

void CZVDC::PushClipBounds(int x1, int y1, int x2, int y2) { PushClipXYWH(x1, y1, x2 - x1 + 1, y2 - y1 + 1); }

void CZVDC::SetClipRect(const CZVRect* rect) {
    if (rect)
        m_fixedClip = *rect;
    else
        m_fixedClip.reset();
}

std::optional<CZVRect> CZVDC::GetClipRect() {
    if (m_clips.empty() || !m_clips.back()) return std::nullopt;
    CZVRect clip = *m_clips.back();
    if (m_fixedClip) clip = Overlap(clip, FixedClipOnSurface());
    clip.x -= m_originX;
    clip.y -= m_originY;
    return clip;
}

CZVRect CZVDC::ClipRectToDC(CZVRect rect) {
    std::optional<CZVRect> clip = GetClipRect();
    return clip ? Overlap(rect, *clip) : rect;
}

// ---- fills and lines

void CZVDC::FillBox(int left, int top, int right, int bottom, uint16_t pixel) {
    platform::Surface16* target = PixelTarget();
    if (!target) {
        ReportAssert(kSource, __LINE__, 1);
        return;
    }
    platform::ClipBox box = Intersect(DrawClip(*target), {left, top, right, bottom});
    if (box.IsEmpty()) return;
    int count = box.right - box.left;
    if (!m_invert && count == target->stride) {
        // Whole rows: one fill.
        pixelrow::Fill(target->pixels + static_cast<ptrdiff_t>(box.top) * count, count * (box.bottom - box.top), pixel);
        return;
    }
    for (int y = box.top; y < box.bottom; ++y) {
        uint16_t* row = target->pixels + static_cast<ptrdiff_t>(y) * target->stride + box.left;
        if (m_invert)
            for (int i = 0; i < count; ++i) row[i] = static_cast<uint16_t>(~row[i]);
        else
            pixelrow::Fill(row, count, pixel);
    }
}

void CZVDC::FillRect(COLORREF colour, int x, int y, int w, int h, int themed) {
    if (m_themedFills && themed && Shell().FillSkinned(this, colour, x, y, w, h)) return;
    if (w <= 0 || h <= 0) return;
    x += m_originX;
    y += m_originY;
    FillBox(x, y, x + w, y + h, ToRgb565(colour));
}

void CZVDC::FillRectRect(COLORREF colour, CZVRect rect, int themed) {
    FillRect(colour, rect.x, rect.y, rect.w, rect.h, themed);
}

void CZVDC::FillRects(COLORREF colour, std::span<const CZVRect> rects) {
    for (const CZVRect& rect : rects) FillRect(colour, rect.x, rect.y, rect.w, rect.h, 0);
}

void CZVDC::Line(COLORREF colour, int x1, int y1, int x2, int y2) {
    SetColor(colour);
    x1 += m_originX;
    y1 += m_originY;
    x2 += m_originX;
    y2 += m_originY;
    if (y1 == y2 || x1 == x2) {
        FillBox(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + 1, std::max(y1, y2) + 1, m_pen.pixel);
        return;
    }
    // Bresenham, both end points included.
    int dx = std::abs(x2 - x1), sx = x1 < x2 ? 1 : -1;
    int dy = -std::abs(y2 - y1), sy = y1 < y2 ? 1 : -1;
    int error = dx + dy;
    while (true) {
        FillBox(x1, y1, x1 + 1, y1 + 1, m_pen.pixel);
        if (x1 == x2 && y1 == y2) break;
        int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x1 += sx;
        }
        if (twice <= dx) {
            error += dx;
            y1 += sy;
        }
    }
}

void CZVDC::FrameRect(COLORREF colour, int x, int y, int w, int h) {
    int right = x + w - 1;
    int bottom = y + h - 1;
    Line(colour, x, y, right, y);
    Line(colour, right, y, right, bottom);
    Line(colour, right, bottom, x, bottom);
    Line(colour, x, bottom, x, y);
}

void CZVDC::FrameRectRect(COLORREF colour, CZVRect rect) { FrameRect(colour, rect.x, rect.y, rect.w, rect.h); }

void CZVDC::FillSpanPixels(platform::Surface16& target, uint16_t pixel, int x1, int x2, int y, bool clipToDC) {
    platform::ClipBox box = clipToDC ? DrawClip(target) : platform::ClipBox{0, 0, target.width, target.height};
    if (y < box.top || y >= box.bottom) return;
    int left = std::max(x1, box.left);
    int right = std::min(x2 + 1, box.right);
    if (right > left)
        pixelrow::Fill(target.pixels + static_cast<ptrdiff_t>(y) * target.stride + left, right - left, pixel);
}

void CZVDC::FillRoundPixels(uint16_t pixel, int x, int y, int w, int h, int radius, int flags) {
    platform::Surface16* target = PixelTarget();
    if (!target) {
        ReportAssert(kSource, __LINE__, 1);
        return;
    }
    int g = std::min({radius, w / 2, h / 2});
    CPointList outline;
    BuildCircleOutline(&outline, g + (flags & 1), 1);
    if (flags & 1) ShrinkOutline(&outline);
    x += m_originX;
    y += m_originY;
    int topCentre = y + g;
    int bottomCentre = y + h - g - 1;
    for (int i = 0; i < outline.GetCount(); ++i) {
        int px = outline.GetX(i);
        int py = outline.GetY(i);
        int left = x + g - px;
        int right = x + w - g - 1 + px;
        FillSpanPixels(*target, pixel, left, right, bottomCentre + py, true);
        FillSpanPixels(*target, pixel, left, right, topCentre - py, true);
    }
    FillBox(x, y + g, x + w, y + h - g, pixel);
}

void CZVDC::RoundRect(COLORREF colour, int x, int y, int w, int h, int radius) {
    if (radius <= 2) {
        FillRect(colour, x, y, w, h, 0);
        return;
    }
    // The window form covers x..x+w and y..y+h, its corners of diameter 2 x radius + 2.
    FillRoundPixels(ToRgb565(colour), x, y, w + 1, h + 1, radius + 1, 0);
}

void CZVDC::DrawNestedFrames(int x, int y, int w, int h, int width, COLORREF topLeft, COLORREF bottomRight) {
    for (int i = 0; i < width && 2 * i < w && 2 * i < h; ++i) {
        int left = x + i, top = y + i, right = x + w - 1 - i, bottom = y + h - 1 - i;
        Line(topLeft, left, top, right, top);
        Line(topLeft, left, top, left, bottom);
        Line(bottomRight, left, bottom, right, bottom);
        Line(bottomRight, right, top, right, bottom);
    }
}

void CZVDC::DrawBevel(CZVRect rect, int width, COLORREF colour, bool raised) {
    COLORREF light = ScaleColor(1.207, colour);
    COLORREF dark = ScaleColor(0.5, colour);
    DrawNestedFrames(rect.x, rect.y, rect.w, rect.h, width, raised ? light : dark, raised ? dark : light);
}

void CZVDC::FillBevelBox(COLORREF fill, COLORREF edge, bool raised, int x1, int y1, int x2, int y2, int width,
                         float strength) {
    FillRect(fill, x1, y1, x2 - x1 + 1, y2 - y1 + 1, 0);
    if (width == 0) return;
    width = std::max(width, 1);
    COLORREF light = ScaleColor(1 + 0.207 * strength, edge);
    COLORREF dark = ScaleColor(1 - 0.5 * strength, edge);
    DrawNestedFrames(x1, y1, x2 - x1 + 1, y2 - y1 + 1, width, raised ? light : dark, raised ? dark : light);
}

void CZVDC::FillBevelBoxStd(COLORREF fill, COLORREF edge, bool raised, int x1, int y1, int x2, int y2, int width) {
    FillBevelBox(fill, edge, raised, x1, y1, x2, y2, width, 1.0f);
}

void CZVDC::BevelBox(COLORREF colour, bool raised, int x1, int y1, int x2, int y2, int width) {
    FillBevelBoxStd(colour, colour, raised, x1, y1, x2, y2, width);
}

void CZVDC::FillGlassRect(COLORREF colour, CZVRect rect, float strength) {
    if (rect.w <= 0 || rect.h <= 0) return;
    CDibDC glass(rect.w, rect.h, 0, 0, 0);
    glass.FillGlassGradient(colour, strength);
    BitBltAll(&glass, rect.x, rect.y);
}

// ---- blits

void CZVDC::CopyPixels(int x, int y, CZVDC* src, int sx, int sy, int w, int h, int key) {
    if (!src) return;
    src->FlushDeferredText();
    platform::Surface16* to = PixelTarget();
    platform::Surface16* from = src->PixelTarget();
    if (!to || !from) {
        ReportAssert(kSource, __LINE__, 1);
        return;
    }
    CopySurface(*to, x + m_originX, y + m_originY, DrawClip(*to), *from, sx, sy, w, h, key);
}

void CZVDC::BitBlt(int x, int y, CZVDC* src, int sx, int sy, int w, int h) { CopyPixels(x, y, src, sx, sy, w, h, -1); }

void CZVDC::TransparentBlt(int x, int y, CZVDC* src, int sx, int sy, int w, int h, uint16_t key565) {
    CopyPixels(x, y, src, sx, sy, w, h, key565);
}

void CZVDC::BitBltAll(CDibDC* src, int x, int y) {
    if (src) BitBlt(x, y, src, 0, 0, src->GetRequestedWidth(), src->GetHeight());
}

void CZVDC::BltFromDC(int x, int y, CZVDC* src, int sx, int sy, int w, int h) {
    if (src) CopyPixels(x, y, src, sx + src->m_originX, sy + src->m_originY, w, h, -1);
}

void CZVDC::CaptureRectTo(CDibDC* dst, int x, int y, int dx, int dy, int w, int h) {
    if (!dst) return;
    FlushDeferredText();
    platform::Surface16* from = PixelTarget();
    if (!from) {
        ReportAssert(kSource, __LINE__, 1);
        return;
    }
    platform::Surface16& to = *static_cast<CZVDC*>(dst)->PixelTarget();
    CopySurface(to, dx, dy, {0, 0, to.width, to.height}, *from, x + m_originX, y + m_originY, w, h, -1);
}

void CZVDC::CaptureTo(CDibDC* dst, int x, int y) {
    if (dst) CaptureRectTo(dst, x, y, 0, 0, dst->GetRequestedWidth(), dst->GetHeight());
}

void CZVDC::ScrollArea(int x, int y, int w, int h, int dx, int dy) {
    if (dx == 0 && dy == 0) return;
    platform::Surface16* target = PixelTarget();
    if (!target) return;
    x += m_originX;
    y += m_originY;
    // Only the area itself changes: the copy is clipped to it.
    platform::ClipBox area = Intersect(DrawClip(*target), {x, y, x + w, y + h});
    CopySurface(*target, x + dx, y + dy, area, *target, x, y, w, h, -1);
}

// ---- text

void CZVDC::TextOut(const char* text, int count, int x, int y) {
    if (!text) return;
    if (count < 0) count = static_cast<int>(std::strlen(text));
    platform::Surface16* target = GetHDC();
    const platform::Font* font = EnsureFont();
    if (!target || !font) return;
    font->Draw(WideOf(text, count), x + m_originX, y + m_originY - m_lineOffset, TextPixel(m_colour), *target,
               DrawClip(*target));
}

void CZVDC::TextOutString(CZVString text, int x, int y) {
    std::u16string wide = WideOf(text);
    platform::Surface16* target = GetHDC();
    const platform::Font* font = EnsureFont();
    if (!target || !font) return;
    font->Draw(wide, x + m_originX, y + m_originY - m_lineOffset, TextPixel(m_colour), *target, DrawClip(*target));
}

CTextSize CZVDC::MeasureLines(const std::u16string& text) {
    const platform::Font* font = EnsureFont();
    if (!font) return {};
    CTextSize size;
    for (std::u16string_view line : SplitLines(text)) {
        size.cx = std::max(size.cx, font->Advance(line));
        size.cy += font->Height();
    }
    return size;
}

void CZVDC::RenderLines(const std::u16string& text, platform::ClipBox box, unsigned flags) {
    platform::Surface16* target = GetHDC();
    const platform::Font* font = EnsureFont();
    if (!target || !font) return;
    platform::ClipBox clip = Intersect(DrawClip(*target), box);
    int lineHeight = font->Height();
    std::vector<std::u16string_view> lines;
    std::u16string single;
    if (flags & DT_SINGLELINE) {
        single = text;
        std::erase_if(single, [](char16_t c) { return c == u'\r' || c == u'\n'; });
        lines.push_back(single);
    } else {
        lines = SplitLines(text);
    }
    int y = box.top;
    int blockHeight = lineHeight * static_cast<int>(lines.size());
    if ((flags & DT_SINGLELINE) && (flags & DT_VCENTER))
        y = box.top + (box.bottom - box.top - lineHeight) / 2;
    else if (flags & DT_BOTTOM)
        y = box.bottom - blockHeight;  // the last line sits on the bottom edge
    uint16_t pixel = TextPixel(m_colour);
    for (std::u16string_view line : lines) {
        if (y >= clip.bottom) break;
        int width = font->Advance(line);
        int x = box.left;
        if (flags & DT_CENTER)
            x = box.left + (box.right - box.left - width) / 2;
        else if (flags & DT_RIGHT)
            x = box.right - width;
        if (y + lineHeight > clip.top) font->Draw(line, x, y, pixel, *target, clip);
        y += lineHeight;
    }
}

void CZVDC::DrawTextNow(const std::u16string& text, CZVRect rect, int format) {
    platform::ClipBox box{rect.x + m_originX, rect.y + m_originY, rect.x + m_originX + rect.w,
                          rect.y + m_originY + rect.h};
    unsigned flags = ToDrawTextFlags(format) | DT_NOPREFIX;
    if (((format >> 3) & 7) == 2) {
        if (text.find(u'\n') == std::u16string::npos) {
            RenderLines(text, box, flags | DT_SINGLELINE | DT_VCENTER);
            return;
        }
        int half = MeasureLines(text).cy / 2;
        if (m_smooth && m_font && m_font->Smooth()) half += m_fontSize / 20;
        int mid = (box.top + box.bottom) / 2;
        box.top = mid - half;
        box.bottom = mid + half;
    }
    RenderLines(text, box, flags);
}

void CZVDC::DrawText(CZVString text, CZVRect rect, int format) {
    if (!m_hasHDC) {
        m_deferred.push_back({rect, text, format, m_fontSize, m_colour, m_originX, m_originY});
        return;
    }
    DrawTextNow(WideOf(text), rect, format);
}

void CZVDC::FlushDeferredText() {
    if (m_deferred.empty()) return;
    std::vector<DeferredText> queue;
    queue.swap(m_deferred);
    int savedX = m_originX, savedY = m_originY;
    if (!GetHDC()) return;  // nowhere to draw: the text goes with the context
    for (DeferredText& record : queue) {
        m_originX = record.originX;
        m_originY = record.originY;
        SetColor(record.colour);
        SetFont(record.fontSize, 0, 0);
        DrawText(record.text, record.rect, record.format);
    }
    m_originX = savedX;
    m_originY = savedY;
}

CTextSize CZVDC::GetTextSize(CZVString text) {
    if (text.IsEmpty()) return {};
    GetHDC();
    CTextSize size = MeasureLines(WideOf(text));
    return {size.cx + 1, size.cy + 1};
}

CTextSize CZVDC::GetTextExtent(const char* text, int count) {
    if (!text || count < 0) return {};
    GetHDC();
    const platform::Font* font = EnsureFont();
    if (!font) return {};
    return {font->Advance(WideOf(text, count)), font->Height()};
}

CZVString CZVDC::EllipsizeText(CZVString text, int maxWidth) {
    GetHDC();
    const platform::Font* font = EnsureFont();
    if (!font || text.IsEmpty()) return CZVString();
    std::u16string wide = WideOf(text);
    std::vector<int> widths = PrefixWidths(*font, wide);
    if (widths.back() <= maxWidth) return text;
    int keep = std::max(0, FittingPrefix(widths, maxWidth - font->Advance(u"...")));
    CZVString result = text.Left(keep);
    result += "...";
    return result;
}

void CZVDC::EllipsizeBuffer(char* text, int* length, int maxWidth) {
    if (!text || !length || *length <= 3) return;
    GetHDC();
    const platform::Font* font = EnsureFont();
    if (!font) return;
    std::vector<int> widths = PrefixWidths(*font, WideOf(text, *length));
    if (widths.back() <= maxWidth) return;
    int keep = std::max(0, FittingPrefix(widths, maxWidth - font->Advance(u"...")));
    std::memcpy(text + keep, "...", 4);
    *length = keep + 3;
}

int CZVDC::FitChars(CZVString text, int width, int lookback) {
    if (text.IsEmpty()) {
        ReportAssert(kSource, __LINE__, 1);
        return 0;
    }
    GetHDC();
    std::u16string wide = WideOf(text);
    int length = static_cast<int>(wide.size());
    const platform::Font* font = EnsureFont();
    if (!font) return length;
    std::vector<int> widths = PrefixWidths(*font, wide);
    if (widths.back() <= width) return length;
    // At least one character per line, however narrow, so that no text is lost.
    int n = std::max(1, FittingPrefix(widths, width));
    for (int i = n, looked = 0; i > 0 && looked < lookback; --i, ++looked)
        if (wide[i] == u' ') return i + 1;
    return n;
}

CZVString CZVDC::WrapText(CZVString& text, int width, int lookback, int* lines) {
    CZVString result(CZVString::kAnsi);
    CZVString rest = text;
    int max = lines ? *lines : 0;
    int count = 1;
    while (!rest.IsEmpty()) {
        int c = FitChars(rest, width, lookback);
        if (c <= 0) break;
        if (!result.IsEmpty()) result += "\n";
        CZVString line = rest.Left(c);
        if (line.GetKind() == CZVString::kAnsi)
            result += line.GetAnsi();
        else
            result += line.GetWide();
        rest = rest.Right(rest.GetLength() - c);
        if (!rest.IsEmpty()) ++count;
        if (max > 0 && count > max) {
            count = max;
            break;
        }
    }
    if (lines) *lines = count;
    return result;
}

CZVString CZVDC::WrapTextCopy(CZVString text, int width, int lookback, int* lines) {
    return WrapText(text, width, lookback, lines);
}

void CZVDC::DrawVerticalText(CZVString text, int fontSize, COLORREF keyColour, CZVRect rect, int clockwise,
                             int format) {
    int w = (rect.w + 1) & ~1;
    int h = (rect.h + 1) & ~1;
    if (rect.w <= 0 || rect.h <= 0) return;
    CDibDC across(h, w, 0, 0, 1);
    // Every pixel of the upright picture is written by the turn below.
    CDibDC upright(w, h, 0, 0, 0);
    across.FillRect(keyColour, 0, 0, h, w, 0);
    across.SetFont(fontSize, 0, 0);
    across.SetColor(m_colour);
    across.DrawText(text, CZVRect(0, 0, h, w), format);
    uint16_t* const turned = upright.GetBits();
    if (!turned || !across.GetBits()) return;
    const ptrdiff_t stride = upright.GetParentRowLength();
    // Source row r becomes column w - 1 - r (clockwise) or column r read upward.
    for (int r = 0; r < w; ++r) {
        const uint16_t* row = across.GetPixelAddress(0, r);
        uint16_t* column = turned + (clockwise ? w - 1 - r : r);
        if (clockwise)
            for (int c = 0; c < h; ++c) column[c * stride] = row[c];
        else
            for (int c = 0; c < h; ++c) column[(h - 1 - c) * stride] = row[c];
    }
    TransparentBlt(rect.x, rect.y, &upright, 0, 0, w, h, 0);
}

// ---- zoom transition

namespace {

uint16_t MixPixels(uint16_t oldPixel, uint16_t newPixel, int weight) {
    int keep = 256 - weight;
    int b = ((oldPixel & 0x1F) * keep + (newPixel & 0x1F) * weight) / 256;
    int g = (((oldPixel >> 5) & 0x3F) * keep + ((newPixel >> 5) & 0x3F) * weight) / 256;
    int r = ((oldPixel >> 11) * keep + (newPixel >> 11) * weight) / 256;
    return static_cast<uint16_t>((r << 11) | (g << 5) | b);
}

// The centred crop of per cent of the picture, enlarged back to its size.
std::unique_ptr<CDibDC> ZoomedCrop(CDibDC* picture, int percent) {
    int w = picture->GetRequestedWidth();
    int h = picture->GetHeight();
    int cw = std::max(1, w * percent / 100);
    int ch = std::max(1, h * percent / 100);
    CDibDC crop(picture, CZVRect((w - cw) / 2, (h - ch) / 2, cw, ch), nullptr, nullptr);
    return std::unique_ptr<CDibDC>(crop.ScaleNearest(w, h));
}

}  // namespace

int CZVDC::PlayZoomTransition(CDibDC* newImage, int x, int y) {
    if (!newImage || Shell().TakePendingPress()) return 0;
    int w = newImage->GetRequestedWidth();
    int h = newImage->GetHeight();
    if (w <= 0 || h <= 0) return 0;
    bool precompute = Shell().GetAvailableMemory() >= 18ull * w * h;

    CDibDC old(w, h, 0, 0, 1);
    CaptureTo(&old, x, y);
    std::vector<std::unique_ptr<CDibDC>> frames;
    Shell().SendStatus();

    for (int k = 0; k < 8; ++k) {
        std::unique_ptr<CDibDC> fresh = ZoomedCrop(newImage, 93 + k);
        std::unique_ptr<CDibDC> stale = ZoomedCrop(&old, 100 - k);
        auto frame = std::make_unique<CDibDC>(w, h, 0, 0, 0);
        int weight = 32 * (k + 1);
        for (int row = 0; row < h; ++row) {
            const uint16_t* a = stale->GetPixelAddress(0, row);
            const uint16_t* b = fresh->GetPixelAddress(0, row);
            uint16_t* out = frame->GetPixelAddress(0, row);
            for (int col = 0; col < w; ++col) out[col] = MixPixels(a[col], b[col], weight);
        }
        if (precompute)
            frames.push_back(std::move(frame));
        else
            BitBltAll(frame.get(), x, y);
        if (Shell().TakePendingPress()) return 0;
    }

    uint32_t last = platform::GetTickCount();
    for (auto& frame : frames) {
        if (Shell().TakePendingPress()) {
            BitBltAll(newImage, x, y);
            return 0;
        }
        while (TicksSince(&last) < 10) platform::Sleep(5);
        last = platform::GetTickCount();
        BitBltAll(frame.get(), x, y);
        frame.reset();
    }
    return 1;
}
