// samplegateway: serves the sample house on a loopback port until it is interrupted, so that
// the programs can be tried by hand.
//
//   samplegateway [--house <file>] [--style plain|themed|compact] [--home full|cameras|climate]
//                 [--update <program file>]
//
// Without --house the house file is samplehouse.ini beside the program, else the one in the
// installation's share/zavoro. The style is the tablet's look: the built-in unthemed one by
// default, the themed one, or the compact one with its skin picture. --update offers the file
// as the tablet's new program. --home cameras shows the cameras' home page in place of the full
// one. Typed on standard input: "update" asks the tablet to update
// itself, "web <url>" opens its web page on the address.
#include <pthread.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "platform/process.h"
#include "samplegateway/cues.h"
#include "samplegateway/gateway.h"
#include "samplegateway/house.h"
#include "samplegateway/pacer.h"
#include "samplegateway/poolequipment.h"
#include "samplegateway/style.h"

namespace {

constexpr char kHouseFile[] = "samplehouse.ini";
constexpr auto kPacerStep = std::chrono::milliseconds(10);

std::string FindHouseFile() {
    const std::string beside = platform::GetExecutableDirectory() + "/" + kHouseFile;
    return access(beside.c_str(), R_OK) == 0 ? beside : std::string(ZV_SHARE_DIR) + "/" + kHouseFile;
}

}  // namespace

int main(int argc, char** argv) {
    std::string path;
    std::string update;
    std::optional<samplegateway::Style> style;
    // A home page in place of the full one: the switch that shows it, and what it is called.
    std::string homeSwitch;
    std::string homeName;
    bool valid = true;
    for (int i = 1; i < argc && valid; i += 2) {
        const std::string_view option = argv[i];
        if (i + 1 >= argc ||
            (option != "--house" && option != "--style" && option != "--update" && option != "--home")) {
            valid = false;
        } else if (option == "--home") {
            const std::string_view home = argv[i + 1];
            if (home == "cameras") {
                homeSwitch = "camera_home";
                homeName = "cameras'";
            } else if (home == "climate") {
                homeSwitch = "climate_home";
                homeName = "climate";
            } else {
                valid = home == "full";
            }
        } else if (option == "--update") {
            update = argv[i + 1];
        } else if (option == "--house") {
            path = argv[i + 1];
        } else {
            style = samplegateway::StyleNamed(argv[i + 1]);
            valid = style.has_value();
        }
    }
    if (!valid) {
        std::fprintf(
            stderr,
            "usage: samplegateway [--house <file>] [--style plain|themed|compact] [--home full|cameras|climate] "
            "[--update <file>]\n");
        return 2;
    }
    if (path.empty()) path = FindHouseFile();
    std::string error;
    std::optional<samplegateway::House> house = samplegateway::House::Load(path, &error);
    if (!house) {
        std::fprintf(stderr, "samplegateway: %s\n", error.c_str());
        return 1;
    }
    // The running gateway shows its pool equipment: the chlorinator and two pumps (a house file
    // without the tablet's equipment flags is served as it is).
    house->Set("tablet_equipment", samplegateway::kSampleEquipment);
    if (!homeSwitch.empty() && !(house->SetSwitch(homeSwitch, true) && house->SetSwitch("full_home", false))) {
        std::fprintf(stderr, "samplegateway: %s has no %s home page\n", path.c_str(), homeName.c_str());
        return 1;
    }
    if (style && !samplegateway::ApplyStyle(*house, *style)) {
        std::fprintf(stderr, "samplegateway: %s has no style answer to change\n", path.c_str());
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
    const std::shared_ptr<samplegateway::Pacer> pacer = samplegateway::Serve(gateway, *house);
    samplegateway::ServeSkinPicture(gateway);
    if (!update.empty() && !samplegateway::OfferProgramUpdate(gateway, update)) {
        std::fprintf(stderr, "samplegateway: cannot read %s\n", update.c_str());
        return 1;
    }
    // Streams and late answers, in real time.
    std::thread([pacer] {
        const auto start = std::chrono::steady_clock::now();
        for (;;) {
            const auto elapsed = std::chrono::steady_clock::now() - start;
            pacer->Run(static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()));
            std::this_thread::sleep_for(kPacerStep);
        }
    }).detach();
    // Commands typed on standard input, read by a thread of their own until the input ends.
    std::thread([&gateway] {
        for (std::string line; std::getline(std::cin, line);)
            if (!samplegateway::RunCue(gateway, line))
                std::fprintf(stderr, "samplegateway: no cue \"%s\"\n", line.c_str());
    }).detach();
    std::printf("Sample gateway on 127.0.0.1 port %u\n", static_cast<unsigned>(gateway.Port()));
    std::fflush(stdout);
    int signal = 0;
    sigwait(&stop, &signal);
    // Ends without unwinding, so that the typing thread never outlives the gateway it uses.
    std::fflush(stdout);
    std::_Exit(0);
}
