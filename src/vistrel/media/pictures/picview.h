#pragma once
// CPicView: the control that gateway pages place to show one picture the
// gateway supplies: a named picture (type 110), a camera snapshot refreshed
// every 5 s (115), an album's current picture (116..164), the weather image
// (165) or a photo frame's current picture (176). It asks at its own size,
// draws the decoded JPEG inside its bevel and follows the gateway's pushes.
// A touch fetches a named or album picture again at screen size and holds it
// on the screen until the next key or touch (or 10 minutes), opens a camera's
// live view full screen, or follows a photo frame's web link.
#include <memory>
#include <optional>
#include <string>

#include "core/zvserver.h"
#include "core/zvsocket.h"
#include "gfx/dibdc.h"
#include "widgets/window/zvwindow.h"

class CVideoWnd;
struct CPageControlArgs;

class CPicView : public CZVWindow, public CSocketSink, public CMessageTracker {
public:
    static constexpr int kStyleClass = 5;
    static constexpr int kNamedPicture = 110;
    static constexpr int kCamera = 115;
    static constexpr int kFirstAlbum = 116;
    static constexpr int kLastAlbum = 164;
    static constexpr int kWeather = 165;
    static constexpr int kPhotoFrame = 176;
    static constexpr uint32_t kSnapshotInterval = 5000;   // ms
    static constexpr uint32_t kRefreshInterval = 300000;  // ms
    static constexpr uint32_t kHoldLimit = 600000;        // ms
    // Answers within this many pixels of the control's size are shown unscaled.
    static constexpr int kScaleSlack = 20;
    static constexpr const char* kNotAvailable = "Image Not Available";

    CPicView(CZVWindow* parent, CZVRect rect, CZVServer& server, CZVString text, int kind, int id, int bevelType);
    ~CPicView() override;

    // Sends the request of the control's kind for a picture of that size.
    void RequestPicture(int width, int height);
    // The size the control asks for: its inner width rounded up to even, its inner height.
    int GetRequestWidth() const;
    int GetRequestHeight() const;
    CZVRect GetProgressRect();
    std::optional<CZVRect> GetOpaqueRect() override;

    void OnPaint(CZVDC* dc) override;
    int OnLButtonDown(int x, int y, int keys) override;
    int OnLButtonUp(int x, int y, int keys) override;
    void OnTimer() override;
    int OnIdle(int busy) override;
    void OnShow(int show) override;
    void OnKeyDown(int code, int flags) override;
    void OnKeyUp(int code, int flags) override;
    void OnChar(int code, int flags) override;
    void OnMessage(CZVMSG* message) override;
    void OnTraffic(uint16_t id, uint16_t sender, int32_t received, int32_t length) override;

    int GetKind() const { return m_kind; }
    CDibDC* GetPicture() const { return m_picture.get(); }
    const std::string& GetLink() const { return m_link; }
    int IsFullScreenRequested() const { return m_fullScreenRequested; }
    // A full-screen picture is held on the screen.
    int IsHolding() const { return m_held != nullptr; }
    CVideoWnd* GetVideoWindow() const { return m_video; }

    // Where a camera's live view goes on a screen of that size: the largest
    // 4:3 multiple of 40 x 30 that fits, centred.
    static CZVRect CameraViewRect(int screenWidth, int screenHeight);

private:
    int IsAlbum() const { return m_kind >= kFirstAlbum && m_kind <= kLastAlbum; }
    int Refreshes() const { return IsAlbum() || m_kind == kPhotoFrame || m_kind == kWeather; }
    int ShowsFullScreen() const { return IsAlbum() || m_kind == kNamedPicture; }
    int Inset() const;
    void RequestAtOwnSize() { RequestPicture(GetRequestWidth(), GetRequestHeight()); }
    void SendSnapshotRequest();
    void TakePicture(CZVMSG* message);
    void ShowPicture(const uint8_t* jpeg, size_t size, int width, int height);
    void ShowFullScreen(const uint8_t* jpeg, size_t size, int width, int height);
    void ShowNotAvailable();
    // The held picture leaves the screen; the screen is drawn again when asked.
    void EndHold(int redraw);
    // The socket reports the pieces of incoming messages here (the download's progress).
    void TrackTraffic();
    void ReleaseTracker();
    void OpenCameraView();
    void CloseCameraView(int redraw);
    void Touched();
    void RedrawUnlessBlocked();

    std::unique_ptr<CDibDC> m_picture;
    // The full-screen picture while it is held on the screen.
    std::unique_ptr<CDibDC> m_held;
    uint32_t m_holdStart = 0;
    // The focus window when the hold began, given the focus back after it.
    CZVWindow* m_focusBeforeHold = nullptr;
    uint32_t m_lastRequest;
    int m_kind;
    int m_id;
    int m_pressed = 0;
    CZVString m_name;
    // Each control asks for its own full-screen picture: another control's
    // answer never shows full screen.
    int m_fullScreenRequested = 0;
    CVideoWnd* m_video = nullptr;
    int m_videoRefresh = 0;
    std::string m_link;
};

// The page control factory's maker for types 110, 115, 116, 165 and 176.
CZVWindow* MakePicView(CPageControlArgs& args);
void RegisterPicViewControls();
