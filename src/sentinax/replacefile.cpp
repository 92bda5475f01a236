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
                                 [&](int) {
                                     // CZVFile opens by name: it fills the file just created.
                                     CZVFile file(temporary, ZVVariant::Monitor);
                                     const bool written = file.Open(CZVFile::kCreate) && write(file);
                                     return file.Close() && written;
                                 });
}

bool WriteFileReplacing(const std::string& path, bool secret, const std::function<bool(CZVFile&)>& write) {
    return WriteFileReplacing(path, TemporaryNameFor(path), secret, write);
}
