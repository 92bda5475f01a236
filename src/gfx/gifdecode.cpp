#include "gfx/gifdecode.h"

#include <array>
#include <cstring>
#include <vector>

#include "gfx/dibdc.h"
#include "gfx/picturelimits.h"
#include "gfx/speed.h"
#include "platform/report.h"

namespace {

constexpr const char* kSource = "gifdecode";
constexpr uint16_t kPureGreen565 = 0x07E0;
// The table holds 12-bit codes; once full it stays as it is until the next
// clear code, which an encoder may send as late as it likes.
constexpr int kLzwEntries = 4096;
constexpr int kMaxCodeWidth = 12;

using Palette = std::array<uint16_t, CGifFrame::kPaletteEntries>;

// Every read fails, without moving, when the data ends first.
class GifReader {
public:
    GifReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    bool AtEnd() const { return m_position >= m_size; }
    bool Byte(uint8_t& value) { return Block(&value, 1); }
    bool Block(void* out, size_t n) {
        if (n > m_size - m_position) return false;
        std::memcpy(out, m_data + m_position, n);
        m_position += n;
        return true;
    }
    bool Skip(size_t n) {
        if (n > m_size - m_position) return false;
        m_position += n;
        return true;
    }
    // The sub-blocks up to the zero length, concatenated; false when the data
    // ends inside them.
    bool SubBlocks(std::vector<uint8_t>* out) {
        size_t total = 0, at = m_position;
        for (;;) {
            if (at >= m_size) return false;
            size_t length = m_data[at++];
            if (length == 0) break;
            if (length > m_size - at) return false;
            total += length;
            at += length;
        }
        if (out) {
            out->clear();
            out->reserve(total);
            for (size_t p = m_position; m_data[p] != 0; p += m_data[p] + 1)
                out->insert(out->end(), m_data + p + 1, m_data + p + 1 + m_data[p]);
        }
        m_position = at;
        return true;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_position = 0;
};

bool ReadPalette(GifReader& in, uint16_t* palette, int entries) {
    uint8_t rgb[3 * CGifFrame::kPaletteEntries];
    if (!in.Block(rgb, static_cast<size_t>(entries) * 3)) return false;
    for (int i = 0; i < entries; ++i)
        palette[i] = kRedTo565[rgb[3 * i]] | kGreenTo565[rgb[3 * i + 1]] | kBlueTo565[rgb[3 * i + 2]];
    return true;
}

// Codes least significant bit first; a code that the data does not hold
// whole is not read.
class CodeReader {
public:
    CodeReader(const uint8_t* data, size_t size) : m_data(data), m_bits(uint64_t{size} * 8) {}

    bool Read(int width, int* code) {
        if (m_position + width > m_bits) return false;
        size_t at = m_position >> 3;
        uint32_t value = 0;
        for (int i = 0; i < 3 && at + i < m_bits / 8; ++i) value |= uint32_t{m_data[at + i]} << (8 * i);
        *code = static_cast<int>((value >> (m_position & 7)) & ((1u << width) - 1));
        m_position += width;
        return true;
    }

private:
    const uint8_t* m_data;
    uint64_t m_bits;
    uint64_t m_position = 0;
};

// Places pixels in reading order, rows in plain or interlaced order.
class RowPlacer {
public:
    RowPlacer(uint8_t* pixels, int stride, int width, int height, bool interlaced)
        : m_pixels(pixels),
          m_stride(stride),
          m_width(width),
          m_height(height),
          m_interlaced(interlaced),
          m_left(int64_t{width} * height) {}

    bool Done() const { return m_left == 0; }
    void Put(uint8_t index) {
        m_pixels[static_cast<size_t>(m_row) * m_stride + m_column] = index;
        --m_left;
        if (++m_column < m_width) return;
        m_column = 0;
        NextRow();
    }

private:
    void NextRow() {
        static constexpr int kStart[4] = {0, 4, 2, 1};
        static constexpr int kStep[4] = {8, 8, 4, 2};
        if (!m_interlaced) {
            ++m_row;
            return;
        }
        m_row += kStep[m_pass];
        while (m_row >= m_height && m_pass < 3) m_row = kStart[++m_pass];
    }

    uint8_t* m_pixels;
    int m_stride, m_width, m_height;
    bool m_interlaced;
    int64_t m_left;
    int m_row = 0, m_column = 0, m_pass = 0;
};

// Reads one image from its descriptor on; null when it does not decode.
// Sets *truncated when the data ended inside it.
CGifFrame* ReadImage(GifReader& in, Palette& global, int globalBits, bool transparency, int transparentIndex,
                     bool* truncated) {
    uint8_t d[9];
    *truncated = true;
    if (!in.Block(d, sizeof d)) return nullptr;
    const int width = d[4] | d[5] << 8, height = d[6] | d[7] << 8, packed = d[8];
    if (width < 1 || width > 1999) ReportAssert(kSource, 281, 1);
    if (height < 1 || height > 1999) ReportAssert(kSource, 282, 1);
    const bool local = packed & 0x80;
    const int bits = local ? (packed & 7) + 1 : globalBits;
    Palette palette{};
    if (local) {
        if (!ReadPalette(in, palette.data(), 1 << bits)) return nullptr;
        if (transparentIndex >= 0) palette[transparentIndex] = kPureGreen565;
    } else {
        if (transparency && transparentIndex >= 0) global[transparentIndex] = 0;
        std::copy(global.begin(), global.begin() + (1 << bits), palette.begin());
    }
    if (transparency && transparentIndex >= 0 && transparentIndex < (1 << bits)) palette[transparentIndex] = 0;
    uint8_t minCodeSize = 0;
    std::vector<uint8_t> codes;
    if (!in.Byte(minCodeSize) || !in.SubBlocks(&codes)) return nullptr;
    *truncated = false;

    auto frame = std::make_unique<CGifFrame>();
    if (!frame->Allocate(width, height, bits)) return nullptr;
    frame->transparentIndex = transparentIndex;
    std::copy(palette.begin(), palette.end(), frame->palette.get());
    if (!DecodeGifLzw(codes.data(), codes.size(), frame->pixels.get(), minCodeSize, frame->stride, width, height,
                      packed & 0x40))
        return nullptr;
    return frame.release();
}

}  // namespace

bool CGifFrame::Allocate(int w, int h, int b) {
    pixels.reset();
    palette.reset();
    transparentIndex = -1;
    width = w;
    height = h;
    bits = b;
    stride = (w + 3) & ~3;
    if (!WithinPictureLimits(stride, h)) return false;
    palette = std::make_unique<uint16_t[]>(kPaletteEntries);
    pixels = std::make_unique<uint8_t[]>(static_cast<size_t>(stride) * h);
    return true;
}

CDibDC* CGifFrame::ToDib(bool transparency) const {
    if (!pixels || !palette || width <= 0 || height <= 0) return nullptr;
    std::unique_ptr<CDibDC> dib(transparency ? new CAlphaDibDC(width, height, 0, 0)
                                             : new CDibDC(width, height, 0, 0, 0));
    if (!dib->GetBits()) return nullptr;
    for (int y = 0; y < height; ++y) {
        const uint8_t* from = pixels.get() + static_cast<size_t>(y) * stride;
        uint16_t* to = dib->GetPixelAddress(0, y);
        uint8_t* alpha = transparency ? dib->GetAlphaAt(0, y) : nullptr;
        for (int x = 0; x < width; ++x) {
            to[x] = palette[from[x]];
            if (alpha) alpha[x] = from[x] == transparentIndex ? 0 : 255;
        }
    }
    return dib.release();
}

bool DecodeGifLzw(const uint8_t* codes, size_t size, uint8_t* pixels, int minCodeSize, int stride, int width,
                  int height, bool interlaced) {
    // Roots beyond 8 bits would not fit the byte indices.
    if (!codes || !pixels || width <= 0 || height <= 0 || stride < width || minCodeSize < 1 || minCodeSize > 8)
        return false;
    uint16_t prefix[kLzwEntries];
    uint8_t suffix[kLzwEntries];
    uint8_t stack[kLzwEntries];

    const int clear = 1 << minCodeSize, end = clear + 1;
    int next = clear + 2, codeWidth = minCodeSize + 1, previous = clear;
    CodeReader in(codes, size);
    RowPlacer out(pixels, stride, width, height, interlaced);
    for (;;) {
        int code;
        if (!in.Read(codeWidth, &code)) return false;
        if (code == end) return true;
        if (code == clear) {
            codeWidth = minCodeSize + 1;
            next = clear + 2;
            previous = clear;
            continue;
        }
        // A code not yet in the table may only be the one about to be added.
        const bool repeatFirst = code >= next;
        if (repeatFirst && (code > next || previous == clear)) return false;
        int depth = 0;
        for (int c = repeatFirst ? previous : code;; c = prefix[c]) {
            if (depth == kLzwEntries) return false;
            if (c < clear) {
                stack[depth++] = static_cast<uint8_t>(c);
                break;
            }
            stack[depth++] = suffix[c];
        }
        const uint8_t first = stack[depth - 1];
        if (repeatFirst && depth == kLzwEntries) return false;
        while (depth > 0 && !out.Done()) out.Put(stack[--depth]);
        if (repeatFirst && !out.Done()) out.Put(first);
        if (out.Done()) return true;
        if (previous != clear && next < kLzwEntries) {
            prefix[next] = static_cast<uint16_t>(previous);
            suffix[next] = first;
            if (++next == 1 << codeWidth && codeWidth < kMaxCodeWidth) ++codeWidth;
        }
        previous = code;
    }
}

CGifFrame* ParseGif(const uint8_t* data, size_t size, bool transparency) {
    if (!data) return nullptr;
    GifReader in(data, size);
    uint8_t header[6], screen[7];
    if (!in.Block(header, sizeof header) || header[0] != 'G' || header[1] != 'I') return nullptr;
    if (!in.Block(screen, sizeof screen)) return nullptr;
    const int globalBits = (screen[4] & 7) + 1;
    Palette global{};
    if (screen[4] & 0x80) {
        if (!ReadPalette(in, global.data(), 1 << globalBits)) return nullptr;
    } else {
        for (int i = 0; i < 1 << globalBits; ++i) global[i] = kRedTo565[i] | kGreenTo565[i] | kBlueTo565[i];
    }

    std::unique_ptr<CGifFrame> frame;
    int pendingTransparent = -1;  // of a pending graphic control extension
    bool controlPending = false;
    while (!in.AtEnd()) {
        uint8_t block = 0;
        in.Byte(block);
        if (block == 0x3B) break;
        if (block == 0x21) {
            uint8_t label = 0, control[5], terminator = 0;
            if (!in.Byte(label)) break;
            if (label != 0xF9) {
                if (!in.SubBlocks(nullptr)) break;
                continue;
            }
            if (!in.Block(control, sizeof control) || !in.Byte(terminator)) break;
            controlPending = true;
            pendingTransparent = (control[1] & 1) ? control[4] : -1;
        } else if (block == 0x2C) {
            bool truncated = false;
            frame.reset(
                ReadImage(in, global, globalBits, transparency, controlPending ? pendingTransparent : -1, &truncated));
            controlPending = false;
            if (truncated) break;
        }
    }
    if (!frame) return nullptr;

    const uint8_t fill = transparency && frame->transparentIndex >= 0 ? frame->transparentIndex : 0;
    for (int y = 0; y < frame->height; ++y) {
        uint8_t* row = frame->pixels.get() + static_cast<size_t>(y) * frame->stride;
        std::memset(row + frame->width, fill, static_cast<size_t>(frame->stride - frame->width));
    }
    frame->width = frame->stride;
    return frame.release();
}

CDibDC* DecodeGif(const uint8_t* data, size_t size, bool transparency) {
    std::unique_ptr<CGifFrame> frame(ParseGif(data, size, transparency));
    return frame ? frame->ToDib(transparency) : nullptr;
}
