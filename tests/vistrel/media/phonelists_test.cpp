// The call list and the voice-mail list: what an answer shows, row by row,
// and where the next or previous message of a status lies.
#include "vistrel/media/phone/phonelists.h"

#include <gtest/gtest.h>

#include <string>

#include "core/messages/mediamessages.h"
#include "phone_fixture.h"
#include "vistrel/shell_fixture.h"

namespace {

using phonetest::Entries;
using phonetest::Entry;

std::string Text(CColumnListWnd* list, int row, int column) {
    CZVString text = list->GetRow(row)->GetText(column);
    return text.GetAnsi();
}

class PhoneLists : public vistreltest::ShellTest {
protected:
    void SetUp() override { Connect(); }

    CCallerIdList* Calls() {
        auto* list = new CCallerIdList(window.get(), CZVRect(0, 0, 300, 200), 1009, server);
        window->AddChild(list);
        list->Refresh();
        return list;
    }
    CVoiceMailList* Mail(int box = 0) {
        auto* list = new CVoiceMailList(window.get(), CZVRect(0, 0, 300, 200), 1013, server);
        window->AddChild(list);
        list->Refresh(box);
        return list;
    }
};

TEST_F(PhoneLists, AnEntryShowsItsDateTimeAndLengthColumns) {
    // Monday 5 January 2026, 14:05, three minutes.
    gateway.Answer(ZVM_PHONE_GETCALLERIDSQ, Entries({{7, 1, 5, 14, 5, 3, "555-0101", "Ann"}}));
    CCallerIdList* list = Calls();
    ASSERT_EQ(list->GetCount(), 1);
    EXPECT_EQ(Text(list, 0, 0), "Ann");
    EXPECT_EQ(Text(list, 0, 1), "555-0101");
    EXPECT_EQ(Text(list, 0, 2), "Jan 5 Mon");
    EXPECT_EQ(Text(list, 0, 3), "  2:05 PM");
    EXPECT_EQ(Text(list, 0, 4), "   0:03");
    EXPECT_EQ(PhoneRowId(list, 0), 7);
}

TEST_F(PhoneLists, TheCallListEndsAtAnIdOfMinusOneAndShowsTheLastEntryFirst) {
    gateway.Answer(ZVM_PHONE_GETCALLERIDSQ, Entries({{1, 3, 3, 9, 5, 1, "1", "First"},
                                                     {-1, 3, 4, 23, 30, 1, "2", "Gone"},
                                                     {3, 3, 2, 7, 0, 1, "3", "Third"}}));
    EXPECT_EQ(Calls()->GetCount(), 1);

    gateway.Answer(ZVM_PHONE_GETCALLERIDSQ, Entries({{1, 3, 3, 9, 5, 1, "1", "First"},
                                                     {2, 3, 4, 23, 30, 1, "2", "Second"},
                                                     {3, 3, 2, 7, 0, 1, "3", "Third"}}));
    CCallerIdList* list = Calls();
    ASSERT_EQ(list->GetCount(), 3);
    EXPECT_EQ(Text(list, 0, 0), "Third");
    EXPECT_EQ(Text(list, 2, 0), "First");
    EXPECT_EQ(list->GetEarliest().GetDay(), 2);
    EXPECT_EQ(list->GetLatest().GetDay(), 4);
}

TEST_F(PhoneLists, AShortOrMissingAnswerKeepsWhatWasRead) {
    testsupport::Bytes cut = Entries({{1, 3, 3, 9, 5, 1, "1", "First"}, {2, 3, 4, 23, 30, 1, "2", "Second"}});
    cut.resize(cut.size() - 6);
    gateway.Answer(ZVM_PHONE_GETVOICEMAILSQ, cut);
    CVoiceMailList* list = Mail();
    EXPECT_EQ(list->GetCount(), 1);
    EXPECT_EQ(list->GetNewCount(), 1);
    gateway.Answer(ZVM_PHONE_GETVOICEMAILSQ, testsupport::PayloadWriter().Int(1000000));
    list->Refresh(0);
    EXPECT_EQ(list->GetCount(), 0);
    EXPECT_EQ(list->GetNewCount(), 0);
}

TEST_F(PhoneLists, TheLastIntTellsOldFromNewAndTheCountsFollow) {
    gateway.Answer(
        ZVM_PHONE_GETVOICEMAILSQ,
        Entries({{1, 1, 1, 1, 0, 0, "a", "A", 0}, {2, 1, 1, 1, 0, 0, "b", "B", 2}, {3, 1, 1, 1, 0, 0, "c", "C", 3}}));
    CVoiceMailList* list = Mail(4);
    testsupport::Frame request;
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_PHONE_GETVOICEMAILSQ, &request));
    int32_t box = 0;
    testsupport::PayloadReader(request.payload).Int(&box);
    EXPECT_EQ(box, 4);
    // Shown last entry first: C, B, A.
    EXPECT_EQ(Text(list, 0, 5), "Old");
    EXPECT_EQ(Text(list, 1, 5), "Old");
    EXPECT_EQ(Text(list, 2, 5), "New");
    EXPECT_EQ(list->CountRows(CVoiceMailList::kNew), 1);
    EXPECT_EQ(list->CountRows(CVoiceMailList::kOld), 2);
    EXPECT_EQ(list->CountRows(0), 3);
    EXPECT_EQ(list->GetNewCount(), 1);
    EXPECT_EQ(list->GetOldCount(), 2);
    list->MarkRowNew(0);
    EXPECT_EQ(Text(list, 0, 5), "New");
    EXPECT_EQ(list->GetNewCount(), 2);
    EXPECT_EQ(list->GetOldCount(), 1);
}

TEST_F(PhoneLists, FindsAnswerMinusOneForNoneAndNeverConfuseItWithRowZero) {
    // Rows from the top: New, Old, New, Old, New.
    gateway.Answer(ZVM_PHONE_GETVOICEMAILSQ, Entries({{5, 1, 1, 1, 0, 0, "", "", 0},
                                                      {4, 1, 1, 1, 0, 0, "", "", 2},
                                                      {3, 1, 1, 1, 0, 0, "", "", 0},
                                                      {2, 1, 1, 1, 0, 0, "", "", 2},
                                                      {1, 1, 1, 1, 0, 0, "", "", 0}}));
    CVoiceMailList* list = Mail();
    const int kNew = CVoiceMailList::kNew, kOld = CVoiceMailList::kOld, kAny = CVoiceMailList::kAny;
    const struct {
        const char* what;
        int found;
        int expected;
    } cases[] = {
        {"first new", list->FindNth(kNew, 0), 0},
        {"third new", list->FindNth(kNew, 2), 4},
        {"fourth new", list->FindNth(kNew, 3), -1},
        {"second old", list->FindNth(kOld, 1), 3},
        {"any, fifth", list->FindNth(kAny, 4), 4},
        {"next new after 0", list->FindNext(kNew, 0), 2},
        {"next new after the last", list->FindNext(kNew, 4), -1},
        {"next old after 3", list->FindNext(kOld, 3), -1},
        {"next from -1", list->FindNext(kNew, -1), -1},
        {"previous old before 3", list->FindPrevious(kOld, 3), 1},
        {"previous new before 2 is row 0", list->FindPrevious(kNew, 2), 0},
        {"previous from row 0", list->FindPrevious(kNew, 0), -1},
        {"previous old before 1", list->FindPrevious(kOld, 1), -1},
        {"previous beyond the end", list->FindPrevious(kAny, 5), -1},
        {"previous any before 4", list->FindPrevious(kAny, 4), 3},
    };
    for (const auto& c : cases) EXPECT_EQ(c.found, c.expected) << c.what;

    gateway.Answer(ZVM_PHONE_GETVOICEMAILSQ, Entries({}));
    list->Refresh(0);
    EXPECT_EQ(list->FindNth(kAny, 0), -1);
    EXPECT_EQ(list->FindNext(kAny, 0), -1);
    EXPECT_EQ(list->FindPrevious(kAny, 0), -1);
}

}  // namespace
