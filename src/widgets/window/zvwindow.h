#pragma once
// CZVWindow: the base of every widget and page. The whole interface is one
// tree of these over the tablet's single native window: geometry relative to
// the parent, owned children painted and offered input in list order,
// colours, caption and shape from the style object, synchronous painting
// with a background that skips what the descendants cover, commands that
// bubble up to the root, and an idle walk that drives timers.
#include <cstdint>
#include <optional>
#include <vector>

#include "core/zvoblist.h"
#include "gfx/speed.h"
#include "gfx/zvdc.h"
#include "gfx/zvrect.h"
#include "gfx/zvstring.h"

class CDibDC;
class CZV3DButton;
class CZVButton;
class CZVCheckButton;
class CZVLabel;
namespace platform {
class TabletWindow;
}

// The id that carries no command.
inline constexpr int kNoCommand = 0x7FFF;

// Flag-word bits the base knows of.
inline constexpr int kFlagMultiLine = 0x10;

// The highlight's light blue, and the dark red that replaces it on faces
// near that blue.
inline constexpr COLORREF kHighlightColor = 0xFF9696;
inline constexpr COLORREF kHighlightOnBlue = 0x320000;

// Told after each step of a vertical slide.
class CSlideCallback {
public:
    virtual ~CSlideCallback() = default;
    virtual void OnSlideStep(CZVDC* dc, int moved, int distance, int argument) = 0;
};

// |r1 - r2| + |g1 - g2| + |b1 - b2| < 256.
int IsNearColor(COLORREF a, COLORREF b);

struct ZVPoint {
    int x = 0;
    int y = 0;
};

class CZVWindow : public CPaintWindow {
public:
    CZVWindow(CZVWindow* parent, CZVRect rect, int styleClass);
    // Deletes the subtree, the highlight's snapshot and glow, and the scroll
    // bar made for this window; leaves the parent's list.
    ~CZVWindow() override;
    CZVWindow(const CZVWindow&) = delete;
    CZVWindow& operator=(const CZVWindow&) = delete;

    // ---- geometry
    virtual void GetClientRect(CZVRect* out);
    virtual void GetContentRect(CZVRect* out);
    virtual void GetInnerRect(CZVRect* out);
    virtual CZVWindow* GetOpaqueAncestor();
    // The visible area of w in root coordinates; 0 when nothing clips it.
    virtual int GetClipRect(CZVWindow* w, CZVRect* out);
    virtual CZVWindow* GetPage();
    virtual void SetCacheKey(const void* key) { m_cacheKey = key; }
    virtual int GetX() { return m_x; }
    virtual int GetRight() { return m_x + m_width - 1; }
    virtual int GetY() { return m_y; }
    virtual int GetBottom() { return m_y + m_height - 1; }
    virtual int GetWidth() { return m_width; }
    virtual int GetHeight() { return m_height; }

    // ---- colours, caption, flags
    virtual void BroadcastFaceColor(COLORREF colour);
    virtual void OnFaceColorChanged(COLORREF) {}
    virtual void SetFaceColor(COLORREF colour) { m_faceColor = colour; }
    virtual COLORREF GetFaceColor() { return m_faceColor; }
    virtual int GetTexture() { return m_texture; }
    // "\n" written as backslash and n becomes a line break.
    virtual void SetText(CZVString text, CZVDC* dc, int redraw);
    virtual void SetFlag(int mask, int on);
    virtual platform::TabletWindow* GetHwnd() { return m_hwnd; }
    virtual int IsEnabled() { return m_enabled; }
    virtual int GetPanelDepth(int add);
    virtual int IsOnBaseSurface() { return GetPanelDepth(0) == 0; }
    virtual void Enable(int enable, int redraw);
    virtual void SetRect(CZVRect rect);
    virtual void AddChild(CZVWindow* child);
    virtual void SetColors(COLORREF face, COLORREF back);
    virtual void SetTextStyle(int fontSize, int format, int flags, int flag2);
    virtual void SetShape(int radius, int bevel, int margin);
    virtual void Show(int show, int force);
    virtual int IsShown() { return m_shown; }
    // Root coordinates, edges included.
    virtual int HitTest(int x, int y);
    virtual int Intersects(int left, int top, int right, int bottom);

    // ---- painting
    virtual void RedrawBuffered();
    virtual void Redraw(int withBackground);
    virtual void Invalidate() { Redraw(1); }
    virtual void Paint(CZVDC* dc, int withBackground);
    virtual int PaintChildrenBuffered(CZVDC* dc);
    virtual void OnPaint(CZVDC*) { m_paintedOnce = 1; }
    virtual void DrawBackground(CZVDC* dc);
    virtual int PaintChildBackground(CZVDC*, CZVWindow*, int, int, int, int) { return 0; }
    virtual void DrawBackgroundRect(CZVDC* dc, int x, int y, int w, int h, CZVWindow* owner);
    virtual void FillBackColor(CZVDC* dc, int x, int y, int w, int h) { FillColor(dc, m_backColor, x, y, w, h); }
    virtual void FillFaceColor(CZVDC* dc, int x, int y, int w, int h) { FillColor(dc, m_faceColor, x, y, w, h); }
    virtual void FillColor(CZVDC* dc, COLORREF colour, int x, int y, int w, int h);

    // ---- input (root coordinates); non-zero = handled
    virtual int OnMouseMove(int x, int y, int keys);
    virtual int OnLButtonDown(int x, int y, int keys);
    virtual int OnLButtonUp(int x, int y, int keys);
    virtual void OnScrollFade(int) {}
    virtual void OnScroll(CZVDC*, int) {}
    virtual void SetTexture(int flag);
    // A gateway image the window waited for has arrived; 0 stops the notices.
    virtual int OnImageReady(CDibDC*) { return m_shown && m_paintedOnce; }
    virtual int OnChildCommand(int, int) { return 0; }
    virtual int OnCommand(int id);
    virtual void OnTimer() {}
    virtual int OnIdle(int busy);
    virtual void OnChar(int, int) {}
    virtual void OnKeyDown(int, int) {}
    virtual void OnKeyUp(int, int) {}
    virtual void FlushImageCache();
    virtual void OnShow(int) {}
    virtual void OnSuspend();
    virtual void OnResume();
    virtual CZVDC* GetEnclosingDC(CZVWindow* w);
    virtual void ReleaseEnclosingDC(CZVWindow* w, CZVDC* dc);
    // The scroll bar for this window, made by the factory that the scroll-bar
    // code installs (SetScrollBarFactory); null without one.
    virtual CZVWindow* CreateScrollBar(CZVWindow* parent, CZVRect rect);
    // The rectangle (own coordinates) that the window covers completely.
    virtual std::optional<CZVRect> GetOpaqueRect() { return std::nullopt; }
    virtual CZVWindow* FindSameLook(CZVWindow* w);
    virtual CZVWindow* IsSameLook(CZVWindow*) { return nullptr; }

    // ---- highlight: a glow over the window that fades in the idle walk
    // One frame of the fade at the countdown's strength.
    virtual void HighlightStep(CZVDC* dc);
    virtual void StartHighlight();
    virtual COLORREF GetHighlightColor() { return kHighlightColor; }
    // Keeps the window's screen pixels as they are before the highlight.
    virtual void CaptureSnapshot(CZVDC* dc);
    // Puts the kept pixels back and lets the highlight go.
    virtual void EndHighlight(CZVDC* dc);
    virtual void RecaptureSnapshot(CZVDC* dc);
    // Deletes glow and snapshot; the screen stays as it is.
    virtual void ReleaseHighlight();
    virtual int StopHighlight();
    virtual CZV3DButton* CreateHighlightGlow();
    virtual void DrawHighlightShape(COLORREF colour, CDibDC* dib);

    // ---- CPaintWindow: what a drawing context made for this window asks
    int ToRootX(int x) override;
    int ToRootY(int y) override;
    bool HasParent() override { return m_parent != nullptr; }
    CZVDC* GetEnclosingDC() override { return m_parent ? m_parent->GetEnclosingDC(this) : nullptr; }
    void ReleaseEnclosingDC(CZVDC* dc) override {
        if (m_parent) m_parent->ReleaseEnclosingDC(this, dc);
    }
    bool GetClipRect(CZVRect* rootRect) override { return GetClipRect(this, rootRect) != 0; }

    // ---- transitions: blocking; they move the window's screen pixels
    // Moves a band of the window sideways (right for a positive distance)
    // and draws the uncovered columns from the incoming surface.
    void SlideHorizontal(int distance, unsigned duration, CDibDC* incoming, int leftInset, int rightInset,
                         int topInset, int bottomInset);
    // The same vertically (down for a positive distance); easing 0 speeds up
    // then slows down, 1 only speeds up, 2 only slows down.
    void SlideVertical(int distance, unsigned duration, CDibDC* incoming, int leftInset, int rightInset,
                       int topInset, int bottomInset, CSlideCallback* callback, int callbackArgument, int easing);
    // Moves the edges of a rectangle from `from` to `to` (back with reverse),
    // filling what opens from the image (the window's size).
    void MorphTransition(int duration, CZVRect from, CZVRect to, CDibDC* image, int reverse);
    // One moving edge of a morph frame: band is the window's area, (amountX,
    // amountY) the edge's whole travel, side 0 the left or top edge and 1
    // the right or bottom one. Returns the edge's new offset.
    int ScrollContents(CZVDC* dc, CDibDC* image, CZVRect band, int progress, int amountX, int amountY,
                       int previousOffset, int side);

    // ---- child factories: each control is made, added and returned
    CZVButton* AddButton(CZVRect rect, int id, int styleClass, CZVString caption);
    CZV3DButton* Add3DButton(CZVRect rect, int id, int styleClass, CZVString caption, CZV3DButton* lookSource);
    CZV3DButton* Add3DButtonDefault(CZVRect rect, int id, int styleClass, CZVString caption);
    CZV3DButton* AddImageButton(CZVRect rect, int id, int styleClass, int iconKind, COLORREF iconColour);
    CZV3DButton* AddIconButton(CZVRect rect, int id, int styleClass, CZVString iconName, int layout);
    CZVCheckButton* AddCheckButton(CZVRect rect, int id, int styleClass, CZVString caption);
    // An arrow button for the direction, with the built-in arrow icon (kind
    // 5 for direction 2, else 4).
    CZV3DButton* AddArrowButton(CZVRect rect, int direction, CZV3DButton* lookSource, int id, int styleClass);
    // Labels; a font size of -1 keeps the class's own.
    CZVLabel* AddLabel(CZVRect rect, CZVString text, int fontSize);
    CZVLabel* AddLabelClass(CZVRect rect, CZVString text, int fontSize, int styleClass);
    // Text-format bit 2 set when set2 is non-zero, else cleared.
    CZVLabel* AddLabelAligned(CZVRect rect, CZVString text, int fontSize, int set2, int styleClass);
    // Each of bold (flag 1), format and framed (flag 2) applied unless -1.
    CZVLabel* AddLabelFormatted(CZVRect rect, CZVString text, int fontSize, int bold, int format, int framed,
                                int styleClass);
    // This window's style class, text format 17, the text colour.
    CZVLabel* AddLabelColored(CZVRect rect, CZVString text, int fontSize, COLORREF textColour);
    // A 4 x 3 numeric keypad; keyMask bit 2 adds "Cancel", bit 1 "Enter".
    // keys receives the 12 keys in row order, null for an omitted one.
    void BuildKeypad(CZVRect rect, int gap, int fontSize, CZVString pressSound, int keyMask, CZV3DButton* keys[12],
                     int skinnedLook, int styleClass);

    // ---- non-virtual
    platform::TabletWindow* GetRootHwnd();
    CZVWindow* GetParent() const { return m_parent; }
    // Moves the parent link only; the parents' child lists are the caller's.
    void SetParent(CZVWindow* parent) { m_parent = parent; }
    // Moves the window within its parent, keeping its size.
    void MoveBy(int dx, int dy) {
        m_x += dx;
        m_y += dy;
    }
    CZVWindow* GetParentOpaqueAncestor() { return m_parent ? m_parent->GetOpaqueAncestor() : nullptr; }
    CZVRect GetCenteredRect(int w, int h) const;
    int IsDescendant(CZVWindow* w) const;
    void AddChildFirst(CZVWindow* child);
    int RemoveChild(CZVWindow* child);
    void DeleteChildren();
    const CZVObList& GetChildren() const { return m_children; }
    CZVRect GetRectIn(CZVWindow* w);
    static CZVWindow* FindContainer(CZVWindow* found, CZVRect* rect, const CZVObList* windows);
    CZVWindow* EnsureScrollBar(CZVDC* dc, int show);
    CZVWindow* GetScrollBar() const { return m_scrollBar; }
    void RemoveScrollBar();
    int GetScrollBarWidth() const { return m_scrollBarWidth; }

    void SetTextColor(COLORREF colour) { m_textColor = colour; }
    COLORREF GetTextColor() const { return m_textColor; }
    COLORREF GetBackColor() const { return m_backColor; }
    void SetBackColor(COLORREF colour) { m_backColor = colour; }
    CZVString GetText() const { return m_text; }
    int IsTextChanged() const { return m_textChanged; }
    void SetTextChanged(int changed) { m_textChanged = changed; }
    int GetFontSize() const { return m_fontSize; }
    void SetFontSize(int size) { m_fontSize = size; }
    int GetTextFormat() const { return m_textFormat; }
    void SetTextFormat(int format) { m_textFormat = format; }
    // A kept-hidden window ignores every show that is not forced.
    void SetKeepHidden(int on) { m_keepHidden = on; }
    int GetFlags() const { return m_flags; }
    int HasFlag(int mask) const { return (m_flags & mask) != 0; }
    void SetTimer(int ms) { m_timerInterval = ms; }
    void KillTimer() { m_timerInterval = 0; }
    int GetTimerInterval() const { return m_timerInterval; }
    int GetStyleClass() const { return m_styleClass; }
    int GetCornerRadius() const { return m_radius; }
    void SetCornerRadius(int radius) { m_radius = radius; }
    int GetSpacing() const { return m_spacing; }
    void SetSpacing(int spacing) { m_spacing = spacing; }
    int GetBevel() const { return m_bevel >= 0 && m_bevel <= 254 ? m_bevel : 0; }
    void SetBevel(int bevel) { m_bevel = bevel; }
    int GetMargin() const { return m_margin >= 0 && m_margin <= 254 ? m_margin : 0; }
    void SetMargin(int margin) { m_margin = margin; }
    int GetBevelType() const { return m_bevelType; }
    void SetBevelType(int type) { m_bevelType = type; }
    int IsOpaque() const { return m_opaque; }
    int IsPaintedOnce() const { return m_paintedOnce; }
    int HasDeferredRepaint() const { return m_deferredRepaint; }
    void SetDeferredRepaint(int on) { m_deferredRepaint = on; }
    int GetHighlightCountdown() const { return m_highlightCountdown; }
    void MakeRound();
    void ClampShape();
    void ToLocal(ZVPoint* out, int x, int y);
    void SendCommandToTree(int id);
    void EraseChildArea(CZVWindow* child);

    // The rectangles that w and its shown descendants cover completely, in
    // w's coordinates moved by (dx, dy).
    static void CollectOpaqueRects(CZVWindow* w, int dx, int dy, std::vector<CZVRect>& holes);
    // The first hole that shares more than an edge with r; null when none.
    static const CZVRect* FindOverlap(const CZVRect& r, const std::vector<CZVRect>& holes);
    // Splits the first region that a hole overlaps into the parts around the
    // hole; 1 when it split one.
    static int SubtractRects(std::vector<CZVRect>& regions, const std::vector<CZVRect>& holes);

protected:
    // The snapshot with the glow added at the countdown's strength, drawn at 0, 0.
    void DrawHighlightFrame(CZVDC* dc, bool transparent);
    // Moves the window's pixels inside the band of a slide by (dx, dy).
    void ShiftBand(CZVDC* dc, CZVRect band, int dx, int dy);

    // Fills through the style object's skin picture where the style asks for
    // it; false when the plain fill should be used.
    bool FillFromSkin(CZVDC* dc, COLORREF colour, int x, int y, int w, int h, int level);

    platform::TabletWindow* m_hwnd = nullptr;
    CZVWindow* m_parent;
    int m_enabled = 1;
    int m_nativeRoot = 0;
    CZVObList m_children;
    int m_styleClass;
    int m_x;
    int m_y;
    int m_width;
    int m_height;
    int m_shown;
    int m_keepHidden = 0;
    int m_opaque = 1;
    int m_scrollBarWidth;
    int m_texture;
    int m_raisedLevel = 0;
    COLORREF m_faceColor = 0;
    COLORREF m_textColor = 0;
    COLORREF m_backColor;
    CZVString m_text;
    int m_fontSize = 10;
    int m_textFormat = 17;
    int m_textChanged = 1;
    int m_flags = 2;
    uint32_t m_timerLastTick;
    int m_timerInterval = 0;
    int m_radius = 0;
    int m_spacing = 0;
    int m_bevel = 0;
    int m_margin = 0;
    int m_bevelType = 0;
    CZVWindow* m_scrollBar = nullptr;
    const void* m_cacheKey = nullptr;
    int m_paintedOnce = 0;
    int m_repaintOnEnable = 0;
    CZV3DButton* m_highlightGlow = nullptr;
    CDibDC* m_highlightSnapshot = nullptr;
    int m_highlightCountdown = -1;
    uint32_t m_highlightTick;
    int m_deferredRepaint = 0;

private:
    friend struct CStyleTables;
    void PaintChildren(CZVDC* dc);
    // The window whose scroll bar this is (null for every other window).
    CZVWindow* m_scrollTarget = nullptr;
};

// Calls call(child) for each window of a child list, in order.
template <typename Call>
void ForEachChild(const CZVObList& children, Call call) {
    for (ZVPOSITION pos = children.GetHeadPosition(); pos;) call(static_cast<CZVWindow*>(children.GetNext(pos)));
}

// Makes the scroll bar of `target`, a child of `parent` at `rect`.
using ScrollBarFactory = CZVWindow* (*)(CZVWindow* parent, CZVWindow* target, CZVRect rect);
// Installs the factory (null removes it); returns the previous one.
ScrollBarFactory SetScrollBarFactory(ScrollBarFactory factory);
