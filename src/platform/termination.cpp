#include "platform/termination.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <exception>
#include <initializer_list>

namespace platform {
namespace {

void ExitOnSignal(int) { _exit(kFaultExitStatus); }
[[noreturn]] void ExitOnTerminate() { _exit(kFaultExitStatus); }

// Written from the handler: only async-signal-safe work there.
int g_write = -1;
struct sigaction g_previous[2];
constexpr int kSignals[2] = {SIGINT, SIGTERM};

void OnSignal(int) {
    const int saved = errno;
    const char byte = 1;
    // A full pipe already holds a wake-up; the byte is not needed then.
    [[maybe_unused]] const ssize_t written = write(g_write, &byte, 1);
    errno = saved;
}

}  // namespace

TerminationSignals::TerminationSignals() {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return;
    m_read = ends[0];
    g_write = ends[1];
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int i = 0; i < 2; ++i) sigaction(kSignals[i], &action, &g_previous[i]);
}

TerminationSignals::~TerminationSignals() {
    if (m_read < 0) return;
    for (int i = 0; i < 2; ++i) sigaction(kSignals[i], &g_previous[i], nullptr);
    close(g_write);
    close(m_read);
    g_write = -1;
}

bool TerminationSignals::Take() {
    bool came = false;
    char bytes[64];
    while (m_read >= 0 && read(m_read, bytes, sizeof bytes) > 0) came = true;
    return came;
}

void ExitOnFault() {
    std::set_terminate(ExitOnTerminate);
    struct sigaction action {};
    action.sa_handler = ExitOnSignal;
    sigemptyset(&action.sa_mask);
    for (int fault : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) sigaction(fault, &action, nullptr);
}

}  // namespace platform
