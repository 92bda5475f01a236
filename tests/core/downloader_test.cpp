#include "core/downloader.h"

#include <arpa/inet.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "fake_gateway.h"
#include "support/assert_counter.h"
#include "support/temp_dir.h"
#include "support/virtual_clock.h"

namespace {

using testing::ElementsAre;
using testsupport::Bytes;
using testsupport::Frame;
using testsupport::PayloadWriter;

Bytes Pattern(size_t size) {
    Bytes bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(i * 7 + i / 256);
    return bytes;
}

Bytes ChunkPayload(int32_t total, const Bytes& chunk) {
    return PayloadWriter().Int(total).Int(static_cast<int32_t>(chunk.size())).Raw(chunk.data(), chunk.size());
}

class RecordingTracker : public CDownloadTracker {
public:
    void OnProgress(int32_t bytesSoFar, int32_t totalBytes) override {
        progress.emplace_back(bytesSoFar, totalBytes);
        if (onProgress)
            onProgress();
    }
    int IsCancelled() override {
        if (onRound)
            onRound();
        return cancel ? 1 : 0;
    }

    std::vector<std::pair<int32_t, int32_t>> progress;
    std::function<void()> onProgress;
    std::function<void()> onRound;
    bool cancel = false;
};

class DownloadFiles : public testing::Test {
protected:
    std::string Path() const { return dir.File("vistrel.new"); }
    // Nothing but the downloaded file, if any, is in the folder.
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
            names.push_back(entry.path().filename());
        return names;
    }
    Bytes Written() const {
        std::string text = testsupport::ReadFileText(Path());
        return Bytes(text.begin(), text.end());
    }

    testsupport::TempDir dir;
    RecordingTracker tracker;
};

// What reaches the downloader, handed to it directly -------------------------------------

class DownloaderMessages : public DownloadFiles {
protected:
    // A message for the downloader with the payload's bytes.
    void Deliver(uint16_t id, const Bytes& payload, std::optional<uint16_t> sender = std::nullopt) {
        CZVMSG message(sender.value_or(downloader.GetId()), id, 0, 1, ZVVariant::Tablet);
        message.WriteBytes(payload.data(), static_cast<int32_t>(payload.size()));
        message.ResetPosition();
        downloader.OnMessage(&message);
    }

    CZVServer server{ZVVariant::Tablet};
    CFileDownloader downloader{server, &tracker, Path()};
};

TEST_F(DownloaderMessages, ChunksFillTheFileInOrder) {
    const Bytes file = Pattern(2500);
    for (size_t at : {0, 1000, 2000}) {
        const size_t size = at == 2000 ? 500 : 1000;
        Deliver(ZVM_UPDATE_FILECHUNK, ChunkPayload(2500, Bytes(file.begin() + at, file.begin() + at + size)));
    }
    EXPECT_EQ(downloader.GetState(), CFileDownloader::kWritten);
    EXPECT_EQ(Written(), file);
    EXPECT_THAT(tracker.progress, ElementsAre(std::pair(0, 2500), std::pair(1000, 2500), std::pair(2000, 2500)));
    EXPECT_THAT(Files(), ElementsAre("vistrel.new"));
}

TEST_F(DownloaderMessages, OnlyItsOwnMessagesCount) {
    Deliver(ZVM_UPDATE_FILEDATA, PayloadWriter().Int(1).Byte(1), 0x7FFF);
    Deliver(ZVM_UPDATE_FILEDATA, PayloadWriter().Int(1).Byte(1), static_cast<uint16_t>(downloader.GetId() + 1));
    EXPECT_EQ(downloader.GetState(), CFileDownloader::kWaiting);
    EXPECT_TRUE(Files().empty());
}

TEST_F(DownloaderMessages, ALaterTotalIsReportedAndIgnored) {
    testsupport::AssertCounter asserts;
    Deliver(ZVM_UPDATE_FILECHUNK, ChunkPayload(8, Bytes(4, 1)));
    Deliver(ZVM_UPDATE_FILECHUNK, ChunkPayload(1000, Bytes(4, 2)));
    EXPECT_EQ(asserts.Count(), 1);
    EXPECT_EQ(downloader.GetState(), CFileDownloader::kWritten);
    EXPECT_EQ(Written(), Bytes({1, 1, 1, 1, 2, 2, 2, 2}));
}

TEST_F(DownloaderMessages, AFileThatCannotBeWrittenLeavesNothingBehind) {
    std::filesystem::create_directory(Path());
    Deliver(ZVM_UPDATE_FILEDATA, PayloadWriter().Int(4).Int(7));
    EXPECT_EQ(downloader.GetState(), CFileDownloader::kFailed);
    EXPECT_THAT(Files(), ElementsAre("vistrel.new"));
    EXPECT_TRUE(std::filesystem::is_directory(Path()));
}

struct BadInput {
    const char* name;
    std::vector<std::pair<uint16_t, Bytes>> messages;
};

class DownloaderRefuses : public DownloaderMessages, public testing::WithParamInterface<BadInput> {};

TEST_P(DownloaderRefuses, FailsAndLeavesNoFile) {
    for (const auto& [id, payload] : GetParam().messages)
        Deliver(id, payload);
    EXPECT_EQ(downloader.GetState(), CFileDownloader::kFailed);
    EXPECT_TRUE(Files().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DownloaderRefuses,
    testing::Values(
        BadInput{"chunk_larger_than_the_file", {{ZVM_UPDATE_FILECHUNK, ChunkPayload(100, Pattern(200))}}},
        BadInput{"chunks_running_past_the_total",
                 {{ZVM_UPDATE_FILECHUNK, ChunkPayload(100, Pattern(60))},
                  {ZVM_UPDATE_FILECHUNK, ChunkPayload(100, Pattern(60))}}},
        BadInput{"chunk_longer_than_its_message",
                 {{ZVM_UPDATE_FILECHUNK, PayloadWriter().Int(100).Int(100).Raw(Pattern(10).data(), 10)}}},
        BadInput{"negative_total", {{ZVM_UPDATE_FILECHUNK, PayloadWriter().Int(-4).Int(0)}}},
        BadInput{"negative_chunk", {{ZVM_UPDATE_FILECHUNK, PayloadWriter().Int(8).Int(-4)}}},
        BadInput{"chunk_without_lengths", {{ZVM_UPDATE_FILECHUNK, PayloadWriter().Int(8)}}},
        BadInput{"file_longer_than_its_message",
                 {{ZVM_UPDATE_FILEDATA, PayloadWriter().Int(100).Raw(Pattern(10).data(), 10)}}},
        BadInput{"negative_file_length", {{ZVM_UPDATE_FILEDATA2, PayloadWriter().Int(-1)}}},
        BadInput{"unexpected_message",
                 {{ZVM_UPDATE_FILECHUNK, ChunkPayload(100, Pattern(50))}, {0x1FC6, {}}}}),
    [](const testing::TestParamInfo<BadInput>& info) { return info.param.name; });

// Downloads from a gateway -----------------------------------------------------------------
// On the system clock, so that every wait ends when the gateway's data arrives.

class Downloads : public DownloadFiles {
protected:
    void SetUp() override { ASSERT_EQ(server.ConnectLocal(htonl(INADDR_LOOPBACK), gateway.Port(), 0), 1); }

    // The gateway answers the file request with these frames, addressed to the requester.
    void AnswerWith(std::vector<std::pair<uint16_t, Bytes>> answers) {
        gateway.On(ZVM_UPDATE_GETTABLETFILEQ, [answers](const Frame& request) {
            std::vector<Frame> frames;
            for (const auto& [id, payload] : answers)
                frames.push_back({request.sender, id, payload});
            return frames;
        });
    }
    void AnswerWithChunks(const Bytes& file, size_t chunkSize) {
        std::vector<std::pair<uint16_t, Bytes>> answers;
        for (size_t at = 0; at < file.size(); at += chunkSize) {
            const Bytes chunk(file.begin() + at, file.begin() + std::min(file.size(), at + chunkSize));
            answers.emplace_back(ZVM_UPDATE_FILECHUNK, ChunkPayload(static_cast<int32_t>(file.size()), chunk));
        }
        AnswerWith(answers);
    }
    int Download(CFileDownloader& downloader) {
        CZVMSG request(downloader.GetId(), ZVM_UPDATE_GETTABLETFILEQ);
        return downloader.Download(&request);
    }

    testsupport::FakeGateway gateway;
    CZVServer server{ZVVariant::Tablet};
};

TEST_F(Downloads, WholeFilesOfEachKind) {
    struct Case {
        uint16_t id;
        size_t size;
    };
    for (const Case c : {Case{ZVM_UPDATE_FILEDATA, 0}, Case{ZVM_UPDATE_GETSIBLINGFILEQ, 4999},
                         Case{ZVM_UPDATE_FILEDATA2, 300001}}) {
        SCOPED_TRACE(c.id);
        const Bytes file = Pattern(c.size);
        AnswerWith({{c.id, PayloadWriter().Int(static_cast<int32_t>(file.size())).Raw(file.data(), file.size())}});
        tracker.progress.clear();
        CFileDownloader downloader(server, &tracker, Path());
        ASSERT_EQ(Download(downloader), 1);
        EXPECT_EQ(Written(), file);
        EXPECT_THAT(Files(), ElementsAre("vistrel.new"));
        // The socket told of the arriving bytes.
        ASSERT_FALSE(tracker.progress.empty());
        EXPECT_EQ(tracker.progress.back().second, static_cast<int32_t>(4 + (c.size + 3) / 4 * 4));
        EXPECT_TRUE(server.IsConnected());
    }
}

TEST_F(Downloads, ChunkedFile) {
    const Bytes file = Pattern(2500);
    AnswerWithChunks(file, 1000);
    CFileDownloader downloader(server, &tracker, Path());
    ASSERT_EQ(Download(downloader), 1);
    EXPECT_EQ(Written(), file);
    EXPECT_THAT(tracker.progress, ElementsAre(std::pair(0, 2500), std::pair(1000, 2500), std::pair(2000, 2500)));
}

TEST_F(Downloads, AnOversizedChunkFailsTheDownload) {
    AnswerWith({{ZVM_UPDATE_FILECHUNK, ChunkPayload(1000, Pattern(600))},
                {ZVM_UPDATE_FILECHUNK, ChunkPayload(1000, Pattern(600))}});
    CFileDownloader downloader(server, &tracker, Path());
    EXPECT_EQ(Download(downloader), 0);
    EXPECT_TRUE(Files().empty());
}

TEST_F(Downloads, ACutOffDownloadLeavesNoFile) {
    gateway.On(ZVM_UPDATE_GETTABLETFILEQ, [](const Frame& request) {
        return std::vector<Frame>{{request.sender, ZVM_UPDATE_FILECHUNK, ChunkPayload(2500, Pattern(1000))}};
    });
    tracker.onProgress = [this] { gateway.Drop(); };
    CFileDownloader downloader(server, &tracker, Path());
    EXPECT_EQ(Download(downloader), 0);
    EXPECT_TRUE(Files().empty());
    EXPECT_FALSE(server.IsConnected());
    EXPECT_FALSE(server.IsRegistered(&downloader));
}

TEST_F(Downloads, ACancelEndsTheDownloadWhileChunksStillCome) {
    AnswerWithChunks(Pattern(2500), 1000);
    tracker.onProgress = [this] { tracker.cancel = true; };
    CFileDownloader downloader(server, &tracker, Path());
    EXPECT_EQ(Download(downloader), 0);
    EXPECT_EQ(tracker.progress.size(), 1u);
    EXPECT_TRUE(Files().empty());
    EXPECT_TRUE(server.IsConnected());
}

TEST_F(Downloads, FifteenSecondsOfSilenceEndTheDownload) {
    AnswerWith({});
    CFileDownloader downloader(server, &tracker, Path());
    testsupport::VirtualClock clock(5000);
    std::vector<uint32_t> rounds;
    tracker.onRound = [&] { rounds.push_back(clock.TickCount() - 5000); };
    EXPECT_EQ(Download(downloader), 0);
    // Still polling at 15000 ms, given up at the first look after it.
    ASSERT_GE(rounds.size(), 2u);
    EXPECT_EQ(rounds[rounds.size() - 2], 15000u);
    EXPECT_EQ(rounds.back(), 15025u);
    EXPECT_EQ(clock.TickCount() - 5000, 15025u);
    EXPECT_TRUE(Files().empty());
}

TEST(Download, WithoutAConnectionFailsAtOnce) {
    CZVServer server(ZVVariant::Config);
    testsupport::TempDir dir;
    CFileDownloader downloader(server, nullptr, dir.File("x"));
    CZVMSG request(downloader.GetId(), ZVM_UPDATE_GETTABLETFILEQ);
    EXPECT_EQ(downloader.Download(&request), 0);
}

}  // namespace
