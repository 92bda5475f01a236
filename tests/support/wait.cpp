#include "wait.h"

#include <thread>

namespace testsupport {

bool WaitUntil(const std::function<bool()>& condition, const std::function<bool()>& step,
               std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        if (!step || !step())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

}  // namespace testsupport
