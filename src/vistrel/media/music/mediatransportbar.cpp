#include "vistrel/media/music/mediatransportbar.h"

#include <algorithm>

#include "gfx/dibdc.h"
#include "gfx/shaderect.h"
#include "widgets/style/setserver.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr int kShadeDepth = 25;
// Corner kinds and edge sides of the shade shapes.
constexpr int kSunkenTopLeft = 5;
constexpr int kRaisedTopLeft = 1;
enum : int { kTopSide = 0, kLeftSide = 1, kBottomSide = 2, kRightSide = 3 };

void AddCutEdge(CShadeWnd* shade, int side, CZVRect rect, int cuts) {
    if (CShadeEdge* edge = shade->AddEdge(side, rect.x, rect.y, rect.w, rect.h)) edge->SetCuts(cuts, 0);
}

}  // namespace

CMediaTransportBar::CMediaTransportBar(CZVWindow* parent, CZVRect rect, CZVWindow* panel)
    : CRRegion(parent, rect, kStyleClass), m_panel(panel) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    SetTexture((CSetServer::CurrentFlags() & kStyleTextures) != 0);
}

void CMediaTransportBar::GetContentRectTall(CZVRect* out) {
    const int b = GetBevel();
    const int s = std::max(GetCornerRadius(), b);
    const int t = std::max(2 * b, s);
    *out = CZVRect(2 * b, t, m_width - 3 * b, m_height - t - s);
}

void CMediaTransportBar::CreateFrame() {
    if (m_frame) return;
    m_frame = new CShadeWnd(m_parent, CZVRect(m_x, m_y, m_width, m_height), 0);
    m_frame->SetTexture(m_texture);
    m_frame->SetFaceColor(m_faceColor);
    m_frame->SetBackColor(m_backColor);
    m_frame->SetCornerRadius(m_radius);
    m_frame->SetBevel(std::max(m_bevel, m_margin));
    m_frame->SetDepth(kShadeDepth);
    const int m = m_bevel, r = m_radius, a = m + r, w = m_width, h = m_height;
    // The face, kept clear of the groove and of the panel's frame at the right and bottom.
    m_frame->AddRect(2 * m, a - 1, w - r - 1, h - m - 1);
    m_frame->AddRect(a - 1, 2 * m, w - m - 1, a - 2);
    // The groove's outer wall, then the bar's raised rim inside it.
    m_frame->AddCorner(kSunkenTopLeft, CZVRect(0, 0, a, a), 0);
    AddCutEdge(m_frame, kRightSide, CZVRect(0, a, m, h - a), 1);
    AddCutEdge(m_frame, kLeftSide, CZVRect(m, a, m, h - a), 2);
    AddCutEdge(m_frame, kBottomSide, CZVRect(a, 0, w - a, m), 8);
    AddCutEdge(m_frame, kTopSide, CZVRect(a, m, w - a, m), 2);
    m_frame->AddCorner(kRaisedTopLeft, CZVRect(m, m, a - m, a - m), 0);
}

std::optional<CZVRect> CMediaTransportBar::GetOpaqueRect() {
    const int m = m_bevel, a = m + m_radius;
    return CZVRect(2 * m, a - 1, m_width - m_radius - 2 * m, m_height - m - a + 1);
}

void CMediaTransportBar::OnShow(int show) {
    // Where the bar lay outside its page, over the panel's frame, nobody else repaints it: the
    // page that comes next covers only its own place. Those parts are painted again from the main
    // window down into a buffer, as a full repaint paints them: the panel leaves what lies outside
    // its rounded corners to the windows below it.
    CMainWndBase* main = GetMainWnd();
    if (!show && IsShown() && main && m_parent && m_panel && m_panel->IsShown() &&
        !CMainWndBase::InputBlockedFor(this)) {
        const CZVRect page(m_parent->ToRootX(0), m_parent->ToRootY(0), m_parent->GetWidth(), m_parent->GetHeight());
        const CZVRect bar(ToRootX(0), ToRootY(0), m_width, m_height);
        for (const CZVRect& part : ::SubtractRects(bar, {page})) {
            CDibDC buffer(part.w, part.h, part.x, part.y, 1);
            buffer.SetOrigin(0, 0);
            main->Paint(&buffer, 1);
            CZVDC dc(main);
            dc.SetOrigin(0, 0);
            dc.BitBlt(part.x, part.y, &buffer, 0, 0, part.w, part.h);
        }
    }
    CRRegion::OnShow(show);
}
