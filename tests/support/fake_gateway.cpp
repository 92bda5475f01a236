#include "fake_gateway.h"

#include <chrono>

namespace testsupport {

FakeGateway::FakeGateway() : FakeGateway(Options{}) {}

FakeGateway::FakeGateway(Options options)
    : engine_(std::move(options), {.on_request = [this](const Frame& request) { return Record(request); },
                                   .paused = [this] { return paused_.load(); },
                                   .piece_size = [this] { return piece_size_.load(); }}) {}

void FakeGateway::DropOn(uint16_t request_id) {
    std::lock_guard lock(mutex_);
    drop_on_.insert(request_id);
}

bool FakeGateway::Record(const Frame& request) {
    std::lock_guard lock(mutex_);
    requests_.push_back(request);
    changed_.notify_all();
    return drop_on_.count(request.id) == 0;
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

}  // namespace testsupport
