#pragma once
// CTalkListenWnd: push-to-talk with a station of the home's intercom. While
// Talk is held the tablet's microphone is recorded at 11025 Hz, 16-bit mono,
// and streamed to the gateway as G.711 mu-law; Listen asks the gateway to let
// the user hear the station. Made by the control factory as a control with
// its own buttons and level meter (type 155), by the station list as the
// unseen engine of a row (type 186), and by the main window to answer an
// incoming call.
#include <cstdint>

#include "av/astream.h"
#include "core/zvserver.h"
#include "gfx/zvstring.h"
#include "widgets/window/zvwindow.h"

class CIntercomButton;
class CLampMeter;
class CWavDevice;
class CZV3DButton;
struct CPageControlArgs;

// The width of the Talk and Listen buttons in a client area that wide.
int TalkButtonWidth(int clientWidth);
// The factor that brings a recording at that level (1..100) towards 75;
// 0 for a level of 0 (the samples stay as they are).
int TalkGainFor(int level);

class CTalkListenWnd : public CZVWindow, public CSocketSink {
public:
    enum State : int { kIdle = 0, kTalking = 2, kListening = 3 };
    enum Command : int { kTalkPressed = 1000, kTalkReleased = 1001, kListenPressed = 1002, kListenReleased = 1003 };
    static constexpr int kControlType = 155;
    static constexpr int kRowType = 186;
    static constexpr int kButtonClass = 17;
    static constexpr int kFaceClass = 18;
    static constexpr int kAllStations = 0;
    static constexpr int kSampleRate = 11025;
    static constexpr uint32_t kStatePollInterval = 5000;  // ms
    static constexpr uint32_t kLevelInterval = 50;        // ms
    static constexpr uint32_t kStopWaitLimit = 5000;      // ms
    static constexpr uint32_t kStopWaitStep = 50;         // ms
    static constexpr uint32_t kWritableWait = 1;          // ms
    static constexpr int kTargetLevel = 75;
    static constexpr int kMaxGain = 10;

    // A face colour of 0 takes the style's (class 18). The device is the one
    // recorded from; null: the tablet's audio player.
    CTalkListenWnd(CZVWindow* parent, CIntercomButton* owner, CZVRect rect, CZVServer& server, int station,
                   COLORREF textColour, COLORREF faceColour, int bevel, int radius, int fontSize, CZVString text,
                   int type, CWavDevice* device = nullptr);
    ~CTalkListenWnd() override;

    int OnCommand(int id) override;
    int OnIdle(int busy) override;
    void OnMessage(CZVMSG* message) override;
    void OnConnect(int connected) override;

    int GetStation() const { return m_station; }
    int GetType() const { return m_type; }
    int GetState() const { return m_state; }
    // The level last shown, 0..100.
    int GetLevel() const { return m_level; }
    CZV3DButton* GetTalkButton() const { return m_talk; }
    CZV3DButton* GetListenButton() const { return m_listen; }
    CLampMeter* GetMeter() const { return m_meter; }
    CAStream& GetTalkStream() { return m_talkStream; }

private:
    CZV3DButton* AddTalkButton(CZVRect rect, const char* caption, int pressId, COLORREF text, COLORREF face, int bevel,
                               int radius, int fontSize);
    void PressTalk();
    void ReleaseTalk();
    void PressListen(int pressed);
    // Sends every recorded buffer but the newest while the line takes it.
    void SendRecorded();
    void SendBuffer(CWaveBuffer* buffer);
    void ShowLevel();
    void PollState();
    void SendStop();
    void StopRecording();
    int IsSocketWritable();
    void SetMeterColors(const COLORREF colours[4]);
    void SetMeterValue(int lit);
    void ShowTalkState(int available);
    void EndActivity();
    CWavDevice* Device();

    int m_station;
    int m_type;
    CIntercomButton* m_owner;
    CWavDevice* m_device;
    int m_state = kIdle;
    int m_level = 0;
    int m_listenSent = 0;
    CZV3DButton* m_talk = nullptr;
    CZV3DButton* m_listen = nullptr;
    CLampMeter* m_meter = nullptr;
    CAStream m_talkStream;
    uint32_t m_levelTick;
    uint32_t m_stateTick;
    int m_stateDue = 1;
};

// The page control factory's maker for type 155.
CZVWindow* MakeTalkListen(CPageControlArgs& args);
