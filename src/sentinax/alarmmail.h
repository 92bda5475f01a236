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
// The map link of the mail comes from the setting "MapLink" of section
// "Email". In it "{lat}" and "{lon}" stand for the customer's location in
// degrees (north and east positive) and "{address}" for address, city and
// ZIP, URL-encoded. By default it marks the location on OpenStreetMap.
inline constexpr char kDefaultMapLink[] = "https://www.openstreetmap.org/?mlat={lat}&mlon={lon}";
// What the mail shows in place of a link that needs the location before the
// gateway has told it.
inline constexpr char kNoMapLinkText[] = "(location not known yet)";

struct CMapPlace {
    std::string address;
    bool located = false;
    double latitude = 0;
    double longitude = 0;
};
// The pattern filled in (degrees with four decimals); kNoMapLinkText when it
// needs a location that is not known.
std::string FormatMapLink(const std::string& pattern, const CMapPlace& place);
// UrlEncode stops adding once its text is this long.
inline constexpr size_t kUrlEncodeLimit = 500;

// Letters, digits, '/' and '.' stay; a blank becomes '+' when asked;
// every other byte becomes "%XX".
std::string UrlEncode(const std::string& text, bool spacesAsPlus);
