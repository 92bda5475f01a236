#include "smtp_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <vector>

#include "temp_dir.h"

extern char** environ;

namespace testsupport {
namespace {

constexpr int kStartLimitMs = 15000;

// Starts the program (looked up on PATH) with its standard output on `out`
// when that is not -1.
pid_t Spawn(const std::vector<std::string>& arguments, int out) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (out >= 0)
        posix_spawn_file_actions_adddup2(&actions, out, STDOUT_FILENO);
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

bool Succeeds(const std::vector<std::string>& arguments) {
    const pid_t pid = Spawn(arguments, -1);
    int status = 0;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

std::string SmtpServer::FindPython() {
    // Debian's own python3 first: another one on PATH may lack the package.
    for (const char* python : {"/usr/bin/python3", "python3"}) {
        if (Succeeds({python, "-c", "import aiosmtpd"}))
            return python;
    }
    return {};
}

SmtpServer::SmtpServer(const std::string& script, const std::string& recordFile, bool offerAuth)
    : m_record(recordFile) {
    const std::string python = FindPython();
    int channel[2];
    if (python.empty() || pipe2(channel, O_CLOEXEC) != 0)
        return;
    std::vector<std::string> arguments = {python, script, "--record", recordFile};
    if (!offerAuth)
        arguments.push_back("--no-auth");
    m_pid = Spawn(arguments, channel[1]);
    close(channel[1]);
    std::string text;
    const auto start = std::chrono::steady_clock::now();
    while (m_pid > 0 && text.find('\n') == std::string::npos &&
           std::chrono::steady_clock::now() - start < std::chrono::milliseconds(kStartLimitMs)) {
        pollfd wait{channel[0], POLLIN, 0};
        if (poll(&wait, 1, 100) != 1)
            continue;
        char bytes[64];
        const ssize_t got = read(channel[0], bytes, sizeof bytes);
        if (got <= 0)
            break;
        text.append(bytes, static_cast<size_t>(got));
    }
    close(channel[0]);
    if (text.rfind("PORT ", 0) == 0)
        m_port = static_cast<uint16_t>(std::atoi(text.c_str() + 5));
}

SmtpServer::~SmtpServer() {
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
    }
}

std::string SmtpServer::Record() const { return ReadFileText(m_record); }

}  // namespace testsupport
