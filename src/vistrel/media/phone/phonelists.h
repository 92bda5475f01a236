#pragma once
// The two lists of the phone pages. CCallerIdList shows the calls the
// gateway logged and keeps the earliest and latest call time; CVoiceMailList
// shows one mailbox's messages with their status ("New" or "Old") and
// answers where the next or previous message of a status lies. Both fill
// themselves from one blocking query; the last entry of an answer is shown
// first. A row's data is the entry's id.
#include <cstdint>

#include "core/zvserver.h"
#include "core/zvtime.h"
#include "widgets/lists/columnlist.h"

// The texts of an entry's Date, Time and Length columns.
CZVString PhoneDateText(const CZVTime& time);
CZVString PhoneTimeText(const CZVTime& time);
CZVString PhoneLengthText(const CZVTimeSpan& span);
// The id a row's data holds.
int32_t PhoneRowId(CListWnd* list, int index);

class CCallerIdList : public CColumnListWnd, public CSocketSink {
public:
    CCallerIdList(CZVWindow* parent, CZVRect rect, int commandId, CZVServer& server);

    // Asks the gateway for the calls and shows them; an unanswered query
    // leaves the list empty.
    void Refresh();
    // Adds the count entries of an answer read up to its count.
    void Fill(CZVMSG& answer, int32_t count);
    const CZVTime& GetEarliest() const { return m_earliest; }
    const CZVTime& GetLatest() const { return m_latest; }

private:
    CZVTime m_latest;
    CZVTime m_earliest;
};

class CVoiceMailList : public CColumnListWnd {
public:
    enum Status : int { kNew = 1, kOld = 2, kAny = 7 };
    static constexpr int kStatusColumn = 5;

    CVoiceMailList(CZVWindow* parent, CZVRect rect, int commandId, CZVServer& server);

    // Asks the gateway for the mailbox's messages and shows them.
    void Refresh(int32_t box);
    // Adds the count entries of an answer read up to its count.
    void Fill(CZVMSG& answer, int32_t count);
    // Rows of the status (kNew, kOld); all rows for any other value.
    int CountRows(int status);
    // The row index of the k-th row (from 0) of the status; -1 when none.
    int FindNth(int status, int k);
    // The first row of the status after row i; -1 when none follows.
    int FindNext(int status, int i);
    // The nearest row of the status before row i; -1 when none precedes.
    int FindPrevious(int status, int i);
    // Whether the row shows the status (any row for another status value).
    bool HasStatus(int index, int status);
    // Shows the row as new and moves it from the old count to the new one.
    void MarkRowNew(int index);

    int GetNewCount() const { return m_newCount; }
    int GetOldCount() const { return m_oldCount; }

private:
    CZVServer& m_server;
    int m_newCount = 0;
    int m_oldCount = 0;
};
