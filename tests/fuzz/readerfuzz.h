#pragma once
// The loop that every fuzz target of message readers shares: the whole input
// becomes the payload of a message of each reader's id, and each reader reads
// its own copy from the start.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <memory>

#include "core/zvmsg.h"

namespace fuzzing {

// Longer inputs teach a reader nothing that shorter ones do not.
inline constexpr size_t kMaxReaderInput = 100000;

struct ReaderCall {
    uint16_t id;
    std::function<void(CZVMSG&)> read;
};

// Gives the input to each reader in turn, as the payload of a message of its id.
inline int FeedReaders(const uint8_t* data, size_t size, std::initializer_list<ReaderCall> readers) {
    if (size > kMaxReaderInput) return 0;
    for (const ReaderCall& reader : readers) {
        CZVMSG message(0, reader.id, static_cast<int32_t>(size));
        if (size > 0 && message.GetData()) std::memcpy(message.GetData(), data, size);
        reader.read(message);
    }
    return 0;
}

// A message of the id whose payload is the input, read from its start.
inline std::unique_ptr<CZVMSG> MessageOf(uint16_t id, const uint8_t* data, size_t size) {
    auto message = std::make_unique<CZVMSG>(0, id);
    message->WriteBytes(data, static_cast<int32_t>(size));
    message->SetLength(static_cast<int32_t>(size));
    message->ResetPosition();
    return message;
}

}  // namespace fuzzing
