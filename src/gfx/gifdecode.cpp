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
    GifReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool AtEnd() const { return position_ >= size_; }
    bool Byte(uint8_t& value) { return Block(&value, 1); }
    bool Block(void* out, size_t n) {
        if (n > size_ - position_) return false;
        std::memcpy(out, data_ + position_, n);
        position_ += n;
        return true;
    }
    bool Skip(size_t n) {
        if (n > size_ - position_) return false;
        position_ += n;
        return true;
    }
    // The sub-blocks up to the zero length, concatenated; false when the data
    // ends inside them.
    bool SubBlocks(std::vector<uint8_t>* out) {
        size_t total = 0, at = position_;
        for (;;) {
            if (at >= size_) return false;
            size_t length = data_[at++];
            if (length == 0) break;
            if (length > size_ - at) return false;
            total += length;
            at += length;
        }
        if (out) {
            out->clear();
            out->reserve(total);
            for (size_t p = position_; data_[p] != 0; p += data_[p] + 1)
                out->insert(out->end(), data_ + p + 1, data_ + p + 1 + data_[p]);
        }
        position_ = at;
        return true;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
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
    CodeReader(const uint8_t* data, size_t size) : data_(data), bits_(uint64_t{size} * 8) {}

    bool Read(int width, int* code) {
        if (position_ + width > bits_) return false;
        size_t at = position_ >> 3;
        uint32_t value = 0;
        for (int i = 0; i < 3 && at + i < bits_ / 8; ++i) value |= uint32_t{data_[at + i]} << (8 * i);
        *code = static_cast<int>((value >> (position_ & 7)) & ((1u << width) - 1));
        position_ += width;
        return true;
    }

private:
    const uint8_t* data_;
    uint64_t bits_;
    uint64_t position_ = 0;
};

// Places pixels in reading order, rows in plain or interlaced order.
class RowPlacer {
public:
    RowPlacer(uint8_t* pixels, int stride, int width, int height, bool interlaced)
        : pixels_(pixels), stride_(stride), width_(width), height_(height), interlaced_(interlaced),
          left_(int64_t{width} * height) {}

    bool Done() const { return left_ == 0; }
    void Put(uint8_t index) {
        pixels_[static_cast<size_t>(row_) * stride_ + column_] = index;
        --left_;
        if (++column_ < width_) return;
        column_ = 0;
        NextRow();
    }

private:
    void NextRow() {
        static constexpr int kStart[4] = {0, 4, 2, 1};
        static constexpr int kStep[4] = {8, 8, 4, 2};
        if (!interlaced_) {
            ++row_;
            return;
        }
        row_ += kStep[pass_];
        while (row_ >= height_ && pass_ < 3) row_ = kStart[++pass_];
    }

    uint8_t* pixels_;
    int stride_, width_, height_;
    bool interlaced_;
    int64_t left_;
    int row_ = 0, column_ = 0, pass_ = 0;
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
            frame.reset(ReadImage(in, global, globalBits, transparency, controlPending ? pendingTransparent : -1,
                                  &truncated));
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
