#pragma once
// CSwitch8Way: a remote-control pad made of bevelled buttons: four arrow
// wedges cut from one rendered pad, a round centre button ("Select", or
// "Enter" for the gateway's enter key) and, unless left out, four corner
// buttons with the transport keys. The parts are built at the first paint;
// each sends its own command through the button machinery.
#include "gfx/zvrect.h"
#include "widgets/window/zvwindow.h"

class CDibDC;

// Switch flags.
enum : int {
    kSwitchNoCorners = 0x1,
    kSwitchRoundLook = 0x2,
};

// Command slots of the switch.
enum : int {
    kSwitchUp,
    kSwitchDown,
    kSwitchLeft,
    kSwitchRight,
    kSwitchCentre,
    kSwitchRewind,
    kSwitchFastForward,
    kSwitchSkipBack,
    kSwitchSkipForward,
    kSwitchCommands,
};

// The gateway's enter key, whose centre button reads "Enter".
inline constexpr int kEnterKeyCode = 1868;

class CSwitch8Way : public CZVWindow {
public:
    CSwitch8Way(CZVWindow* parent, CZVRect rect, COLORREF textColour, COLORREF partColour, int ringBevel,
                int extraGap, int fontSize, const int* commands, int flags);

    void Paint(CZVDC* dc, int withBackground) override;
    COLORREF GetFaceColor() override { return m_parent ? m_parent->GetFaceColor() : m_faceColor; }

    // Lays out the parts; once.
    void Build();
    int IsBuilt() const { return m_built; }
    int IsRoundLook() const { return (m_flags & kSwitchRoundLook) != 0; }
    int GetPartBevel() const { return IsRoundLook() ? 0 : m_ringBevel; }
    int GetPartMargin() const { return IsRoundLook() ? m_ringBevel : 0; }
    // Where the pad lies in the switch (known once built).
    CZVRect GetPadRect() const { return m_pad; }

    // The point where a groove line offset from the diagonal of the quadrant
    // (1 top right, 2 top left, 3 bottom left, 4 bottom right) meets a circle
    // of radius r about the centre.
    static ZVPoint GrooveEnd(int r, int offset, int centreX, int centreY, int quadrant);
    // Clears both ends of the rows (directions 0, 1) or columns (2, 3)
    // walked from the clip start, one more pixel each step, so that the
    // wedge narrows towards the centre.
    static void ClipWedge(CDibDC* wedge, int clipStart, int direction);
    // Clamps a groove's end points to the surface; an end outside is reported.
    static void ClampGroove(CDibDC* pad, ZVPoint* inner, ZVPoint* outer);

private:
    void AddCorners(int ringBevel);
    void RenderPad(CDibDC* pad, int ringBevel);
    int InnerRadius(int padWidth, int ringBevel) const;
    void DrawGrooves(CDibDC* pad, int q, int ringBevel);
    void DrawGroove(CDibDC* pad, ZVPoint inner, ZVPoint outer, int quadrant, int second, int ringBevel);
    void MakeArrowButton(CDibDC* pad, CZVRect wedge, int clipStart, int direction);
    void AddCentre(int gap);

    int m_commands[kSwitchCommands];
    int m_built = 0;
    COLORREF m_partColour;
    int m_flags;
    int m_ringBevel;
    int m_extraGap;
    int m_partFontSize;
    CZVRect m_pad;
};
