#include "samplegateway/mediadevices.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/messages/mediamessages.h"
#include "samplegateway/gateway.h"
#include "samplegateway/house.h"
#include "samplegateway/pacer.h"

namespace samplegateway {
namespace {

constexpr int32_t kInformationForm = 0;
constexpr const char* kMediaRoomLines[] = {"Media Room", "Blu-ray Player", "Ocean Voyage", "Chapter 3 of 12"};
constexpr const char* kMediaRoomNotice = "Playing";

Bytes Information(bool withNotice) {
    PayloadWriter out;
    out.Int(kInformationForm);
    for (const char* line : kMediaRoomLines) out.String(line);
    out.Int(withNotice ? 1 : 0).String(withNotice ? kMediaRoomNotice : "");
    return out;
}

std::optional<std::pair<int32_t, int32_t>> TwoInts(const Frame& request) {
    PayloadReader in(request.payload);
    int32_t first = 0, second = 0;
    if (!in.Int(&first) || !in.Int(&second)) return std::nullopt;
    return std::make_pair(first, second);
}

std::optional<int32_t> OneInt(const Frame& request) {
    PayloadReader in(request.payload);
    int32_t value = 0;
    if (!in.Int(&value)) return std::nullopt;
    return value;
}

class MediaDevices {
public:
    MediaDevices(Gateway& gateway, const House& house) : gateway_(gateway), house_(house) {}

    void Register(const Frame& request, bool add) {
        const auto ints = TwoInts(request);
        if (!ints || ints->first != kMediaRoomDevice) return;
        std::lock_guard lock(mutex_);
        const auto sink = static_cast<uint16_t>(ints->second);
        if (add)
            sinks_.insert(sink);
        else
            sinks_.erase(sink);
    }

    // The information, then the house's menu of the device.
    std::vector<Frame> SourceInfo(const Frame& request) const {
        if (OneInt(request) != kMediaRoomDevice) return {};
        std::vector<Frame> answers{{request.sender, ZVM_MEDIA_GETSOURCEINFOA, Information(false)}};
        for (Frame& menu : house_.Respond(request)) answers.push_back(std::move(menu));
        return answers;
    }

    // {device}: the rows from the list's top.
    std::vector<Frame> List(const Frame& request) {
        if (OneInt(request) != kMediaRoomDevice) return {};
        std::lock_guard lock(mutex_);
        return {{request.sender, ZVM_MEDIA_GETLISTA, Rows()}};
    }

    // {device, top}: the list's new top and its rows.
    std::vector<Frame> MoveList(const Frame& request) {
        const auto ints = TwoInts(request);
        if (!ints || ints->first != kMediaRoomDevice) return {};
        std::lock_guard lock(mutex_);
        top_ = std::clamp(ints->second, 0, kDeviceListRows - 1);
        return {{request.sender, ZVM_MEDIA_GETLISTA, Rows()}};
    }

    void Step(uint32_t now_ms) {
        std::vector<Frame> notices;
        {
            std::lock_guard lock(mutex_);
            if (!next_ms_) next_ms_ = now_ms + kDeviceNoticeMs;
            if (static_cast<int32_t>(now_ms - *next_ms_) < 0) return;
            *next_ms_ += kDeviceNoticeMs;
            for (uint16_t sink : sinks_) notices.push_back({sink, ZVM_MEDIA_GETSOURCEINFOA, Information(true)});
        }
        if (!notices.empty()) gateway_.PushFrames(notices);
    }

private:
    Bytes Rows() const {
        PayloadWriter out;
        out.Int(kDeviceListRows).Int(top_).Int(0);
        const int32_t end = std::min(top_ + kDeviceListRowsPerAnswer, kDeviceListRows);
        for (int32_t row = top_; row < end; ++row) out.String("Chapter " + std::to_string(row + 1));
        return out;
    }

    Gateway& gateway_;
    const House house_;
    mutable std::mutex mutex_;
    std::set<uint16_t> sinks_;
    int32_t top_ = 0;
    std::optional<uint32_t> next_ms_;  // from the first step
};

}  // namespace

void ServeMediaDevices(Gateway& gateway, const House& house, Pacer& pacer) {
    auto devices = std::make_shared<MediaDevices>(gateway, house);
    pacer.Add([devices](uint32_t now_ms) { devices->Step(now_ms); });
    gateway.On(ZVM_MEDIA_REGISTERSOURCE, [devices](const Frame& request) {
        devices->Register(request, true);
        return std::vector<Frame>{};
    });
    gateway.On(ZVM_MEDIA_UNREGISTERSOURCE, [devices](const Frame& request) {
        devices->Register(request, false);
        return std::vector<Frame>{};
    });
    gateway.On(ZVM_MEDIA_GETSOURCEINFOQ, [devices](const Frame& request) { return devices->SourceInfo(request); });
    gateway.On(ZVM_MEDIA_GETLISTQ, [devices](const Frame& request) { return devices->List(request); });
    gateway.On(ZVM_MEDIA_SETLISTPOSITION, [devices](const Frame& request) { return devices->MoveList(request); });
    gateway.On(ZVM_MEDIA_SELECTLISTITEM, [](const Frame&) { return std::vector<Frame>{}; });
}

}  // namespace samplegateway
