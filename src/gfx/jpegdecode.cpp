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
    // The entropy decoder ran out of scan data and filled in the rest.
    bool scanDataShort;
};

struct MemorySource {
    jpeg_source_mgr manager;
    const uint8_t* data;
    size_t size;
    bool handedOut;
    // The data ran out and the source stood in an end-of-image marker.
    bool endSupplied;
};

constexpr JOCTET kEndOfImage[] = {0xFF, JPEG_EOI};

// How a decode went: every row is written unless it failed; a picture cut
// short has what its data held and the library's filling for the rest.
enum DecodeResult { kFailed = 0, kWhole = 1, kCutShort = 2 };

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

// Warnings are not shown; the one that says scan data is missing is kept.
void NoteMessage(j_common_ptr cinfo, int level) {
    if (level < 0 && cinfo->err->msg_code == JWRN_HIT_MARKER)
        reinterpret_cast<JpegError*>(cinfo->err)->scanDataShort = true;
}

void LimitScans(j_common_ptr cinfo) {
    if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans) ERREXIT(cinfo, JERR_BAD_SCAN_SCRIPT);
}

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

// The whole block at once. When it is used up, an end-of-image marker
// follows once, so that a picture lacking only its own end marker decodes
// and a cut one decodes as far as it goes; asked again, the data ended
// early. The library reads a byte after every successful fill, so an empty
// block is an early end too.
boolean FillInput(j_decompress_ptr cinfo) {
    auto* source = reinterpret_cast<MemorySource*>(cinfo->src);
    if (source->size == 0 || source->endSupplied) ERREXIT(cinfo, JERR_INPUT_EOF);
    if (source->handedOut) {
        WARNMS(cinfo, JWRN_JPEG_EOF);
        source->endSupplied = true;
        source->manager.next_input_byte = kEndOfImage;
        source->manager.bytes_in_buffer = sizeof kEndOfImage;
        return TRUE;
    }
    source->handedOut = true;
    source->manager.next_input_byte = source->data;
    source->manager.bytes_in_buffer = source->size;
    return TRUE;
}

// Whether the data ended before a progressive picture had every coefficient
// in full; asked once every row is out, before the decode finishes.
bool ProgressionCutShort(const jpeg_decompress_struct& cinfo) {
    if (!reinterpret_cast<const MemorySource*>(cinfo.src)->endSupplied || !cinfo.progressive_mode) return false;
    for (int c = 0; c < cinfo.num_components; ++c)
        for (int k = 0; k < DCTSIZE2; ++k)
            if (cinfo.coef_bits[c][k] != 0) return true;
    return false;
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
    s.error.manager.emit_message = NoteMessage;
    jpeg_create_decompress(&s.cinfo);
    SetJpegMemorySource(&s.cinfo, data, size);
    s.scans.progress_monitor = LimitScans;
    s.cinfo.progress = &s.scans;
}

uint16_t* RowAt(uint16_t* buffer, int bufferWidth, int64_t row, int dx) {
    return buffer + row * bufferWidth + dx;
}

// Tells the progress function of each row done out of `total`; 0 when it
// cancels.
struct RowProgress {
    JpegProgressFn function;
    void* context;
    int done;
    int total;

    int Row() { return !function || function(context, ++done, total); }
};

// Enlarges the w x h picture at the area's top-left to k times its size, in
// place: each row from its right end, then the rows from the bottom up.
void Enlarge(uint16_t* buffer, int bufferWidth, int dx, int dy, int w, int h, int k, RowProgress& progress) {
    for (int r = 0; r < h; ++r) {
        uint16_t* row = RowAt(buffer, bufferWidth, dy + r, dx);
        for (int x = w - 1; x >= 0; --x) std::fill_n(row + static_cast<ptrdiff_t>(x) * k, k, row[x]);
        progress.Row();
    }
    const size_t bytes = static_cast<size_t>(w) * k * sizeof(uint16_t);
    for (int r = h - 1; r >= 0; --r) {
        const uint16_t* from = RowAt(buffer, bufferWidth, dy + r, dx);
        for (int j = k - 1; j >= 0; --j)
            std::memmove(RowAt(buffer, bufferWidth, dy + int64_t{k} * r + j, dx), from, bytes);
    }
}

int ProgressOfSink(void* context, int done, int total) {
    auto* sink = static_cast<CProgressSink*>(context);
    return !sink || sink->OnProgress(done, total) != 0;
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
    source->endSupplied = false;
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
    RowProgress rows{progress, context, 0, 0};
    const int decoded = WithJpegHeader(data, size, [&](jpeg_decompress_struct& cinfo) -> int {
        cinfo.out_color_space = JCS_RGB565;
        cinfo.dither_mode = JDITHER_NONE;
        cinfo.dct_method = JDCT_IFAST;
        cinfo.do_fancy_upsampling = FALSE;
        jpeg_calc_output_dimensions(&cinfo);
        w = static_cast<int>(cinfo.output_width);
        h = static_cast<int>(cinfo.output_height);
        if (int64_t{w} * k + dx > bufferWidth || int64_t{h} * k + dy > bufferHeight) return 0;
        rows.total = k > 1 ? 2 * h : h;
        jpeg_start_decompress(&cinfo);
        // One line at a time into an aligned row of the library's own: its
        // RGB565 output depends on where a row starts, and a target row may
        // start on any pixel.
        JSAMPARRAY line = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                                      static_cast<JDIMENSION>(w) * sizeof(uint16_t), 1);
        const auto* pixels = reinterpret_cast<const uint16_t*>(line[0]);
        while (cinfo.output_scanline < cinfo.output_height) {
            const int y = static_cast<int>(cinfo.output_scanline);
            if (jpeg_read_scanlines(&cinfo, line, 1) != 1) return 0;
            uint16_t* to = RowAt(buffer, bufferWidth, turned ? dy + h - 1 - y : dy + y, dx);
            if (turned)
                std::reverse_copy(pixels, pixels + w, to);
            else
                std::copy(pixels, pixels + w, to);
            if (!rows.Row()) return 0;
        }
        const bool progressionShort = ProgressionCutShort(cinfo);
        jpeg_finish_decompress(&cinfo);
        const bool scanDataShort = reinterpret_cast<const JpegError*>(cinfo.err)->scanDataShort;
        return progressionShort || scanDataShort ? kCutShort : kWhole;
    });
    if (decoded == kFailed) return 0;
    if (k > 1) Enlarge(buffer, bufferWidth, dx, dy, w, h, k, rows);
    return decoded == kWhole;
}

int DecodeJpeg(const uint8_t* data, size_t size, uint16_t* buffer, int bufferWidth, int bufferHeight, int scale) {
    return DecodeJpegToRgb565(data, size, buffer, scale, 0, 0, bufferWidth, bufferHeight, nullptr, nullptr);
}

int DecodeJpegWithProgress(const uint8_t* data, size_t size, uint16_t* buffer, int bufferWidth, int bufferHeight,
                           int dx, int dy, int /*unused*/, CProgressSink* sink) {
    return DecodeJpegToRgb565(data, size, buffer, 1, dx, dy, bufferWidth, bufferHeight, ProgressOfSink, sink);
}
