#include <gtest/gtest.h>

#include "av/astream.h"
#include "av/mulaw.h"
#include "av/wavebuffer.h"
#include "av_fixture.h"

namespace {

TEST(MuLaw, EncodesAndDecodesTheReferenceCases) {
    const struct { int16_t sample; uint8_t code; } encodes[] = {
        {0, 0xFF}, {-1, 0x7F}, {32767, 0x80}, {-32768, 0x02}, {32635, 0x80}, {100, 0xF2}};
    for (const auto& c : encodes) EXPECT_EQ(EncodeMuLaw(c.sample), c.code) << c.sample;
    const struct { uint8_t code; int16_t sample; } decodes[] = {{0xFF, 0}, {0x80, 32124}, {0x00, -32124}, {0x7F, 0}};
    for (const auto& c : decodes) EXPECT_EQ(DecodeMuLaw(c.code), c.sample) << int(c.code);
}

TEST(MuLaw, EveryCodeSurvivesARoundTrip) {
    for (int code = 0; code < 256; ++code) {
        // 0x00 is never produced (0x02 stands for it) and 0x7F decodes to the 0 of 0xFF.
        const int expected = code == 0x00 ? 0x02 : code == 0x7F ? 0xFF : code;
        EXPECT_EQ(EncodeMuLaw(DecodeMuLaw(static_cast<uint8_t>(code))), expected) << code;
    }
}

TEST(WaveBuffer, ApplyGainClampsTo32000) {
    const struct { int16_t in; int factor; int16_t out; } cases[] = {
        {12000, 3, 32000}, {-12000, 3, -32000}, {10000, 3, 30000}, {-32768, -1, 32000}, {5, 0, 0}};
    for (const auto& c : cases) {
        CWaveBuffer buffer(nullptr);
        const auto bytes = Samples16({c.in, c.in});
        ASSERT_TRUE(buffer.SetData(bytes.data(), static_cast<int32_t>(bytes.size())));
        buffer.ApplyGain(c.factor);
        EXPECT_EQ(buffer.GetData()[0] | buffer.GetData()[1] << 8, static_cast<uint16_t>(c.out)) << c.in;
        EXPECT_EQ(buffer.GetData()[2] | buffer.GetData()[3] << 8, static_cast<uint16_t>(c.out)) << c.in;
    }
}

TEST(WaveBuffer, SetSizeGrowsInStepsAndKeepsItsBlock) {
    const struct { std::vector<int32_t> sizes; int32_t capacity; int32_t length; } cases[] = {
        {{64}, 128, 64}, {{63}, 64, 63}, {{64, 10}, 128, 10}, {{0}, 0, 0}, {{10, 200}, 256, 200}};
    for (const auto& c : cases) {
        CWaveBuffer buffer(nullptr);
        for (int32_t n : c.sizes) ASSERT_TRUE(buffer.SetSize(n));
        EXPECT_EQ(buffer.GetCapacity(), c.capacity);
        EXPECT_EQ(buffer.GetLength(), c.length);
        EXPECT_EQ(buffer.GetHeader()->data, buffer.GetData());
        EXPECT_EQ(buffer.GetHeader()->bufferLength, static_cast<uint32_t>(c.length));
    }
    CWaveBuffer buffer(nullptr);
    EXPECT_FALSE(buffer.SetSize(-1));
    EXPECT_FALSE(buffer.SetSize(INT32_MAX));
    EXPECT_EQ(buffer.GetCapacity(), 0);
}

TEST(AStream, SecondsSumTheBuffersAtTheByteRate) {
    const std::vector<uint8_t> block(22050);
    struct Case { uint32_t rate; bool oneDone; double total; double pending; };
    for (const Case& c : {Case{22050, false, 2.0, 2.0}, Case{22050, true, 2.0, 1.0}, Case{0, false, 0.0, 0.0}}) {
        CAStream stream;
        stream.GetFormat().avgBytesPerSec = c.rate;
        stream.AddCopy(block.data(), 22050);
        CWaveBuffer* second = stream.AddCopy(block.data(), 22050);
        if (c.oneDone) second->GetHeader()->flags |= platform::kWaveHeaderDone;
        EXPECT_DOUBLE_EQ(stream.GetTotalSeconds(), c.total);
        EXPECT_DOUBLE_EQ(stream.GetPendingSeconds(), c.pending);
    }
}

TEST(AStream, ReclaimsOnlyItsOwnHeadersOldestFirst) {
    CAStream stream;
    CAStream target;
    const auto bytes = Samples16({1, 2, 3});
    CWaveBuffer* first = stream.AddCopy(bytes.data(), 6);
    CWaveBuffer* second = stream.AddCopy(bytes.data(), 6);
    platform::WaveHeader stranger;
    second->GetHeader()->bytesRecorded = 4;
    first->GetHeader()->bytesRecorded = 6;
    stream.QueueDone(second->GetHeader());
    stream.QueueDone(&stranger);
    stream.QueueDone(first->GetHeader());
    stream.ProcessDone(WaveSide::Input, &target, nullptr);
    EXPECT_TRUE(stream.IsEmpty());
    ASSERT_EQ(target.GetCount(), 2);
    EXPECT_EQ(static_cast<CWaveBuffer*>(target.GetHead())->GetLength(), 4);
    EXPECT_EQ(static_cast<CWaveBuffer*>(target.GetTail())->GetLength(), 6);
}

}  // namespace
