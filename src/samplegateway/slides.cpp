#include "samplegateway/slides.h"

#include <jpeglib.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>

#include "core/messages/shellmessages.h"
#include "core/messages/toolkitmessages.h"
#include "samplegateway/gateway.h"

namespace samplegateway {
namespace {

constexpr int kSlides = 3;
constexpr int kSlideWidth = 480;
constexpr int kSlideHeight = 320;

// Sky over water, sunset and night: a gradient sky, a sun or moon, the water below.
void SlidePixel(int number, int x, int y, int w, int h, uint8_t* out) {
    static constexpr uint8_t kTop[kSlides][3] = {{70, 140, 230}, {240, 120, 60}, {10, 20, 60}};
    static constexpr uint8_t kLow[kSlides][3] = {{190, 225, 250}, {250, 210, 120}, {40, 60, 120}};
    static constexpr uint8_t kSun[kSlides][3] = {{255, 240, 150}, {255, 250, 200}, {230, 230, 240}};
    const int horizon = h * 2 / 3;
    const double dx = x - w * (0.3 + 0.2 * number), dy = y - h * 0.35;
    const bool sun = std::sqrt(dx * dx + dy * dy) < h / 9.0;
    for (int c = 0; c < 3; ++c) {
        const int sky = kTop[number][c] + (kLow[number][c] - kTop[number][c]) * std::min(y, horizon) / horizon;
        const int water = (kTop[number][c] / 2 + 20) + ((x / 12 + y / 5) % 2) * 12;
        out[c] = static_cast<uint8_t>(y >= horizon ? water : sun ? kSun[number][c] : sky);
    }
}

}  // namespace

Bytes EncodeJpeg(int width, int height, const Bytes& rgb) {
    jpeg_compress_struct compressor{};
    jpeg_error_mgr errors{};
    compressor.err = jpeg_std_error(&errors);
    jpeg_create_compress(&compressor);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&compressor, &buffer, &size);
    compressor.image_width = static_cast<JDIMENSION>(width);
    compressor.image_height = static_cast<JDIMENSION>(height);
    compressor.input_components = 3;
    compressor.in_color_space = JCS_RGB;
    jpeg_set_defaults(&compressor);
    jpeg_set_quality(&compressor, 85, TRUE);
    jpeg_start_compress(&compressor, TRUE);
    while (compressor.next_scanline < compressor.image_height) {
        JSAMPROW row = const_cast<uint8_t*>(rgb.data()) + static_cast<size_t>(compressor.next_scanline) * width * 3;
        jpeg_write_scanlines(&compressor, &row, 1);
    }
    jpeg_finish_compress(&compressor);
    Bytes jpeg(buffer, buffer + size);
    jpeg_destroy_compress(&compressor);
    std::free(buffer);
    return jpeg;
}

Bytes SlidePicture(int number, int width, int height) {
    Bytes rgb(static_cast<size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            SlidePixel(number % kSlides, x, y, width, height, &rgb[(static_cast<size_t>(y) * width + x) * 3]);
    return EncodeJpeg(width, height, rgb);
}

void ServeSlides(Gateway& gateway) {
    auto next = std::make_shared<int>(0);
    auto lock = std::make_shared<std::mutex>();
    gateway.On(ZVM_PICTURES_GETSLIDEQ, [next, lock](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t sink = 0, width = 0, height = 0, direction = 0;
        if (!in.Int(&sink) || !in.Int(&width) || !in.Int(&height) || !in.Int(&direction) || width <= 0 || height <= 0)
            return {};
        int number;
        {
            std::lock_guard<std::mutex> guard(*lock);
            *next = ((*next + (direction < 0 ? -1 : 1)) % kSlides + kSlides) % kSlides;
            number = *next;
        }
        const int w = std::min(width, kSlideWidth), h = std::min(height - 40, kSlideHeight);
        if (h <= 0) return {};
        const Bytes jpeg = SlidePicture(number, w, h);
        PayloadWriter picture;
        picture.Int(w).Int(h).Raw(jpeg.data(), jpeg.size());
        return {{request.sender, ZVM_PICTURES_PICTURE, picture}};
    });
}

}  // namespace samplegateway
