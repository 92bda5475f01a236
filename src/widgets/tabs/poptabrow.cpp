#include "widgets/tabs/poptabrow.h"

#include <algorithm>
#include <memory>

#include "gfx/dibdc.h"
#include "platform/report.h"
#include "widgets/regions/rregionradio.h"
#include "widgets/regions/shadewnd.h"
#include "widgets/style/setserver.h"
#include "widgets/tabs/menucolumn.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr const char* kSource = "poptabrow";
constexpr int kSkinning = 0x40000;
constexpr int kSlideMs = 250;
constexpr int kMinArrowWidth = 35;
constexpr COLORREF kGrey = 0x808080;
// The shading depth of the frame line.
constexpr int kFrameDepth = 25;

bool IsCompact() { return CSetServer::Get() && CSetServer::Get()->IsCompactLayout(); }
bool Skinning() { return CSetServer::Get() && (CSetServer::Get()->GetFlags() & kSkinning); }

}  // namespace

CPopTabRow::CPopTabRow(CZVWindow* parent, CZVRect rect, int styleClass, CZVWindow* owner, COLORREF backColour,
                       int tabsPerRow, int count, CZVString, int dropDown)
    : CTabContainer(parent, rect, styleClass) {
    SetBackColor(backColour);
    const int bevel = GetBevel();
    const int q = bevel / 4;
    CZVRect r;
    GetClientRect(&r);
    const int styleHeight = CSetServer::Get() ? CSetServer::Get()->GetStyle(styleClass, 1) : 0;
    if (!dropDown) {
        const int a = std::max(styleHeight - bevel, kMinArrowWidth);
        CZVRect right = r.CutRight(a, q);
        CZVRect left = r.CutLeft(a, q);
        if (styleClass == 3) right.x -= q;
        m_left = new CZV3DButton(this, left, kPageLeft, styleClass);
        m_right = new CZV3DButton(this, right, kPageRight, styleClass);
        m_left->SetIconName("TRANSPORT\\ICON32_LEFT_ARROW_GREEN", -1);
        m_right->SetIconName("TRANSPORT\\ICON32_RIGHT_ARROW_GREEN", -1);
        m_left->SetShadeDepth(25);
        m_right->SetShadeDepth(25);
    } else {
        CZVRect button = r.CutRight(r.w / (std::max(tabsPerRow, 0) + 1), 0);
        button.x += q;
        if (!IsCompact()) button.Deflate(bevel / 2, 0);
        m_dropDown = new CZV3DButton(this, button, kDropDown, styleClass);
        m_dropDown->SetIconName("TRANSPORT\\ICON32_DOWN_ARROW_GREEN", -1);
    }
    m_strip = new CTabStrip(this, r, styleClass, owner, backColour);
    AddChild(m_strip);
    m_strip->SetTabsPerRow(tabsPerRow, count);
    m_strip->SetLeftEndStyle(2);
    m_strip->SetRightEndStyle(2);
    m_strip->SetStacked(0);
    m_strip->SetNotifyCommand(kStripChanged);
    if (styleClass == 3) m_strip->SetLeftEndStyle(dropDown ? 0 : 1);
    for (CZV3DButton* button : {m_left, m_right, m_dropDown})
        if (button) ConfigureButton(button);
}

CPopTabRow::~CPopTabRow() { DropPanel(); }

void CPopTabRow::ConfigureButton(CZV3DButton* button) {
    const int bevel = GetBevel();
    button->SetBackColor(0);
    button->SetStyleBit(k3DSkinned | k3DBaseSurface, 1);
    button->SetFaceColor(m_faceColor);
    button->SetTexture(0);
    button->SetBevel(bevel);
    const int styleHeight = CSetServer::Get() ? CSetServer::Get()->GetStyle(m_styleClass, 1) : m_height;
    CZVRect rect(button->GetX(), 0, button->GetWidth(), 0);
    if (IsCompact() && m_styleClass == 3) {
        button->SetCornerRadius(1);
        rect.y = bevel;
        rect.h = m_height - bevel;
    } else {
        const bool mode2 = m_strip->GetLayoutMode() == 2;
        int c = std::min(m_height, styleHeight) - bevel;
        if (mode2) c -= bevel;
        const int g = mode2 ? 3 * bevel / 2 : 0;
        const int e = mode2 ? m_height - 1 : m_height - bevel;
        rect.y = (g + e) / 2 - c / 2;
        rect.h = std::max(c, 0);
    }
    button->SetRect(rect);
    if (m_strip->GetOpaqueAncestor() != GetMainWnd()) button->SetStyleBit(0x4, 1);
    if (Skinning()) {
        button->SetStyleBit(k3DSkinned, 1);
        button->SetBackColor(0);
    }
    AddChild(button);
}

void CPopTabRow::SetFaceColor(COLORREF colour) {
    CZVWindow::SetFaceColor(colour);
    m_strip->SetFaceColor(colour);
}

void CPopTabRow::SetBackColorBoth(COLORREF colour) {
    SetBackColor(colour);
    m_strip->SetBackColor(colour);
}

void CPopTabRow::Select(int index, int redraw) {
    ShowTabPage(0, -1);
    m_strip->Select(index, redraw);
}

int CPopTabRow::OnCommand(int id) { return OnChildCommand(id, 1); }

int CPopTabRow::OnChildCommand(int id, int) {
    switch (id) {
    case kPageLeft:
    case kPageRight: {
        if (id == kPageLeft)
            m_strip->PageLeft();
        else
            m_strip->PageRight();
        UpdateArrows();
        CZV3DButton* arrow = id == kPageLeft ? m_left : m_right;
        if (arrow && arrow->IsPressed()) CZVButton::PlayClickSound();
        break;
    }
    case kStripChanged: UpdateArrows(); break;
    case kPanelClosed: ShowTabPage(0, -1); break;
    case kPanelPicked: {
        int i = m_panel ? m_panel->GetSelection() : -1;
        if (i >= m_strip->GetTabCount()) i = -1;
        ShowTabPage(0, i);
        if (i >= 0 && m_strip->GetSelectedTab() != m_strip->GetTab(i)) {
            m_strip->Select(i, 1);
            auto* tab = static_cast<CTabButton*>(m_strip->GetSelectedTab());
            if (tab && m_parent) m_parent->OnCommand(tab->GetCommandId());
        }
        break;
    }
    case kDropDown: ShowTabPage(!m_open, -1); break;
    default: break;
    }
    CZVWindow::OnCommand(id);
    return 1;
}

void CPopTabRow::SetButtonEnabled(CZV3DButton* button, int enabled) {
    if (!button || (button->IsEnabled() != 0) == (enabled != 0)) return;
    button->Enable(enabled, 1);
    if (Skinning() && m_strip->GetOpaqueAncestor() == GetMainWnd()) {
        button->FreeImages();
        button->SetFaceColor(enabled ? m_faceColor : kGrey);
    }
}

void CPopTabRow::UpdateArrows() {
    SetButtonEnabled(m_left, m_strip->GetFirstVisible() > 0);
    SetButtonEnabled(m_right, m_strip->GetTabsAfter() > 0);
    SetButtonEnabled(m_dropDown, m_strip->GetSelectedTab() != nullptr);
}

void CPopTabRow::GetPanelGrid(int* perRow, int* rows) {
    const int count = m_strip->GetTabCount();
    CMainWndBase* main = GetMainWnd();
    const int screenWidth = main ? main->GetWidth() : m_width;
    int p = screenWidth / std::max(m_strip->GetTabWidth(), 1);
    p = std::max(std::min(p, IsCompact() ? m_strip->GetVisibleCount() : count), 1);
    int n = (count + p - 1) / p;
    if (!IsCompact())
        while (p > 1 && (p - 1) * n >= count) --p;
    *perRow = p;
    *rows = n;
}

void CPopTabRow::DropPanel() {
    delete m_captured;
    m_captured = nullptr;
    if (!m_panel) return;
    CMainWndBase* main = GetMainWnd();
    if (main && main->GetOverlayWindow() == m_panel) main->SetOverlayWindow(nullptr);
    RemoveChild(m_panel);
    delete m_panel;
    m_panel = nullptr;
    m_open = 0;
    m_strip->SetLayoutDirty();
}

CPopTabRow::SlideShift CPopTabRow::SlideStepShift(int part, int moved, int above, int below, int stripDistance) {
    SlideShift shift{0, 0};
    if (part == kOpenBelow) shift.dy = -moved;
    if (part == kCloseBelow) shift.dy = moved - below;
    const int d = part == kOpenBelow ? above : part == kCloseAbove ? below : 0;
    const int total = above + below;
    const int g = total > 0 ? static_cast<int>(int64_t{stripDistance} * (moved + d) / total) : 0;
    shift.offset = part == kCloseBelow || part == kCloseAbove ? stripDistance - g : g;
    return shift;
}

void CPopTabRow::OnSlideStep(CZVDC* dc, int moved, int, int part) {
    const SlideShift shift = SlideStepShift(part, moved, m_rowsAbove, m_rowsBelow, m_stripDistance);
    m_strip->SetRect(CZVRect(m_strip->GetX(), m_stripY + shift.dy, m_strip->GetWidth(), m_strip->GetHeight()));
    m_strip->DragLayout(dc, shift.offset, 0, 1);
}

void CPopTabRow::MeasureRows(int selected, int perRow, int rows) {
    const int rowStep = std::max(m_height - GetBevel(), 1);
    const int row = std::clamp(selected, 0, std::max(m_strip->GetTabCount() - 1, 0)) / std::max(perRow, 1);
    m_rowsAbove = row * rowStep;
    m_rowsBelow = std::max(rows - row - 1, 0) * rowStep;
}

namespace {

// A band of rows of a surface, as a surface of its own.
std::unique_ptr<CDibDC> RowsOf(CDibDC* source, int y, int height) {
    if (!source || height <= 0) return nullptr;
    const int width = source->GetRequestedWidth();
    auto band = std::make_unique<CDibDC>(width, height, 0, 0, 1);
    band->BitBlt(0, 0, source, 0, y, width, height);
    return band;
}

}  // namespace

void CPopTabRow::SlideCompact(bool open, CDibDC* aboveRows, CDibDC* belowRows) {
    CMainWndBase* main = GetMainWnd();
    const bool both = m_rowsAbove > 0 && m_rowsBelow > 0;
    const unsigned ms = both ? kSlideMs / 2 : kSlideMs;
    // Two parts run as one motion: the first speeds up, the second slows down.
    const int first = both ? 1 : 0;
    const int second = both ? 2 : 0;
    // The first part moves only the screen above the row; the second everything.
    const int aboveBand = main->GetHeight() - ToRootY(0);
    m_stripY = m_strip->GetY();
    if (open) {
        main->SlideVertical(-m_rowsAbove, ms, aboveRows, m_panelX, 0, 0, aboveBand, this, kOpenAbove, first);
        main->SlideVertical(-m_rowsBelow, ms, belowRows, m_panelX, 0, 0, 0, this, kOpenBelow, second);
    } else {
        main->SlideVertical(m_rowsBelow, ms, belowRows, m_panelX, 0, 0, 0, this, kCloseBelow, first);
        main->SlideVertical(m_rowsAbove, ms, aboveRows, m_panelX, 0, 0, aboveBand, this, kCloseAbove, second);
    }
    m_strip->SetRect(CZVRect(m_strip->GetX(), m_stripY, m_strip->GetWidth(), m_strip->GetHeight()));
    m_strip->DropSlideSurface();
}

void CPopTabRow::ShowTabPage(int open, int index) {
    if ((open != 0) == (m_open != 0)) return;
    CMainWndBase* main = GetMainWnd();
    if (!open) {
        if (main) main->SetOverlayWindow(nullptr);
        if (m_captured && main && IsCompact()) {
            if (index >= 0) {
                // The strip comes back showing the page of the picked tab.
                const int v = m_strip->GetVisibleCount();
                m_strip->SetFirstVisible(v * (index / v));
                int perRow = 1, rows = 1;
                GetPanelGrid(&perRow, &rows);
                MeasureRows(index, perRow, rows);
                m_stripDistance = 0;
            }
            const std::unique_ptr<CDibDC> above = RowsOf(m_captured, 0, m_rowsAbove);
            const std::unique_ptr<CDibDC> below = RowsOf(m_captured, m_rowsAbove, m_rowsBelow);
            SlideCompact(false, above.get(), below.get());
            if (m_strip->IsShown()) m_strip->RedrawBuffered();
        } else if (m_captured && main) {
            main->SetOffscreenPaint(1);
            main->SlideVertical(m_captured->GetHeight(), kSlideMs, m_captured, m_panelX, 0, 0, 0, nullptr, 0, 0);
            main->SetOffscreenPaint(0);
        }
        if (index >= 0) m_strip->EnsureVisible(index, 0);
        if (!m_panel) ReportAssert(kSource, 702, 1);
        DropPanel();
        return;
    }
    // Nothing to list, or no screen to slide on.
    if (!main || m_strip->GetTabCount() == 0) return;
    int perRow = 1;
    int rows = 1;
    GetPanelGrid(&perRow, &rows);
    const bool compact = IsCompact();
    const int rowStep = std::max(m_height - GetBevel(), 1);
    const int panelHeight = std::min(rows * rowStep, main->GetHeight());
    const int x0 = compact ? std::max(ToRootX(0), 0) : 0;
    const int panelWidth = compact ? std::min(m_strip->GetWidth(), main->GetWidth() - x0) : main->GetWidth() - x0;
    if (panelWidth <= 0 || panelHeight <= 0) return;
    m_panelX = x0;
    // The band that leaves the screen at the top; in the compact look the
    // row itself stands in for the selected row of the panel.
    const int capturedHeight = compact ? std::max(panelHeight - rowStep, 1) : panelHeight;
    m_captured = new CDibDC(main->GetWidth(), capturedHeight, 0, 0, 1);
    {
        CZVDC dc(main);
        dc.CaptureTo(m_captured, 0, 0);
    }
    CZVRect panelRect(x0 - ToRootX(0), main->GetHeight() - panelHeight - ToRootY(0), panelWidth, panelHeight);
    m_panel = new CRRegionRadio(this, panelRect, m_styleClass, perRow, rows, kPanelPicked, kPanelClosed);
    m_panel->SetCornerRadius(0);
    m_panel->SetFrameRaised(0);
    for (int i = 0; i < m_strip->GetTabCount(); ++i)
        m_panel->AddOption(dynamic_cast<CZV3DButton*>(m_strip->GetTab(i)), 0);
    if (!Skinning()) m_panel->SetBackColor(0);
    const int selected = m_strip->GetSelectedTab() ? m_strip->GetSelectedIndex() : -1;
    m_panel->SetSelection(selected, 0);
    AddChild(m_panel);
    // The panel as it will stand at the bottom of the screen, the full screen wide.
    CDibDC surface(main->GetWidth(), panelHeight, 0, main->GetHeight() - panelHeight, 1);
    if (compact) {
        surface.SetOrigin(ToRootX(0), ToRootY(0));
        const int right = panelRect.x + panelWidth;
        DrawBackgroundRect(&surface, right, panelRect.y, main->GetWidth() - x0 - panelWidth, panelHeight,
                           m_strip->GetOpaqueAncestor());
    }
    m_panel->Paint(&surface, 1);
    if (compact) {
        MeasureRows(std::max(selected, 0), perRow, rows);
        m_stripDistance = -(m_strip->GetWidth() * m_strip->GetPageOffset() / m_strip->GetVisibleCount());
        const std::unique_ptr<CDibDC> above = RowsOf(&surface, 0, m_rowsAbove);
        const std::unique_ptr<CDibDC> below = RowsOf(&surface, m_rowsAbove + rowStep, m_rowsBelow);
        SlideCompact(true, above.get(), below.get());
        CZVDC dc(main);
        dc.BitBlt(x0, main->GetHeight() - panelHeight, &surface, x0, 0, panelWidth, panelHeight);
    } else {
        main->SetOffscreenPaint(1);
        main->SlideVertical(-panelHeight, kSlideMs, &surface, x0, 0, 0, 0, nullptr, 0, 0);
        main->SetOffscreenPaint(0);
    }
    main->SetOverlayWindow(m_panel);
    m_open = 1;
}

void CPopTabRow::OnShow(int) { DropPanel(); }

void CPopTabRow::Paint(CZVDC* dc, int withBackground) {
    if (!m_shown) return;
    DropPanel();
    std::unique_ptr<CZVDC> own;
    if (!dc) {
        own = std::make_unique<CZVDC>(this);
        dc = own.get();
    }
    dc->SetOrigin(ToRootX(0), ToRootY(0));
    const int bevel = GetBevel();
    const bool flat = m_strip->GetLayoutMode() == 1;
    const int top = flat ? 0 : bevel;
    CZVWindow* owner = m_strip->GetOpaqueAncestor();
    DrawBackgroundRect(dc, 0, top, m_strip->GetX(), m_height - bevel, owner);
    const int stripRight = m_strip->GetX() + m_strip->GetWidth();
    DrawBackgroundRect(dc, stripRight, top, m_width - stripRight, m_height - bevel, owner);
    DrawFrameLine(dc);
    CZVWindow::Paint(dc, 0);
    if (!m_arrowsUpdated) {
        m_arrowsUpdated = 1;
        UpdateArrows();
    }
    (void)withBackground;
}

void CPopTabRow::DrawFrameLine(CZVDC* dc) {
    const int bevel = GetBevel();
    if (bevel <= 0 || m_width <= 0 || m_height < bevel) return;
    const bool flat = m_strip->GetLayoutMode() == 1;
    const int v = flat ? m_height - bevel : 0;
    CZVWindow* owner = m_strip->GetOpaqueAncestor();
    CDibDC frame(m_width, m_height, ToRootX(0), ToRootY(0), 1);
    frame.SetOrigin(ToRootX(0), ToRootY(0));
    frame.FillRect(m_backColor, 0, v, m_width, bevel, 0);
    CShadeWnd line(nullptr, CZVRect(0, v, m_width, bevel), 0);
    line.SetColors(m_faceColor, m_backColor);
    line.SetDepth(kFrameDepth);
    line.SetBevel(bevel);
    const bool leftCorner = m_leftEnd == 0;
    const bool rightCorner = flat && m_rightEnd == 0;
    // The rounded ends stand on what lies behind the row.
    if (leftCorner) DrawBackgroundRect(&frame, 0, v, bevel, bevel, owner);
    if (rightCorner) DrawBackgroundRect(&frame, m_width - bevel, v, bevel, bevel, owner);
    const int left = leftCorner ? bevel : 0;
    const int right = rightCorner ? bevel : 0;
    if (flat) {
        // The row stands on its line: rounded up at both ends.
        if (leftCorner) line.AddCorner(1, {0, 0, bevel, bevel}, 0);
        if (rightCorner) line.AddCorner(2, {m_width - bevel, 0, bevel, bevel}, 0);
        line.AddEdgeBounds(0, left, 0, m_width - right - 1, bevel - 1);
    } else {
        // The row hangs from its line, which bends down at the left.
        if (leftCorner) line.AddCorner(0, {0, 0, bevel, bevel}, 0);
        line.AddEdgeBounds(2, left, 0, m_width - 1, bevel - 1);
    }
    line.RenderShapes(&frame);
    dc->BitBlt(0, v, &frame, 0, v, m_width, bevel);
    CMenuColumn* menu = FindMenuColumn();
    if (m_strip->GetLayoutMode() != 2 || !menu || !menu->FillsColumn()) return;
    // Beside the strip the line runs on in the back colour to the menu.
    const int stripRight = m_strip->GetX() + m_strip->GetWidth();
    const CZVRect gaps[] = {{0, m_height - bevel, m_strip->GetX(), bevel},
                            {stripRight, m_height - bevel, m_width - stripRight, bevel}};
    for (const CZVRect& gap : gaps)
        if (const auto edge = MakeEdgePiece(2, gap, m_backColor, 0)) edge->Draw(dc, kShadePlain, nullptr, nullptr);
}
