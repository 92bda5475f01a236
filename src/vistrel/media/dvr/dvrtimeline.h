#pragma once
// CDvrTimeline: the DVR page's time line. It shows where the recorder holds
// recordings (a clip map the gateway sends for the stretch shown and a
// screen's width either side) and where playback is; dragging the play
// marker stops playback and seeks to where the finger leaves it.
#include <memory>

#include "gfx/dibdc.h"
#include "vistrel/media/dvr/clipmap.h"
#include "widgets/timeline/timeview.h"

class CDvrPage;

class CDvrTimeline : public CTimeView {
public:
    static constexpr int kGraphLeft = 75;
    static constexpr int kEdgeFollow = 10;  // pixels from an edge at which the window follows playback

    CDvrTimeline(CZVWindow* parent, CZVRect rect, CDvrPage* page);

    // Asks for the clips of the stretch shown and a screen's width either side.
    void Reload();
    void RequestClips(const CZVTime& from, const CZVTime& to);
    void OnClips(CZVMSG& message);
    void SetPlayPosition(const CZVTime& time, int kind);

    int GetGraphLeft() override { return kGraphLeft; }
    void LoadTimeRange(const CZVTime& start, const CZVTime& end) override;
    void SetTimeRange(const CZVTime& start, const CZVTime& end, int redraw) override;
    int HandleZoomIn() override;
    CZVTime GetMaxTime(int spanMinutes) const override;
    CZVTime GetMinTime(int spanMinutes) const override;
    void DrawData(CZVDC* dc, int top, int bottom) override;
    void DrawClips(CZVDC* dc, int top, int bottom, int withMarker);

    int OnMouseMove(int x, int y, int keys) override;
    int OnLButtonDown(int x, int y, int keys) override;
    int OnLButtonUp(int x, int y, int keys) override;
    int OnIdle(int busy) override;

    const CClipMap& GetClipMap() const { return m_clips; }
    const CZVTime& GetPlayPosition() const { return m_playPosition; }
    int IsRequestPending() const { return m_requestPending; }
    int IsDragging() const { return m_dragging; }
    // The colour a cell value is drawn in; the background for values without one.
    COLORREF CellColour(int value) const;

private:
    COLORREF GetBackgroundColour() const;
    void DrawMarker(CZVDC* dc, int top, int bottom);
    // The marker's picture in the colour, made anew only when its colour or size changes.
    CAlphaDibDC* MarkerImage(COLORREF colour);
    int MarkerWidth() const { return 2 * (m_height - GetBottomMargin() - 3); }
    int MarkerHeight() const { return m_height - GetBottomMargin() - 7; }
    int MarkerX() { return TimeToX(m_playPosition); }

    CDvrPage* m_page;
    CClipMap m_clips;
    CZVTime m_mapStart;
    int m_cellSpan = 1;
    CZVTime m_earliest;
    CZVTime m_kept;
    int m_requestPending = 0;
    CZVTime m_requestedFrom;
    CZVTime m_requestedTo;
    CZVTime m_playPosition;
    std::unique_ptr<CAlphaDibDC> m_markerImage;
    COLORREF m_markerColour = 0;
    int m_markerImageWidth = 0;
    int m_markerImageHeight = 0;
    int m_markerKind = -1;
    int m_grabOffset = 0;
    int m_dragging = 0;
};
