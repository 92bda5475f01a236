// Feeds any bytes to the mail client's readers of server replies: the SMTP
// reply lines and, from the same bytes, a DNS MX answer.
#include <cstdint>
#include <string>
#include <vector>

#include "sentinax/emailserver.h"
#include "sentinax/mxlookup.h"
#include "sentinax/smtpsession.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CSmtpLineReader reader;
    std::vector<std::string> lines;
    for (size_t i = 0; i < size; ++i) {
        if (reader.Add(static_cast<char>(data[i])) == CSmtpLineReader::kLine) {
            const std::string& line = reader.Line();
            if (line.size() + 2 > CSmtpLineReader::kMaxLineBytes)
                __builtin_trap();
            const int code = SmtpReplyCode(line);
            if (code > 999 || (code >= 0 && line.size() < 3))
                __builtin_trap();
            IsFinalReplyLine(line);
            lines.push_back(line);
        }
    }
    DataLines(lines);
    std::vector<std::string> hosts;
    ParseMxAnswer(data, size, hosts);
    return 0;
}
