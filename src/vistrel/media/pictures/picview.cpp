#include "vistrel/media/pictures/picview.h"

#include <algorithm>
#include <cstdlib>
#include <initializer_list>

#include "core/messages/mediamessages.h"
#include "core/messages/shellmessages.h"
#include "core/msgreader.h"
#include "gfx/jpegdecode.h"
#include "gfx/picturelimits.h"
#include "gfx/skinservices.h"
#include "gfx/zvdc.h"
#include "platform/clock.h"
#include "platform/report.h"
#include "vistrel/media/video/videownd.h"
#include "vistrel/shell/mainwnd.h"
#include "vistrel/shell/pagecontrol.h"
#include "vistrel/shell/pagemakers.h"
#include "widgets/gauges/pictureloadbutton.h"
#include "widgets/style/setserver.h"
#include "widgets/window/gateway.h"

namespace {

constexpr int kNotAvailableFont = 20;
constexpr int kCentredText = 0x12;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr int kProgressMargin = 5;
constexpr int kProgressHeight = 25;

int RoundUpToEven(int value) { return value + (value & 1); }

// The picture control that made itself the socket's message tracker, so
// that a control lets go only of its own tracking.
CPicView* g_trackingView = nullptr;

// Whether the window is still in the tree under root; the window itself is
// never read, so it may be gone.
bool InTree(CZVWindow* root, const CZVWindow* window) {
    if (root == window) return true;
    for (ZVPOSITION pos = root->GetChildren().GetHeadPosition(); pos;)
        if (InTree(static_cast<CZVWindow*>(root->GetChildren().GetNext(pos)), window)) return true;
    return false;
}

// A surface of that size, or null when it is beyond the picture limits.
std::unique_ptr<CDibDC> MakeSurface(int width, int height) {
    if (!WithinPictureLimits(width, height)) return nullptr;
    auto surface = std::make_unique<CDibDC>(width, height, 0, 0, 0);
    if (!surface->GetBits()) return nullptr;
    return surface;
}

}  // namespace

CPicView::CPicView(CZVWindow* parent, CZVRect rect, CZVServer& server, CZVString text, int kind, int id, int bevelType)
    : CZVWindow(parent, rect, kStyleClass),
      CSocketSink(server),
      m_lastRequest(platform::GetTickCount()),
      m_kind(kind),
      m_id(id),
      m_name(text) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    SetBevelType(bevelType);
    server.RegisterSink(this);
    if (m_kind == kCamera) {
        SendSnapshotRequest();
        SetTimer(kSnapshotInterval);
    } else {
        RequestAtOwnSize();
    }
    if (m_kind == kPhotoFrame) {
        CZVMSG subscribe(GetId(), ZVM_PICTURES_SUBSCRIBEFRAMEQ);
        subscribe.WriteInt(m_id);
        server.Send(&subscribe);
    }
}

CPicView::~CPicView() {
    CloseCameraView(0);
    EndHold(0);
    ReleaseTracker();
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

int CPicView::Inset() const { return CSetServer::GetBevelInset(m_bevelType); }

int CPicView::GetRequestWidth() const { return RoundUpToEven(m_width - 2 * Inset()); }

int CPicView::GetRequestHeight() const { return m_height - 2 * Inset(); }

void CPicView::RequestPicture(int width, int height) {
    CZVServer* server = GetServer();
    if (!server) return;
    m_lastRequest = platform::GetTickCount();
    auto send = [&](uint16_t id, std::initializer_list<int32_t> values) {
        CZVMSG message(GetId(), id);
        for (int32_t value : values) message.WriteInt(value);
        if (id == ZVM_PICTURES_GETPICTUREQ) message.WriteString(m_name.GetAnsi());
        server->Send(&message);
    };
    const int32_t sink = GetId();
    if (m_kind == kNamedPicture)
        send(ZVM_PICTURES_GETPICTUREQ, {width, height});
    else if (m_kind == kCamera)
        send(ZVM_VIDEO_GETSNAPSHOTQ, {m_id, width, height});
    else if (IsAlbum())
        send(ZVM_PICTURES_GETALBUMPICTUREQ, {sink, m_id, width, height});
    else if (m_kind == kWeather)
        send(ZVM_WEATHER_GETIMAGEQ, {width, height});
    else if (m_kind == kPhotoFrame)
        send(ZVM_PICTURES_GETFRAMEPICTUREQ, {sink, m_id, width, height});
    else
        ReportAssert("picview", __LINE__, 1);
}

void CPicView::SendSnapshotRequest() { RequestPicture(m_width - 2 * Inset(), m_height - 2 * Inset()); }

CZVRect CPicView::GetProgressRect() {
    if (!m_picture) return CZVRect(0, 0, 10, 10);
    const int inset = Inset();
    const int pictureWidth = m_picture->GetRequestedWidth();
    const int pictureHeight = m_picture->GetHeight();
    const int y = std::min(m_height - kProgressHeight, pictureHeight - kProgressHeight);
    return CZVRect(inset + kProgressMargin, y, pictureWidth - inset - 2 * kProgressMargin,
                   pictureHeight - y - kProgressMargin);
}

std::optional<CZVRect> CPicView::GetOpaqueRect() {
    if (m_kind == kWeather || m_width - 20 < 100 || m_height - 20 < 100) return std::nullopt;
    return CZVRect(1, 1, m_width - 22, m_height - 22);
}

CZVRect CPicView::CameraViewRect(int screenWidth, int screenHeight) {
    const int c = std::min(screenWidth / 40, screenHeight / 30);
    return CZVRect(screenWidth / 2 - 40 * c / 2, screenHeight / 2 - 30 * c / 2, 40 * c, 30 * c);
}

// ---- answers

void CPicView::OnMessage(CZVMSG* message) {
    switch (message->GetId()) {
    case ZVM_PICTURES_NEXTPICTURE:
        if (IsAlbum() || m_kind == kPhotoFrame) RequestAtOwnSize();
        return;
    case ZVM_PICTURES_PICTURE:
    case ZVM_VIDEO_GETSNAPSHOTA:
    case ZVM_VIDEO_IMAGE:
    case ZVM_WEATHER_GETIMAGEA: TakePicture(message); return;
    case ZVM_PICTURES_SUBSCRIBEFRAMEA: {
        message->ResetPosition();
        std::string link;
        if (message->ReadString(link)) m_link = link;
        return;
    }
    case ZVM_PICTURES_PICTUREEND:
        if (!m_picture) ShowNotAvailable();
        return;
    default: return;
    }
}

void CPicView::TakePicture(CZVMSG* message) {
    message->ResetPosition();
    int32_t skipped = 0;
    if (message->GetId() == ZVM_PICTURES_PICTURE && !CMsgReader(*message).Int(skipped).Int(skipped)) return;
    if (message->GetId() == ZVM_WEATHER_GETIMAGEA && !CMsgReader(*message).Int(skipped)) return;
    const uint8_t* jpeg = message->GetUnread();
    const auto size = static_cast<size_t>(std::max(message->GetRemaining(), 0));
    int width = 0;
    int height = 0;
    if (!jpeg || !ReadJpegSize(jpeg, size, &width, &height) || !WithinPictureLimits(width, height)) return;
    if (m_fullScreenRequested)
        ShowFullScreen(jpeg, size, width, height);
    else
        ShowPicture(jpeg, size, width, height);
}

void CPicView::ShowPicture(const uint8_t* jpeg, size_t size, int width, int height) {
    // Decoded into a surface of its own: an answer that does not decode
    // leaves the picture shown before.
    std::unique_ptr<CDibDC> surface = MakeSurface(width, height);
    if (!surface || !DecodeJpeg(jpeg, size, surface->GetBits(), surface->GetWidth(), surface->GetHeight(), 1)) return;
    if (std::abs(width - m_width) > kScaleSlack || std::abs(height - m_height) > kScaleSlack) {
        std::unique_ptr<CDibDC> scaled(surface->ScaleNearest(GetRequestWidth(), GetRequestHeight()));
        if (!scaled) return;
        surface = std::move(scaled);
    }
    m_picture = std::move(surface);
    RedrawUnlessBlocked();
}

void CPicView::ShowFullScreen(const uint8_t* jpeg, size_t size, int width, int height) {
    ReleaseTracker();
    m_fullScreenRequested = 0;
    CMainWnd* main = GetTabletMainWnd();
    if (!main) return;
    const int screenWidth = main->GetWidth();
    const int screenHeight = main->GetHeight();
    std::unique_ptr<CDibDC> surface = MakeSurface(screenWidth, screenHeight);
    if (!surface) return;
    surface->FillRect(0, 0, 0, screenWidth, screenHeight, 0);
    int decoded = 0;
    {
        CPictureLoadButton progress(this, GetProgressRect());
        decoded = DecodeJpegWithProgress(jpeg, size, surface->GetBits(), surface->GetWidth(), surface->GetHeight(),
                                         std::max(0, screenWidth / 2 - width / 2),
                                         std::max(0, screenHeight / 2 - height / 2), 1, &progress);
    }
    if (!decoded) {
        RedrawUnlessBlocked();
        return;
    }
    EndHold(0);
    m_held = std::move(surface);
    m_holdStart = platform::GetTickCount();
    main->SetOverlayWindow(this);
    // The next key comes here and ends the hold.
    m_focusBeforeHold = main->GetFocusWindow();
    main->SetFocusWindow(this);
    main->PaintAll();
}

void CPicView::ShowNotAvailable() {
    const std::optional<CZVRect> opaque = GetOpaqueRect();
    if (!opaque) return;
    std::unique_ptr<CDibDC> surface = MakeSurface(opaque->w, opaque->h);
    if (!surface) return;
    surface->FillRect(0, 0, 0, opaque->w, opaque->h, 0);
    surface->SetFont(kNotAvailableFont, 0, 1);
    surface->SetColor(kWhite);
    surface->DrawText(kNotAvailable, CZVRect(0, 0, opaque->w, opaque->h), kCentredText);
    m_picture = std::move(surface);
    RedrawUnlessBlocked();
}

void CPicView::RedrawUnlessBlocked() {
    if (!CMainWndBase::InputBlockedFor(this) && m_shown) RedrawBuffered();
}

void CPicView::OnTraffic(uint16_t id, uint16_t, int32_t received, int32_t length) {
    if (id != ZVM_PICTURES_PICTURE || !m_shown || length <= 0) return;
    CPictureLoadButton progress(this, GetProgressRect());
    progress.SetBackColor(0);
    progress.SetCornerRadius(0);
    progress.SetText("Loading...", nullptr, 0);
    progress.SetLevel(
        static_cast<int>(static_cast<uint64_t>(static_cast<uint32_t>(received)) * 100 / static_cast<uint32_t>(length)),
        0);
    progress.RedrawBuffered();
}

void CPicView::TrackTraffic() {
    CZVServer* server = GetServer();
    CZVSocket* socket = server ? server->GetSocket() : nullptr;
    if (!socket) return;
    socket->SetTracker(this);
    g_trackingView = this;
}

void CPicView::ReleaseTracker() {
    // Another control's tracking is left alone.
    if (g_trackingView != this) return;
    g_trackingView = nullptr;
    CZVServer* server = GetServer();
    if (CZVSocket* socket = server ? server->GetSocket() : nullptr) socket->SetTracker(nullptr);
}

// ---- drawing

void CPicView::OnPaint(CZVDC* dc) {
    CZVWindow::OnPaint(dc);
    if (m_held) {
        dc->SetOrigin(0, 0);
        dc->BitBltAll(m_held.get(), 0, 0);
        return;
    }
    if (!m_picture) return;
    const int inset = Inset();
    const int pictureWidth = m_picture->GetRequestedWidth();
    const int pictureHeight = m_picture->GetHeight();
    if (m_bevelType) {
        const bool raised = !CSetServer::IsSunkenBevel(m_bevelType);
        const int right = pictureWidth + 2 * inset - 1;
        const int bottom = pictureHeight + 2 * inset - 1;
        if ((CSetServer::CurrentFlags() & kStyleSkins) && IsOnBaseSurface()) {
            CDibDC box(right + 1, bottom + 1, 0, 0, 1);
            box.FillBevelBoxStd(m_backColor, m_backColor, raised, 0, 0, right, bottom, inset);
            Skins().DrawWithSkin(dc, &box, ToRootX(0), ToRootY(0), 0, 0, right + 1, bottom + 1, 0);
        } else {
            dc->FillBevelBoxStd(m_backColor, m_backColor, raised, 0, 0, right, bottom, inset);
        }
    }
    dc->BitBlt(inset, inset, m_picture.get(), 0, 0, pictureWidth, pictureHeight);
    if (m_video) m_videoRefresh = 1;
}

// ---- time

void CPicView::OnTimer() {
    if (m_kind != kCamera || !m_shown || CMainWndBase::InputBlockedFor(this)) return;
    if (CMainWndBase* main = GetMainWnd(); main && main->GetModal()) return;
    SendSnapshotRequest();
}

int CPicView::OnIdle(int busy) {
    if (m_video && m_videoRefresh) {
        m_video->Redraw(1);
        m_videoRefresh = 0;
    }
    if (Refreshes() && platform::TicksSince(m_lastRequest) > kRefreshInterval) RequestAtOwnSize();
    if (m_held && platform::TicksSince(m_holdStart) >= kHoldLimit) EndHold(1);
    return CZVWindow::OnIdle(busy);
}

void CPicView::EndHold(int redraw) {
    if (!m_held) return;
    m_held.reset();
    CMainWnd* main = GetTabletMainWnd();
    if (!main) return;
    if (main->GetFocusWindow() == this)
        main->SetFocusWindow(m_focusBeforeHold && InTree(main, m_focusBeforeHold) ? m_focusBeforeHold : nullptr);
    m_focusBeforeHold = nullptr;
    if (main->GetOverlayWindow() == this) main->SetOverlayWindow(nullptr);
    if (redraw) main->Redraw(1);
}

// ---- input

// Any key or character ends the hold and goes no further.
void CPicView::OnKeyDown(int, int) { EndHold(1); }
void CPicView::OnKeyUp(int, int) { EndHold(1); }
void CPicView::OnChar(int, int) { EndHold(1); }

int CPicView::OnLButtonDown(int x, int y, int keys) {
    if (m_held) {
        EndHold(1);
        return 1;
    }
    if (!m_children.IsEmpty()) return CZVWindow::OnLButtonDown(x, y, keys);
    if (!HitTest(x, y)) return 0;
    m_pressed = 1;
    return 1;
}

int CPicView::OnLButtonUp(int x, int y, int keys) {
    if (!m_children.IsEmpty()) return CZVWindow::OnLButtonUp(x, y, keys);
    if (!m_video) {
        const bool counts = m_pressed && HitTest(x, y);
        m_pressed = 0;
        if (!counts) return 0;
    }
    Touched();
    return 1;
}

void CPicView::Touched() {
    if (ShowsFullScreen()) {
        if (m_fullScreenRequested || !m_picture) return;
        CMainWnd* main = GetTabletMainWnd();
        if (!main) return;
        RequestPicture(main->GetWidth(), main->GetHeight());
        TrackTraffic();
        m_fullScreenRequested = 1;
    } else if (m_kind == kPhotoFrame) {
        if (CMainWnd* main = GetTabletMainWnd(); main && !m_link.empty()) main->JumpToWebUrl(m_link, 1);
    } else if (m_kind == kCamera) {
        if (m_video)
            CloseCameraView(1);
        else
            OpenCameraView();
    }
}

void CPicView::OpenCameraView() {
    CMainWnd* main = GetTabletMainWnd();
    if (!main || !GetGatewayServer()) return;
    const int screenWidth = main->GetWidth();
    const int screenHeight = main->GetHeight();
    CZVDC screen(main);
    screen.FillRect(0, 0, 0, screenWidth, screenHeight, 0);
    const CZVRect view = CameraViewRect(screenWidth, screenHeight);
    m_video = new CVideoWnd(main, view, view.w, view.h, nullptr, 0, m_id, -1, 1);
    main->AddChildFirst(m_video);
    m_video->SetFullScreen(1);
    m_video->SetTapEnabled(0);
    main->SetModal(1);
    m_video->Start(m_id, -1);
}

void CPicView::CloseCameraView(int redraw) {
    if (!m_video) return;
    CVideoWnd* video = m_video;
    m_video = nullptr;
    CMainWnd* main = GetTabletMainWnd();
    if (main) {
        main->RemoveChild(video);
        main->SetModal(0);
    }
    delete video;
    if (main && redraw) main->Redraw(1);
}

void CPicView::OnShow(int show) {
    if (!show) CloseCameraView(1);
}

// ---- the factory

CZVWindow* MakePicView(CPageControlArgs& args) {
    CZVServer* server = GetGatewayServer();
    if (!server) return nullptr;
    return new CPicView(args.parent, args.rect, *server, args.desc.text, args.desc.type, args.desc.id, args.bevelType);
}

void RegisterPicViewControls() {
    static constexpr CControlMakerRow kControls[] = {
        {CPicView::kNamedPicture, MakePicView, kSkipCommon}, {CPicView::kCamera, MakePicView, kSkipCommon},
        {CPicView::kFirstAlbum, MakePicView, kSkipCommon},   {CPicView::kWeather, MakePicView, kSkipCommon},
        {CPicView::kPhotoFrame, MakePicView, kSkipCommon},
    };
    RegisterControlMakers(kControls);
}
