#include "vistrel/shell/tabletmain.h"

#include <dirent.h>

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <fstream>

#include "av/audioplayer.h"
#include "core/messages/shellmessages.h"
#include "core/zvquery.h"
#include "core/zvsock.h"
#include "gfx/zvregistry.h"
#include "platform/clock.h"
#include "platform/process.h"
#include "platform/socket.h"
#include "vistrel/shell/loginpage.h"
#include "vistrel/shell/mainwnd.h"
#include "vistrel/shell/singleinstance.h"
#include "vistrel/shell/updatepage.h"
#include "vistrel/shell/webviewer.h"
#include "widgets/style/setserver.h"
#include "widgets/window/toolkit.h"

namespace {

std::string g_title;

constexpr uint32_t kHandOverTime = 5000;  // ms a parent has to hand its connection over

// The first network adapter's hardware address as "%02X-%02X-...", or
// empty; the loopback and adapters without an address are skipped.
std::string ReadClientId() {
    std::vector<std::string> names;
    if (DIR* dir = opendir("/sys/class/net")) {
        while (dirent* entry = readdir(dir))
            if (entry->d_name[0] != '.' && std::string(entry->d_name) != "lo") names.emplace_back(entry->d_name);
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        std::ifstream file("/sys/class/net/" + name + "/address");
        std::string text;
        unsigned b[6];
        if (!std::getline(file, text) ||
            std::sscanf(text.c_str(), "%2x:%2x:%2x:%2x:%2x:%2x", &b[0], &b[1], &b[2], &b[3], &b[4], &b[5]) != 6)
            continue;
        if ((b[0] | b[1] | b[2] | b[3] | b[4] | b[5]) == 0) continue;
        char id[18];
        std::snprintf(id, sizeof(id), "%02X-%02X-%02X-%02X-%02X-%02X", b[0], b[1], b[2], b[3], b[4], b[5]);
        return id;
    }
    return {};
}

uint16_t ReadDefaultPort() {
    int port = 0;
    CZVRegistry registry("ProgramDefaults");
    if (registry.Open(true) && registry.ReadDword("BasePort", &port) && port > 0 && port <= 65535)
        return static_cast<uint16_t>(port);
    return 80;
}

int TakeHandedSocket(const CTabletOptions& options) {
    if (options.socketHandle >= 0) return platform::AdoptInheritedSocket(options.socketHandle);
    if (!options.socketFile.empty()) return platform::ReceiveHandedSocket(options.socketFile, kHandOverTime);
    return -1;
}

// The parent's connection counts only when the gateway answers on it. It is
// ours either way, so one that does not count is closed.
bool AdoptSocket(CZVServer& server, int handle) {
    if (server.GetSocket()->Attach(handle)) {
        CZVQuery query(server);
        CZVMSG request(0, ZVM_SYSCONFIG_GETVERSIONQ);
        CZVMSG* answer = nullptr;
        if (query.Query(&answer, &request)) return true;
        server.GetSocket()->Attach(-1);
    }
    std::fprintf(stderr, "VISTREL: Failed to Execute ZVM_SYSCONFIG_GETVERSIONQ on Socket 0x%08X\n",
                 static_cast<unsigned>(handle));
    platform::CloseSocket(handle);
    return false;
}

// A password handed over on a descriptor (a self-update's restart) is read
// to its end, at most a switch value's length, and the descriptor closed.
void ReadHandedPassword(CTabletOptions& options) {
    if (options.passwordDescriptor < 0 || options.passwordDescriptor > INT_MAX) return;
    const int fd = static_cast<int>(options.passwordDescriptor);
    char text[kSwitchValueLimit];
    size_t held = 0;
    ssize_t got;
    while (held < sizeof text && (got = read(fd, text + held, sizeof text - held)) > 0)
        held += static_cast<size_t>(got);
    close(fd);
    options.password.assign(text, held);
}

// Returns whether a connection handed over by a parent is in use. A direct
// login announces the client type of the screen's layout.
bool Connect(CZVServer& server, const CTabletOptions& options) {
    const int handle = TakeHandedSocket(options);
    if (handle != -1 && AdoptSocket(server, handle)) return true;
    if (options.address != 0)
        server.ConnectLocal(options.address, options.port, server.DefaultClientType());
    else
        server.Rediscover();
    return false;
}

// A full-size window on a tablet's own screen is shown full screen, at the
// screen's size unless the command line gave a height.
void ApplyFullScreenRule(CTabletOptions& options, int screenWidth, int screenHeight) {
    if (HasMarquelTitle()) return;
    const bool tabletScreen = screenWidth == 800 && (screenHeight == 600 || screenHeight == 480);
    const bool fills = options.width >= screenWidth || options.height >= screenHeight;
    if (!(fills && tabletScreen) && !(options.windowFlags & kWindowFullScreen)) return;
    options.windowFlags |= kWindowFullScreen;
    if (options.windowFlags & kWindowHeightGiven) return;
    if (screenWidth > 0 && screenHeight > 0 && screenWidth <= kWindowSideLimit && screenHeight <= kWindowSideLimit) {
        options.width = screenWidth;
        options.height = screenHeight;
    }
}

}  // namespace

const std::string& GetTitle() { return g_title; }
void SetTitle(const std::string& title) { g_title = title.substr(0, kTitleLimit); }
bool HasMarquelTitle() { return g_title.find("Marquel") != std::string::npos; }

std::string ProgramVersionText() {
    char text[48];
    std::snprintf(text, sizeof text, "%d.%d.%d.%d", kProgramVersion[0], kProgramVersion[1], kProgramVersion[2],
                  kProgramVersion[3]);
    return text;
}

VersionCheck CheckProgramVersion(CZVServer& server, int layoutType) {
    constexpr int32_t kVersionKind = 2;
    CSetServer* style = CSetServer::Get();
    if (HasMarquelTitle() || !style || !style->IsThemed()) return VersionCheck::kCurrent;
    if (!server.IsConnected()) return VersionCheck::kUnknown;
    CZVQuery query(server);
    CZVMSG* answer = nullptr;
    std::string offered;
    if (!query.QueryAnswer2(&answer, ZVM_SYSCONFIG_CHECKVERSIONQ, layoutType, kVersionKind) || !answer ||
        !answer->ReadString(offered))
        return VersionCheck::kUnknown;
    return offered == ProgramVersionText() ? VersionCheck::kCurrent : VersionCheck::kUpdate;
}

int PickByScreenHeight(int threshold, int small, int large) {
    CMainWnd* window = GetTabletMainWnd();
    return window && window->GetHeight() < threshold ? small : large;
}

CMessageLoop::CMessageLoop(CZVServer& server, platform::TabletWindow& native, CTabletHost& host)
    : m_server(server), m_native(native), m_host(host), m_lastPresent(platform::GetTickCount()) {}

void CMessageLoop::Run(CMainWnd& window, CSingleInstance* instance) {
    m_instance = instance;
    while (RunPass(window)) {
    }
}

bool CMessageLoop::PumpServer() {
    const uint32_t start = platform::GetTickCount();
    for (;;) {
        ++m_polls;
        if (m_server.PollAll() != CZVServer::kPollWork) return false;
        if (platform::TicksSince(start) >= kPollBudget) return true;
    }
}

bool CMessageLoop::RunPass(CMainWnd& window) {
    ++m_passes;
    bool active = false;
    if (m_instance && m_instance->TakeRaiseRequests()) m_native.Raise();
    // At most one window event per pass, so that gateway messages and idle work keep pace with input.
    platform::WindowEvent event;
    if (m_native.PollEvent(&event)) {
        window.OnWindowEvent(event);
        active = true;
        if (window.IsDestroyRequested()) return false;
    }
    if (m_host.ShouldStop()) window.RequestExit();
    active |= window.IdleScreenStep() != 0;
    const bool handled = PumpServer();
    if (window.IsDestroyRequested()) return false;
    const int idle = window.OnIdle(0);
    if (window.IsDestroyRequested()) return false;
    if (active || handled || idle || platform::TicksSince(m_lastPresent) >= kPresentInterval) {
        window.Present();
        m_lastPresent = platform::GetTickCount();
    }
    if (!idle && !handled) platform::Sleep(kRestTime);
    return true;
}

int TabletMain(const std::vector<std::string>& arguments, CTabletHost& host) {
    CSingleInstance instance(host.GetLockDirectory());
    if (!instance.Claim()) return 0;
    const std::string programFile = host.GetProgramFilePath();
    DeleteOldProgramFile(programFile);
    CloseWebViewerAtStart();
    SetTitle("");
    AllowLoginAutoConnect();
    const int screenWidth = host.GetScreenWidth();
    const int screenHeight = host.GetScreenHeight();

    CZVServer server(ZVVariant::Tablet);
    CZVReportRelay relay(server);
    server.SetClientId(ReadClientId());
    CTabletOptions options = ParseTabletOptions(BuildCommandText(arguments, host.GetCommandFilePath()),
                                                ReadDefaultPort(), screenWidth, screenHeight);
    ReadHandedPassword(options);
    const CUpdateContext update{programFile, &instance, ReadDefaultPort()};
    SetUpdateContext(&update);
    server.SetName(options.name);
    SetTitle(options.title);
    ZVNetConfig net = GetNetConfig();
    net.gatewayPort = options.port;
    SetNetConfig(net);
    server.SetKeepAlive(0);
    server.SetRemoteMode(options.remote ? 1 : 0);
    if (options.remote) {
        server.SetUserName(options.userName);
        server.SetLocalPassword(options.password);
    }
    server.SetDefaultClientType(ClientTypeOf(LayoutTypeOf(screenWidth, screenHeight)));
    const bool handedOver = Connect(server, options);

    CToolkit toolkit(server);
    // Every sound plays on the player's device; it outlives the main window.
    CGatewayAudioPlayer player(server);
    QACacheInit(server);
    toolkit.Style().Load(options.width, options.height);
    server.SetKeepAlive(1);

    ApplyFullScreenRule(options, screenWidth, screenHeight);
    platform::WindowOptions windowOptions;
    windowOptions.title = GetTitle().empty() ? "Vistrel" : GetTitle();
    windowOptions.fullScreen = (options.windowFlags & kWindowFullScreen) != 0;
    windowOptions.width = options.width;
    windowOptions.height = options.height;
    std::unique_ptr<platform::TabletWindow> native = host.OpenWindow(windowOptions);
    int result = 1;
    if (native) {
        auto window = std::make_unique<CMainWnd>(server, CZVRect(0, 0, options.width, options.height),
                                                 options.windowFlags, native.get());
        server.SetDefaultClientType(ClientTypeOf(window->GetLayoutType()));
        if (handedOver) window->OnConnect(1);
        host.OnMainWindow(*window, server);
        window->StartPages();
        window->PaintAll();
        CMessageLoop(server, *native, host).Run(*window, &instance);
        CloseWebViewer();
        window.reset();
        result = 0;
    }
    QACacheShutdown(server);
    SetUpdateContext(nullptr);
    return result;
}
