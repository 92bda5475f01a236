// The pages of the sample house against a fake gateway on loopback: the home
// page built and painted from cached answers, and a full repaint of the main
// window, each beside the copy of one 800 x 600 screen frame. Prints the
// ratios it aims at: a full repaint within 20 frame copies, building and
// first paint of the home page within 100.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

#include "core/zvserver.h"
#include "fake_gateway.h"
#include "gfx/dibdc.h"
#include "platform/font.h"
#include "platform/program.h"
#include "platform/tabletwindow.h"
#include "ratio_collector.h"
#include "samplegateway/house.h"
#include "support/test_font.h"
#include "vistrel/home/homepages.h"
#include "vistrel/media/mediapages.h"
#include "vistrel/shell/homepage.h"
#include "vistrel/shell/mainwnd.h"
#include "widgets/window/toolkit.h"

namespace {

constexpr int kW = 800;
constexpr int kH = 600;

// The tablet's shell at 800 x 600, connected to the sample house.
class SampleHouseShell {
public:
    SampleHouseShell() {
        std::string error;
        if (std::optional<samplegateway::House> house = samplegateway::House::Load(ZV_SAMPLE_HOUSE, &error))
            samplegateway::Serve(gateway.Engine(), *house);
        else
            std::fprintf(stderr, "%s\n", error.c_str());
        server.SetGatewayAddress(gateway.Address());
        server.SetReconnect(1);
        connected = server.GetSocket()->Connect(gateway.Address(), 1, -1, 0, nullptr) &&
                    gateway.WaitForRequest(testsupport::kLoginRequest) && ReadLoginAnswer();
    }
    bool connected = false;
    testsupport::FakeGateway gateway;
    CZVServer server{ZVVariant::Tablet};
    CToolkit toolkit{server};
    platform::HeadlessWindow native{kW, kH};
    CMainWnd window{server, CZVRect(0, 0, kW, kH), 0, &native};

private:
    bool ReadLoginAnswer() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (server.GetSocket()->GetBytesReceived() == 0 || server.GetSocket()->HasData()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            server.PollAll(1);
        }
        return true;
    }
};

SampleHouseShell* g_shell = nullptr;

// A home page in the main window's page area, built and painted.
CHomePage* BuildHomePage() {
    auto* page = new CHomePage(&g_shell->window, g_shell->window.GetPageArea());
    g_shell->window.AddChild(page);
    page->Paint(nullptr, 1);
    return page;
}

void DropPage(CHomePage* page) {
    g_shell->window.RemoveChild(page);
    delete page;
    // What the gateway sent while the page waited for its own answers, as the
    // program's idle pass takes it between two visits: left waiting, it would
    // pile up over the runs and slow every later wait that looks through it.
    while (g_shell->server.GetHeldBackCount() > 0) g_shell->server.PollAll(0);
}

void FrameCopy(benchmark::State& state) {
    CDibDC from(kW, kH, 0, 0, 0), to(kW, kH, 0, 0, 0);
    from.FillRect(MakeColor(40, 70, 110), 0, 0, kW, kH, 0);
    for (auto _ : state) {
        to.BitBlt(0, 0, &from, 0, 0, kW, kH);
        benchmark::ClobberMemory();
    }
}

void HomePageBuildAndPaint(benchmark::State& state) {
    DropPage(BuildHomePage());  // the answers into the cache
    for (auto _ : state) DropPage(BuildHomePage());
}

void FullRepaint(benchmark::State& state) {
    CHomePage* page = BuildHomePage();
    for (auto _ : state) {
        g_shell->window.PaintAll();
        benchmark::ClobberMemory();
    }
    DropPage(page);
}

BENCHMARK(FrameCopy);
BENCHMARK(HomePageBuildAndPaint)->UseRealTime();
BENCHMARK(FullRepaint)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    char folder[] = "/tmp/page_bench.XXXXXX";
    if (!mkdtemp(folder)) return 1;
    setenv("ZAVORO_CONFIG_DIR", folder, 1);
    setenv("ZAVORO_DATA_DIR", folder, 1);
    platform::SetProgramName("vistrel");
    platform::PinFontFile(testsupport::kTestFontFile);
    // Every control of the sample house's home page, as the program builds it.
    RegisterHomePages();
    RegisterMediaPages();
    SampleHouseShell shell;
    if (!shell.connected) {
        std::fprintf(stderr, "no connection to the sample house\n");
        return 1;
    }
    g_shell = &shell;
    benchmark::Initialize(&argc, argv);
    Collector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);
    const double frame = collector.times["FrameCopy"];
    if (frame <= 0) return 0;
    const struct {
        const char* name;
        double aim;
    } aims[] = {{"FullRepaint/real_time", 20}, {"HomePageBuildAndPaint/real_time", 100}};
    std::printf("\n");
    for (const auto& aim : aims) {
        const auto found = collector.times.find(aim.name);
        if (found == collector.times.end()) continue;
        const double ratio = found->second / frame;
        std::printf("%-32s %8.1f frame copies (aim %.0f)%s\n", aim.name, ratio, aim.aim,
                    ratio <= aim.aim ? "" : "  MISSED");
    }
    g_shell = nullptr;
    return 0;
}
