#pragma once
// Waiting, in real time and bounded, for what another thread or process does.
#include <chrono>
#include <cstdint>
#include <functional>

namespace testsupport {

// How long a test waits for another thread or process before it gives up. It only
// bounds a hang: a passing test never waits this long, so it is generous enough for a
// machine loaded many times over (sanitizers, every core busy with other tests).
inline constexpr std::chrono::milliseconds kWaitLimit{30000};
// The same limit in the milliseconds of the fakes' waits.
inline constexpr uint32_t kWaitLimitMs = static_cast<uint32_t>(kWaitLimit.count());

// Checks the condition until it holds, running the step between checks. The step drives
// what can make the condition true (a poll, a timer tick) and says whether it did any
// work; after one that did none (or without a step) the wait pauses a millisecond.
// False when the condition still fails once the limit of real time has passed.
bool WaitUntil(const std::function<bool()>& condition, const std::function<bool()>& step = {},
               std::chrono::milliseconds limit = kWaitLimit);

}  // namespace testsupport
