#include "sentinax/historydlg.h"

#include <algorithm>
#include <set>

#include "core/zvfile.h"
#include "sentinax/csvexport.h"
#include "sentinax/replacefile.h"
#include "sentinax/system.h"

std::string GetErrorsTitle(const CSystem& system) {
    auto lock = system.Lock();
    return system.name + " Errors";
}

std::vector<std::string> GetErrorLines(const CSystem& system) {
    std::vector<std::string> lines;
    for (const auto& list : {system.CopyAlarms(), system.CopyWarnings()}) {
        for (const CSystemError& entry : list) lines.push_back(entry.GetName());
    }
    std::stable_sort(lines.begin(), lines.end(),
                     [](const std::string& a, const std::string& b) { return CompareNoCase(a, b) < 0; });
    return lines;
}

namespace {

// A record as it is stored: two records are the same when these match.
std::string RecordBytes(CSystem& record) {
    CMemoryFile image(ZVVariant::Monitor);
    if (!record.SaveHistoryRecord(image, 0)) return std::string();
    return std::string(reinterpret_cast<const char*>(image.GetData()), static_cast<size_t>(image.GetDataLength()));
}

}  // namespace

CHistoryDlg::CHistoryDlg(CSystem& system, CHistoryView& view) : m_system(system), m_view(view), m_list(nullptr, true) {}

CHistoryDlg::~CHistoryDlg() {
    m_list.DeleteAllRows();
    FreeRecords();
}

std::string CHistoryDlg::GetTitle() const {
    auto lock = m_system.Lock();
    return "System History: " + m_system.name;
}

void CHistoryDlg::LoadHistory() {
    m_list.DeleteAllRows();
    FreeRecords();
    {
        auto historyLock = m_system.LockHistory();
        CZVFile file(m_system.GetHistoryFileName(0), ZVVariant::Monitor);
        if (file.Open(CZVFile::kRead)) {
            for (;;) {
                auto record = std::make_unique<CSystem>();
                if (!record->LoadHistoryRecord(file)) break;
                m_records.insert(m_records.begin(), std::move(record));
            }
        }
    }
    std::vector<CSystem*> rows;
    for (const auto& record : m_records) rows.push_back(record.get());
    m_list.Fill(rows);
}

void CHistoryDlg::OnItemChanged() { m_view.EnableDeleteEntries(true); }

int CHistoryDlg::OnDeleteEntries() {
    const std::string logName = m_system.GetHistoryFileName(0);
    const std::string tmpName = m_system.GetHistoryFileName(1);
    if (logName.empty()) return 0;
    std::multiset<std::string> chosen;
    for (int row = 0; row < m_list.GetRowCount(); ++row) {
        if (m_list.IsSelected(row)) chosen.insert(RecordBytes(*m_list.GetRowData(row)));
    }
    {
        // The poll thread's append waits. The file is read again as it is
        // now, so that a record appended since the window was filled stays;
        // the old file stays until the new one is whole.
        auto historyLock = m_system.LockHistory();
        CZVFile old(logName, ZVVariant::Monitor);
        if (old.Exists() && !old.Open(CZVFile::kRead)) return 0;
        const bool written = WriteFileReplacing(logName, tmpName, false, [&](CZVFile& file) {
            while (old.IsOpen()) {
                CSystem record;
                if (!record.LoadHistoryRecord(old)) break;
                const auto match = chosen.find(RecordBytes(record));
                if (match != chosen.end()) {
                    chosen.erase(match);
                    continue;
                }
                if (!record.SaveHistoryRecord(file, 0)) return false;
            }
            return true;
        });
        if (!written) return 0;
    }
    LoadHistory();
    return 1;
}

bool CHistoryDlg::ExportCsv(const std::string& path) const {
    std::vector<std::vector<std::string>> rows;
    for (int row = 0; row < m_list.GetRowCount(); ++row) {
        std::vector<std::string>& fields = rows.emplace_back();
        for (int column = 0; column < m_list.CSortListCtrl::GetColumnCount(); ++column)
            fields.push_back(m_list.GetCellText(m_list.GetRowData(row), column));
    }
    return WriteCsvFile(path, m_list.GetColumnTitles(), rows);
}

void CHistoryDlg::FreeRecords() { m_records.clear(); }
