#include "sentinax/emaillogdlg.h"

#include <cstdio>
#include <utility>

namespace {

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

std::string TrimLineEnds(const std::string& text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsLineEnd(text[begin])) ++begin;
    while (end > begin && IsLineEnd(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

}  // namespace

std::string FormatLogLine(const CLogEvent& entry) {
    const CZVTime& t = entry.time;
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%d/%d/%d %d:%02d:%02d %s", t.GetMonth(), t.GetDay(), t.GetYear(), t.GetHour12(),
                  t.GetMinute(), t.GetSecond(), t.GetHour() >= 12 ? "PM" : "AM");
    return std::string(stamp) + "\t " + TrimLineEnds(entry.text);
}

CEmailLogDlg::CEmailLogDlg(CEmailServer& server, CEmailLogView& view, std::function<void()> close)
    : m_server(server), m_view(view), m_close(std::move(close)) {}

void CEmailLogDlg::Refresh() {
    const std::vector<CLogEvent> entries = m_server.TakeNewLogEntries();
    if (entries.empty()) return;
    while (m_view.GetLineCount() > kMaxLines) m_view.DeleteFirstLine();
    for (const CLogEvent& entry : entries) m_view.AddLine(FormatLogLine(entry));
    m_view.SelectLastLine();
}

void CEmailLogDlg::OnCancel() {
    if (m_close) m_close();
}

CEmailSetDlg::CEmailSetDlg(CEmailServer& server, CEmailSetView& view)
    : m_server(server),
      m_view(view),
      m_account{server.GetSmtpServer(), server.GetSenderAddress(), server.GetPassword(), server.GetDefaultRecipient()} {
}

void CEmailSetDlg::OnInitDialog() { m_view.PutAccount(m_account); }

void CEmailSetDlg::OnOK() {
    if (!m_view.GetAccount(m_account)) return;
    m_server.SetSmtpServer(m_account.smtpServer);
    m_server.SetSenderAddress(m_account.sender);
    m_server.SetPassword(m_account.password);
    m_server.SetDefaultRecipient(m_account.defaultRecipient);
    m_view.EndDialog(true);
}
