#pragma once
// The alarm notification mail of a customer system, and what it needs of the
// system list and of the outgoing mail server.
#include <memory>
#include <string>

#include "sentinax/emailmessage.h"

class CSystem;

// The system list's columns as the list shows them.
class CSystemColumns {
public:
    virtual ~CSystemColumns() = default;
    virtual int GetColumnCount() const = 0;
    virtual std::string GetLongTitle(int column) const = 0;
    virtual std::string GetCellText(const CSystem& system, int column) const = 0;
};

// The outgoing mail queue.
class CMailQueue {
public:
    virtual ~CMailQueue() = default;
    virtual void Queue(std::unique_ptr<CEmailMessage> message) = 0;
    // Empty when the mail account names none.
    virtual std::string GetDefaultRecipient() const = 0;
};

inline constexpr char kAlarmMailSubject[] = "Subject: Brenvik System Alarm Notification";
// The map service the mail links the customer's address to.
inline constexpr char kMapServiceAddress[] = "https://maps.google.com";
// UrlEncode stops adding once its text is this long.
inline constexpr size_t kUrlEncodeLimit = 500;

// Letters, digits, '/' and '.' stay; a blank becomes '+' when asked;
// every other byte becomes "%XX".
std::string UrlEncode(const std::string& text, bool spacesAsPlus);
