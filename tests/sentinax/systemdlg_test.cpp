// "Customer Information": what it stores in the system, its recipients and
// its test mail.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "sentinax/system.h"
#include "sentinax/systemdlg.h"
#include "sentinax/systemlist.h"

namespace {

// The dialog shows the whole adapter name after the brand, so that what OK
// stores back is what was there.
TEST(AdapterNameTest, EnteredAddressesAndWhatIsShown) {
    struct {
        const char* entered;
        const char* stored;
        const char* shown;
    } cases[] = {
        {"001122", "Brenvik: 00-11-22", "00-11-22"},
        {"brenvik: 00-11-22", "Brenvik: 00-11-22", "00-11-22"},
        {"BRENVIK:00-11-22", "Brenvik: 00-11-22", "00-11-22"},
        {"00-11-22", "Brenvik: 00-11-22", "00-11-22"},
        {"abc 00-11-22", "Brenvik: abc 00-11-22", "abc 00-11-22"},
        {"   7", "Brenvik: 7", "7"},
        {"", "Brenvik: ", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MakeAdapterName(c.entered), c.stored) << c.entered;
        EXPECT_EQ(AdapterSerialOf(c.stored), c.shown) << c.entered;
    }
    EXPECT_EQ(AdapterSerialOf("12-34"), "12-34");
}

class FakeSystemView : public CSystemDlgView {
public:
    void PutFields(const CSystemFields& fields) override { shown = fields; }
    bool GetFields(CSystemFields& fields) override {
        if (!accept)
            return false;
        fields = typed;
        return true;
    }
    void ShowEmails(const std::vector<std::string>& emails) override { list = emails; }
    int SelectedEmail() override { return selected; }
    std::optional<std::string> AskNewEmail() override { return newEmail; }
    void StayOnTop() override { onTop = true; }
    void ShowRefusal(const std::string& text) override { refusals.push_back(text); }
    void EndDialog(bool ok) override { ended = ok ? 1 : 0; }

    bool accept = true;
    CSystemFields shown;
    CSystemFields typed;
    std::vector<std::string> list;
    int selected = -1;
    std::optional<std::string> newEmail;
    bool onTop = false;
    std::vector<std::string> refusals;
    int ended = -1;
};

class FakeMail : public CMailQueue {
public:
    void Queue(std::unique_ptr<CEmailMessage> message) override { queued.push_back(std::move(message)); }
    std::string GetDefaultRecipient() const override { return fallback; }
    std::string fallback;
    std::vector<std::unique_ptr<CEmailMessage>> queued;
};

class SystemDlgTest : public ::testing::Test {
protected:
    SystemDlgTest() {
        system.name = "Hollis";
        system.adapterName = "Brenvik: 00-11-22";
        system.password = "pw";
        system.emailList = {"zed@example.com", "Amy@example.com", "bob@example.com"};
        system.notifyChemistry = 1;
        system.includeDefaultEmail = 1;
        dialog.emplace(system, mail, columns, [this] { ++logShown; }, view);
    }
    CSystem system;
    CSystemList columns{nullptr, false};
    FakeMail mail;
    FakeSystemView view;
    int logShown = 0;
    std::optional<CSystemDlg> dialog;
};

TEST_F(SystemDlgTest, ShowsTheSystemWithItsRecipientsSorted) {
    dialog->OnInitDialog();
    EXPECT_EQ(view.shown.name, "Hollis");
    EXPECT_EQ(view.shown.adapterAddress, "00-11-22");
    EXPECT_EQ(view.shown.notify[CSystemFields::kSystem], 1);
    EXPECT_EQ(view.shown.notify[CSystemFields::kChemistry], 1);
    EXPECT_EQ(view.shown.notify[CSystemFields::kHeatPump], 0);
    EXPECT_EQ(view.shown.includeDefault, 1);
    EXPECT_EQ(view.list, (std::vector<std::string>{"Amy@example.com", "bob@example.com", "zed@example.com"}));
}

TEST_F(SystemDlgTest, OkStoresEveryFieldAndTheSortedList) {
    dialog->OnInitDialog();
    view.typed = view.shown;
    view.typed.name = "Hollis Pool";
    view.typed.adapterAddress = "334455";
    view.typed.notes = "gate code 12\r\nask for Lu";
    view.typed.address = "1 Main St";
    view.typed.city = "Tarnow";
    view.typed.zip = "12345";
    view.typed.phone = "555-0100";
    view.typed.notify[CSystemFields::kFreeze] = 0;
    view.typed.notify[CSystemFields::kHeatPump] = 1;
    view.typed.includeDefault = 0;
    view.newEmail = "carl@example.com";
    dialog->OnAddEmail();
    view.selected = 3;  // zed
    dialog->OnDeleteEmail();
    dialog->OnOK();

    EXPECT_EQ(view.ended, 1);
    EXPECT_EQ(system.name, "Hollis Pool");
    EXPECT_EQ(system.adapterName, "Brenvik: 33-44-55");
    EXPECT_EQ(system.notes, "gate code 12\r\nask for Lu");
    EXPECT_EQ(system.address, "1 Main St");
    EXPECT_EQ(system.city, "Tarnow");
    EXPECT_EQ(system.zip, "12345");
    EXPECT_EQ(system.phone, "555-0100");
    EXPECT_EQ(system.notifyFreeze, 0);
    EXPECT_EQ(system.notifyHeatPump, 1);
    EXPECT_EQ(system.includeDefaultEmail, 0);
    EXPECT_EQ(system.emailList,
              (std::vector<std::string>{"Amy@example.com", "bob@example.com", "carl@example.com"}));
}

TEST_F(SystemDlgTest, RefusedFieldsKeepTheDialogOpenAndTheSystemAsItWas) {
    view.accept = false;
    dialog->OnOK();
    EXPECT_EQ(view.ended, -1);
    EXPECT_EQ(system.name, "Hollis");
}

// Addresses are checked on entry, where the user can mend them; a bad one
// would only fail, unseen, when an alarm is mailed.
TEST_F(SystemDlgTest, RecipientsAreCheckedOnEntry) {
    for (const char* refused : {"", "bob", "@example.com", "bob@", "a@b@c", "bob smith@example.com",
                                "bob@example.com>", "bob@.example.com", "bob@example.com."}) {
        view.newEmail = refused;
        dialog->OnAddEmail();
    }
    EXPECT_EQ(view.refusals.size(), 9u);
    EXPECT_EQ(view.refusals.front(), kBadRecipientText);
    view.newEmail = "bob@example.com";
    dialog->OnAddEmail();
    EXPECT_EQ(dialog->Emails(), (std::vector<std::string>{"Amy@example.com", "bob@example.com", "bob@example.com",
                                                         "zed@example.com"}));
    view.newEmail.reset();  // cancelled
    dialog->OnAddEmail();
    view.selected = -1;
    dialog->OnDeleteEmail();
    view.selected = 42;
    dialog->OnDeleteEmail();
    EXPECT_EQ(dialog->Emails().size(), 4u);
    EXPECT_EQ(view.refusals.size(), 9u);
}

// The adapter name is the system's identity and names its history file: OK
// keeps it unless the user changed it, and never stores an empty one.
TEST_F(SystemDlgTest, TheAdapterNameChangesOnlyWhenEditedAndNeverToNothing) {
    system.adapterName = "Brenvik: 0A-00-11-22";
    dialog.emplace(system, mail, columns, [] {}, view);
    dialog->OnInitDialog();
    EXPECT_EQ(view.shown.adapterAddress, "0A-00-11-22");
    view.typed = view.shown;
    view.typed.name = "Renamed";
    dialog->OnOK();
    EXPECT_EQ(view.ended, 1);
    EXPECT_EQ(system.adapterName, "Brenvik: 0A-00-11-22");

    for (const char* empty : {"", "  ", "Brenvik:"}) {
        view.ended = -1;
        view.typed.adapterAddress = empty;
        view.typed.name = "Emptied";
        dialog->OnOK();
        EXPECT_EQ(view.ended, -1) << empty;
        EXPECT_EQ(system.adapterName, "Brenvik: 0A-00-11-22");
        EXPECT_EQ(system.name, "Renamed");
    }
    EXPECT_EQ(view.refusals, std::vector<std::string>(3, kEmptyAdapterText));

    // A new system must be given one.
    CSystem added;
    dialog.emplace(added, mail, columns, [] {}, view);
    view.typed = CSystemFields();
    dialog->OnOK();
    EXPECT_EQ(view.refusals.size(), 4u);
    EXPECT_TRUE(added.adapterName.empty());
}

TEST_F(SystemDlgTest, TestMailGoesToEachRecipientAndTheDefault) {
    struct {
        int includeDefault;
        const char* fallback;
        size_t messages;
    } cases[] = {{1, "office@example.com", 4}, {1, "", 3}, {0, "office@example.com", 3}};
    for (const auto& c : cases) {
        mail.queued.clear();
        mail.fallback = c.fallback;
        view.typed.includeDefault = c.includeDefault;
        dialog->OnSendTestEmail();
        ASSERT_EQ(mail.queued.size(), c.messages) << c.includeDefault << c.fallback;
        EXPECT_EQ(mail.queued[0]->GetRecipient(), "Amy@example.com");
        EXPECT_EQ(mail.queued[0]->GetHeaders(), std::vector<std::string>{"Subject: EMAIL TEST"});
        EXPECT_EQ(mail.queued.back()->GetRecipient(), c.messages == 4 ? c.fallback : "zed@example.com");
    }
    EXPECT_EQ(logShown, 3);
    EXPECT_TRUE(view.onTop);
    // The dialog's unsaved fields go nowhere: Cancel leaves the system as it was.
    EXPECT_EQ(system.name, "Hollis");
    EXPECT_EQ(system.emailList.front(), "zed@example.com");
}

TEST_F(SystemDlgTest, TestMailReportsTheStoredSystem) {
    view.typed.name = "Typed Name";
    dialog->OnSendTestEmail();
    ASSERT_FALSE(mail.queued.empty());
    const auto& lines = mail.queued[0]->GetLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Customer Name:          \tHollis"), lines.end());
}

TEST_F(SystemDlgTest, OkWaitsForAReaderOfTheSystem) {
    view.typed = dialog->Fields();
    view.typed.name = "Changed";
    std::atomic<bool> done{false};
    auto held = system.Lock();
    std::thread ok([&] {
        dialog->OnOK();
        done = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(done.load()) << "the system changed while a poll thread held it";
    EXPECT_EQ(system.name, "Hollis");
    held.unlock();
    ok.join();
    EXPECT_EQ(system.name, "Changed");
}

}  // namespace
