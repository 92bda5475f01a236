#pragma once
// Whole reads and writes on a file descriptor: the system may move fewer
// bytes than asked, or be interrupted by a signal, and the callers want all.
#include <sys/types.h>

#include <cstddef>

namespace platform {

// Up to `count` bytes; fewer only at the end of the file. -1 on an error.
ssize_t ReadFully(int fd, void* out, size_t count);

// All `count` bytes, or false.
bool WriteFully(int fd, const void* bytes, size_t count);

}  // namespace platform
