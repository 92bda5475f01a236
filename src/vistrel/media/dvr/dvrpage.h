#pragma once
// CDvrPage: plays back one recorder: its stream in a video window, the
// transport buttons (play, replay, stop, previous and next clip, save the
// clip), a speed slider, the event, date and time of what plays, and the
// time line of the recordings under the picture.
#include <cstdint>
#include <string>

#include "core/zvserver.h"
#include "core/zvtime.h"
#include "vistrel/media/video/videownd.h"
#include "widgets/window/zvwindow.h"

class CDvrTimeline;
class CZVCheckButton;
class CZVLabel;
class CZVSlider;

// The texts of the date and time lines: "Tuesday 6/15/2011",
// "2:35:20.00 PM", and with a speed other than 10 tenths "... (2.5 X)".
std::string FormatDvrDate(const CZVTime& time);
std::string FormatDvrTime(const CZVTime& time, int speed);
// The speed slider's reach for a time window: -10v .. 10v with v the span in
// tens of minutes times ten, 10 .. 1000.
int DvrSpeedLimit(int spanMinutes);

class CDvrPage : public CZVWindow, public CSocketSink, public CPlaybackEventSink {
public:
    enum : int {
        kPlayId = 1001,
        kReplayId = 1002,
        kStopId = 1003,
        kNextClipId = 1004,
        kPreviousClipId = 1005,
        kSpeedId = 1006,
        kSaveId = 1007,
    };
    // Playback requests.
    enum : int {
        kPlayFrom = 0,
        kPlay = 1,
        kReplay = 2,
        kStop = 3,
        kSpeed = 4,
        kNextClip = 5,
        kPreviousClip = 6,
        kSaveClip = 7,
    };
    static constexpr int kNormalSpeed = 10;
    static constexpr uint32_t kSeekGateMs = 2000;

    CDvrPage(CZVWindow* parent, CZVRect rect, int dvrSource);
    ~CDvrPage() override;

    int OnCommand(int id) override { return DoCommand(id, 1); }
    int DoCommand(int id, int redraw);
    int OnIdle(int busy) override;
    void OnShow(int show) override;
    void OnMessage(CZVMSG* message) override;
    void OnConnect(int connected) override;
    void OnPlaybackEvent(const CPlaybackEvent& event) override;
    // The time line's marker was dragged to the time.
    void OnSeek(const CZVTime& time);
    void SetSpeedRange(int redraw);

    int GetStream() const { return m_stream; }
    int GetDvrSource() const { return m_dvrSource; }
    int GetSpeed() const { return m_speed; }
    int GetOutstanding() const { return m_outstanding; }
    int IsSeekPending() const { return m_seekPending; }
    CVideoWnd* GetVideoWindow() const { return m_video; }
    CDvrTimeline* GetTimeline() const { return m_timeline; }
    CZVSlider* GetSpeedSlider() const { return m_slider; }
    CZV3DButton* GetSaveButton() const { return m_save; }
    CZVLabel* GetLabel(int line) const { return m_labels[line]; }

private:
    void Layout();
    void LayoutControls(CZVWindow* panel);
    void OpenStream();
    void StopStream();
    void SendPlay(int kind, const CZVTime& time);
    void SendPlayValue(int kind, int value);
    void SetLabelText(CZVLabel* label, const std::string& text, int visible);
    void EnableControl(CZVWindow* control, int on, int visible);

    int m_reloadPending = 1;
    int m_playbackKind = 0;
    int m_stream = -1;
    int m_dvrSource;
    CVideoWnd* m_video = nullptr;
    CZVCheckButton* m_play = nullptr;
    CZVCheckButton* m_stop = nullptr;
    CZV3DButton* m_previous = nullptr;
    CZV3DButton* m_next = nullptr;
    CZV3DButton* m_replay = nullptr;
    CZV3DButton* m_save = nullptr;
    CZVSlider* m_slider = nullptr;
    CZVLabel* m_labels[3] = {};  // event text, date, time
    CDvrTimeline* m_timeline = nullptr;
    int m_speed = kNormalSpeed;
    CZVTime m_seekTime;
    int m_seekPending = 0;
    int m_outstanding = 0;
    uint32_t m_lastPlayTick = 0;
    int m_timelineHeight = 0;
};
