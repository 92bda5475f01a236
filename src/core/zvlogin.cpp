#include "core/zvlogin.h"

#include "core/zvquery.h"
#include "core/zvserver.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kEndOfHead = "\r\n\r\n";
// How much of a failed answer the progress line shows.
constexpr size_t kShownAnswer = 40;
// Field 0 above this says the challenge field means nothing.
constexpr long kNoChallengeAbove = 1000;

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

// The Content-Length announced by the head; false when there is none or it is not a number.
bool ContentLength(std::string_view head, size_t* length) {
    constexpr std::string_view kName = "Content-Length:";
    for (size_t start = 0; start < head.size();) {
        size_t end = head.find(kLineEnd, start);
        if (end == std::string_view::npos)
            end = head.size();
        std::string_view line = head.substr(start, end - start);
        if (StartsWithNoCase(line, kName)) {
            std::string value(line.substr(kName.size()));
            const char* digits = value.c_str();
            while (*digits == ' ' || *digits == '\t')
                ++digits;
            if (!std::isdigit(static_cast<unsigned char>(*digits)))
                return false;
            errno = 0;
            unsigned long long number = std::strtoull(digits, nullptr, 10);
            if (errno == ERANGE)
                return false;
            *length = static_cast<size_t>(number);
            return true;
        }
        start = end + kLineEnd.size();
    }
    return false;
}

// The body as the head delimits it: after the empty line, no longer than Content-Length.
bool FindBody(std::string_view answer, std::string_view* body) {
    size_t headEnd = answer.find(kEndOfHead);
    if (headEnd == std::string_view::npos)
        return false;
    std::string_view rest = answer.substr(headEnd + kEndOfHead.size());
    size_t length = 0;
    if (ContentLength(answer.substr(0, headEnd), &length) && length < rest.size())
        rest = rest.substr(0, length);
    *body = rest;
    return true;
}

// The first line of the body, without line feeds at either end.
std::string BodyLine(std::string_view body) {
    body = body.substr(0, body.find(kLineEnd));
    while (!body.empty() && body.front() == '\n')
        body.remove_prefix(1);
    while (!body.empty() && body.back() == '\n')
        body.remove_suffix(1);
    return std::string(body);
}

}  // namespace

void ZVStatus(CStatusSink* status, const std::string& text) {
    if (status)
        status->OnStatus(text);
}

bool ZVContinue(CStatusSink* status) { return !status || status->Continue(); }

int SplitField(std::string& field, char separator, std::string& text) {
    size_t at = text.find(separator);
    if (at == std::string::npos) {
        field = text;
        return 1;
    }
    field = text.substr(0, at);
    text.erase(0, at + 1);
    return 1;
}

const char* ZVClientName(ZVVariant variant, int clientType) {
    switch (clientType) {
    case -1:
    case 0:
        return "Remote Vistrel 800x600";
    case 1:
        return "Remote Vistrel 240x320";
    case 3:
        return "Configurator";
    case 6:
        return "Remote Vistrel 800x480";
    case 8:
        return "Remote Vistrel 240x240";
    default:
        break;
    }
    if (variant == ZVVariant::Monitor) {
        switch (clientType) {
        case 11:
            return "iPhone";
        case 12:
            return "iPhone 3G";
        case 15:
            return "iPad";
        case 16:
            return "iPad 3G";
        default:
            break;
        }
    }
    return "Service";
}

std::string AddressServerHeader(const std::string& host, size_t bodyLength) {
    return "POST /cgi-bin/getaddr.pl HTTP/1.0\r\n"
           "User-Agent: Zavoro\r\n"
           "Host: " +
           host + "\r\nContent-Length: " + std::to_string(bodyLength) +
           "\r\n"
           "Cache-Control: no-cache\r\n"
           "\r\n";
}

std::string AddressServerBody(const std::string& systemName) { return "USERNAME=" + systemName; }

bool AddressAnswerComplete(std::string_view answer) {
    size_t headEnd = answer.find(kEndOfHead);
    size_t length = 0;
    if (headEnd == std::string_view::npos || !ContentLength(answer.substr(0, headEnd), &length))
        return false;
    return answer.size() - headEnd - kEndOfHead.size() >= length;
}

int ParseAddressAnswer(std::string_view answer, const std::string& systemName, int alternative,
                       ZVSystemLocation* location, CStatusSink* status) {
    std::string_view statusLine = answer.substr(0, answer.find(kLineEnd));
    if (statusLine.find("200 OK") == std::string_view::npos) {
        ZVStatus(status, "Error, Returned:");
        ZVStatus(status, std::string(answer.substr(0, kShownAnswer)));
        return 0;
    }
    std::string_view body;
    std::string text;
    if (FindBody(answer, &body))
        text = BodyLine(body);
    if (text.empty()) {
        ZVStatus(status, "Error: Cant find data");
        return 0;
    }
    std::string fields[8];
    for (std::string& field : fields)
        SplitField(field, '|', text);
    if (fields[1] != systemName) {
        ZVStatus(status, "Public Port Closed");
        return 0;
    }
    location->address = alternative ? fields[5] : fields[3];
    location->port = alternative ? fields[6] : fields[4];
    // strtol saturates where atoi would overflow.
    location->challenge = std::strtol(fields[0].c_str(), nullptr, 10) > kNoChallengeAbove ? "" : fields[7];
    return 1;
}

int CZVServer::Relogin() {
    CZVQuery query(*this);
    std::string challenge;
    if (!query.QueryString(challenge, ZVM_LOGIN_GETCHALLENGEQ))
        return 0;
    return Login(challenge, m_password, m_clientType, m_clientName);
}

// Placeholder until the challenge response is built here with the block
// cipher: every login counts as refused, so a remote re-login fails cleanly
// and Poll tries again later.
int CZVServer::Login(const std::string&, const std::string&, int, const std::string&) {
    m_loginRefused = 1;
    return 0;
}
