#pragma once
// "Email Log": the mail server's log lines as they come, newest last.
#include <functional>
#include <string>

#include "sentinax/emailserver.h"

// "<month>/<day>/<year> <h>:<mm>:<ss> AM|PM\t <text>", the text without line
// ends at either end.
std::string FormatLogLine(const CLogEvent& entry);

// The outgoing mail account as "Outgoing Email Account Settings" shows it.
struct CEmailAccount {
    std::string smtpServer;
    std::string sender;
    std::string password;
    std::string defaultRecipient;
};

class CEmailLogView {
public:
    virtual ~CEmailLogView() = default;
    virtual int GetLineCount() = 0;
    virtual void DeleteFirstLine() = 0;
    virtual void AddLine(const std::string& line) = 0;
    // Selects the last line, which brings it into view.
    virtual void SelectLastLine() = 0;
};

class CEmailLogDlg {
public:
    // The window keeps at most about this many lines.
    static constexpr int kMaxLines = 500;

    // close asks the owner to close the window.
    CEmailLogDlg(CEmailServer& server, CEmailLogView& view, std::function<void()> close);

    // Adds the entries logged since the last refresh.
    void Refresh();
    // Cancel and the close box.
    void OnCancel();

private:
    CEmailServer& m_server;
    CEmailLogView& m_view;
    std::function<void()> m_close;
};

// "Outgoing Email Account Settings".
class CEmailSetView {
public:
    virtual ~CEmailSetView() = default;
    virtual void PutAccount(const CEmailAccount& account) = 0;
    // false keeps the dialog open.
    virtual bool GetAccount(CEmailAccount& account) = 0;
    virtual void EndDialog(bool ok) = 0;
};

class CEmailSetDlg {
public:
    CEmailSetDlg(CEmailServer& server, CEmailSetView& view);
    void OnInitDialog();
    void OnOK();

private:
    CEmailServer& m_server;
    CEmailSetView& m_view;
    CEmailAccount m_account;
};
