#include "platform/fileio.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <thread>
#include <vector>

#include "support/temp_dir.h"

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

// A file with earlier contents, and the temporary name its replacement is written under.
class ReplaceFile : public ::testing::Test {
protected:
    ReplaceFile() { testsupport::WriteFileText(path, "old contents"); }

    static mode_t ModeOf(const std::string& file) {
        struct stat info {};
        return stat(file.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
    }
    static bool Exists(const std::string& file) { return access(file.c_str(), F_OK) == 0; }

    testsupport::TempDir dir;
    std::string path = dir.File("file.dat");
    std::string temporary = dir.File("file.dat.new");
};

TEST_F(ReplaceFile, PutsTheNewContentsInPlaceAndLeavesNoTemporary) {
    EXPECT_TRUE(platform::ReplaceFile(path, temporary, std::nullopt, "new"));
    EXPECT_EQ(testsupport::ReadFileText(path), "new");
    EXPECT_FALSE(Exists(temporary));
    // Written in pieces through the descriptor.
    EXPECT_TRUE(platform::ReplaceFile(path, temporary, std::nullopt, [](int fd) {
        return platform::WriteFully(fd, "ab", 2) && platform::WriteFully(fd, "cd", 2);
    }));
    EXPECT_EQ(testsupport::ReadFileText(path), "abcd");
    EXPECT_FALSE(Exists(temporary));
}

TEST_F(ReplaceFile, AFailureLeavesTheOldFileAndNoTemporary) {
    EXPECT_FALSE(platform::ReplaceFile(path, temporary, std::nullopt, [](int fd) {
        platform::WriteFully(fd, "half", 4);
        return false;
    }));
    EXPECT_EQ(testsupport::ReadFileText(path), "old contents");
    EXPECT_FALSE(Exists(temporary));
    EXPECT_FALSE(platform::ReplaceFile(path, dir.File("missing/file.dat.new"), std::nullopt, "new"));
    EXPECT_EQ(testsupport::ReadFileText(path), "old contents");
    // A temporary name that is a link is never written through.
    const std::string other = dir.File("other");
    testsupport::WriteFileText(other, "someone else's");
    ASSERT_EQ(symlink(other.c_str(), temporary.c_str()), 0);
    EXPECT_FALSE(platform::ReplaceFile(path, temporary, std::nullopt, "new"));
    EXPECT_EQ(testsupport::ReadFileText(other), "someone else's");
    EXPECT_EQ(testsupport::ReadFileText(path), "old contents");
}

TEST_F(ReplaceFile, TheModeGivenHoldsExactlyEvenOverATemporaryLeftBehind) {
    const mode_t previous = umask(022);
    testsupport::WriteFileText(temporary, "left behind by a crash, longer than the new contents");
    chmod(temporary.c_str(), 0666);
    EXPECT_TRUE(platform::ReplaceFile(path, temporary, 0600, "pw"));
    EXPECT_EQ(testsupport::ReadFileText(path), "pw");
    EXPECT_EQ(ModeOf(path), 0600u);
    EXPECT_TRUE(platform::ReplaceFile(path, temporary, 0640, "pw"));
    EXPECT_EQ(ModeOf(path), 0640u);
    // Without a mode a new temporary gets open's default under the umask.
    EXPECT_TRUE(platform::ReplaceFile(path, temporary, std::nullopt, "plain"));
    EXPECT_EQ(ModeOf(path), 0644u);
    umask(previous);
}

}  // namespace
