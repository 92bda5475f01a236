#include "sentinax/emaillogdlg.h"

#include <cstdio>
#include <utility>

namespace {

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

std::string TrimLineEnds(const std::string& text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsLineEnd(text[begin]))
        ++begin;
    while (end > begin && IsLineEnd(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

}  // namespace

std::string FormatLogLine(const CLogEvent& entry) {
    const CZVTime& t = entry.time;
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%d/%d/%d %d:%02d:%02d %s", t.GetMonth(), t.GetDay(), t.GetYear(),
                  t.GetHour12(), t.GetMinute(), t.GetSecond(), t.GetHour() >= 12 ? "PM" : "AM");
    return std::string(stamp) + "\t " + TrimLineEnds(entry.text);
}

CEmailLogDlg::CEmailLogDlg(CEmailServer& server, CEmailLogView& view, std::function<void()> close)
    : server_(server), view_(view), close_(std::move(close)) {}

void CEmailLogDlg::Refresh() {
    const std::vector<CLogEvent> entries = server_.TakeNewLogEntries();
    if (entries.empty())
        return;
    while (view_.GetLineCount() > kMaxLines)
        view_.DeleteFirstLine();
    for (const CLogEvent& entry : entries)
        view_.AddLine(FormatLogLine(entry));
    view_.SelectLastLine();
}

void CEmailLogDlg::OnCancel() {
    if (close_)
        close_();
}

CEmailSetDlg::CEmailSetDlg(CEmailServer& server, CEmailSetView& view)
    : server_(server),
      view_(view),
      account_{server.GetSmtpServer(), server.GetSenderAddress(), server.GetPassword(), server.GetDefaultRecipient()} {}

void CEmailSetDlg::OnInitDialog() { view_.PutAccount(account_); }

void CEmailSetDlg::OnOK() {
    if (!view_.GetAccount(account_))
        return;
    server_.SetSmtpServer(account_.smtpServer);
    server_.SetSenderAddress(account_.sender);
    server_.SetPassword(account_.password);
    server_.SetDefaultRecipient(account_.defaultRecipient);
    view_.EndDialog(true);
}
