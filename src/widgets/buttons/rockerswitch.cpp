#include "widgets/buttons/rockerswitch.h"

#include <algorithm>
#include <memory>

#include "gfx/dibdc.h"
#include "platform/report.h"
#include "widgets/regions/shadewnd.h"
#include "widgets/style/setserver.h"

namespace {

constexpr const char* kSource = "rockerswitch";

// Glosses the part {x, y, w, h} of the face on its own.
void GlossPart(CDibDC* face, int x, int y, int w, int h, int radius, int margin) {
    if (w <= 0 || h <= 0) return;
    CDibDC part(w, h, 0, 0, 0);
    if (!part.GetBits()) return;
    part.BitBlt(0, 0, face, x, y, w, h);
    part.ApplyGloss(radius, -1, margin, 0, 0);
    face->BitBlt(x, y, &part, 0, 0, w, h);
}

}  // namespace

CRockerSwitchButton::CRockerSwitchButton(CRockerSwitch* rocker, CZVRect rect, int command, int styleClass)
    : CZV3DButton(rocker, rect, command, styleClass), m_rocker(rocker) {
    m_raisedLevel = 0;
}

int CRockerSwitchButton::HitTest(int x, int y) { return CZVButton::HitTest(x, y); }

void CRockerSwitchButton::CaptureSnapshot(CZVDC* dc) { CZVWindow::CaptureSnapshot(dc); }

void CRockerSwitchButton::RenderFace(int pressed) {
    auto surface = std::make_unique<CDibDC>(m_width, m_height, ToRootX(0), ToRootY(0), 1);
    if (!surface->GetBits()) return;
    CDibDC* face = surface.get();
    ReplaceFaceImage(pressed, surface.release());
    if (m_rocker) m_rocker->RenderSegment(this, face, pressed);
}

CRockerSwitch::CRockerSwitch(CZVWindow* parent, CZVRect rect, int styleClass, int firstCommand, int lastCommand,
                             int vertical, int segmentCount)
    : CZVWindow(parent, rect, styleClass), m_vertical(vertical == 1) {
    if (parent) m_faceColor = m_backColor = parent->GetFaceColor();
    const int count = std::max(segmentCount, 1);
    CZVRect rest;
    GetClientRect(&rest);
    const int cell = (m_vertical ? rest.h : rest.w) / count;
    for (int i = 0; i < count; ++i) {
        const bool last = i == count - 1;
        const CZVRect part = last ? rest : m_vertical ? rest.CutBottom(cell, 0) : rest.CutLeft(cell, 0);
        const int command = i == 0 ? firstCommand : last ? lastCommand : kNoCommand;
        auto* segment = new CRockerSwitchButton(this, part, command, styleClass);
        // A lone segment is the whole pill; otherwise the two ends are rounded.
        if (count > 1 && (i == 0 || last)) segment->SetShapeKind(m_vertical ? (i == 0 ? 1 : 0) : (i == 0 ? 2 : 3));
        m_segments.push_back(segment);
        AddChild(segment);
    }
}

CRockerSwitch::~CRockerSwitch() { delete m_whole; }

CRockerSwitchButton* CRockerSwitch::GetSegment(int index) {
    if (index < 0 || index >= GetSegmentCount()) {
        ReportAssert(kSource, 172, 1);
        return nullptr;
    }
    return m_segments[index];
}

int CRockerSwitch::GetSegmentEdges(int index) {
    const int count = GetSegmentCount();
    if (index < 0 || index >= count) return 0;
    const int towardsFirst = m_vertical ? 0x8 : 0x1;
    const int towardsLast = m_vertical ? 0x4 : 0x2;
    return (index > 0 ? towardsFirst : 0) | (index < count - 1 ? towardsLast : 0);
}

CZV3DButton* CRockerSwitch::CreateWholeButton() {
    if (!m_whole) {
        m_whole = new CZV3DButton(this, CZVRect(0, 0, m_width, m_height), -1, m_styleClass);
        m_whole->SetBackColor(m_faceColor);
        m_whole->SetMargin(GetMargin());
        m_whole->SetBevel(m_bevel);
        m_whole->SetCornerRadius(m_radius);
    }
    m_whole->SetStyleBit(k3DBaseSurface, m_baseSurfaceLook);
    return m_whole;
}

void CRockerSwitch::GlossHalves(CDibDC* face, int pressed) {
    if (m_glossed[pressed] || !(CSetServer::CurrentFlags() & kStyleGloss)) return;
    const int w = face->GetRequestedWidth(), h = face->GetHeight();
    const int r = m_whole->GetCornerRadius(), m = m_whole->GetMargin();
    if (m_vertical) {
        GlossPart(face, 0, h / 2, w, h - h / 2, r, m);
        GlossPart(face, 0, 0, w, h / 2, r, m);
    } else {
        GlossPart(face, w / 2, 0, w - w / 2, h, r, m);
        GlossPart(face, 0, 0, w / 2, h, r, m);
    }
    m_glossed[pressed] = 1;
}

void CRockerSwitch::AddGrooves(CRockerSwitchButton* segment, int edges, CDibDC* surface) {
    const int W = segment->GetWidth(), H = segment->GetHeight();
    const int e = std::max(m_whole->GetBevel() / 2, 1), m = GetMargin();
    CShadeWnd shade(nullptr, CZVRect(0, 0, W, H), 0);
    shade.SetColors(m_whole->GetFaceColor(), m_backColor);
    shade.SetBevel(e);
    const struct {
        int bit, side, x1, y1, x2, y2, cuts;
    } grooves[] = {{0x4, 0, m, 0, W - m - 1, e, 3},
                   {0x2, 3, W - e - 1, m, W - 1, H - m - 1, 5},
                   {0x8, 2, m, H - e - 1, W - m - 1, H - 1, 12},
                   {0x1, 1, 0, m, e, H - m - 1, 10}};
    for (const auto& g : grooves)
        if (edges & g.bit)
            if (CShadeEdge* edge = shade.AddEdgeBounds(g.side, g.x1, g.y1, g.x2, g.y2)) edge->SetCuts(g.cuts, 0);
    shade.RenderShapes(surface);
    SetShadeDepth(25);
}

void CRockerSwitch::RenderSegment(CRockerSwitchButton* segment, CDibDC* surface, int pressed) {
    const auto found = std::find(m_segments.begin(), m_segments.end(), segment);
    if (found == m_segments.end() || !surface) {
        ReportAssert(kSource, 198, 1);
        return;
    }
    if (!CreateWholeButton()) {
        ReportAssert(kSource, 206, 1);
        return;
    }
    CDibDC* whole = nullptr;
    WithStyleFlags(0, kStyleGloss, [&] { whole = pressed ? m_whole->GetPressedImage() : m_whole->GetNormalImage(); });
    if (!whole) return;
    GlossHalves(whole, pressed ? 1 : 0);
    surface->BitBlt(0, 0, whole, segment->GetX(), segment->GetY(), segment->GetWidth(), segment->GetHeight());
    if (!pressed || !(CSetServer::CurrentFlags() & kStyleSkins))
        AddGrooves(segment, GetSegmentEdges(static_cast<int>(found - m_segments.begin())), surface);
    if (m_cutOut.w > 0 && m_cutOut.h > 0) {
        surface->FillRoundRect(0, m_cutOut.x - segment->GetX(), m_cutOut.y - segment->GetY(), m_cutOut.w, m_cutOut.h,
                               m_cutOutRadius, 0);
        segment->SetStyleBit(k3DSkinned, 1);
    }
    DecorateSegment(segment, surface, pressed);
}
