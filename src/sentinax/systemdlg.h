#pragma once
// "Customer Information": creates and edits one customer system, its
// recipients and which alarms are mailed, and sends a test mail.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "sentinax/alarmmail.h"

class CSystem;

// The stored adapter name for what the user typed: six characters become
// "12-34-56", a leading "BRENVIK:" (any case) and blanks go, and the rest
// follows "Brenvik: ".
std::string MakeAdapterName(const std::string& entered);
// The texts the dialog refuses an entry with.
inline constexpr char kEmptyAdapterText[] = "Please enter the Protocol Adapter's address.";
inline constexpr char kBadRecipientText[] = "Please enter a valid email address, such as name@example.com.";

// The dialog's fields, as the controls hold them.
struct CSystemFields {
    enum Notify { kSystem, kPumps, kChlorinator, kChemistry, kHeatPump, kFreeze, kNotifyCount };

    std::string name = "New System";
    std::string password;
    std::string adapterAddress;
    std::string address;
    std::string city;
    std::string zip;
    std::string phone;
    std::string notes;
    int32_t includeDefault = 0;
    int32_t notify[kNotifyCount] = {};
};

class CSystemDlgView {
public:
    virtual ~CSystemDlgView() = default;
    virtual void PutFields(const CSystemFields& fields) = 0;
    // Takes the controls' values; false when one is refused (the dialog
    // stays open).
    virtual bool GetFields(CSystemFields& fields) = 0;
    virtual void ShowEmails(const std::vector<std::string>& emails) = 0;
    // The chosen recipient's row, -1 for none.
    virtual int SelectedEmail() = 0;
    // "Add New Email Recipient": the address, or nothing when cancelled.
    virtual std::optional<std::string> AskNewEmail() = 0;
    // Keeps the dialog in front of the e-mail log window.
    virtual void StayOnTop() = 0;
    // Tells the user why an entry was refused.
    virtual void ShowRefusal(const std::string& text) = 0;
    virtual void EndDialog(bool ok) = 0;
};

class CSystemDlg {
public:
    static constexpr char kTestSubject[] = "Subject: EMAIL TEST";

    // showEmailLog opens the main window's e-mail log.
    CSystemDlg(CSystem& system, CMailQueue& mail, const CSystemColumns& columns, std::function<void()> showEmailLog,
               CSystemDlgView& view);

    void OnInitDialog();
    void OnOK();
    void OnAddEmail();
    void OnDeleteEmail();
    void OnSendTestEmail();

    const CSystemFields& Fields() const { return m_fields; }
    // The recipients as the sorted list shows them.
    const std::vector<std::string>& Emails() const { return m_emails; }

private:
    void InsertSorted(const std::string& email);

    CSystem& m_system;
    CMailQueue& m_mail;
    const CSystemColumns& m_columns;
    std::function<void()> m_showEmailLog;
    CSystemDlgView& m_view;
    CSystemFields m_fields;
    // The adapter address as the dialog first showed it.
    std::string m_shownAddress;
    std::vector<std::string> m_emails;
};
