#include "samplegateway/gateway.h"

#include <arpa/inet.h>
#include <linux/sockios.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>

#include "core/zvcode.h"

namespace samplegateway {
namespace {

constexpr size_t kPreambleSize = sizeof kPreamble - 1;
constexpr int kPollMs = 5;

sockaddr_in LoopbackAddress(uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    return address;
}

// A TCP socket listening on 127.0.0.1 at an ephemeral port, which lands in *port; -1 when none
// can be had.
int ListenOnLoopback(uint16_t* port) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    sockaddr_in address = LoopbackAddress(0);
    socklen_t size = sizeof address;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd, 8) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        close(fd);
        return -1;
    }
    *port = ntohs(address.sin_port);
    return fd;
}

// Waits a little for the descriptor to become readable; true when it is.
bool Readable(int fd) {
    pollfd entry{fd, POLLIN, 0};
    return poll(&entry, 1, kPollMs) > 0;
}

}  // namespace

Gateway::Gateway() : Gateway(Options{}) {}

Gateway::Gateway(Options options, Hooks hooks) : m_options(std::move(options)), m_hooks(std::move(hooks)) {
    m_listener = ListenOnLoopback(&m_port);
    if (m_listener != -1) m_thread = std::thread([this] { Run(); });
}

Gateway::~Gateway() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    if (m_thread.joinable()) m_thread.join();
    if (m_listener != -1) close(m_listener);
}

sockaddr_in Gateway::Address() const { return LoopbackAddress(m_port); }

void Gateway::On(uint16_t request_id, Handler handler) {
    std::lock_guard lock(m_mutex);
    m_script[request_id] = std::move(handler);
}

void Gateway::AlsoOn(uint16_t request_id, Handler handler) {
    std::lock_guard lock(m_mutex);
    Handler& slot = m_script[request_id];
    slot = [earlier = std::move(slot), later = std::move(handler)](const Frame& request) {
        std::vector<Frame> frames = earlier ? earlier(request) : std::vector<Frame>{};
        std::vector<Frame> more = later(request);
        frames.insert(frames.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
        return frames;
    };
}

void Gateway::Answer(uint16_t request_id, Bytes payload) {
    On(request_id, [request_id, payload](const Frame& request) {
        return std::vector<Frame>{{request.sender, static_cast<uint16_t>(request_id + 1), payload}};
    });
}

bool Gateway::Push(uint16_t id, Bytes payload, uint16_t sender) {
    return PushFrames({{sender, id, std::move(payload)}});
}

bool Gateway::PushFrames(const std::vector<Frame>& frames) {
    std::vector<Bytes> images;
    for (const Frame& frame : frames) images.push_back(EncodeFrame(frame));
    return PushBytes(Join(images));
}

bool Gateway::PushBytes(const Bytes& bytes) {
    std::lock_guard lock(m_mutex);
    return WriteLocked(bytes);
}

void Gateway::Drop() {
    {
        std::lock_guard lock(m_mutex);
        if (m_client != -1) shutdown(m_client, SHUT_RDWR);
    }
    WaitForDisconnect();
}

template <class Condition>
bool Gateway::WaitUntil(uint32_t real_ms, Condition condition) const {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(real_ms), condition);
}

bool Gateway::WaitForClient(uint32_t real_ms) {
    return WaitUntil(real_ms, [this] { return m_client != -1; });
}

bool Gateway::WaitForDisconnect(uint32_t real_ms) {
    return WaitUntil(real_ms, [this] { return m_client == -1; });
}

std::vector<LoginRecord> Gateway::Logins() const {
    std::lock_guard lock(m_mutex);
    return m_logins;
}

std::vector<std::string> Gateway::Errors() const {
    std::lock_guard lock(m_mutex);
    return m_errors;
}

int Gateway::Connections() const {
    std::lock_guard lock(m_mutex);
    return m_connections;
}

bool Gateway::Connected() const {
    std::lock_guard lock(m_mutex);
    return m_client != -1;
}

bool Gateway::Owes() const {
    std::lock_guard lock(m_owingMutex);
    if (m_serving == -1 || Paused()) return false;
    int waiting = 0;
    int unsent = 0;
    return m_answering || (ioctl(m_serving, FIONREAD, &waiting) == 0 && waiting > 0) ||
           (ioctl(m_serving, SIOCOUTQNSD, &unsent) == 0 && unsent > 0);
}

void Gateway::NoteError(const std::string& text) {
    std::lock_guard lock(m_mutex);
    m_errors.push_back(text);
    m_changed.notify_all();
}

bool Gateway::Stopping() const {
    std::lock_guard lock(m_mutex);
    return m_stopping;
}

void Gateway::SetAnswering(bool answering) {
    std::lock_guard lock(m_owingMutex);
    m_answering = answering;
}

void Gateway::Run() {
    while (!Stopping()) {
        if (!Readable(m_listener)) continue;
        int fd = accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        timeval limit{5, 0};  // a client that stops reading cannot hold the gateway forever
        setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
        // Answers leave at once, each in its own segments.
        const int on = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        {
            std::lock_guard lock(m_mutex);
            m_client = fd;
            ++m_connections;
            m_changed.notify_all();
        }
        {
            std::lock_guard lock(m_owingMutex);
            m_serving = fd;
        }
        Serve(fd);
        std::lock_guard lock(m_mutex);
        m_client = -1;
        {
            std::lock_guard owing(m_owingMutex);
            m_serving = -1;
            m_answering = false;
        }
        close(fd);
        m_changed.notify_all();
    }
}

// Appends what the client sent; false once the connection ended or the gateway stops.
// Everything read so far has been answered when it is called again.
bool Gateway::ReadMore(int fd, Bytes* stream) {
    SetAnswering(false);
    while (!Stopping()) {
        if (Paused()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
            continue;
        }
        if (!Readable(fd)) continue;
        SetAnswering(true);
        uint8_t buffer[65536];
        ssize_t got = recv(fd, buffer, sizeof buffer, 0);
        if (got <= 0) return false;
        // Acknowledged at once: a client that holds small requests until the last is
        // acknowledged then sends its next without waiting for a delayed acknowledgement.
        // The kernel falls back to delaying, so this is asked again after every read.
        const int on = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_QUICKACK, &on, sizeof on);
        stream->insert(stream->end(), buffer, buffer + got);
        return true;
    }
    return false;
}

void Gateway::Serve(int fd) {
    Bytes stream;
    if (m_options.expect_preamble) {
        while (stream.size() < kPreambleSize)
            if (!ReadMore(fd, &stream)) return;
        if (std::memcmp(stream.data(), kPreamble, kPreambleSize) != 0) {
            NoteError("bad preamble");
            return;
        }
        stream.erase(stream.begin(), stream.begin() + kPreambleSize);
    }
    FrameDecoder decoder;
    bool challenge_asked = false;
    for (;;) {
        decoder.Feed(stream.data(), stream.size());
        stream.clear();
        Frame frame;
        while (decoder.Next(&frame))
            if (!HandleFrame(frame, &challenge_asked)) {
                shutdown(fd, SHUT_RDWR);
                return;
            }
        if (decoder.Broken()) {
            NoteError("malformed frame header");
            return;
        }
        if (!ReadMore(fd, &stream)) return;
    }
}

bool Gateway::HandleFrame(const Frame& request, bool* challenge_asked) {
    if (m_hooks.on_request && !m_hooks.on_request(request)) return false;
    Handler handler;
    {
        std::lock_guard lock(m_mutex);
        auto entry = m_script.find(request.id);
        if (entry != m_script.end()) handler = entry->second;
    }
    std::vector<Frame> answers = handler ? handler(request) : BuiltInAnswer(request, challenge_asked);
    if (!answers.empty()) {
        std::vector<Bytes> images;
        for (const Frame& answer : answers) images.push_back(EncodeFrame(answer));
        WriteAnswer(Join(images));
    }
    return true;
}

LoginRecord Gateway::ReadLogin(const Frame& request, bool after_challenge) const {
    LoginRecord login;
    PayloadReader reader(request.payload);
    login.after_challenge = after_challenge;
    login.well_formed = reader.Int(&login.revision) && reader.Int(&login.client_type) &&
                        reader.String(&login.client_name) && reader.Int(&login.response_length) &&
                        login.response_length == 16;
    if (login.well_formed) {
        login.response.resize(16);
        login.well_formed = reader.Raw(login.response.data(), 16) && reader.Int(&login.trailer);
    }
    std::string client_id;
    if (login.well_formed && reader.Left() > 0) {
        login.well_formed = reader.String(&client_id);
        login.client_id = client_id;
    }
    login.well_formed = login.well_formed && reader.Left() == 0;
    Bytes expected(16, 0);
    if (login.after_challenge && m_options.password) {
        const auto response = EncryptPasswordBlock(*m_options.password, m_options.challenge);
        expected.assign(response.begin(), response.end());
    }
    login.accepted = login.well_formed && !m_options.reject_logins &&
                     (!login.after_challenge || !m_options.password || login.response == expected);
    return login;
}

std::vector<Frame> Gateway::BuiltInAnswer(const Frame& request, bool* challenge_asked) {
    if (request.id == kGetChallengeRequest) {
        *challenge_asked = true;
        return {{request.sender, kGetChallengeAnswer, PayloadWriter().String(m_options.challenge)}};
    }
    if (request.id != kLoginRequest) return {};
    const LoginRecord login = ReadLogin(request, *challenge_asked);
    if (!login.well_formed) NoteError("malformed login");
    {
        std::lock_guard lock(m_mutex);
        m_logins.push_back(login);
        m_changed.notify_all();
    }
    return {{request.sender, login.accepted ? kLoginAnswer : kLoginRejected, {}}};
}

bool Gateway::WriteLocked(const Bytes& bytes) {
    if (m_client == -1) return false;
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t sent = send(m_client, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (sent <= 0) return false;
        done += static_cast<size_t>(sent);
    }
    return true;
}

void Gateway::WriteAnswer(const Bytes& bytes) {
    const size_t asked = m_hooks.piece_size ? m_hooks.piece_size() : 0;
    const size_t piece = asked ? asked : bytes.size();
    for (size_t at = 0; at < bytes.size(); at += piece) {
        if (at > 0) std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
        std::lock_guard lock(m_mutex);
        WriteLocked(Bytes(bytes.begin() + static_cast<ptrdiff_t>(at),
                          bytes.begin() + static_cast<ptrdiff_t>(std::min(bytes.size(), at + piece))));
    }
}

}  // namespace samplegateway
