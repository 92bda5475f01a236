#pragma once
// Small GIF, PNG and JPEG files written by the tests themselves: a GIF writer
// with its own LZW encoder (with or without clear codes when the table is
// full), and PNG and JPEG files through libpng and libjpeg into memory.
#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <utility>
#include <vector>

#include <jpeglib.h>

namespace pictures {

using Bytes = std::vector<uint8_t>;

struct Rgb {
    uint8_t r, g, b;
};

inline uint16_t To565(Rgb c) { return static_cast<uint16_t>((c.r >> 3) << 11 | (c.g >> 2) << 5 | c.b >> 3); }

// ---- GIF

class BitWriter {
public:
    void Put(int code, int width) {
        for (int i = 0; i < width; ++i) {
            if (m_bit == 0) m_bytes.push_back(0);
            if (code >> i & 1) m_bytes.back() |= static_cast<uint8_t>(1 << m_bit);
            m_bit = (m_bit + 1) & 7;
        }
    }
    const Bytes& Data() const { return m_bytes; }

private:
    Bytes m_bytes;
    int m_bit = 0;
};

// A GIF code stream for the indices. With clearWhenFull the encoder starts a
// new table once 4096 codes are in use; without, it goes on at 12 bits
// adding nothing, while a decoder keeps adding entries.
inline Bytes LzwEncode(const Bytes& indices, int minCodeSize, bool clearWhenFull = true, int* codeCount = nullptr) {
    const int clear = 1 << minCodeSize, end = clear + 1;
    int width = minCodeSize + 1, codes = 0;
    // The decoder's next free code: it adds an entry for every code but the
    // first after a clear, and widens the codes when it reaches a power of two.
    int decoderNext = clear + 2;
    bool afterClear = true;
    std::map<std::pair<int, int>, int> table;
    BitWriter out;
    auto emit = [&](int code) {
        out.Put(code, width);
        ++codes;
        if (code == clear || code == end) return;
        if (!afterClear && ++decoderNext == (1 << width) && width < 12) ++width;
        afterClear = false;
    };
    emit(clear);
    int prefix = -1;
    for (uint8_t pixel : indices) {
        if (prefix < 0) {
            prefix = pixel;
            continue;
        }
        auto found = table.find({prefix, pixel});
        if (found != table.end()) {
            prefix = found->second;
            continue;
        }
        emit(prefix);
        if (decoderNext < 4096) table[{prefix, pixel}] = decoderNext;
        if (clearWhenFull && decoderNext >= 4095) {
            emit(clear);
            table.clear();
            decoderNext = clear + 2;
            width = minCodeSize + 1;
            afterClear = true;
        }
        prefix = pixel;
    }
    if (prefix >= 0) emit(prefix);
    emit(end);
    if (codeCount) *codeCount = codes;
    return out.Data();
}

struct GifImage {
    int width = 1;
    int height = 1;
    Bytes indices;                  // width x height, rows top to bottom
    std::vector<Rgb> localTable;    // empty: the global table
    int transparent = -1;           // with a graphic control extension when >= 0
    bool controlExtension = false;  // an extension even without a transparent index
    bool interlaced = false;
    int minCodeSize = 8;
    const Bytes* rawCodes = nullptr;  // in place of the encoded indices
};

inline void PutShort(Bytes& out, int v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

inline int TableBits(size_t entries) {
    int bits = 1;
    while ((size_t{1} << bits) < entries) ++bits;
    return bits;
}

inline void PutTable(Bytes& out, const std::vector<Rgb>& table) {
    const size_t entries = size_t{1} << TableBits(table.size());
    for (size_t i = 0; i < entries; ++i) {
        Rgb c = i < table.size() ? table[i] : Rgb{0, 0, 0};
        out.insert(out.end(), {c.r, c.g, c.b});
    }
}

// Rows in file order for the interlaced passes.
inline Bytes InterlaceRows(const GifImage& image) {
    Bytes out;
    const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = start[pass]; y < image.height; y += step[pass])
            out.insert(out.end(), image.indices.begin() + y * image.width,
                       image.indices.begin() + (y + 1) * image.width);
    return out;
}

inline void PutSubBlocks(Bytes& out, const Bytes& data) {
    for (size_t at = 0; at < data.size(); at += 255) {
        size_t n = std::min<size_t>(255, data.size() - at);
        out.push_back(static_cast<uint8_t>(n));
        out.insert(out.end(), data.begin() + at, data.begin() + at + n);
    }
    out.push_back(0);
}

inline void PutImage(Bytes& out, const GifImage& image) {
    if (image.transparent >= 0 || image.controlExtension) {
        out.insert(out.end(), {0x21, 0xF9, 4, static_cast<uint8_t>(image.transparent >= 0 ? 1 : 0), 0, 0,
                               static_cast<uint8_t>(image.transparent >= 0 ? image.transparent : 0), 0});
    }
    out.push_back(0x2C);
    PutShort(out, 0);
    PutShort(out, 0);
    PutShort(out, image.width);
    PutShort(out, image.height);
    uint8_t packed = image.interlaced ? 0x40 : 0;
    if (!image.localTable.empty()) packed |= 0x80 | (TableBits(image.localTable.size()) - 1);
    out.push_back(packed);
    if (!image.localTable.empty()) PutTable(out, image.localTable);
    out.push_back(static_cast<uint8_t>(image.minCodeSize));
    PutSubBlocks(out, image.rawCodes
                          ? *image.rawCodes
                          : LzwEncode(image.interlaced ? InterlaceRows(image) : image.indices, image.minCodeSize));
}

// A whole file; an empty global table writes none (the decoder then uses greys).
inline Bytes MakeGif(const std::vector<Rgb>& global, const std::vector<GifImage>& images, int greyBits = 8) {
    Bytes out = {'G', 'I', 'F', '8', '9', 'a'};
    PutShort(out, images.empty() ? 1 : images[0].width);
    PutShort(out, images.empty() ? 1 : images[0].height);
    out.push_back(global.empty() ? static_cast<uint8_t>(greyBits - 1)
                                 : static_cast<uint8_t>(0x80 | (TableBits(global.size()) - 1)));
    out.insert(out.end(), {0, 0});
    if (!global.empty()) PutTable(out, global);
    for (const GifImage& image : images) PutImage(out, image);
    out.push_back(0x3B);
    return out;
}

// ---- PNG

struct PngSpec {
    int width = 1;
    int height = 1;
    int colourType = PNG_COLOR_TYPE_RGBA;
    int bitDepth = 8;
    bool interlaced = false;
    std::vector<png_color> palette;
    Bytes transparency;  // tRNS of a palette picture
    std::vector<Bytes> rows;
};

inline Bytes MakePng(const PngSpec& spec) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, size_t n) {
            auto* o = static_cast<Bytes*>(png_get_io_ptr(p));
            o->insert(o->end(), data, data + n);
        },
        nullptr);
    png_set_IHDR(png, info, spec.width, spec.height, spec.bitDepth, spec.colourType,
                 spec.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!spec.palette.empty()) png_set_PLTE(png, info, spec.palette.data(), static_cast<int>(spec.palette.size()));
    if (!spec.transparency.empty())
        png_set_tRNS(png, info, spec.transparency.data(), static_cast<int>(spec.transparency.size()), nullptr);
    png_write_info(png, info);
    std::vector<png_bytep> rows;
    for (const Bytes& row : spec.rows) rows.push_back(const_cast<png_bytep>(row.data()));
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

// ---- JPEG

struct JpegSpec {
    int width = 16;
    int height = 16;
    int components = 3;  // 3 RGB or 1 grey
    int hSample = 1;     // first component's sampling: 2, 2 is 4:2:0; 1, 1 is 4:4:4
    int vSample = 1;
    bool progressive = false;
    bool rgbCoded = false;  // stored as RGB rather than YCbCr
    Bytes samples;          // width x height x components
};

inline Bytes MakeJpeg(const JpegSpec& spec) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr error;
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = spec.width;
    cinfo.image_height = spec.height;
    cinfo.input_components = spec.components;
    cinfo.in_color_space = spec.components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    if (spec.rgbCoded) jpeg_set_colorspace(&cinfo, JCS_RGB);
    jpeg_set_quality(&cinfo, 100, TRUE);
    cinfo.comp_info[0].h_samp_factor = spec.hSample;
    cinfo.comp_info[0].v_samp_factor = spec.vSample;
    if (spec.progressive) jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row =
            const_cast<JSAMPROW>(spec.samples.data() + size_t{cinfo.next_scanline} * spec.width * spec.components);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    Bytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

// A picture of four flat quadrants (top-left, top-right, bottom-left, bottom-right).
inline JpegSpec QuadrantJpeg(int width, int height, const Rgb (&colours)[4]) {
    JpegSpec spec;
    spec.width = width;
    spec.height = height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            Rgb c = colours[(y >= height / 2) * 2 + (x >= width / 2)];
            spec.samples.insert(spec.samples.end(), {c.r, c.g, c.b});
        }
    return spec;
}

// Each channel within the tolerance, in 8-bit units.
inline bool Near565(uint16_t pixel, Rgb c, int tolerance) {
    int r = (pixel >> 11) << 3, g = ((pixel >> 5) & 0x3F) << 2, b = (pixel & 0x1F) << 3;
    return std::abs(r - c.r) <= tolerance && std::abs(g - c.g) <= tolerance && std::abs(b - c.b) <= tolerance;
}

}  // namespace pictures
