#include "platform/report.h"

#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>

namespace platform {
namespace {

constexpr const char* kVersionText = "4.0 Build 1499.0 Rel";

// The hook is called outside the lock, so that a hook that takes locks of its own
// cannot deadlock with a thread that installs or reports; removal waits for the
// calls in progress instead.
std::mutex g_hookMutex;
std::condition_variable g_hookIdle;
std::shared_ptr<const ReportHook> g_hook;
int g_hookCalls = 0;  // calls of the hook in progress
thread_local bool t_inHook = false;

// False when the text is not taken: no hook, or a report from the hook itself.
bool Deliver(ReportKind kind, const std::string& text) {
    if (t_inHook)
        return false;
    std::shared_ptr<const ReportHook> hook;
    {
        std::lock_guard lock(g_hookMutex);
        if (!g_hook)
            return false;
        hook = g_hook;
        ++g_hookCalls;
    }
    t_inHook = true;
    (*hook)(kind, text);
    t_inHook = false;
    std::lock_guard lock(g_hookMutex);
    if (--g_hookCalls == 0)
        g_hookIdle.notify_all();
    return true;
}

void WriteLine(const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); }

}  // namespace

bool InstallReportHook(ReportHook hook) {
    if (!hook)
        return false;
    std::lock_guard lock(g_hookMutex);
    if (g_hook)
        return false;
    g_hook = std::make_shared<const ReportHook>(std::move(hook));
    return true;
}

void RemoveReportHook() {
    std::unique_lock lock(g_hookMutex);
    g_hook = nullptr;
    g_hookIdle.wait(lock, [] { return g_hookCalls == 0; });
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
