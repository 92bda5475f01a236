#pragma once
// The web page: a bar of buttons 50 pixels high across the whole main
// window (Main, the viewer's navigation, and a logo that turns while the
// viewer is busy) over a white area. The browsing is the web viewer's.
#include <memory>
#include <string>
#include <vector>

#include "gfx/dibdc.h"
#include "vistrel/shell/pbase.h"

class CZV3DButton;
class CZVIcon;

// The logo at the bar's right end: the gateway's "I_LOGO" on a raised box,
// with a ring of coloured marks that runs round it while the viewer is busy.
class CWebLogoWnd : public CZVWindow {
public:
    static constexpr COLORREF kBusyColour = 0x320000;

    CWebLogoWnd(CZVWindow* parent, CZVRect rect);
    ~CWebLogoWnd() override;

    void OnPaint(CZVDC* dc) override;
    // One step of the ring (once the first paint made the busy face).
    void AnimateStep();

    int GetRadius() const { return m_radius; }
    int GetPointCount() const { return static_cast<int>(m_ring.size()); }
    const std::vector<uint16_t>& GetColours() const { return m_colours; }

private:
    struct Point {
        int x;
        int y;
    };
    void DrawFace(CZVDC* dc, COLORREF fill);
    void BuildRing();
    void BuildColours();
    int StepBack(int index) const;

    std::unique_ptr<CZVIcon> m_icon;
    std::unique_ptr<CDibDC> m_busyFace;
    int m_radius;
    std::vector<Point> m_ring;
    int m_start = 0;
    std::vector<uint16_t> m_colours;
};

class CWebPage : public CPageBase {
public:
    static constexpr int kBarHeight = 50;
    enum : int {
        kMain = 1000,
        kBack = 1024,
        kNext = 1025,
        kStop = 1026,
        kRefresh = 1027,
        kHome = 1028,
        kEditFavorites = 1029,
    };

    CWebPage(CZVWindow* parent, CZVRect rect, int noNavigation);

    void OnPaint(CZVDC* dc) override;
    int OnCommand(int id) override;
    int OnIdle(int work) override;
    void OnResume() override;

    // Fetches the favourites the first time, then shows the viewer on the
    // URL (the favourites' start page when empty): a running viewer is
    // restarted when the no-navigation flag changed, else left as it is.
    void OpenWebViewer(const std::string& url, int noNavigation);

    CWebLogoWnd* GetLogo() const { return m_logo; }

private:
    void AddMainButton(CZVRect rect);
    CZV3DButton* AddWebButton(CZVRect rect, CZVString caption, CZVString iconName, int id);
    void StartViewer(const std::string& url);

    int m_shownBusy = 0;
    CZV3DButton* m_main = nullptr;
    CWebLogoWnd* m_logo = nullptr;
};
