#pragma once
// One SMTP conversation with one mail server: lines out, reply lines in,
// each wait bounded and given up when the owner asks to stop.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Gathers a reply line from the bytes as they arrive.
class CSmtpLineReader {
public:
    // A line and its "\r\n" fill at most this many bytes.
    static constexpr size_t kMaxLineBytes = 1000;
    enum Result { kMore, kLine, kOverflow };

    // kLine when the byte ended a line, which Line() then holds without its
    // "\r\n"; the next byte starts a new one. kOverflow when the buffer is
    // full without a line end.
    Result Add(char byte);
    const std::string& Line() const { return m_line; }

private:
    std::string m_buffer;
    std::string m_line;
};

// The reply code a line begins with ("250-SIZE" gives 250); -1 when it does
// not begin with three digits.
int SmtpReplyCode(std::string_view line);
// Whether the line ends its reply: the code is not followed by '-'.
bool IsFinalReplyLine(std::string_view line);

class CSmtpSession {
public:
    using Logger = std::function<void(const std::string&)>;
    static constexpr uint32_t kReplyWaitMs = 30000;
    static constexpr uint32_t kConnectWaitMs = 30000;
    // The lines one reply may have.
    static constexpr size_t kMaxReplyLines = 100;

    CSmtpSession(Logger log, const std::atomic<bool>& stop);
    // Closes the connection.
    ~CSmtpSession();
    CSmtpSession(const CSmtpSession&) = delete;
    CSmtpSession& operator=(const CSmtpSession&) = delete;

    // Connects to the address (network order) and port, logging the attempt.
    bool Connect(uint32_t address, uint16_t port);
    // From now on the log shows every occurrence of `secret` in a line sent
    // or received as "********". An empty secret hides nothing.
    void HideInLog(const std::string& secret);
    // Sends the line and "\r\n" whole. A line that holds a line break itself
    // is refused.
    bool SendLine(const std::string& line);
    // One reply line within the wait; false when it did not come whole.
    bool ReceiveLine(std::string& line, uint32_t waitMs = kReplyWaitMs);
    // Every line of one reply, and the code its last line begins with (-1
    // for none). False when the reply did not come whole.
    bool ReceiveReply(std::vector<std::string>& lines, int& code);
    // A whole reply came, whatever it says.
    bool Acknowledged();
    // A whole reply came with the code `expected`.
    bool Expect(int expected);

private:
    void Log(const std::string& line) const;

    Logger m_log;
    std::vector<std::string> m_secrets;
    const std::atomic<bool>& m_stop;
    int m_fd = -1;
    CSmtpLineReader m_reader;
};
