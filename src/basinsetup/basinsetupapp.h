#pragma once
// The configuration program: its command line, its one gateway connection
// (handed over by a parent, direct, remote, else found by the search), the
// keep-alive ping and the pass of its loop that polls the gateway and tells
// the main dialog of every change of the connection.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "basinsetup/cmdline.h"
#include "basinsetup/pingschedule.h"
#include "core/serverlink.h"
#include "core/zvserver.h"

class CBasinSetupDlg;

class CBasinSetupApp {
public:
    // The application's sink id, so that the gateway's answers to its pings
    // reach it.
    static constexpr uint16_t kSinkId = 0x7FFE;
    // How long a parent has to hand its connection over "/SOCKFILE:".
    static constexpr uint32_t kHandOverTime = 5000;

    // showMessage puts up a message box.
    explicit CBasinSetupApp(std::function<void(const std::string&)> showMessage);
    ~CBasinSetupApp();
    CBasinSetupApp(const CBasinSetupApp&) = delete;
    CBasinSetupApp& operator=(const CBasinSetupApp&) = delete;

    // Reads the command line and connects. 0 when the program must end (a
    // remote connection failed; the user has been told).
    int InitInstance(const std::vector<std::string>& arguments);
    // One pass of the loop: polls the gateway, pings it when due and reports
    // a change of the connection to the dialog. true when a message was
    // handled (the next pass may follow at once), else false (wait 10 ms).
    bool RunPass();

    void SetDialog(CBasinSetupDlg* dialog) { dialog_ = dialog; }
    const CCommandLine& CommandLine() const { return commandLine_; }
    bool UsesInheritedSocket() const { return inheritedSocket_; }
    CZVServer& Server() { return *server_; }
    CServerLink& Link() { return *link_; }
    const CPingSchedule& Ping() const { return ping_; }

private:
    class Sink : public CSocketSink {
    public:
        Sink(CZVServer& server, CPingSchedule& ping) : CSocketSink(server, kSinkId), ping_(ping) {}
        void OnMessage(CZVMSG* message) override;

    private:
        CPingSchedule& ping_;
    };

    int TakeHandedSocket();
    int AdoptSocket(int handle);

    std::function<void(const std::string&)> showMessage_;
    CCommandLine commandLine_;
    bool inheritedSocket_ = false;
    std::unique_ptr<CZVServer> server_;
    std::unique_ptr<CServerLink> link_;
    std::unique_ptr<Sink> sink_;
    CPingSchedule ping_;
    CBasinSetupDlg* dialog_ = nullptr;
    bool connectedSeen_ = false;
};
