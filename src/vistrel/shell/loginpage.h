#pragma once
// CLoginPage: the remote login, shown while a tablet started with "/R" has
// no gateway connection. The user enters the system name and password, may
// keep them in the login file, and connects through the address and relay
// servers; the connection's progress lines fill the page's status list.
#include <cstdint>
#include <string>

#include "core/statussink.h"
#include "vistrel/shell/pbase.h"

class CTextList;
class CZVButton;
class CZVEdit;
class CZVRadio;

// What the login file keeps. The password is kept as typed, so the file is
// readable by its owner only.
struct CLoginFile {
    enum Choice : int32_t { kSaveNothing = 0, kSaveUserName = 1, kSaveBoth = 2 };

    std::string userName;
    std::string password;
    int32_t choice = kSaveBoth;

    // vistrel.dat in the program folder.
    static std::string GetPath();
    // A missing or cut-short file leaves empty fields and choice 2.
    static CLoginFile Read(const std::string& path);
    // What the choice keeps of the two, written with mode 0600; false when
    // the file could not be written.
    bool Write(const std::string& path) const;
};

// The first login page of a run may connect by itself; the start-up allows
// it once per run.
void AllowLoginAutoConnect();

class CLoginPage : public CPageBase, public CStatusSink {
public:
    static constexpr int kConnect = 1000;
    static constexpr uint32_t kRetryPause = 5000;  // ms before a failed connect may be tried again

    CLoginPage(CZVWindow* parent, CZVRect rect);

    void Paint(CZVDC* dc, int withBackground) override;
    int OnCommand(int id) override;
    int OnIdle(int work) override;
    void OnStatus(const std::string& text) override { AddStatusLine(text); }

    // Appends the line, scrolled into view and selected.
    void AddStatusLine(const std::string& text);

    CZVEdit* GetUserNameField() const { return m_userName; }
    CZVEdit* GetPasswordField() const { return m_password; }
    CZVRadio* GetSaveChoice() const { return m_saveChoice; }
    CTextList* GetStatusList() const { return m_status; }
    CZVButton* GetConnectButton() const { return m_connectButton; }
    int IsAutoConnectPending() const { return m_autoConnect; }

private:
    void Connect();

    CZVEdit* m_userName = nullptr;
    CZVEdit* m_password = nullptr;
    CZVRadio* m_saveChoice = nullptr;
    CTextList* m_status = nullptr;
    CZVButton* m_connectButton = nullptr;
    int m_autoConnect = 0;
    int m_connecting = 0;
    int m_retryPending = 0;
    uint32_t m_failedAt = 0;
};
