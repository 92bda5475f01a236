#include "basinsetup/basinsetupapp.h"

#include "basinsetup/basinsetupdlg.h"
#include "core/messages/setupmessages.h"
#include "core/zvquery.h"
#include "core/zvsock.h"
#include "platform/process.h"
#include "platform/socket.h"

void CBasinSetupApp::Sink::OnMessage(CZVMSG* message) {
    if (message && message->GetId() == ZVM_SESSION_PINGA) m_ping.OnAnswer();
}

CBasinSetupApp::CBasinSetupApp(std::function<void(const std::string&)> showMessage)
    : m_showMessage(std::move(showMessage)) {}

CBasinSetupApp::~CBasinSetupApp() {
    m_sink.reset();
    m_link.reset();
    m_server.reset();
}

int CBasinSetupApp::TakeHandedSocket() {
    if (m_commandLine.socketHandle >= 0) return platform::AdoptInheritedSocket(m_commandLine.socketHandle);
    if (!m_commandLine.socketFile.empty())
        return platform::ReceiveHandedSocket(m_commandLine.socketFile, kHandOverTime);
    return -1;
}

// The parent's connection counts only when the gateway answers on it; from
// here on it is ours, and closed when it does not count.
int CBasinSetupApp::AdoptSocket(int handle) {
    if (!m_server->GetSocket()->Attach(handle)) {
        platform::CloseSocket(handle);
        return 0;
    }
    m_server->SetChanged();
    CZVQuery query(*m_server);
    CZVMSG request(0, ZVM_SYSCONFIG_GETVERSIONQ, 0, 1, m_server->GetVariant());
    CZVMSG* answer = nullptr;
    if (query.Query(&answer, &request)) return 1;
    m_server->GetSocket()->Disconnect();
    return 0;
}

int CBasinSetupApp::InitInstance(const std::vector<std::string>& arguments) {
    m_commandLine = ParseCommandLine(arguments);
    ZVNetConfig net = GetNetConfig();
    net.gatewayPort = m_commandLine.basePort;
    SetNetConfig(net);

    const int handle = TakeHandedSocket();
    m_server = std::make_unique<CZVServer>(ZVVariant::Config);
    m_link = std::make_unique<CServerLink>(*m_server);
    m_sink = std::make_unique<Sink>(*m_server, m_ping);
    m_server->RegisterSink(m_sink.get());

    if (handle != -1)
        m_inheritedSocket = AdoptSocket(handle) != 0;
    else if (m_commandLine.address != 0)
        m_server->ConnectLocal(m_commandLine.address, m_commandLine.basePort, -1);

    if (m_commandLine.remote && !m_inheritedSocket) {
        CStatusSink quiet;
        m_server->ConnectRemote(m_commandLine.userName, m_commandLine.password, &quiet, -1);
        if (!m_server->IsConnected()) {
            m_showMessage("ERROR: Could not connect to protocol adapter");
            m_sink.reset();
            m_link.reset();
            m_server.reset();
            return 0;
        }
    }
    if (!m_server->IsConnected()) {
        m_server->SetKeepAlive(0);
        m_server->SetRemoteMode(0);
        m_server->Rediscover();
    }
    return 1;
}

bool CBasinSetupApp::RunPass() {
    const bool worked = m_server->PollAll() == CZVServer::kPollWork;
    if (m_server->IsConnected()) {
        if (m_ping.Step()) {
            CZVMSG ping(kSinkId, ZVM_SESSION_PINGQ, 0, 1, m_server->GetVariant());
            m_server->Send(&ping);
        }
        if (!m_connectedSeen) {
            m_connectedSeen = true;
            if (m_dialog) m_dialog->OnConnectionChanged(1);
        }
    } else if (m_connectedSeen) {
        m_connectedSeen = false;
        if (m_dialog) m_dialog->OnConnectionChanged(0);
    }
    return worked;
}
