#pragma once
// The registries through which video windows and the controls that serve
// the same video source find each other: every live video window, the
// speaker selectors, the Low/Med/High selectors and the listeners for a
// camera's capabilities. Items add themselves when built and remove
// themselves when destroyed; the registries never own them.
class CVideoWnd;

// A speaker selector (a control of the camera audio).
class CSpeakerControl {
public:
    virtual ~CSpeakerControl() = default;
    virtual int GetSource() const = 0;
    // Shows "off" without any further effect.
    virtual void ShowOff() = 0;
};

// A Low/Med/High selector.
class CLevelControl {
public:
    virtual ~CLevelControl() = default;
    virtual int GetSource() const = 0;
    virtual void OnQualityLevel(int level) = 0;
};

// Told the capabilities the gateway reports for its source.
class CVideoCapsListener {
public:
    explicit CVideoCapsListener(int source);
    virtual ~CVideoCapsListener();
    CVideoCapsListener(const CVideoCapsListener&) = delete;
    CVideoCapsListener& operator=(const CVideoCapsListener&) = delete;
    virtual void OnVideoCaps(int /*a*/, int /*b*/, int /*c*/, int /*d*/) {}
    int GetSourceKey() const { return m_source; }

private:
    int m_source;
};

// Made at start-up and deleted at teardown; a registry that is not empty
// then is reported.
void CreateVideoRegistries();
void DestroyVideoRegistries();

void RegisterVideoWindow(CVideoWnd* window);
void UnregisterVideoWindow(CVideoWnd* window);
void RegisterSpeakerControl(CSpeakerControl* control);
void UnregisterSpeakerControl(CSpeakerControl* control);
void RegisterLevelControl(CLevelControl* control);
void UnregisterLevelControl(CLevelControl* control);
void RegisterCapsListener(CVideoCapsListener* listener);
void UnregisterCapsListener(CVideoCapsListener* listener);
int GetVideoWindowCount();

void StopAllVideo();
void RestartAllVideo();
void NotifyVideoQuality(int source, int level);
void NotifyVideoCaps(int source, int a, int b, int c, int d);
// The camera audio of the source's last registered window starts, every
// other window's stops, and the speaker selectors of other sources show
// "off". 1 when a window of the source was found.
int SelectVideoAudio(int source);
// Every window's camera audio stops; none starts.
int StopAllVideoAudio(CVideoWnd* any);
void SetVideoThrottle(int on);

inline constexpr int kAlignVideo4By3 = 0x20;
// With the 4:3 flag: the largest 16n x 12n picture (n >= 1) within width x
// height; otherwise both stay.
void AlignVideoSize(int* width, int* height, int flags);

extern int g_videoThrottle;
extern int g_videoPageOpen;
