#include "samplegateway/pictureviews.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "core/messages/mediamessages.h"
#include "core/messages/shellmessages.h"
#include "samplegateway/albums.h"
#include "samplegateway/gateway.h"
#include "samplegateway/pacer.h"

namespace samplegateway {
namespace {

// Pictures are made at most this size; a larger request gets this one.
constexpr int kMaxWidth = 1024;
constexpr int kMaxHeight = 768;

// What each picture shows: the album colours and bars of the album pictures.
struct Look {
    int album;
    int index;
};
constexpr Look kLogo{1, 0};
constexpr Look kFrame{3, 2};
constexpr Look kWeather{5, 1};
constexpr Look kCamera{0, 4};

bool ReadSize(PayloadReader& in, int* width, int* height) {
    int32_t w = 0, h = 0;
    if (!in.Int(&w) || !in.Int(&h) || w <= 0 || h <= 0) return false;
    *width = std::min(w, kMaxWidth);
    *height = std::min(h, kMaxHeight);
    return true;
}

// 0x2AF8 {w, h, JPEG} to the sink.
Frame Picture(uint16_t sink, Look look, int width, int height) {
    const Bytes jpeg = AlbumPicture(look.album, look.index, width, height);
    PayloadWriter out;
    out.Int(width).Int(height).Raw(jpeg.data(), jpeg.size());
    return {sink, ZVM_PICTURES_PICTURE, out};
}

// An album view shows the album's pictures in turn: every kAlbumTurnMs each view that asked
// is told that the next picture is there, and its next request gets it.
constexpr uint32_t kAlbumTurnMs = 10000;
constexpr int kAlbumTurnPictures = 4;

class AlbumViews {
public:
    explicit AlbumViews(Gateway& gateway) : m_gateway(gateway) {}

    // {sink, album, w, h} -> the album's current picture for that sink.
    std::vector<Frame> Answer(const Frame& request) {
        PayloadReader in(request.payload);
        int32_t sink = 0, album = 0;
        int width = 0, height = 0;
        if (!in.Int(&sink) || !in.Int(&album) || !ReadSize(in, &width, &height)) return {};
        std::lock_guard lock(m_mutex);
        View& view = m_views[static_cast<uint16_t>(sink)];
        if (view.album != album) view = {album, 0};
        return {Picture(static_cast<uint16_t>(sink), {album, view.index}, width, height)};
    }

    void Step(uint32_t now_ms) {
        std::lock_guard lock(m_mutex);
        if (!m_turnMs) m_turnMs = now_ms + kAlbumTurnMs;
        if (static_cast<int32_t>(now_ms - *m_turnMs) < 0) return;
        m_turnMs = now_ms + kAlbumTurnMs;
        std::vector<Frame> notices;
        for (auto& [sink, view] : m_views) {
            view.index = (view.index + 1) % kAlbumTurnPictures;
            notices.push_back({sink, ZVM_PICTURES_NEXTPICTURE, {}});
        }
        if (!notices.empty()) m_gateway.PushFrames(notices);
    }

private:
    struct View {
        int32_t album = -1;
        int index = 0;
    };
    Gateway& m_gateway;
    std::mutex m_mutex;
    std::map<uint16_t, View> m_views;  // by sink
    std::optional<uint32_t> m_turnMs;
};

}  // namespace

void ServePictureViews(Gateway& gateway, Pacer& pacer) {
    gateway.On(ZVM_PICTURES_GETPICTUREQ, [](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int width = 0, height = 0;
        std::string name;
        if (!ReadSize(in, &width, &height) || !in.String(&name)) return {};
        if (name != kNamedPicture) return {{request.sender, ZVM_PICTURES_PICTUREEND, {}}};
        return {Picture(request.sender, kLogo, width, height)};
    });
    // Album and frame requests name the sink that waits for the picture.
    auto albums = std::make_shared<AlbumViews>(gateway);
    pacer.Add([albums](uint32_t now_ms) { albums->Step(now_ms); });
    gateway.On(ZVM_PICTURES_GETALBUMPICTUREQ, [albums](const Frame& request) { return albums->Answer(request); });
    gateway.On(ZVM_PICTURES_GETFRAMEPICTUREQ, [](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t sink = 0, frame = 0;
        int width = 0, height = 0;
        if (!in.Int(&sink) || !in.Int(&frame) || !ReadSize(in, &width, &height)) return {};
        return {Picture(static_cast<uint16_t>(sink), kFrame, width, height)};
    });
    gateway.On(ZVM_PICTURES_SUBSCRIBEFRAMEQ, [](const Frame& request) -> std::vector<Frame> {
        return {{request.sender, ZVM_PICTURES_SUBSCRIBEFRAMEA, PayloadWriter().String(kFrameLink)}};
    });
    gateway.On(ZVM_WEATHER_GETIMAGEQ, [](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int width = 0, height = 0;
        if (!ReadSize(in, &width, &height)) return {};
        const Bytes jpeg = AlbumPicture(kWeather.album, kWeather.index, width, height);
        PayloadWriter out;
        out.Int(0).Raw(jpeg.data(), jpeg.size());
        return {{request.sender, ZVM_WEATHER_GETIMAGEA, out}};
    });
    gateway.On(ZVM_VIDEO_GETSNAPSHOTQ, [](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t camera = 0;
        int width = 0, height = 0;
        if (!in.Int(&camera) || !ReadSize(in, &width, &height)) return {};
        return {{request.sender, ZVM_VIDEO_GETSNAPSHOTA, AlbumPicture(kCamera.album, kCamera.index, width, height)}};
    });
}

}  // namespace samplegateway
