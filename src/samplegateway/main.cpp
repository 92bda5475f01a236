// samplegateway: serves the sample house on a loopback port until it is interrupted, so that
// the programs can be tried by hand.
//
//   samplegateway [--house <file>]
//
// Without --house the house file is samplehouse.ini beside the program, else the one in the
// installation's share/zavoro.
#include <pthread.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "platform/process.h"
#include "samplegateway/gateway.h"
#include "samplegateway/house.h"

namespace {

constexpr char kHouseFile[] = "samplehouse.ini";

std::string FindHouseFile() {
    const std::string beside = platform::GetExecutableDirectory() + "/" + kHouseFile;
    return access(beside.c_str(), R_OK) == 0 ? beside : std::string(ZV_SHARE_DIR) + "/" + kHouseFile;
}

}  // namespace

int main(int argc, char** argv) {
    std::string path;
    if (argc == 3 && std::string_view(argv[1]) == "--house") {
        path = argv[2];
    } else if (argc != 1) {
        std::fprintf(stderr, "usage: samplegateway [--house <file>]\n");
        return 2;
    } else {
        path = FindHouseFile();
    }
    std::string error;
    const std::optional<samplegateway::House> house = samplegateway::House::Load(path, &error);
    if (!house) {
        std::fprintf(stderr, "samplegateway: %s\n", error.c_str());
        return 1;
    }
    // An interrupt is waited for, not handled: blocked here, before the gateway's thread
    // starts, so that only sigwait takes it.
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGINT);
    sigaddset(&stop, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stop, nullptr);
    samplegateway::Gateway gateway;
    if (!gateway.Listening()) {
        std::fprintf(stderr, "samplegateway: no loopback port to listen on\n");
        return 1;
    }
    samplegateway::Serve(gateway, *house);
    std::printf("Sample gateway on 127.0.0.1 port %u\n", static_cast<unsigned>(gateway.Port()));
    std::fflush(stdout);
    int signal = 0;
    sigwait(&stop, &signal);
    return 0;
}
