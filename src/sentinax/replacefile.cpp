#include "sentinax/replacefile.h"

#include "platform/fileio.h"

namespace {

// Mode of a file that holds a password.
constexpr mode_t kSecretMode = 0600;

}  // namespace

std::string TemporaryNameFor(const std::string& path) { return path + ".new"; }

bool WriteFileReplacing(const std::string& path, const std::string& temporary, bool secret,
                        const std::function<bool(CZVFile&)>& write) {
    return platform::ReplaceFile(path, temporary, secret ? std::optional<mode_t>(kSecretMode) : std::nullopt,
                                 [&](int fd) {
                                     // Filled through the descriptor just created: opening the
                                     // file again by name would truncate it, and the file system
                                     // writes a truncated file out as it closes, besides the sync
                                     // before the rename.
                                     CZVFile file(temporary, ZVVariant::Monitor);
                                     const bool written = file.OpenDescriptor(fd) && write(file);
                                     return file.Close() && written;
                                 });
}

bool WriteFileReplacing(const std::string& path, bool secret, const std::function<bool(CZVFile&)>& write) {
    return WriteFileReplacing(path, TemporaryNameFor(path), secret, write);
}
