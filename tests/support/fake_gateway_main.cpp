// fake_gateway: serves the sample installation on a loopback port until it
// is interrupted, so that the programs can be tried by hand.
#include <csignal>
#include <cstdio>
#include <unistd.h>

#include "sample_installation.h"

namespace {
volatile std::sig_atomic_t g_stop = 0;
void Stop(int) { g_stop = 1; }
}  // namespace

int main() {
    std::signal(SIGINT, Stop);
    std::signal(SIGTERM, Stop);
    testsupport::FakeGateway gateway;
    testsupport::ServeSampleInstallation(gateway);
    std::printf("Sample gateway on 127.0.0.1 port %u\n", static_cast<unsigned>(gateway.Port()));
    std::fflush(stdout);
    while (!g_stop)
        pause();
    return 0;
}
