// The system and history lists: cell texts, colours, sorting, widths, and
// the column fitting and cell cutting they are drawn with.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "sentinax/statuscode.h"
#include "sentinax/system.h"
#include "sentinax/systemlist.h"

namespace {

using Setup = std::function<void(CSystem&)>;

struct TextCase {
    const char* what;
    int kind;
    Setup setup;
    const char* systemText;
    const char* historyText;  // null: same as the system list
};

// The column of a kind in either list.
int ColumnOf(const CSystemList& list, int kind) {
    for (int column = 0; column < list.CSortListCtrl::GetColumnCount(); ++column) {
        if (list.GetKindOfColumn(column) == kind) return column;
    }
    return -1;
}

constexpr uint32_t kChemistry = 1u << 15;

const TextCase kTextCases[] = {
    {"name", kColumnName, [](CSystem& s) { s.name = "Hollis"; }, "Hollis", "1/2/2010"},
    {"serial", kColumnSerial, [](CSystem& s) { s.adapterName = "Brenvik: 00-11-22"; }, "00-11-22", "1:05:09 PM"},
    {"model alone", kColumnModel, [](CSystem& s) { s.modelName = "Corvanta 8"; }, "Corvanta 8", nullptr},
    {"model with chlorinator", kColumnModel,
     [](CSystem& s) {
         s.modelName = "Corvanta 8";
         s.chlorinatorModel = "Salix 40";
     },
     "Corvanta 8 / Salix 40", nullptr},
    {"temperature", kColumnAirTemp, [](CSystem& s) { s.airTemperature = 71; }, "71 F", nullptr},
    {"temperature 0 not read", kColumnPoolTemp, [](CSystem& s) { s.poolTemperature = 0; }, "-", nullptr},
    {"temperature 255 not read", kColumnSpaSetPoint, [](CSystem& s) { s.spaSetPoint = 255; }, "-", nullptr},
    {"pump on", kColumnPoolPump, [](CSystem& s) { s.poolPump = 3; }, "On", nullptr},
    {"pump off", kColumnSpaPump, [](CSystem& s) { s.spaPump = 0; }, "Off", nullptr},
    {"pump not read", kColumnSpaPump, [](CSystem& s) { s.spaPump = 255; }, "-", nullptr},
    {"heat mode", kColumnPoolHeatMode, [](CSystem& s) { s.poolHeatModeText = "Solar Only"; }, "Solar Only", nullptr},
    {"remote enabled", kColumnSpaSideRemote, [](CSystem& s) { s.spaSideRemote = 1; }, "Enabled", nullptr},
    {"remote disabled", kColumnSpaSideRemote, [](CSystem& s) { s.spaSideRemote = 0; }, "Disabled", nullptr},
    {"remote on a model without", kColumnSpaSideRemote,
     [](CSystem& s) {
         s.spaSideRemote = 1;
         s.modelName = "Orlenza 2";
     },
     "-", nullptr},
    {"lights", kColumnLights,
     [](CSystem& s) {
         s.lightsOn = 2;
         s.lightsTotal = 5;
     },
     "2 / 5", nullptr},
    {"no lights", kColumnLights, [](CSystem& s) { s.lightsOn = 2; }, "-", nullptr},
    {"pump present before the first connection", kColumnPumpPresent, [](CSystem& s) { s.equipmentFlags = 0x10; }, "-",
     "Yes"},
    {"pump present", kColumnPumpPresent,
     [](CSystem& s) {
         s.neverConnected = 0;
         s.equipmentFlags = 0x800;
     },
     "Yes", nullptr},
    {"no pump", kColumnPumpPresent,
     [](CSystem& s) {
         s.neverConnected = 0;
         s.equipmentFlags = 0x1000;
     },
     "No", nullptr},
    {"alarms before the first connection", kColumnAlarms, [](CSystem&) {}, "-", "None"},
    {"alarms and warnings", kColumnAlarms,
     [](CSystem& s) {
         s.neverConnected = 0;
         s.alarms.emplace_back(kAlarmSystem, 1);
         s.warnings.emplace_back(kAlarmFreeze, 0);
     },
     "2", nullptr},
    {"salt", kColumnSalt,
     [](CSystem& s) {
         s.chlorinatorPresent = 1;
         s.saltLevel = 64;
     },
     "3200", nullptr},
    {"no salt without chlorinator", kColumnSalt, [](CSystem& s) { s.saltLevel = 64; }, "-", nullptr},
    {"chlorine output", kColumnPoolChlorine,
     [](CSystem& s) {
         s.chlorinatorPresent = 1;
         s.poolChlorineOutput = 45;
     },
     "45%", nullptr},
    {"chlorine output under a chemistry controller", kColumnSpaChlorine,
     [](CSystem& s) {
         s.chlorinatorPresent = 1;
         s.spaChlorineOutput = 45;
         s.equipmentFlags = kChemistry;
     },
     "MV", nullptr},
    {"pH", kColumnPh,
     [](CSystem& s) {
         s.equipmentFlags = kChemistry;
         s.phValue = 745;
     },
     "7.45", nullptr},
    {"pH without controller", kColumnPh, [](CSystem& s) { s.phValue = 745; }, "-", nullptr},
    {"ORP", kColumnOrp,
     [](CSystem& s) {
         s.equipmentFlags = kChemistry;
         s.orpValue = 650;
     },
     "650", nullptr},
    {"tank level 1", kColumnAcidTank,
     [](CSystem& s) {
         s.equipmentFlags = kChemistry;
         s.acidTankLevel = 1;
     },
     "0%", nullptr},
    {"tank level 4", kColumnChlorineTank,
     [](CSystem& s) {
         s.equipmentFlags = kChemistry;
         s.chlorineTankLevel = 4;
     },
     "50%", nullptr},
    {"tank level 7", kColumnAcidTank,
     [](CSystem& s) {
         s.equipmentFlags = kChemistry;
         s.acidTankLevel = 7;
     },
     "100%", nullptr},
    {"tank level 0", kColumnAcidTank, [](CSystem& s) { s.equipmentFlags = kChemistry; }, "-", nullptr},
    {"tank level beyond full is no reading", kColumnAcidTank,
     [](CSystem& s) {
         s.equipmentFlags = kChemistry;
         s.acidTankLevel = 8;
     },
     "-", nullptr},
    {"water balance", kColumnWaterBalance,
     [](CSystem& s) {
         s.equipmentFlags = kChemistry;
         s.saturationIndex = -25;
     },
     "-0.25", nullptr},
    {"water balance out of range", kColumnWaterBalance,
     [](CSystem& s) {
         s.equipmentFlags = kChemistry;
         s.saturationIndex = 99;
     },
     "-", nullptr},
    {"status", kColumnStatus, [](CSystem& s) { s.status = kStatusLoginRefused; }, "Login Refused", nullptr},
    {"status working", kColumnStatus, [](CSystem& s) { s.status = kStatusWorking; }, "Working", nullptr},
};

TEST(SystemListTest, CellTextsOfBothLists) {
    CSystemList systems(nullptr, false);
    CSystemList history(nullptr, true);
    for (const TextCase& c : kTextCases) {
        CSystem system;
        system.reportTime.Set(2010, 1, 6, 2, 13, 5, 9, 0);
        c.setup(system);
        EXPECT_EQ(systems.GetCellText(&system, ColumnOf(systems, c.kind)), c.systemText) << c.what;
        const int historyColumn = c.kind <= kColumnSerial ? c.kind : ColumnOf(history, c.kind);
        if (historyColumn >= 0) {
            EXPECT_EQ(history.GetCellText(&system, historyColumn), c.historyText ? c.historyText : c.systemText)
                << c.what;
        }
    }
    EXPECT_EQ(systems.GetCellText(nullptr, 0), "");
    EXPECT_EQ(systems.GetCellText(nullptr, 99), "");
}

TEST(SystemListTest, HistoryTimeIsTwelveHour) {
    CSystemList history(nullptr, true);
    CSystem record;
    for (auto [hour, text] : {std::pair{0, "12:30:00 AM"}, {11, "11:30:00 AM"}, {12, "12:30:00 PM"}}) {
        record.reportTime.Set(2010, 1, 6, 2, hour, 30, 0, 0);
        EXPECT_EQ(history.GetCellText(&record, 1), text);
    }
}

TEST(SystemListTest, ColumnsTitlesAndLongNames) {
    CSystemList systems(nullptr, false);
    CSystemList history(nullptr, true);
    ASSERT_EQ(systems.CSortListCtrl::GetColumnCount(), 27);
    ASSERT_EQ(history.CSortListCtrl::GetColumnCount(), 24);
    EXPECT_EQ(systems.GetColumnTitles()[1], "Protocol\nAdapter\nSerial #\n(Last 6 digits)");
    EXPECT_EQ(systems.GetColumnTitles()[26], "Status");
    EXPECT_EQ(history.GetColumnTitles()[0], "Date");
    EXPECT_EQ(history.GetColumnTitles()[1], "Time");
    EXPECT_EQ(history.GetColumnTitles()[2], "Air Temp");
    EXPECT_EQ(history.GetKindOfColumn(23), kColumnStatus);
    EXPECT_EQ(history.GetRuleIndex(5), 8);
    EXPECT_EQ(CSystemList::GetColumnName(kColumnModel), "Corvanta Model");
    EXPECT_EQ(CSystemList::GetColumnName(kColumnPumpPresent), "Vortana Pump Present?");
    EXPECT_EQ(CSystemList::GetColumnName(kColumnDate), "");
    // The mail reads the same names through the columns interface.
    const CSystemColumns& mail = systems;
    EXPECT_EQ(mail.GetColumnCount(), 27);
    EXPECT_EQ(mail.GetLongTitle(8), "Pool Actual Temperature");

    for (int column : {0, 1, 2, 3, 4, 17, 26}) EXPECT_TRUE(systems.IsSortableColumn(column)) << column;
    for (int column : {5, 16, 18, 25}) EXPECT_FALSE(systems.IsSortableColumn(column)) << column;
    EXPECT_FALSE(history.IsSortableColumn(0));
    EXPECT_FALSE(history.IsVerticalColumn(0));
    EXPECT_TRUE(systems.IsVerticalColumn(5) && systems.IsVerticalColumn(25) && systems.IsColumnCentered(25));
    EXPECT_FALSE(systems.IsVerticalColumn(26) || systems.IsColumnCentered(4));
}

struct ColorCase {
    const char* what;
    int rule;
    Setup setup;
    ColorRef back;
    ColorRef history;  // in the history list
};

constexpr ColorRef kFailed = Rgb(255, 100, 100);
constexpr ColorRef kPending = Rgb(255, 255, 200);

const ColorCase kColorCases[] = {
    {"pump running", kColumnPoolPump, [](CSystem& s) { s.poolPump = 1; }, Rgb(100, 255, 100), Rgb(100, 255, 100)},
    {"pump not read", kColumnSpaPump, [](CSystem& s) { s.spaPump = 255; }, kWhite, kWhite},
    {"heating 1", kColumnPoolHeatMode, [](CSystem& s) { s.poolHeatStatus = 1; }, Rgb(200, 200, 255),
     Rgb(200, 200, 255)},
    {"heating 3", kColumnSpaHeatMode, [](CSystem& s) { s.spaHeatStatus = 3; }, Rgb(255, 200, 255), Rgb(255, 200, 255)},
    {"not heating", kColumnSpaHeatMode, [](CSystem& s) { s.spaHeatStatus = 0; }, Rgb(225, 225, 225),
     Rgb(225, 225, 225)},
    {"lights on", kColumnLights, [](CSystem& s) { s.lightsOn = 1; }, Rgb(255, 255, 0), Rgb(255, 255, 0)},
    {"warnings", kColumnAlarms, [](CSystem& s) { s.warnings.emplace_back(kAlarmFreeze, 0); }, Rgb(255, 225, 225),
     Rgb(255, 225, 225)},
    {"connected", kColumnStatus, [](CSystem& s) { s.status = kStatusConnected; }, Rgb(200, 255, 200),
     Rgb(200, 255, 200)},
    {"working", kColumnStatus, [](CSystem& s) { s.status = kStatusWorking; }, kPending, kPending},
    {"failed once", kColumnStatus, [](CSystem& s) { s.status = kStatusCannotConnect; }, kPending, kFailed},
    {"failed three times", kColumnStatus,
     [](CSystem& s) {
         s.status = kStatusNoStatus;
         s.failureCount = 3;
     },
     kFailed, kFailed},
    {"relay not found", kColumnStatus, [](CSystem& s) { s.status = kStatusRelayNotFound; }, kFailed, kFailed},
    {"name", kColumnName, [](CSystem& s) { s.status = kStatusRelayNotFound; }, kWhite, kWhite},
};

TEST(SystemListTest, BackgroundColours) {
    CSystemList systems(nullptr, false);
    CSystemList history(nullptr, true);
    for (const ColorCase& c : kColorCases) {
        CSystem system;
        c.setup(system);
        EXPECT_EQ(systems.GetCellBackColor(&system, c.rule), c.back) << c.what;
        if (c.rule >= kColumnAirTemp) {
            EXPECT_EQ(history.GetCellBackColor(&system, c.rule - 3), c.history) << c.what;
        }
    }
    EXPECT_EQ(systems.GetCellBackColor(nullptr, kColumnStatus), kWhite);
}

TEST(SystemListTest, TextColourMarksPumpsOnAtSpeedOne) {
    CSystemList systems(nullptr, false);
    CSystem system;
    system.poolPump = 1;
    system.spaPump = 2;
    EXPECT_EQ(systems.GetCellTextColor(&system, kColumnPoolPump), Rgb(0, 100, 0));
    EXPECT_EQ(systems.GetCellTextColor(&system, kColumnSpaPump), kBlack);
    EXPECT_EQ(systems.GetCellTextColor(&system, kColumnName), kBlack);
}

class SortTest : public ::testing::Test {
protected:
    SortTest() : list(nullptr, false) {
        const char* names[] = {"beta", "Alpha", "gamma", "alpha"};
        const int statuses[] = {kStatusConnected, kStatusCannotConnect, kStatusWorking, kStatusConnected};
        for (int i = 0; i < 4; ++i) {
            systems[i].name = names[i];
            systems[i].status = statuses[i];
        }
        list.Fill({&systems[0], &systems[1], &systems[2], &systems[3]});
    }
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (int row = 0; row < list.GetRowCount(); ++row) names.push_back(list.GetRowData(row)->name);
        return names;
    }
    CSystem systems[4];
    CSystemList list;
};

TEST_F(SortTest, ByTextIgnoringCaseEitherWay) {
    struct {
        int column;
        bool descending;
        std::vector<std::string> order;
    } cases[] = {
        {kColumnName, false, {"Alpha", "alpha", "beta", "gamma"}},
        {kColumnName, true, {"gamma", "beta", "Alpha", "alpha"}},
        // "Cannot Connect" < "Connected OK" < "Working"; equal texts keep their order.
        {kColumnStatus, false, {"Alpha", "beta", "alpha", "gamma"}},
        // A column that cannot be sorted leaves the rows as they are.
        {kColumnAirTemp, false, {"beta", "Alpha", "gamma", "alpha"}},
    };
    for (const auto& c : cases) {
        list.Fill({&systems[0], &systems[1], &systems[2], &systems[3]});
        list.SetSortColumn(c.column);
        list.SetSortDescending(c.descending);
        list.Sort();
        EXPECT_EQ(Names(), c.order) << c.column << " " << c.descending;
    }
}

// Names that share a long beginning and differ only far into it, one of them
// the beginning itself: the order still follows the whole text.
TEST(SystemListSortTest, LongSharedBeginnings) {
    const char* names[] = {"Customer 12 Long Name B", "Customer 12 Long Name A", "Customer 12 Long Name Ab",
                           "customer 12 long name a", "Customer 12"};
    CSystem systems[5];
    std::vector<CSystem*> rows;
    for (int i = 0; i < 5; ++i) {
        systems[i].name = names[i];
        rows.push_back(&systems[i]);
    }
    CSystemList list(nullptr, false);
    list.SetSortColumn(kColumnName);
    const struct {
        bool descending;
        std::vector<std::string> order;
    } cases[] = {
        {false,
         {"Customer 12", "Customer 12 Long Name A", "customer 12 long name a", "Customer 12 Long Name Ab",
          "Customer 12 Long Name B"}},
        {true,
         {"Customer 12 Long Name B", "Customer 12 Long Name Ab", "Customer 12 Long Name A", "customer 12 long name a",
          "Customer 12"}},
    };
    for (const auto& c : cases) {
        list.Fill(rows);
        list.SetSortDescending(c.descending);
        list.Sort();
        std::vector<std::string> order;
        for (int row = 0; row < list.GetRowCount(); ++row) order.push_back(list.GetRowData(row)->name);
        EXPECT_EQ(order, c.order) << c.descending;
    }
}

TEST_F(SortTest, SelectionTravelsWithItsRow) {
    list.SetSelected(0, true);  // beta
    list.SetFocused(0);
    list.SetSortColumn(kColumnName);
    list.SetSortDescending(false);
    list.Sort();
    EXPECT_EQ(list.GetSelectedRows(), std::vector<int>{2});
    EXPECT_EQ(list.GetNextSelected(0), 2);
    EXPECT_EQ(list.GetNextSelected(3), -1);
    EXPECT_EQ(list.GetNextSelected(9), -1);
    list.SetSelected(1, true);
    EXPECT_EQ(list.GetNextSelected(0), 2) << "the focused selected row comes first";
    list.ClearFocus();
    EXPECT_EQ(list.GetNextSelected(0), 1);
}

TEST(SystemListTest, DefaultWidthsFollowTheWindow) {
    CSystemList list(nullptr, false);
    // No window yet: the wide set.
    EXPECT_EQ(list.GetColumnWidths()[0], 95);
    EXPECT_EQ(list.GetColumnWidths()[2], 110);
    EXPECT_EQ(list.GetColumnWidths()[26], 50);
    list.SetWindowWidth(1280);
    list.SetDefaultWidths();
    EXPECT_EQ(list.GetColumnWidths()[0], 90);
    EXPECT_EQ(list.GetColumnWidths()[22], 25);
    EXPECT_EQ(list.GetColumnWidths()[23], 26);
    EXPECT_EQ(list.GetColumnWidths()[21], 28);
    list.SetWindowWidth(1281);
    list.SetDefaultWidths();
    EXPECT_EQ(list.GetColumnWidths()[3], 90);
    CSystemList history(nullptr, true);
    EXPECT_EQ(history.GetColumnWidths()[0], 75);
    EXPECT_EQ(history.GetColumnWidths()[1], 75);
}

// Every character 6 pixels wide, a title's line 40 high.
CListFontMeasure SixPixelFont() {
    const auto measure = [](const std::string& text) { return 6 * static_cast<int>(text.size()); };
    return {measure, measure, 40};
}

TEST(SystemListTest, DefaultWidthsShowEveryTitleAndValueWhole) {
    CSystemList list(nullptr, false);
    CSystem longName;
    longName.name = std::string(60, 'W');
    CSystem hollis;
    hollis.name = "Hollis Residence";
    hollis.status = kStatusSystemMismatch;
    list.Fill({&longName, &hollis});
    list.SetWindowWidth(800);
    list.SetFontMeasure(SixPixelFont());
    list.SetDefaultWidths();
    const std::vector<int>& widths = list.GetColumnWidths();
    ASSERT_EQ(list.GetReadableWidths().size(), widths.size());
    // A value no wider than its column's cap is never cut.
    for (int column = 0; column < list.CSortListCtrl::GetColumnCount(); ++column) {
        for (const CSystem* system : {&longName, &hollis}) {
            const std::string text = list.GetCellText(system, column);
            if (6 * static_cast<int>(text.size()) + CSortListCtrl::kCellMargin < CSystemList::kMaxReadableWidth)
                EXPECT_EQ(FitCellText(text, widths[static_cast<size_t>(column)], SixPixelFont().cellText), text)
                    << "column " << column;
        }
    }
    EXPECT_EQ(widths[kColumnName], CSystemList::kMaxReadableWidth);
    // "Discovery System Mismatch": 25 characters, and a pixel past the margin.
    EXPECT_EQ(widths[kColumnStatus], 25 * 6 + CSortListCtrl::kCellMargin + 1);
    // Titles across: the widest line, "(Last 6 digits)", between the margins.
    EXPECT_EQ(widths[kColumnSerial], 15 * 6 + 2 * CSortListCtrl::kTitleMargin);
    // Titles downwards: a line's height between the margins, unless the usual value,
    // "Disabled", needs more.
    EXPECT_EQ(widths[kColumnPoolPump], 40 + 2 * CSortListCtrl::kTitleMargin);
    EXPECT_EQ(widths[kColumnSpaSideRemote], 8 * 6 + CSortListCtrl::kCellMargin + 1);
    // Never below the window's default.
    EXPECT_EQ(widths[kColumnPoolHeatMode], 65);
}

TEST(SortListTest, StoredWidthsBeyondReasonBecomeDefault) {
    CSortListCtrl list;
    list.SetColumns({"a", "b", "c"});
    list.SetColumnWidth(0, 501);
    list.SetColumnWidth(1, -600);
    list.SetColumnWidth(2, 500);
    list.SetColumnWidth(3, 70);  // no such column
    list.ApplyColumns();
    EXPECT_EQ(list.GetColumnWidths(), (std::vector<int>{50, 50, 500}));
}

TEST(SortListTest, FittingColumnsToTheHeader) {
    struct {
        const char* what;
        std::vector<int> widths;
        int header;
        std::vector<int> fitted;
        bool changed;
        std::vector<int> floors = {};
    } cases[] = {
        {"room to spare goes to the last", {50, 50, 50}, 204, {50, 50, 100}, true},
        {"exact fit", {50, 50, 100}, 204, {50, 50, 100}, false},
        {"rightmost shrink first", {60, 50, 50}, 154, {60, 50, 40}, true},
        {"none below 12, the first never", {90, 30, 30}, 110, {90, 12, 12}, true},
        {"header of 104 is not fitted", {200, 200}, 104, {200, 200}, false},
        {"header of 105 is", {50, 20}, 105, {50, 51}, true},
        {"none below its floor", {60, 50, 50}, 124, {60, 30, 30}, true, {0, 30, 30}},
        {"what floors keep is scrolled to", {90, 40, 40}, 124, {90, 35, 35}, true, {0, 35, 35}},
        {"a floor below 12 still keeps 12", {90, 30, 30}, 110, {90, 12, 12}, true, {0, 5, 5}},
        {"room to spare still goes to the last", {50, 50, 50}, 204, {50, 50, 100}, true, {50, 50, 50}},
    };
    for (auto& c : cases) {
        std::vector<int> widths = c.widths;
        EXPECT_EQ(FitColumnWidths(widths, c.header, c.floors), c.changed) << c.what;
        EXPECT_EQ(widths, c.fitted) << c.what;
    }
}

TEST(SortListTest, CellTextIsCutWithEllipsis) {
    // Every character 6 pixels wide.
    const auto measure = [](const std::string& text) { return static_cast<int>(text.size()) * 6; };
    struct {
        const char* text;
        int width;
        const char* shown;
    } cases[] = {
        {"Hollis", 41, "Hollis"},  // 36 < 37
        {"Hollis", 40, "Hol..."},  // 36 >= 36: cut until 18 + 18 fits in 36
        {"Hollis", 10, "H..."},    // one character is never cut
        {"", 2, "..."},
    };
    for (const auto& c : cases) EXPECT_EQ(FitCellText(c.text, c.width, measure), c.shown) << c.text << " " << c.width;
}

TEST(SortListTest, SelectedBackgroundIsDarker) {
    EXPECT_EQ(SelectedBackColor(Rgb(20, 120, 255)), Rgb(0, 95, 230));
    EXPECT_EQ(SelectedBackColor(Rgb(25, 25, 24)), Rgb(0, 0, 0));
}

TEST(SortListTest, CaseInsensitiveOrder) {
    EXPECT_EQ(CompareNoCase("abc", "ABC"), 0);
    EXPECT_LT(CompareNoCase("ab", "ABC"), 0);
    EXPECT_GT(CompareNoCase("b", "A"), 0);
    EXPECT_EQ(CompareNoCase("\xC9t\xE9", "\xE9T\xC9"), 0);  // accented capitals
}

// The sort compares folded keys byte by byte: the same order as CompareNoCase,
// bytes above 0x7F included.
TEST(SortListTest, FoldedTextsCompareAsCompareNoCase) {
    const std::string texts[] = {"", "a", "B", "ab", "ABC", "\xC9t\xE9", "\xE9T", "z", "\x8A", "\x9F", "~", "5.2"};
    const auto sign = [](int value) { return (value > 0) - (value < 0); };
    for (const std::string& a : texts)
        for (const std::string& b : texts)
            EXPECT_EQ(sign(FoldCase(a).compare(FoldCase(b))), sign(CompareNoCase(a, b))) << a << " / " << b;
}

class RecordingListView : public CSortListView {
public:
    void OnListChanged() override { ++changes; }
    void ScrollToRow(int row) override { scrolled = row; }
    void ShowSystemErrors(CSystem& system) override { errorsOf = &system; }
    int changes = 0;
    int scrolled = -1;
    CSystem* errorsOf = nullptr;
};

TEST(SystemListTest, RightClickOnAlarmsShowsThatRowsErrors) {
    CSystem record;
    CSystemList history(nullptr, true);
    RecordingListView view;
    history.SetView(&view);
    history.Fill({&record});
    history.OnRightClick(0, 14, 5, 5);  // history column 14 is the alarms column
    EXPECT_EQ(view.errorsOf, &record);
    view.errorsOf = nullptr;
    history.OnRightClick(0, 3, 5, 5);
    history.OnRightClick(1, 14, 5, 5);  // no such row
    EXPECT_EQ(view.errorsOf, nullptr);
    history.SetView(nullptr);
}

}  // namespace
