// Arbitrary bytes through the JPEG header reader and decoder. Input: a byte
// choosing scale and offset, then the file. The buffer has a guard band
// around the area the call may write; the guard must stay as it was.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "gfx/jpegdecode.h"

namespace {

constexpr int kWidth = 96, kHeight = 64, kGuard = 64;
constexpr uint16_t kGuardValue = 0xA5A5;

int CancelAfterSome(void* context, int, int) {
    return --*static_cast<int*>(context) > 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const uint8_t choice = data[0];
    ++data;
    --size;
    int w = 0, h = 0, components = 0;
    if (ReadJpegHeader(data, size, &w, &h, &components) && (w <= 0 || h <= 0 || components <= 0)) __builtin_trap();

    const int scale = (choice & 3) == 3 ? -1 : (choice & 3) + 1;
    const int dx = (choice >> 2) & 7, dy = (choice >> 5) & 7;
    std::vector<uint16_t> memory(kGuard + kWidth * kHeight + kGuard, kGuardValue);
    uint16_t* buffer = memory.data() + kGuard;
    int budget = 1 + (choice & 0x3F);
    DecodeJpegToRgb565(data, size, buffer, scale, dx, dy, kWidth, kHeight, CancelAfterSome, &budget);
    if (!std::all_of(memory.begin(), memory.begin() + kGuard, [](uint16_t p) { return p == kGuardValue; }) ||
        !std::all_of(memory.end() - kGuard, memory.end(), [](uint16_t p) { return p == kGuardValue; }))
        __builtin_trap();
    return 0;
}
