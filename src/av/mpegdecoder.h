#pragma once
// MPEG-2 video decoding through libmpeg2 into RGB565 pictures. The decoder
// reads the stream buffer in place, in pieces of kFeedSize bytes, and is
// only asked to go on while that much is buffered; after a reset the first
// pictures are dropped while the decoder finds its footing.
#include <cstdint>

#include "av/videostreambuffer.h"

struct mpeg2dec_s;

// A decoded picture: width x height RGB565 pixels in rows of stride
// pixels, valid until the decoder runs again.
struct CMpegPicture {
    const uint16_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
};

class CMpegDecoder {
public:
    static constexpr int kFeedSize = 5000;
    static constexpr int kDiscardAfterReset = 2;

    CMpegDecoder();
    ~CMpegDecoder();
    CMpegDecoder(const CMpegDecoder&) = delete;
    CMpegDecoder& operator=(const CMpegDecoder&) = delete;

    // Forgets the stream so far; the next kDiscardAfterReset pictures are
    // not shown.
    void Reset();
    // Decodes while the buffer holds at least kFeedSize bytes, up to the
    // first picture to show. skipAll decodes no picture (nothing would show
    // it), dropB skips the B pictures. 1 with the picture, else 0.
    int Decode(CVideoStreamBuffer& buffer, bool skipAll, bool dropB, CMpegPicture* picture);
    int GetDiscardCount() const { return m_discard; }

private:
    // What a decoded picture gives: 1 when it is to be shown.
    int TakePicture(CMpegPicture* picture);

    mpeg2dec_s* m_decoder;
    int m_discard = 0;
};
