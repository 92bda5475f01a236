#pragma once
// Step 1 of the wizard over the sample installation: the program connected,
// the pool model loaded, and the test clock held while the gateway is still
// answering, so that the step's queries wait for answers that come and time
// out at the test's pace for those that do not.
#include <poll.h>

#include <memory>
#include <string>
#include <vector>

#include "basinsetup/step1dlg.h"
#include "setup_session.h"
#include "support/gateway_wire.h"
#include "support/temp_dir.h"
#include "support/wait.h"

namespace bstest {

class RecordingStep1View : public CStep1View {
public:
    void ShowControl(int id, bool shown) override { visible[id] = shown; }
    void EnableControl(int id, bool on) override { enabled[id] = on; }
    void SetControlText(int id, const std::string& text) override { texts[id] = text; }
    void SetHomePages(const std::vector<CHomePage>& pages) override { homePages = pages; }
    void PutValues(const CStep1Values& values) override { shown = values; }
    bool GetValues(CStep1Values& values) override {
        if (readable) values = shown;
        return readable;
    }
    void StartTimer(uint32_t intervalMs) override { timer = intervalMs; }
    void StopTimer() override { timer = 0; }
    void EndDialog(int result) override { ended.push_back(result); }
    void RunEmailSettings(const std::string& adapterName) override {
        emailOpened.push_back(adapterName);
        timerDuringEmail = timer;
    }
    void RunSetPassword() override { ++passwordOpened; }

    std::map<int, bool> visible;
    std::map<int, bool> enabled;
    std::map<int, std::string> texts;
    std::vector<CHomePage> homePages;
    CStep1Values shown;  // what the controls hold; a test edits it as a user would
    bool readable = true;
    uint32_t timer = 0;
    std::vector<int> ended;
    std::vector<std::string> emailOpened;
    uint32_t timerDuringEmail = 0;
    int passwordOpened = 0;
};

class Step1Session : public SetupSession {
protected:
    explicit Step1Session(const testsupport::SampleInstallation& sample = {}) : SetupSession(sample) {
        testsupport::WriteFileText(zipFile, "94110,-8,37.75,-122.25\n10001,-5,40.7506,-73.9972\n");
    }

    // Connects and loads the model; false when that failed.
    bool Connect() {
        Start(DirectArguments());
        if (!Connected()) return false;
        model = dialog->Model();
        const int handle = app->Server().GetSocket()->GetHandle();
        clock.HoldWhile([this, handle] {
            pollfd entry{handle, POLLIN, 0};
            return gateway.Owes() && poll(&entry, 1, 0) <= 0;
        });
        return model != nullptr;
    }

    std::unique_ptr<CStep1Dlg> Open(CStep1View& shown) {
        auto step = std::make_unique<CStep1Dlg>(app->Server(), shown, model, "Backyard Adapter", zipFile);
        step->OnInitDialog();
        return step;
    }

    // The step's timer ticks until the condition holds; false after the wait limit.
    bool TickUntil(CStep1Dlg& step, const std::function<bool()>& condition) {
        return testsupport::WaitUntil(condition, [this, &step] {
            clock.Advance(CStep1Dlg::kTimerInterval);
            step.OnTimer();
            return false;
        });
    }

    // The location fields of the one system-information write the gateway got.
    struct SystemInfoWrite {
        int32_t second = 0, latitude = 0, longitude = 0, offset = 0;
        std::string name, zip;
    };
    ::testing::AssertionResult TheSystemInfoWrite(SystemInfoWrite& out) const {
        const auto writes = gateway.RequestsOf(ZVM_SYSCONFIG_SETSYSTEMINFOQ);
        if (writes.size() != 1) return ::testing::AssertionFailure() << writes.size() << " system-information writes";
        testsupport::PayloadReader info(writes[0].payload);
        if (!(info.Int(&out.second) && info.String(&out.name) && info.String(&out.zip) && info.Int(&out.latitude) &&
              info.Int(&out.longitude) && info.Int(&out.offset)))
            return ::testing::AssertionFailure() << "system-information write cut short";
        return ::testing::AssertionSuccess();
    }

    void TearDown() override {
        clock.HoldWhile({});
        model.reset();
        SetupSession::TearDown();
    }

    testsupport::TempDir dir;
    const std::string zipFile = dir.File("zip.csv");
    std::shared_ptr<CBasinSetup> model;
};

// Entry `index` of configuration table `table` (1 to 9) in a table write.
inline int TableEntry(const testsupport::Bytes& payload, int table, int index) {
    testsupport::PayloadReader reader(payload);
    int32_t controller = 0;
    reader.Int(&controller);
    for (int current = 1; current <= 9; ++current) {
        int32_t count = 0;
        if (!reader.Int(&count) || count < 0) return -1;
        std::vector<uint8_t> bytes(static_cast<size_t>(count));
        if (!reader.Raw(bytes.data(), bytes.size())) return -1;
        if (current == table) return index < count ? bytes[static_cast<size_t>(index)] : -1;
    }
    return -1;
}

}  // namespace bstest
