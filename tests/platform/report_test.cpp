#include "platform/report.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

#include "support/wait.h"

namespace {

using platform::ReportKind;
using testing::ElementsAre;
using testing::Pair;

// Collects what the hook gets; installed for the lifetime of the fixture.
class Report : public testing::Test {
protected:
    Report() {
        EXPECT_TRUE(platform::InstallReportHook([this](ReportKind kind, const std::string& text) {
            std::lock_guard lock(m_mutex);
            m_received.emplace_back(kind, text);
            if (m_onReceive) m_onReceive();
        }));
    }
    ~Report() override { platform::RemoveReportHook(); }

    std::mutex m_mutex;
    std::vector<std::pair<ReportKind, std::string>> m_received;
    std::function<void()> m_onReceive;
};

TEST(ReportWithoutHook, TextsGoToStandardError) {
    testing::internal::CaptureStderr();
    ReportAssert("C:\\src\\COMMON\\zvmsg.cpp", 412, 1);
    ReportAssert("/home/build/src/core/zvsocket.cpp", 7, 0);
    ReportAssert("zvtime", 695, 1);
    ReportAssert(nullptr, 1, 1);
    ReportTrace("Gen 12");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "A: zvmsg.cpp(line 412)\nA: zvsocket.cpp(line 7)\nA: zvtime(line 695)\nA: (line 1)\nGen 12\n");
}

TEST_F(Report, TheHookGetsSentChecksAndTraces) {
    testing::internal::CaptureStderr();
    ReportAssert("src/core/zvserver.cpp", 1203, 1);
    ReportAssert("src\\core\\zvquery.cpp", 88, 0);
    ReportTrace("Gen 40");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "A: zvserver.cpp(line 1203)\nA: zvquery.cpp(line 88)\n");
    EXPECT_THAT(m_received, ElementsAre(Pair(ReportKind::Assert, "zvserver.cpp(line 1203: 4.0 Build 1499.0 Rel)"),
                                        Pair(ReportKind::Trace, "Gen 40")));
}

TEST_F(Report, OnlyOneHookAtATime) {
    EXPECT_FALSE(platform::InstallReportHook([](ReportKind, const std::string&) {}));
    platform::RemoveReportHook();
    EXPECT_FALSE(platform::InstallReportHook(nullptr));
    testing::internal::CaptureStderr();
    ReportTrace("after");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "after\n");
    EXPECT_TRUE(m_received.empty());
}

TEST_F(Report, AReportFromInsideTheHookDoesNotRecurse) {
    // A hook whose send fails and reports that failure itself.
    m_onReceive = [] { ReportAssert("zvsocket", 300, 1); };
    testing::internal::CaptureStderr();
    ReportTrace("first");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "A: zvsocket(line 300)\n");
    EXPECT_THAT(m_received, ElementsAre(Pair(ReportKind::Trace, "first")));
}

TEST_F(Report, ThreadsReportTogether) {
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([] {
            for (int i = 0; i < 100; ++i) ReportTrace("t");
        });
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(m_received.size(), 400u);
}

TEST(ReportHook, IsCalledWithNoLockOfTheReportsHeld) {
    std::mutex hookLock;
    std::atomic<bool> entered{false};
    ASSERT_TRUE(platform::InstallReportHook([&](ReportKind, const std::string&) {
        entered = true;
        std::lock_guard lock(hookLock);
    }));
    std::unique_lock held(hookLock);
    std::thread reporter([] { ReportTrace("waits in the hook"); });
    ASSERT_TRUE(testsupport::WaitUntil([&] { return entered.load(); }));
    // While that call of the hook waits for the lock this thread holds, the reports are free.
    auto install = std::async(std::launch::async,
                              [] { return platform::InstallReportHook([](ReportKind, const std::string&) {}); });
    EXPECT_EQ(install.wait_for(testsupport::kWaitLimit), std::future_status::ready);
    held.unlock();
    EXPECT_FALSE(install.get());
    reporter.join();
    platform::RemoveReportHook();
}

}  // namespace
