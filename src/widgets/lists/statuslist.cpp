#include "widgets/lists/statuslist.h"

CStatusRow::CStatusRow(int index, int columns, std::unique_ptr<CStatusRecord> record)
    : CColumnListItem(index, columns), m_record(std::move(record)) {}

CStatusRow* CStatusList::AddStatusRow(std::unique_ptr<CStatusRecord> record) {
    return static_cast<CStatusRow*>(
        AppendItem(std::make_unique<CStatusRow>(GetCount(), GetColumnCount(), std::move(record))));
}

CStatusRecord* CStatusList::GetRecordAt(int index) {
    auto* row = dynamic_cast<CStatusRow*>(GetItemAt(index));
    return row ? row->GetRecord() : nullptr;
}

void CStatusList::DrawRow(CZVDC* dc, CListItem* item, int top, int bottom) {
    auto* row = dynamic_cast<CStatusRow*>(item);
    if (!row || !row->GetRecord() || !row->GetRecord()->IsFlagged()) {
        CColumnListWnd::DrawRow(dc, item, top, bottom);
        return;
    }
    const int bevel = GetBevel();
    dc->FillRect(kFlaggedColour, bevel, top, m_width - 2 * bevel, bottom - top, 0);
    // The selection's shade keeps the band: it treats the band's colour as background.
    const COLORREF back = m_backColor;
    m_backColor = kFlaggedColour;
    CColumnListWnd::DrawRow(dc, item, top, bottom);
    m_backColor = back;
}

void CStatusList::RemoveAll(int redraw) { CListWnd::RemoveAll(redraw); }
