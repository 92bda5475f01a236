#include "platform/termination.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>
#include <thread>

#include <gtest/gtest.h>

namespace {

bool HandlerIs(int signal, void (*handler)(int)) {
    struct sigaction current = {};
    sigaction(signal, nullptr, &current);
    return current.sa_handler == handler;
}

TEST(TerminationSignals, EachSignalWakesTheDescriptorOnceAndTheOldHandlersComeBack) {
    for (int signal : {SIGINT, SIGTERM}) {
        {
            platform::TerminationSignals signals;
            ASSERT_GE(signals.GetDescriptor(), 0);
            EXPECT_FALSE(signals.Take());
            raise(signal);
            raise(signal);
            EXPECT_TRUE(signals.Take()) << signal;
            EXPECT_FALSE(signals.Take()) << "taken once";
        }
        EXPECT_TRUE(HandlerIs(signal, SIG_DFL)) << signal;
    }
}

// A fault ends the program with status 255, whatever the fault.
TEST(ExitOnFault, EveryFaultEndsTheProcessWithStatus255) {
    const int faults[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, 0};
    for (int fault : faults) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            platform::ExitOnFault();
            if (fault) raise(fault);
            // 0: an exception that nothing catches (off the test's own thread, where the test
            // framework would catch it).
            std::thread([] { throw std::runtime_error("not caught"); }).join();
            _exit(0);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status)) << fault;
        EXPECT_EQ(WEXITSTATUS(status), platform::kFaultExitStatus) << fault;
    }
}

}  // namespace
