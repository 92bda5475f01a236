#include "vistrel/shell/webviewer.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "core/messages/shellmessages.h"
#include "core/zvfile.h"
#include "core/zvquery.h"
#include "platform/process.h"
#include "platform/program.h"
#include "platform/settings.h"
#include "vistrel/shell/cmdline.h"

namespace {

constexpr char kDefaultCommand[] = "xdg-open";
// Windows as low as this get the smaller start page.
constexpr int kSmallWindowHeight = 480;

struct ViewerState {
    platform::ChildProcess process;
    bool favoritesFetched = false;
    bool busy = false;
    int lastNoNavigation = 0;
};

ViewerState& State() {
    static ViewerState state;
    return state;
}

bool FileExists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// Splits the name at its separators; empty when a part is empty, "." or "..".
std::vector<std::string> PlainParts(const std::string& name) {
    std::vector<std::string> parts(1);
    for (char c : name) {
        if (c == '\\' || c == '/')
            parts.emplace_back();
        else
            parts.back() += c;
    }
    for (const std::string& part : parts)
        if (part.empty() || part == "." || part == "..") return {};
    return parts;
}

bool WriteWhole(const std::string& path, const uint8_t* bytes, int32_t count) {
    CZVFile file(path, ZVVariant::Tablet);
    if (!file.Open(CZVFile::kCreate)) return false;
    const bool written = count == 0 || file.Write(bytes, count);
    return file.Close() && written;
}

}  // namespace

std::vector<std::string> GetWebViewerCommand() {
    std::string command = kDefaultCommand;
    platform::ReadSettingString("WebViewer", "Command", command);
    return SplitCommandFile(command);
}

bool EnsureWebViewerFile() {
    const std::vector<std::string> command = GetWebViewerCommand();
    return !command.empty() && !platform::FindProgram(command.front()).empty();
}

bool StartWebViewer(const std::string& url) {
    std::vector<std::string> command = GetWebViewerCommand();
    if (command.empty()) return false;
    const std::string program = command.front();
    command.erase(command.begin());
    if (!url.empty()) command.push_back(url);
    return State().process.Start(program, command);
}

bool IsWebViewerRunning() { return State().process.IsRunning(); }

void CloseWebViewer() {
    ViewerState& state = State();
    if (!state.process.IsRunning()) return;
    state.process.End(platform::ChildProcess::kEndLimitMs);
    state.busy = false;
}

void CloseWebViewerAtStart() {
    ViewerState& state = State();
    state.process.End(platform::ChildProcess::kEndLimitMs);
    state.favoritesFetched = false;
    state.busy = false;
    state.lastNoNavigation = 0;
}

void SetWebViewerBusy(bool busy) { State().busy = busy; }
bool IsWebViewerBusy() { return State().busy; }
int GetLastWebNoNavigation() { return State().lastNoNavigation; }
void SetLastWebNoNavigation(int noNavigation) { State().lastNoNavigation = noNavigation; }

std::string GetFavoritesFolder() {
    const std::string folder = platform::GetProgramFolder();
    return folder.empty() ? std::string() : folder + "/zvfavorites";
}

std::string GetFavoritesStartPage(int windowHeight) {
    const std::string folder = GetFavoritesFolder();
    if (folder.empty()) return {};
    const std::string page = folder + (windowHeight <= kSmallWindowHeight ? "/favorites2.html" : "/favorites.html");
    return FileExists(page) ? "file://" + page : std::string();
}

std::string GetFavoritePath(const std::string& name) {
    const std::string folder = GetFavoritesFolder();
    const std::vector<std::string> parts = PlainParts(name);
    if (folder.empty() || parts.empty()) return {};
    std::string path = folder;
    for (const std::string& part : parts) path += "/" + part;
    return path;
}

bool DownloadFavorite(CZVServer& server, const std::string& name) {
    const std::string path = GetFavoritePath(name);
    if (path.empty()) return false;
    if (FileExists(path)) return true;
    if (!platform::MakeDirectories(path.substr(0, path.rfind('/')))) return false;
    CZVQuery query(server);
    CZVMSG request(0, ZVM_UPDATE_GETFAVORITEFILEQ);
    request.WriteString(name);
    CZVMSG* answer = nullptr;
    if (!query.Query(&answer, &request) || answer->GetId() != ZVM_UPDATE_GETFAVORITEFILEA) return false;
    if (WriteWhole(path, answer->GetData(), answer->GetLength())) return true;
    std::remove(path.c_str());
    return false;
}

bool FetchFavorites(CZVServer& server) {
    ViewerState& state = State();
    if (state.favoritesFetched) return true;
    const std::string folder = GetFavoritesFolder();
    if (folder.empty() || !platform::MakeDirectories(folder + "/ICONS") ||
        !platform::MakeDirectories(folder + "/IMAGES"))
        return false;
    CZVQuery query(server);
    CZVMSG* answer = nullptr;
    CZVMSG request(0, ZVM_UPDATE_GETFAVORITESQ);
    if (!query.Query(&answer, &request) || answer->GetId() != ZVM_UPDATE_GETFAVORITESA) return false;
    int32_t count = 0;
    if (!answer->ReadInt(count)) return false;
    // A count beyond the names sent ends at the first name that cannot be read.
    state.favoritesFetched = true;
    for (int32_t i = 0; i < count; ++i) {
        std::string name;
        if (!answer->ReadString(name)) {
            state.favoritesFetched = false;
            break;
        }
        if (!DownloadFavorite(server, name)) state.favoritesFetched = false;
    }
    return state.favoritesFetched;
}
