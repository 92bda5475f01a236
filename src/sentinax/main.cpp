// sentinax: the service companies' remote monitor.
#include <QApplication>

#include "platform/program.h"
#include "sentinax/monitorservices.h"
#include "sentinax/views/program.h"

namespace {

// The window's services before the poll threads, the configuration file,
// the mail sender and the launcher are wired in: nothing is polled, stored,
// sent or started.
class CUnwiredEmail : public CEmailService {
public:
    void Queue(std::unique_ptr<CEmailMessage>) override {}
    std::string GetDefaultRecipient() const override { return account_.defaultRecipient; }
    CEmailAccount GetAccount() const override { return account_; }
    void SetAccount(const CEmailAccount& account) override { account_ = account; }
    std::vector<CEmailLogEntry> TakeNewLogEntries() override { return {}; }
    void StartSender() override {}

private:
    CEmailAccount account_;
};

class CUnwiredServices : public CMonitorServices {
public:
    std::mutex& SystemsLock() override { return lock_; }
    void StartPolling(SystemPtrs&, int, std::function<void()>) override {}
    void RunBatchLookup() override {}
    void QueueDueSystems() override {}
    void RefreshSelected(const std::vector<CSystem*>&) override {}
    void RefreshAll() override {}
    void ReleaseSystem(CSystem&) override {}
    void StopPolling() override {}
    bool LoadConfig(SystemPtrs&, int&) override { return false; }
    void SaveConfig(const SystemPtrs&, int) override {}
    void Backup(const SystemPtrs&, int&) override {}
    bool Restore(SystemPtrs&, int&) override { return false; }
    void ExportHistoryCsv(const CSystemList&) override {}
    void ConnectToSystem(CSystem&) override {}
    CEmailService& Email() override { return email_; }

private:
    std::mutex lock_;
    CUnwiredEmail email_;
};

}  // namespace

int main(int argc, char** argv) {
    platform::SetProgramName("sentinax");
    QApplication application(argc, argv);
    CUnwiredServices services;
    return RunSentinax(services);
}
