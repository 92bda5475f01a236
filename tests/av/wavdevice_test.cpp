#include <gtest/gtest.h>

#include <thread>

#include "av_fixture.h"

namespace {

using platform::WaveSubmit;

class WavDeviceTest : public WaveFixture {
protected:
    CWavDevice device;
    std::vector<uint8_t> block = std::vector<uint8_t>(882, 0x10);

    int WriteBlock() { return device.Write(block.data(), static_cast<int32_t>(block.size())); }
};

TEST_F(WavDeviceTest, VolumeIsKeptByTheBackendInBothChannels) {
    const struct { int percent; uint32_t device; int readBack; } cases[] = {
        {-5, 0, 0}, {150, 0xFFFFFFFF, 100}, {50, 0x80008000, 50}, {0, 0, 0}, {100, 0xFFFFFFFF, 100}};
    for (const auto& c : cases) {
        device.SetVolume(c.percent);
        EXPECT_EQ(backend.GetVolume(), c.device) << c.percent;
        EXPECT_EQ(device.GetVolume(), c.readBack) << c.percent;
    }
}

TEST_F(WavDeviceTest, PlayKeepsARunningStreamAndSwitchesAnEndedOne) {
    ASSERT_EQ(device.Play(&format, 100), 1);
    ASSERT_EQ(WriteBlock(), CWavDevice::kWriteDone);
    // Same shape: only the volume changes, the queued data keeps playing.
    EXPECT_EQ(device.Play(&format, 50), 1);
    EXPECT_EQ(backend.QueuedOutput(), 1);
    EXPECT_EQ(backend.GetVolume(), 0x80008000u);
    // Another format is refused until the stream has ended.
    const platform::WaveFormat other = Pcm(8000);
    EXPECT_EQ(device.Play(&other, -1), 0);
    EXPECT_EQ(backend.OutputFormat().samplesPerSec, 11025u);
    device.MarkEndOfStream();
    EXPECT_EQ(device.Play(&other, -1), 1);
    EXPECT_EQ(backend.OutputFormat().samplesPerSec, 8000u);
    EXPECT_EQ(backend.OutputOpens(), 2);
    EXPECT_TRUE(device.GetPlayStream()->IsEmpty());
    EXPECT_EQ(device.Play(nullptr, 0), 0);
}

TEST_F(WavDeviceTest, ASameFormatPlayAfterAnEndedStreamAcceptsTheNextOne) {
    ASSERT_EQ(device.Play(&format, 100), 1);
    WriteBlock();
    device.MarkEndOfStream();
    device.StopAccepting();
    backend.CompleteAll();
    device.Poll();
    ASSERT_EQ(device.GetBytesPlayed(), 882u);
    ASSERT_EQ(device.Play(&format, 100), 1);
    EXPECT_EQ(device.IsPlaying(), 1);
    EXPECT_EQ(device.GetBytesPlayed(), 0u);
    WriteBlock();
    EXPECT_EQ(backend.QueuedOutput(), 1);
    // The end mark was cleared: the output stays open however long it is quiet.
    clock.Advance(5000);
    backend.CompleteAll();
    device.Poll();
    EXPECT_TRUE(device.IsOutputOpen());
}

TEST_F(WavDeviceTest, WriteResults) {
    EXPECT_EQ(WriteBlock(), CWavDevice::kWriteDone);  // not playing: dropped
    EXPECT_EQ(backend.QueuedOutput(), 0);
    ASSERT_EQ(device.Play(&format, 100), 1);
    backend.SetSubmitResult(WaveSubmit::NoMemory);
    EXPECT_EQ(WriteBlock(), CWavDevice::kWriteLost);
    EXPECT_TRUE(device.IsOutputOpen());
    EXPECT_TRUE(device.GetPlayStream()->IsEmpty());
    backend.SetSubmitResult(WaveSubmit::Failed);
    EXPECT_EQ(WriteBlock(), CWavDevice::kWriteFailed);
    EXPECT_FALSE(device.IsOutputOpen());
    EXPECT_FALSE(backend.IsOutputOpen());
    backend.SetSubmitResult(WaveSubmit::Taken);
    EXPECT_EQ(WriteBlock(), CWavDevice::kWriteDone);
    EXPECT_EQ(backend.QueuedOutput(), 0);
}

TEST_F(WavDeviceTest, AnEndedOutputClosesOnlyAfter2000MsWithoutWrites) {
    for (uint32_t wait : {1999u, 2001u}) {
        ASSERT_EQ(device.Play(&format, 100), 1);
        WriteBlock();
        device.MarkEndOfStream();
        backend.CompleteAll();
        clock.Advance(wait);
        device.Poll();
        EXPECT_EQ(device.IsOutputOpen(), wait < 2000) << wait;
        device.StopPlay();
    }
}

TEST_F(WavDeviceTest, StopPlayReclaimsEveryBufferTheBackendHandsBack) {
    ASSERT_EQ(device.Play(&format, 100), 1);
    for (int i = 0; i < 5; ++i) WriteBlock();
    device.StopPlay();
    EXPECT_TRUE(device.GetPlayStream()->IsEmpty());
    EXPECT_FALSE(backend.IsOutputOpen());
    EXPECT_EQ(device.IsPlaying(), 0);
    EXPECT_EQ(backend.Played().size(), 0u);
}

TEST_F(WavDeviceTest, PlayedSamplesCarryTheVolume) {
    ASSERT_EQ(device.Play(&format, 50), 1);
    const auto bytes = Samples16({1000, -1000, 32767});
    device.Write(bytes.data(), 6);
    backend.CompleteAll();
    const std::vector<int16_t> expected{500, -500, 16383};
    EXPECT_EQ(backend.PlayedSamples(), expected);
}

TEST_F(WavDeviceTest, RecordBufferSizes) {
    const struct { platform::WaveFormat format; int32_t size; } cases[] = {
        {Pcm(11025), 882}, {Pcm(8000), 640}, {Pcm(44100, 16, 2), 7056},
        {{.formatTag = 1, .avgBytesPerSec = 22075, .blockAlign = 4}, 884},
        {{.formatTag = 1, .avgBytesPerSec = 8000, .blockAlign = 0}, 0}};
    for (const auto& c : cases) EXPECT_EQ(CWavDevice::RecordBufferSize(c.format), c.size) << c.format.avgBytesPerSec;
}

TEST_F(WavDeviceTest, RecordsIntoTheTargetUntilStopped) {
    CAStream target;
    target.GetFormat() = format;
    backend.SetInputSignal([](uint64_t i) { return static_cast<int16_t>(i); });
    ASSERT_EQ(device.StartRecord(&target), 1);
    EXPECT_EQ(backend.QueuedInput(), CWavDevice::kRecordBuffers);
    backend.FillAll();
    device.Poll();
    ASSERT_EQ(target.GetCount(), CWavDevice::kRecordBuffers);
    auto* first = static_cast<CWaveBuffer*>(target.GetHead());
    EXPECT_EQ(first->GetLength(), 882);
    EXPECT_EQ(first->GetData()[2], 1);
    // One buffer is given back to the sound system per poll.
    EXPECT_EQ(backend.QueuedInput(), 1);
    device.StopRecord();
    EXPECT_FALSE(backend.IsInputOpen());
    EXPECT_TRUE(device.GetRecordStream()->IsEmpty());
    EXPECT_EQ(target.GetCount(), CWavDevice::kRecordBuffers);
}

TEST_F(WavDeviceTest, ARecordStartThatFailsHalfWayLeavesTheInputClosed) {
    CAStream target;
    target.GetFormat() = format;
    backend.SetSubmitResult(WaveSubmit::Failed);
    EXPECT_EQ(device.StartRecord(&target), 0);
    EXPECT_FALSE(backend.IsInputOpen());
    EXPECT_FALSE(device.IsInputOpen());
    target.GetFormat().blockAlign = 0;
    backend.SetSubmitResult(WaveSubmit::Taken);
    EXPECT_EQ(device.StartRecord(&target), 0);
    EXPECT_FALSE(backend.IsInputOpen());
}

TEST_F(WavDeviceTest, LevelRingAveragesTheLastFourBuffers) {
    const auto loud = Samples16(std::vector<int16_t>(100, -32768));
    const auto quiet = Samples16(std::vector<int16_t>(100, 0));
    for (int i = 0; i < 4; ++i) device.MeasureLevel(format, loud.data(), 200);
    EXPECT_EQ(device.GetLevel(), 100);
    device.MeasureLevel(format, quiet.data(), 200);
    EXPECT_EQ(device.GetLevel(), 75);
    // 8-bit sound at full swing stays within 0..100.
    const std::vector<uint8_t> swing{0, 255, 0, 255};
    device.ResetLevel();
    for (int i = 0; i < 4; ++i) device.MeasureLevel(Pcm(8000, 8), swing.data(), 4);
    EXPECT_EQ(device.GetLevel(), 99);
    device.MeasureLevel(Pcm(8000, 8), swing.data(), 0);
    EXPECT_EQ(device.GetLevel(), 74);
}

TEST(WavDeviceAbsent, EveryOperationAnswers0) {
    testsupport::VirtualClock clock;
    testsupport::NullWaveBackend backend(false);
    CWavDevice device;
    const platform::WaveFormat format = Pcm(11025);
    CAStream target;
    target.GetFormat() = format;
    EXPECT_EQ(device.Play(&format, 50), 0);
    EXPECT_EQ(device.StartRecord(&target), 0);
    device.SetVolume(20);
    EXPECT_EQ(device.GetVolume(), 0);
    device.Poll();
    EXPECT_FALSE(device.IsOutputOpen());
}

TEST_F(WavDeviceTest, BuffersHandedBackFromTheBackendThreadAreFreedOnce) {
    backend.SetInstant(true);
    ASSERT_EQ(device.Play(&format, 100), 1);
    constexpr int kBuffers = 10000;
    const uint8_t piece[4] = {1, 0, 2, 0};
    for (int i = 0; i < kBuffers; ++i) {
        ASSERT_EQ(device.Write(piece, 4), CWavDevice::kWriteDone);
        if (i % 7 == 0) device.Poll();
    }
    while (backend.Completed() < kBuffers) std::this_thread::yield();
    device.Poll();
    EXPECT_TRUE(device.GetPlayStream()->IsEmpty());
    EXPECT_EQ(device.GetBytesPlayed(), 4u * kBuffers);
    EXPECT_EQ(backend.Played().size(), 4u * kBuffers);
}

}  // namespace
