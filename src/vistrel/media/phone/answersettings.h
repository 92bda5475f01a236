#pragma once
// CAnswerSettingsPage: the phone panel's "Greeting" tab: how many rings the
// answering machine waits and whether calls are screened (mailboxes 0 and 1
// only), which greeting callers hear, and the greeting itself: played
// through the tablet's player, recorded from its microphone and uploaded to
// the gateway, or switched back to the default one.
#include <cstdint>
#include <memory>

#include "av/astream.h"
#include "core/zvserver.h"
#include "core/zvtime.h"
#include "widgets/window/zvwindow.h"

class CVolumeWnd;
class CZV3DButton;
class CZVLabel;
class CZVLevelBar;
class CZVRadio;

class CAnswerSettingsPage : public CZVWindow, public CSocketSink {
public:
    enum Command : int {
        kRings = 1001,
        kScreenCalls = 1004,
        kRecord = 1005,
        kStop = 1006,
        kPlay = 1007,
        kUseDefault = 1008,
        kVolume = 1009,
    };
    enum State : int { kPlaying = 0x1, kRecording = 0x2 };
    static constexpr int kIdleInterval = 200;      // ms
    static constexpr int kRecordingInterval = 10;  // ms
    // Recordings shorter than this are not sent.
    static constexpr double kShortestGreeting = 0.5;  // s
    static constexpr int kRingOptions = 8;

    CAnswerSettingsPage(CZVWindow* parent, CZVRect rect, int styleClass, int32_t mailbox, CZVServer& server);
    ~CAnswerSettingsPage() override;

    int OnCommand(int id) override;
    void OnTimer() override;
    void OnKeyDown(int key, int flags) override;
    void OnShow(int shown) override;
    void OnMessage(CZVMSG* message) override;

    // The option the rings select: 1..6 rings, 24 (the call saver) and 99
    // (never); none (-1) for any other value.
    static int RingsOption(int32_t rings);
    // The rings an option stands for; the inverse of RingsOption.
    static int32_t OptionRings(int option);

    CZVRadio* GetRingsChoice() const { return m_rings; }
    CZVRadio* GetScreenCalls() const { return m_screenCalls; }
    CZVLabel* GetInfoLine(int line) const { return line == 0 ? m_info1 : m_info2; }
    CZV3DButton* GetRecordButton() const { return m_record; }
    CZV3DButton* GetStopButton() const { return m_stop; }
    CZV3DButton* GetPlayButton() const { return m_play; }
    CZV3DButton* GetUseDefaultButton() const { return m_useDefault; }
    CZVLevelBar* GetLevelBar() const { return m_level; }
    int GetState() const { return m_state; }
    double GetGreetingLength() const { return m_greetingLength; }
    CAStream* GetRecording() { return &m_recording; }

private:
    // The "Answer Phone" panel; returns the height of its rows.
    int BuildRingsPanel(CZVRect area);
    void BuildGreetingPanel(CZVRect area);

    // Asks the gateway for the value a choice shows; without an answer the choice is greyed.
    bool AskChoiceValue(CZVRadio* choice, uint16_t request, int32_t* value);
    void LoadRings();
    void LoadScreenCalls();
    void ChooseRings();
    void ToggleScreenCalls();
    void ShowScreenCalls(int32_t flag);
    void PlayGreeting();
    void StartRecording();
    void SaveRecording();
    void UseDefault();
    void Stop();
    void StopAudio();
    void ApplyVolume();
    void EndPlayingIfDrained();
    void ShowInputLevel();

    // The gateway's greeting: default or custom, and when it was recorded.
    bool AskGreeting(int32_t* isDefault, CZVTime* recorded);
    void UpdateGreetingInfo(int redraw);
    void UpdateButtons(int redraw);
    void UpdateProgress(int redraw);
    void UpdateDisplay(int redraw);
    void SetInfo(CZVString line1, CZVString line2, int redraw);

    CZV3DButton* m_record = nullptr;
    CZV3DButton* m_stop = nullptr;
    CZV3DButton* m_play = nullptr;
    CZV3DButton* m_useDefault = nullptr;
    CZVRadio* m_rings = nullptr;
    CZVRadio* m_screenCalls = nullptr;
    CZVLabel* m_info1 = nullptr;
    CZVLabel* m_info2 = nullptr;
    CVolumeWnd* m_volume = nullptr;
    CZVLevelBar* m_level = nullptr;
    int m_reloadPending = 1;
    int32_t m_mailbox;
    int m_state = 0;
    int m_customGreeting = 0;
    CAStream m_recording;
    uint32_t m_startTick = 0;
    double m_greetingLength = 0;
    int m_inputLevel = 0;
};
