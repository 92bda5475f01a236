#include "samplegateway/pacer.h"

namespace samplegateway {

void Pacer::Add(Step step) {
    std::lock_guard lock(m_mutex);
    m_steps.push_back(std::move(step));
}

void Pacer::Run(uint32_t now_ms) {
    std::vector<Step> steps;
    {
        std::lock_guard lock(m_mutex);
        steps = m_steps;
    }
    for (const Step& step : steps) step(now_ms);
}

}  // namespace samplegateway
