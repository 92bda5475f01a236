#include "vistrel/shell/slideshow.h"

#include <algorithm>
#include <cstdio>

#include "core/messages/shellmessages.h"
#include "core/zvtime.h"
#include "gfx/jpegdecode.h"
#include "gfx/shellservices.h"
#include "platform/clock.h"
#include "platform/keys.h"
#include "vistrel/shell/mainwnd.h"
#include "vistrel/shell/tabletsettings.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/gauges/pictureloadbutton.h"
#include "widgets/pictures/dibwnd.h"

namespace {

constexpr int kCaptionFont = 18;
constexpr int kMessagesIconRoom = 55;
constexpr COLORREF kDateFace = 0x202020;
constexpr COLORREF kWhite = 0xFFFFFF;

// "Monday, March 2, 2026  3:07 PM" of the gateway's clock.
std::string DateCaption() {
    CZVTime now;
    now.SetNow(1);
    char text[96];
    std::snprintf(text, sizeof text, "%s, %s %d, %d  %d:%02d %s", now.GetDayName().c_str(), now.GetMonthName().c_str(),
                  now.GetDay(), now.GetYear(), now.GetHour12(), now.GetMinute(), now.GetHour() < 12 ? "AM" : "PM");
    return text;
}

// Twice the face's channels, each at most 255: a light caption on a dark face.
COLORREF Doubled(COLORREF face) {
    COLORREF result = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const unsigned channel = std::min(255u, ((face >> shift) & 0xFF) * 2);
        result |= channel << shift;
    }
    return result;
}

}  // namespace

bool ReadSlideSize(CZVMSG* message, int maxWidth, int maxHeight, int* width, int* height) {
    message->ResetPosition();
    int32_t w = 0, h = 0;
    if (!message->ReadInt(w) || !message->ReadInt(h) || w <= 0 || h <= 0 || w > maxWidth || h > maxHeight) return false;
    *width = w;
    *height = h;
    return true;
}

CSlideShow::CSlideShow(CMainWnd& owner, const CTabletSettings& settings)
    : m_owner(owner),
      m_settings(settings),
      m_requestTick(platform::GetTickCount()),
      m_lastSlide(m_requestTick),
      m_lastTouch(m_requestTick) {}

CSlideShow::~CSlideShow() = default;

void CSlideShow::Start() {
    const uint32_t now = platform::GetTickCount();
    m_waiting = false;
    m_requestTick = now;
    m_lastTouch = now - kStartDelay;
    m_paused = false;
    m_leave = false;
}

bool CSlideShow::Request(int direction) {
    CZVServer* server = m_owner.GetServer();
    if (!server || !server->IsConnected()) return false;
    CZVMSG slide(m_owner.GetId(), ZVM_PICTURES_GETSLIDEQ);
    slide.WriteInt(m_owner.GetId());
    slide.WriteInt(m_owner.GetWidth());
    slide.WriteInt(m_owner.GetHeight());
    slide.WriteInt(direction);
    CZVMSG count(m_owner.GetId(), ZVM_MESSAGES_GETNEWCOUNTQ);
    if (!server->Send(&slide) || !server->Send(&count)) return false;
    m_waiting = true;
    m_requestTick = platform::GetTickCount();
    return true;
}

bool CSlideShow::Step() {
    const uint32_t now = platform::GetTickCount();
    if (m_waiting && platform::TicksSince(m_requestTick) > kArrivalLimit) return false;
    if (now - m_lastTouch <= kStartDelay || now - m_lastSlide <= m_settings.GetSlideInterval() || m_paused || m_waiting)
        return true;
    if (!Request(+1)) {
        m_owner.GetScreen()->FillRect(0, 0, 0, m_owner.GetWidth(), m_owner.GetHeight(), 0);
        Present();
    }
    m_lastSlide = now;
    return true;
}

void CSlideShow::OnPictureArrived() {
    m_waiting = false;
    m_lastSlide = platform::GetTickCount();
}

void CSlideShow::Show(CZVMSG* message) {
    m_waiting = false;
    DeleteButtons();
    int width = 0, height = 0;
    const int W = m_owner.GetWidth(), H = m_owner.GetHeight();
    if (!ReadSlideSize(message, W, H, &width, &height)) return;
    const size_t size = static_cast<size_t>(message->GetRemaining());
    const uint8_t* jpeg = message->GetData() + (message->GetLength() - message->GetRemaining());

    CDibDC surface(W, H, 0, 0, 0);
    CDibDC* screen = m_owner.GetScreen();
    if (!surface.GetBits()) {
        screen->FillRect(0, 0, 0, W, H, 0);
        screen->SetFont(30, 0, 1);
        screen->SetColor(kWhite);
        screen->DrawText(CZVString("ERROR: Out of memory"), CZVRect(0, 0, W, H), kTextCentre | kTextVCentre);
        Present();
        return;
    }
    surface.FillRect(0, 0, 0, W, H, 0);
    std::unique_ptr<CPictureLoadButton> progress;
    if (!m_shown) progress = std::make_unique<CPictureLoadButton>(&m_owner, CZVRect(0, H - kBarHeight, W, kBarHeight));
    CProgressSink plain;
    // A touch during the decoding cancels it and ends the idle screen.
    struct TouchCancels : CProgressSink {
        CProgressSink* shown;
        bool touched = false;
        int OnProgress(int done, int total) override {
            if (Shell().TakePendingPress()) {
                touched = true;
                return 0;
            }
            return shown->OnProgress(done, total);
        }
    } sink;
    sink.shown = progress ? static_cast<CProgressSink*>(progress.get()) : &plain;
    const int decoded = DecodeJpegWithProgress(jpeg, size, surface.GetBits(), surface.GetWidth(), H, W / 2 - width / 2,
                                               H / 2 - height / 2, 0, &sink);
    progress.reset();
    if (sink.touched) {
        m_leave = true;
        return;
    }
    if (!decoded) return;

    const CZVString caption(DateCaption().c_str());
    surface.SetFont(kCaptionFont, 0, 1);
    int dateWidth = surface.GetTextSize(caption).cx + 20;
    if (m_owner.GetNewMessageCount() > 0) dateWidth += kMessagesIconRoom;
    MakeButtons(surface, dateWidth);
    m_date->SetText(caption, nullptr, 0);

    for (CZV3DButton* button : {m_date.get(), m_previous.get(), m_next.get(), m_pause.get()})
        if (button) {
            surface.SetOrigin(button->GetX(), button->GetY());
            button->DrawFace(&surface, button == m_pause.get() && m_paused);
            button->DrawIcon(&surface, button->GetFaceColor());
            button->DrawCaption(&surface, button == m_pause.get() && m_paused);
        }
    surface.SetOrigin(0, 0);
    if (m_shown && m_settings.HasSlideTransition()) {
        CZVDC dc(&m_owner);
        if (!dc.PlayZoomTransition(&surface, 0, 0)) {
            DeleteButtons();
            m_leave = true;
            return;
        }
    }
    screen->BitBltAll(&surface, 0, 0);
    Present();
    m_shown = true;
}

void CSlideShow::MakeButtons(CDibDC& /*surface*/, int dateWidth) {
    const int W = m_owner.GetWidth(), H = m_owner.GetHeight();
    const int y = H - 33;
    m_date.reset(MakeButton(CZVRect(5, y, dateWidth, kButtonHeight), kSlideNext, kDateFace, ""));
    m_date->SetTextColor(kWhite);
    if (m_owner.GetNewMessageCount() > 0) m_date->SetIconName(CZVString("I_MESSAGESNEW"), 0);
    if (!m_settings.HasSlideButtons()) return;
    const int step = (W - dateWidth - 9) / 3;
    int x = dateWidth + 9;
    m_previous.reset(MakeButton(CZVRect(x, y, step - 5, kButtonHeight), kSlidePrevious, 0xFF0000, "Prev"));
    x += step;
    m_next.reset(MakeButton(CZVRect(x, y, step - 5, kButtonHeight), kSlideNext, 0x00FF00, "Next"));
    x += step;
    m_pause.reset(MakeButton(CZVRect(x, y, step - 5, kButtonHeight), kSlidePause, 0x00C8C8, "Pause"));
}

CZV3DButton* CSlideShow::MakeButton(CZVRect rect, int id, COLORREF face, const char* text) {
    CZV3DButton* button = MakeThumbButton(&m_owner, rect, id, 16);
    button->SetFaceColor(face);
    button->SetTextColor(Doubled(face));
    button->SetFontSize(kCaptionFont);
    button->SetTouchMargins(10, 30, 10, 20);
    button->SetText(CZVString(text), nullptr, 0);
    return button;
}

void CSlideShow::DeleteButtons() {
    m_date.reset();
    m_previous.reset();
    m_next.reset();
    m_pause.reset();
}

void CSlideShow::DrawButton(CZV3DButton* button, int pressed) {
    if (!button) return;
    CDibDC* screen = m_owner.GetScreen();
    screen->SetOrigin(button->GetX(), button->GetY());
    button->DrawFace(screen, pressed);
    button->DrawCaption(screen, pressed);
    screen->SetOrigin(0, 0);
    Present();
}

void CSlideShow::DrawWorking(const char* text) {
    const int W = m_owner.GetWidth(), H = m_owner.GetHeight();
    CPictureLoadButton bar(&m_owner, CZVRect(0, H - kBarHeight, W, kBarHeight));
    bar.SetText(CZVString(text), nullptr, 0);
    CDibDC* screen = m_owner.GetScreen();
    screen->SetOrigin(bar.GetX(), bar.GetY());
    bar.OnPaint(screen);
    screen->SetOrigin(0, 0);
    Present();
}

void CSlideShow::Present() { m_owner.Present(); }

void CSlideShow::DoCommand(int id) {
    if (id == kSlidePause) {
        m_paused = !m_paused;
        DrawButton(m_pause.get(), m_paused);
        return;
    }
    if (m_waiting) return;
    Request(id == kSlidePrevious ? -1 : +1);
    DeleteButtons();
    m_shown = false;
    DrawWorking("Working...");
}

bool CSlideShow::OnLButtonDown(int x, int y) {
    for (CZV3DButton* button : {m_date.get(), m_previous.get(), m_next.get(), m_pause.get()})
        if (button && button->HitTest(x, y)) {
            m_lastTouch = platform::GetTickCount();
            DrawButton(button, 1);
            return true;
        }
    return false;
}

bool CSlideShow::OnLButtonUp(int x, int y) {
    if (m_waiting) return true;
    for (CZV3DButton* button : {m_date.get(), m_previous.get(), m_next.get(), m_pause.get()})
        if (button && button->HitTest(x, y)) {
            m_lastTouch = platform::GetTickCount();
            const int id = button->GetCommandId();
            if (button != m_pause.get()) DrawButton(button, 0);
            DoCommand(id);
            return true;
        }
    return false;
}

void CSlideShow::OnKeyDown(int key) {
    if (key == platform::VK_LEFT) DrawButton(m_previous.get(), 1);
    if (key == platform::VK_RIGHT) DrawButton(m_next.get(), 1);
}

bool CSlideShow::OnKeyUp(int key) {
    if (key == platform::VK_RETURN) {
        DoCommand(kSlidePause);
        if (!m_pause) {
            CDibDC* screen = m_owner.GetScreen();
            screen->SetFont(12, 0, 1);
            screen->SetColor(0xC8FFC8);
            if (m_paused)
                screen->DrawText(CZVString("Paused"), CZVRect(0, 0, 50, 15), kTextLeft | kTextVCentre);
            else
                screen->DrawText(CZVString("Resuming..."), CZVRect(0, 15, 50, 15), kTextLeft | kTextVCentre);
            Present();
        }
        return true;
    }
    if (key != platform::VK_LEFT && key != platform::VK_RIGHT) return false;
    if (m_previous && m_next) {
        DrawButton(m_previous.get(), 0);
        DrawButton(m_next.get(), 0);
    }
    DoCommand(key == platform::VK_LEFT ? kSlidePrevious : kSlideNext);
    return true;
}

void CSlideShow::Stop() {
    DeleteButtons();
    if (!m_waiting) return;
    const int W = m_owner.GetWidth(), H = m_owner.GetHeight();
    CDibDC* screen = m_owner.GetScreen();
    screen->FillRect(0, 0, 0, W, H, 0);
    screen->SetFont(24, 0, 1);
    screen->SetColor(kWhite);
    screen->DrawText(CZVString("Please Wait..."), CZVRect(0, 0, W, H), kTextCentre | kTextVCentre);
    Present();
    CZVServer* server = m_owner.GetServer();
    while (m_waiting && server && server->IsConnected() && platform::TicksSince(m_requestTick) < kExitWait)
        if (server->PollAll() != CZVServer::kPollWork) platform::Sleep(10);
    m_waiting = false;
}

bool CSlideShow::TakeLeaveRequest() {
    const bool leave = m_leave;
    m_leave = false;
    return leave;
}
