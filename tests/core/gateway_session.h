#pragma once
// A connection manager talking to a fake gateway on loopback, on the virtual
// clock, and sinks that record what reaches them.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "core/zvserver.h"
#include "fake_gateway.h"
#include "support/virtual_clock.h"

namespace zvtest {

// Polls for every sink until the condition holds; false after 5 s of real time.
template <class Condition> bool PollAllUntil(CZVServer& server, Condition condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        if (server.PollAll() != CZVServer::kPollWork)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Connects the way the manager reconnects: to the stored address with the
// local login, whose answer is read (and ignored by the manager) before this
// returns.
inline bool ConnectToGateway(CZVServer& server, testsupport::FakeGateway& gateway, testsupport::VirtualClock& clock) {
    server.SetGatewayAddress(gateway.Address());
    server.SetReconnect(1);
    clock.Advance(CZVServer::kReconnectInterval);
    server.PollAll();
    CZVSocket* socket = server.GetSocket();
    return server.IsConnected() && gateway.WaitForRequest(testsupport::kLoginRequest) &&
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
        if (onMessage)
            onMessage();
    }
    void OnConnect(int connected) override { m_log->push_back(m_name + (connected ? ":up" : ":down")); }

    std::function<void()> onMessage;

private:
    std::string m_name;
    std::vector<std::string>* m_log;
};

class GatewaySession : public ::testing::Test {
protected:
    void Connect() { ASSERT_TRUE(ConnectToGateway(server, gateway, clock)); }

    testsupport::VirtualClock clock;
    testsupport::FakeGateway gateway;
    CZVServer server{ZVVariant::Tablet};
    std::vector<std::string> log;
};

}  // namespace zvtest
