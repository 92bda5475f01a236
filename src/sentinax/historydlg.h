#pragma once
// The history window of one customer system (every stored record as a row
// of a history list, deletable and exportable) and its alarms dialog.
#include <memory>
#include <string>
#include <vector>

#include "sentinax/systemlist.h"

// "System Errors": the title and the alarm and warning texts, sorted.
std::string GetErrorsTitle(const CSystem& system);
std::vector<std::string> GetErrorLines(const CSystem& system);

class CHistoryView {
public:
    virtual ~CHistoryView() = default;
    virtual void EnableDeleteEntries(bool on) = 0;
};

class CHistoryDlg {
public:
    static constexpr int ID_HISTORY_DELETE = 153;
    static constexpr int ID_HISTORY_EXPORT = 154;

    CHistoryDlg(CSystem& system, CHistoryView& view);
    ~CHistoryDlg();
    CHistoryDlg(const CHistoryDlg&) = delete;
    CHistoryDlg& operator=(const CHistoryDlg&) = delete;

    std::string GetTitle() const;
    // Every record of the system's history file, the last one first.
    void LoadHistory();
    void OnItemChanged();
    // Rewrites the history file, as it is now, without the records of the
    // selected rows (one stored record for each row), and shows it again.
    // Records appended since the window was filled are kept. 0, with the
    // file as it was, when it cannot be rewritten whole.
    int OnDeleteEntries();
    // The list's titles and rows, in display order, as a CSV file.
    bool ExportCsv(const std::string& path) const;

    CSystemList& List() { return m_list; }
    const std::vector<std::unique_ptr<CSystem>>& Records() const { return m_records; }

private:
    void FreeRecords();

    CSystem& m_system;
    CHistoryView& m_view;
    std::vector<std::unique_ptr<CSystem>> m_records;
    CSystemList m_list;
};
