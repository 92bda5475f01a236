#include "samplegateway/cues.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>

#include "core/messages/shellmessages.h"
#include "samplegateway/gateway.h"
#include "samplegateway/intercom.h"
#include "samplegateway/phone.h"
#include "samplegateway/wire.h"

namespace samplegateway {

namespace {

constexpr size_t kChunkSize = 65536;
constexpr int32_t kWebPageVariable = 12;

std::vector<Frame> Chunks(uint16_t sender, const Bytes& file) {
    std::vector<Frame> frames;
    size_t at = 0;
    do {
        const size_t size = std::min(kChunkSize, file.size() - at);
        Bytes payload = PayloadWriter().Int(static_cast<int32_t>(file.size())).Int(static_cast<int32_t>(size));
        payload.insert(payload.end(), file.begin() + static_cast<std::ptrdiff_t>(at),
                       file.begin() + static_cast<std::ptrdiff_t>(at + size));
        frames.push_back({sender, ZVM_UPDATE_FILECHUNK, std::move(payload)});
        at += size;
    } while (at < file.size());
    return frames;
}

// A whole number, decimal or 0x hexadecimal, that fits its bounds.
bool ReadNumber(const std::string& text, long low, long high, long* value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    *value = std::strtol(text.c_str(), &end, 0);
    return errno == 0 && *end == '\0' && *value >= low && *value <= high;
}

// "push <id> <field>...": each field a number (an i32) or a "quoted" string.
bool PushCue(Gateway& gateway, const std::string& line) {
    size_t at = 0;
    long id = 0;
    PayloadWriter payload;
    for (bool first = true;; first = false) {
        at = line.find_first_not_of(' ', at);
        if (at == std::string::npos) break;
        if (line[at] == '"') {
            const size_t close = line.find('"', at + 1);
            if (first || close == std::string::npos) return false;
            payload.String(line.substr(at + 1, close - at - 1));
            at = close + 1;
            continue;
        }
        const size_t end = std::min(line.find(' ', at), line.size());
        long number = 0;
        if (first ? !ReadNumber(line.substr(at, end - at), 0, UINT16_MAX, &id)
                  : !ReadNumber(line.substr(at, end - at), INT32_MIN, INT32_MAX, &number))
            return false;
        if (!first) payload.Int(static_cast<int32_t>(number));
        at = end;
    }
    return at != 0 && gateway.Push(static_cast<uint16_t>(id), payload);
}

}  // namespace

bool OfferProgramUpdate(Gateway& gateway, const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    auto file = std::make_shared<const Bytes>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (file->size() > INT32_MAX) return false;
    gateway.On(ZVM_UPDATE_GETTABLETFILEQ, [file](const Frame& request) { return Chunks(request.sender, *file); });
    return true;
}

bool RunCue(Gateway& gateway, const std::string& line) {
    if (line == "update") return gateway.Push(ZVM_SYSCONFIG_PREPAREUPDATE, {});
    if (line.rfind("web ", 0) == 0)
        return gateway.Push(ZVM_UI_SETPAGEVARIABLE,
                            PayloadWriter().Int(kWebPageVariable).Int(0).String(line.substr(4)).Int(0));
    if (line.rfind("push ", 0) == 0) return PushCue(gateway, line.substr(5));
    // An incoming intercom call.
    if (line == "intercom") return RingIntercom(gateway);
    if (line == "call") return RingPhone(gateway);
    return false;
}

}  // namespace samplegateway
