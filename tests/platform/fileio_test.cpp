#include "platform/fileio.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <thread>
#include <vector>

namespace {

struct Pipe {
    Pipe() { EXPECT_EQ(pipe2(fds, O_CLOEXEC), 0); }
    ~Pipe() {
        CloseWriter();
        close(fds[0]);
    }
    void CloseWriter() {
        if (fds[1] >= 0)
            close(fds[1]);
        fds[1] = -1;
    }
    int fds[2] = {-1, -1};
};

std::vector<uint8_t> Pattern(size_t size) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(i * 7 + i / 251);
    return bytes;
}

// More than a pipe holds, so both sides have to go round several times.
TEST(FileIo, MovesEverythingThroughAPipeInPieces) {
    Pipe pipe;
    const std::vector<uint8_t> sent = Pattern(1 << 20);
    std::thread writer([&] {
        // Written in uneven pieces, so the reader sees short reads.
        size_t at = 0;
        for (size_t piece = 1; at < sent.size(); piece = piece * 3 % 70'001 + 1) {
            const size_t count = std::min(piece, sent.size() - at);
            EXPECT_TRUE(platform::WriteFully(pipe.fds[1], sent.data() + at, count));
            at += count;
        }
        pipe.CloseWriter();
    });
    std::vector<uint8_t> received(sent.size() + 100);
    const ssize_t got = platform::ReadFully(pipe.fds[0], received.data(), received.size());
    writer.join();
    ASSERT_EQ(got, static_cast<ssize_t>(sent.size()));  // fewer only because the writer ended
    received.resize(sent.size());
    EXPECT_EQ(received, sent);
    EXPECT_EQ(platform::ReadFully(pipe.fds[0], received.data(), 10), 0);
}

TEST(FileIo, ErrorsAreReported) {
    uint8_t byte = 0;
    EXPECT_EQ(platform::ReadFully(-1, &byte, 1), -1);
    EXPECT_FALSE(platform::WriteFully(-1, &byte, 1));

    Pipe pipe;
    EXPECT_EQ(platform::ReadFully(pipe.fds[1], &byte, 1), -1);  // the write end cannot be read
    EXPECT_FALSE(platform::WriteFully(pipe.fds[0], &byte, 1));
    EXPECT_EQ(platform::ReadFully(pipe.fds[0], &byte, 0), 0);
    EXPECT_TRUE(platform::WriteFully(pipe.fds[1], &byte, 0));
}

}  // namespace
