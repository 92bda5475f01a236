#pragma once
// CVideoWnd: one video source of the gateway in a window. It asks the
// gateway to stream the source, draws the JPEG tiles, JPEG pictures or
// MPEG-2 stream that arrive into a 16-bit back buffer and copies that to the
// screen, paced to the idle tick; it sends camera moves, pan, zoom and
// quality requests, turns the camera's audio on and off through the gateway
// audio player, and shows its child windows as brightness masks over the
// moving picture.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "av/framescaler.h"
#include "av/mpegdecoder.h"
#include "av/videostreambuffer.h"
#include "core/zvserver.h"
#include "core/zvtime.h"
#include "gfx/blender.h"
#include "gfx/dibdc.h"
#include "vistrel/media/video/playbackevent.h"
#include "widgets/window/zvwindow.h"

// How a creator follows the window; every notice does nothing by default.
class CVideoListener {
public:
    virtual ~CVideoListener() = default;
    virtual void OnQualityLevel(int /*level*/) {}
    virtual void OnSourceInfo(int /*a*/, int /*b*/) {}
    // Each argument is 1 while commands of that direction are outstanding.
    virtual void OnCameraMoves(int /*left*/, int /*right*/, int /*up*/, int /*down*/) {}
};

// Receives the playback events of a recorder's stream.
class CPlaybackEventSink {
public:
    virtual ~CPlaybackEventSink() = default;
    virtual void OnPlaybackEvent(const CPlaybackEvent& event) = 0;
};

class CVideoWnd : public CZVWindow, public CSocketSink {
public:
    static constexpr int kStyleClass = 101;
    static constexpr int kStartFlags = 7;
    static constexpr int kCapZoomRect = 0x400;
    static constexpr int kThrottleMs = 500;
    static constexpr int kSkipStep = 20000;
    static constexpr int kMinDragExtent = 10;
    static constexpr COLORREF kConnectingColor = 0x320000;
    static constexpr COLORREF kStatusColor = 0x640000;
    static constexpr COLORREF kStatusTextColor = 0x32FF32;
    static constexpr COLORREF kMaskNeutralColor = 0x808080;

    CVideoWnd(CZVWindow* parent, CZVRect rect, int pictureWidth, int pictureHeight, CVideoListener* listener,
              int margin, int source, int quality, int showConnecting);
    ~CVideoWnd() override;

    // ---- the stream
    int Start(int source, int quality);
    void Stop();
    int Pause();
    int Restart();
    int SetQuality(int index);
    void SetQualityLevel(int level);
    void StartAudio();
    void StopAudio();
    int CameraLeft();
    int CameraRight();
    int CameraUp();
    int CameraDown();
    // The recorder's stream of the source becomes this window's source;
    // its id, or -1 when the gateway did not answer.
    int OpenDvrStream(CPlaybackEventSink* page, int dvrSource);
    void ClearPicture();
    void ScrollBy(int delta);
    void SetFullScreen(int on) { m_fullScreen = on; }
    void SetTapEnabled(int on) { m_tapEnabled = on; }
    void SetCapabilities(int caps) { m_capabilities = caps; }
    void EnableDrawing(int on) { m_drawingEnabled = on; }
    // Decoding counts as behind for kThrottleMs from now.
    void StampThrottle();

    // ---- the picture pipeline
    void DrawTile(CZVMSG* message);
    void DrawJpegFrame(CZVMSG* message, int rotated);
    void FeedMpeg(CZVMSG* message);
    int DecodeStep(CZVDC* dc, int behind);
    void DrawFrame(CZVDC* dc, const uint16_t* pixels, int width, int height, int stride);
    void Present(CZVDC* dc, int sx, int sy, int w, int h);

    // ---- CZVWindow
    void Paint(CZVDC* dc, int withBackground) override;
    void OnPaint(CZVDC* dc) override;
    int OnMouseMove(int x, int y, int keys) override;
    int OnLButtonDown(int x, int y, int keys) override;
    int OnLButtonUp(int x, int y, int keys) override;
    int OnIdle(int busy) override;
    void OnKeyDown(int key, int flags) override;
    void OnShow(int show) override;
    void OnSuspend() override;
    void OnResume() override;
    CZVDC* GetEnclosingDC(CZVWindow* w) override;
    void ReleaseEnclosingDC(CZVWindow* w, CZVDC* dc) override;
    std::optional<CZVRect> GetOpaqueRect() override { return CZVRect(0, 0, m_width, m_height); }

    // ---- CSocketSink
    void OnMessage(CZVMSG* message) override;
    void OnConnect(int connected) override;

    int GetSource() const { return m_source; }
    int GetQualityLevel() const { return m_qualityLevel; }
    int GetCapabilities() const { return m_capabilities; }
    int IsStreamStarted() const { return m_streamStarted; }
    int IsStopPending() const { return m_stopPending; }
    int IsAudioOn() const { return m_audioOn; }
    int GetPanPosition() const { return m_panPosition; }
    int GetPanRange() const { return m_panRange; }
    uint32_t GetThrottleTick() const { return m_throttleTick; }
    CDibDC* GetBackBuffer() const { return m_back.get(); }
    const CVideoStreamBuffer& GetStreamBuffer() const { return m_stream; }
    const CMpegDecoder* GetDecoder() const { return m_decoder.get(); }
    // The drag rectangle mapped onto a w x h picture.
    CZVRect GetSelectionRect(int w, int h) const;
    void EnsureOverlayBuffers();

private:
    int SendCameraCommand(uint16_t id, int* pending);
    void NotifyCameraMoves();
    void AnswerCamera(int* pending);
    void Acknowledge(CZVMSG* message);
    void OpenAudio(CZVMSG* message, int optional);
    void ShowStatusText(CZVMSG* message);
    void DrawConnecting();
    // Whether a window point lies in the picture area.
    bool InPicture(int x, int y) const;
    bool IsSelecting() const;
    void Highlight(uint16_t* pixels, int w, int h, int stride) const;
    void ReapplyOverlays(int x, int y, int w, int h);
    bool IsBlocked();

    int m_fullScreen = 0;
    int m_drawingEnabled = 1;
    int m_panRange;
    int m_panPosition = 0;
    int m_margin;
    int m_streamStarted = 0;
    int m_source;
    int m_requestedQuality;
    int m_capabilities = 0;
    int m_sourceInfo[2] = {0, 0};
    std::unique_ptr<CDibDC> m_back;
    std::unique_ptr<CDibDC> m_clean;
    std::unique_ptr<CBlender> m_blender;
    int m_paintingChildren = 0;
    int m_stopPending = 0;
    int m_audioOn = 0;
    int m_qualityLevel = -1;
    int m_pictureWidth;
    int m_pictureHeight;
    int m_tapEnabled = 1;
    int m_pendingMoves[4] = {0, 0, 0, 0};  // left, right, up, down
    CVideoListener* m_listener;
    uint32_t m_throttleTick;
    int m_dragActive = 0;
    int m_dragX = 0;
    int m_dragY = 0;
    int m_dragHalfWidth = 0;
    int m_dragHalfHeight = 0;
    int m_pressed = 0;
    CPlaybackEventSink* m_dvrPage = nullptr;

    CVideoStreamBuffer m_stream;
    std::unique_ptr<CMpegDecoder> m_decoder;
    int m_turned = 0;
    std::vector<uint16_t> m_turnBuffer;
    CFrameScaler m_scaler;
    std::vector<uint16_t> m_lastPicture;
    int m_lastWidth = 0;
    int m_lastHeight = 0;
    uint64_t m_idleInterval;
    uint64_t m_drawInterval;
    uint64_t m_lastIdle = 0;
    uint64_t m_lastDraw = 0;
    int m_skipCounter = 0;
    int m_dropB = 0;
    int m_cachedSourceWidth = 0;
};
