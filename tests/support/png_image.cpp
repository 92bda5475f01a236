#include "support/png_image.h"

#include <png.h>

#include <cstdio>
#include <memory>

namespace testsupport {

namespace {

struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<FILE, FileCloser>;

}  // namespace

bool WritePng(const std::string& path, const Image565& image) {
    File file(std::fopen(path.c_str(), "wb"));
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, image.width, image.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(static_cast<size_t>(image.width) * 3);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            uint16_t p = image.pixels[static_cast<size_t>(y) * image.width + x];
            int r = p >> 11, g = (p >> 5) & 0x3F, b = p & 0x1F;
            row[x * 3] = static_cast<png_byte>(r << 3 | r >> 2);
            row[x * 3 + 1] = static_cast<png_byte>(g << 2 | g >> 4);
            row[x * 3 + 2] = static_cast<png_byte>(b << 3 | b >> 2);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool ReadPng(const std::string& path, Image565* image) {
    File file(std::fopen(path.c_str(), "rb"));
    if (!file || !image) return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_init_io(png, file.get());
    png_read_info(png, info);
    if (png_get_interlace_type(png, info) != PNG_INTERLACE_NONE) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_strip_alpha(png);
    png_set_gray_to_rgb(png);
    png_read_update_info(png, info);
    Image565 result;
    result.width = static_cast<int>(png_get_image_width(png, info));
    result.height = static_cast<int>(png_get_image_height(png, info));
    if (png_get_rowbytes(png, info) != static_cast<size_t>(result.width) * 3 || result.width > 8192 ||
        result.height > 8192) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    result.pixels.resize(static_cast<size_t>(result.width) * result.height);
    std::vector<png_byte> row(static_cast<size_t>(result.width) * 3);
    for (int y = 0; y < result.height; ++y) {
        png_read_row(png, row.data(), nullptr);
        for (int x = 0; x < result.width; ++x)
            result.pixels[static_cast<size_t>(y) * result.width + x] =
                static_cast<uint16_t>((row[x * 3] >> 3) << 11 | (row[x * 3 + 1] >> 2) << 5 | row[x * 3 + 2] >> 3);
    }
    png_destroy_read_struct(&png, &info, nullptr);
    *image = std::move(result);
    return true;
}

}  // namespace testsupport
