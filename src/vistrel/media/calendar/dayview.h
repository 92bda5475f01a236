#pragma once
// CDayView: one day's handwritten note, a square pad over the main window
// on which the user writes with a finger, with "Clear" and "Done". The
// strokes travel as polylines in a 0..2000 space across the drawing area, so
// a note looks the same on any screen. The pen takes strokes only once the
// gateway's answer with the stored note is in, so that nothing drawn is lost
// to a late answer; without an answer within 5 s the view says so, stays
// read-only and stores nothing. A changed note is stored when the view
// closes ("Done", or a touch outside it).
#include <memory>

#include "core/zvserver.h"
#include "core/zvtime.h"
#include "gfx/dibdc.h"
#include "gfx/pline.h"
#include "widgets/window/zvwindow.h"

class CDayView : public CZVWindow, public CSocketSink {
public:
    static constexpr int kClear = 1000;
    static constexpr int kDone = 2000;
    static constexpr int kHeadHeight = 60;
    static constexpr int kButtonWidth = 100;
    static constexpr int kButtonGap = 5;
    static constexpr int kButtonClass = 18;
    static constexpr int kTitleInset = 5;
    static constexpr int kPenSize = 5;
    static constexpr int kPenRadius = 2;
    // Stored coordinates run 0..kSpan across the drawing area.
    static constexpr int kSpan = 2000;
    static constexpr uint32_t kAnswerWait = 5000;  // ms
    // The ink when the style's ink is the transparent key (RGB565 0).
    static constexpr COLORREF kInkOnKey = 0x080408;
    static constexpr const char* kNotLoaded = "This note could not be loaded";

    CDayView(CZVWindow* parent, CZVRect rect, CZVServer& server, const CZVTime& day);
    ~CDayView() override;

    // The largest square that fits a window of that size, centred in it.
    static CZVRect SquareIn(int width, int height);

    void OnPaint(CZVDC* dc) override;
    int OnLButtonDown(int x, int y, int keys) override;
    int OnMouseMove(int x, int y, int keys) override;
    int OnLButtonUp(int x, int y, int keys) override;
    int OnCommand(int id) override;
    int OnIdle(int busy) override;
    void OnMessage(CZVMSG* message) override;

    // A point of the window in the stored space, and back.
    ZVPoint ToStored(int x, int y) const;
    ZVPoint FromStored(int x, int y) const;

    const CZVRect& GetDrawingArea() const { return m_area; }
    const CPLineList& GetStrokes() const { return m_strokes; }
    const CZVTime& GetDay() const { return m_day; }
    int IsModified() const { return m_modified; }
    // The stored note is in: the pen draws.
    int IsLoaded() const { return m_loaded; }
    // No note came in time: the view only shows.
    int IsReadOnly() const { return m_readOnly; }

private:
    void BuildHead();
    void MakePen(COLORREF ink);
    void TakeNote(CZVMSG* message);
    int InArea(ZVPoint p) const;
    // Root coordinates to window coordinates.
    ZVPoint Local(int x, int y);
    void StartStroke(ZVPoint p);
    void AddPoint(ZVPoint p);
    void EndStroke() { m_drawing = 0; }
    ZVPoint PointOf(const CPLine& line, int index) const;
    void DrawSegment(CZVDC* dc, ZVPoint a, ZVPoint b) const;
    void DrawStroke(CZVDC* dc, const CPLine& line) const;
    void Stamp(CZVDC* dc, ZVPoint p) const;
    void ClearNote();

    int m_modified = 0;
    CZVTime m_day;
    CPLineList m_strokes;
    int m_drawing = 0;
    CZVRect m_area;
    std::unique_ptr<CDibDC> m_pen;
    int m_loaded = 0;
    int m_readOnly = 0;
    uint32_t m_askedAt;
};
