#include "widgets/regions/rregion.h"

#include <algorithm>

#include "platform/report.h"
#include "widgets/style/setserver.h"

namespace {

// The frame window is the region's alone: the region sets its raised level.
class CRegionFrame : public CShadeWnd {
public:
    using CShadeWnd::CShadeWnd;
    void SetRaisedLevel(int level) { m_raisedLevel = level; }
};

// Narrow layout areas are caller errors, reported; the rectangle stands.
void CheckLayout(const CZVRect& r, int widthLine, int heightLine) {
    if (r.w <= 1) ReportAssert("rregion", widthLine, 1);
    if (r.h <= 1) ReportAssert("rregion", heightLine, 1);
}

}  // namespace

CRRegion::CRRegion(CZVWindow* parent, CZVRect rect, int styleClass) : CRRegion(parent, rect, 0, 0, 0, 0, styleClass) {}

CRRegion::CRRegion(CZVWindow* parent, CZVRect rect, int leftInset, int rightInset, int topInset, int bottomInset,
                   int styleClass)
    : CZVWindow(parent, rect, styleClass),
      m_leftInset(leftInset),
      m_rightInset(rightInset),
      m_topInset(topInset),
      m_bottomInset(bottomInset) {
    m_raisedLevel = 1;
    // The grey group panels are never textured.
    if (styleClass >= 8 && styleClass <= 10) m_texture = 0;
}

CRRegion::~CRRegion() { delete m_frame; }

int CRRegion::GetEdgeInset() const {
    return m_margin > 0 ? std::max(m_bevel, m_margin + 1) : std::max(m_bevel, m_margin);
}

int CRRegion::GetCornerInset() const {
    return m_margin > 0 ? m_radius + m_margin + 1 : std::max(m_radius, GetEdgeInset());
}

void CRRegion::GetContentRect(CZVRect* out) {
    if (m_width > m_height)
        GetContentRectWide(out);
    else
        GetContentRectTall(out);
}

void CRRegion::GetContentRectTall(CZVRect* out) {
    const int e = GetEdgeInset();
    const int c = GetCornerInset();
    if (c > 10 && m_margin <= 0) return GetInsetRect(out);
    *out = CZVRect(m_leftInset + e, m_topInset + c, m_width - m_leftInset - m_rightInset - 2 * e,
                   m_height - m_topInset - m_bottomInset - 2 * c);
    CheckLayout(*out, __LINE__, __LINE__);
}

void CRRegion::GetContentRectWide(CZVRect* out) {
    const int e = GetEdgeInset();
    const int c = GetCornerInset();
    if (c > 10 && m_margin <= 0) return GetInsetRect(out);
    *out = CZVRect(m_leftInset + c, m_topInset + e, m_width - m_leftInset - m_rightInset - 2 * c,
                   m_height - m_topInset - m_bottomInset - 2 * e);
    CheckLayout(*out, __LINE__, __LINE__);
}

void CRRegion::GetInsetRect(CZVRect* out) {
    int a = GetCornerInset();
    if (a > 10) a = std::min(a, m_radius / 2);
    a = std::max({a, m_bevel, m_margin});
    *out = CZVRect(m_leftInset + a, m_topInset + a, m_width - m_leftInset - m_rightInset - 2 * a,
                   m_height - m_topInset - m_bottomInset - 2 * a);
    CheckLayout(*out, __LINE__, __LINE__);
}

void CRRegion::OnFaceColorChanged(COLORREF colour) {
    m_faceColor = colour;
    if (m_parent) m_backColor = m_parent->GetFaceColor();
}

int CRRegion::GetTexture() { return ParentTexture(); }

std::optional<CZVRect> CRRegion::GetOpaqueRect() {
    // The rounded ends along the long side are left out.
    const int r = m_radius + m_margin;
    const int w = m_width - m_leftInset - m_rightInset;
    const int h = m_height - m_topInset - m_bottomInset;
    if (m_width > m_height) return CZVRect(m_leftInset + r, m_topInset, w - 2 * r, h);
    return CZVRect(m_leftInset, m_topInset + r, w, h - 2 * r);
}

void CRRegion::CreateFrame() {
    if (m_frame) return;
    auto* frame = new CRegionFrame(m_parent, CZVRect(m_x, m_y, m_width, m_height), 0);
    m_frame = frame;
    frame->SetTexture(m_texture);
    frame->SetFaceColor(m_faceColor);
    frame->SetBackColor(m_backColor);
    frame->SetCornerRadius(m_radius);
    frame->SetBevel(std::max(m_margin, m_bevel));
    frame->SetDepth(25);
    const int flags = CSetServer::CurrentFlags();
    if (m_margin > 0) {
        frame->SetSwap((flags & kStyleOutlineCorners) != 0);
        frame->SetPlainRects(1);
        frame->SetTexture(ParentTexture());
        frame->AddFrame(m_leftInset, m_topInset, 0, 0, m_margin, m_radius, 1, 1, m_frameFlags, 0);
        return;
    }
    frame->AddFrame(m_leftInset, m_topInset, 0, 0, m_bevel, m_radius, 0, 1, m_frameFlags, 0);
    if ((flags & kStyleOutlines) && !(flags & kStyleSkins)) frame->SetOutlines(1, 1);
}

void CRRegion::SetFrameRaisedLevel(int level) {
    if (m_frame) static_cast<CRegionFrame*>(m_frame)->SetRaisedLevel(level);
}

void CRRegion::OnPaint(CZVDC* dc) {
    if (m_margin > 0) SetTexture(0);
    CreateFrame();
    if (!m_frame) return;
    PaintFrame(dc);
    CZVWindow::OnPaint(dc);
}

void CRRegion::PaintFrame(CZVDC* dc) {
    const COLORREF face = m_faceColor;
    const int texture = m_texture;
    m_faceColor = m_backColor;
    m_texture = ParentTexture();
    if (m_margin > 0) {
        // Children of a margin-ringed panel lie on the base surface.
        SetFrameRaisedLevel(0);
        m_raisedLevel = 0;
    }
    m_frame->PaintShapes(dc, this, this);
    m_faceColor = face;
    m_texture = texture;
}
