#include "vistrel/media/video/fullscreen.h"

#include <algorithm>

#include "gfx/zvdc.h"
#include "vistrel/media/video/pvideo.h"
#include "vistrel/shell/pagecontrol.h"
#include "vistrel/shell/pagemakers.h"
#include "widgets/tabs/captionfitter.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr int kCellWidth = 40;
constexpr int kCellHeight = 30;
constexpr COLORREF kBlack = 0;

}  // namespace

CFullScreenButton::CFullScreenButton(CZVWindow* parent, CZVRect rect, int source, int quality)
    : CZV3DButton(parent, rect, kCommand, kStyleClass), m_source(source), m_quality(quality) {
    SetText(2 * rect.w < 3 * rect.h ? "Full\nScreen" : "Full Screen", nullptr, 0);
    CCaptionFitter fitter(this);
    fitter.AddWindow(this);
    fitter.Apply(GetFontSize());
}

CFullScreenButton::~CFullScreenButton() { CloseFullScreen(); }

int CFullScreenButton::RemoveFullScreen() {
    if (!m_fullScreen) return 0;
    if (CMainWndBase* main = GetMainWnd()) {
        main->RemoveChild(m_fullScreen);
        main->SetModal(0);
        main->SetOverlayWindow(nullptr);
    }
    delete m_fullScreen;
    m_fullScreen = nullptr;
    return 1;
}

void CFullScreenButton::CloseFullScreen() { RemoveFullScreen(); }

void CFullScreenButton::OnSuspend() {
    CloseFullScreen();
    CZV3DButton::OnSuspend();
}

int CFullScreenButton::OnLButtonDown(int x, int y, int keys) {
    if (!m_fullScreen) return CZV3DButton::OnLButtonDown(x, y, keys);
    CMainWndBase* main = GetMainWnd();
    RemoveFullScreen();
    if (main) main->Redraw(1);
    RestartAllVideo();
    return 1;
}

int CFullScreenButton::OnCommand(int id) {
    if (id != kCommand) return id;
    CMainWndBase* main = GetMainWnd();
    if (!main || m_fullScreen) return 1;
    StopAllVideo();
    const int w = main->GetWidth(), h = main->GetHeight();
    const int n = std::min(w / kCellWidth, h / kCellHeight);
    {
        CZVDC dc(main);
        dc.FillRect(kBlack, 0, 0, w, h, 0);
    }
    const int pw = kCellWidth * n, ph = kCellHeight * n;
    m_fullScreen = new CVideoWnd(main, CZVRect(w / 2 - pw / 2, h / 2 - ph / 2, pw, ph), pw, ph, nullptr, 0, m_source,
                                 m_quality, 1);
    m_fullScreen->SetFullScreen(1);
    m_fullScreen->SetTapEnabled(0);
    main->AddChildFirst(m_fullScreen);
    main->SetModal(1);
    m_fullScreen->Start(m_source, m_quality);
    main->SetOverlayWindow(this);
    DropPress();
    return 1;
}

// ---- the page control

namespace {

CZVWindow* MakeFullScreenButton(CPageControlArgs& args) {
    auto* button = new CFullScreenButton(args.parent, args.rect, args.desc.id, args.parameter - 1);
    if (!args.desc.text.IsEmpty()) button->SetText(args.desc.text, nullptr, 0);
    return button;
}

}  // namespace

void RegisterFullScreenButton() {
    static constexpr CControlMakerRow kControls[] = {{CFullScreenButton::kType, MakeFullScreenButton, kSkipCommon}};
    RegisterControlMakers(kControls);
}
