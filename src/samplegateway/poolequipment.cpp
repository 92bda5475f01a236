#include "samplegateway/poolequipment.h"

#include <array>
#include <memory>
#include <mutex>
#include <string>

#include "core/messages/coremessages.h"
#include "samplegateway/gateway.h"
#include "samplegateway/house.h"
#include "samplegateway/requestvalues.h"

namespace samplegateway {

namespace {

// The house whose equipment values the writes change.
class EquipmentState {
public:
    explicit EquipmentState(const House& house) : m_house(house) {}

    std::vector<Frame> Respond(const Frame& request) {
        std::lock_guard lock(m_mutex);
        return m_house.Respond(request);
    }
    // Writes the request's values {controller, ...} into the named values that
    // name() gives for each; nothing when the request is short.
    template <size_t N, class Write>
    void Store(const Frame& request, Write write) {
        const auto values = LeadingInts<N>(request);
        if (!values) return;
        std::lock_guard lock(m_mutex);
        write(m_house, *values);
    }

private:
    std::mutex m_mutex;
    House m_house;
};

}  // namespace

void ServePoolEquipment(Gateway& gateway, const House& house) {
    auto state = std::make_shared<EquipmentState>(house);
    for (uint16_t id : {ZVM_POOL_GETCHLORINATORQ, ZVM_POOL_GETPUMPQ})
        gateway.On(id, [state](const Frame& request) { return state->Respond(request); });
    gateway.On(ZVM_POOL_SETCHLORINATOR, [state](const Frame& request) -> std::vector<Frame> {
        // {controller, pool %, spa %, super-chlorinate, hours}
        state->Store<5>(request, [](House& h, const std::array<int32_t, 5>& v) {
            h.Set("chlorinator_pool", int64_t{v[1]});
            h.Set("chlorinator_spa", int64_t{v[2]});
            if (v[3] == 1) h.Set("chlorinator_super", int64_t{v[4]});
        });
        return {};
    });
    gateway.On(ZVM_POOL_SETPUMPSPEED, [state](const Frame& request) -> std::vector<Frame> {
        // {controller, pump, slot, value}; only the house's used slots are kept.
        state->Store<4>(request, [](House& h, const std::array<int32_t, 4>& v) {
            h.Set("pump" + std::to_string(v[1]) + "_preset" + std::to_string(v[2]), int64_t{v[3]});
        });
        return {};
    });
}

}  // namespace samplegateway
