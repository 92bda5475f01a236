#include "samplegateway/pool.h"

#include <array>
#include <memory>
#include <mutex>
#include <optional>

#include "core/messages/coremessages.h"
#include "samplegateway/gateway.h"
#include "samplegateway/house.h"
#include "samplegateway/requestvalues.h"

namespace samplegateway {

namespace {

constexpr size_t kStateColumn = 1;
constexpr const char* kBodyNames[] = {"pool", "spa"};

// The house whose status the writes change, and the sink to tell.
class PoolState {
public:
    explicit PoolState(const House& house) : m_house(house) {}

    std::vector<Frame> Status(uint16_t to, uint16_t id) {
        std::lock_guard lock(m_mutex);
        return {{to, id, m_house.Payload(ZVM_POOL_GETSTATUSQ)}};
    }
    void Subscribe(std::optional<uint16_t> sink) {
        std::lock_guard lock(m_mutex);
        m_subscriber = sink;
    }
    // Changes the status without telling anyone.
    template <class Set>
    void Keep(Set set) {
        std::lock_guard lock(m_mutex);
        set(m_house);
    }
    // A notice for the subscriber, when there is one.
    std::vector<Frame> Notify(uint16_t id, Bytes payload) {
        std::lock_guard lock(m_mutex);
        if (!m_subscriber) return {};
        return {{*m_subscriber, id, std::move(payload)}};
    }
    // Changes the status with set and pushes it to the subscriber.
    template <class Set>
    std::vector<Frame> Change(Set set) {
        std::lock_guard lock(m_mutex);
        if (!set(m_house) || !m_subscriber) return {};
        return {{*m_subscriber, ZVM_POOL_STATUSCHANGED, m_house.Payload(ZVM_POOL_GETSTATUSQ)}};
    }

private:
    std::mutex m_mutex;
    House m_house;
    std::optional<uint16_t> m_subscriber;
};

// The body's named value: m_pool<what> or m_spa<what>; empty outside 0..1.
std::string BodyValue(int32_t body, const char* what) {
    if (body != 0 && body != 1) return {};
    return std::string(kBodyNames[body]) + "_" + what;
}

// ---- the pool lights

constexpr size_t kColorSetColumn = 2;  // then the position and the delay
constexpr int32_t kFirstProgressCommand = 2;
constexpr int32_t kProgress = 5;
constexpr int32_t kProgressTotal = 20;

void ServePoolLights(Gateway& gateway, const std::shared_ptr<PoolState>& state) {
    gateway.On(ZVM_POOL_SETLIGHTCOLOR, [state](const Frame& request) -> std::vector<Frame> {
        // {controller, circuit, colour set, position, delay}: kept, so that a reopened tab shows them
        const auto values = LeadingInts<5>(request);
        if (!values) return {{request.sender, static_cast<uint16_t>(ZVM_POOL_SETLIGHTCOLOR + 1), {}}};
        const int32_t id = (*values)[1];
        state->Keep([&](House& h) {
            for (size_t i = 0; i < 3; ++i)
                h.SetRecordField("circuit_states", id, kColorSetColumn + i, int64_t{(*values)[2 + i] & 0xFF});
        });
        return {{request.sender, static_cast<uint16_t>(ZVM_POOL_SETLIGHTCOLOR + 1), {}}};
    });
    gateway.On(ZVM_POOL_LIGHTCOMMAND, [state](const Frame& request) -> std::vector<Frame> {
        // {controller, command}: a command that runs a while reports its progress
        const auto values = LeadingInts<2>(request);
        if (!values || (*values)[1] < kFirstProgressCommand) return {};
        PayloadWriter out;
        out.Int((*values)[1]).Int(kProgress).Int(kProgressTotal).String("Synchronizing...");
        return state->Notify(ZVM_POOL_SUBPAGEUPDATE, out.Data());
    });
}

}  // namespace

void ServePool(Gateway& gateway, const House& house) {
    auto state = std::make_shared<PoolState>(house);
    gateway.On(ZVM_POOL_GETSTATUSQ,
               [state](const Frame& request) { return state->Status(request.sender, ZVM_POOL_GETSTATUSQ + 1); });
    gateway.On(ZVM_POOL_SUBSCRIBE, [state](const Frame& request) -> std::vector<Frame> {
        // {controller, sink}
        if (const auto values = LeadingInts<2>(request)) state->Subscribe(static_cast<uint16_t>((*values)[1]));
        return {};
    });
    gateway.On(ZVM_POOL_UNSUBSCRIBE, [state](const Frame&) -> std::vector<Frame> {
        state->Subscribe(std::nullopt);
        return {};
    });
    gateway.On(ZVM_POOL_SETCIRCUIT, [state](const Frame& request) -> std::vector<Frame> {
        // {controller, circuit, on}
        const auto values = LeadingInts<3>(request);
        if (!values) return {};
        const int32_t id = (*values)[1];
        // A dimmer's level is its state as it is.
        const int64_t level = (*values)[2];
        return state->Change([&](House& h) { return h.SetRecordField("circuit_states", id, kStateColumn, level); });
    });
    ServePoolLights(gateway, state);
    gateway.On(ZVM_POOL_SETREMOTESENABLEDQ, [state](const Frame& request) {
        // {controller, enabled}: answered, and the status follows.
        std::vector<Frame> frames = {{request.sender, ZVM_POOL_SETREMOTESENABLEDQ + 1, {}}};
        if (const auto values = LeadingInts<2>(request)) {
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
            const auto values = LeadingInts<3>(request);
            if (!values) return {};
            const std::string name = BodyValue((*values)[1], what);
            const int64_t value = (*values)[2];
            return state->Change([&](House& h) { return !name.empty() && h.Set(name, value); });
        });
}

}  // namespace samplegateway
