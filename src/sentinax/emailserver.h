#pragma once
// CEmailServer: the monitor's outgoing mail. It holds the account settings,
// a queue of messages and a log of everything it does. Poll threads and the
// user interface queue messages; the main thread's idle turn calls
// StartSender(), which sends one message at a time on a thread of its own:
// the mail exchanger comes from an MX query of the configured server name
// (that name's own address when there is none, the exchangers in order of
// preference), then one SMTP exchange. A message that no server took waits
// and is tried again, a few times with growing pauses, before it is logged
// as failed and dropped, so that a passing fault of a mail server loses no
// alarm.
//
// Threads: every member may be called from any thread; the queue, the log
// and the settings are guarded by one lock. The destructor asks a running
// sender to give up at its next wait and waits for it.
#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/threadsafety.h"
#include "core/zvfile.h"
#include "core/zvtime.h"
#include "sentinax/alarmmail.h"
#include "sentinax/mxlookup.h"

class CSmtpSession;

// One line of the e-mail log, stamped with the local time it was added.
struct CLogEvent {
    CZVTime time;
    std::string text;
};

class CEmailServer final : public CMailQueue {
public:
    static constexpr uint16_t kDefaultPort = 25;
    // Adding trims the log while it holds more than this many entries.
    static constexpr size_t kLogLimit = 500;
    // A message is tried this many times at most...
    static constexpr int kMaxAttempts = 4;
    // ...waiting this long before each try after a failed one (1, 5 and 15
    // minutes).
    static constexpr uint32_t kRetryDelaysMs[kMaxAttempts - 1] = {60000, 300000, 900000};

    // Null resolver: the machine's DNS.
    explicit CEmailServer(std::unique_ptr<CMxResolver> resolver = nullptr);
    ~CEmailServer() override;
    CEmailServer(const CEmailServer&) = delete;
    CEmailServer& operator=(const CEmailServer&) = delete;

    // CMailQueue: appends; the server owns the message from now on.
    void Queue(std::unique_ptr<CEmailMessage> message) override;
    std::string GetDefaultRecipient() const override;
    size_t GetQueueLength() const;

    // The account. The sender also signs in with its address.
    std::string GetSmtpServer() const;
    std::string GetSenderAddress() const;
    std::string GetPassword() const;
    void SetSmtpServer(const std::string& text);
    void SetSenderAddress(const std::string& text);
    void SetPassword(const std::string& text);
    void SetDefaultRecipient(const std::string& text);
    // The SMTP port of every exchanger (25 unless settings or tests say).
    void SetPort(uint16_t port);
    uint16_t GetPort() const;
    // Section "Email", value "Port" of the program's settings.
    void LoadPortSetting();

    // The four texts in the configuration file: three, and the default
    // recipient from version 144 on. 1 when all were read or written.
    int LoadSettings(CZVFile& file, int32_t version);
    int SaveSettings(CZVFile& file) const;

    // Starts a sender thread for the first message that is due, unless one
    // is running or none is due.
    void StartSender();
    bool IsSenderBusy() const { return m_senderBusy.load(); }
    // Waits until no sender thread runs.
    void WaitForSender();

    void AddLogLine(const std::string& text);
    std::vector<CLogEvent> CopyLog() const;
    // The entries added since the last call that the log still holds, oldest
    // first; taken in one step, so that none added meanwhile is missed.
    std::vector<CLogEvent> TakeNewLogEntries();

    // Takes the first message that is due and makes one attempt to send it;
    // true when a server took it. A failed message goes back to the queue
    // for a later try while it has tries left. What the sender thread runs.
    bool SendEmail();

private:
    struct Account {
        std::string server;
        std::string sender;
        std::string password;
        uint16_t port = kDefaultPort;
    };

    struct QueuedMail {
        std::unique_ptr<CEmailMessage> message;
        int attempts = 0;
        // When the last failed try ended.
        uint32_t failedTick = 0;
    };
    bool IsDue(const QueuedMail& mail) const;
    // Queued again for a later try, or logged as failed after the last.
    void Requeue(QueuedMail mail);
    bool Deliver(const CEmailMessage& message, const Account& account);
    bool TryMailExchanger(const std::string& host, const Account& account, const CEmailMessage& message);
    bool DeliverToHost(uint32_t address, const Account& account, const CEmailMessage& message);
    bool Converse(CSmtpSession& session, const Account& account, const CEmailMessage& message);

    std::unique_ptr<CMxResolver> m_resolver;
    mutable CGuardMutex m_lock;
    Account m_account ZV_GUARDED_BY(m_lock);
    std::string m_defaultRecipient ZV_GUARDED_BY(m_lock);
    std::deque<QueuedMail> m_queue ZV_GUARDED_BY(m_lock);
    std::deque<CLogEvent> m_log ZV_GUARDED_BY(m_lock);
    size_t m_newLogEntries ZV_GUARDED_BY(m_lock) = 0;

    std::mutex m_senderMutex;
    std::atomic<bool> m_senderBusy{false};
    std::atomic<bool> m_stop{false};
    std::thread m_sender;
};

// Whether the text is a mail address a server can take: one '@' with text
// before and a domain after it, and no blanks, control characters or
// characters that would break the address out of "<...>".
bool IsMailAddress(const std::string& text);

// The "Date:" header of a mail sent at `time` (seconds since 1970, UTC).
std::string MailDateHeader(int64_t time);

// The lines of a message as they go after DATA: a line holding line breaks
// becomes several, and a line that begins with '.' gets a second one, so
// that no text of the message can end it early or add commands.
std::vector<std::string> DataLines(const std::vector<std::string>& lines);
