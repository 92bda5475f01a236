#pragma once
// A real SMTP server for tests: tests/support/smtp_server.py on python3's
// aiosmtpd, started on a loopback port for the object's lifetime. Accepted
// messages are recorded in a file (see the script).
//
//   if (testsupport::SmtpServer::FindPython().empty()) GTEST_SKIP() << "...";
//   testsupport::SmtpServer server(script, dir.File("mail.txt"));
#include <sys/types.h>

#include <cstdint>
#include <string>

namespace testsupport {

class SmtpServer {
public:
    // A python3 that has aiosmtpd; empty when there is none.
    static std::string FindPython();

    // Without `offerAuth` the server offers no sign-in.
    SmtpServer(const std::string& script, const std::string& recordFile, bool offerAuth = true);
    ~SmtpServer();
    SmtpServer(const SmtpServer&) = delete;
    SmtpServer& operator=(const SmtpServer&) = delete;

    // 0 when the server did not come up.
    uint16_t Port() const { return m_port; }
    // What the server recorded so far.
    std::string Record() const;

private:
    std::string m_record;
    pid_t m_pid = -1;
    uint16_t m_port = 0;
};

}  // namespace testsupport
