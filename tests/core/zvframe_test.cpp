// Cutting a received stream into gateway frames.
#include "core/zvframe.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<uint8_t> Stream(int32_t announced, size_t payloadBytes) {
    std::vector<uint8_t> bytes(CZVMSG::kHeaderSize + payloadBytes, 0xAB);
    StoreLE<uint16_t>(bytes.data(), 7);
    StoreLE<uint16_t>(bytes.data() + 2, 0x4654);
    StoreLE<int32_t>(bytes.data() + 4, announced);
    return bytes;
}

TEST(CutFrame, TellsWholeArrivingAndBadFrames) {
    struct Case {
        std::vector<uint8_t> stream;
        ZVFrameCut::State state;
        int64_t size;
    } cases[] = {
        {{}, ZVFrameCut::kNeedMore, 0},
        {{1, 2, 3, 4, 5, 6, 7}, ZVFrameCut::kNeedMore, 0},  // header not in
        {Stream(0, 0), ZVFrameCut::kWhole, 8},
        {Stream(4, 3), ZVFrameCut::kNeedMore, 12},
        {Stream(4, 4), ZVFrameCut::kWhole, 12},
        {Stream(4, 9), ZVFrameCut::kWhole, 12},  // the next frame's bytes follow
        {Stream(100, 0), ZVFrameCut::kNeedMore, 108},  // at the limit
        {Stream(101, 0), ZVFrameCut::kBad, 0},  // above the limit
        {Stream(-1, 0), ZVFrameCut::kBad, 0},
    };
    for (const Case& c : cases) {
        const ZVFrameCut cut = CutFrame(c.stream, 100);
        EXPECT_EQ(cut.state, c.state) << c.stream.size();
        EXPECT_EQ(cut.size, c.size) << c.stream.size();
    }
}

}  // namespace
