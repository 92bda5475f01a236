#include "fake_gateway.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>

#include "core/zvcode.h"
#include "loopback.h"

namespace testsupport {
namespace {

constexpr size_t kPreambleSize = sizeof kPreamble - 1;
constexpr int kPollMs = 5;

// Waits a little for the descriptor to become readable; true when it is.
bool Readable(int fd) {
    pollfd entry{fd, POLLIN, 0};
    return poll(&entry, 1, kPollMs) > 0;
}

}  // namespace

FakeGateway::FakeGateway() : FakeGateway(Options{}) {}

FakeGateway::FakeGateway(Options options) : options_(std::move(options)) {
    listener_ = ListenOnLoopback(&port_);
    thread_ = std::thread([this] { Run(); });
}

FakeGateway::~FakeGateway() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    thread_.join();
    close(listener_);
}

sockaddr_in FakeGateway::Address() const { return Loopback(port_); }

void FakeGateway::On(uint16_t request_id, Handler handler) {
    std::lock_guard lock(mutex_);
    script_[request_id] = std::move(handler);
}

void FakeGateway::Answer(uint16_t request_id, Bytes payload) {
    On(request_id, [request_id, payload](const Frame& request) {
        return std::vector<Frame>{{request.sender, static_cast<uint16_t>(request_id + 1), payload}};
    });
}

void FakeGateway::DropOn(uint16_t request_id) {
    std::lock_guard lock(mutex_);
    drop_on_.insert(request_id);
}

void FakeGateway::SplitAnswers(size_t piece_size) {
    std::lock_guard lock(mutex_);
    piece_size_ = piece_size;
}

void FakeGateway::PauseReading(bool paused) {
    std::lock_guard lock(mutex_);
    paused_ = paused;
}

bool FakeGateway::Push(uint16_t id, Bytes payload, uint16_t sender) {
    return PushFrames({{sender, id, std::move(payload)}});
}

bool FakeGateway::PushFrames(const std::vector<Frame>& frames) {
    std::vector<Bytes> images;
    for (const Frame& frame : frames)
        images.push_back(EncodeFrame(frame));
    return PushBytes(Join(images));
}

bool FakeGateway::PushBytes(const Bytes& bytes) {
    std::lock_guard lock(mutex_);
    return WriteLocked(bytes);
}

void FakeGateway::Drop() {
    {
        std::lock_guard lock(mutex_);
        if (client_ != -1)
            shutdown(client_, SHUT_RDWR);
    }
    WaitForDisconnect();
}

template <class Condition>
bool FakeGateway::WaitUntil(uint32_t real_ms, Condition condition) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(real_ms), condition);
}

bool FakeGateway::WaitForClient(uint32_t real_ms) {
    return WaitUntil(real_ms, [this] { return client_ != -1; });
}

bool FakeGateway::WaitForDisconnect(uint32_t real_ms) {
    return WaitUntil(real_ms, [this] { return client_ == -1; });
}

bool FakeGateway::WaitForRequest(uint16_t id, Frame* request, uint32_t real_ms) {
    std::unique_lock lock(mutex_);
    auto find = [&]() -> const Frame* {
        size_t skip = taken_[id];
        for (const Frame& frame : requests_)
            if (frame.id == id && skip-- == 0)
                return &frame;
        return nullptr;
    };
    if (!changed_.wait_for(lock, std::chrono::milliseconds(real_ms), [&] { return find() != nullptr; }))
        return false;
    if (request)
        *request = *find();
    ++taken_[id];
    return true;
}

std::vector<Frame> FakeGateway::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

std::vector<LoginRecord> FakeGateway::Logins() const {
    std::lock_guard lock(mutex_);
    return logins_;
}

std::vector<std::string> FakeGateway::Errors() const {
    std::lock_guard lock(mutex_);
    return errors_;
}

int FakeGateway::Connections() const {
    std::lock_guard lock(mutex_);
    return connections_;
}

bool FakeGateway::Connected() const {
    std::lock_guard lock(mutex_);
    return client_ != -1;
}

bool FakeGateway::Owes() const {
    std::lock_guard lock(owing_mutex_);
    if (serving_ == -1 || paused_)
        return false;
    int waiting = 0;
    return answering_ || (ioctl(serving_, FIONREAD, &waiting) == 0 && waiting > 0);
}

void FakeGateway::NoteError(const std::string& text) {
    std::lock_guard lock(mutex_);
    errors_.push_back(text);
    changed_.notify_all();
}

void FakeGateway::Run() {
    for (;;) {
        {
            std::lock_guard lock(mutex_);
            if (stopping_)
                return;
        }
        if (!Readable(listener_))
            continue;
        int fd = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        timeval limit{5, 0};  // a client that stops reading cannot hold the gateway forever
        setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
        {
            std::lock_guard lock(mutex_);
            client_ = fd;
            ++connections_;
            changed_.notify_all();
        }
        {
            std::lock_guard lock(owing_mutex_);
            serving_ = fd;
        }
        Serve(fd);
        std::lock_guard lock(mutex_);
        client_ = -1;
        {
            std::lock_guard owing(owing_mutex_);
            serving_ = -1;
            answering_ = false;
        }
        close(fd);
        changed_.notify_all();
    }
}

void FakeGateway::Serve(int fd) {
    Bytes stream;
    // Appends what the client sent; false once the connection ended or the gateway stops.
    // Everything read so far has been answered when it is called again.
    auto set_answering = [this](bool answering) {
        std::lock_guard lock(owing_mutex_);
        answering_ = answering;
    };
    auto read_more = [&]() {
        set_answering(false);
        for (;;) {
            {
                std::lock_guard lock(mutex_);
                if (stopping_)
                    return false;
            }
            if (paused_) {
                std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
                continue;
            }
            if (!Readable(fd))
                continue;
            set_answering(true);
            uint8_t buffer[65536];
            ssize_t got = recv(fd, buffer, sizeof buffer, 0);
            if (got <= 0)
                return false;
            stream.insert(stream.end(), buffer, buffer + got);
            return true;
        }
    };

    if (options_.expect_preamble) {
        while (stream.size() < kPreambleSize)
            if (!read_more())
                return;
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
        if (!read_more())
            return;
    }
}

bool FakeGateway::HandleFrame(const Frame& request, bool* challenge_asked) {
    Handler handler;
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
        changed_.notify_all();
        if (drop_on_.count(request.id))
            return false;
        auto entry = script_.find(request.id);
        if (entry != script_.end())
            handler = entry->second;
    }
    std::vector<Frame> answers = handler ? handler(request) : BuiltInAnswer(request, challenge_asked);
    if (!answers.empty()) {
        std::vector<Bytes> images;
        for (const Frame& answer : answers)
            images.push_back(EncodeFrame(answer));
        WriteAnswer(Join(images));
    }
    return true;
}

std::vector<Frame> FakeGateway::BuiltInAnswer(const Frame& request, bool* challenge_asked) {
    if (request.id == kGetChallengeRequest) {
        *challenge_asked = true;
        return {{request.sender, kGetChallengeAnswer, PayloadWriter().String(options_.challenge)}};
    }
    if (request.id != kLoginRequest)
        return {};
    LoginRecord login;
    PayloadReader reader(request.payload);
    login.after_challenge = *challenge_asked;
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
    if (!login.well_formed)
        NoteError("malformed login");
    Bytes expected(16, 0);
    if (login.after_challenge && options_.password) {
        const auto response = EncryptPasswordBlock(*options_.password, options_.challenge);
        expected.assign(response.begin(), response.end());
    }
    login.accepted = login.well_formed && !options_.reject_logins &&
                     (!login.after_challenge || !options_.password || login.response == expected);
    {
        std::lock_guard lock(mutex_);
        logins_.push_back(login);
        changed_.notify_all();
    }
    return {{request.sender, login.accepted ? kLoginAnswer : kLoginRejected, {}}};
}

bool FakeGateway::WriteLocked(const Bytes& bytes) {
    if (client_ == -1)
        return false;
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t sent = send(client_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        done += static_cast<size_t>(sent);
    }
    return true;
}

void FakeGateway::WriteAnswer(const Bytes& bytes) {
    size_t piece;
    {
        std::lock_guard lock(mutex_);
        piece = piece_size_ ? piece_size_ : bytes.size();
    }
    for (size_t at = 0; at < bytes.size(); at += piece) {
        if (at > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
        std::lock_guard lock(mutex_);
        WriteLocked(Bytes(bytes.begin() + static_cast<ptrdiff_t>(at),
                          bytes.begin() + static_cast<ptrdiff_t>(std::min(bytes.size(), at + piece))));
    }
}

}  // namespace testsupport
