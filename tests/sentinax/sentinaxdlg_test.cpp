// The main window's logic without a screen: menu states, commands, the idle
// work that shows refresh results, and the e-mail log, history and errors
// dialogs' logic. The roster runs no thread, so the test's thread alone
// touches the systems.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <thread>

#include "platform/program.h"
#include "sentinax/configfile.h"
#include "sentinax/connectgates.h"
#include "sentinax/emaillogdlg.h"
#include "sentinax/emailserver.h"
#include "sentinax/historydlg.h"
#include "sentinax/sentinaxdlg.h"
#include "sentinax/statuscode.h"
#include "support/temp_dir.h"

namespace {

class FakeLogView : public CEmailLogView {
public:
    int GetLineCount() override { return static_cast<int>(lines.size()); }
    void DeleteFirstLine() override { lines.erase(lines.begin()); }
    void AddLine(const std::string& line) override { lines.push_back(line); }
    void SelectLastLine() override { selected = static_cast<int>(lines.size()) - 1; }
    std::vector<std::string> lines;
    int selected = -1;
};

class FakeMainView : public CSentinaxView {
public:
    explicit FakeMainView(CEmailServer& email) : m_email(email) {}
    void EnableCommand(int id, bool on) override { enabled[id] = on; }
    void RedrawRow(int row) override { redrawn.push_back(row); }
    Answer AskYesNoCancel(const std::string& question) override {
        questions.push_back(question);
        const Answer answer = answers.empty() ? kNo : answers.front();
        if (!answers.empty()) answers.erase(answers.begin());
        return answer;
    }
    bool RunSystemDialog(CSystem& system) override {
        if (!typedName) return false;
        system.name = *typedName;
        system.adapterName = typedAdapter.value_or("Brenvik: 00-00-" + std::to_string(++dialogsRun));
        system.modelName = typedModel;
        return true;
    }
    void ShowSystemErrors(CSystem& system) override { errorsOf = &system; }
    void ShowHistory(CSystem& system) override { historyOf = &system; }
    void ShowAbout() override {}
    bool RunEmailSettings() override { return true; }
    CEmailLogDlg* OpenEmailLog() override {
        ++logsOpened;
        log = std::make_unique<CEmailLogDlg>(m_email, logView, [] {});
        return log.get();
    }
    void DestroyEmailLog() override { log.reset(); }
    void ShowContextMenu(int, int) override {}
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    bool AskYesNo(const std::string&) override { return yes; }
    bool RunBackupReminder() override { return false; }
    std::optional<bool> RunBackupOptions() override { return std::nullopt; }
    std::optional<std::string> AskArchiveName(bool) override { return archive; }
    void Maximise() override { maximised = true; }
    void PlaceWindow(int, int, int, int) override {}
    void GetWindowPlace(int& left, int& top, int& width, int& height) override {
        left = 10;
        top = 20;
        width = 800;
        height = 500;
    }
    void ApplyColumnWidths() override {}
    void PostIdlePump() override {}

    std::map<int, bool> enabled;
    std::vector<int> redrawn;
    std::vector<Answer> answers;
    std::vector<std::string> questions;
    std::optional<std::string> typedName;
    std::optional<std::string> typedAdapter;  // else a new one each time
    int dialogsRun = 0;
    std::string typedModel = "Corvanta 8";
    CSystem* errorsOf = nullptr;
    CSystem* historyOf = nullptr;
    int logsOpened = 0;
    std::unique_ptr<CEmailLogDlg> log;
    FakeLogView logView;
    std::vector<std::string> messages;
    bool maximised = false;
    std::optional<std::string> archive;
    bool yes = false;

private:
    CEmailServer& m_email;
};

class MainDialogTest : public ::testing::Test {
protected:
    MainDialogTest() { dialog.OnInitDialog(); }

    void Add(const std::string& name, const std::string& model = "Corvanta 8") {
        view.typedName = name;
        view.typedModel = model;
        dialog.OnAddSystem();
    }
    void Select(std::vector<int> rows) {
        for (int row = 0; row < dialog.List().GetRowCount(); ++row)
            dialog.List().SetSelected(row, std::find(rows.begin(), rows.end(), row) != rows.end());
        dialog.OnSystemListItemChanged();
    }
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (const SystemPtr& system : dialog.Roster().GetSystems()) names.push_back(system->name);
        return names;
    }

    testsupport::TempDir dir;
    testsupport::ScopedEnv data{"ZAVORO_DATA_DIR", dir.Path().c_str()};
    CEmailServer email;
    CConnectGates gates;
    FakeMainView view{email};
    CSentinaxDlg dialog{email, gates, view, [](CSystem&, const CRefreshContext&) {}, RosterThreads::kNone};
};

TEST_F(MainDialogTest, WithoutConfigurationItOpensMaximisedAndEmpty) {
    EXPECT_TRUE(view.maximised);
    EXPECT_EQ(dialog.List().GetRowCount(), 0);
    EXPECT_EQ(dialog.Roster().GetPollThreadCount(), 2);
    EXPECT_FALSE(view.enabled[ID_CUSTOMERS_EDIT]);
    EXPECT_FALSE(view.enabled[ID_CUSTOMERS_DELETE]);
}

TEST_F(MainDialogTest, MenuStatesFollowTheSelection) {
    Add("Hollis");
    Add("Orchard", "Orlenza 2");
    ASSERT_EQ(dialog.List().GetRowCount(), 2);
    const int ids[] = {ID_CUSTOMERS_EDIT,   ID_CUSTOMERS_ERRORS,  ID_CUSTOMERS_LOG,
                       ID_CUSTOMERS_DELETE, ID_CUSTOMERS_REFRESH, ID_CUSTOMERS_CONNECT};
    struct {
        std::vector<int> rows;
        std::vector<bool> on;
    } cases[] = {
        {{}, {false, false, false, false, false, false}},
        {{0}, {true, true, true, true, true, true}},   // Hollis
        {{1}, {true, true, true, true, true, false}},  // Orlenza: no remote connection
        {{0, 1}, {false, false, false, true, true, false}},
    };
    for (const auto& c : cases) {
        Select(c.rows);
        for (size_t i = 0; i < std::size(ids); ++i)
            EXPECT_EQ(view.enabled[ids[i]], c.on[i]) << ids[i] << " with " << c.rows.size() << " rows";
    }
}

TEST_F(MainDialogTest, AddedSystemsAreSortedSavedAndDue) {
    Add("Marsh");
    Add("alder");
    view.typedName.reset();  // cancelled
    dialog.OnAddSystem();
    EXPECT_EQ(dialog.List().GetRowCount(), 2);
    EXPECT_EQ(dialog.List().GetRowData(0)->name, "alder");
    EXPECT_TRUE(std::filesystem::exists(GetConfigPath()));
    CSystem& alder = *dialog.List().GetRowData(0);
    auto lock = alder.Lock();
    EXPECT_EQ(alder.refreshRequested, 1);
    EXPECT_EQ(alder.lookupRequested, 1);
}

// Two systems whose adapter names differ only in punctuation would write one
// history file: a second one is refused, added or edited.
TEST_F(MainDialogTest, ASecondSystemWithTheSameHistoryFileIsRefused) {
    view.typedAdapter = "Brenvik: 00-11-22";
    Add("First");
    view.typedAdapter = "Brenvik: 00_11_22";
    Add("Second");
    EXPECT_EQ(Names(), std::vector<std::string>{"First"});
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0], "The Protocol Adapter 00_11_22 is already monitored as another system.");

    view.typedAdapter = "Brenvik: 33-44-55";
    Add("Third");
    ASSERT_EQ(Names().size(), 2u);
    Select({1});  // Third, sorted after First
    view.typedAdapter = "Brenvik: 00.11.22";
    dialog.OnEditSystem();
    EXPECT_EQ(view.messages.size(), 2u);
    EXPECT_EQ(dialog.List().GetRowData(1)->GetAdapterName(), "Brenvik: 33-44-55");
}

TEST_F(MainDialogTest, CancelOnAnyQuestionDeletesNothing) {
    Add("A");
    Add("B");
    Add("C");
    Select({0, 1, 2});
    view.answers = {CSentinaxView::kYes, CSentinaxView::kCancel};
    dialog.OnDeleteSystems();
    EXPECT_EQ(view.questions,
              (std::vector<std::string>{"Are you sure you want to delete A?", "Are you sure you want to delete B?"}));
    EXPECT_EQ(Names().size(), 3u);

    Select({0, 1, 2});
    view.answers = {CSentinaxView::kYes, CSentinaxView::kNo, CSentinaxView::kYes};
    dialog.OnDeleteSystems();
    EXPECT_EQ(Names(), std::vector<std::string>{"B"});
    EXPECT_EQ(dialog.List().GetRowCount(), 1);
}

TEST_F(MainDialogTest, IdleWorkRedrawsTheRowsARefreshChanged) {
    Add("Alder");
    Add("Birch");
    dialog.OnIdlePump();
    view.redrawn.clear();
    CSystem& birch = *dialog.List().GetRowData(1);
    birch.SetStatus(kStatusLoginRefused);  // as a poll thread's refresh ends
    dialog.OnIdlePump();
    EXPECT_EQ(view.redrawn, std::vector<int>{1});
    EXPECT_EQ(birch.statusChanged, 0);
    EXPECT_EQ(dialog.List().GetCellText(&birch, kColumnStatus), "Login Refused");
    EXPECT_EQ(dialog.List().GetCellBackColor(&birch, kColumnStatus), Rgb(255, 100, 100));
    dialog.OnIdlePump();
    EXPECT_EQ(view.redrawn.size(), 1u) << "a row is redrawn once per change";
}

TEST_F(MainDialogTest, TheEmailLogOpensOnce) {
    dialog.OnShowEmailLog();
    dialog.OnShowEmailLog();
    EXPECT_EQ(view.logsOpened, 1);
    email.AddLogLine("Sending to amy@example.com\r\n");
    dialog.OnIdlePump();
    ASSERT_EQ(view.logView.lines.size(), 1u);
    EXPECT_NE(view.logView.lines[0].find("\t Sending to amy@example.com"), std::string::npos);
    EXPECT_EQ(view.logView.lines[0].back(), 'm');
    dialog.CloseEmailLog();
    EXPECT_EQ(dialog.EmailLog(), nullptr);
    dialog.OnShowEmailLog();
    EXPECT_EQ(view.logsOpened, 2);
}

TEST_F(MainDialogTest, SelectionCommandsNeedExactlyOneRow) {
    Add("A");
    Add("B");
    Select({0, 1});
    dialog.OnCommand(ID_CUSTOMERS_ERRORS);
    dialog.OnCommand(ID_CUSTOMERS_LOG);
    EXPECT_EQ(view.errorsOf, nullptr);
    EXPECT_EQ(view.historyOf, nullptr);
    Select({1});
    dialog.OnCommand(ID_CUSTOMERS_ERRORS);
    dialog.OnCommand(ID_CUSTOMERS_LOG);
    EXPECT_EQ(view.errorsOf, dialog.List().GetRowData(1));
    EXPECT_EQ(view.historyOf, dialog.List().GetRowData(1));
    EXPECT_FALSE(dialog.OnCommand(4242));
}

TEST_F(MainDialogTest, ClosingSavesAndTheSystemsComeBack) {
    Add("Hollis");
    std::filesystem::remove(GetConfigPath());
    dialog.OnDestroy();
    ASSERT_TRUE(std::filesystem::exists(GetConfigPath()));
    CEmailServer email2;
    FakeMainView view2{email2};
    CSentinaxDlg second{email2, gates, view2, [](CSystem&, const CRefreshContext&) {}, RosterThreads::kNone};
    second.OnInitDialog();
    EXPECT_FALSE(view2.maximised);
    ASSERT_EQ(second.List().GetRowCount(), 1);
    EXPECT_EQ(second.List().GetRowData(0)->name, "Hollis");
}

// A restore holds every system's history writes while it runs: a record a
// poll thread wrote meanwhile would be lost under the archive's copy of the
// file. The archive is a pipe, so the test knows when the restore is in it.
TEST_F(MainDialogTest, ARestoreHoldsTheHistoryWritesWhileItRuns) {
    Add("Hollis");
    const SystemPtr system = dialog.Roster().GetSystems().front();
    const std::string pipe = dir.Path() + "/archive.pipe";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    view.archive = pipe;
    view.yes = true;

    EXPECT_FALSE(system->IsHistoryHeld());
    std::thread restore([this] { dialog.OnRestore(); });
    // Opening the pipe for writing returns once the restore has opened it.
    const int fd = open(pipe.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    EXPECT_TRUE(system->IsHistoryHeld());
    close(fd);
    restore.join();
    EXPECT_FALSE(system->IsHistoryHeld());
    EXPECT_TRUE(system->AppendHistory());
}

// --- E-mail log and settings ---

TEST(EmailLogTest, LinesCarryDateAndTwelveHourTime) {
    struct {
        int hour, minute, second;
        const char* text;
        const char* line;
    } cases[] = {
        {13, 5, 9, "Sent\r\n", "3/7/2011 1:05:09 PM\t Sent"},
        {0, 30, 0, "\n\rConnecting", "3/7/2011 12:30:00 AM\t Connecting"},
        {12, 0, 0, "a\r\nb", "3/7/2011 12:00:00 PM\t a\r\nb"},
    };
    for (const auto& c : cases) {
        CLogEvent entry;
        entry.time.Set(2011, 3, 1, 7, c.hour, c.minute, c.second, 0);
        entry.text = c.text;
        EXPECT_EQ(FormatLogLine(entry), c.line);
    }
}

TEST(EmailLogTest, KeepsAboutFiveHundredLinesAndTakesOnlyNewEntries) {
    CEmailServer email;
    FakeLogView view;
    CEmailLogDlg log(email, view, [] {});
    for (int i = 0; i < 503; ++i) view.lines.push_back("old");
    email.AddLogLine("one");
    email.AddLogLine("two");
    log.Refresh();
    ASSERT_EQ(view.lines.size(), 502u);
    EXPECT_EQ(view.lines[500].substr(view.lines[500].size() - 3), "one");
    EXPECT_EQ(view.selected, 501);
    log.Refresh();
    EXPECT_EQ(view.lines.size(), 502u) << "nothing new";
}

class FakeSetView : public CEmailSetView {
public:
    void PutAccount(const CEmailAccount& account) override { shown = account; }
    bool GetAccount(CEmailAccount& account) override {
        account = typed;
        return true;
    }
    void EndDialog(bool ok) override { ended = ok; }
    CEmailAccount shown;
    CEmailAccount typed;
    bool ended = false;
};

TEST(EmailSettingsTest, RoundTripThroughTheServer) {
    CEmailServer email;
    email.SetSmtpServer("mail.example.com");
    email.SetDefaultRecipient("office@example.com");
    FakeSetView view;
    CEmailSetDlg dialog(email, view);
    dialog.OnInitDialog();
    EXPECT_EQ(view.shown.smtpServer, "mail.example.com");
    EXPECT_EQ(view.shown.defaultRecipient, "office@example.com");
    view.typed = {"smtp.example.org", "me@example.org", "secret", "desk@example.org"};
    dialog.OnOK();
    EXPECT_TRUE(view.ended);
    EXPECT_EQ(email.GetSmtpServer(), "smtp.example.org");
    EXPECT_EQ(email.GetSenderAddress(), "me@example.org");
    EXPECT_EQ(email.GetPassword(), "secret");
    EXPECT_EQ(email.GetDefaultRecipient(), "desk@example.org");
}

// --- Errors and history ---

TEST(ErrorsDialogTest, TitleAndSortedLines) {
    CSystem system;
    system.name = "Hollis";
    EXPECT_EQ(GetErrorsTitle(system), "Hollis Errors");
    EXPECT_TRUE(GetErrorLines(system).empty());
    system.notifyFreeze = 0;
    system.AddAlarm(kAlarmSystem, 0);
    system.AddAlarm(kAlarmFreeze, 0);
    system.AddAlarm(kAlarmChlorinator, 0);
    const std::vector<std::string> lines = GetErrorLines(system);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(std::is_sorted(lines.begin(), lines.end(),
                               [](const std::string& a, const std::string& b) { return CompareNoCase(a, b) < 0; }));
}

class NoHistoryView : public CHistoryView {
public:
    void EnableDeleteEntries(bool on) override { deleteEnabled = on; }
    bool deleteEnabled = false;
};

class HistoryDialogTest : public ::testing::Test {
protected:
    HistoryDialogTest() {
        system.name = "Hollis";
        system.adapterName = "Brenvik: 00-11-22";
    }
    void WriteRecords(std::vector<int> airs) {
        CZVFile file(system.GetHistoryFileName(0), ZVVariant::Monitor);
        ASSERT_TRUE(file.Open(CZVFile::kCreate));
        for (int air : airs) {
            CSystem record;
            record.airTemperature = air;
            ASSERT_TRUE(record.SaveHistoryRecord(file, 0));
        }
    }
    std::vector<int> FileAirs() {
        std::vector<int> airs;
        CZVFile file(system.GetHistoryFileName(0), ZVVariant::Monitor);
        CSystem record;
        if (file.Open(CZVFile::kRead)) {
            while (record.LoadHistoryRecord(file)) airs.push_back(record.airTemperature);
        }
        return airs;
    }
    std::vector<int> ShownAirs() {
        std::vector<int> airs;
        for (int row = 0; row < dialog.List().GetRowCount(); ++row)
            airs.push_back(dialog.List().GetRowData(row)->airTemperature);
        return airs;
    }

    testsupport::TempDir dir;
    testsupport::ScopedEnv data{"ZAVORO_DATA_DIR", dir.Path().c_str()};
    CSystem system;
    NoHistoryView view;
    CHistoryDlg dialog{system, view};
};

TEST_F(HistoryDialogTest, WithoutAFileTheWindowIsEmpty) {
    EXPECT_EQ(dialog.GetTitle(), "System History: Hollis");
    dialog.LoadHistory();
    EXPECT_EQ(dialog.List().GetRowCount(), 0);
    EXPECT_EQ(dialog.List().CSortListCtrl::GetColumnCount(), 24);
}

TEST_F(HistoryDialogTest, ShowsTheLastRecordFirst) {
    WriteRecords({61, 62, 63});
    dialog.LoadHistory();
    EXPECT_EQ(ShownAirs(), (std::vector<int>{63, 62, 61}));
}

TEST_F(HistoryDialogTest, DeletingNothingKeepsTheFileOrder) {
    WriteRecords({61, 62, 63});
    dialog.LoadHistory();
    dialog.OnItemChanged();
    EXPECT_TRUE(view.deleteEnabled);
    EXPECT_EQ(dialog.OnDeleteEntries(), 1);
    EXPECT_EQ(FileAirs(), (std::vector<int>{61, 62, 63}));
}

TEST_F(HistoryDialogTest, DeletingSelectedRowsReloadsTheRest) {
    WriteRecords({61, 62, 63, 64});
    dialog.LoadHistory();
    dialog.List().SetSelected(1, true);  // 63
    dialog.List().SetSelected(3, true);  // 61
    EXPECT_EQ(dialog.OnDeleteEntries(), 1);
    EXPECT_EQ(FileAirs(), (std::vector<int>{62, 64}));
    EXPECT_EQ(ShownAirs(), (std::vector<int>{64, 62}));
    EXPECT_FALSE(std::filesystem::exists(system.GetHistoryFileName(1)));
}

TEST_F(HistoryDialogTest, DeletingKeepsARecordAppendedSinceTheWindowWasFilled) {
    WriteRecords({61, 62, 63});
    dialog.LoadHistory();
    system.airTemperature = 70;
    ASSERT_TRUE(system.AppendHistory());
    dialog.List().SetSelected(1, true);  // 62
    EXPECT_EQ(dialog.OnDeleteEntries(), 1);
    EXPECT_EQ(FileAirs(), (std::vector<int>{61, 63, 70}));
    EXPECT_EQ(ShownAirs(), (std::vector<int>{70, 63, 61}));
}

TEST_F(HistoryDialogTest, DeletingOneOfTwoEqualRecordsKeepsTheOther) {
    WriteRecords({61, 62, 62});
    dialog.LoadHistory();
    dialog.List().SetSelected(0, true);  // the last 62
    EXPECT_EQ(dialog.OnDeleteEntries(), 1);
    EXPECT_EQ(FileAirs(), (std::vector<int>{61, 62}));
}

TEST_F(HistoryDialogTest, AFailedRewriteLeavesTheFileWhole) {
    WriteRecords({61, 62});
    dialog.LoadHistory();
    // The temporary name cannot be created: a folder stands there.
    std::filesystem::create_directory(system.GetHistoryFileName(1));
    EXPECT_EQ(dialog.OnDeleteEntries(), 0);
    EXPECT_EQ(FileAirs(), (std::vector<int>{61, 62}));
}

TEST_F(HistoryDialogTest, ExportsTheRowsAsShown) {
    WriteRecords({61, 62});
    dialog.LoadHistory();
    const std::string path = dir.File("out.csv");
    ASSERT_TRUE(dialog.ExportCsv(path));
    const std::string text = testsupport::ReadFileText(path);
    EXPECT_EQ(text.substr(0, 19), "Date,Time,Air Temp,");
    EXPECT_LT(text.find("62 F"), text.find("61 F"));
}

}  // namespace
