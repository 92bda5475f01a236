#include "vistrel/media/video/videownd.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "av/audioplayer.h"
#include "core/messages/mediamessages.h"
#include "core/zvquery.h"
#include "platform/clock.h"
#include "platform/keys.h"
#include "vistrel/media/video/pvideo.h"
#include "widgets/window/gateway.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr int kPicturesPerSecondShown = 33;
constexpr int kIdleTicksPerSecond = 60;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kBlack = 0x000000;
constexpr int kConnectingFontSize = 14;
constexpr int kStatusFontSize = 22;
constexpr int kCentredFormat = 18;
constexpr int kLeftCentredFormat = 17;
// The camera's sound when the gateway names no format.
constexpr platform::WaveFormat kDefaultCameraFormat = {platform::WaveFormat::kPcm, 1, 8000, 16000, 2, 16, 0};
const char* const kConnectingText = "Connecting to Video Source...";

int EvenWidth(int width) { return width + (width & 1); }

}  // namespace

CVideoWnd::CVideoWnd(CZVWindow* parent, CZVRect rect, int pictureWidth, int pictureHeight, CVideoListener* listener,
                     int margin, int source, int quality, int showConnecting)
    : CZVWindow(parent, rect, kStyleClass),
      CSocketSink(*GetGatewayServer()),
      m_panRange(pictureWidth + 2 * margin - rect.w),
      m_margin(margin),
      m_source(source),
      m_requestedQuality(quality),
      m_pictureWidth(EvenWidth(pictureWidth)),
      m_pictureHeight(pictureHeight),
      m_listener(listener),
      m_throttleTick(platform::GetTickCount()),
      m_idleInterval(platform::kCounterFrequency / kIdleTicksPerSecond),
      m_drawInterval(platform::kCounterFrequency / kPicturesPerSecondShown) {
    m_stream.Reset();
    m_back = std::make_unique<CDibDC>(std::max(1, m_pictureWidth), std::max(1, pictureHeight), 0, 0, 0);
    m_back->FillRect(kConnectingColor, 0, 0, m_back->GetWidth(), m_back->GetHeight(), 0);
    if (showConnecting) DrawConnecting();
    if (GetServer()) GetServer()->RegisterSink(this);
    RegisterVideoWindow(this);
}

CVideoWnd::~CVideoWnd() {
    Stop();
    if (GetServer()) GetServer()->UnregisterSink(this);
    StopAudio();
    UnregisterVideoWindow(this);
}

// ---- the stream

int CVideoWnd::Start(int source, int quality) {
    m_stream.Reset();
    m_source = source;
    if (quality >= 0) SetQuality(quality);
    SendToGateway(ZVM_VIDEO_SELECTSOURCEQ, {source}, GetId());
    m_streamStarted = 0;
    m_stopPending = 0;
    if (!SendToGateway(ZVM_VIDEO_STARTSTREAMQ, {source, GetId(), m_back->GetWidth(), m_back->GetHeight(), kStartFlags},
                       GetId()))
        return 0;
    return SendToGateway(ZVM_VIDEO_GETCAPSQ, {source}, GetId()) ? 1 : 0;
}

void CVideoWnd::Stop() {
    StopAudio();
    if (m_source == -1) return;
    m_stopPending = 1;
    SendToGateway(ZVM_VIDEO_STOPSTREAMQ, {m_source, GetId()}, GetId());
}

int CVideoWnd::Pause() {
    Stop();
    return 1;
}

int CVideoWnd::Restart() {
    Start(m_source, m_qualityLevel);
    return 1;
}

int CVideoWnd::SetQuality(int index) {
    if (m_source == -1) return 0;
    SendToGateway(ZVM_VIDEO_SETQUALITY, {m_source, index}, GetId());
    return 1;
}

void CVideoWnd::SetQualityLevel(int level) {
    if (level == m_qualityLevel) return;
    m_qualityLevel = level;
    if (m_listener) m_listener->OnQualityLevel(level);
    NotifyVideoQuality(m_source, level);
}

void CVideoWnd::StartAudio() {
    if (m_audioOn) return;
    SendToGateway(ZVM_VIDEO_STARTAUDIOQ, {m_source, g_audioplayer ? g_audioplayer->GetId() : 0}, GetId());
    m_audioOn = 1;
}

void CVideoWnd::StopAudio() {
    if (!m_audioOn) return;
    if (g_audioplayer) g_audioplayer->CWavDevice::StopPlay();
    SendToGateway(ZVM_VIDEO_STOPAUDIO, {m_source, g_audioplayer ? g_audioplayer->GetId() : 0}, GetId());
    m_audioOn = 0;
}

int CVideoWnd::SendCameraCommand(uint16_t id, int* pending) {
    const int sent = SendToGateway(id, {m_source}, GetId());
    if (sent) {
        ++*pending;
        NotifyCameraMoves();
    }
    return sent;
}

int CVideoWnd::CameraLeft() { return SendCameraCommand(ZVM_VIDEO_CAMERALEFTQ, &m_pendingMoves[0]); }
int CVideoWnd::CameraRight() { return SendCameraCommand(ZVM_VIDEO_CAMERARIGHTQ, &m_pendingMoves[1]); }
int CVideoWnd::CameraUp() { return SendCameraCommand(ZVM_VIDEO_CAMERAUPQ, &m_pendingMoves[2]); }
int CVideoWnd::CameraDown() { return SendCameraCommand(ZVM_VIDEO_CAMERADOWNQ, &m_pendingMoves[3]); }

void CVideoWnd::NotifyCameraMoves() {
    if (m_listener)
        m_listener->OnCameraMoves(m_pendingMoves[0] > 0, m_pendingMoves[1] > 0, m_pendingMoves[2] > 0,
                                  m_pendingMoves[3] > 0);
}

void CVideoWnd::AnswerCamera(int* pending) {
    --*pending;
    NotifyCameraMoves();
}

int CVideoWnd::OpenDvrStream(CPlaybackEventSink* page, int dvrSource) {
    m_dvrPage = page;
    if (!GetServer()) return -1;
    CZVQuery query(*GetServer());
    CZVMSG* answer = nullptr;
    int32_t stream = 0;
    if (!query.QueryAnswer2(&answer, ZVM_DVR_OPENSTREAMQ, GetId(), dvrSource) || !answer->ReadInt(stream)) return -1;
    m_source = stream;
    return stream;
}

void CVideoWnd::ClearPicture() { m_back->FillRect(kBlack, 0, 0, m_back->GetWidth(), m_back->GetHeight(), 0); }

void CVideoWnd::StampThrottle() { m_throttleTick = platform::GetTickCount(); }

void CVideoWnd::DrawConnecting() {
    m_back->FillRect(kConnectingColor, 0, 0, m_back->GetWidth(), m_back->GetHeight(), 0);
    m_back->SetFont(kConnectingFontSize, 0, 0);
    m_back->SetColor(kWhite);
    m_back->DrawText(kConnectingText, CZVRect(0, 0, m_width, m_height), kCentredFormat);
}

// ---- messages

bool CVideoWnd::IsBlocked() { return !m_fullScreen && CMainWndBase::InputBlockedFor(this); }

void CVideoWnd::Acknowledge(CZVMSG* message) {
    SendToGateway(ZVM_VIDEO_FRAMEACK, {message->GetLength() + CZVMSG::kHeaderSize}, GetId());
}

void CVideoWnd::OnMessage(CZVMSG* message) {
    // While another window holds the input, the stream's bookkeeping goes
    // on (answers, acknowledgements); only the pictures wait.
    const bool draw = m_drawingEnabled && !IsBlocked();
    int32_t a = 0;
    int32_t b = 0;
    switch (message->GetId()) {
    case ZVM_VIDEO_STARTSTREAMA:
        message->ReadInt(a);
        m_capabilities = a;
        m_streamStarted = 1;
        break;
    case ZVM_VIDEO_SELECTSOURCEA:
        message->ReadInt(a) && message->ReadInt(b);
        m_sourceInfo[0] = a;
        m_sourceInfo[1] = b;
        if (m_listener) m_listener->OnSourceInfo(a, b);
        break;
    case ZVM_VIDEO_TILE:
        if (m_stopPending) break;
        Acknowledge(message);
        if (draw) DrawTile(message);
        break;
    case ZVM_VIDEO_MPEGDATA:
    case ZVM_VIDEO_MPEGDATAEX:
        if (draw) FeedMpeg(message);
        m_turned = message->GetId() == ZVM_VIDEO_MPEGDATAEX;
        break;
    case ZVM_VIDEO_FRAME:
    case ZVM_VIDEO_FRAMEFLIPPED:
        Acknowledge(message);
        if (draw) DrawJpegFrame(message, message->GetId() == ZVM_VIDEO_FRAMEFLIPPED);
        break;
    case ZVM_VIDEO_STATUS: break;
    case ZVM_VIDEO_CAMERALEFTA: AnswerCamera(&m_pendingMoves[0]); break;
    case ZVM_VIDEO_CAMERARIGHTA: AnswerCamera(&m_pendingMoves[1]); break;
    case ZVM_VIDEO_CAMERAUPA: AnswerCamera(&m_pendingMoves[2]); break;
    case ZVM_VIDEO_CAMERADOWNA: AnswerCamera(&m_pendingMoves[3]); break;
    case ZVM_VIDEO_STOPSTREAMA: m_stopPending = 0; break;
    case ZVM_VIDEO_AUDIOFORMAT: OpenAudio(message, 0); break;
    case ZVM_VIDEO_STARTAUDIOA: OpenAudio(message, 1); break;
    case ZVM_VIDEO_STATUSTEXT:
        if (draw) ShowStatusText(message);
        break;
    case ZVM_VIDEO_GETCAPSA: {
        int32_t caps[4] = {0, 0, 0, 0};
        for (int32_t& value : caps)
            if (!message->ReadInt(value)) break;
        NotifyVideoCaps(m_source, caps[0], caps[1], caps[2], caps[3]);
        break;
    }
    case ZVM_VIDEO_EVENT: {
        CPlaybackEvent event;
        if (m_dvrPage && ReadPlaybackEvent(*message, &event)) m_dvrPage->OnPlaybackEvent(event);
        break;
    }
    default: break;
    }
}

void CVideoWnd::OpenAudio(CZVMSG* message, int optional) {
    if (!g_audioplayer) return;
    uint8_t bytes[platform::WaveFormat::kWireSize];
    platform::WaveFormat format;
    if (message->ReadBytes(bytes, sizeof bytes)) {
        format = platform::WaveFormat::FromBytes(bytes);
    } else {
        if (!optional) return;
        format = kDefaultCameraFormat;
    }
    g_audioplayer->CWavDevice::Play(&format, g_audioplayer->GetVolume());
}

void CVideoWnd::ShowStatusText(CZVMSG* message) {
    std::string text;
    message->ReadString(text);
    const int w = m_back->GetWidth();
    m_back->FillRect(kStatusColor, 0, 0, w, m_back->GetHeight(), 0);
    m_back->SetFont(kStatusFontSize, 0, 0);
    m_back->SetColor(kStatusTextColor);
    m_back->DrawText(CZVString(text.c_str()), CZVRect(5, 5, w - 10, 21), kLeftCentredFormat);
    CZVDC dc(this);
    Present(&dc, 0, 0, w, m_back->GetHeight());
}

void CVideoWnd::OnConnect(int connected) {
    if (!connected || CMainWndBase::InputBlockedFor(nullptr)) return;
    if (m_listener) m_listener->OnSourceInfo(0, 0);
    Start(m_source, m_requestedQuality);
    if (m_audioOn) {
        m_audioOn = 0;
        StartAudio();
    }
}

// ---- input

bool CVideoWnd::InPicture(int x, int y) const {
    return x >= m_margin && x <= m_width - m_margin && y >= m_margin && y <= m_height - m_margin;
}

int CVideoWnd::OnLButtonDown(int x, int y, int keys) {
    if (m_fullScreen) return 1;
    const int wx = x - ToRootX(0);
    const int wy = y - ToRootY(0);
    if (!m_tapEnabled || !InPicture(wx, wy)) return CZVWindow::OnLButtonDown(x, y, keys);
    if (CZVWindow::OnLButtonDown(x, y, keys)) return 1;
    m_pressed = 1;
    if (!(m_capabilities & kCapZoomRect)) return 0;
    m_dragX = wx - m_margin;
    m_dragY = wy - m_margin;
    m_dragActive = 1;
    m_dragHalfWidth = m_dragHalfHeight = 0;
    return 1;
}

int CVideoWnd::OnMouseMove(int x, int y, int keys) {
    if (!m_dragActive) return 0;
    const int wx = x - ToRootX(0);
    const int wy = y - ToRootY(0);
    if (!InPicture(wx, wy)) return CZVWindow::OnMouseMove(x, y, keys);
    int dx = wx - m_dragX;
    int dy = wy - m_dragY;
    const int q = dx * 3 / 4;
    if (std::abs(dy) > std::abs(q))
        dx = dy * 4 / 3;
    else
        dy = q;
    m_dragHalfWidth = std::abs(dx);
    m_dragHalfHeight = std::abs(dy);
    CZVDC dc(this);
    if (!m_lastPicture.empty())
        DrawFrame(&dc, m_lastPicture.data(), m_lastWidth, m_lastHeight, m_lastWidth);
    else
        Present(&dc, 0, 0, m_back->GetWidth(), m_back->GetHeight());
    return 1;
}

int CVideoWnd::OnLButtonUp(int x, int y, int keys) {
    const bool wasDragging = m_dragActive && m_dragHalfWidth > kMinDragExtent && m_dragHalfHeight > kMinDragExtent;
    m_dragActive = 0;
    const int wx = x - ToRootX(0);
    const int wy = y - ToRootY(0);
    if (!InPicture(wx, wy)) return CZVWindow::OnLButtonUp(x, y, keys);
    if (CZVWindow::OnLButtonUp(x, y, keys)) return 1;
    if (!m_pressed) return 0;
    m_pressed = 0;
    // Offsets from the centre of the picture area.
    const int areaWidth = m_width - 2 * m_margin;
    const int areaHeight = m_height - 2 * m_margin;
    int tx = wx - m_margin - areaWidth / 2;
    int ty = wy - m_margin - areaHeight / 2;
    int u = 0;
    int v = 0;
    if (wasDragging) {
        tx = m_dragX - areaWidth / 2;
        ty = m_dragY - areaHeight / 2;
        u = m_dragHalfWidth * 200 / m_width;
        v = m_dragHalfHeight * 200 / m_height;
    }
    const int lastPan = m_panRange - 1;
    if (tx > 0 && m_panPosition < lastPan) {
        const int s = std::min(tx, lastPan - m_panPosition);
        ScrollBy(s);
        tx -= s;
    } else if (tx < 0 && m_panPosition > 0) {
        const int s = std::max(tx, -m_panPosition);
        ScrollBy(s);
        tx -= s;
    }
    if (m_source == -1 || areaWidth <= 0 || areaHeight <= 0) return 0;
    SendToGateway(ZVM_VIDEO_ZOOM, {m_source, tx * 100 / areaWidth, ty * 100 / areaHeight, u, v}, GetId());
    return 1;
}

void CVideoWnd::ScrollBy(int delta) {
    m_panPosition = std::clamp(m_panPosition + delta, 0, std::max(0, m_panRange - 1));
    if (!m_shown) return;
    CZVDC dc(this);
    dc.BitBlt(m_margin, m_margin, m_back.get(), m_panPosition, 0, m_width - 2 * m_margin, m_back->GetHeight());
}

void CVideoWnd::OnKeyDown(int key, int flags) {
    (void)flags;
    int moved = 0;
    switch (key) {
    case platform::VK_LEFT:
        moved = 1;
        CameraLeft();
        break;
    case platform::VK_UP:
        moved = 1;
        CameraUp();
        break;
    case platform::VK_RIGHT:
        moved = 1;
        CameraRight();
        break;
    case platform::VK_DOWN:
        moved = 1;
        CameraDown();
        break;
    case 'A': SendToGateway(ZVM_VIDEO_KEYA, {}, GetId()); break;
    case 'B': SendToGateway(ZVM_VIDEO_KEYB, {}, GetId()); break;
    case 'T': SendToGateway(ZVM_VIDEO_KEYT, {m_source}, GetId()); break;
    case 'U': SendToGateway(ZVM_VIDEO_KEYU, {m_source}, GetId()); break;
    default: break;
    }
    if (moved) SendToGateway(ZVM_VIDEO_CAMERAARROWDONE, {m_source}, GetId());
}

// ---- lifecycle

void CVideoWnd::OnShow(int show) {
    if (!show) {
        Stop();
        return;
    }
    DrawConnecting();
    Start(m_source, m_requestedQuality);
}

void CVideoWnd::OnSuspend() {
    Stop();
    CZVWindow::OnSuspend();
}

void CVideoWnd::OnResume() {
    Start(m_source, m_requestedQuality);
    CZVWindow::OnResume();
}

// ---- overlays

void CVideoWnd::EnsureOverlayBuffers() {
    if (!m_clean) m_clean = std::make_unique<CDibDC>(m_back->GetWidth(), m_back->GetHeight(), 0, 0, 0);
    if (!m_blender) m_blender = std::make_unique<CBlender>(m_back->GetWidth(), m_back->GetHeight());
}

void CVideoWnd::Paint(CZVDC* dc, int withBackground) {
    if (m_children.IsEmpty()) {
        CZVWindow::Paint(dc, withBackground);
        return;
    }
    BroadcastFaceColor(kMaskNeutralColor);
    m_texture = 0;
    const int w = m_back->GetWidth();
    const int h = m_back->GetHeight();
    CDibDC mask(w, h, ToRootX(0), ToRootY(0), 0);
    mask.FillRect(kBlack, 0, 0, w, h, 0);
    m_paintingChildren = 1;
    CZVWindow::Paint(&mask, 0);
    EnsureOverlayBuffers();
    std::memcpy(m_clean->GetBits(), m_back->GetBits(), sizeof(uint16_t) * static_cast<size_t>(w) * h);
    m_blender->SetMask(&mask, 0, 0, 0, 0, w, h);
    m_blender->Apply(m_back.get(), 0, 0, w, h);
    if (dc) {
        dc->SetOrigin(ToRootX(0), ToRootY(0));
        dc->DrawBevel(CZVRect(0, 0, m_width, m_height), m_margin, m_backColor, false);
        dc->BitBlt(m_margin, m_margin, m_back.get(), 0, 0, w, h);
    }
    m_paintingChildren = 0;
}

void CVideoWnd::OnPaint(CZVDC* dc) {
    if (m_paintingChildren) return;
    dc->DrawBevel(CZVRect(0, 0, m_width, m_height), m_margin, m_backColor, false);
    Present(dc, 0, 0, m_back->GetWidth(), m_back->GetHeight());
}

CZVDC* CVideoWnd::GetEnclosingDC(CZVWindow* w) {
    if (w == this) return nullptr;
    EnsureOverlayBuffers();
    auto* dib = new CDibDC(w->GetWidth(), w->GetHeight(), w->ToRootX(0), w->ToRootY(0), 0);
    dib->FillRect(kBlack, 0, 0, w->GetWidth(), w->GetHeight(), 0);
    return dib;
}

void CVideoWnd::ReleaseEnclosingDC(CZVWindow* w, CZVDC* dc) {
    std::unique_ptr<CDibDC> dib(static_cast<CDibDC*>(dc));
    if (!dib) return;
    const int x = w->ToRootX(0) - ToRootX(0);
    const int y = w->ToRootY(0) - ToRootY(0);
    EnsureOverlayBuffers();
    CZVRect area;
    CZVRect(0, 0, m_back->GetWidth(), m_back->GetHeight())
        .Intersect(&area, CZVRect(x, y, w->GetWidth(), w->GetHeight()));
    if (area.w <= 0 || area.h <= 0) return;
    m_back->BitBlt(area.x, area.y, m_clean.get(), area.x, area.y, area.w, area.h);
    m_blender->SetMask(dib.get(), area.x, area.y, area.x - x, area.y - y, area.w, area.h);
    m_blender->Apply(m_back.get(), area.x, area.y, area.w, area.h);
    CZVDC screen(this);
    screen.BitBlt(m_margin + area.x, m_margin + area.y, m_back.get(), area.x, area.y, area.w, area.h);
}

void CVideoWnd::ReapplyOverlays(int x, int y, int w, int h) {
    CZVRect area;
    CZVRect(0, 0, m_back->GetWidth(), m_back->GetHeight()).Intersect(&area, CZVRect(x, y, w, h));
    if (area.w <= 0 || area.h <= 0) return;
    EnsureOverlayBuffers();
    m_clean->BitBlt(area.x, area.y, m_back.get(), area.x, area.y, area.w, area.h);
    m_blender->Apply(m_back.get(), area.x, area.y, area.w, area.h);
}
