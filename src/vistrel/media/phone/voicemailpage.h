#pragma once
// CVoiceMailPage: the phone panel's "Voice Mail" tab: one mailbox's
// messages with their new and old counts; plays a message (from the start
// or from a rewound position) or every new message, else every old one,
// bottom-up with a short separator between them; deletes a message, marks
// it new again, records a message from the microphone and uploads it,
// plays phone audio the gateway reports as live, and shows the caller of a
// call in progress. Leaving the tab stops whatever it started.
#include <cstdint>
#include <memory>
#include <string>

#include "av/astream.h"
#include "core/zvserver.h"
#include "vistrel/media/phone/callinprogress.h"
#include "widgets/window/zvwindow.h"

class CVoiceMailList;
class CVolumeWnd;
class CZV3DButton;
class CZVLabel;
class CZVLevelBar;

class CVoiceMailPage : public CZVWindow, public CSocketSink {
public:
    enum Command : int {
        kUp = 1001,
        kDown = 1002,
        kPlay = 1003,
        kPlayAll = 1004,
        kStop = 1005,
        kDelete = 1006,
        kRewind = 1007,
        kRewindPress = 1008,
        kRewindRelease = 1009,
        kMarkNew = 1011,
        kVolume = 1012,
        kListChanged = 1013,
        kRecord = 1014,
        kStopRecording = 1015,
    };
    enum State : int {
        kPlayingOne = 0x1,
        kPlayingAll = 0x2,
        kRewinding = 0x4,
        kSeparator = 0x8,
        kDeleting = 0x10,
        kCallerShown = 0x20,
        kCallAudio = 0x80,
        kLive = 0x200,
        kRecording = 0x400,
    };
    static constexpr int kPlaying = kPlayingOne | kPlayingAll;
    static constexpr int kTimerInterval = 100;     // ms
    static constexpr int kRecordingInterval = 10;  // ms
    static constexpr int kSavedInterval = 200;     // ms
    // A delete the gateway never confirms holds the page this long at most.
    static constexpr uint32_t kDeleteWait = 5000;  // ms
    static constexpr int kRewindStep = 4;          // percent an update
    // Recordings of this length or shorter are not sent.
    static constexpr double kShortestMessage = 0.5;  // s

    CVoiceMailPage(CZVWindow* parent, CZVRect rect, int styleClass, int32_t mailbox, CZVServer& server);
    ~CVoiceMailPage() override;

    int OnCommand(int id) override;
    void OnTimer() override;
    int OnIdle(int busy) override;
    void OnShow(int shown) override;
    void OnMessage(CZVMSG* message) override;
    void OnConnect(int connected) override;
    virtual void HandleCommand(int id, int redraw);

    CVoiceMailList* GetList() const { return m_list; }
    CZVLabel* GetInfoLine(int line) const { return line == 0 ? m_info1 : m_info2; }
    CZVLevelBar* GetProgressBar() const { return m_progress; }
    CZV3DButton* GetButton(int command) const;
    int GetState() const { return m_state; }
    int GetCurrent() const { return m_current; }
    int GetPlayType() const { return m_playType; }
    int GetStartPercent() const { return m_startPercent; }
    CAStream* GetRecording() const { return m_recording.get(); }

private:
    void BuildButtons(int width, int height);
    CZV3DButton* AddRowButton(CZVRect rect, int id, const char* caption, int icon, COLORREF colour, int layout);

    void PlayMessage(int startPercent);
    void PlaySeparator();
    void StopPlayback();
    void StartLiveListen();
    void StartRecording();
    void SaveRecording();
    void ApplyVolume();
    void Reload(int redraw);
    // A Play All step at the end of a message or of the separator.
    void StepWhenDrained(int redraw);
    void ShowInputLevel();
    bool Drained() const;
    // How far the message has played, in percent of the whole.
    int PlayedPercent() const;
    void Select(int index);

    void StepUp(int selected);
    void StepDown(int selected);
    void PlayAll();
    void Delete(int selected);
    void MarkNew(int selected);
    void Stop(int redraw);

    void UpdateStatus(int redraw);
    void UpdateButtons(int redraw);
    void UpdateProgress(int redraw);
    void UpdateDisplay(int redraw);
    int32_t CurrentMessageId() const;

    CVoiceMailList* m_list = nullptr;
    CZVLevelBar* m_progress = nullptr;
    CZVLevelBar* m_audioLevel = nullptr;
    CZVLabel* m_info1 = nullptr;
    CZVLabel* m_info2 = nullptr;
    CZV3DButton* m_up = nullptr;
    CZV3DButton* m_down = nullptr;
    CZV3DButton* m_stop = nullptr;
    CZV3DButton* m_delete = nullptr;
    CZV3DButton* m_play = nullptr;
    CZV3DButton* m_rewind = nullptr;
    CZV3DButton* m_playAll = nullptr;
    CZV3DButton* m_record = nullptr;
    CZV3DButton* m_stopRecording = nullptr;
    CZV3DButton* m_markNew = nullptr;
    int m_reloadPending = 1;
    int32_t m_mailbox;
    int m_state = 0;
    CCallInProgress m_call{m_state, kCallerShown, kCallAudio};
    int m_current = -1;
    int m_playType;
    uint32_t m_startTick = 0;
    int m_startPercent = 0;
    int32_t m_messageLength = 0;
    int m_alive = 0;
    CVolumeWnd* m_volume = nullptr;
    std::unique_ptr<CAStream> m_recording;
    int m_inputLevel = 0;
    uint32_t m_deleteTick = 0;
    // Shown in place of the old count until the next command: an upload
    // the gateway did not take whole.
    std::string m_notice;
};
