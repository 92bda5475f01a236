#include "widgets/pictures/dibwnd.h"

#include "gfx/dibdc.h"
#include "gfx/icon.h"
#include "gfx/skinservices.h"
#include "gfx/ticks.h"
#include "gfx/zvimage.h"
#include "platform/clock.h"
#include "platform/keys.h"
#include "platform/report.h"
#include "widgets/buttons/iconbutton.h"
#include "widgets/style/setserver.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr const char* kSource = "dibwnd";

CZV3DButton* MakePlainThumb(CZVWindow* parent, CZVRect rect, int commandId, int styleClass) {
    return new CZV3DButton(parent, rect, commandId, styleClass);
}

ThumbButtonFactory g_thumbFactory = MakePlainThumb;

void Release(CZVImage*& picture) {
    if (picture)
        if (CIconCache* cache = CIconCache::Instance()) cache->ReleaseImage(picture);
    picture = nullptr;
}

CZVImage* CachedImage(CZVString name, COLORREF colour, int kind, int sentValue) {
    CIconCache* cache = CIconCache::Instance();
    return cache ? cache->GetImage(name, colour, 0, kind, 0, sentValue) : nullptr;
}

CDibDC* NewSurface(int w, int h) { return w > 0 && h > 0 ? new CDibDC(w, h, 0, 0, 0) : nullptr; }

}  // namespace

// ---- CDibWnd

CDibWnd::CDibWnd(CZVWindow* parent, CZVRect rect, int styleClass)
    : CZVWindow(parent, rect, styleClass),
      m_surface(NewSurface(rect.w, rect.h)),
      m_pressTick(platform::GetTickCount()) {}

CDibWnd::~CDibWnd() { Release(m_picture); }

void CDibWnd::SetImageName(CZVString name) {
    Release(m_picture);
    m_picture = CachedImage(name, m_backColor, 6, 8);
    m_waiting = 1;
}

void CDibWnd::FillSurface(COLORREF colour) {
    if (m_surface) m_surface->FillRect(colour, 0, 0, m_surface->GetRequestedWidth(), m_surface->GetHeight(), 0);
}

std::optional<CZVRect> CDibWnd::GetOpaqueRect() {
    const int w = m_width * 80 / 100, h = m_height * 80 / 100;
    if (w > 99 && h > 99) return CZVRect(1, 1, w - 2, h - 2);
    return std::nullopt;
}

bool CDibWnd::FitTo(CDibDC* picture) {
    const int w = picture->GetRequestedWidth(), h = picture->GetHeight();
    if (!m_fitToPicture || (m_surface && m_surface->GetRequestedWidth() == w && m_surface->GetHeight() == h))
        return false;
    m_surface.reset(NewSurface(w, h));
    SetRect(CZVRect(m_x, m_y, w, h));
    return true;
}

void CDibWnd::TakePicture(CDibDC* picture, int x, int y) {
    if (m_surface) {
        picture->DrawTransparentTo(m_surface.get(), x, y, picture->GetRequestedWidth(), picture->GetHeight(), 0);
        if (m_texture) Skins().DrawSkinImage(m_surface.get(), m_surface.get(), ToRootX(0), ToRootY(0), nullptr, 0);
    }
    m_picture->SetPurgeable(1);
    Release(m_picture);
    m_waiting = 0;
}

void CDibWnd::OnPaint(CZVDC* dc) {
    CZVWindow::OnPaint(dc);
    if (!m_surface) return;
    const int b = CSetServer::GetBevelInset(m_bevelType);
    if (b > 0) dc->BevelBox(m_backColor, false, 0, 0, m_width - 1, m_height - 1, b);
    if (m_picture && m_waiting) {
        CDibDC* picture = m_picture->GetDib(this, -1, -1);
        if (!picture) return;
        FitTo(picture);
        if (!m_surface) return;
        TakePicture(picture, b, m_height / 2 + b - picture->GetHeight() / 2);
    }
    if (m_transparent)
        dc->TransparentBlt(b, b, m_surface.get(), 0, 0, m_width - 2 * b, m_height - 2 * b, ToRgb565(m_keyColor));
    else
        dc->BitBlt(b, b, m_surface.get(), b, b, m_width - 2 * b, m_height - 2 * b);
}

int CDibWnd::OnImageReady(CDibDC* picture) {
    if (!CZVWindow::OnImageReady(picture)) return 0;
    if (!m_waiting) return 1;
    if (!picture || !m_picture) {
        ReportAssert(kSource, 265, 1);
        return 1;
    }
    if (FitTo(picture) && m_parent) FillSurface(m_parent->GetFaceColor());
    if (!m_surface) return 1;
    TakePicture(picture, 0, m_height / 2 - picture->GetHeight() / 2);
    Redraw(1);
    return 0;
}

int CDibWnd::OnLButtonDown(int x, int y, int) {
    m_pressed = HitTest(x, y) ? 1 : 0;
    if (m_pressed) m_pressTick = platform::GetTickCount();
    return m_pressed;
}

int CDibWnd::OnLButtonUp(int x, int y, int) {
    if (!HitTest(x, y)) return 0;
    CSetServer* style = CSetServer::Get();
    if ((style && style->IsThemed()) || !m_pressed) return 0;
    m_pressed = 0;
    if (TicksSince(&m_pressTick) < kCreditsHold) return 0;
    return ShowCredits();
}

int CDibWnd::ShowCredits() {
    CSetServer* style = CSetServer::Get();
    CMainWndBase* main = GetMainWnd();
    if (!style || !style->GetServer() || !main) return 0;
    CZVImage credits(*style->GetServer(), "credits.gif", 0, 0, CZVImage::kTinted, 0, 0);
    CDibDC* picture = credits.GetDib(nullptr, -1, -1);
    if (!picture) return 0;
    {
        CZVDC dc(main);
        dc.BitBlt(0, 0, picture, 0, 0, picture->GetRequestedWidth(), picture->GetHeight());
    }
    platform::TabletWindow* native = main->GetHwnd();
    const uint32_t start = platform::GetTickCount();
    bool done = !native;
    while (!done && TicksSince(&start) < kCreditsShown) {
        platform::WindowEvent event;
        while (!done && native->PollEvent(&event)) {
            if (event.message == platform::kWmLButtonDown || event.message == platform::kWmClose)
                done = true;
            else
                main->DispatchEvent(event);
        }
        if (!done) platform::Sleep(25);
    }
    main->Redraw(1);
    return 1;
}

// ---- CImagePagerWnd

ThumbButtonFactory SetThumbButtonFactory(ThumbButtonFactory factory) {
    ThumbButtonFactory previous = g_thumbFactory;
    g_thumbFactory = factory ? factory : MakePlainThumb;
    return previous;
}

CZV3DButton* MakeThumbButton(CZVWindow* parent, CZVRect rect, int commandId, int styleClass) {
    return g_thumbFactory(parent, rect, commandId, styleClass);
}

CImagePagerWnd::CImagePagerWnd(CZVWindow* parent, CZVRect rect, int styleClass, int margin, int itemId)
    : CDibWnd(parent, rect, styleClass), m_margin(margin), m_itemId(itemId) {}

int CImagePagerWnd::OnLButtonDown(int x, int y, int keys) {
    if (m_barShown) return CZVWindow::OnLButtonDown(x, y, keys);
    m_pagerPressed = HitTest(x, y) ? 1 : 0;
    return m_pagerPressed;
}

int CImagePagerWnd::OnLButtonUp(int x, int y, int keys) {
    if (m_barShown) return CZVWindow::OnLButtonUp(x, y, keys);
    const int pressed = m_pagerPressed;
    m_pagerPressed = 0;
    if (!pressed || !HitTest(x, y)) return 0;
    ShowBar();
    return 1;
}

void CImagePagerWnd::ShowBar() {
    static const char* const kCaptions[3] = {"Prev", "Del", "Next"};
    const int hb = m_height - 10 <= 30 ? m_height - 10 : 30;
    const CZVRect bar(m_margin + 1, m_height - m_margin - hb, m_width - 2 * m_margin - 1, hb);
    for (int i = 0; i < 3; ++i) {
        CZV3DButton* button = MakeThumbButton(this, bar.Column(i, 3, 1), kPrevId + i, 16);
        AddChild(button);
        button->SetFaceColor(MakeColor(0x32, 0x96, 0x32));
        button->SetTextColor(MakeColor(255, 255, 255));
        button->SetText(kCaptions[i], nullptr, 0);
        button->Show(1, 1);
        button->Redraw(1);
        m_buttons[i] = button;
    }
    m_barShown = 1;
    m_shownTick = platform::GetTickCount();
    SetTimer(1000);
}

void CImagePagerWnd::HideBar() {
    for (CZV3DButton*& button : m_buttons) {
        RemoveChild(button);
        delete button;
        button = nullptr;
    }
    Redraw(1);
    m_barShown = 0;
    KillTimer();
}

void CImagePagerWnd::OnTimer() {
    if (m_barShown && TicksSince(&m_shownTick) >= kBarShown) HideBar();
}

int CImagePagerWnd::OnCommand(int id) {
    static const uint16_t kMessages[3] = {ZVM_MEDIA_PREVIMAGE, ZVM_MEDIA_DELETEIMAGE, ZVM_MEDIA_NEXTIMAGE};
    if (id < kPrevId || id > kNextId) return 0;
    SendToGateway(kMessages[id - kPrevId], {m_itemId});
    if (m_barShown) HideBar();
    return 1;
}

// ---- CImageWnd

CImageWnd::CImageWnd(CZVWindow* parent, const CControlFields& fields, CZVString pictureName)
    : CZVWindow(parent, fields.rect, fields.styleClass), m_picture(CachedImage(pictureName, 0, 6, 0)) {}

CImageWnd::~CImageWnd() { Release(m_picture); }

void CImageWnd::OnPaint(CZVDC* dc) {
    CZVWindow::OnPaint(dc);
    if (!m_picture) return;
    if (!m_scaled) {
        CDibDC* picture = m_picture->GetDib(this, -1, -1);
        if (!picture) return;
        m_scaled.reset(picture->Scale(m_width, m_height, 1));
        if (!m_scaled) return;
    }
    dc->TransparentBlt(0, 0, m_scaled.get(), 0, 0, m_width, m_height, 0);
}

int CImageWnd::OnImageReady(CDibDC* picture) {
    if (!CZVWindow::OnImageReady(picture)) return 0;
    if (m_children.IsEmpty()) {
        CZVDC dc(this);
        OnPaint(&dc);
    } else {
        Redraw(1);
    }
    return 1;
}
