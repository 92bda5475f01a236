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

    void SetDialog(CBasinSetupDlg* dialog) { m_dialog = dialog; }
    const CCommandLine& CommandLine() const { return m_commandLine; }
    bool UsesInheritedSocket() const { return m_inheritedSocket; }
    CZVServer& Server() { return *m_server; }
    CServerLink& Link() { return *m_link; }
    const CPingSchedule& Ping() const { return m_ping; }

private:
    class Sink : public CSocketSink {
    public:
        Sink(CZVServer& server, CPingSchedule& ping) : CSocketSink(server, kSinkId), m_ping(ping) {}
        void OnMessage(CZVMSG* message) override;

    private:
        CPingSchedule& m_ping;
    };

    int TakeHandedSocket();
    int AdoptSocket(int handle);

    std::function<void(const std::string&)> m_showMessage;
    CCommandLine m_commandLine;
    bool m_inheritedSocket = false;
    std::unique_ptr<CZVServer> m_server;
    std::unique_ptr<CServerLink> m_link;
    std::unique_ptr<Sink> m_sink;
    CPingSchedule m_ping;
    CBasinSetupDlg* m_dialog = nullptr;
    bool m_connectedSeen = false;
};
