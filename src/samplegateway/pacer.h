#pragma once
// What the sample gateway sends of its own accord as time passes (streams, announcements,
// answers that come late): each module that sends so adds a step, and every step is given the
// time. The program runs the pacer on a thread in real time; tests step it on the virtual clock.
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

namespace samplegateway {

class Pacer {
public:
    // Given the time in milliseconds from any fixed start; never goes back.
    using Step = std::function<void(uint32_t now_ms)>;

    void Add(Step step);
    // Runs every step with the time.
    void Run(uint32_t now_ms);

private:
    mutable std::mutex m_mutex;
    std::vector<Step> m_steps;
};

}  // namespace samplegateway
