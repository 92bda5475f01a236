#pragma once
// Counts the failed consistency checks reported while it is alive, so that a
// test can tell a reported caller error from a silent one. It holds the
// process's report hook meanwhile.
#include <string>

namespace testsupport {

class AssertCounter {
public:
    AssertCounter();
    ~AssertCounter();
    AssertCounter(const AssertCounter&) = delete;
    AssertCounter& operator=(const AssertCounter&) = delete;

    int Count() const;
    // Source name of the last report ("" before any).
    std::string LastSource() const;
    // Line of the last report (0 before any).
    int LastLine() const;
};

}  // namespace testsupport
