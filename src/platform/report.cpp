#include "platform/report.h"

#include <cstdio>
#include <mutex>
#include <shared_mutex>

namespace platform {
namespace {

constexpr const char* kVersionText = "4.0 Build 1499.0 Rel";

std::shared_mutex g_hookMutex;
ReportHook g_hook;
thread_local bool t_inHook = false;

// False when the text is not taken: no hook, or a report from the hook itself.
bool Deliver(ReportKind kind, const std::string& text) {
    if (t_inHook)
        return false;
    std::shared_lock lock(g_hookMutex);
    if (!g_hook)
        return false;
    t_inHook = true;
    g_hook(kind, text);
    t_inHook = false;
    return true;
}

void WriteLine(const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); }

}  // namespace

bool InstallReportHook(ReportHook hook) {
    std::unique_lock lock(g_hookMutex);
    if (g_hook || !hook)
        return false;
    g_hook = std::move(hook);
    return true;
}

void RemoveReportHook() {
    std::unique_lock lock(g_hookMutex);
    g_hook = nullptr;
}

}  // namespace platform

void ReportAssert(const char* path, int line, int send) {
    const char* name = path ? path : "";
    for (const char* p = name; *p; ++p)
        if (*p == '/' || *p == '\\')
            name = p + 1;
    const std::string where = std::string(name) + "(line " + std::to_string(line);
    platform::WriteLine("A: " + where + ")");
    if (send)
        platform::Deliver(platform::ReportKind::Assert, where + ": " + platform::kVersionText + ")");
}

void ReportTrace(const std::string& text) {
    if (!platform::Deliver(platform::ReportKind::Trace, text))
        platform::WriteLine(text);
}
