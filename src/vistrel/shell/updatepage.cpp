#include "vistrel/shell/updatepage.h"

#include <arpa/inet.h>
#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "core/zvsocket.h"
#include "platform/clock.h"
#include "platform/process.h"
#include "vistrel/shell/mainwnd.h"
#include "vistrel/shell/singleinstance.h"
#include "widgets/gauges/levelbar.h"
#include "widgets/text/zvlabel.h"
#include "widgets/window/gateway.h"

namespace {

const CUpdateContext* g_context = nullptr;

constexpr mode_t kProgramMode = 0755;
constexpr uint32_t kPollStep = 100;  // ms between checks for the new copy

// The identifying bytes of an ELF file: its ident and machine; empty when
// the file is not ELF.
std::string ElfKind(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {};
    Elf64_Ehdr header{};  // the 32-bit header has ident and machine at the same places
    const ssize_t got = read(fd, &header, sizeof header);
    close(fd);
    if (got < static_cast<ssize_t>(offsetof(Elf64_Ehdr, e_version)) ||
        std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || (header.e_type != ET_EXEC && header.e_type != ET_DYN))
        return {};
    std::string kind(reinterpret_cast<const char*>(header.e_ident), EI_OSABI);
    kind.append(reinterpret_cast<const char*>(&header.e_machine), sizeof header.e_machine);
    return kind;
}

std::string DottedAddress(const sockaddr_in& address) {
    char text[INET_ADDRSTRLEN] = {};
    return inet_ntop(AF_INET, &address.sin_addr, text, sizeof text) ? text : "";
}

}  // namespace

CProgramPaths GetProgramPaths(const std::string& programFile) {
    return {programFile, programFile + ".new", programFile + ".old"};
}

void DeleteOldProgramFile(const std::string& programFile) {
    if (!programFile.empty()) unlink(GetProgramPaths(programFile).old.c_str());
}

bool IsProgramOfThisMachine(const std::string& candidate, const std::string& running) {
    const std::string kind = ElfKind(candidate);
    return !kind.empty() && kind == ElfKind(running);
}

void SetUpdateContext(const CUpdateContext* context) { g_context = context; }

CUpdatePage::CUpdatePage(CZVWindow* parent, CZVRect rect) : CPageBase(parent, rect) {
    AddLabel(CZVRect(10, 10, rect.w, 32), "Updating System, Please Wait...", kTitleFont);
    m_progress = new CZVLevelBar(this, CZVRect(0, rect.h - 40, rect.w, 30), 0, 0);
    AddChild(m_progress);
}

int CUpdatePage::OnIdle(int work) {
    work = CPageBase::OnIdle(work);
    if (!m_updatePending || !IsPaintedOnce()) return work;
    m_updatePending = 0;
    Finish(SelfUpdate());
    return 1;
}

void CUpdatePage::Finish(int updated) {
    if (updated) {
        Log("Shutting Down...");
        if (auto* main = dynamic_cast<CMainWnd*>(GetParent())) main->RequestExit();
        return;
    }
    Log("ERROR: Unable to Update Tablet");
    platform::Sleep(kFailurePause);
    Redraw(1);
    // Only the connection drops: the main window reconnects as after any loss.
    if (CZVServer* server = GetGatewayServer()) server->GetSocket()->Disconnect();
}

void CUpdatePage::Log(const std::string& text) {
    CZVLabel* line =
        AddLabelFormatted(CZVRect(10, m_logY, GetWidth() - 9, 21), text.c_str(), kLogFont, -1, kTextLeft, -1, -1);
    line->Redraw(1);
    m_logY += 20;
}

void CUpdatePage::OnProgress(int32_t received, int32_t total) {
    const std::string text = "Received " + std::to_string(received) + " of " + std::to_string(total) + " bytes";
    m_progress->SetText(text.c_str(), nullptr, 0);
    // In 64 bits: a file above 21 MB would overflow, and an empty one divide by 0.
    const int level = total > 0 ? static_cast<int>(int64_t{received} * 100 / total) : 0;
    m_progress->SetLevel(level, 1);
}

int CUpdatePage::SelfUpdate() {
    if (!g_context || g_context->programFile.empty() || !g_context->instance) return 0;
    // No sibling touch-panel program runs on this system.
    Log("WARNING: CADDET Not Running");
    Log("Downloading New Version...");
    const CProgramPaths paths = GetProgramPaths(g_context->programFile);
    if (!Download(paths)) {
        Log("ERROR: Could open file for writing");
        unlink(paths.download.c_str());
        return 0;
    }
    if (!Swap(paths)) {
        unlink(paths.download.c_str());
        return 0;
    }
    if (StartNewCopy(paths)) return 1;
    // The new program did not come up: the old one goes back in place and keeps running.
    rename(paths.old.c_str(), paths.program.c_str());
    g_context->instance->Claim();
    return 0;
}

int CUpdatePage::Download(const CProgramPaths& paths) {
    CZVServer* server = GetGatewayServer();
    auto* main = dynamic_cast<CMainWnd*>(GetParent());
    if (!server || !main) return 0;
    CFileDownloader downloader(*server, this, paths.download);
    CZVMSG request(downloader.GetId(), ZVM_UPDATE_GETTABLETFILEQ);
    request.WriteInt(main->GetLayoutType());
    request.WriteInt(2);
    request.WriteInt(262);
    // A file that is not a program of this machine counts as a failed download.
    return downloader.Download(&request) && IsProgramOfThisMachine(paths.download, paths.program) &&
           chmod(paths.download.c_str(), kProgramMode) == 0;
}

int CUpdatePage::Swap(const CProgramPaths& paths) {
    unlink(paths.old.c_str());
    // The running file stays reachable as the old file for a failed restart.
    if (link(paths.program.c_str(), paths.old.c_str()) != 0) Log("ERROR: Cannot Move Old EXE to TEMP");
    if (rename(paths.download.c_str(), paths.program.c_str()) == 0) return 1;
    Log("ERROR: Cannot Move new EXE");
    unlink(paths.old.c_str());
    return 0;
}

std::vector<std::string> CUpdatePage::RestartArguments(std::string* password) const {
    CZVServer* server = GetGatewayServer();
    if (!server) return {};
    if (server->IsRemoteMode()) {
        *password = server->GetLocalPassword();
        return {"/R", "/USER:" + server->GetUserName(), "/PASSFD:" + std::to_string(platform::kChildInputDescriptor)};
    }
    const sockaddr_in& gateway = server->GetGatewayAddress();
    std::vector<std::string> arguments = {"/IP:" + DottedAddress(gateway)};
    const uint16_t port = ntohs(gateway.sin_port);
    if (port != g_context->defaultPort) arguments.push_back("/PORT:" + std::to_string(port));
    return arguments;
}

int CUpdatePage::StartNewCopy(const CProgramPaths& paths) {
    std::string password;
    const std::vector<std::string> arguments = RestartArguments(&password);
    g_context->instance->Release();
    if (platform::StartProgram(paths.program, arguments, password) <= 0) {
        Log("ERROR: ShellExecuteEx()");
        return 0;
    }
    const uint32_t start = platform::GetTickCount();
    while (!g_context->instance->IsHeldElsewhere()) {
        if (platform::TicksSince(start) >= kStartWait) return 0;
        if (CZVServer* server = GetGatewayServer()) server->PollAll();
        platform::Sleep(kPollStep);
    }
    return 1;
}
