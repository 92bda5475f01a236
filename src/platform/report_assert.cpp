#include "platform/report_assert.h"

#include <atomic>
#include <cstdio>

namespace platform {
namespace {

std::atomic<AssertSender> g_sender{nullptr};

}  // namespace

void ReportAssert(const char* source, int line, int send) {
    std::fprintf(stderr, "A: %s(line %d)\n", source ? source : "?", line);
    AssertSender sender = g_sender.load(std::memory_order_acquire);
    if (send && sender)
        sender(source, line);
}

AssertSender InstallAssertSender(AssertSender sender) {
    return g_sender.exchange(sender, std::memory_order_acq_rel);
}

}  // namespace platform
