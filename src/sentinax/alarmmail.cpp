#include "sentinax/alarmmail.h"

#include <cstdio>
#include <utility>

#include "core/zvtime.h"
#include "platform/settings.h"
#include "sentinax/system.h"

namespace {

constexpr size_t kTitleWidth = 24;

// Customer texts have no length limit.
template <typename... Args>
std::string Format(const char* format, Args... args) {
    const int length = std::snprintf(nullptr, 0, format, args...);
    if (length <= 0)
        return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, args...);
    text.resize(static_cast<size_t>(length));
    return text;
}

// The columns after the customer name, with the second and third exchanged.
int MailColumn(int index) {
    if (index == 1)
        return 2;
    if (index == 2)
        return 1;
    return index;
}

void ReplaceAll(std::string& text, const std::string& name, const std::string& value) {
    for (size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + value.size()))
        text.replace(at, name.size(), value);
}

std::string MapLinkPattern() {
    std::string pattern;
    if (!platform::ReadSettingString("Email", "MapLink", pattern) || pattern.empty())
        pattern = kDefaultMapLink;
    return pattern;
}

}  // namespace

std::string FormatMapLink(const std::string& pattern, const CMapPlace& place) {
    const bool needsLocation = pattern.find("{lat}") != std::string::npos || pattern.find("{lon}") != std::string::npos;
    if (needsLocation && !place.located)
        return kNoMapLinkText;
    std::string link = pattern;
    ReplaceAll(link, "{lat}", Format("%.4f", place.latitude));
    ReplaceAll(link, "{lon}", Format("%.4f", place.longitude));
    ReplaceAll(link, "{address}", UrlEncode(place.address, false));
    return link;
}

std::string UrlEncode(const std::string& text, bool spacesAsPlus) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char c : text) {
        if (out.size() >= kUrlEncodeLimit)
            break;
        const auto byte = static_cast<unsigned char>(c);
        const bool kept = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                          (byte >= '0' && byte <= '9') || byte == '/' || byte == '.';
        if (kept) {
            out += c;
        } else if (byte == ' ' && spacesAsPlus) {
            out += '+';
        } else {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        }
    }
    return out;
}

void CSystem::ComposeAlarmMail(CEmailMessage& message, const CSystemColumns& columns) const {
    const CZVTime now;
    message.AddLine(Format("Report Date:              \t%d/%d/%d", now.GetMonth(), now.GetDay(),
                           now.GetYear()));
    message.AddLine(Format("Report Time:              \t%d:%02d:%02d %s", now.GetHour12(),
                           now.GetMinute(), now.GetSecond(), now.GetHour() >= 12 ? "PM" : "AM"));
    message.AddLine("");

    auto lock = Lock();
    message.AddLine(Format("Customer Name:          \t%s", name.c_str()));
    message.AddLine(Format("Address:                \t%s", address.c_str()));
    message.AddLine(Format("City:                   \t%s", city.c_str()));
    message.AddLine(Format("ZIP:                    \t%s", zip.c_str()));
    message.AddLine(Format("Phone:                  \t%s", phone.c_str()));
    message.AddLine("");
    const std::vector<CSystemError> mailed = alarms;
    // The gateway keeps ten-thousandths of a degree, west positive.
    const CMapPlace place{address + " " + city + " " + zip, locationKnown != 0, latitude / 10000.0,
                          -longitude / 10000.0};
    lock.unlock();

    // The cells are the list's own texts; it reads the system as it likes.
    const int count = columns.GetColumnCount();
    for (int i = 1; i < count; ++i) {
        const int column = count > 2 ? MailColumn(i) : i;
        std::string title = columns.GetLongTitle(column);
        if (title.size() < kTitleWidth)
            title.resize(kTitleWidth, ' ');
        message.AddLine(title + "\t" + columns.GetCellText(*this, column));
    }

    if (!mailed.empty()) {
        message.AddLine("");
        message.AddLine("Alarm Details:");
        for (const CSystemError& entry : mailed) {
            message.AddLine(entry.GetDescription());
            message.AddLine("");
        }
    }

    message.AddLine("");
    message.AddLine("Click here for a map to customer:");
    message.AddLine("");
    message.AddLine(FormatMapLink(MapLinkPattern(), place));
    message.AddLine("");
}

void CSystem::SendAlarmNotifications(CMailQueue& queue, const CSystemColumns& columns) const {
    std::vector<std::string> recipients;
    bool includeDefault = false;
    {
        auto lock = Lock();
        recipients = emailList;
        includeDefault = includeDefaultEmail != 0;
    }
    const std::string fallback = queue.GetDefaultRecipient();
    if (includeDefault && !fallback.empty())
        recipients.push_back(fallback);
    for (const std::string& recipient : recipients) {
        auto message = std::make_unique<CEmailMessage>(recipient);
        message->AddHeader(kAlarmMailSubject);
        ComposeAlarmMail(*message, columns);
        queue.Queue(std::move(message));
    }
}
