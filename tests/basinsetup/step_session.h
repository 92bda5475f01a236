#pragma once
// A wizard step's logic on the model of a connected session with the sample
// installation, a view that records what only the view sees (messages, the
// dialog's end, the default button), and readers of the writes that reach
// the fake gateway.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "basinsetup/dialogcontrols.h"
#include "setup_session.h"

namespace bstest {

class QuietView : public CDialogView {
public:
    void ShowItems(int, const std::vector<CListItem>&) override {}
    void ShowItemText(int, int, const std::string&) override {}
    void ShowSelection(int, int) override {}
    void ShowChecked(int, bool) override {}
    void ShowText(int, const std::string&) override {}
    void EnableControl(int, bool) override {}
    void ShowControl(int, bool) override {}
    void SetDefaultButton(int id) override { defaultButton = id; }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void EndDialog(int result) override { ended.push_back(result); }

    int defaultButton = 0;
    std::vector<std::string> messages;
    std::vector<int> ended;
};

// The configuration byte tables 1 to 9 of a table write (index 0 unused).
struct TableWrite {
    int32_t controller = -1;
    std::vector<testsupport::Bytes> tables;
};

class StepSession : public SetupSession {
protected:
    explicit StepSession(const testsupport::SampleInstallation& sample = {}) : SetupSession(sample) {}

    void SetUp() override {
        Start(DirectArguments());
        ASSERT_TRUE(Connected());
        model = dialog->Model();
        ASSERT_TRUE(model && model->IsLoaded());
        // The gateway is never outpaced by the test clock while it still answers.
        clock.HoldWhile([this] { return gateway.Owes(); });
        Mark();
    }
    void TearDown() override {
        clock.HoldWhile({});
        model.reset();
        SetupSession::TearDown();
    }

    // Later readers see only the requests after this.
    void Mark() { mark = gateway.Requests().size(); }

    std::vector<testsupport::Bytes> Sent(uint16_t id) const {
        std::vector<testsupport::Bytes> payloads;
        const auto frames = gateway.Requests();
        for (size_t i = mark; i < frames.size(); ++i)
            if (frames[i].id == id)
                payloads.push_back(frames[i].payload);
        return payloads;
    }

    std::vector<std::vector<int32_t>> SentInts(uint16_t id) const {
        std::vector<std::vector<int32_t>> all;
        for (const testsupport::Bytes& payload : Sent(id)) {
            testsupport::PayloadReader reader(payload);
            std::vector<int32_t> ints;
            for (int32_t value = 0; reader.Left() >= 4 && reader.Int(&value);)
                ints.push_back(value);
            all.push_back(ints);
        }
        return all;
    }

    std::vector<TableWrite> TableWrites() const {
        std::vector<TableWrite> writes;
        for (const testsupport::Bytes& payload : Sent(ZVM_POOL_SETEXTCONFIGQ)) {
            testsupport::PayloadReader reader(payload);
            TableWrite write;
            write.tables.emplace_back();
            reader.Int(&write.controller);
            for (int32_t count = 0; reader.Left() > 0 && reader.Int(&count);) {
                testsupport::Bytes bytes(static_cast<size_t>(count));
                reader.Raw(bytes.data(), bytes.size());
                write.tables.push_back(bytes);
            }
            writes.push_back(write);
        }
        return writes;
    }

    // The tables of the one write since the mark.
    std::vector<testsupport::Bytes> OneTableWrite() const {
        const auto writes = TableWrites();
        EXPECT_EQ(writes.size(), 1u);
        return writes.empty() ? std::vector<testsupport::Bytes>(10) : writes.back().tables;
    }

    // The row (or item) whose text is the given one, -1 when none.
    static int Row(const CDialogControls& controls, int id, const std::string& text) {
        const auto texts = controls.Texts(id);
        for (size_t i = 0; i < texts.size(); ++i)
            if (texts[i] == text)
                return static_cast<int>(i);
        return -1;
    }
    static std::string SelectedText(const CDialogControls& controls, int id) {
        const int row = controls.Selection(id);
        return row < 0 ? "" : controls.Items(id)[static_cast<size_t>(row)].text;
    }

    std::shared_ptr<CBasinSetup> model;
    QuietView view;
    size_t mark = 0;
};

inline testsupport::SampleInstallation SampleWithType(uint8_t type) {
    testsupport::SampleInstallation sample;
    sample.controllerType = type;
    return sample;
}

}  // namespace bstest
