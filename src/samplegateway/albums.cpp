#include "samplegateway/albums.h"

#include <algorithm>

#include "core/messages/mediamessages.h"
#include "core/messages/shellmessages.h"
#include "samplegateway/gateway.h"
#include "samplegateway/slides.h"

namespace samplegateway {
namespace {

// Pictures are made at most this size; a larger request gets this one.
constexpr int kMaxWidth = 1024;
constexpr int kMaxHeight = 768;

// By album id: the pool's blue for the root, green for the garden, then the holidays'.
constexpr uint8_t kAlbumColours[][3] = {
    {90, 110, 130}, {40, 110, 190}, {60, 150, 70}, {200, 120, 50}, {230, 190, 60}, {150, 200, 230},
};

}  // namespace

Bytes AlbumPicture(int album, int index, int width, int height) {
    const uint8_t* colour = kAlbumColours[static_cast<unsigned>(album) % std::size(kAlbumColours)];
    // index + 1 light bars across a background of the album's colour.
    const int bars = index % 12 + 1;
    Bytes rgb(static_cast<size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int slot = x * (2 * bars + 1) / width;
            const bool bar = slot % 2 == 1 && y > height / 5 && y < height * 4 / 5;
            uint8_t* out = &rgb[(static_cast<size_t>(y) * width + x) * 3];
            for (int c = 0; c < 3; ++c) out[c] = bar ? static_cast<uint8_t>(255 - (255 - colour[c]) / 4) : colour[c];
        }
    return EncodeJpeg(width, height, rgb);
}

void ServeAlbums(Gateway& gateway) {
    gateway.On(ZVM_PICTURES_GETTHUMBNAILQ, [](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t sink = 0, width = 0, height = 0, album = 0, index = 0;
        if (!in.Int(&sink) || !in.Int(&width) || !in.Int(&height) || !in.Int(&album) || !in.Int(&index) || width <= 0 ||
            height <= 0)
            return {};
        const int w = std::min(width, kMaxWidth), h = std::min(height, kMaxHeight);
        const Bytes jpeg = AlbumPicture(album, index, w, h);
        PayloadWriter picture;
        picture.Int(w).Int(h).Raw(jpeg.data(), jpeg.size());
        return {{static_cast<uint16_t>(sink), ZVM_PICTURES_PICTURE, picture}};
    });
}

}  // namespace samplegateway
