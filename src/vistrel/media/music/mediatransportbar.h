#pragma once
// CMediaTransportBar: the rounded panel along the bottom of the Now Playing
// page that carries the "Current Track" heading, the artist, album and track
// now playing and the album art. It reaches to the right and bottom edges of
// the tabbed panel around the page and sits in a groove cut into that
// panel: only its top-left corner is rounded, and the panel's own frame is
// its right and bottom edge.
#include "widgets/regions/rregion.h"

class CMediaTransportBar : public CRRegion {
public:
    static constexpr int kStyleClass = 6;

    // panel: the tabbed panel the bar reaches into, or null.
    CMediaTransportBar(CZVWindow* parent, CZVRect rect, CZVWindow* panel);

    // {2b, t, width - 3b, height - t - s}: b the bevel, s = max(corner radius, b), t = max(2b, s).
    void GetContentRectTall(CZVRect* out) override;
    void GetContentRect(CZVRect* out) override { GetContentRectTall(out); }
    // The groove along the top and left, the raised face inside it.
    void CreateFrame() override;
    // The face inside the groove: the panel's frame at the right and bottom is not the bar's.
    std::optional<CZVRect> GetOpaqueRect() override;
    // Hiding mends the panel where the bar covered it outside its page.
    void OnShow(int show) override;

private:
    CZVWindow* m_panel;
};
