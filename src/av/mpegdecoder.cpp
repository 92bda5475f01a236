#include "av/mpegdecoder.h"

#include <algorithm>
#include <cstddef>

extern "C" {
#include <mpeg2dec/mpeg2.h>
#include <mpeg2dec/mpeg2convert.h>
}

namespace {

constexpr uint32_t kCodingTypeMask = 7;
constexpr uint32_t kBPicture = 3;

}  // namespace

CMpegDecoder::CMpegDecoder() : m_decoder(mpeg2_init()) {}

CMpegDecoder::~CMpegDecoder() {
    if (m_decoder) mpeg2_close(m_decoder);
}

void CMpegDecoder::Reset() {
    if (m_decoder) mpeg2_reset(m_decoder, 1);
    m_discard = kDiscardAfterReset;
}

int CMpegDecoder::Decode(CVideoStreamBuffer& buffer, bool skipAll, bool dropB, CMpegPicture* picture) {
    if (!m_decoder) return 0;
    while (buffer.GetFill() >= kFeedSize) {
        switch (mpeg2_parse(m_decoder)) {
        case STATE_BUFFER: {
            buffer.ConsumePending();
            const int count = std::min(buffer.GetFill(), kFeedSize);
            uint8_t* start = const_cast<uint8_t*>(buffer.GetData());
            mpeg2_buffer(m_decoder, start, start + count);
            buffer.SetPending(count);
            break;
        }
        case STATE_SEQUENCE:
            mpeg2_convert(m_decoder, mpeg2convert_rgb16, nullptr);
            mpeg2_skip(m_decoder, 1);
            break;
        case STATE_PICTURE: {
            const mpeg2_info_t* info = mpeg2_info(m_decoder);
            const bool isB = info->current_picture && (info->current_picture->flags & kCodingTypeMask) == kBPicture;
            mpeg2_skip(m_decoder, skipAll || (dropB && isB));
            break;
        }
        case STATE_SLICE:
        // The end of a sequence hands over the last picture, still held as a reference.
        // An invalid end has already released the sequence's buffers: nothing to show.
        case STATE_END:
            if (TakePicture(picture)) return 1;
            break;
        default: break;
        }
    }
    return 0;
}

int CMpegDecoder::TakePicture(CMpegPicture* picture) {
    const mpeg2_info_t* info = mpeg2_info(m_decoder);
    if (!info->display_fbuf || !info->sequence) return 0;
    if (info->current_picture && (info->current_picture->flags & PIC_FLAG_SKIP)) return 0;
    if (m_discard > 0) {
        --m_discard;
        return 0;
    }
    picture->pixels = reinterpret_cast<const uint16_t*>(info->display_fbuf->buf[0]);
    // The converted rows are as long as the coded picture is wide; the shown
    // part is never larger than that.
    const mpeg2_sequence_t* sequence = info->sequence;
    picture->stride = static_cast<int>(sequence->width);
    picture->width = static_cast<int>(std::min(sequence->display_width, sequence->width));
    picture->height = static_cast<int>(std::min(sequence->display_height, sequence->height));
    return picture->pixels != nullptr;
}
