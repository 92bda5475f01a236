#include "samplegateway/pool.h"

#include <array>
#include <memory>
#include <mutex>
#include <optional>

#include "core/messages/coremessages.h"
#include "samplegateway/gateway.h"
#include "samplegateway/house.h"

namespace samplegateway {

namespace {

constexpr size_t kStateColumn = 1;
constexpr const char* kBodyNames[] = {"pool", "spa"};

// The house whose status the writes change, and the sink to tell.
class PoolState {
public:
    explicit PoolState(const House& house) : house_(house) {}

    std::vector<Frame> Status(uint16_t to, uint16_t id) {
        std::lock_guard lock(mutex_);
        return {{to, id, house_.Payload(ZVM_POOL_GETSTATUSQ)}};
    }
    void Subscribe(std::optional<uint16_t> sink) {
        std::lock_guard lock(mutex_);
        subscriber_ = sink;
    }
    // Changes the status with set and pushes it to the subscriber.
    template <class Set>
    std::vector<Frame> Change(Set set) {
        std::lock_guard lock(mutex_);
        if (!set(house_) || !subscriber_) return {};
        return {{*subscriber_, ZVM_POOL_STATUSCHANGED, house_.Payload(ZVM_POOL_GETSTATUSQ)}};
    }

private:
    std::mutex mutex_;
    House house_;
    std::optional<uint16_t> subscriber_;
};

// The request's first N values; nothing when it is short.
template <size_t N>
std::optional<std::array<int32_t, N>> Values(const Frame& request) {
    PayloadReader in(request.payload);
    std::array<int32_t, N> values{};
    for (int32_t& value : values)
        if (!in.Int(&value)) return std::nullopt;
    return values;
}

// The body's named value: pool_<what> or spa_<what>; empty outside 0..1.
std::string BodyValue(int32_t body, const char* what) {
    if (body != 0 && body != 1) return {};
    return std::string(kBodyNames[body]) + "_" + what;
}

}  // namespace

void ServePool(Gateway& gateway, const House& house) {
    auto state = std::make_shared<PoolState>(house);
    gateway.On(ZVM_POOL_GETSTATUSQ,
               [state](const Frame& request) { return state->Status(request.sender, ZVM_POOL_GETSTATUSQ + 1); });
    gateway.On(ZVM_POOL_SUBSCRIBE, [state](const Frame& request) -> std::vector<Frame> {
        // {controller, sink}
        if (const auto values = Values<2>(request)) state->Subscribe(static_cast<uint16_t>((*values)[1]));
        return {};
    });
    gateway.On(ZVM_POOL_UNSUBSCRIBE, [state](const Frame&) -> std::vector<Frame> {
        state->Subscribe(std::nullopt);
        return {};
    });
    gateway.On(ZVM_POOL_SETCIRCUIT, [state](const Frame& request) -> std::vector<Frame> {
        // {controller, circuit, on}
        const auto values = Values<3>(request);
        if (!values) return {};
        const int32_t id = (*values)[1];
        const int64_t on = (*values)[2] != 0 ? 1 : 0;
        return state->Change([&](House& h) { return h.SetRecordField("circuit_states", id, kStateColumn, on); });
    });
    gateway.On(ZVM_POOL_SETREMOTESENABLEDQ, [state](const Frame& request) {
        // {controller, enabled}: answered, and the status follows.
        std::vector<Frame> frames = {{request.sender, ZVM_POOL_SETREMOTESENABLEDQ + 1, {}}};
        if (const auto values = Values<2>(request)) {
            const int64_t on = (*values)[1] != 0 ? 1 : 0;
            for (Frame& push : state->Change([&](House& h) { return h.Set("remotes_enabled", on); }))
                frames.push_back(std::move(push));
        }
        return frames;
    });
    gateway.On(ZVM_POOL_CANCELDELAYSQ, [state](const Frame& request) {
        std::vector<Frame> frames = {{request.sender, ZVM_POOL_CANCELDELAYSQ + 1, {}}};
        for (Frame& push : state->Change([](House& h) {
                 return h.Set("pool_off_delay", int64_t{0}) && h.Set("spa_off_delay", int64_t{0}) &&
                        h.Set("cleaner_delay", int64_t{0});
             }))
            frames.push_back(std::move(push));
        return frames;
    });
    for (const auto& [id, what] :
         {std::pair{ZVM_POOL_SETSETPOINT, "set_point"}, std::pair{ZVM_POOL_SETHEATMODE, "heat_mode"}})
        gateway.On(id, [state, what = what](const Frame& request) -> std::vector<Frame> {
            // {controller, body, value}
            const auto values = Values<3>(request);
            if (!values) return {};
            const std::string name = BodyValue((*values)[1], what);
            const int64_t value = (*values)[2];
            return state->Change([&](House& h) { return !name.empty() && h.Set(name, value); });
        });
}

}  // namespace samplegateway
