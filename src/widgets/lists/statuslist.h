#pragma once
// CStatusList: a column list whose rows each own a status record; a row
// whose record is flagged is drawn on a light red band, also under the
// selection's shade. A row's record lives exactly as long as its row.
#include <memory>

#include "widgets/lists/columnlist.h"

// What a status row carries: whatever the filler needs, and the flag.
class CStatusRecord {
public:
    CStatusRecord() = default;
    virtual ~CStatusRecord() = default;
    CStatusRecord(const CStatusRecord&) = delete;
    CStatusRecord& operator=(const CStatusRecord&) = delete;

    int IsFlagged() const { return m_flagged; }
    void SetFlagged(int flagged) { m_flagged = flagged ? 1 : 0; }

private:
    int m_flagged = 0;
};

class CStatusRow : public CColumnListItem {
public:
    CStatusRow(int index, int columns, std::unique_ptr<CStatusRecord> record);

    CStatusRecord* GetRecord() const { return m_record.get(); }

private:
    std::unique_ptr<CStatusRecord> m_record;
};

class CStatusList : public CColumnListWnd {
public:
    static constexpr COLORREF kFlaggedColour = 0xAFAFFF;

    using CColumnListWnd::CColumnListWnd;

    // A new row at the end that owns the record (which may be null).
    CStatusRow* AddStatusRow(std::unique_ptr<CStatusRecord> record);
    // The record of the row at the index; null outside the list or without one.
    CStatusRecord* GetRecordAt(int index);

    void DrawRow(CZVDC* dc, CListItem* row, int top, int bottom) override;
    // Deletes the rows with their records; the columns keep their layout.
    void RemoveAll(int redraw) override;
};
