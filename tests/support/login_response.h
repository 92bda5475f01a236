#pragma once
// The answer a gateway expects to its login challenge, computed with a small AES-128 of the
// fake gateway's own, so that tests check the client's cipher against a second implementation.
#include <array>
#include <cstdint>
#include <string_view>

namespace testsupport {

using Block = std::array<uint8_t, 16>;

// One AES-128 block encryption (FIPS-197).
Block Aes128Encrypt(const Block& key, const Block& plain);

// The password, zero-padded to 16 bytes (only its first 16 count), as the key; the challenge's
// first 16 bytes, zero-padded, as the block; one block with a zero chain block.
Block LoginResponse(std::string_view password, std::string_view challenge);

}  // namespace testsupport
