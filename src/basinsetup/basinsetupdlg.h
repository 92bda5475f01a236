#pragma once
// The configuration program's main dialog, as plain logic over a small view
// interface: the version rows, the buttons, the countdown that starts the
// tablet program, the set-up wizard's frame, the house address and the search
// for a gateway when the program started without one.
#include <netinet/in.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/basinsetup.h"
#include "core/zvserver.h"

class CSearchProgress;

// Controls of the main dialog.
enum : int {
    IDC_VERSION_LIST = 1034,
    IDC_CONFIGURE = 1062,
    IDC_START_VIEWER = 1063,
    IDC_START_HINT = 1166,
    IDC_COUNTDOWN = 1104,
    IDC_SYNC_HOUSE = 1164,
};

// What a step dialog of the wizard ends with.
enum : int { kStepBack = -1, kStepNext = 1, kStepCancel = 2 };
inline constexpr int kWizardSteps = 5;

inline constexpr uint32_t kAutoStartSeconds = 300;
inline constexpr char kConfiguratorVersion[] = "4.0 Build 1499.0 Rel";
inline constexpr char kLookingRow[] = "Looking For Controller...";

class CBasinSetupView {
public:
    virtual ~CBasinSetupView() = default;
    // The version list's rows; an item and its model column are split by a tab.
    virtual void ShowRows(const std::vector<std::string>& rows) = 0;
    virtual void EnableControl(int id, bool on) = 0;
    virtual void ShowControl(int id, bool shown) = 0;
    virtual void SetCountdownText(const std::string& text) = 0;
    // The dialog's one timer, calling CBasinSetupDlg::OnTimer.
    virtual void StartTimer(uint32_t intervalMs) = 0;
    virtual void StopTimer() = 0;
    // A message box on top.
    virtual void ShowMessage(const std::string& text) = 0;
    // The warning before configuring and the house-address confirmation;
    // true when the user goes on.
    virtual bool RunConfigWarning() = 0;
    virtual bool RunHouseCode() = 0;
    // Shows step index of the wizard modally; kStepNext, kStepBack or
    // kStepCancel. The step keeps the model for as long as it runs.
    virtual int RunWizardStepDialog(int index, std::shared_ptr<CBasinSetup> model, const std::string& adapterName) = 0;
    // The progress of the subnet search, shown while it lives; may be null.
    virtual std::unique_ptr<CSearchProgress> OpenSearchProgress() = 0;
};

// Starts the tablet program with its arguments; false when it did not start.
class CViewerStarter {
public:
    virtual ~CViewerStarter() = default;
    virtual bool Start(const std::vector<std::string>& arguments) = 0;
};

// Starts "vistrel" beside this program, else from PATH.
class CSpawnViewerStarter : public CViewerStarter {
public:
    bool Start(const std::vector<std::string>& arguments) override;
};

// "4.0 Build 1499.0 Rel" gives 4 and 1499: the first and third numbers once
// every run of other characters has become one dot; missing numbers are 0.
void ParseVersionText(const std::string& text, uint16_t& major, uint16_t& minor);
// "Auto-Start 4 min 05 sec".
std::string FormatCountdown(int remainingSeconds);
// The rows of the version list for a loaded model.
std::vector<std::string> BuildVersionRows(const CBasinSetup& model, const std::string& versionText,
                                          const std::string& adapterName);
// The step that follows index after the step's result; -1 or kWizardSteps
// end the wizard. Adapters before 4.0 have no step index 3 (the pumps).
int NextWizardStep(int index, int result, bool adapterBefore4);
// The tablet program's arguments: the remote form with the credentials, else
// the direct form with the gateway's address (and its port when not 80).
std::vector<std::string> BuildViewerArguments(bool remote, const std::string& userName, const std::string& password,
                                              const sockaddr_in& gateway);

class CBasinSetupDlg {
public:
    struct Options {
        std::string userName;
        std::string password;
        bool remote = false;
        bool noInheritedSocket = true;
        uint16_t gatewayPort = 80;  // where a gateway found by the search listens
    };

    CBasinSetupDlg(CZVServer& server, CGatewayLink& link, CBasinSetupView& view, CViewerStarter& viewer,
                   Options options);
    ~CBasinSetupDlg();
    CBasinSetupDlg(const CBasinSetupDlg&) = delete;
    CBasinSetupDlg& operator=(const CBasinSetupDlg&) = delete;

    void OnInitDialog();
    // Reacts once to each change of the connection, from whichever reports it.
    void OnConnectionChanged(int connected);
    void OnTimer();
    void OnConfigure();
    // The Start button, Enter and the end of the countdown.
    void StartViewer();
    void OnSyncHouseAddress();
    // Escape and the close box: the program ends.
    void OnCancel() { m_closing = true; }
    int RunWizardStep(int index);

    bool IsClosing() const { return m_closing; }
    CZVServer& Server() const { return m_server; }
    const std::vector<std::string>& Rows() const { return m_rows; }
    std::shared_ptr<CBasinSetup> Model() const { return m_model; }
    const std::string& AdapterName() const { return m_adapterName; }
    bool IsSearchPending() const { return m_searchPending; }

private:
    class Sink : public CSocketSink {
    public:
        Sink(CZVServer& server, CBasinSetupDlg& dialog) : CSocketSink(server), m_dialog(dialog) {}
        void OnConnect(int connected) override { m_dialog.OnConnectionChanged(connected); }

    private:
        CBasinSetupDlg& m_dialog;
    };

    int CheckAdapterVersion();
    void ShowVersions();
    void EnableActions(bool on);
    void SetRows(std::vector<std::string> rows);
    void ShowControllerState(const CBasinSetup& model);
    void RunCountdown();
    void SearchForGateway();
    sockaddr_in GatewayAddress() const;

    CZVServer& m_server;
    CGatewayLink& m_link;
    CBasinSetupView& m_view;
    CViewerStarter& m_viewer;
    const Options m_options;
    Sink m_sink;
    bool m_closing = false;
    bool m_initialised = false;
    int m_reported = -1;  // the connection state last reacted to
    std::shared_ptr<CBasinSetup> m_model;
    std::vector<std::string> m_rows;
    bool m_autoStartArmed = true;
    uint32_t m_countdownStart;
    bool m_searchPending;
    bool m_versionsShown = false;
    std::string m_adapterName;
};
