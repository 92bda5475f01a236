#include "sentinax/smtpsession.h"

#include <poll.h>

#include <algorithm>
#include <cctype>

#include "core/zvsock.h"
#include "platform/clock.h"
#include "platform/socket.h"

namespace {

// The pause between two looks at a quiet connection.
constexpr uint32_t kReceivePollMs = 50;
// What the log shows in place of a hidden text.
constexpr std::string_view kHiddenText = "********";

}  // namespace

CSmtpLineReader::Result CSmtpLineReader::Add(char byte) {
    if (m_buffer.size() >= kMaxLineBytes) m_buffer.clear();
    m_buffer += byte;
    if (m_buffer.size() >= 2 && m_buffer.compare(m_buffer.size() - 2, 2, "\r\n") == 0) {
        m_line.assign(m_buffer, 0, m_buffer.size() - 2);
        m_buffer.clear();
        return kLine;
    }
    return m_buffer.size() >= kMaxLineBytes ? kOverflow : kMore;
}

int SmtpReplyCode(std::string_view line) {
    if (line.size() < 3) return -1;
    int code = 0;
    for (size_t i = 0; i < 3; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(line[i]))) return -1;
        code = code * 10 + (line[i] - '0');
    }
    return code;
}

bool IsFinalReplyLine(std::string_view line) { return line.size() < 4 || line[3] != '-'; }

CSmtpSession::CSmtpSession(Logger log, const std::atomic<bool>& stop) : m_log(std::move(log)), m_stop(stop) {}

CSmtpSession::~CSmtpSession() { platform::CloseSocket(m_fd); }

bool CSmtpSession::Connect(uint32_t address, uint16_t port) {
    m_fd = platform::OpenTcpSocket();
    if (m_fd < 0) return false;
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&address);
    m_log("Connecting to " + std::to_string(bytes[0]) + "." + std::to_string(bytes[1]) + "." +
          std::to_string(bytes[2]) + "." + std::to_string(bytes[3]));
    const auto result = platform::ConnectWithin(m_fd, platform::MakeAddress(address, port), kConnectWaitMs,
                                                [this] { return !m_stop.load(); });
    if (result != platform::ConnectResult::kConnected) {
        m_log("ERROR: Cannot connect to " + FormatDottedQuad(address) + ":" + std::to_string(port));
        return false;
    }
    m_log("Connected to SMTP Server OK");
    return true;
}

void CSmtpSession::HideInLog(const std::string& secret) {
    if (!secret.empty()) m_secrets.push_back(secret);
}

void CSmtpSession::Log(const std::string& line) const {
    std::string shown = line;
    for (const std::string& secret : m_secrets) {
        for (size_t at = shown.find(secret); at != std::string::npos; at = shown.find(secret, at + kHiddenText.size()))
            shown.replace(at, secret.size(), kHiddenText);
    }
    m_log(shown);
}

bool CSmtpSession::SendLine(const std::string& line) {
    if (m_fd < 0 || line.find_first_of("\r\n") != std::string::npos) return false;
    Log("SENDING: " + line);
    const std::string whole = line + "\r\n";
    return platform::SendAll(m_fd, whole.data(), whole.size(), kReplyWaitMs);
}

bool CSmtpSession::ReceiveLine(std::string& line, uint32_t waitMs) {
    line.clear();
    if (m_fd < 0) return false;
    const uint32_t start = platform::GetTickCount();
    while (!m_stop.load()) {
        char byte = 0;
        const ssize_t got = platform::ReceiveSome(m_fd, &byte, 1);
        if (got == 0) return false;
        if (got < 0) {
            if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return false;
            const uint32_t waited = platform::TicksSince(start);
            if (waited >= waitMs) return false;
            platform::WaitForSocket(m_fd, POLLIN, std::min(kReceivePollMs, waitMs - waited));
            continue;
        }
        switch (m_reader.Add(byte)) {
        case CSmtpLineReader::kLine:
            line = m_reader.Line();
            Log("RECV: " + line);
            return true;
        case CSmtpLineReader::kOverflow: return false;
        case CSmtpLineReader::kMore: break;
        }
    }
    return false;
}

bool CSmtpSession::ReceiveReply(std::vector<std::string>& lines, int& code) {
    lines.clear();
    code = -1;
    std::string line;
    while (lines.size() < kMaxReplyLines && ReceiveLine(line)) {
        lines.push_back(line);
        if (IsFinalReplyLine(line)) {
            code = SmtpReplyCode(line);
            return true;
        }
    }
    return false;
}

bool CSmtpSession::Acknowledged() {
    std::vector<std::string> lines;
    int code = -1;
    return ReceiveReply(lines, code);
}

bool CSmtpSession::Expect(int expected) {
    std::vector<std::string> lines;
    int code = -1;
    return ReceiveReply(lines, code) && code == expected;
}
