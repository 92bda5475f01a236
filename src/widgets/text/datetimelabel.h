#pragma once
#include "widgets/text/zvlabel.h"

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
    int m_fitStartSize = 0;  // the font size before the first fit; 0 until then
};
