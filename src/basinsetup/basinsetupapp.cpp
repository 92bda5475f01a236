#include "basinsetup/basinsetupapp.h"

#include "basinsetup/basinsetupdlg.h"
#include "core/messages/setupmessages.h"
#include "core/zvquery.h"
#include "core/zvsock.h"
#include "platform/process.h"
#include "platform/socket.h"

void CBasinSetupApp::Sink::OnMessage(CZVMSG* message) {
    if (message && message->GetId() == ZVM_SESSION_PINGA)
        ping_.OnAnswer();
}

CBasinSetupApp::CBasinSetupApp(std::function<void(const std::string&)> showMessage)
    : showMessage_(std::move(showMessage)) {}

CBasinSetupApp::~CBasinSetupApp() {
    sink_.reset();
    link_.reset();
    server_.reset();
}

int CBasinSetupApp::TakeHandedSocket() {
    if (commandLine_.socketHandle >= 0)
        return platform::AdoptInheritedSocket(commandLine_.socketHandle);
    if (!commandLine_.socketFile.empty())
        return platform::ReceiveHandedSocket(commandLine_.socketFile, kHandOverTime);
    return -1;
}

// The parent's connection counts only when the gateway answers on it; from
// here on it is ours, and closed when it does not count.
int CBasinSetupApp::AdoptSocket(int handle) {
    if (!server_->GetSocket()->Attach(handle)) {
        platform::CloseSocket(handle);
        return 0;
    }
    server_->SetChanged();
    CZVQuery query(*server_);
    CZVMSG request(0, ZVM_SYSCONFIG_GETVERSIONQ, 0, 1, server_->GetVariant());
    CZVMSG* answer = nullptr;
    if (query.Query(&answer, &request))
        return 1;
    server_->GetSocket()->Disconnect();
    return 0;
}

int CBasinSetupApp::InitInstance(const std::vector<std::string>& arguments) {
    commandLine_ = ParseCommandLine(arguments);
    ZVNetConfig net = GetNetConfig();
    net.gatewayPort = commandLine_.basePort;
    SetNetConfig(net);

    const int handle = TakeHandedSocket();
    server_ = std::make_unique<CZVServer>(ZVVariant::Config);
    link_ = std::make_unique<CServerLink>(*server_);
    sink_ = std::make_unique<Sink>(*server_, ping_);
    server_->RegisterSink(sink_.get());

    if (handle != -1)
        inheritedSocket_ = AdoptSocket(handle) != 0;
    else if (commandLine_.address != 0)
        server_->ConnectLocal(commandLine_.address, commandLine_.basePort, -1);

    if (commandLine_.remote && !inheritedSocket_) {
        CStatusSink quiet;
        server_->ConnectRemote(commandLine_.userName, commandLine_.password, &quiet, -1);
        if (!server_->IsConnected()) {
            showMessage_("ERROR: Could not connect to protocol adapter");
            sink_.reset();
            link_.reset();
            server_.reset();
            return 0;
        }
    }
    if (!server_->IsConnected()) {
        server_->SetKeepAlive(0);
        server_->SetRemoteMode(0);
        server_->Rediscover();
    }
    return 1;
}

bool CBasinSetupApp::RunPass() {
    const bool worked = server_->PollAll() == CZVServer::kPollWork;
    if (server_->IsConnected()) {
        if (ping_.Step()) {
            CZVMSG ping(kSinkId, ZVM_SESSION_PINGQ, 0, 1, server_->GetVariant());
            server_->Send(&ping);
        }
        if (!connectedSeen_) {
            connectedSeen_ = true;
            if (dialog_)
                dialog_->OnConnectionChanged(1);
        }
    } else if (connectedSeen_) {
        connectedSeen_ = false;
        if (dialog_)
            dialog_->OnConnectionChanged(0);
    }
    return worked;
}
