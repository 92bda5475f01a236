#include "core/zvserver.h"

#include <poll.h>

#include <cstdio>
#include <span>

#include "core/zvbytes.h"
#include "core/zvquery.h"
#include "platform/clock.h"
#include "platform/report.h"
#include "platform/socket.h"

namespace {

constexpr const char* kSource = "zvserver";
// Receive's answer when a whole frame waits in the socket's buffer.
constexpr int kFrameReady = 3;

// 0 stands for the whole program as well as 0x7FFF.
bool IsForEverySink(uint16_t wanted) { return wanted == CZVServer::kEverySink || wanted == CZVServer::kManagerId; }

}  // namespace

CSocketSink::CSocketSink(CZVServer& server) : m_server(&server), m_id(server.NextQueryId()) { server.Adopt(this); }

CSocketSink::CSocketSink(CZVServer& server, uint16_t id) : m_server(&server), m_id(id) {
    // The manager's own sink part is built before the manager's members.
    if (static_cast<CSocketSink*>(&server) != this) server.Adopt(this);
}

CSocketSink::~CSocketSink() {
    if (m_server) m_server->Release(this);
}

void CSocketSink::OnMessage(CZVMSG*) {}

void CSocketSink::OnConnect(int) {}

void CSocketSink::RenewId() {
    if (m_server) m_id = m_server->NextQueryId();
}

void CSocketSink::SwapId(CSocketSink* other) {
    if (other) std::swap(m_id, other->m_id);
}

CZVServer::CZVServer(ZVVariant variant)
    : CSocketSink(*this, kManagerId), m_variant(variant), m_socket(std::make_unique<CZVSocket>(variant, this)) {
    RegisterSink(this);
}

CZVServer::~CZVServer() {
    m_socket.reset();
    for (CSocketSink* sink : m_built) sink->m_server = nullptr;
    m_built.clear();
    m_server = nullptr;
    m_sinks.RemoveAll();
}

void CZVServer::Adopt(CSocketSink* sink) { m_built.insert(sink); }

void CZVServer::Release(CSocketSink* sink) {
    UnregisterSink(sink);
    m_built.erase(sink);
}

void CZVServer::Check(bool ok, int line) const {
    if (!ok && m_variant == ZVVariant::Tablet) ReportAssert(kSource, line, 1);
}

uint16_t CZVServer::NextQueryId() {
    // Ids wrap after 0x7FFE; one still held by a registered sink is skipped,
    // so that an answer can never reach the wrong receiver.
    for (int tries = 0; tries < kLastSinkId; ++tries) {
        m_lastSinkId = m_lastSinkId >= kLastSinkId ? 1 : static_cast<int16_t>(m_lastSinkId + 1);
        if (!FindSink(static_cast<uint16_t>(m_lastSinkId))) break;
    }
    return static_cast<uint16_t>(m_lastSinkId);
}

int CZVServer::RegisterSink(CSocketSink* sink) {
    if (!sink || m_sinks.Contains(sink)) {
        Check(false, __LINE__);
        return 0;
    }
    if (!m_sinks.AddTail(sink)) return 0;
    // A walk already at its last node goes on to the new one.
    for (ZVPOSITION* next : m_walks)
        if (!*next) *next = m_sinks.GetTailPosition();
    return 1;
}

void CZVServer::UnregisterSink(CSocketSink* sink) {
    const ZVPOSITION pos = m_sinks.Find(sink);
    if (!pos) return;
    for (ZVPOSITION* next : m_walks)
        if (*next == pos) *next = pos->GetNext();
    m_sinks.RemoveAt(pos);
}

CSocketSink* CZVServer::FindSink(uint16_t id) const {
    for (ZVPOSITION pos = m_sinks.GetHeadPosition(); pos;) {
        auto* sink = static_cast<CSocketSink*>(m_sinks.GetNext(pos));
        if (sink->GetId() == id) return sink;
    }
    return nullptr;
}

bool CZVServer::AnyBusy() const {
    for (ZVPOSITION pos = m_sinks.GetHeadPosition(); pos;)
        if (static_cast<CSocketSink*>(m_sinks.GetNext(pos))->IsBusy()) return true;
    return false;
}

// Each sink is called once, in registration order. A sink may register or
// unregister sinks (itself included) from inside the call: a sink added is
// reached later in the same walk, one removed before its turn is not called,
// and every other sink is called exactly once.
template <typename Call>
void CZVServer::WalkSinks(Call call) {
    ZVPOSITION next = m_sinks.GetHeadPosition();
    m_walks.push_back(&next);
    while (next) call(static_cast<CSocketSink*>(m_sinks.GetNext(next)));
    m_walks.pop_back();
}

void CZVServer::Dispatch(CZVMSG* message) {
    if (!message) return;
    const uint16_t sender = message->GetSenderId();
    if (sender & 0x8000) {
        Check(false, __LINE__);
        return;
    }
    if (sender == kEverySink) {
        Broadcast(message);
        return;
    }
    if (CSocketSink* sink = FindSink(sender)) sink->OnMessage(message);
}

void CZVServer::Broadcast(CZVMSG* message) {
    Check(m_walks.empty(), __LINE__);
    WalkSinks([message](CSocketSink* sink) {
        message->ResetPosition();
        sink->OnMessage(message);
    });
}

void CZVServer::NotifyConnect(int connected) {
    WalkSinks([connected](CSocketSink* sink) { sink->OnConnect(connected); });
}

bool CZVServer::IsConnected() const { return m_socket && m_socket->IsConnected(); }

int CZVServer::Send(const CZVMSG* message) {
    if (!m_socket) {
        Check(false, __LINE__);
        return 0;
    }
    if (!message) return 0;
    return m_socket->SendRaw(message->GetTotalSize(), message->GetBuffer());
}

int CZVServer::PollAll(uint32_t waitMs) { return Poll(nullptr, kEverySink, waitMs); }

int CZVServer::Poll(CStatusSink* status, uint16_t wanted, uint32_t waitMs) {
    if (TakeHeldBack(wanted)) return kPollWork;
    const bool everySink = IsForEverySink(wanted);
    if (!IsConnected()) {
        if (m_changed && everySink) {
            m_changed = 0;
            NotifyConnect(0);
        }
        // A waiting query fails at once; only the program's own polls reconnect.
        if (!everySink) return kPollDown;
        const int result = Reconnect(status);
        if (result >= 0) return result;
    } else if (m_keepAlive && KeepAliveLost(everySink)) {
        m_socket->Disconnect();
        return kPollDown;
    }
    if (m_changed && everySink) {
        m_changed = 0;
        NotifyConnect(IsConnected() ? 1 : 0);
    }
    return ReceiveOne(wanted, waitMs);
}

int CZVServer::TakeHeldBack(uint16_t wanted) {
    const bool everySink = IsForEverySink(wanted);
    for (auto it = m_heldBack.begin(); it != m_heldBack.end(); ++it) {
        if (everySink || (*it)->GetSenderId() == wanted) {
            std::unique_ptr<CZVMSG> message = std::move(*it);
            m_heldBack.erase(it);
            Dispatch(message.get());
            return 1;
        }
    }
    return 0;
}

// A poll result to return, or -1 to go on and read.
int CZVServer::Reconnect(CStatusSink* status) {
    if (platform::TicksSince(m_socket->LastAttemptTick()) < kReconnectInterval) return kPollDown;
    const bool addressKnown = m_gatewayAddress.sin_addr.s_addr != 0;
    // After Disconnect nothing reconnects until the next connect request.
    if (!m_reconnect) return addressKnown ? kPollDown : kPollIdle;
    if (m_throughRelay) return ReconnectThroughRelay(status) ? -1 : kPollDown;
    if (!addressKnown) return m_socket->DiscoverAndConnect(m_name, status) ? -1 : kPollDown;
    if (m_socket->Connect(m_gatewayAddress, !m_remoteMode, platform::kNoSocket, -1, nullptr)) {
        if (m_remoteMode && !Relogin()) return kPollDown;
        SetChanged();
    }
    return -1;
}

bool CZVServer::KeepAliveLost(bool everySink) {
    // The monitor pings over the connection itself, on the program's own polls.
    if (m_variant == ZVVariant::Monitor) return everySink && (m_socket->KeepAlive() || !m_socket->FlushPending());
    m_socket->ReadKeepAlive();
    return m_socket->CheckKeepAlive() && platform::TicksSince(m_socket->LastReceiveTick()) > kReceiveSilence;
}

int CZVServer::ReceiveOne(uint16_t wanted, uint32_t waitMs) {
    const int result = m_socket->Receive(waitMs);
    if (result == kPollIdle && waitMs > 0 && m_variant != ZVVariant::Monitor) {
        // The monitor's socket waits inside Receive; here the wait ends as
        // soon as data arrives, and the next poll reads it.
        platform::WaitForSocket(m_socket->GetHandle(), POLLIN, waitMs);
    }
    if (result != kFrameReady) return result;
    uint8_t* frame = m_socket->NextMessage();
    if (!frame) return kPollDown;
    const int32_t size = CZVMSG::kHeaderSize + LoadLE<int32_t>(frame + 4);
    CZVMSG message(std::span<uint8_t>(frame, static_cast<size_t>(size)), m_variant);
    if (IsForEverySink(wanted) || message.GetSenderId() == wanted) {
        Dispatch(&message);
    } else if (std::unique_ptr<CZVMSG> copy = message.Clone()) {
        m_heldBack.push_back(std::move(copy));
    }
    m_socket->Consume(frame, size);
    return kPollWork;
}

int CZVServer::CheckConnection() {
    if (IsConnected()) return 1;
    if (!m_socket->DiscoverAndConnect(m_name, nullptr)) return 0;
    // A connection found by the search is kept up like any other.
    m_reconnect = 1;
    return 1;
}

int CZVServer::Rediscover() {
    m_loginRefused = 0;
    m_reconnect = 1;
    m_throughRelay = 0;
    m_socket->Disconnect();
    return m_socket->DiscoverAndConnect(m_name, nullptr);
}

void CZVServer::Disconnect() {
    m_socket->Disconnect();
    m_reconnect = 0;
}

void CZVServer::SetName(const std::string& name) { m_name = name.substr(0, 31); }

void CZVServer::SetCredentials(const std::string& password, int clientType, const std::string& clientName) {
    m_password = password;
    m_clientType = clientType;
    m_clientName = clientName;
}

void CZVServer::SetAnswerCache(std::unique_ptr<CQACacheList> cache) { m_cache = std::move(cache); }

CZVReportRelay::CZVReportRelay(CZVServer& server) {
    const std::thread::id owner = std::this_thread::get_id();
    m_installed = platform::InstallReportHook([&server, owner](platform::ReportKind kind, const std::string& text) {
        if (std::this_thread::get_id() != owner) {
            std::fprintf(stderr, "%s\n", text.c_str());
            return;
        }
        CZVMSG message(CZVServer::kManagerId, kind == platform::ReportKind::Assert ? ZVM_DEBUG_ASSERT : ZVM_DEBUG_TRACE,
                       0, 1, server.GetVariant());
        if (message.WriteString(text)) server.Send(&message);
    });
}

CZVReportRelay::~CZVReportRelay() {
    if (m_installed) platform::RemoveReportHook();
}
