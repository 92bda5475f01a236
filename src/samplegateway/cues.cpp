#include "samplegateway/cues.h"

#include <fstream>
#include <iterator>
#include <memory>

#include "core/messages/shellmessages.h"
#include "samplegateway/gateway.h"
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
    return false;
}

}  // namespace samplegateway
