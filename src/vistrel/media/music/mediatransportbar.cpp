#include "vistrel/media/music/mediatransportbar.h"

#include <algorithm>

#include "widgets/style/setserver.h"

CMediaTransportBar::CMediaTransportBar(CZVWindow* parent, CZVRect rect) : CRRegion(parent, rect, kStyleClass) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    SetTexture((CSetServer::CurrentFlags() & kStyleTextures) != 0);
}

void CMediaTransportBar::GetContentRectTall(CZVRect* out) {
    const int b = GetBevel();
    const int s = std::max(GetCornerRadius(), b);
    const int t = std::max(2 * b, s);
    *out = CZVRect(2 * b, t, m_width - 3 * b, m_height - t - s);
}
