#include "platform/termination.h"

#include <signal.h>

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

}  // namespace
