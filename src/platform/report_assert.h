#pragma once
// Consistency checks that never stop the program: the caller reports the
// failed check and goes on with its own safe fallback.
namespace platform {

// Receives each report whose send flag is set; the tablet's shell installs one
// that forwards the report to the gateway.
using AssertSender = void (*)(const char* source, int line);

// Logs "A: <source>(line <n>)" and, when send is non-zero, hands the report to
// the installed sender. `source` is a base name such as "zvstring".
void ReportAssert(const char* source, int line, int send = 1);

// Installs the sender (null removes it) and returns the previous one.
AssertSender InstallAssertSender(AssertSender sender);

}  // namespace platform
