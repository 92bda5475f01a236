#include "support/assert_counter.h"

#include <atomic>
#include <mutex>

namespace testsupport {
namespace {

std::atomic<int> g_count{0};
std::mutex g_mutex;
std::string g_lastSource;

void Record(const char* source, int) {
    g_count.fetch_add(1);
    std::lock_guard<std::mutex> lock(g_mutex);
    g_lastSource = source ? source : "";
}

}  // namespace

AssertCounter::AssertCounter() {
    g_count.store(0);
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        g_lastSource.clear();
    }
    previous_ = platform::InstallAssertSender(&Record);
}

AssertCounter::~AssertCounter() { platform::InstallAssertSender(previous_); }

int AssertCounter::Count() const { return g_count.load(); }

std::string AssertCounter::LastSource() const {
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_lastSource;
}

}  // namespace testsupport
