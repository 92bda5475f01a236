#include "login_response.h"

#include <algorithm>

namespace testsupport {
namespace {

uint8_t Times2(uint8_t x) { return static_cast<uint8_t>((x << 1) ^ ((x & 0x80) ? 0x1B : 0)); }

uint8_t Multiply(uint8_t a, uint8_t b) {
    uint8_t product = 0;
    for (; b; b >>= 1, a = Times2(a))
        if (b & 1)
            product ^= a;
    return product;
}

// The S-box from its definition: the multiplicative inverse followed by the affine map.
std::array<uint8_t, 256> MakeSBox() {
    std::array<uint8_t, 256> box{};
    for (int x = 0; x < 256; ++x) {
        uint8_t inverse = 0;
        for (int y = 1; y < 256 && x; ++y)
            if (Multiply(static_cast<uint8_t>(x), static_cast<uint8_t>(y)) == 1)
                inverse = static_cast<uint8_t>(y);
        uint8_t s = inverse;
        for (int shift = 1; shift <= 4; ++shift)
            s ^= static_cast<uint8_t>((inverse << shift) | (inverse >> (8 - shift)));
        box[x] = static_cast<uint8_t>(s ^ 0x63);
    }
    return box;
}

Block FromText(std::string_view text) {
    Block block{};
    std::copy_n(text.begin(), std::min(text.size(), block.size()), block.begin());
    return block;
}

}  // namespace

Block Aes128Encrypt(const Block& key, const Block& plain) {
    static const std::array<uint8_t, 256> sbox = MakeSBox();
    std::array<uint8_t, 176> schedule{};
    std::copy(key.begin(), key.end(), schedule.begin());
    uint8_t round_constant = 1;
    for (int i = 16; i < 176; i += 4) {
        uint8_t word[4] = {schedule[i - 4], schedule[i - 3], schedule[i - 2], schedule[i - 1]};
        if (i % 16 == 0) {
            uint8_t first = word[0];
            word[0] = static_cast<uint8_t>(sbox[word[1]] ^ round_constant);
            word[1] = sbox[word[2]];
            word[2] = sbox[word[3]];
            word[3] = sbox[first];
            round_constant = Times2(round_constant);
        }
        for (int j = 0; j < 4; ++j)
            schedule[i + j] = schedule[i + j - 16] ^ word[j];
    }
    Block state = plain;
    auto add_round_key = [&](int round) {
        for (int i = 0; i < 16; ++i)
            state[i] ^= schedule[round * 16 + i];
    };
    add_round_key(0);
    for (int round = 1; round <= 10; ++round) {
        Block shifted;
        for (int column = 0; column < 4; ++column)
            for (int row = 0; row < 4; ++row)
                shifted[column * 4 + row] = sbox[state[((column + row) % 4) * 4 + row]];
        state = shifted;
        if (round < 10) {
            for (int column = 0; column < 4; ++column) {
                uint8_t* c = &state[column * 4];
                uint8_t a0 = c[0], a1 = c[1], a2 = c[2], a3 = c[3];
                c[0] = Times2(a0) ^ Times2(a1) ^ a1 ^ a2 ^ a3;
                c[1] = a0 ^ Times2(a1) ^ Times2(a2) ^ a2 ^ a3;
                c[2] = a0 ^ a1 ^ Times2(a2) ^ Times2(a3) ^ a3;
                c[3] = Times2(a0) ^ a0 ^ a1 ^ a2 ^ Times2(a3);
            }
        }
        add_round_key(round);
    }
    return state;
}

Block LoginResponse(std::string_view password, std::string_view challenge) {
    return Aes128Encrypt(FromText(password), FromText(challenge));
}

}  // namespace testsupport
