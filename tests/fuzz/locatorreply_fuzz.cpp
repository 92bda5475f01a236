// Arbitrary replies of the e-mail locator through the completeness check and
// the parser; a reply taken as complete must never crash the parser.
#include <cstddef>
#include <cstdint>
#include <string>

#include "basinsetup/emaildlg.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string reply(reinterpret_cast<const char*>(data), size);
    IsLocatorReplyComplete(reply);
    uint32_t address = 0;
    uint16_t port = 0;
    ParseLocatorReply(reply, address, port);
    return 0;
}
