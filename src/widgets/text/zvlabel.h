#pragma once
// CZVLabel: the tablet's static text. It draws its caption in the window's
// font size and text format, optionally inside a bevelled frame, greys
// itself when disabled, wraps its text to its width when asked to, and
// repaints only when the text really changes. With it the text helpers that
// the layouts share.
#include "widgets/window/zvwindow.h"

// Flag-word bits of the label.
enum : int {
    kLabelBold = 0x1,
    kLabelFramed = 0x2,
    kLabelMultiLine = 0x4,
};

// The smooth-label switch: labels made while it is set draw with the
// smoothed font. Set for good by the now-playing page of the internet radio.
extern int g_bSmoothLabels;

class CZVLabel : public CZVWindow {
public:
    CZVLabel(CZVWindow* parent, CZVRect rect, CZVString text, int styleClass);

    void SetText(CZVString text, CZVDC* dc, int redraw) override;
    void SetFlag(int mask, int on) override;
    void OnPaint(CZVDC* dc) override;

    // Cuts the text with "..." to the width inside the frame.
    void FitTextToWidth();
    int IsSmooth() const { return m_smooth; }
    void SetSmooth(int smooth) { m_smooth = smooth; }

private:
    int TextInset() const;
    // The text broken into lines that fit the width inside the frame.
    CZVString Wrap(CZVString text);

    int m_smooth;
};

// 1 + the number of line breaks ("\r\n", "\n" or "\r").
int CountLines(CZVString text);
// Line `index` without its break, of the lines that CountLines counts; ""
// beyond the last line.
void GetTextLine(CZVString* out, int index, CZVString text);
// The next even number for an odd value.
int RoundUpEven(int v);
