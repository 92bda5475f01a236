#pragma once
// Cutting a received byte stream into gateway frames. A frame is an 8-byte
// header (sender id, message id, payload length; little-endian) and the
// payload the length announces.
#include <cstdint>
#include <span>

#include "core/zvbytes.h"
#include "core/zvmsg.h"

struct ZVFrameCut {
    enum State { kNeedMore, kWhole, kBad };
    State state = kNeedMore;
    // Header and payload; 0 until the header is in.
    int64_t size = 0;
};

// The frame at the start of `stream`: whole, still arriving, or bad when the
// announced length is negative or above `maxPayload`.
inline ZVFrameCut CutFrame(std::span<const uint8_t> stream, int32_t maxPayload) {
    if (stream.size() < static_cast<size_t>(CZVMSG::kHeaderSize))
        return {};
    const int32_t length = LoadLE<int32_t>(stream.data() + 4);
    if (length < 0 || length > maxPayload)
        return {ZVFrameCut::kBad, 0};
    const int64_t size = int64_t{length} + CZVMSG::kHeaderSize;
    return {static_cast<size_t>(size) <= stream.size() ? ZVFrameCut::kWhole : ZVFrameCut::kNeedMore, size};
}
