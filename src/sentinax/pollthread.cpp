#include "sentinax/pollthread.h"

#include <sys/resource.h>
#include <unistd.h>

#include "platform/clock.h"
#include "sentinax/systemroster.h"

namespace {

// The weakest claim on the processor that an unprivileged thread can take,
// so that the user interface stays responsive. Linux sets the nice value of
// one thread with its thread id; a refusal leaves the thread as it is.
void LowerOwnPriority() {
    constexpr int kLowestNice = 19;
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kLowestNice);
}

}  // namespace

CPollThread::CPollThread(CSystemRoster& owner) : owner_(owner), thread_([this] { Run(); }) {}

CPollThread::~CPollThread() { Stop(); }

void CPollThread::Stop() {
    AskToStop();
    if (thread_.joinable())
        thread_.join();
}

void CPollThread::Run() {
    LowerOwnPriority();
    while (!stop_.load()) {
        if (SystemPtr system = owner_.TakeNextSystem()) {
            owner_.RunRefresh(*system);
            owner_.FinishRefresh(system.get());
        }
        if (stop_.load())
            break;
        platform::Sleep(kPollPauseMs);
    }
}
