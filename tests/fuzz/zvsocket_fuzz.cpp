// Arbitrary bytes from a gateway through the socket's framing: Receive, NextMessage and
// Consume must hand out only whole frames that lie inside what was received.
// Input: variant byte, then the stream, written in pieces whose sizes come from the stream.
#include <sys/socket.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/zvbytes.h"
#include "core/zvsocket.h"

namespace {

void Check(bool condition) {
    if (!condition)
        __builtin_trap();
}

// Reads and handles frames until the socket has nothing more; false once it disconnected.
bool Drain(CZVSocket& socket) {
    for (;;) {
        int result = socket.Receive();
        if (result == 0)
            return false;
        if (result == 1)
            return true;
        if (result != 3)
            continue;
        uint8_t* frame = socket.NextMessage();
        Check(frame != nullptr);
        int32_t length = LoadLE<int32_t>(frame + 4);
        Check(length >= 0 && length + 8 < socket.BufferSize());
        socket.Consume(frame, length + 8);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    int pair[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0)
        return 0;
    CZVSocket socket(static_cast<ZVVariant>(data[0] % 3));
    socket.Attach(pair[0]);
    size_t at = 1;
    bool open = true;
    while (open && at < size) {
        size_t piece = std::min<size_t>(size - at, 1 + data[at] * 16u);
        ssize_t sent = send(pair[1], data + at, piece, MSG_DONTWAIT | MSG_NOSIGNAL);
        if (sent > 0)
            at += static_cast<size_t>(sent);
        open = Drain(socket);
    }
    close(pair[1]);
    if (open)
        Drain(socket);  // the close is noticed
    Check(!socket.IsConnected() || socket.Receive() != 1);
    return 0;
}
