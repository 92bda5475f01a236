#include "sentinax/emailserver.h"

#include <netdb.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "platform/clock.h"
#include "platform/settings.h"
#include "platform/socket.h"
#include "sentinax/base64coder.h"
#include "sentinax/hostlookup.h"
#include "sentinax/smtpsession.h"

namespace {

constexpr int32_t kDefaultRecipientVersion = 144;
bool Contains(const std::vector<std::string>& lines, const std::string& text) {
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& line) { return line.find(text) != std::string::npos; });
}

}  // namespace

bool IsMailAddress(const std::string& text) {
    const size_t at = text.find('@');
    if (at == 0 || at == std::string::npos || text.find('@', at + 1) != std::string::npos) return false;
    const std::string domain = text.substr(at + 1);
    if (domain.empty() || domain.front() == '.' || domain.back() == '.') return false;
    return std::none_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte <= ' ' || byte == 0x7F || std::strchr("<>()[],;:\\\"", c) != nullptr;
    });
}

std::string MailDateHeader(int64_t time) {
    static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::time_t seconds = static_cast<std::time_t>(time);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char line[64];
    std::snprintf(line, sizeof line, "Date: %s, %02d %s %04d %02d:%02d:%02d +0000", kDays[utc.tm_wday], utc.tm_mday,
                  kMonths[utc.tm_mon], utc.tm_year + 1900, utc.tm_hour, utc.tm_min, utc.tm_sec);
    return line;
}

std::vector<std::string> DataLines(const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    for (const std::string& line : lines) {
        size_t start = 0;
        for (;;) {
            const size_t end = line.find_first_of("\r\n", start);
            std::string piece = line.substr(start, end == std::string::npos ? std::string::npos : end - start);
            if (!piece.empty() && piece[0] == '.') piece.insert(piece.begin(), '.');
            out.push_back(std::move(piece));
            if (end == std::string::npos) break;
            // "\r\n" is one break, as is a lone '\r' or '\n'.
            start = end + (line.compare(end, 2, "\r\n") == 0 ? 2 : 1);
        }
    }
    return out;
}

CEmailServer::CEmailServer(std::unique_ptr<CMxResolver> resolver)
    : m_resolver(resolver ? std::move(resolver) : std::make_unique<CDnsMxResolver>()) {}

CEmailServer::~CEmailServer() {
    m_stop.store(true);
    WaitForSender();
}

void CEmailServer::Queue(std::unique_ptr<CEmailMessage> message) {
    if (!message) return;
    CGuardLock guard(m_lock);
    m_queue.push_back({std::move(message)});
}

size_t CEmailServer::GetQueueLength() const {
    CGuardLock guard(m_lock);
    return m_queue.size();
}

std::string CEmailServer::GetDefaultRecipient() const {
    CGuardLock guard(m_lock);
    return m_defaultRecipient;
}

std::string CEmailServer::GetSmtpServer() const {
    CGuardLock guard(m_lock);
    return m_account.server;
}

std::string CEmailServer::GetSenderAddress() const {
    CGuardLock guard(m_lock);
    return m_account.sender;
}

std::string CEmailServer::GetPassword() const {
    CGuardLock guard(m_lock);
    return m_account.password;
}

void CEmailServer::SetSmtpServer(const std::string& text) {
    CGuardLock guard(m_lock);
    m_account.server = text;
}

void CEmailServer::SetSenderAddress(const std::string& text) {
    CGuardLock guard(m_lock);
    m_account.sender = text;
}

void CEmailServer::SetPassword(const std::string& text) {
    CGuardLock guard(m_lock);
    m_account.password = text;
}

void CEmailServer::SetDefaultRecipient(const std::string& text) {
    CGuardLock guard(m_lock);
    m_defaultRecipient = text;
}

void CEmailServer::SetPort(uint16_t port) {
    CGuardLock guard(m_lock);
    m_account.port = port;
}

uint16_t CEmailServer::GetPort() const {
    CGuardLock guard(m_lock);
    return m_account.port;
}

void CEmailServer::LoadPortSetting() {
    int32_t port = 0;
    if (platform::ReadSettingInt("Email", "Port", port) && port > 0 && port <= 0xFFFF)
        SetPort(static_cast<uint16_t>(port));
}

int CEmailServer::LoadSettings(CZVFile& file, int32_t version) {
    std::string server, sender, password, recipient;
    if (!file.ReadString(&server) || !file.ReadString(&sender) || !file.ReadString(&password)) return 0;
    SetSmtpServer(server);
    SetSenderAddress(sender);
    SetPassword(password);
    if (version < kDefaultRecipientVersion) return 1;
    if (!file.ReadString(&recipient)) return 0;
    SetDefaultRecipient(recipient);
    return 1;
}

int CEmailServer::SaveSettings(CZVFile& file) const {
    CGuardLock guard(m_lock);
    return file.WriteString(m_account.server) && file.WriteString(m_account.sender) &&
           file.WriteString(m_account.password) && file.WriteString(m_defaultRecipient);
}

void CEmailServer::StartSender() {
    std::lock_guard<std::mutex> start(m_senderMutex);
    if (m_senderBusy.load()) return;
    if (m_sender.joinable()) m_sender.join();
    {
        CGuardLock guard(m_lock);
        const auto due = [this](const QueuedMail& mail) { return IsDue(mail); };
        if (m_stop.load() || std::none_of(m_queue.begin(), m_queue.end(), due)) return;
    }
    m_senderBusy.store(true);
    m_sender = std::thread([this] {
        SendEmail();
        m_senderBusy.store(false);
    });
}

void CEmailServer::WaitForSender() {
    std::lock_guard<std::mutex> start(m_senderMutex);
    if (m_sender.joinable()) m_sender.join();
}

void CEmailServer::AddLogLine(const std::string& text) {
    CLogEvent event{CZVTime(), text};
    CGuardLock guard(m_lock);
    while (m_log.size() > kLogLimit) m_log.pop_front();
    m_log.push_back(std::move(event));
    ++m_newLogEntries;
}

std::vector<CLogEvent> CEmailServer::CopyLog() const {
    CGuardLock guard(m_lock);
    return {m_log.begin(), m_log.end()};
}

std::vector<CLogEvent> CEmailServer::TakeNewLogEntries() {
    CGuardLock guard(m_lock);
    const size_t taken = std::min(m_newLogEntries, m_log.size());
    m_newLogEntries = 0;
    return {m_log.end() - static_cast<std::ptrdiff_t>(taken), m_log.end()};
}

bool CEmailServer::IsDue(const QueuedMail& mail) const {
    return mail.attempts == 0 || platform::TicksSince(mail.failedTick) >= kRetryDelaysMs[mail.attempts - 1];
}

bool CEmailServer::SendEmail() {
    QueuedMail mail;
    Account account;
    {
        CGuardLock guard(m_lock);
        const auto due =
            std::find_if(m_queue.begin(), m_queue.end(), [this](const QueuedMail& entry) { return IsDue(entry); });
        if (due == m_queue.end()) return false;
        mail = std::move(*due);
        m_queue.erase(due);
        account = m_account;
    }
    const std::string& recipient = mail.message->GetRecipient();
    if (!IsMailAddress(recipient)) return false;
    AddLogLine("Sending Mail to " + recipient + "...");
    if (Deliver(*mail.message, account)) return true;
    Requeue(std::move(mail));
    return false;
}

void CEmailServer::Requeue(QueuedMail mail) {
    ++mail.attempts;
    const std::string& recipient = mail.message->GetRecipient();
    if (mail.attempts >= kMaxAttempts) {
        AddLogLine("ERROR: Mail to " + recipient + " failed " + std::to_string(mail.attempts) + " times; not sent");
        return;
    }
    AddLogLine("Mail to " + recipient + " will be tried again in " +
               std::to_string(kRetryDelaysMs[mail.attempts - 1] / 60000) + " min");
    mail.failedTick = platform::GetTickCount();
    CGuardLock guard(m_lock);
    m_queue.push_back(std::move(mail));
}

bool CEmailServer::Deliver(const CEmailMessage& message, const Account& account) {
    std::vector<std::string> exchangers;
    int error = 0;
    const bool answered = m_resolver->QueryMx(account.server, exchangers, error);
    if (!answered)
        AddLogLine("WARNING: DNS MX Lookup Failed for " + account.server + ", error: " + std::to_string(error));
    for (const std::string& host : exchangers) {
        if (TryMailExchanger(host, account, message)) {
            AddLogLine("SendEmail() Success");
            return true;
        }
    }
    if (answered) AddLogLine("WARNING: NSLookup Success However no MX Servers found");
    uint32_t address = 0;
    if (!LookUpHost(account.server, &address)) {
        AddLogLine("Cannot Resolve Host Name " + account.server);
        return false;
    }
    const bool sent = DeliverToHost(address, account, message);
    if (answered) AddLogLine(sent ? "SendEmail() Success" : "SendEmail() Failed");
    return sent;
}

bool CEmailServer::TryMailExchanger(const std::string& host, const Account& account, const CEmailMessage& message) {
    AddLogLine("Looking up host: " + host);
    uint32_t address = 0;
    if (!LookUpHost(host, &address)) {
        AddLogLine("Cannot find host: " + host);
        return false;
    }
    return DeliverToHost(address, account, message);
}

bool CEmailServer::DeliverToHost(uint32_t address, const Account& account, const CEmailMessage& message) {
    CSmtpSession session([this](const std::string& line) { AddLogLine(line); }, m_stop);
    const bool sent = session.Connect(address, account.port) && Converse(session, account, message);
    if (!sent) AddLogLine("Send Mail Failed");
    return sent;
}

bool CEmailServer::Converse(CSmtpSession& session, const Account& account, const CEmailMessage& message) {
    std::vector<std::string> reply;
    int code = -1;
    if (!session.Expect(220) || !session.SendLine("EHLO [SENTINAX]") || !session.ReceiveReply(reply, code) ||
        code != 250)
        return false;
    // Signs in where the server offers it: always with a password, and
    // without one where it offers both kinds.
    const bool offered = Contains(reply, "AUTH");
    if (offered && (!account.password.empty() || Contains(reply, "AUTH LOGIN PLAIN"))) {
        // The account name and password never show in the log, neither as
        // sent nor as a server's echo of them.
        const std::string name = Base64Encode(account.sender);
        const std::string password = Base64Encode(account.password);
        session.HideInLog(name);
        session.HideInLog(password);
        session.HideInLog(account.password);
        // A refusal ends the attempt: the account would otherwise go out as
        // commands.
        if (!session.SendLine("AUTH LOGIN") || !session.Expect(334) || !session.SendLine(name) ||
            !session.Expect(334) || !session.SendLine(password) || !session.Expect(235))
            return false;
    }
    if (!session.SendLine("MAIL FROM:<" + account.sender + ">") || !session.Expect(250) ||
        !session.SendLine("RCPT TO:<" + message.GetRecipient() + ">") || !session.Expect(250) ||
        !session.SendLine("DATA") || !session.Expect(354))
        return false;
    std::vector<std::string> lines = {"From: " + account.sender, "To: " + message.GetRecipient(),
                                      MailDateHeader(std::time(nullptr))};
    for (std::string& line : DataLines(message.GetHeaders())) lines.push_back(std::move(line));
    // The empty line ends the headers: the body's "Name: value" lines are no
    // header fields.
    lines.emplace_back();
    for (std::string& line : DataLines(message.GetLines())) lines.push_back(std::move(line));
    lines.emplace_back();
    lines.emplace_back(".");
    for (const std::string& line : lines) {
        if (!session.SendLine(line)) return false;
    }
    if (!session.Expect(250)) return false;
    session.SendLine("QUIT");
    AddLogLine("Mail Sent OK");
    return true;
}
