#include "samplegateway/pictureviews.h"

#include <algorithm>
#include <string>

#include "core/messages/mediamessages.h"
#include "core/messages/shellmessages.h"
#include "samplegateway/albums.h"
#include "samplegateway/gateway.h"

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

}  // namespace

void ServePictureViews(Gateway& gateway) {
    gateway.On(ZVM_PICTURES_GETPICTUREQ, [](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int width = 0, height = 0;
        std::string name;
        if (!ReadSize(in, &width, &height) || !in.String(&name)) return {};
        if (name != kNamedPicture) return {{request.sender, ZVM_PICTURES_PICTUREEND, {}}};
        return {Picture(request.sender, kLogo, width, height)};
    });
    // Album and frame requests name the sink that waits for the picture.
    gateway.On(ZVM_PICTURES_GETALBUMPICTUREQ, [](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t sink = 0, album = 0;
        int width = 0, height = 0;
        if (!in.Int(&sink) || !in.Int(&album) || !ReadSize(in, &width, &height)) return {};
        return {Picture(static_cast<uint16_t>(sink), {album, 0}, width, height)};
    });
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
