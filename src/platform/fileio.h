#pragma once
// Whole reads and writes on a file descriptor: the system may move fewer
// bytes than asked, or be interrupted by a signal, and the callers want all.
#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Up to `count` bytes; fewer only at the end of the file. -1 on an error.
ssize_t ReadFully(int fd, void* out, size_t count);

// All `count` bytes, or false.
bool WriteFully(int fd, const void* bytes, size_t count);

// Replacing a file so that no reader, and no failure half-way, ever finds part of it: the new
// contents go to a temporary file in the same folder, which is synced to disk and renamed over
// the file only once it is complete.

// Creates `temporary` (emptying one left behind, never through a link) with exactly the
// permission bits `mode` when given, else with those open(2) gives under the umask; `write`
// fills it through the descriptor; then commits it as CommitReplacement does. On any failure the
// temporary file is removed and `path` is left as it was.
bool ReplaceFile(const std::string& path, const std::string& temporary, std::optional<mode_t> mode,
                 const std::function<bool(int fd)>& write);
// The same with `bytes` as the whole new contents.
bool ReplaceFile(const std::string& path, const std::string& temporary, std::optional<mode_t> mode,
                 std::string_view bytes);
// Syncs the complete temporary file to disk and renames it over `path`; removes it when that
// fails.
bool CommitReplacement(const std::string& temporary, const std::string& path);

}  // namespace platform
