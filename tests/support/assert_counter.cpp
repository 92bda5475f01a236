#include "support/assert_counter.h"

#include <cstdlib>
#include <mutex>

#include "platform/report.h"

namespace testsupport {
namespace {

std::mutex g_mutex;
int g_count = 0;
std::string g_lastSource;
int g_lastLine = 0;

}  // namespace

AssertCounter::AssertCounter() {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_count = 0;
    g_lastSource.clear();
    g_lastLine = 0;
    platform::InstallReportHook([](platform::ReportKind kind, const std::string& text) {
        if (kind != platform::ReportKind::Assert)
            return;
        std::lock_guard<std::mutex> lock(g_mutex);
        ++g_count;
        g_lastSource = text.substr(0, text.find('('));
        const size_t line = text.find("(line ");
        g_lastLine = line == std::string::npos ? 0 : std::atoi(text.c_str() + line + 6);
    });
}

AssertCounter::~AssertCounter() { platform::RemoveReportHook(); }

int AssertCounter::Count() const {
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_count;
}

std::string AssertCounter::LastSource() const {
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_lastSource;
}

int AssertCounter::LastLine() const {
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_lastLine;
}

}  // namespace testsupport
