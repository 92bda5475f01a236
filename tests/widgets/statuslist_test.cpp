// The status list: rows own their records, and a flagged record's row is
// drawn on its band, also when selected.
#include <gtest/gtest.h>

#include <memory>

#include "list_fixture.h"
#include "support/golden.h"
#include "widgets/lists/statuslist.h"

namespace {

using widgettest::ListTest;

// Counts the records alive.
class CountedRecord : public CStatusRecord {
public:
    explicit CountedRecord(int* alive) : m_alive(alive) { ++*m_alive; }
    ~CountedRecord() override { --*m_alive; }

private:
    int* m_alive;
};

class StatusListTest : public ListTest {
protected:
    StatusListTest() {
        page->RemoveChild(list);
        delete list;
        list = nullptr;
        page->list = nullptr;
        statusList = new CStatusList(page, CZVRect(kListX, kListY, 240, 110), 2, 42);
        page->AddChild(statusList);
        statusList->SetColumnTitle(0, "Name");
        statusList->SetColumnTitle(1, "Value");
    }
    CStatusRow* Add(const char* name, const char* value, int flagged) {
        auto record = std::make_unique<CountedRecord>(&alive);
        record->SetFlagged(flagged);
        CStatusRow* row = statusList->AddStatusRow(std::move(record));
        row->SetText(0, name);
        row->SetText(1, value);
        return row;
    }

    CStatusList* statusList;
    int alive = 0;
};

TEST_F(StatusListTest, RecordsGoWithTheirRows) {
    for (int round = 0; round < 3; ++round) {
        statusList->RemoveAll(0);
        Add("Attic", "104", 0);
        Add("Freezer", "5", 1);
        EXPECT_EQ(alive, 2);
    }
    EXPECT_EQ(statusList->GetRecordAt(1)->IsFlagged(), 1);
    EXPECT_EQ(statusList->GetRecordAt(2), nullptr);
    statusList->RemoveItemAt(0);
    EXPECT_EQ(alive, 1);
    page->RemoveChild(statusList);
    delete statusList;
    EXPECT_EQ(alive, 0);
}

TEST_F(StatusListTest, FlaggedRowsStandOnTheirBandAlsoWhenSelected) {
    Add("Attic", "104\xB0", 0);
    Add("Basement", "55 %", 1);
    Add("Freezer", "5\xB0", 1);
    statusList->SelectIndex(2, 0);
    harness.PaintAll();
    EXPECT_TRUE(testsupport::MatchesGolden(harness.Capture(), "status_list_row"));
}

}  // namespace
