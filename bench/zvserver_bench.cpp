// A query's round trip through the connection manager and its socket, beside a bare
// blocking socket exchanging the same bytes with the same fake gateway on loopback; and the
// CPU that an idle poll loop burns. Aims: the query within 1.5 times the bare round trip;
// the idle loop's CPU share (cpu_share) indistinguishable from zero.
#include <benchmark/benchmark.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <thread>

#include "core/zvquery.h"
#include "fake_gateway.h"
#include "platform/clock.h"

namespace {

using testsupport::Bytes;
using testsupport::Frame;
using testsupport::PayloadWriter;

constexpr uint16_t kRequest = 0x3000;

void AnswerEcho(testsupport::FakeGateway& gateway) {
    gateway.On(kRequest, [](const Frame& request) {
        return std::vector<Frame>{{request.sender, kRequest + 1, request.payload}};
    });
}

// Connected with the local login, whose answer has been read.
bool Connect(CZVServer& server, testsupport::FakeGateway& gateway) {
    server.SetGatewayAddress(gateway.Address());
    server.SetReconnect(1);
    if (!server.GetSocket()->Connect(gateway.Address(), 1, -1, 0, nullptr) ||
        !gateway.WaitForRequest(testsupport::kLoginRequest))
        return false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (server.GetSocket()->GetBytesReceived() == 0 || server.GetSocket()->HasData()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        server.PollAll(1);
    }
    return true;
}

void BM_QueryRoundTrip(benchmark::State& state) {
    testsupport::FakeGateway gateway;
    AnswerEcho(gateway);
    CZVServer server(ZVVariant::Tablet);
    if (!Connect(server, gateway)) {
        state.SkipWithError("no connection");
        return;
    }
    int32_t i = 0;
    for (auto _ : state) {
        CZVQuery query(server);
        int32_t value = 0;
        if (!query.QueryInt1(value, kRequest, i) || value != i) {
            state.SkipWithError("query failed");
            return;
        }
        ++i;
    }
}
BENCHMARK(BM_QueryRoundTrip)->UseRealTime();

bool ReceiveAll(int fd, uint8_t* buffer, size_t size) {
    for (size_t got = 0; got < size;) {
        const ssize_t n = recv(fd, buffer + got, size - got, 0);
        if (n <= 0)
            return false;
        got += static_cast<size_t>(n);
    }
    return true;
}

void BM_BareSocketRoundTrip(benchmark::State& state) {
    testsupport::FakeGateway gateway;
    AnswerEcho(gateway);
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in to = gateway.Address();
    if (connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0 ||
        send(fd, testsupport::kPreamble, sizeof testsupport::kPreamble - 1, MSG_NOSIGNAL) < 0) {
        close(fd);
        state.SkipWithError("no connection");
        return;
    }
    int32_t i = 0;
    for (auto _ : state) {
        const Bytes request = testsupport::EncodeFrame({2, kRequest, PayloadWriter().Int(i)});
        uint8_t answer[12];
        if (send(fd, request.data(), request.size(), MSG_NOSIGNAL) != ssize_t(request.size()) ||
            !ReceiveAll(fd, answer, sizeof answer)) {
            state.SkipWithError("exchange failed");
            break;
        }
        ++i;
    }
    close(fd);
}
BENCHMARK(BM_BareSocketRoundTrip)->UseRealTime();

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// The tablet's main loop between messages: PollAll, then a 10 ms sleep when it found nothing.
// Argument 1: the monitor's way instead, PollAll letting the socket wait 50 ms for data.
void BM_IdlePollLoop(benchmark::State& state) {
    const bool monitor = state.range(0) == 1;
    testsupport::FakeGateway gateway;
    CZVServer server(monitor ? ZVVariant::Monitor : ZVVariant::Tablet);
    if (!Connect(server, gateway)) {
        state.SkipWithError("no connection");
        return;
    }
    const double cpuStart = ThreadCpuSeconds();
    const auto wallStart = std::chrono::steady_clock::now();
    for (auto _ : state) {
        if (monitor) {
            server.PollAll(50);
        } else if (server.PollAll() != CZVServer::kPollWork) {
            platform::Sleep(10);
        }
    }
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    state.counters["cpu_share"] = (ThreadCpuSeconds() - cpuStart) / wall;
}
BENCHMARK(BM_IdlePollLoop)->Arg(0)->Arg(1)->Iterations(100)->UseRealTime();

}  // namespace
