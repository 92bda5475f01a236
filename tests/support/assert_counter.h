#pragma once
// Counts the consistency checks reported while it is alive, so that a test
// can tell a reported caller error from a silent one.
#include <string>

#include "platform/report_assert.h"

namespace testsupport {

class AssertCounter {
public:
    AssertCounter();
    ~AssertCounter();
    AssertCounter(const AssertCounter&) = delete;
    AssertCounter& operator=(const AssertCounter&) = delete;

    int Count() const;
    // Source of the last report ("" before any).
    std::string LastSource() const;

private:
    platform::AssertSender previous_;
};

}  // namespace testsupport
