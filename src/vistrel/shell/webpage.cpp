#include "vistrel/shell/webpage.h"

#include <algorithm>

#include "gfx/icon.h"
#include "gfx/shadepoly.h"
#include "gfx/speed.h"
#include "vistrel/shell/mainwnd.h"
#include "vistrel/shell/webviewer.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/tabs/captionfitter.h"
#include "widgets/window/gateway.h"

namespace {

constexpr COLORREF kRingInner = 0x320000;
constexpr COLORREF kRingMiddle = 0xC83296;
constexpr COLORREF kRingOuter = 0xFFFFFF;
constexpr COLORREF kAreaColour = 0xFFFFFF;
constexpr int kBarStyleClass = 18;
constexpr int kMainStyleClass = 2;
constexpr int kIconLayoutLeft = 2;
constexpr int kIconLayoutAbove = 3;
constexpr int kCaptionFormat = 0x12;
constexpr int kLogoInset = 4;
constexpr int kRingPasses = 3;

}  // namespace

// ---- the logo

CWebLogoWnd::CWebLogoWnd(CZVWindow* parent, CZVRect rect)
    : CZVWindow(parent, rect, 0), m_radius(std::min(rect.w, rect.h) / 2 - 6) {
    m_icon.reset(CopyOfCachedIcon("I_LOGO"));
    if (!m_icon && GetGatewayServer()) {
        m_icon = std::make_unique<CZVIcon>(*GetGatewayServer());
        m_icon->Load("I_LOGO");
    }
    SetBackColor(parent->GetFaceColor());
    SetFaceColor(parent->GetFaceColor());
    BuildRing();
    BuildColours();
}

CWebLogoWnd::~CWebLogoWnd() = default;

void CWebLogoWnd::BuildRing() {
    if (m_radius < 0) return;
    CPointList quarter;
    BuildCircleOutline(&quarter, m_radius, 0);
    const int q = quarter.GetCount();
    m_ring.resize(4 * q);
    for (int i = 0; i < q; ++i) {
        const int x = quarter.GetX(i);
        const int y = quarter.GetY(i);
        m_ring[i] = {x, y};
        m_ring[q + i] = {y, -x};
        m_ring[2 * q + i] = {-x, -y};
        m_ring[3 * q + i] = {-y, x};
    }
}

void CWebLogoWnd::BuildColours() {
    const int n = GetPointCount() / 8;
    const int half = n / 2;
    m_colours.resize(n);
    for (int i = 0; i < n; ++i) {
        const COLORREF colour = i < half ? MixColors(kRingInner, kRingMiddle, static_cast<double>(i) / half)
                                         : MixColors(kRingMiddle, kRingOuter, static_cast<double>(i - half) / half);
        m_colours[i] = ToRgb565(colour);
    }
}

int CWebLogoWnd::StepBack(int index) const { return index > 0 ? index - 1 : GetPointCount() - 1; }

void CWebLogoWnd::DrawFace(CZVDC* dc, COLORREF fill) {
    dc->FillBevelBoxStd(fill, GetFaceColor(), true, 0, 0, GetWidth() - 1, GetHeight() - 1, 2);
    if (!m_icon) return;
    const CZVRect inner(kLogoInset, kLogoInset, GetWidth() - 2 * kLogoInset, GetHeight() - 2 * kLogoInset);
    m_icon->Draw(this, dc, fill, inner, CZVIcon::kNoCache, nullptr);
}

void CWebLogoWnd::OnPaint(CZVDC* dc) {
    m_paintedOnce = 1;
    DrawFace(dc, GetFaceColor());
    if (m_busyFace) return;
    m_busyFace = std::make_unique<CDibDC>(GetWidth(), GetHeight(), 0, 0, 1);
    DrawFace(m_busyFace.get(), kRingInner);
}

void CWebLogoWnd::AnimateStep() {
    if (!m_busyFace || m_ring.empty()) return;
    CDibDC surface(GetWidth(), GetHeight(), 0, 0, 1);
    surface.FillRect(kRingInner, 0, 0, GetWidth(), GetHeight(), 0);
    const int cx = GetWidth() / 2;
    const int cy = GetHeight() / 2;
    int k = m_start;
    m_start = StepBack(m_start);
    for (int pass = 0; pass < kRingPasses; ++pass) {
        for (uint16_t colour : m_colours) {
            const COLORREF mark = ColorFrom565(colour);
            const int x = m_ring[k].x / 2 + pass;
            const int y = m_ring[k].y + pass;
            for (const int sign : {1, -1}) {
                const int px = cx + sign * x;
                const int py = cy + sign * y;
                surface.Line(mark, px - 1, py, px + 1, py);
                surface.Line(mark, px, py - 1, px, py + 1);
            }
            k = StepBack(k);
        }
    }
    surface.TransparentBlt(0, 0, m_busyFace.get(), 0, 0, GetWidth(), GetHeight(), ToRgb565(kRingInner));
    CZVDC dc(this);
    dc.BitBlt(0, 0, &surface, 0, 0, GetWidth(), GetHeight());
}

// ---- the page

CWebPage::CWebPage(CZVWindow* parent, CZVRect rect, int noNavigation) : CPageBase(parent, rect) {
    SetPageId(kCommandWeb);
    const int width = rect.w;
    AddMainButton(CZVRect(0, 0, width / 8, kBarHeight));
    m_logo = new CWebLogoWnd(this, CZVRect(width - 48, 2, 46, 48));
    AddChild(m_logo);
    CZVRect row(width / 8, 0, width - width / 8 - kBarHeight, kBarHeight);
    row.Deflate(4, 4);
    const int columns = noNavigation ? 4 : 6;
    AddWebButton(row.Column(0, columns, 2), "Back", "WEB_BACK", kBack);
    AddWebButton(row.Column(1, columns, 2), "Next", "WEB_NEXT", kNext);
    AddWebButton(row.Column(2, columns, 2), "Stop", "WEB_STOP", kStop);
    CZV3DButton* refresh = AddWebButton(row.Column(3, columns, 2), "Refresh", "WEB_REFRESH", kRefresh);
    if (!noNavigation) {
        AddWebButton(row.Column(4, columns, 2), "Home", "WEB_HOME", kHome);
        CZV3DButton* edit =
            Add3DButtonDefault(row.Column(5, columns, 2), kEditFavorites, kBarStyleClass, "Edit\nFavorites");
        edit->SetBevel(4);
        edit->SetMargin(0);
        edit->SetCornerRadius(6);
        CCaptionFitter fitter(this);
        fitter.AddWindow(edit);
        fitter.Apply(refresh->GetFontSize());
    }
    SendPageShown();
}

void CWebPage::AddMainButton(CZVRect rect) {
    m_main = new CZV3DButton(this, rect, kMain, kMainStyleClass);
    // A wider twin drawn first lends its right part, so that the button's
    // left corners are square against the window's edge.
    const int radius = m_main->GetCornerRadius();
    CZV3DButton twin(this, CZVRect(0, 0, rect.w + radius, rect.h), -1, kMainStyleClass);
    twin.SetBackColor(GetFaceColor());
    if (CDibDC* normal = twin.GetNormalImageOrDefault()) m_main->SetNormalImage(normal, radius, 0, rect.w, rect.h);
    if (CDibDC* pressed = twin.GetPressedImageOrDefault()) m_main->SetPressedImage(pressed, radius, 0, rect.w, rect.h);
    m_main->SetText("Main", nullptr, 0);
    m_main->SetTextFormat(kCaptionFormat);
    m_main->SetIconName("WEB_DOWN", kIconLayoutLeft);
    AddChild(m_main);
}

CZV3DButton* CWebPage::AddWebButton(CZVRect rect, CZVString caption, CZVString iconName, int id) {
    CZV3DButton* button = AddIconButton(rect, id, kBarStyleClass, iconName, kIconLayoutAbove);
    button->SetMargin(0);
    button->SetBevel(4);
    button->SetCornerRadius(6);
    button->SetText(caption, nullptr, 0);
    return button;
}

void CWebPage::OnPaint(CZVDC* dc) {
    CPageBase::OnPaint(dc);
    dc->FillBevelBoxStd(kAreaColour, GetFaceColor(), true, 0, kBarHeight, GetWidth() - 1, GetHeight() - 1, 2);
}

int CWebPage::OnCommand(int id) {
    // The viewer takes no navigation commands: only Main does something.
    if (id == kMain)
        if (auto* main = dynamic_cast<CMainWnd*>(GetParent())) main->LeaveWebPage();
    return 1;
}

int CWebPage::OnIdle(int work) {
    work = CPageBase::OnIdle(work);
    if (m_shownBusy) m_logo->AnimateStep();
    const int busy = IsWebViewerBusy() ? 1 : 0;
    if (busy != m_shownBusy) {
        if (!busy) {
            CZVDC dc(m_logo);
            dc.FillRect(GetFaceColor(), 0, 0, m_logo->GetWidth(), m_logo->GetHeight(), 0);
            m_logo->OnPaint(&dc);
        }
        m_shownBusy = busy;
    }
    return work;
}

void CWebPage::OnResume() {
    CPageBase::OnResume();
    if (!IsWebViewerRunning() && EnsureWebViewerFile()) StartViewer({});
}

void CWebPage::StartViewer(const std::string& url) {
    SetWebViewerBusy(false);
    const std::string target = url.empty() ? GetFavoritesStartPage(GetParent()->GetHeight()) : url;
    if (!target.empty() && EnsureWebViewerFile()) StartWebViewer(target);
}

void CWebPage::OpenWebViewer(const std::string& url, int noNavigation) {
    if (CZVServer* server = GetGatewayServer()) FetchFavorites(*server);
    // The viewer cannot be told the flag: a change takes a new viewer.
    if (noNavigation != GetLastWebNoNavigation() && IsWebViewerRunning()) CloseWebViewer();
    if (!IsWebViewerRunning()) StartViewer(url);
    SetLastWebNoNavigation(noNavigation);
}
