#include "fake_gateway.h"

#include <chrono>

namespace testsupport {

FakeGateway::FakeGateway() : FakeGateway(Options{}) {}

FakeGateway::FakeGateway(Options options)
    : m_engine(std::move(options), {.on_request = [this](const Frame& request) { return Record(request); },
                                    .paused = [this] { return m_paused.load(); },
                                    .piece_size = [this] { return m_pieceSize.load(); }}) {}

void FakeGateway::DropOn(uint16_t request_id) {
    std::lock_guard lock(m_mutex);
    m_dropOn.insert(request_id);
}

bool FakeGateway::Record(const Frame& request) {
    std::lock_guard lock(m_mutex);
    m_requests.push_back(request);
    m_changed.notify_all();
    return m_dropOn.count(request.id) == 0;
}

bool FakeGateway::WaitForRequest(uint16_t id, Frame* request, uint32_t real_ms) {
    std::unique_lock lock(m_mutex);
    auto find = [&]() -> const Frame* {
        size_t skip = m_taken[id];
        for (const Frame& frame : m_requests)
            if (frame.id == id && skip-- == 0) return &frame;
        return nullptr;
    };
    if (!m_changed.wait_for(lock, std::chrono::milliseconds(real_ms), [&] { return find() != nullptr; })) return false;
    if (request) *request = *find();
    ++m_taken[id];
    return true;
}

std::vector<Frame> FakeGateway::Requests() const {
    std::lock_guard lock(m_mutex);
    return m_requests;
}

std::vector<Frame> FakeGateway::RequestsOf(uint16_t id) const {
    std::vector<Frame> frames;
    for (const Frame& frame : Requests())
        if (frame.id == id) frames.push_back(frame);
    return frames;
}

std::vector<Bytes> FakeGateway::PayloadsOf(uint16_t id) const {
    std::vector<Bytes> payloads;
    for (const Frame& frame : RequestsOf(id)) payloads.push_back(frame.payload);
    return payloads;
}

}  // namespace testsupport
