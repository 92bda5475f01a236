#pragma once
// CZVLabel: the tablet's static text. It draws its caption in the window's
// font size and text format, optionally inside a bevelled frame, greys
// itself when disabled, wraps its text to its width when asked to, and
// repaints only when the text really changes. With it the text helpers that
// the layouts share.
#include "widgets/zvwindow.h"

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

private:
    int TextInset() const;
    // The text broken into lines that fit the width inside the frame.
    CZVString Wrap(CZVString text);

    int m_smooth;
};

// 1 + the number of runs of line breaks ("\r" or "\n").
int CountLines(CZVString text);
// Line `index` (split at "\n", a "\r" kept); "" beyond the last line.
void GetTextLine(CZVString* out, int index, CZVString text);
// The next even number for an odd value.
int RoundUpEven(int v);

class CShadeWnd;

// Kinds of CDateTimeLabel, the page loader's control types.
enum : int {
    kDateTimeLabel = 107,
    kDateLabel = 108,
    kTimeLabel = 109,
};

// A label showing the local date, date and time, or time with seconds,
// refreshed by its own timer (each second for the time, else each minute).
class CDateTimeLabel : public CZVLabel {
public:
    CDateTimeLabel(CZVWindow* parent, CZVRect rect, int kind);

    void OnPaint(CZVDC* dc) override;
    void OnTimer() override;
    // Takes the current time's text; repaints only when it changed.
    void Update(int redraw);

private:
    CZVString FormatNow() const;

    int m_kind;
    int m_fontPending = 1;
};

// A small level indicator: a shaded shape that turns from the face colour to
// green from the left as its level goes from 0 to 100, with its caption in a
// band at the bottom.
class CBevelPanel : public CZVWindow {
public:
    CBevelPanel(CZVWindow* parent, CZVRect rect, int bandHeight);
    ~CBevelPanel() override;

    void SetState(int level, int redraw);
    int GetLevel() const { return m_level; }
    void OnPaint(CZVDC* dc) override;

private:
    void EnsureShapes();
    CShadeWnd* BuildShape(COLORREF face);
    // The empty shape right of the level's boundary line, the full one left of it.
    void ComposeLevel(CDibDC* empty, CDibDC* full, CDibDC* out);

    int m_bandHeight;
    int m_level = 0;
    CShadeWnd* m_emptyShape = nullptr;
    CShadeWnd* m_fullShape = nullptr;
};
