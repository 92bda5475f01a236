#include "gfx/pngdecode.h"

#include <png.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "gfx/dibdc.h"
#include "gfx/picturelimits.h"
#include "gfx/speed.h"

namespace {

// What one decode keeps outside the frame that libpng jumps back into, so
// that a jump skips no destructor.
struct PngDecode {
    CPngMemorySource source;
    std::unique_ptr<CAlphaDibDC> dib;
    std::vector<uint8_t> rgba;
    std::vector<png_bytep> rows;
};

// Ancillary chunks (text, profiles) may not ask for more than this.
constexpr png_alloc_size_t kMaxChunkBytes = 1 << 20;

// Errors leave through the jump, warnings are dropped; no decoder talks to the user.
void Fail(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void Ignore(png_structp, png_const_charp) {}

void ReadCallback(png_structp png, png_bytep out, size_t n) {
    auto* source = static_cast<CPngMemorySource*>(png_get_io_ptr(png));
    if (ReadPngMemory(out, n, source) != n) png_error(png, "Read Error");
}

// Asks libpng for 8-bit RGBA whatever the file holds.
void RequestRgba(png_structp png, png_infop info) {
    const int type = png_get_color_type(png, info);
    if (type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (type == PNG_COLOR_TYPE_GRAY && png_get_bit_depth(png, info) < 8) png_set_expand_gray_1_2_4_to_8(png);
    const bool transparentColour = png_get_valid(png, info, PNG_INFO_tRNS);
    if (transparentColour) png_set_tRNS_to_alpha(png);
    if (png_get_bit_depth(png, info) == 16) png_set_strip_16(png);
    if (!(type & PNG_COLOR_MASK_COLOR)) png_set_gray_to_rgb(png);
    if (!(type & PNG_COLOR_MASK_ALPHA) && !transparentColour) png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
}

// Only objects without destructors live here: libpng's errors jump back to it.
bool ReadImage(png_structp png, png_infop info, PngDecode* d) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_read_fn(png, &d->source, ReadCallback);
    png_set_sig_bytes(png, 8);
    png_set_user_limits(png, kMaxPictureSide, kMaxPictureSide);
    png_set_chunk_malloc_max(png, kMaxChunkBytes);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info), height = png_get_image_height(png, info);
    if (!WithinPictureLimits(width, height)) return false;
    RequestRgba(png, info);
    if (png_get_rowbytes(png, info) != size_t{width} * 4) return false;
    d->dib.reset(new CAlphaDibDC(static_cast<int>(width), static_cast<int>(height), 0, 0));
    if (!d->dib->GetBits() || !d->dib->GetAlpha()) return false;
    d->rgba.resize(size_t{width} * height * 4);
    d->rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y) d->rows[y] = d->rgba.data() + size_t{y} * width * 4;
    png_read_image(png, d->rows.data());
    return true;
}

void CopyRgba(PngDecode* d) {
    const int width = d->dib->GetRequestedWidth();
    for (int y = 0; y < d->dib->GetHeight(); ++y) {
        const uint8_t* from = d->rows[y];
        uint16_t* to = d->dib->GetPixelAddress(0, y);
        uint8_t* alpha = d->dib->GetAlphaAt(0, y);
        for (int x = 0; x < width; ++x, from += 4) {
            to[x] = kRedTo565[from[0]] | kGreenTo565[from[1]] | kBlueTo565[from[2]];
            alpha[x] = from[3];
        }
    }
}

}  // namespace

size_t ReadPngMemory(uint8_t* destination, size_t n, CPngMemorySource* source) {
    if (!destination || !source || source->position >= source->size) return 0;
    n = std::min(n, source->size - source->position);
    std::memcpy(destination, source->data + source->position, n);
    source->position += n;
    return n;
}

CAlphaDibDC* DecodePng(const uint8_t* data, size_t size) {
    PngDecode d;
    d.source = {data, size, 0};
    uint8_t signature[8];
    if (!data || ReadPngMemory(signature, sizeof signature, &d.source) != sizeof signature ||
        png_sig_cmp(signature, 0, sizeof signature) != 0)
        return nullptr;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, Fail, Ignore);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    const bool ok = info && ReadImage(png, info, &d);
    png_destroy_read_struct(&png, &info, nullptr);
    if (!ok) return nullptr;
    CopyRgba(&d);
    return d.dib.release();
}
