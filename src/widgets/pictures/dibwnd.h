#pragma once
// Windows that show a gateway picture. CDibWnd keeps its own surface into
// which the picture is copied once it arrives; held for two seconds it shows
// the credits picture over the whole screen until the next touch.
// CImagePagerWnd adds a bar of Prev, Del and Next buttons, shown on a touch,
// that page through pictures the gateway holds. CImageWnd shows a picture
// scaled to its size.
#include <cstdint>

#include "core/messages/toolkitmessages.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/window/controlfields.h"

class CZVImage;

class CDibWnd : public CZVWindow {
public:
    static constexpr uint32_t kCreditsHold = 2000;
    static constexpr uint32_t kCreditsShown = 600000;

    CDibWnd(CZVWindow* parent, CZVRect rect, int styleClass);
    ~CDibWnd() override;

    void OnPaint(CZVDC* dc) override;
    int OnLButtonDown(int x, int y, int keys) override;
    int OnLButtonUp(int x, int y, int keys) override;
    int OnImageReady(CDibDC* picture) override;
    std::optional<CZVRect> GetOpaqueRect() override;
    // Awaits the gateway's picture of that name.
    virtual void SetImageName(CZVString name);

    void FillSurface(COLORREF colour);
    CDibDC* GetSurface() const { return m_surface.get(); }
    void SetKeyColor(COLORREF colour) { m_keyColor = colour; }
    void SetTransparent(int on) { m_transparent = on; }
    void SetFitToPicture(int on) { m_fitToPicture = on; }
    int IsWaiting() const { return m_waiting; }

private:
    // With fit to picture, a surface of the picture's size and the window
    // resized to it; true when the surface was replaced.
    bool FitTo(CDibDC* picture);
    // Copies the picture into the surface at y, lays the skin over a
    // textured window, and lets the picture go.
    void TakePicture(CDibDC* picture, int x, int y);
    // The credits picture over the screen until the next touch.
    int ShowCredits();

    std::unique_ptr<CDibDC> m_surface;
    COLORREF m_keyColor = 0;
    int m_transparent = 0;
    int m_fitToPicture = 0;
    CZVImage* m_picture = nullptr;
    int m_waiting = 1;
    int m_pressed = 0;
    uint32_t m_pressTick;
};

// Makes the buttons of the pager's bar; the media pages install their own
// thumb buttons. The default makes plain bevelled buttons.
using ThumbButtonFactory = CZV3DButton* (*)(CZVWindow* parent, CZVRect rect, int commandId, int styleClass);
ThumbButtonFactory SetThumbButtonFactory(ThumbButtonFactory factory);
// A thumb button of the factory in use.
CZV3DButton* MakeThumbButton(CZVWindow* parent, CZVRect rect, int commandId, int styleClass);

class CImagePagerWnd : public CDibWnd {
public:
    enum : int { kPrevId = 1000, kDeleteId = 1001, kNextId = 1002 };
    static constexpr uint32_t kBarShown = 5000;

    CImagePagerWnd(CZVWindow* parent, CZVRect rect, int styleClass, int margin, int itemId);

    int OnLButtonDown(int x, int y, int keys) override;
    int OnLButtonUp(int x, int y, int keys) override;
    int OnCommand(int id) override;
    void OnTimer() override;

    int IsBarShown() const { return m_barShown; }
    CZV3DButton* GetBarButton(int i) const { return m_buttons[i]; }

private:
    void ShowBar();
    void HideBar();

    int m_pagerPressed = 0;
    int m_barShown = 0;
    int m_margin;
    int m_itemId;
    CZV3DButton* m_buttons[3] = {};
    uint32_t m_shownTick = 0;
};

class CImageWnd : public CZVWindow {
public:
    // Factory types 113 and 114.
    CImageWnd(CZVWindow* parent, const CControlFields& fields, CZVString pictureName);
    ~CImageWnd() override;

    void OnPaint(CZVDC* dc) override;
    int OnImageReady(CDibDC* picture) override;

private:
    CZVImage* m_picture = nullptr;
    std::unique_ptr<CDibDC> m_scaled;
};
