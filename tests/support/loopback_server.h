#pragma once
// A TCP server on a loopback ephemeral port that serves one connection at a time on its own
// thread; the fakes of the service host build on it. Serve runs for each accepted connection
// and should return soon after Stopping() turns true.
#include <netinet/in.h>

#include <atomic>
#include <cstdint>
#include <thread>

namespace testsupport {

class LoopbackServer {
public:
    LoopbackServer();
    virtual ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    uint16_t Port() const { return m_port; }
    sockaddr_in Address() const;
    int Connections() const { return m_connections.load(); }

protected:
    // Starts the thread; the derived class calls it last in its constructor, and calls Stop
    // first in its destructor.
    void Start();
    void Stop();
    bool Stopping() const { return m_stopping.load(); }
    // Waits a few milliseconds for the descriptor to become readable.
    static bool Readable(int fd);
    // Reads exactly size bytes, giving up when the peer closes, after real_ms or on Stop.
    bool ReadExact(int fd, void* buffer, size_t size, uint32_t real_ms);
    static bool WriteAll(int fd, const void* data, size_t size);
    // A client's connection waits to be accepted, or has been accepted and
    // Serve has not yet said it took it over (HandOverDone); asks without
    // waiting. Fakes that let a test clock run while they owe nothing use it,
    // so the moment between accepting and serving never counts as idle.
    bool ConnectionWaiting() const;
    void HandOverDone() { m_handingOver = false; }

    virtual void Serve(int fd) = 0;

private:
    void Run();

    int m_listener = -1;
    uint16_t m_port = 0;
    std::atomic<bool> m_stopping{false};
    std::atomic<int> m_connections{0};
    std::atomic<bool> m_handingOver{false};
    std::thread m_thread;
};

}  // namespace testsupport
