#pragma once
// Starting the suite's other programs, and the connection a parent program
// hands to its child.
#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// The running executable's file, and its folder without a trailing '/';
// empty when it cannot be read.
std::string GetExecutablePath();
std::string GetExecutableDirectory();

// The program file: beside the running executable when it is there and
// executable, else the first match on PATH; empty when there is none.
std::string FindProgram(const std::string& name);

// Starts the program found by FindProgram with the arguments (argv[1] on),
// without a shell. The child inherits no descriptor but the standard three.
// Returns its process id, or -1 when it could not be started.
pid_t StartProgram(const std::string& name, const std::vector<std::string>& arguments);

// The descriptor on which a child started with an input reads it.
inline constexpr int kChildInputDescriptor = 3;
// The same, and the child finds `input` (at most a pipe's atomic write, 4096
// bytes) to read on kChildInputDescriptor up to its end: a way to hand it
// a secret that its command line, which every local user can read, must
// not carry.
pid_t StartProgram(const std::string& name, const std::vector<std::string>& arguments, const std::string& input);

// A program this one started and answers for: it is ended and reaped, never
// left behind as a zombie. Only the thread that started it uses it.
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess() { End(kEndLimitMs); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    static constexpr uint32_t kEndLimitMs = 5000;

    // Starts the program as StartProgram does; a running child is ended first.
    bool Start(const std::string& name, const std::vector<std::string>& arguments);
    // The child has not ended; an ended child is reaped here.
    bool IsRunning();
    // Asks the child to end (SIGTERM), waits at most limitMs for it in steps
    // of 100 ms, then kills it; it is reaped either way.
    void End(uint32_t limitMs);
    // The running child's process id; -1 when none.
    pid_t Id() const { return m_pid; }

private:
    bool Reaped(int options);

    pid_t m_pid = -1;
};

// A descriptor inherited from the parent when it refers to an open socket,
// else -1.
int AdoptInheritedSocket(long descriptor);

// Handing a connection to a child started with "/SOCKFILE:<path>": the parent
// listens at the path before it starts the child, then hands the socket over;
// it keeps its own copy, and closes the listener and removes the path itself.

// A Unix-domain socket listening at path (which must not exist yet), or -1.
int ListenForHandOver(const std::string& path);

// Accepts the child's connection on the listener, waiting at most limitMs,
// and sends it the descriptor with SCM_RIGHTS. true when it was sent.
bool HandOverSocket(int listener, int descriptor, uint32_t limitMs);

// The child's side: connects to the Unix-domain socket at path and receives
// one descriptor from the parent over it, waiting at most limitMs. Returns the
// descriptor when exactly one came and it is a socket, else -1 (nothing
// received is left open then). A path that nobody serves fails at once.
int ReceiveHandedSocket(const std::string& path, uint32_t limitMs);

}  // namespace platform
