#pragma once
// CXYPadCtl: a touch pad that steers a source of the gateway. The pad form
// sends a position in percent on two axes, the bar form one position along
// its width; a press sends, moving the finger sends nothing. The crosshair
// or the bar shows the position the gateway reports for the source.
#include <cstdint>

#include "vistrel/media/video/pvideo.h"
#include "widgets/window/zvwindow.h"

class CXYPadCtl : public CZVWindow, public CVideoCapsListener {
public:
    static constexpr int kStyleClass = 8;
    static constexpr int kPadType = 162;
    static constexpr int kBarType = 163;
    // How the y value maps onto the pad's height.
    enum YMode : int { kFullRange = 0, kUpperHalf = 1, kLowerHalf = 2 };

    CXYPadCtl(CZVWindow* parent, int source, CZVRect rect, COLORREF marker, int bevelType, int type, int yMode);

    void OnPaint(CZVDC* dc) override;
    int OnLButtonDown(int x, int y, int keys) override;
    void OnVideoCaps(int a, int b, int c, int d) override;

    // The position last reported; -1 until the gateway told one.
    int GetPositionX() const { return m_x; }
    int GetPositionY() const { return m_y; }

private:
    // The y value as it is drawn, 0..100 of the height.
    int64_t ShownY() const;
    // The y value sent for a touch at yp percent of the height.
    int SentY(int yp) const;
    void PaintGrid(CZVDC* dc, int inset);
    void PaintCrosshair(CZVDC* dc, int inset, int px, int py);

    int m_type;
    int m_x = -1;
    int m_y = -1;
    int m_yMode;
};
