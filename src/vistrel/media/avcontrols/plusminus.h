#pragma once
// CPlusMinusCtl: a "-" and a "+" button that step a source of the gateway,
// led by a reset button when the source allows zoom rectangles.
#include "widgets/window/zvwindow.h"

class CPlusMinusCtl : public CZVWindow {
public:
    static constexpr int kStyleClass = 5;
    static constexpr int kButtonClass = 17;
    static constexpr int kMinusCommand = 1000;
    static constexpr int kPlusCommand = 1001;
    static constexpr int kResetCommand = 1002;
    static constexpr int kMaxFontSize = 28;

    // flags: the source's control flags; the zoom-rectangle flag adds the reset button.
    CPlusMinusCtl(CZVWindow* parent, int source, CZVRect rect, int flags);

    // Taps of the buttons; nothing goes on to the parent.
    int OnCommand(int id) override;

private:
    int m_source;
};
