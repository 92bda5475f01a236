#include "vistrel/media/pictures/picwnd.h"

#include <algorithm>

#include "av/soundclip.h"
#include "gfx/icon.h"
#include "gfx/zvdc.h"
#include "platform/clock.h"
#include "platform/report.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/lists/scrollbar.h"
#include "widgets/style/setserver.h"
#include "widgets/tabs/captionfitter.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr const char* kSource = "picwnd";
constexpr int kStyleClass = 11;
constexpr int kOpenKey = 0x50;  // P
constexpr int kSkinFlag = 0x40000;
constexpr int kSkinLevels = 8;
// The Play band's button and its texts.
constexpr int kPlayStyleClass = 17;
constexpr const char* kPlayIcon = "TRANSPORT\\ICON32PLAY";
constexpr const char* kPlayCaption = "Play";
constexpr int kPlayCaptionStart = 40;
constexpr int kNameFontSize = 12;
constexpr int kNameLines = 3;
constexpr int kWrapLookBack = 8;
constexpr int kCentred = 0x12;

}  // namespace

// ---- CRowExpander

CRowExpander::CRowExpander(int row) : m_row(row), m_startTick(platform::GetTickCount()) {}

void CRowExpander::SetOpen(int open) {
    const int target = open ? kFullHeight : 0;
    if (target == m_target) return;
    m_target = target;
    m_startHeight = m_height;
    m_startTick = platform::GetTickCount();
    m_durationMs = std::max<uint32_t>(1, static_cast<uint32_t>(std::abs(m_height - target)) * kFullMs / kFullHeight);
}

int CRowExpander::Step() {
    if (m_height == m_target) return 0;
    const uint32_t elapsed = std::min(platform::TicksSince(m_startTick), m_durationMs);
    const int way = std::abs(m_target - m_startHeight) * static_cast<int>(elapsed) / static_cast<int>(m_durationMs);
    const int height = std::clamp(m_target > m_startHeight ? m_startHeight + way : m_startHeight - way, 0, kFullHeight);
    if (height == m_height) return 0;
    m_height = height;
    return 1;
}

// ---- CPicWnd

CPicWnd::CPicWnd(CZVWindow* parent, CZVRect rect, int selectCommand, int openCommand, int cellWidth, int pictureHeight,
                 int captionHeight, int gap, int bevel, int flags)
    : CListWnd(parent, rect, kStyleClass, -1),
      m_selectCommand(selectCommand),
      m_openCommand(openCommand),
      m_cellWidth(cellWidth),
      m_pictureHeight(pictureHeight),
      m_captionHeight(captionHeight),
      m_gap(gap),
      m_flags(flags),
      m_scrollStart(platform::GetTickCount()) {
    if (CSetServer* style = CSetServer::Get()) SetBackColor(style->GetStyleColor(kStyleClass, 0));
    if (parent) SetFaceColor(parent->GetFaceColor());
    SetCornerRadius(0);
    SetRowHeight(pictureHeight + captionHeight);
    SetSelectedRowHeight(pictureHeight + captionHeight);
    SetBevel(bevel);
}

CPicWnd::~CPicWnd() = default;

void CPicWnd::SetFolder(CPictureFolder* folder) {
    m_folder = folder;
    SetScrollPos(0);
    m_selection = -1;
    m_scrollFrom = m_scrollTo = 0;
    RequestLayout();
}

CPictureItem* CPicWnd::GetSelectedItem() const { return m_folder ? m_folder->GetPicture(m_selection) : nullptr; }

int CPicWnd::GetCount() { return m_folder ? m_folder->GetPictureCount() : 0; }

int CPicWnd::GetColumns() const {
    const int columns = (m_width - 2 * GetBevel() - m_gap) / std::max(1, m_cellWidth + m_gap);
    return std::max(1, columns);
}

void CPicWnd::GetItemRectAt(CZVRect* out, int index) {
    const int columns = GetColumns();
    const int row = index / columns;
    const int column = index % columns;
    const int b = GetBevel();
    *out = CZVRect(b + m_gap + column * (m_cellWidth + m_gap),
                   b + m_gap - GetScrollPos() + row * RowPitch() + ExpandedAbove(row), m_cellWidth,
                   m_pictureHeight + m_captionHeight);
}

int CPicWnd::ExpandedAbove(int row) const {
    int height = 0;
    for (const CRowExpander& expander : m_expanders)
        if (expander.GetRow() < row) height += expander.GetHeight();
    return height;
}

CRowExpander* CPicWnd::GetExpander(int row) {
    for (CRowExpander& expander : m_expanders)
        if (expander.GetRow() == row) return &expander;
    return nullptr;
}

void CPicWnd::OpenOnlyRow(int row) {
    for (CRowExpander& expander : m_expanders) expander.SetOpen(expander.GetRow() == row);
}

CZVRect CPicWnd::Widened(CZVRect cell) const {
    if (m_flags & kCellsNotWidened) return cell;
    const int grow = m_gap - 1;
    return CZVRect(cell.x - grow, cell.y - grow, cell.w + 2 * grow, cell.h + 2 * grow);
}

int CPicWnd::ItemFromPoint(int x, int y) {
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        CZVRect r;
        GetItemRectAt(&r, i);
        if (x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h) return i;
    }
    return -1;
}

// ---- scroll bar and painting

void CPicWnd::UpdateScrollBar(CZVDC* dc, int redraw) {
    if (!m_folder) return;
    const int b = GetBevel();
    const int count = GetCount();
    int content = 0;
    if (count > 0) {
        CZVRect first, last;
        GetItemRectAt(&first, 0);
        GetItemRectAt(&last, count - 1);
        content = last.y + last.h - first.y + 2 * b + 1;
    }
    if (m_flags & kPlayBand) {
        m_expanders.clear();
        const int rows = (count + GetColumns() - 1) / GetColumns();
        for (int row = 0; row < rows; ++row) m_expanders.emplace_back(row);
        content += CRowExpander::kFullHeight;
    }
    if (content > m_height - 2 * b) {
        EnsureScrollBar(dc, 1);
        if (CZVScrollBar* bar = GetListScrollBar()) {
            bar->SetRange(m_height - 2 * b, content);
            bar->SetStep(RowPitch());
            bar->SetPosition(GetScrollPos(), 0);
            SetScrollPos(bar->GetPosition());
            if (redraw && dc) {
                dc->SetOriginFromWindow(bar);
                bar->Paint(dc, 1);
                dc->SetOriginFromWindow(this);
            }
        }
        return;
    }
    if (GetScrollBar()) RemoveScrollBar();
    SetScrollPos(0);
}

void CPicWnd::OnPaint(CZVDC* dc) {
    if (!m_folder) return;
    DrawRowBackground(dc, 0, m_height, GetFadeLevel());
    DrawItems(dc, 0, GetCount() - 1);
}

void CPicWnd::DrawRowBackground(CZVDC* dc, int top, int bottom, int fadeLevel) {
    if (CMainWndBase::InputBlockedFor(this)) ReportAssert(kSource, 355, 1);
    bottom = std::min(bottom, m_height);
    top = std::max(top, 0);
    if (top >= bottom) return;
    const int b = GetBevel();
    const COLORREF edge = m_parent ? m_parent->GetFaceColor() : m_faceColor;
    dc->PushClipXYWH(0, top, m_width + 1, bottom - top + 1);
    CSetServer* style = CSetServer::Get();
    if (style && (style->GetFlags() & kSkinFlag) && fadeLevel < kSkinLevels) {
        style->DrawSkinPiece(dc, m_backColor, 0, 0, m_width, m_height, fadeLevel, 0);
        dc->DrawBevel(CZVRect(0, 0, m_width, m_height), b, edge, false);
    } else {
        dc->FillBevelBoxStd(m_backColor, edge, false, 0, 0, m_width - 1, m_height - 1, b);
    }
    dc->PopClip();
}

int CPicWnd::ModeOf(int index, COLORREF* frame) {
    *frame = 0;
    const bool selected = index == m_selection;
    if (m_flags & kButtonCells) return selected && m_pressed ? kDrawButton : kDrawThumbButton;
    if (!selected) return kDrawFramed;
    if (m_flags & kPlayBand) return kDrawFramedBare;
    *frame = 0xFFFFFF;
    return kDrawButton;
}

void CPicWnd::DrawOneCell(CZVDC* dc, int index, int mode, COLORREF frame) {
    CPictureItem* item = m_folder ? m_folder->GetPicture(index) : nullptr;
    if (!item) return;
    CZVRect cell;
    GetItemRectAt(&cell, index);
    if (cell.y >= m_height || cell.y + cell.h - 1 <= 0) return;
    const CZVRect picture(cell.x, cell.y, cell.w, m_pictureHeight);
    const CZVRect caption(cell.x, cell.y + m_pictureHeight, cell.w, m_captionHeight);
    item->DrawItem(this, dc, Widened(cell), picture, caption, frame, mode);
}

void CPicWnd::DrawItems(CZVDC* dc, int first, int last) {
    if (!m_shown || !m_folder) return;
    const int b = GetBevel();
    last = std::min(last, GetCount() - 1);
    dc->PushClipBounds(b, b, m_width - b - 1, m_height - b - 1);
    for (int i = std::max(first, 0); i <= last; ++i) {
        COLORREF frame = 0;
        const int mode = ModeOf(i, &frame);
        DrawOneCell(dc, i, mode, frame);
    }
    if (m_flags & kPlayBand) DrawPlayBand(dc);
    dc->PopClip();
}

CZVRect CPicWnd::PlayBandRect(CZVRect cell) const {
    return CZVRect(cell.x - 1, cell.y + cell.h - m_captionHeight - 1, cell.w + 2,
                   m_captionHeight - m_gap + CRowExpander::kFullHeight);
}

int CPicWnd::InPlayArea(int x, int y) {
    if (!(m_flags & kPlayBand) || m_selection < 0 || m_selection >= GetCount()) return 0;
    CZVRect cell;
    GetItemRectAt(&cell, m_selection);
    const int top = cell.y + m_pictureHeight;
    const int bottom = top + m_captionHeight + CRowExpander::kFullHeight;
    return x >= cell.x && x < cell.x + cell.w && y >= top && y < bottom;
}

void CPicWnd::BuildPlayFaces(int width, int height) {
    CDibDC* built = m_playFaces[0].get();
    if (built && built->GetRequestedWidth() == width && built->GetHeight() == height) return;
    CZV3DButton button(this, CZVRect(0, 0, width, height), -1, kPlayStyleClass);
    button.SetMargin(0);
    button.SetCornerRadius(0);
    const int size = std::min(button.GetFontSize(), height);
    CIconCache* cache = CIconCache::Instance();
    CZVIcon* icon = cache ? cache->GetIcon(kPlayIcon) : nullptr;
    if (icon && icon->GetState() != CZVIcon::kLoaded) icon->WaitLoaded();
    const CZVRect iconBox(0, height - size, size, size);
    const CZVRect captionBox(size, height - size, width - size, size);
    CCaptionFitter fitter(this);
    fitter.AddCaption(kPlayCaption, captionBox);
    const int captionSize = fitter.FindFontSize(1, 1, kPlayCaptionStart);
    for (int pressed = 0; pressed < 2; ++pressed) {
        CDibDC* face = pressed ? button.GetPressedImage() : button.GetNormalImage();
        m_playFaces[pressed].reset(face ? face->Clone() : nullptr);
        CDibDC* copy = m_playFaces[pressed].get();
        if (!copy) continue;
        if (icon) icon->Draw(this, copy, button.GetFaceColor(), iconBox, 0, nullptr);
        copy->SetFont(captionSize, 0, 1);
        copy->SetColor(button.GetTextColor());
        copy->DrawText(kPlayCaption, captionBox, kCentred);
    }
}

void CPicWnd::DrawPlayBand(CZVDC* dc) {
    CPictureItem* item = GetSelectedItem();
    if (!item) return;
    CZVRect cell;
    GetItemRectAt(&cell, m_selection);
    CRowExpander* expander = GetExpander(m_selection / GetColumns());
    if (!expander) return;
    const CZVRect band = PlayBandRect(cell);
    if (expander->GetHeight() == CRowExpander::kFullHeight && band.w > 0 && band.h > 0) {
        BuildPlayFaces(band.w, band.h);
        if (CDibDC* face = m_playFaces[m_playPressed ? 1 : 0].get()) {
            std::unique_ptr<CDibDC> copy(face->Clone());
            const int nameHeight = band.h - CSetServer::CurrentStyle(kPlayStyleClass, 7);
            copy->SetFont(kNameFontSize, 0, 1);
            copy->SetColor(CSetServer::Get() ? CSetServer::Get()->GetStyleColor(kPlayStyleClass, 1) : 0);
            int lines = kNameLines;
            copy->DrawText(copy->WrapTextCopy(item->GetName(), band.w, kWrapLookBack, &lines),
                           CZVRect(0, 0, band.w, nameHeight), kCentred);
            dc->BitBlt(band.x, band.y, copy.get(), 0, 0, band.w, band.h);
        }
    }
    dc->FrameRect(0, cell.x - 2, cell.y + 1, cell.w + 4, cell.h + expander->GetHeight() - m_gap - 1);
}

void CPicWnd::RedrawSelectedCell() {
    if (m_selection < 0 || m_selection >= GetCount() || !m_shown) return;
    CZVDC dc(this);
    DrawItems(&dc, m_selection, m_selection);
}

int CPicWnd::DrawBand(CZVDC* dc, int top, int bottom) {
    int first = -1;
    int last = -1;
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        CZVRect r;
        GetItemRectAt(&r, i);
        if (r.y < bottom && r.y + r.h > top) {
            if (first < 0) first = i;
            last = i;
        }
    }
    if (first >= 0) DrawItems(dc, first, last);
    return 1;
}

void CPicWnd::DrawCell(int index, int mode) {
    if (index < 0 || index >= GetCount() || !m_shown) return;
    CZVDC dc(this);
    const int b = GetBevel();
    dc.PushClipBounds(b, b, m_width - b - 1, m_height - b - 1);
    DrawOneCell(&dc, index, mode, 0);
    dc.PopClip();
}

void CPicWnd::ClearCell(int index) {
    CZVRect cell;
    GetItemRectAt(&cell, index);
    const CZVRect area = Widened(cell);
    const int b = GetBevel();
    CZVDC dc(this);
    dc.PushClipXYWH(b, b, m_width - 2 * b, m_height - 2 * b);
    CSetServer* style = CSetServer::Get();
    if (style && (style->GetFlags() & kSkinFlag))
        style->DrawSkinPiece(&dc, m_backColor, area.x, area.y, area.w, area.h, GetFadeLevel(), 0);
    else
        dc.FillRectRect(m_backColor, area, 0);
    dc.PopClip();
}

void CPicWnd::OnItemLoaded(CPictureItem* item, int isPicture) {
    if (!m_folder || item->GetFolder() != m_folder) return;
    if (isPicture) {
        if (m_parent) m_parent->OnImageReady(item->GetPicture());
        return;
    }
    if (CMainWndBase::InputBlockedFor(this)) {
        m_repaintDeferred = 1;
        return;
    }
    if (!m_shown) return;
    // Items may carry ids in place of positions (a device's titles).
    const int index = m_folder->IndexOf(item);
    if (index < 0) return;
    CZVRect cell;
    GetItemRectAt(&cell, index);
    const int b = GetBevel();
    const int top = std::max(cell.y, b);
    const int bottom = std::min(cell.y + cell.h, m_height - b - 2);
    if (bottom <= top) return;
    CZVDC dc(this);
    dc.FillRect(m_backColor, cell.x, top, cell.w, bottom - top, 0);
    DrawItems(&dc, index, index);
}

// ---- touch

void CPicWnd::SendToParent(int id) {
    if (m_parent && id != -1) m_parent->OnCommand(id);
}

int CPicWnd::OnLButtonDown(int x, int y, int keys) {
    CZVScrollBar* bar = GetListScrollBar();
    m_pressScroll = bar ? bar->GetPosition() : -1;
    m_dragged = 0;
    m_scrollTo = m_scrollFrom;
    ZVPoint p;
    ToLocal(&p, x, y);
    if (p.x < 0 || p.x > m_width || p.y < 0 || p.y > m_height) return 0;
    if (InPlayArea(p.x, p.y)) {
        CZVButton::PlayClickSound();
        m_playPressed = 1;
        RedrawSelectedCell();
        return 1;
    }
    m_playPressed = 0;
    m_pressed = 1;
    const int hit = ItemFromPoint(p.x, p.y);
    if (hit >= 0 && hit == m_selection) {
        DrawCell(m_selection, (m_flags & kPlayBand) ? kDrawFramedBare : kDrawButtonLight);
        m_redrawOnRelease = 1;
    } else if (hit >= 0) {
        const int old = m_selection;
        if (m_flags & kPlayBand) OpenOnlyRow(hit / GetColumns());
        if (old >= 0 && old < GetCount() && !(m_flags & kPlayBand)) ClearCell(old);
        m_selection = hit;
        if (m_flags & kPlayBand) {
            RedrawBuffered();
        } else {
            DrawCell(old, kDrawFramed);
            DrawCell(hit, kDrawButtonLight);
        }
        if (m_flags & kEveryReleaseOpens) m_redrawOnRelease = 1;
        SendToParent(m_selectCommand);
    }
    return CListWnd::OnLButtonDown(x, y, keys);
}

int CPicWnd::OnMouseMove(int x, int y, int keys) {
    const int result = CListWnd::OnMouseMove(x, y, keys);
    CZVScrollBar* bar = GetListScrollBar();
    if (!m_dragged && bar && std::abs(bar->GetPosition() - m_pressScroll) > kDragSlack) m_dragged = 1;
    return result;
}

void CPicWnd::ScrollSelectionIntoView() {
    CZVScrollBar* bar = GetListScrollBar();
    if (m_selection < 0 || !bar) return;
    CZVRect r;
    GetItemRectAt(&r, m_selection);
    const int b = GetBevel();
    int d = 0;
    if (r.y < b)
        d = r.y - b;
    else if (r.y + r.h + kRevealBelow > m_height - b)
        d = r.y + r.h - m_height + b + kRevealBelow;
    if (d == 0) return;
    m_scrollFrom = GetScrollPos();
    const int most = std::max(0, bar->GetTotal() - bar->GetPageLength());
    m_scrollTo = std::clamp(m_scrollFrom + d, 0, most);
    m_scrollStart = platform::GetTickCount();
}

int CPicWnd::OnLButtonUp(int x, int y, int keys) {
    const int wasPressed = m_pressed;
    const int redrawOnRelease = m_redrawOnRelease;
    m_pressed = 0;
    if (wasPressed) {
        if (!m_dragged) ScrollSelectionIntoView();
        OnScrollFade(0);
    }
    if (m_redrawOnRelease) {
        m_redrawOnRelease = 0;
        DrawCell(m_selection, (m_flags & kEveryReleaseOpens) ? kDrawFramed
                              : (m_flags & kPlayBand)        ? kDrawFramedBare
                                                             : kDrawButton);
    }
    ZVPoint p;
    ToLocal(&p, x, y);
    if (p.x < 0 || p.x > m_width || p.y < 0 || p.y > m_height) return CListWnd::OnLButtonUp(x, y, keys);
    if (m_playPressed && (m_flags & kPlayBand) && GetSelectedItem()) {
        m_playPressed = 0;
        RedrawSelectedCell();
        if (InPlayArea(p.x, p.y)) CListWnd::OnCommand(m_openCommand);
    }
    if (m_selection >= 0 && ItemFromPoint(p.x, p.y) == m_selection &&
        (redrawOnRelease || (m_flags & kEveryReleaseOpens)) && !(m_flags & kPlayBand) && !m_dragged) {
        if (CSetServer* style = CSetServer::Get())
            if (CSoundClip* clip = style->GetSound(style->GetPressSound())) clip->Play(0);
        SendToParent(m_openCommand);
    }
    return CListWnd::OnLButtonUp(x, y, keys);
}

void CPicWnd::OnKeyUp(int key, int flags) {
    if (key == kOpenKey) SendToParent(m_openCommand);
    CZVWindow::OnKeyUp(key, flags);
}

int CPicWnd::OnCommand(int id) {
    const bool press = id >= kPressCommand && id <= kPressCommand + kSyntheticRange;
    const bool release = id >= kReleaseCommand && id <= kReleaseCommand + kSyntheticRange;
    if (!press && !release) return CListWnd::OnCommand(id);
    m_inputQueue.push_back(id);
    return 1;
}

void CPicWnd::PressAtCell(int index, bool press) {
    CZVRect r;
    GetItemRectAt(&r, index);
    const int x = ToRootX(r.x + r.w / 2);
    const int y = ToRootY(r.y + r.h / 2);
    if (press)
        OnLButtonDown(x, y, 0);
    else
        OnLButtonUp(x, y, 0);
}

int CPicWnd::StepScroll() {
    if (m_scrollFrom == m_scrollTo) return 0;
    const uint32_t t = std::min<uint32_t>(kScrollMs, platform::TicksSince(m_scrollStart));
    const int position = m_scrollFrom + (m_scrollTo - m_scrollFrom) * static_cast<int>(t) / static_cast<int>(kScrollMs);
    if (t >= kScrollMs) m_scrollFrom = m_scrollTo;
    if (position == GetScrollPos()) return 0;
    {
        CZVDC dc(this);
        OnScroll(&dc, position);
    }
    if (CZVScrollBar* bar = GetListScrollBar()) bar->SetPosition(position, 1);
    return 1;
}

int CPicWnd::OnIdle(int busy) {
    if (!m_inputQueue.empty()) {
        const int id = m_inputQueue.front();
        m_inputQueue.pop_front();
        const bool press = id < kReleaseCommand;
        PressAtCell(id - (press ? kPressCommand : kReleaseCommand), press);
    }
    if (StepScroll()) busy = 1;
    int expanded = 0;
    for (CRowExpander& expander : m_expanders) expanded |= expander.Step();
    if (expanded) {
        RedrawBuffered();
        busy = 1;
    }
    if (m_repaintDeferred && !CMainWndBase::InputBlockedFor(this)) {
        m_repaintDeferred = 0;
        RedrawBuffered();
        busy = 1;
    }
    return CListWnd::OnIdle(busy);
}
