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

CPollThread::CPollThread(CSystemRoster& owner) : m_owner(owner), m_thread([this] { Run(); }) {}

CPollThread::~CPollThread() { Stop(); }

void CPollThread::Stop() {
    AskToStop();
    if (m_thread.joinable()) m_thread.join();
}

void CPollThread::Run() {
    LowerOwnPriority();
    while (!m_stop.load()) {
        if (SystemPtr system = m_owner.TakeNextSystem()) {
            m_owner.RunRefresh(*system);
            m_owner.FinishRefresh(system.get());
        }
        if (m_stop.load()) break;
        platform::Sleep(kPollPauseMs);
    }
}
