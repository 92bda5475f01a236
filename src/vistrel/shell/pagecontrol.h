#pragma once
// A control as the gateway defines it for a page or panel, and the one
// factory that turns such a definition into a widget. The factory only
// creates: the caller converts the rectangle to pixels, picks the parent,
// adds the widget as a child and keeps track of it.
#include <cstdint>
#include <optional>

#include "core/zvmsg.h"
#include "core/zvoblist.h"
#include "gfx/zvstring.h"
#include "widgets/window/zvwindow.h"

// Page units across a page, panel or content area, in either direction.
inline constexpr int kPageUnits = 10000;

// Attribute bytes of a definition.
enum : int {
    kAttrFontSize = 0,
    kAttrTextFormat = 1,
    kAttrSmoothText = 2,
    kAttrBevelType = 3,
    kAttrCornerRadius = 4,
    kAttrBevel = 5,
    kAttrMargin = 6,
    kAttrParameter = 7,
    kAttrCount = 8,
};

class CPageControlDesc {
public:
    static constexpr int kFirstType = 100;
    static constexpr int kLastType = 190;
    // The shortest wire record: every string empty.
    static constexpr int kMinWireSize = 72;
    static constexpr int kReservedBytes = 4;

    // One wire record at the message's read position, then the rectangle
    // clamped into the page; 0 at the first field that cannot be read.
    int Read(CZVMSG* message);
    // The rectangles touch or overlap; a negative size never overlaps.
    int Overlaps(const CPageControlDesc& other) const;
    int Attribute(int index) const { return m_attributes[index]; }
    void SetAttribute(int index, int value) { m_attributes[index] = static_cast<int8_t>(value); }

    int type = -1;
    int id = 0;
    CZVString text;
    int x = 0;
    int y = 0;
    int width = 1;
    int height = 1;
    COLORREF textColor = 0;  // 0: the class default
    COLORREF faceColor = 0;  // 0: the class default
    CZVString text2;
    int value = 0;  // bit 0: the button lies on the skinned base surface

private:
    void Clamp();

    int8_t m_attributes[kAttrCount] = {1, 0, 0, 0, 0, 0, 0, 0};
};

// Reads a record count and bounds it by the records the rest of the message
// can hold; 0 when the count cannot be read.
int ReadControlCount(CZVMSG* message, int* count);

// The first keypad definition (153 or 158) of the list, from its head, that
// is not `desc` and overlaps it; null when none.
const CPageControlDesc* FindOverlappingKeypad(const CZVObList* siblings, const CPageControlDesc& desc);

// The factory's steps around a control's maker (CControlMakerRow::steps).
enum ControlSteps : int {
    kSkipCommon = 0x1,      // the common steps are not applied
    k3DButton = 0x2,        // base-surface bit and look sharing
    kFormat18 = 0x4,        // text format 18 in place of attribute byte 1
    kSmoothText = 0x8,      // the label's smoothed font follows attribute byte 2
    kPanel = 0x10,          // the panel steps
    kKeepTextColor = 0x20,  // the constructor's text colour stays
    kKeepFaceColor = 0x40,  // the constructor's face colour stays
};

// What a creator receives: where the widget goes and the definition's
// values as the factory resolved them. Creators may change the values the
// common steps apply afterwards.
struct CPageControlArgs {
    CZVWindow* page;    // the tree in which look-alike buttons are searched
    CZVWindow* parent;  // the widget is constructed under it
    CZVRect rect;       // pixels, relative to parent
    CPageControlDesc& desc;
    const CZVObList* siblings;  // every definition of the page, or null
    int fontSize;
    COLORREF textColor;
    COLORREF faceColor;
    int textFormat;
    int smoothText;
    int bevelType;
    int cornerRadius;
    int bevel;
    int margin;
    int parameter;
    int steps;  // the factory's steps around the creator
};

// A zone command button that overlaps a keypad becomes one of its corner
// buttons: which corner, the keypad's radius and the button's reach.
struct CZoneCorner {
    int code;  // 4 below-left, 5 above-left, 6 above-right, 7 below-right
    int radius;
    int dx;
    int dy;
};

// The corner of a zone command button (types 124 and 159) over an
// overlapping keypad among the siblings; none without one. Fixes the bevel
// the common steps use, and turns a 124 flat (type 159) when style class
// 17 has no bevel.
std::optional<CZoneCorner> PlanZoneCorner(CPageControlArgs& args);

struct CControlMakerRow;

// The maker of a type: the shell's own classes first, then those the page
// libraries register; null for a type whose class does not exist yet.
const CControlMakerRow* FindPageControlMaker(int type);

// A widget for the definition, or null for a type without a class (outside
// 100..190, or whose class does not exist). fontOverride, when non-zero,
// replaces attribute byte 0. The definition's type may change (124 to 159).
CZVWindow* CreatePageControl(CZVWindow* page, CZVWindow* parent, CZVRect rect, CPageControlDesc& desc,
                             const CZVObList* siblings, int fontOverride);

// Page units to pixels of a size: signed, truncating toward zero.
inline int ScalePageUnits(int64_t value, int size) { return static_cast<int>(value * size / kPageUnits); }

// How a definition's rectangle becomes pixels of its owner.
enum class PageScaling {
    kByEdges,   // both edges scaled: neighbours meet without gaps
    kEachValue  // x, y, width and height each scaled on their own
};

// Reads a count-prefixed list of definitions and builds them into `owner`:
// each is placed into the deepest window of `built` (then its children)
// that contains it, or into `owner`, and appended to `built`. Loading stops
// at the first record that cannot be read; what was built stays.
void BuildPageControls(CZVMSG* message, CZVWindow* owner, CZVObList* built, PageScaling scaling, int fontOverride);
