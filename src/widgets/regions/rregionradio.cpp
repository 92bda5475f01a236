#include "widgets/regions/rregionradio.h"

#include <algorithm>

#include "gfx/skinservices.h"
#include "platform/clock.h"
#include "platform/report.h"
#include "widgets/window/mainwnd.h"
#include "widgets/style/setserver.h"
#include "widgets/buttons/zv3dbutton.h"

namespace {

constexpr COLORREF kSelectedText = 0x080408;  // near black, never the transparent key
constexpr int kBlinkPause = 50;                // ms

COLORREF SelectionColor() {
    CSetServer* style = CSetServer::Get();
    return style ? style->GetSelectionColor() : 0x64FFFF;
}

}  // namespace

CRRegionRadio::CRRegionRadio(CZVWindow* parent, CZVRect rect, int styleClass, int columns, int rows, int groupCommand,
                             int outsideCommand)
    : CRRegion(parent, rect, styleClass),
      m_columns(std::max(columns, 1)),
      m_rows(std::max(rows, 1)),
      m_groupCommand(groupCommand),
      m_outsideCommand(outsideCommand) {}

CRRegionRadio::~CRRegionRadio() {
    m_options.clear();
    // Another window's overlay stays open.
    CMainWndBase* main = GetMainWnd();
    if (main && main->GetOverlayWindow() == this) main->SetOverlayWindow(nullptr);
}

void CRRegionRadio::AddOption(CZV3DButton* option, int id) { m_options.push_back({option, id}); }

int CRRegionRadio::GetOptionId(int index) const {
    return index >= 0 && index < GetOptionCount() ? m_options[index].id : -1;
}

void CRRegionRadio::SetSelection(int index, int redraw) {
    if (index == m_selection) return;
    m_selection = index;
    if (redraw && m_shown) RedrawBuffered();
}

void CRRegionRadio::GetCellRect(CZVRect* out, int column, int row) {
    const int cellW = m_width / m_columns;
    const int cellH = m_height / m_rows;
    const int x = column * cellW;
    const int y = row * cellH;
    // The last column and row reach the edges, so the cells tile the region.
    out->x = x;
    out->y = y;
    out->w = column >= m_columns - 1 ? m_width - x : cellW;
    out->h = row >= m_rows - 1 ? m_height - y : cellH;
}

CZVRect CRRegionRadio::CellOf(int index) {
    CZVRect cell;
    GetCellRect(&cell, index % m_columns, index / m_columns);
    return cell;
}

void CRRegionRadio::CreateFrame() {
    CRRegion::CreateFrame();
    if (!m_frame) {
        ReportAssert("rregionradio", __LINE__, 1);
        return;
    }
    m_frame->SetTexture(m_frameTexture);
    SetFrameRaisedLevel(m_frameRaised);
    // Grooves between the cells; an empty region still gets a sane width.
    const int count = std::max(GetOptionCount(), 1);
    const int g = std::max(std::min(m_bevel, m_height / count / 4), 5);
    for (int k = 0; k + 1 < m_rows; ++k) {
        const CZVRect cell = CellOf(k * m_columns);
        const int y = cell.y + cell.h - 1;
        CShadeEdge* lit = m_frame->AddEdgeBounds(2, 0, y - g, m_width - 1, y);
        lit->SetCuts(12, lit->GetCutLength());
        CShadeEdge* shaded = m_frame->AddEdgeBounds(0, 0, y, m_width - 1, y + g);
        shaded->SetCuts(3, shaded->GetCutLength());
    }
    for (int row = 0; row < m_rows; ++row)
        for (int c = 1; c < m_columns; ++c) {
            if (row * m_columns + c - 1 >= GetOptionCount()) continue;
            CZVRect cell;
            GetCellRect(&cell, c, row);
            const int x = cell.x;
            CShadeEdge* right = m_frame->AddEdgeBounds(3, x - g, cell.y, x - 1, cell.y + cell.h - 2);
            right->SetCuts(5, right->GetCutLength());
            CShadeEdge* left = m_frame->AddEdgeBounds(1, x, cell.y, x + g - 1, cell.y + cell.h - 2);
            left->SetCuts(10, left->GetCutLength());
        }
}

void CRRegionRadio::DrawOption(int, CZV3DButton* option, CZVDC* surface, int) { option->DrawCaption(surface, 0); }

void CRRegionRadio::DrawOptionIcon(int, CZV3DButton* option, CZVDC* surface, int, COLORREF colour) {
    option->RefreshIcon();
    option->DrawIcon(surface, colour);
}

void CRRegionRadio::LayoutOptions(CDibDC* surface, int selectedLook) {
    for (int i = 0; i < GetOptionCount(); ++i) {
        CZV3DButton* option = m_options[i].window;
        if (!option) continue;
        const CZVRect cell = CellOf(i);
        option->SetRect(cell);
        surface->SetOrigin(ToRootX(cell.x), ToRootY(cell.y));
        surface->SetColor(m_textColor);
        surface->SetFont(m_fontSize, 0, 1);
        const COLORREF iconColour = i == m_selection ? SelectionColor() : m_faceColor;
        option->Enable(selectedLook ? 1 : m_enabled, 0);
        DrawOptionIcon(i, option, surface, selectedLook, iconColour);
        if (!selectedLook) {
            DrawOption(i, option, surface, selectedLook);
            continue;
        }
        const COLORREF text = option->GetTextColor();
        option->SetTextColor(kSelectedText);
        DrawOption(i, option, surface, selectedLook);
        option->SetTextColor(text);
    }
}

void CRRegionRadio::BuildNormalImage() {
    const int rootX = ToRootX(0);
    const int rootY = ToRootY(0);
    m_normalImage = std::make_unique<CDibDC>(m_width, m_height, rootX, rootY, 1);
    m_normalImage->SetOrigin(rootX, rootY);
    DrawBackgroundRect(m_normalImage.get(), 0, 0, m_width, m_height, GetParentOpaqueAncestor());
    CRRegion::OnPaint(m_normalImage.get());
    if ((CSetServer::CurrentFlags() & kStyleSkins) && m_frameTexture) {
        CSpanList spans;
        spans.AddRoundRect(m_width, m_height, 0, m_radius - 1, -1);
        Skins().DrawSkinRect(m_normalImage.get(), rootX, rootY, &spans, 0);
    }
    m_selectedImage.reset(m_normalImage->Clone());
    LayoutOptions(m_normalImage.get(), 0);
}

void CRRegionRadio::PrepareSelectedImage() {
    const int rootX = ToRootX(0);
    const int rootY = ToRootY(0);
    CSpanList spans;
    spans.AddRoundRect(m_width, m_height, 0, m_radius, -1);
    m_selectedImage->SetOrigin(rootX, rootY);
    CDibDC highlight(m_width, m_height, 0, 0, 0);
    highlight.FillRect(0, 0, 0, m_width, m_height, 0);
    highlight.FillRoundRect(SelectionColor(), 0, 0, m_width, m_height, m_radius - 1, 0);
    if (CSetServer::CurrentFlags() & kStyleSkins)
        m_selectedImage->OverlaySpans(&highlight, 0, 0, &spans);
    else
        m_selectedImage->BlendSpans(&highlight, 0, 0, &spans, 5);
    LayoutOptions(m_selectedImage.get(), 1);
    m_selectedImage->FlushDeferredText();
    m_selectedPrepared = 1;
}

void CRRegionRadio::OnPaint(CZVDC* dc) {
    if (!m_normalImage) BuildNormalImage();
    if (!m_normalImage || !m_selectedImage) return;
    dc->BitBltAll(m_normalImage.get(), 0, 0);
    if (m_selection >= 0 && m_selection < GetOptionCount()) {
        if (!m_selectedPrepared) PrepareSelectedImage();
        dc->SetOrigin(ToRootX(0), ToRootY(0));
        const CZVRect cell = CellOf(m_selection);
        dc->BitBlt(cell.x, cell.y, m_selectedImage.get(), cell.x, cell.y, cell.w, cell.h);
    }
    m_paintedOnce = 1;
}

int CRRegionRadio::OnLButtonDown(int x, int y, int keys) {
    if (!HitTest(x, y)) {
        if (m_outsideCommand < 0) return 0;
        if (m_parent) m_parent->OnCommand(m_outsideCommand);
        return 1;
    }
    if (m_options.empty() || !m_enabled) {
        CZVWindow::OnLButtonDown(x, y, keys);
        return 1;
    }
    ZVPoint p;
    ToLocal(&p, x, y);
    int index = 0;
    while (index < m_columns * m_rows - 1 && !CellOf(index).Contains(p.x, p.y)) ++index;
    m_pressed = 1;
    CZVButton::PlayClickSound();
    m_previousSelection = m_selection;
    if (index != m_selection) {
        m_selection = index;
        RedrawBuffered();
        return 1;
    }
    // The selected option blinks twice.
    for (int blink = 0; blink < 2; ++blink) {
        m_selection = -1;
        RedrawBuffered();
        platform::Sleep(kBlinkPause);
        m_selection = m_previousSelection;
        RedrawBuffered();
        platform::Sleep(kBlinkPause);
    }
    return 1;
}

int CRRegionRadio::OnLButtonUp(int x, int y, int keys) {
    if (HitTest(x, y)) {
        m_pressed = 0;
        if (!CZVWindow::OnLButtonUp(x, y, keys) && m_parent) m_parent->OnCommand(m_groupCommand);
        return 1;
    }
    if (m_pressed) {
        m_selection = m_previousSelection;
        RedrawBuffered();
    }
    m_pressed = 0;
    CMainWndBase* main = GetMainWnd();
    if (main && main->GetOverlayWindow() == this) {
        if (m_parent) m_parent->OnCommand(m_outsideCommand);
        return 1;
    }
    return 0;
}
