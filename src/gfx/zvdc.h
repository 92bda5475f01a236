#pragma once
// The drawing context through which every widget paints: a movable origin,
// a current colour and font, a stack of clip rectangles and a queue of text
// that waits until the context has a target. A context made for a window
// draws into the screen surface that the window layer shows; a CDibDC draws
// into its own pixels.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "gfx/fontserver.h"
#include "gfx/gdicache.h"
#include "gfx/speed.h"
#include "gfx/zvrect.h"
#include "gfx/zvstring.h"
#include "platform/surface16.h"

class CDibDC;
class CZVDC;

// Text format bits carried by every widget.
enum : int {
    kTextLeft = 1,
    kTextCentre = 2,
    kTextRight = 4,
    kTextBottom = 0x08,
    kTextVCentre = 0x10,
};

// Layout flags of DrawTextFlags, the values the format maps to.
enum : unsigned {
    DT_TOP = 0x0,
    DT_LEFT = 0x0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_VCENTER = 0x4,
    DT_BOTTOM = 0x8,
    DT_SINGLELINE = 0x20,
    DT_CALCRECT = 0x400,
    DT_NOPREFIX = 0x800,
};

unsigned ToDrawTextFlags(int format);

// What a drawing context needs of the window it paints for; the window class
// implements it.
class CPaintWindow {
public:
    virtual ~CPaintWindow() = default;
    // Root coordinates of the window's (0, 0).
    virtual int ToRootX(int x) = 0;
    virtual int ToRootY(int y) = 0;
    virtual bool HasParent() = 0;
    // A context that a parent lends for drawing (a video window's back
    // buffer), or null; given back through ReleaseEnclosingDC.
    virtual CZVDC* GetEnclosingDC() = 0;
    virtual void ReleaseEnclosingDC(CZVDC* dc) = 0;
    // The window's visible area in root coordinates; false when unclipped.
    virtual bool GetClipRect(CZVRect* rootRect) = 0;
};

struct CTextSize {
    int cx = 0;
    int cy = 0;
};

class CZVDC {
public:
    CZVDC();
    explicit CZVDC(CPaintWindow* window);
    virtual ~CZVDC();
    CZVDC(const CZVDC&) = delete;
    CZVDC& operator=(const CZVDC&) = delete;

    virtual void GetOrigin(int* x, int* y);
    virtual void GetDeviceOrigin(int* x, int* y);
    virtual void SetOrigin(int x, int y);
    virtual void SetFont(int size, int reserved, int smooth);
    virtual void DrawText(CZVString text, CZVRect rect, int format);
    virtual void TextOut(const char* text, int count, int x, int y);
    virtual void TextOutString(CZVString text, int x, int y);
    virtual void FillRect(COLORREF colour, int x, int y, int w, int h, int themed);
    virtual void FillRectRect(COLORREF colour, CZVRect rect, int themed);
    // The target pixels, bound on first use; null when there is none.
    virtual platform::Surface16* GetHDC();
    virtual void RoundRect(COLORREF colour, int x, int y, int w, int h, int radius);
    virtual void SetColor(COLORREF colour);
    virtual void Line(COLORREF colour, int x1, int y1, int x2, int y2);
    virtual void TransparentBlt(int x, int y, CZVDC* src, int sx, int sy, int w, int h, uint16_t key565);
    virtual void BitBlt(int x, int y, CZVDC* src, int sx, int sy, int w, int h);
    virtual void BitBltAll(CDibDC* src, int x, int y);
    virtual void PushClip(const CZVRect* rect);
    virtual void PopClip();
    virtual void SelectClip(const CZVRect* rect);

    void SetOriginAt(int x, int y) { SetOrigin(x, y); }
    void SetOriginFromWindow(CPaintWindow* window);
    void OffsetOrigin(int dx, int dy);
    void SetTransparentText() { GetHDC(); }
    void SetInvert(bool on);
    void SelectFont(int size, int reserved, int smooth);
    void SetClipRect(const CZVRect* rect);
    // The newest clip with the fixed clip, in window coordinates.
    std::optional<CZVRect> GetClipRect();
    CZVRect ClipRectToDC(CZVRect rect);
    void PushClipXYWH(int x, int y, int w, int h);
    void PushClipBounds(int x1, int y1, int x2, int y2);

    CTextSize GetTextSize(CZVString text);
    CTextSize GetTextExtent(const char* text, int count);
    CZVString EllipsizeText(CZVString text, int maxWidth);
    // The buffer must have room for 3 more characters and a terminator.
    void EllipsizeBuffer(char* text, int* length, int maxWidth);
    int FitChars(CZVString text, int width, int lookback);
    CZVString WrapText(CZVString& text, int width, int lookback, int* lines);
    CZVString WrapTextCopy(CZVString text, int width, int lookback, int* lines);
    void FlushDeferredText();

    void FrameRect(COLORREF colour, int x, int y, int w, int h);
    void FrameRectRect(COLORREF colour, CZVRect rect);
    void FillRects(COLORREF colour, std::span<const CZVRect> rects);
    void DrawBevel(CZVRect rect, int width, COLORREF colour, bool raised);
    void FillBevelBox(COLORREF fill, COLORREF edge, bool raised, int x1, int y1, int x2, int y2, int width,
                      float strength);
    void FillBevelBoxStd(COLORREF fill, COLORREF edge, bool raised, int x1, int y1, int x2, int y2, int width);
    void BevelBox(COLORREF colour, bool raised, int x1, int y1, int x2, int y2, int width);
    void FillGlassRect(COLORREF colour, CZVRect rect, float strength);
    void DrawVerticalText(CZVString text, int fontSize, COLORREF keyColour, CZVRect rect, int clockwise, int format);
    void BltFromDC(int x, int y, CZVDC* src, int sx, int sy, int w, int h);
    void CaptureTo(CDibDC* dst, int x, int y);
    void CaptureRectTo(CDibDC* dst, int x, int y, int dx, int dy, int w, int h);
    void ScrollArea(int x, int y, int w, int h, int dx, int dy);
    int PlayZoomTransition(CDibDC* newImage, int x, int y);

    COLORREF GetColor() const { return m_colour; }
    int GetFontSize() const { return m_fontSize; }
    int GetLineOffset() const { return m_lineOffset; }
    bool IsPixelSurface() const { return m_pixelSurface; }
    // Themed fills may be offered to the style object.
    bool AllowsThemedFills() const { return m_themedFills; }

protected:
    // The pixels that drawing writes; a surface gives its own without binding
    // its text target.
    virtual platform::Surface16* PixelTarget() { return GetHDC(); }
    bool HasHDC() const { return m_hasHDC; }
    void MarkHDC() { m_hasHDC = true; }
    // The area drawing may touch on the target: its bounds and the selected clip.
    platform::ClipBox DrawClip(const platform::Surface16& target) const;
    // Fills a box of target pixels (clipped), honouring the invert mode.
    void FillBox(int left, int top, int right, int bottom, uint16_t pixel);
    void FillRoundPixels(uint16_t pixel, int x, int y, int w, int h, int radius, int flags);
    void FillSpanPixels(platform::Surface16& target, uint16_t pixel, int x1, int x2, int y, bool clipToDC);
    void DrawTextNow(const std::u16string& text, CZVRect rect, int format);
    const platform::Font* EnsureFont();
    // Copies from any context, the source position in its pixels; key >= 0
    // skips source pixels equal to it.
    void CopyPixels(int x, int y, CZVDC* src, int sx, int sy, int w, int h, int key);
    void DrawNestedFrames(int x, int y, int w, int h, int width, COLORREF topLeft, COLORREF bottomRight);

    platform::Surface16 m_target{};
    bool m_pixelSurface = false;
    bool m_themedFills = true;
    int m_originX = 0;
    int m_originY = 0;
    COLORREF m_colour = 0;
    int m_fontSize = 0;

private:
    struct DeferredText {
        CZVRect rect;
        CZVString text;
        int format;
        int fontSize;
        COLORREF colour;
        int originX;
        int originY;
    };

    CTextSize MeasureLines(const std::u16string& text);
    void RenderLines(const std::u16string& text, platform::ClipBox box, unsigned flags);
    // The fixed clip (which must be set) in the coordinates of the clip stack.
    CZVRect FixedClipOnSurface();

    CPaintWindow* m_window = nullptr;
    CZVDC* m_enclosing = nullptr;
    bool m_hasHDC = false;
    bool m_colourSelected = false;
    CZVPen m_pen;
    CZVBrush m_brush;
    int m_lineOffset = 10;
    int m_smooth = 0;
    FontHandle m_font;
    bool m_invert = false;
    std::vector<std::optional<CZVRect>> m_clips;  // surface coordinates, newest last
    std::optional<CZVRect> m_fixedClip;
    std::optional<platform::ClipBox> m_selected;
    std::vector<DeferredText> m_deferred;
};
