#include "sentinax/systemdlg.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "sentinax/emailserver.h"
#include "sentinax/sortlist.h"
#include "sentinax/system.h"

namespace {

constexpr size_t kShortSerial = 6;
constexpr char kBrandPrefix[] = "BRENVIK:";
constexpr char kStoredPrefix[] = "Brenvik: ";

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && CompareNoCase(text.substr(0, prefix.size()), prefix) == 0;
}

// The system's fields and the dialog's, in the order the dialog lists them.
int32_t CSystemRecord::*const kNotifyFlags[CSystemFields::kNotifyCount] = {
    &CSystemRecord::notifySystemErrors, &CSystemRecord::notifyPumpErrors, &CSystemRecord::notifyChlorinator,
    &CSystemRecord::notifyChemistry,    &CSystemRecord::notifyHeatPump,   &CSystemRecord::notifyFreeze,
};

}  // namespace

std::string MakeAdapterName(const std::string& entered) {
    std::string text = entered;
    if (text.size() == kShortSerial) text = text.substr(0, 2) + "-" + text.substr(2, 2) + "-" + text.substr(4, 2);
    if (StartsWithNoCase(text, kBrandPrefix)) text.erase(0, std::size(kBrandPrefix) - 1);
    const size_t start = text.find_first_not_of(" \t");
    text.erase(0, start == std::string::npos ? text.size() : start);
    return kStoredPrefix + text;
}

CSystemDlg::CSystemDlg(CSystem& system, CMailQueue& mail, const CSystemColumns& columns,
                       std::function<void()> showEmailLog, CSystemDlgView& view)
    : m_system(system), m_mail(mail), m_columns(columns), m_showEmailLog(std::move(showEmailLog)), m_view(view) {
    auto lock = m_system.Lock();
    m_fields.name = m_system.name;
    m_fields.password = m_system.password;
    m_fields.adapterAddress = m_shownAddress = AdapterSerialOf(m_system.adapterName);
    m_fields.notes = m_system.notes;
    for (int i = 0; i < CSystemFields::kNotifyCount; ++i) m_fields.notify[i] = m_system.*kNotifyFlags[i];
    m_fields.address = m_system.address;
    m_fields.city = m_system.city;
    m_fields.zip = m_system.zip;
    m_fields.phone = m_system.phone;
    m_fields.includeDefault = m_system.includeDefaultEmail;
    for (const std::string& email : m_system.emailList) InsertSorted(email);
}

void CSystemDlg::OnInitDialog() {
    m_view.PutFields(m_fields);
    m_view.ShowEmails(m_emails);
}

void CSystemDlg::OnOK() {
    if (!m_view.GetFields(m_fields)) return;
    // The adapter name is the system's identity and names its history file:
    // it is never empty, and changes only when the user changed what was
    // shown.
    if (AdapterSerialOf(MakeAdapterName(m_fields.adapterAddress)).empty()) {
        m_view.ShowRefusal(kEmptyAdapterText);
        return;
    }
    // A poll thread may be reading the system: it changes whole.
    auto lock = m_system.Lock();
    m_system.name = m_fields.name;
    m_system.password = m_fields.password;
    if (m_fields.adapterAddress != m_shownAddress) m_system.adapterName = MakeAdapterName(m_fields.adapterAddress);
    m_system.notes = m_fields.notes;
    m_system.address = m_fields.address;
    m_system.city = m_fields.city;
    m_system.zip = m_fields.zip;
    m_system.phone = m_fields.phone;
    for (int i = 0; i < CSystemFields::kNotifyCount; ++i) m_system.*kNotifyFlags[i] = m_fields.notify[i];
    m_system.includeDefaultEmail = m_fields.includeDefault;
    m_system.emailList = m_emails;
    lock.unlock();
    m_view.EndDialog(true);
}

void CSystemDlg::OnAddEmail() {
    const std::optional<std::string> email = m_view.AskNewEmail();
    if (!email) return;
    // Checked here, where the user can mend it: a bad address would only
    // fail, unseen, when an alarm is mailed.
    if (!IsMailAddress(*email)) {
        m_view.ShowRefusal(kBadRecipientText);
        return;
    }
    InsertSorted(*email);
    m_view.ShowEmails(m_emails);
}

void CSystemDlg::OnDeleteEmail() {
    const int row = m_view.SelectedEmail();
    if (row < 0 || row >= static_cast<int>(m_emails.size())) return;
    m_emails.erase(m_emails.begin() + row);
    m_view.ShowEmails(m_emails);
}

void CSystemDlg::OnSendTestEmail() {
    if (!m_view.GetFields(m_fields)) return;
    if (m_showEmailLog) m_showEmailLog();
    m_view.StayOnTop();
    std::vector<std::string> recipients = m_emails;
    const std::string fallback = m_mail.GetDefaultRecipient();
    if (m_fields.includeDefault && !fallback.empty()) recipients.push_back(fallback);
    for (const std::string& recipient : recipients) {
        auto message = std::make_unique<CEmailMessage>(recipient);
        message->AddHeader(kTestSubject);
        m_system.ComposeAlarmMail(*message, m_columns);
        m_mail.Queue(std::move(message));
    }
}

void CSystemDlg::InsertSorted(const std::string& email) {
    const auto at =
        std::upper_bound(m_emails.begin(), m_emails.end(), email,
                         [](const std::string& a, const std::string& b) { return CompareNoCase(a, b) < 0; });
    m_emails.insert(at, email);
}
