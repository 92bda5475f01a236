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
    if (text.size() == kShortSerial)
        text = text.substr(0, 2) + "-" + text.substr(2, 2) + "-" + text.substr(4, 2);
    if (StartsWithNoCase(text, kBrandPrefix))
        text.erase(0, std::size(kBrandPrefix) - 1);
    const size_t start = text.find_first_not_of(" \t");
    text.erase(0, start == std::string::npos ? text.size() : start);
    return kStoredPrefix + text;
}

CSystemDlg::CSystemDlg(CSystem& system, CMailQueue& mail, const CSystemColumns& columns,
                       std::function<void()> showEmailLog, CSystemDlgView& view)
    : system_(system), mail_(mail), columns_(columns), showEmailLog_(std::move(showEmailLog)), view_(view) {
    auto lock = system_.Lock();
    fields_.name = system_.name;
    fields_.password = system_.password;
    fields_.adapterAddress = shownAddress_ = AdapterSerialOf(system_.adapterName);
    fields_.notes = system_.notes;
    for (int i = 0; i < CSystemFields::kNotifyCount; ++i)
        fields_.notify[i] = system_.*kNotifyFlags[i];
    fields_.address = system_.address;
    fields_.city = system_.city;
    fields_.zip = system_.zip;
    fields_.phone = system_.phone;
    fields_.includeDefault = system_.includeDefaultEmail;
    for (const std::string& email : system_.emailList)
        InsertSorted(email);
}

void CSystemDlg::OnInitDialog() {
    view_.PutFields(fields_);
    view_.ShowEmails(emails_);
}

void CSystemDlg::OnOK() {
    if (!view_.GetFields(fields_))
        return;
    // The adapter name is the system's identity and names its history file:
    // it is never empty, and changes only when the user changed what was
    // shown.
    if (AdapterSerialOf(MakeAdapterName(fields_.adapterAddress)).empty()) {
        view_.ShowRefusal(kEmptyAdapterText);
        return;
    }
    // A poll thread may be reading the system: it changes whole.
    auto lock = system_.Lock();
    system_.name = fields_.name;
    system_.password = fields_.password;
    if (fields_.adapterAddress != shownAddress_)
        system_.adapterName = MakeAdapterName(fields_.adapterAddress);
    system_.notes = fields_.notes;
    system_.address = fields_.address;
    system_.city = fields_.city;
    system_.zip = fields_.zip;
    system_.phone = fields_.phone;
    for (int i = 0; i < CSystemFields::kNotifyCount; ++i)
        system_.*kNotifyFlags[i] = fields_.notify[i];
    system_.includeDefaultEmail = fields_.includeDefault;
    system_.emailList = emails_;
    lock.unlock();
    view_.EndDialog(true);
}

void CSystemDlg::OnAddEmail() {
    const std::optional<std::string> email = view_.AskNewEmail();
    if (!email)
        return;
    // Checked here, where the user can mend it: a bad address would only
    // fail, unseen, when an alarm is mailed.
    if (!IsMailAddress(*email)) {
        view_.ShowRefusal(kBadRecipientText);
        return;
    }
    InsertSorted(*email);
    view_.ShowEmails(emails_);
}

void CSystemDlg::OnDeleteEmail() {
    const int row = view_.SelectedEmail();
    if (row < 0 || row >= static_cast<int>(emails_.size()))
        return;
    emails_.erase(emails_.begin() + row);
    view_.ShowEmails(emails_);
}

void CSystemDlg::OnSendTestEmail() {
    if (!view_.GetFields(fields_))
        return;
    if (showEmailLog_)
        showEmailLog_();
    view_.StayOnTop();
    std::vector<std::string> recipients = emails_;
    const std::string fallback = mail_.GetDefaultRecipient();
    if (fields_.includeDefault && !fallback.empty())
        recipients.push_back(fallback);
    for (const std::string& recipient : recipients) {
        auto message = std::make_unique<CEmailMessage>(recipient);
        message->AddHeader(kTestSubject);
        system_.ComposeAlarmMail(*message, columns_);
        mail_.Queue(std::move(message));
    }
}

void CSystemDlg::InsertSorted(const std::string& email) {
    const auto at = std::upper_bound(emails_.begin(), emails_.end(), email, [](const std::string& a, const std::string& b) {
        return CompareNoCase(a, b) < 0;
    });
    emails_.insert(at, email);
}
