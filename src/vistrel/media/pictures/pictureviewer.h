#pragma once
// CPictureViewerWnd: one album as a thumbnail grid and, once a thumbnail is
// opened, its picture in the grid's place with four see-through buttons
// along the bottom: Previous, Back, Full Screen (Normal Size) and Next. Next
// and Previous slide to the neighbouring picture and fetch the one after it
// ahead; the oldest pictures are freed so that the album tree keeps at most
// about 16 MB of pictures.
#include <array>
#include <cstdint>

#include "vistrel/media/pictures/picturefolder.h"
#include "widgets/window/zvwindow.h"

class CPicWnd;
class CThumbButton;

class CPictureViewerWnd : public CZVWindow {
public:
    static constexpr int kNextCommand = 1001;
    static constexpr int kPreviousCommand = 1002;
    static constexpr int kOpenCommand = 1003;
    static constexpr int kBackCommand = 1004;
    static constexpr int kFullScreenCommand = 1005;
    static constexpr uint32_t kMaxPictureBytes = 16'000'000;
    static constexpr uint64_t kMinAvailableMemory = 1'000'000;
    static constexpr int kTransitionMs = 250;
    static constexpr int kButtonHeight = 45;

    CPictureViewerWnd(CPictureFolder* folder, CZVWindow* parent, CZVRect rect, int gridFlags);

    void SetFolder(CPictureFolder* folder, int redraw);
    void ShowPicture(int index, int animate);
    void FreeOldPictures();
    void Preload(int index, int step);

    void Paint(CZVDC* dc, int withBackground) override;
    int OnLButtonDown(int x, int y, int keys) override;
    int OnLButtonUp(int x, int y, int keys) override;
    int OnImageReady(CDibDC* picture) override;
    int OnCommand(int id) override;
    void OnSuspend() override;

    CPicWnd* GetGrid() const { return m_grid; }
    CPictureFolder* GetFolder() const { return m_folder; }
    CPictureItem* GetShownItem() const { return m_shownItem; }
    // Right to left: Next, Full Screen, Back, Previous; null when absent.
    CThumbButton* GetButton(int i) const { return m_buttons[static_cast<size_t>(i)]; }
    int IsFullScreen() const { return m_fullScreen; }
    // The size pictures are shown at.
    CZVRect GetViewingRect();

private:
    void DrawPicture(CPictureItem* item, CZVDC* dc);
    void BuildButtons(CPictureItem* item, CZVDC* dc);
    void RemoveButtons();
    int HitButtons(int x, int y);
    void ShowGrid();
    void BackToGrid();
    void ToggleFullScreen();
    void Step(int step);
    int SelectedIndex() const;

    CPictureFolder* m_folder;
    CPicWnd* m_grid;
    CPictureItem* m_shownItem = nullptr;
    std::array<CThumbButton*, 4> m_buttons{};
    int m_fullScreen = 0;
};
