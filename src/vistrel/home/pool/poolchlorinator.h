#pragma once
// CChlorinatorPage: the Equipment tab's "Chlorinator": whether the salt
// chlorinator is installed and talking to the controller, its six alarms,
// the chlorine output of pool and spa, the salt level on a coloured scale,
// and super-chlorination with its duration. Changes go to the gateway at
// once; the state is asked every five seconds.
#include <array>
#include <string>

#include "vistrel/home/pool/equipparts.h"
#include "vistrel/home/pool/equipreaders.h"
#include "vistrel/shell/pbase.h"

class CRRegion;
class CZV3DButton;
class CZVButton;
class CZVLabel;
class CZVLevelBar;

class CChlorinatorPage : public CSubPanel {
public:
    static constexpr int kStyleClass = 5;
    enum : int {
        kPoolUpId = 1000,
        kPoolDownId = 1001,
        kSpaUpId = 1002,
        kSpaDownId = 1003,
        kOutputReleaseId = 1004,
        kStartId = 1005,
        kStopId = 1006,
        kHoursDownId = 1007,
        kHoursUpId = 1008,
        kHoursReleaseId = 1009,
    };
    static constexpr int kPollInterval = 5000;  // ms since the last poll or command
    static constexpr int kTimerInterval = 1000;
    static constexpr int kMaxHours = 96;
    static constexpr int kAlarms = 6;
    static constexpr int kSaltUnit = 50;  // ppm
    static constexpr int kSaltBottom = 1800;
    static constexpr int kSaltSpan = 2800;
    static constexpr int kNarrowHoursLabel = 39;  // px: at most this wide, the bare number

    // The salt scale's ranges: the upper bound (ppm) of each, its colour and text.
    struct SaltRange {
        int upTo;
        COLORREF colour;
        const char* text;
    };
    static const SaltRange& SaltRangeOf(int ppm);
    static int SaltLevel(int ppm) { return (ppm - kSaltBottom) * 100 / kSaltSpan; }
    // The duration's text for a label of that width.
    static std::string HoursText(int hours, int labelWidth);

    CChlorinatorPage(CZVWindow* parent, CZVRect rect, CBasinSetup* model);

    int OnChildCommand(int id, int count) override;
    void OnTimer() override;

    // Asks the chlorinator's state and shows the answer.
    void Poll(int redraw);
    void ShowStatus(const CChlorinatorStatus& status, int redraw);

    CZVLabel* GetStatusText() const { return m_statusText; }
    CZVLabel* GetHoursText() const { return m_hoursText; }
    CZVLabel* GetAlarm(int i) const { return m_alarms[static_cast<size_t>(i)]; }
    CZVLevelBar* GetPoolOutput() const { return m_poolOutput; }
    CZVLevelBar* GetSpaOutput() const { return m_spaOutput; }
    CZVLevelBar* GetSaltBar() const { return m_saltBar; }
    CRRegion* GetOutputPanel() const { return m_outputPanel; }
    CZVButton* GetStartButton() const { return m_start; }
    CZVButton* GetStopButton() const { return m_stop; }
    CZV3DButton* GetArrow(int id) const;
    int GetChosenHours() const { return m_chosenHours; }
    const CPollPacer& GetPacer() const { return m_pacer; }

private:
    void BuildStatus(CRRegion* panel);
    void BuildOutputs(CRRegion* panel);
    CZVLevelBar* BuildOutputRow(CZVWindow* row, CZVRect rect, const std::string& caption, int upId, int downId);
    void BuildSuperRow(CZVWindow* row, CZVRect rect);
    void BuildSalt(CRRegion* panel);
    CZV3DButton* AddArrow(CZVWindow* row, CZVRect rect, int id, int releaseId, int iconKind);
    void StepOutput(CZVLevelBar* bar, int delta);
    void SendOutputs(int superChlorinate, int hours);
    void ShowSalt(int ppm, int redraw);
    void ShowOutput(CZVLevelBar* bar, int level, int redraw);
    void ShowSuperChlorination(int redraw);
    int MayRedraw();

    CZVLabel* m_statusText = nullptr;
    CZVLabel* m_hoursText = nullptr;
    std::array<CZVLabel*, kAlarms> m_alarms{};
    CZVLevelBar* m_poolOutput = nullptr;
    CZVLevelBar* m_spaOutput = nullptr;  // none without a spa
    CZVLevelBar* m_saltBar = nullptr;
    CRRegion* m_outputPanel = nullptr;
    CZVButton* m_start = nullptr;
    CZVButton* m_stop = nullptr;
    std::array<CZV3DButton*, 6> m_arrows{};  // ids 1000..1003, 1007, 1008
    // The duration the user chose, kept apart from what the controller reports.
    int m_chosenHours = 0;
    int m_reportedHours = 0;  // super-chlorination left; 0 when it does not run
    CPollPacer m_pacer{kPollInterval};
};
