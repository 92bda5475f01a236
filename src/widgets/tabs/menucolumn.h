#pragma once
// What the toolkit asks of the main window's menu column: tab strips join
// their frame to it and the analog clock follows the press state. The
// shell's menu answers it; the toolkit finds it as the main window's menu.
class CZVDC;

class CMenuColumn {
public:
    // Press states.
    enum : int { kNotPressed = 0, kPressed = 1, kHeld = 2 };

    virtual ~CMenuColumn() = default;
    // The entries are laid out over the whole column height: no tail below them.
    virtual int FillsColumn() const = 0;
    // Draws the column below its last entry: a shaded edge (1) or its plain background (0).
    virtual void DrawTail(CZVDC* dc, int shaded) = 0;
    // The selected entry is the last one.
    virtual int IsLastEntrySelected() = 0;
    // kNotPressed, kPressed while a finger is down, kHeld once held past the settle time.
    virtual int GetPressState() const = 0;
};

// The main window's menu column, or null without a main window or menu.
CMenuColumn* FindMenuColumn();
