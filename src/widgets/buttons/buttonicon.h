#pragma once
// What a button needs of its icon. The icon code supplies the pictures (the
// built-in vector shapes and the gateway's icons by name) by installing its
// source; until then every icon is empty and draws nothing.
#include <cstdint>

#include "gfx/speed.h"
#include "gfx/zvrect.h"
#include "gfx/zvstring.h"

class CPaintWindow;
class CZVDC;

class CButtonIcon {
public:
    virtual ~CButtonIcon() = default;
    virtual CButtonIcon* Clone() const = 0;
    // Draws the icon into the rectangle over the back colour, greyed for a
    // disabled button. An icon still loading remembers the owner, which
    // draws it again once it arrives.
    virtual void Draw(CPaintWindow* owner, CZVDC* dc, CZVRect rect, COLORREF back, int greyed) = 0;
    // Draws the icon with the tint bytes (r, g, b) added to its pixels; an
    // icon without pixels of its own draws as it is.
    virtual void DrawTinted(CPaintWindow* owner, CZVDC* dc, CZVRect rect, COLORREF back, const uint8_t* /*tint*/) {
        Draw(owner, dc, rect, back, 0);
    }
    // The gateway's picture is still awaited.
    virtual int IsRequestPending() const { return 0; }
    // Asks for the picture again.
    virtual void Refresh() {}
};

class CButtonIconSource {
public:
    virtual ~CButtonIconSource() = default;
    // A built-in vector icon of the kind (-1: empty) in the colour.
    virtual CButtonIcon* MakeStock(int kind, COLORREF colour);
    // A clone of the icon cache's icon of that name, filled in when the
    // cached icon's reply arrives.
    virtual CButtonIcon* MakeNamed(const CZVString& name);
};

// The installed source, or one that makes empty icons.
CButtonIconSource& ButtonIcons();
// Installs a source (null restores the default); returns the previous one.
CButtonIconSource* InstallButtonIconSource(CButtonIconSource* source);
