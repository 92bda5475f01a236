#pragma once
// Failed consistency checks and trace lines. A check that fails is reported
// and the caller goes on; nothing stops the program. Until a hook is
// installed (by the program's connection manager, which passes the texts on
// to the gateway) the texts go to standard error.
#include <functional>
#include <string>

namespace platform {

enum class ReportKind { Assert, Trace };

// Gets "<file>(line <n>: <version>)" for a check reported with its send flag
// set, or a trace text.
using ReportHook = std::function<void(ReportKind kind, const std::string& text)>;

// One hook per process: false, and nothing changed, when one is installed.
// A report made from inside the hook (say, by a failing send) goes to
// standard error instead of back into the hook. The hook is called with no
// lock of the reports held, so it may take locks of its own.
bool InstallReportHook(ReportHook hook);
// Waits for calls of the hook in progress on other threads, so that what the
// hook refers to may be destroyed afterwards. Not to be called from the hook,
// nor with a lock held that the hook takes.
void RemoveReportHook();

}  // namespace platform

// Writes "A: <file>(line <n>)" to standard error, <file> being the part of
// the path after its last '/' or '\'. With send non-zero and a hook
// installed, the hook also gets "<file>(line <n>: 4.0 Build 1499.0 Rel)".
void ReportAssert(const char* path, int line, int send);
// To the hook when one is installed, else to standard error.
void ReportTrace(const std::string& text);
