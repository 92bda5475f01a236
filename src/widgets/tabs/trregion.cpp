#include "widgets/tabs/trregion.h"

#include <algorithm>

#include "platform/report.h"
#include "widgets/style/setserver.h"
#include "widgets/tabs/poptabrow.h"

namespace {

constexpr const char* kSource = "trregion";
constexpr int kTexturesOn = 0x2000;
// The tabs stand on the body: no top edge and square top corners.
constexpr int kBodyFrame = CShadeWnd::kNoTopEdge | CShadeWnd::kNoTopLeft | CShadeWnd::kNoTopRight;

}  // namespace

CTRRegion::CTRRegion(CZVWindow* parent, CZVRect rect, int styleClass, COLORREF backColour, COLORREF faceColour)
    : CTRRegion(parent, rect, styleClass, backColour) {
    if (faceColour != 0) SetFaceColor(faceColour);
}

CTRRegion::CTRRegion(CZVWindow* parent, CZVRect rect, int styleClass, COLORREF backColour)
    : CRRegion(parent, rect, 0, 0, 0, 0, styleClass) {
    SetBackColor(backColour);
    if (CSetServer* style = CSetServer::Get()) {
        m_texture = (style->GetFlags() & kTexturesOn) != 0;
        m_topInset = style->GetStyle(styleClass, 1);
    }
    SetFrameFlags(kBodyFrame);
}

void CTRRegion::DrawBackground(CZVDC* dc) {
    // Around the body the parent's background shows.
    const int texture = m_texture;
    m_texture = ParentTexture();
    m_raisedLevel = 0;
    CZVWindow::DrawBackground(dc);
    m_texture = texture;
    m_raisedLevel = 1;
}

int CTRRegion::OnCommand(int id) { return m_parent ? m_parent->OnCommand(id) : 0; }

std::optional<CZVRect> CTRRegion::GetOpaqueRect() {
    return CZVRect(m_leftInset, 0, m_width - m_leftInset - m_rightInset,
                   m_height - m_bottomInset - GetMargin() - m_radius);
}

CTabContainer* CTRRegion::GetTabs() {
    if (!m_tabs) SetTabCount(0, 0, nullptr);
    return m_tabs;
}

void CTRRegion::SetTabCount(int count, int forceStrip, CZVObList* descriptors) {
    if (m_tabs) {
        RemoveChild(m_tabs);
        delete m_tabs;
        m_tabs = nullptr;
    }
    BuildTabs(count, forceStrip, descriptors);
}

void CTRRegion::BuildTabs(int count, int forceStrip, CZVObList* descriptors) {
    if (m_tabs) {
        // The old row would otherwise stay painted and touchable beneath.
        ReportAssert(kSource, 140, 1);
        RemoveChild(m_tabs);
        delete m_tabs;
        m_tabs = nullptr;
    }
    count = std::max(count, 0);
    CSetServer* style = CSetServer::Get();
    const int w = std::max(style ? style->GetStyle(m_styleClass, 0) : 1, 1);
    const int fit = m_width / w;
    const CZVRect band(0, 0, m_width, m_topInset + GetBevel());
    if (m_fontSize == 0 && style) m_fontSize = style->GetStyle(m_styleClass, 7);
    int perRow = std::min(std::max(fit - 1, 3), count - 1);
    if (descriptors && !descriptors->IsEmpty()) {
        int widest = 1;
        CZVDC dc(this);
        dc.SelectFont(m_fontSize, 0, 1);
        for (ZVPOSITION pos = descriptors->GetHeadPosition(); pos;)
            widest =
                std::max(widest, dc.GetTextSize(static_cast<CTabDescriptor*>(descriptors->GetNext(pos))->caption).cx);
        perRow = m_width / (widest + 2 * GetBevel());
        if (perRow >= count) forceStrip = 1;
    }
    CZVWindow* owner = GetParentOpaqueAncestor();
    if (count > fit && !forceStrip) {
        auto* row = new CPopTabRow(this, band, m_styleClass, owner, m_backColor, perRow, count, "", 0);
        m_tabs = row;
    } else {
        auto* strip = new CTabStrip(this, band, m_styleClass, owner, m_backColor);
        if (count > 0) strip->SetTabsPerRow(count, count);
        m_tabs = strip;
    }
    m_tabs->SetFaceColor(m_faceColor);
    while (descriptors && !descriptors->IsEmpty()) {
        auto* d = static_cast<CTabDescriptor*>(descriptors->RemoveHead());
        if (auto* tab = static_cast<CTabButton*>(m_tabs->AddTab(d->caption, d->id))) {
            tab->SetFontSize(m_fontSize);
            tab->SetPage(d->page);
        }
        delete d;
    }
    m_tabs->SetLayoutMode(1);
    AddChild(m_tabs);
}
