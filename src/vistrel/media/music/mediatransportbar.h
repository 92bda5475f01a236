#pragma once
// CMediaTransportBar: the rounded panel along the bottom of the Now Playing
// page that carries the "Current Track" heading, the artist, album and track
// now playing and the album art. Its content area keeps clear of its
// rounded corners on the left and of its bevel elsewhere.
#include "widgets/regions/rregion.h"

class CMediaTransportBar : public CRRegion {
public:
    static constexpr int kStyleClass = 6;

    CMediaTransportBar(CZVWindow* parent, CZVRect rect);

    // {2b, t, width - 3b, height - t - s}: b the bevel, s = max(corner radius, b), t = max(2b, s).
    void GetContentRectTall(CZVRect* out) override;
    void GetContentRect(CZVRect* out) override { GetContentRectTall(out); }
};
