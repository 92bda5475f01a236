#pragma once
// An interrupt (SIGINT) or a request to terminate (SIGTERM) turned into a byte on a pipe,
// so that a program's event loop can end it as closing its window does, saving what it
// keeps, instead of the process dying where it stands. And the end of a program that
// met a fault it cannot go on from.
namespace platform {

// The exit status of a program ended by a fault.
inline constexpr int kFaultExitStatus = 255;

// From now on an uncaught exception, SIGSEGV, SIGBUS, SIGFPE, SIGILL or SIGABRT ends the
// process at once with kFaultExitStatus, running no destructors and reporting nothing.
void ExitOnFault();

class TerminationSignals {
public:
    // Catches both signals from now on. One object at a time.
    TerminationSignals();
    // Gives both signals back their earlier handlers.
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // Readable once a signal came; -1 when the pipe could not be made.
    int GetDescriptor() const { return m_read; }
    // True when a signal came since the last call; takes what the pipe holds.
    bool Take();

private:
    int m_read = -1;
};

}  // namespace platform
