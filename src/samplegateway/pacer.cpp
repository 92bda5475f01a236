#include "samplegateway/pacer.h"

namespace samplegateway {

void Pacer::Add(Step step) {
    std::lock_guard lock(mutex_);
    steps_.push_back(std::move(step));
}

void Pacer::Run(uint32_t now_ms) {
    std::vector<Step> steps;
    {
        std::lock_guard lock(mutex_);
        steps = steps_;
    }
    for (const Step& step : steps) step(now_ms);
}

}  // namespace samplegateway
