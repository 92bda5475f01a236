// The child factories of CZVWindow, with which pages and panels populate
// themselves, and the numeric keypad.
#include <algorithm>

#include "widgets/buttons/arrowbutton.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/tabs/captionfitter.h"
#include "widgets/text/zvlabel.h"
#include "widgets/window/zvwindow.h"

namespace {

constexpr int kMaxKeypadFont = 40;
constexpr int kKeepFontSize = -1;
constexpr int kCentredFormat = 17;

struct KeypadKey {
    const char* label;
    int id;
    int needsMask;  // 0: always made
};

constexpr KeypadKey kKeypad[12] = {
    {"1", 11001, 0}, {"2", 11002, 0}, {"3", 11003, 0}, {"4", 11004, 0},      {"5", 11005, 0}, {"6", 11006, 0},
    {"7", 11007, 0}, {"8", 11008, 0}, {"9", 11009, 0}, {"Cancel", 11010, 2}, {"0", 11000, 0}, {"Enter", 11011, 1},
};

template <typename Control>
Control* Adopt(CZVWindow* parent, Control* control) {
    parent->AddChild(control);
    return control;
}

}  // namespace

CZVButton* CZVWindow::AddButton(CZVRect rect, int id, int styleClass, CZVString caption) {
    auto* button = Adopt(this, new CZVButton(this, rect, id, styleClass));
    button->SetText(caption, nullptr, 0);
    button->SetPaintPressedOnPress(1);
    return button;
}

CZV3DButton* CZVWindow::Add3DButton(CZVRect rect, int id, int styleClass, CZVString caption,
                                    CZV3DButton* lookSource) {
    auto* button = Adopt(this, new CZV3DButton(this, rect, id, styleClass));
    button->SetText(caption, nullptr, 0);
    button->SetLookSource(lookSource);
    return button;
}

CZV3DButton* CZVWindow::Add3DButtonDefault(CZVRect rect, int id, int styleClass, CZVString caption) {
    return Add3DButton(rect, id, styleClass, caption, nullptr);
}

CZV3DButton* CZVWindow::AddImageButton(CZVRect rect, int id, int styleClass, int iconKind, COLORREF iconColour) {
    auto* button = Adopt(this, new CZV3DButton(this, rect, id, styleClass));
    button->SetIconKind(iconKind, &iconColour);
    return button;
}

CZV3DButton* CZVWindow::AddIconButton(CZVRect rect, int id, int styleClass, CZVString iconName, int layout) {
    auto* button = Adopt(this, new CZV3DButton(this, rect, id, styleClass));
    button->SetIconName(iconName, layout);
    return button;
}

CZVCheckButton* CZVWindow::AddCheckButton(CZVRect rect, int id, int styleClass, CZVString caption) {
    auto* button = Adopt(this, new CZVCheckButton(this, rect, id, styleClass));
    button->SetText(caption, nullptr, 0);
    return button;
}

CZV3DButton* CZVWindow::AddArrowButton(CZVRect rect, int direction, CZV3DButton* lookSource, int id,
                                       int styleClass) {
    auto* button = Adopt(this, new CArrowButton(this, rect, direction, id, styleClass));
    button->SetLookSource(lookSource);
    button->SetIconKind(direction == 2 ? 5 : 4, nullptr);
    return button;
}

CZVLabel* CZVWindow::AddLabel(CZVRect rect, CZVString text, int fontSize) {
    return AddLabelClass(rect, text, fontSize, m_styleClass);
}

CZVLabel* CZVWindow::AddLabelClass(CZVRect rect, CZVString text, int fontSize, int styleClass) {
    auto* label = Adopt(this, new CZVLabel(this, rect, text, styleClass));
    if (fontSize != kKeepFontSize) label->SetFontSize(fontSize);
    return label;
}

CZVLabel* CZVWindow::AddLabelAligned(CZVRect rect, CZVString text, int fontSize, int set2, int styleClass) {
    CZVLabel* label = AddLabelClass(rect, text, fontSize, styleClass);
    label->SetTextFormat(set2 ? label->GetTextFormat() | 2 : label->GetTextFormat() & ~2);
    return label;
}

CZVLabel* CZVWindow::AddLabelFormatted(CZVRect rect, CZVString text, int fontSize, int bold, int format, int framed,
                                       int styleClass) {
    CZVLabel* label = AddLabelClass(rect, text, fontSize, styleClass);
    if (bold != -1) label->SetFlag(kLabelBold, bold);
    if (format != -1) label->SetTextFormat(format);
    if (framed != -1) label->SetFlag(kLabelFramed, framed);
    return label;
}

CZVLabel* CZVWindow::AddLabelColored(CZVRect rect, CZVString text, int fontSize, COLORREF textColour) {
    CZVLabel* label = AddLabelClass(rect, text, fontSize, m_styleClass);
    label->SetTextFormat(kCentredFormat);
    label->SetTextColor(textColour);
    return label;
}

void CZVWindow::BuildKeypad(CZVRect rect, int gap, int fontSize, CZVString pressSound, int keyMask,
                            CZV3DButton* keys[12], int skinnedLook, int styleClass) {
    fontSize = std::min(fontSize, kMaxKeypadFont);
    const int rowHeight = rect.h / 4;
    const int columnWidth = rect.w / 3;
    CZV3DButton* first = nullptr;
    for (int i = 0; i < 12; ++i) {
        const KeypadKey& key = kKeypad[i];
        keys[i] = nullptr;
        if (key.needsMask && !(keyMask & key.needsMask)) continue;
        CZVRect cell(rect.x + (i % 3) * columnWidth, rect.y + (i / 3) * rowHeight, columnWidth, rowHeight);
        cell.Deflate(gap, gap);
        CZV3DButton* button = Add3DButtonDefault(cell, key.id, styleClass, key.label);
        if (first)
            button->SetLookSource(first);
        else
            first = button;
        button->SetPressSound(pressSound);
        button->SetClickSound("");
        button->SetFontSize(fontSize);
        button->SetStyleBit(k3DSkinned, skinnedLook);
        keys[i] = button;
    }
    // "Cancel" and "Enter" share the largest size at which both fit.
    CCaptionFitter fitter(this);
    for (int i : {9, 11})
        if (keys[i]) fitter.AddWindow(keys[i]);
    fitter.Apply(fontSize);
}
