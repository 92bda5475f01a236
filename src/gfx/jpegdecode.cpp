#include "gfx/jpegdecode.h"

// clang-format off
#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

// A file with more scans than this is refused: each scan walks the whole
// picture again.
constexpr int kMaxScans = 500;

struct JpegError {
    jpeg_error_mgr manager;
    jmp_buf jump;
};

struct MemorySource {
    jpeg_source_mgr manager;
    const uint8_t* data;
    size_t size;
    bool handedOut;
};

// One decompressor with its error manager and scan watch. Nothing here has a
// destructor: errors leave by a jump into the function that owns it.
struct JpegSession {
    jpeg_decompress_struct cinfo{};
    JpegError error{};
    jpeg_progress_mgr scans{};
};

void ErrorExit(j_common_ptr cinfo) {
    longjmp(reinterpret_cast<JpegError*>(cinfo->err)->jump, 1);
}

void OutputNothing(j_common_ptr) {}

void LimitScans(j_common_ptr cinfo) {
    if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans) ERREXIT(cinfo, JERR_BAD_SCAN_SCRIPT);
}

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

// The whole block at once. Once it is used up the data ended early: that is
// an error, not a cue to read the block a second time. The library reads a
// byte after every successful fill, so an empty block is an early end too.
boolean FillInput(j_decompress_ptr cinfo) {
    auto* source = reinterpret_cast<MemorySource*>(cinfo->src);
    if (source->handedOut || source->size == 0) ERREXIT(cinfo, JERR_INPUT_EOF);
    source->handedOut = true;
    source->manager.next_input_byte = source->data;
    source->manager.bytes_in_buffer = source->size;
    return TRUE;
}

void SkipInput(j_decompress_ptr cinfo, long count) {
    jpeg_source_mgr* source = cinfo->src;
    if (count <= 0) return;
    size_t skip = std::min(static_cast<size_t>(count), source->bytes_in_buffer);
    source->next_input_byte += skip;
    source->bytes_in_buffer -= skip;
}

// Creates the decompressor on the block; the caller has set its jump point.
void Begin(JpegSession& s, const uint8_t* data, size_t size) {
    s.cinfo.err = jpeg_std_error(&s.error.manager);
    s.error.manager.error_exit = ErrorExit;
    s.error.manager.output_message = OutputNothing;
    jpeg_create_decompress(&s.cinfo);
    SetJpegMemorySource(&s.cinfo, data, size);
    s.scans.progress_monitor = LimitScans;
    s.cinfo.progress = &s.scans;
}

uint16_t* RowAt(uint16_t* buffer, int bufferWidth, int64_t row, int dx) {
    return buffer + row * bufferWidth + dx;
}

// Enlarges the w x h picture at the area's top-left to k times its size, in
// place: each row from its right end, then the rows from the bottom up.
void Enlarge(uint16_t* buffer, int bufferWidth, int dx, int dy, int w, int h, int k, JpegProgressFn progress,
             void* context) {
    for (int r = 0; r < h; ++r) {
        uint16_t* row = RowAt(buffer, bufferWidth, dy + r, dx);
        for (int x = w - 1; x >= 0; --x) std::fill_n(row + static_cast<ptrdiff_t>(x) * k, k, row[x]);
        if (progress) progress(context);
    }
    const size_t bytes = static_cast<size_t>(w) * k * sizeof(uint16_t);
    for (int r = h - 1; r >= 0; --r) {
        const uint16_t* from = RowAt(buffer, bufferWidth, dy + r, dx);
        for (int j = k - 1; j >= 0; --j)
            std::memmove(RowAt(buffer, bufferWidth, dy + int64_t{k} * r + j, dx), from, bytes);
    }
}

int ProgressOfSink(void* context) {
    auto* sink = static_cast<CProgressSink*>(context);
    return !sink || sink->OnProgress(0, 1) != 0;
}

// Opens the file, reads its header and hands the library's state to body,
// whose result is returned; 0 when the library gives up on the file. Errors
// jump back here across body, so body owns nothing with a destructor.
template <typename Body>
int WithJpegHeader(const uint8_t* data, size_t size, Body body) {
    JpegSession s;
    if (setjmp(s.error.jump)) {
        jpeg_destroy_decompress(&s.cinfo);
        return 0;
    }
    Begin(s, data, size);
    jpeg_read_header(&s.cinfo, TRUE);
    const int result = body(s.cinfo);
    jpeg_destroy_decompress(&s.cinfo);
    return result;
}

}  // namespace

void SetJpegMemorySource(jpeg_decompress_struct* cinfo, const uint8_t* data, size_t size) {
    if (!cinfo->src) {
        cinfo->src = static_cast<jpeg_source_mgr*>(
            (*cinfo->mem->alloc_small)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, sizeof(MemorySource)));
    }
    auto* source = reinterpret_cast<MemorySource*>(cinfo->src);
    source->manager.init_source = InitSource;
    source->manager.fill_input_buffer = FillInput;
    source->manager.skip_input_data = SkipInput;
    source->manager.resync_to_restart = jpeg_resync_to_restart;
    source->manager.term_source = TermSource;
    source->manager.next_input_byte = nullptr;
    source->manager.bytes_in_buffer = 0;
    source->data = data;
    source->size = size;
    source->handedOut = false;
}

int ReadJpegHeader(const uint8_t* data, size_t size, int* width, int* height, int* components) {
    if (!data) return 0;
    return WithJpegHeader(data, size, [&](jpeg_decompress_struct& cinfo) {
        if (width) *width = static_cast<int>(cinfo.image_width);
        if (height) *height = static_cast<int>(cinfo.image_height);
        if (components) *components = cinfo.num_components;
        return 1;
    });
}

int ReadJpegSize(const uint8_t* data, size_t size, int* width, int* height) {
    return ReadJpegHeader(data, size, width, height, nullptr);
}

int DecodeJpegToRgb565(const uint8_t* data, size_t size, uint16_t* buffer, int scale, int dx, int dy,
                       int bufferWidth, int bufferHeight, JpegProgressFn progress, void* context) {
    if (!data || !buffer || scale == 0 || dx < 0 || dy < 0 || bufferWidth <= 0 || bufferHeight <= 0) return 0;
    const int k = std::abs(scale);
    const bool turned = scale < 0;
    int w = 0, h = 0;
    const int decoded = WithJpegHeader(data, size, [&](jpeg_decompress_struct& cinfo) {
        cinfo.out_color_space = JCS_RGB565;
        cinfo.dither_mode = JDITHER_NONE;
        cinfo.dct_method = JDCT_IFAST;
        cinfo.do_fancy_upsampling = FALSE;
        jpeg_calc_output_dimensions(&cinfo);
        w = static_cast<int>(cinfo.output_width);
        h = static_cast<int>(cinfo.output_height);
        if (int64_t{w} * k + dx > bufferWidth || int64_t{h} * k + dy > bufferHeight) return 0;
        jpeg_start_decompress(&cinfo);
        while (cinfo.output_scanline < cinfo.output_height) {
            const int line = static_cast<int>(cinfo.output_scanline);
            const int count = std::min(2, h - line);
            JSAMPROW rows[2];
            for (int i = 0; i < count; ++i)
                rows[i] = reinterpret_cast<JSAMPROW>(
                    RowAt(buffer, bufferWidth, turned ? dy + h - 1 - line - i : dy + line + i, dx));
            // The library may hand out one line at a time.
            for (int read = 0; read < count;) {
                const int got = static_cast<int>(jpeg_read_scanlines(&cinfo, rows + read, count - read));
                if (got == 0) return 0;
                read += got;
            }
            if (turned) {
                for (int i = 0; i < count; ++i) {
                    auto* row = reinterpret_cast<uint16_t*>(rows[i]);
                    std::reverse(row, row + w);
                }
            }
            if (progress && !progress(context)) return 0;
        }
        jpeg_finish_decompress(&cinfo);
        return 1;
    });
    if (!decoded) return 0;
    if (k > 1) Enlarge(buffer, bufferWidth, dx, dy, w, h, k, progress, context);
    return 1;
}

int DecodeJpeg(const uint8_t* data, size_t size, uint16_t* buffer, int bufferWidth, int bufferHeight, int scale) {
    return DecodeJpegToRgb565(data, size, buffer, scale, 0, 0, bufferWidth, bufferHeight, nullptr, nullptr);
}

int DecodeJpegWithProgress(const uint8_t* data, size_t size, uint16_t* buffer, int bufferWidth, int bufferHeight,
                           int dx, int dy, int /*unused*/, CProgressSink* sink) {
    return DecodeJpegToRgb565(data, size, buffer, 1, dx, dy, bufferWidth, bufferHeight, ProgressOfSink, sink);
}
