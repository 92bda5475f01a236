#pragma once
// A connection manager talking to a fake gateway on loopback, on the virtual
// clock, and sinks that record what reaches them.
#include <gtest/gtest.h>
#include <linux/sockios.h>
#include <poll.h>
#include <sys/ioctl.h>

#include <functional>
#include <string>
#include <vector>

#include "core/zvserver.h"
#include "support/fake_gateway.h"
#include "support/virtual_clock.h"
#include "support/wait.h"

namespace testsupport {

// Polls for every sink until the condition holds; false after the wait limit.
inline bool PollAllUntil(CZVServer& server, const std::function<bool()>& condition) {
    return WaitUntil(condition, [&server] { return server.PollAll() == CZVServer::kPollWork; });
}

// Connects the way the manager reconnects: to the stored address with the
// local login, whose answer is read (and ignored by the manager) before this
// returns.
inline bool ConnectToGateway(CZVServer& server, FakeGateway& gateway, VirtualClock& clock) {
    server.SetGatewayAddress(gateway.Address());
    server.SetReconnect(1);
    clock.Advance(CZVServer::kReconnectInterval);
    server.PollAll();
    CZVSocket* socket = server.GetSocket();
    return server.IsConnected() && gateway.WaitForRequest(kLoginRequest) &&
           PollAllUntil(server, [socket] { return socket->GetBytesReceived() > 0 && !socket->HasData(); });
}

// Writes "<name>:<message id>" for each message and "<name>:up"/"<name>:down"
// for each connection change into a shared log.
class RecordingSink : public CSocketSink {
public:
    RecordingSink(CZVServer& server, std::string name, std::vector<std::string>* log)
        : CSocketSink(server), m_name(std::move(name)), m_log(log) {}

    void OnMessage(CZVMSG* message) override {
        m_log->push_back(m_name + ":" + std::to_string(message->GetId()));
        if (onMessage) onMessage();
    }
    void OnConnect(int connected) override { m_log->push_back(m_name + (connected ? ":up" : ":down")); }

    std::function<void()> onMessage;

private:
    std::string m_name;
    std::vector<std::string>* m_log;
};

// What the manager wrote that has not reached the gateway yet: small requests that the
// kernel holds back to join them, or that the gateway has not acknowledged.
inline bool RequestsOnTheirWay(CZVServer& server) {
    int unsent = 0;
    const CZVSocket* socket = server.GetSocket();
    return socket && ioctl(socket->GetHandle(), SIOCOUTQNSD, &unsent) == 0 && unsent > 0;
}

// Bytes from the gateway that the manager has not taken yet, in the kernel or in the
// socket's own buffer.
inline bool AnswersWaiting(CZVServer& server) {
    CZVSocket* socket = server.GetSocket();
    if (!socket) return false;
    pollfd entry{socket->GetHandle(), POLLIN, 0};
    return socket->HasData() || poll(&entry, 1, 0) > 0;
}

// Time stands still while a request is on its way or the gateway is still answering and
// nothing has arrived for the manager yet: a query then waits for the answer however
// slowly the gateway's thread runs, while one that the gateway leaves unanswered times out
// at the test's pace. Time stands still too while another fake the client waits for (an address
// server) owes its answer.
inline void HoldClockWhileGatewayAnswers(
    VirtualClock& clock, FakeGateway& gateway, CZVServer& server,
    std::function<bool()> otherOwes = [] { return false; }) {
    clock.HoldWhile([&gateway, &server, otherOwes = std::move(otherOwes)] {
        return otherOwes() || ((RequestsOnTheirWay(server) || gateway.Owes()) && !AnswersWaiting(server));
    });
}

class GatewaySession : public ::testing::Test {
protected:
    GatewaySession() { HoldClockWhileGatewayAnswers(clock, gateway, server); }
    ~GatewaySession() override { clock.HoldWhile({}); }

    void Connect() { ASSERT_TRUE(ConnectToGateway(server, gateway, clock)); }

    VirtualClock clock;
    FakeGateway gateway;
    CZVServer server{ZVVariant::Tablet};
    std::vector<std::string> log;
};

}  // namespace testsupport
