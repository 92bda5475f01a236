#include "vistrel/media/pictures/pictureviewer.h"

#include <algorithm>

#include "gfx/dibdc.h"
#include "gfx/shellservices.h"
#include "gfx/zvdc.h"
#include "vistrel/media/pictures/picwnd.h"
#include "vistrel/media/pictures/thumbbutton.h"
#include "widgets/style/setserver.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr int kStyleClass = 11;
constexpr int kButtonStyleClass = 18;
constexpr COLORREF kPictureBackground = 0x323232;
constexpr COLORREF kButtonFace = 0xFF6464;
constexpr COLORREF kButtonText = 0xFFFFFF;
// The grid's cells: 80 x 60 thumbnails without captions, 4 pixels apart.
constexpr int kCellWidth = 80;
constexpr int kCellPictureHeight = 60;
constexpr int kCellGap = 4;

struct ButtonLook {
    int id;
    int radius;
    int shape;
};

// Right to left.
constexpr ButtonLook kButtonLooks[4] = {
    {CPictureViewerWnd::kNextCommand, 22, 3},
    {CPictureViewerWnd::kFullScreenCommand, 0, -1},
    {CPictureViewerWnd::kBackCommand, 0, -1},
    {CPictureViewerWnd::kPreviousCommand, 22, 2},
};

CZVRect MainRect() {
    CMainWndBase* main = GetMainWnd();
    return main ? CZVRect(0, 0, main->GetWidth(), main->GetHeight()) : CZVRect(0, 0, 0, 0);
}

}  // namespace

CPictureViewerWnd::CPictureViewerWnd(CPictureFolder* folder, CZVWindow* parent, CZVRect rect, int gridFlags)
    : CZVWindow(parent, rect, kStyleClass), m_folder(folder) {
    const COLORREF face = parent ? parent->GetFaceColor() : m_faceColor;
    SetColors(face, face);
    CZVRect client;
    GetClientRect(&client);
    m_grid = new CPicWnd(this, client, -1, kOpenCommand, kCellWidth, kCellPictureHeight, 0, kCellGap,
                         CSetServer::CurrentStyle(kStyleClass, 5), gridFlags);
    AddChild(m_grid);
    CPictureFolder* shown = nullptr;
    if (folder && folder->GetPictureCount() > 0) {
        shown = folder;
    } else if (folder) {
        for (int i = 0; i < folder->GetSubFolderCount() && !shown; ++i)
            if (folder->GetSubFolder(i)->GetPictureCount() > 0) shown = folder->GetSubFolder(i);
    }
    if (shown) SetFolder(shown, 0);
}

void CPictureViewerWnd::SetFolder(CPictureFolder* folder, int redraw) {
    m_folder = folder;
    m_grid->Show(1, 1);
    RemoveButtons();
    m_shownItem = nullptr;
    m_grid->SetFolder(folder);
    if (redraw) m_grid->RedrawBuffered();
}

int CPictureViewerWnd::SelectedIndex() const { return m_grid->GetSelection(); }

CZVRect CPictureViewerWnd::GetViewingRect() {
    if (m_fullScreen) return MainRect();
    CZVRect client;
    GetClientRect(&client);
    client.Deflate(2, 2);
    return client;
}

void CPictureViewerWnd::FreeOldPictures() {
    if (!m_folder) return;
    CPictureFolder* root = m_folder->GetRoot();
    while (root->GetTotalBytes() > kMaxPictureBytes || Shell().GetAvailableMemory() < kMinAvailableMemory) {
        CPictureItem* oldest = root->FindOldestPicture(nullptr);
        if (!oldest) return;
        oldest->FreePicture();
    }
}

void CPictureViewerWnd::Preload(int index, int step) {
    if (!m_folder) return;
    const int count = m_folder->GetPictureCount();
    int j = index + step;
    if (j >= count) j = 0;
    if (j < 0) j = count - 1;
    if (j == index) return;
    const CZVRect viewing = GetViewingRect();
    if (CPictureItem* item = m_folder->GetPicture(j)) item->EnsurePicture(viewing.w, viewing.h);
}

// ---- drawing

void CPictureViewerWnd::DrawPicture(CPictureItem* item, CZVDC* dc) {
    const CZVRect viewing = GetViewingRect();
    if (m_fullScreen) {
        dc->SetOrigin(0, 0);
    } else {
        dc->FillBevelBox(m_faceColor, m_faceColor, false, 0, 0, m_width - 1, m_height - 1, m_grid->GetBevel(), 1.0f);
        dc->PushClipBounds(2, 2, m_width - 3, m_height - 3);
    }
    if (item->DrawItem(m_grid, dc, viewing, viewing, viewing, 0, kDrawPicture)) BuildButtons(item, dc);
    if (!m_fullScreen) dc->PopClip();
}

void CPictureViewerWnd::RemoveButtons() {
    for (CThumbButton*& button : m_buttons) {
        if (!button) continue;
        RemoveChild(button);
        delete button;
        button = nullptr;
    }
}

void CPictureViewerWnd::BuildButtons(CPictureItem* item, CZVDC* dc) {
    RemoveButtons();
    CDibDC* picture = item->GetPicture();
    if (!picture) return;
    const int pw = picture->GetRequestedWidth();
    const int ph = picture->GetHeight();
    CZVRect r;
    GetClientRect(&r);
    r.Deflate(2, 2);
    const int f = std::min(pw, m_width) - 4;
    const int w = f / 4;
    const int y = r.h - kButtonHeight;
    int pictureX, pictureY, x;
    if (m_fullScreen) {
        const CZVRect main = MainRect();
        pictureX = main.w / 2 - pw / 2;
        pictureY = main.h / 2 - ph / 2;
        x = main.w / 2 + f / 2 - w - ToRootX(0);
    } else {
        pictureX = r.x + r.w / 2 - pw / 2;
        pictureY = r.y + r.h / 2 - ph / 2;
        x = r.x + r.w / 2 + f / 2 - w;
    }
    const COLORREF face = m_faceColor;
    m_faceColor = kPictureBackground;
    const CZVString captions[4] = {
        "Next",
        m_fullScreen ? "Normal\nSize" : "Full\nScreen",
        CZVString("Back to\n") + m_folder->GetName(),
        "Previous",
    };
    for (size_t i = 0; i < m_buttons.size(); ++i, x -= w) {
        const int sourceX = (m_fullScreen ? ToRootX(x) : x) - pictureX;
        const int sourceY = (m_fullScreen ? ToRootY(y) : y) - pictureY;
        auto* button = new CThumbButton(this, CZVRect(x, y, w, kButtonHeight), kButtonLooks[i].id, kButtonStyleClass,
                                        picture, sourceX, sourceY);
        AddChildFirst(button);
        button->SetFaceColor(kButtonFace);
        button->SetTextColor(kButtonText);
        button->SetCornerRadius(kButtonLooks[i].radius);
        button->SetShapeKind(kButtonLooks[i].shape);
        button->SetText(captions[i], nullptr, 0);
        m_buttons[i] = button;
    }
    m_faceColor = face;
    if (!dc) return;
    for (CThumbButton* button : m_buttons) {
        dc->SetOriginFromWindow(button);
        button->OnPaint(dc);
    }
    dc->SetOriginFromWindow(this);
}

void CPictureViewerWnd::Paint(CZVDC* dc, int withBackground) {
    CZVWindow::Paint(dc, withBackground);
    if (m_shownItem && dc) {
        dc->SetOriginFromWindow(this);
        DrawPicture(m_shownItem, dc);
    }
}

void CPictureViewerWnd::ShowPicture(int index, int animate) {
    FreeOldPictures();
    CPictureItem* item = m_folder ? m_folder->GetPicture(index) : nullptr;
    if (!item) return;
    if (animate) {
        CZVWindow* target = m_fullScreen ? static_cast<CZVWindow*>(GetMainWnd()) : this;
        if (!target) target = this;
        const int x = target->ToRootX(0);
        const int y = target->ToRootY(0);
        CDibDC surface(target->GetWidth(), target->GetHeight(), x, y, 1);
        surface.SetOrigin(ToRootX(0), ToRootY(0));
        DrawPicture(item, &surface);
        surface.SetOrigin(x, y);
        CZVRect cell;
        m_grid->GetItemRectAt(&cell, index);
        const int offsetX = m_grid->ToRootX(0) - x;
        const int offsetY = m_grid->ToRootY(0) - y;
        cell.Offset(offsetX, offsetY);
        const CZVRect whole(0, 0, target->GetWidth(), target->GetHeight());
        target->MorphTransition(kTransitionMs, CZVRect(cell.x + cell.w / 2, cell.y + cell.h / 2, 1, 1), whole, &surface,
                                0);
    } else {
        CZVDC dc(this);
        DrawPicture(item, &dc);
    }
    m_shownItem = item;
    m_grid->Show(0, 1);
}

void CPictureViewerWnd::Step(int step) {
    const int count = m_folder ? m_folder->GetPictureCount() : 0;
    if (count == 0) return;
    const int index = ((SelectedIndex() + step) % count + count) % count;
    m_grid->SetSelection(index);
    RemoveButtons();
    FreeOldPictures();
    CZVWindow* target = m_fullScreen ? static_cast<CZVWindow*>(GetMainWnd()) : this;
    if (!target) target = this;
    const int x = target->ToRootX(0);
    const int y = target->ToRootY(0);
    CDibDC surface(target->GetWidth(), target->GetHeight(), x, y, 1);
    surface.SetOrigin(ToRootX(0), ToRootY(0));
    CPictureItem* item = m_folder->GetPicture(index);
    DrawPicture(item, &surface);
    m_shownItem = item;
    m_grid->Show(0, 1);
    if (item->GetPicture()) Preload(index, step);
    target->SlideHorizontal(-step * target->GetWidth(), kTransitionMs, &surface, 0, 0, 0, 0);
}

void CPictureViewerWnd::ShowGrid() {
    m_grid->Show(1, 1);
    Redraw(1);
}

void CPictureViewerWnd::BackToGrid() {
    RemoveButtons();
    m_shownItem = nullptr;
    if (m_fullScreen) {
        m_fullScreen = 0;
        if (m_folder) m_folder->FreeAllPictures();
        if (CMainWndBase* main = GetMainWnd()) {
            main->SetOverlayWindow(nullptr);
            main->Redraw(1);
        }
    }
    ShowGrid();
}

void CPictureViewerWnd::ToggleFullScreen() {
    m_fullScreen = !m_fullScreen;
    if (m_folder) m_folder->FreeAllPictures();
    RemoveButtons();
    if (CMainWndBase* main = GetMainWnd()) {
        if (m_fullScreen) {
            main->SetOverlayWindow(this);
        } else {
            main->SetOverlayWindow(nullptr);
            main->Redraw(1);
        }
    }
    if (m_grid->GetSelectedItem()) ShowPicture(SelectedIndex(), 0);
}

int CPictureViewerWnd::OnCommand(int id) {
    switch (id) {
    case kNextCommand: Step(1); return id;
    case kPreviousCommand: Step(-1); return id;
    case kOpenCommand:
        if (m_grid->GetSelectedItem()) ShowPicture(SelectedIndex(), 1);
        return id;
    case kBackCommand: BackToGrid(); return id;
    case kFullScreenCommand: ToggleFullScreen(); return id;
    default: return id;
    }
}

int CPictureViewerWnd::OnImageReady(CDibDC* picture) {
    if (!m_shown || CMainWndBase::InputBlockedFor(this)) return 1;
    if (m_shownItem && picture && picture == m_shownItem->GetPicture()) {
        ShowPicture(SelectedIndex(), 0);
        Preload(SelectedIndex(), 1);
    }
    return 1;
}

// ---- touch

int CPictureViewerWnd::HitButtons(int x, int y) {
    for (CThumbButton* button : m_buttons)
        if (button && button->HitTest(x, y)) return 1;
    return 0;
}

int CPictureViewerWnd::OnLButtonDown(int x, int y, int keys) {
    if (!m_shownItem) return CZVWindow::OnLButtonDown(x, y, keys);
    if (!m_shownItem->GetPicture()) OnCommand(kBackCommand);
    return HitButtons(x, y) ? CZVWindow::OnLButtonDown(x, y, keys) : 0;
}

int CPictureViewerWnd::OnLButtonUp(int x, int y, int keys) {
    if (!m_shownItem) return CZVWindow::OnLButtonUp(x, y, keys);
    return HitButtons(x, y) ? CZVWindow::OnLButtonUp(x, y, keys) : 0;
}

void CPictureViewerWnd::OnSuspend() {
    if (m_fullScreen) {
        m_fullScreen = 0;
        if (CMainWndBase* main = GetMainWnd()) main->SetOverlayWindow(nullptr);
    }
    if (m_shownItem) {
        m_grid->Show(1, 1);
        RemoveButtons();
        m_shownItem = nullptr;
    }
    if (m_folder) m_folder->FreeAllPictures();
}
