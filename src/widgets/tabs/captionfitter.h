#pragma once
// CCaptionFitter: finds one font size at which a whole group of captions
// fits their rectangles, so that a row of buttons, a keypad or the titles
// of a list share the largest size that suits them all. Made on the stack,
// filled, asked once.
#include "core/zvoblist.h"
#include "gfx/zvrect.h"
#include "gfx/zvstring.h"

class CZVWindow;

class CCaptionFitter {
public:
    explicit CCaptionFitter(CZVWindow* owner) : m_owner(owner) {}
    virtual ~CCaptionFitter();
    CCaptionFitter(const CCaptionFitter&) = delete;
    CCaptionFitter& operator=(const CCaptionFitter&) = delete;

    void AddCaption(CZVString text, CZVRect rect);
    // The window's text and inner rectangle; the window gets the size in Apply.
    void AddWindow(CZVWindow* window);
    // The largest size from start down to 11 at which every caption is
    // strictly smaller than its rectangle; 10 when none is.
    int FindFontSize(int fitWidth, int fitHeight, int start);
    void Apply(int start);
    // Fits root and its descendants of the style class at the depth below
    // root (any depth when negative); returns the size they get.
    int AddChildren(CZVWindow* root, int styleClass, int depth);

private:
    struct Caption {
        CZVString text;
        CZVRect rect;
    };
    void Collect(CZVWindow* window, int styleClass, int depth, int level, CZVObList* found);

    CZVObList m_captions;
    CZVObList m_windows;
    CZVWindow* m_owner;
};
