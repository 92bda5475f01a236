#pragma once
// "Email Settings": the adapter's e-mail alerts, which live on the product
// line's e-mail settings server rather than on the gateway. The e-mail
// locator on the service host names that server; the settings travel there
// as gateway messages over a connection of the dialog's own.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/messages/setupmessages.h"
#include "core/zvmsg.h"

// The locator's port on the service host; the setting Network/EmailLocatorPort
// replaces it.
inline constexpr uint16_t kEmailLocatorPort = 80;
uint16_t EmailLocatorPort();

// One adapter's alert settings. With alerts off the rest does not travel.
struct CEmailSettings {
    int32_t enabled = 0;
    std::string password;
    int32_t alerts[4] = {};  // Marquel, pump, chlorinator, freeze
    std::vector<std::string> recipients;
    std::string address;
    std::string city;
    std::string zip;
};

// The alert fields of an answer (enabled and, when on, the rest); 1 when all
// were there. As many recipients are read as the answer holds.
int ReadAlertSettings(CZVMSG& answer, CEmailSettings& settings);
void WriteAlertSettings(CZVMSG& request, const CEmailSettings& settings);

// The locator's request for the host it is sent to.
std::string BuildLocatorRequest(const std::string& host);
// 1 when the reply holds its header's end, and after it "address:port" and
// an empty line.
int IsLocatorReplyComplete(const std::string& reply);
// The settings server's address (network order) and port from a complete
// reply; 0 when the body names none.
int ParseLocatorReply(const std::string& reply, uint32_t& address, uint16_t& port);

// 1 for a whole frame at the front of the bytes, 0 for a part, -1 for a
// header whose length a settings reply cannot have.
int IsSettingsFrameComplete(const std::string& bytes);

class CEmailView {
public:
    virtual ~CEmailView() = default;
    // The status line, painted at once.
    virtual void SetStatus(const std::string& text) = 0;
    virtual void SetBusy(bool busy) = 0;
    virtual void StopTimer() = 0;
    // Puts the settings into the controls (recipients as the list's rows).
    virtual void PutSettings(const CEmailSettings& settings) = 0;
    // Reads the controls over the settings, the recipients' list excepted;
    // false when that fails.
    virtual bool GetSettings(CEmailSettings& settings) = 0;
    virtual void SetRecipients(const std::vector<std::string>& recipients) = 0;
    // The row chosen in the recipients' list, -1 for none.
    virtual int SelectedRecipient() = 0;
    // Enables the alert checks, the recipients' part and the fields that
    // travel only with alerts on: password, address, city and ZIP code.
    virtual void EnableAlertControls(bool on) = 0;
    virtual void ShowMessage(const std::string& text) = 0;
    // "New Email Recipient": the address, or nothing when cancelled.
    virtual std::optional<std::string> AskNewRecipient() = 0;
    virtual void EndDialog(bool ok) = 0;
};

class CEmailDlg {
public:
    static constexpr uint32_t kFirstTickMs = 1000;
    static constexpr uint32_t kReplyLimitMs = 30000;
    static constexpr size_t kLocatorRoom = 1023;
    static constexpr size_t kSettingsRoom = 4096;

    // The locator is asked on locatorPort of the service host.
    CEmailDlg(CEmailView& view, std::string adapterName, uint16_t locatorPort);
    ~CEmailDlg();
    CEmailDlg(const CEmailDlg&) = delete;
    CEmailDlg& operator=(const CEmailDlg&) = delete;

    // Status "Please Wait..." until the first tick of the view's timer.
    void OnInitDialog();
    // The first tick finds the server and reads the settings.
    void OnTimer();
    void EnableAlertControls();
    void OnAddRecipient();
    void OnRemoveRecipient();
    // "Done": writes the settings and closes; a write the server does not
    // answer is told and the dialog stays open.
    void OnOK();

    // Sends the message and waits for the first whole frame in return.
    static std::unique_ptr<CZVMSG> ExchangeOnSocket(int socket, CZVMSG& message);

    const CEmailSettings& Settings() const { return m_settings; }

private:
    bool ReadSettings();
    int LocateServer(uint32_t& address, uint16_t& port);

    CEmailView& m_view;
    const std::string m_adapterName;
    const uint16_t m_locatorPort;
    CEmailSettings m_settings;
    bool m_firstTick = true;
    int m_settingsSocket = -1;
};
