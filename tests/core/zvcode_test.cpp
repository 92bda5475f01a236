#include "core/zvcode.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

std::vector<uint8_t> Hex(const char* text) { return HexToBytes(text); }

std::vector<uint8_t> Counting(size_t count, uint8_t start = 0) {
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(start + i);
    return bytes;
}

// A plain byte-by-byte Rijndael from its definition, written apart from the
// table-driven cipher, as the reference for the block lengths above 16.
class ReferenceRijndael {
public:
    ReferenceRijndael() {
        for (int x = 0; x < 256; ++x) {
            uint8_t inverse = 0;
            for (int y = 1; x && y < 256; ++y)
                if (Mul(static_cast<uint8_t>(x), static_cast<uint8_t>(y)) == 1) inverse = static_cast<uint8_t>(y);
            uint8_t s = 0x63;
            for (int bit = 0; bit < 8; ++bit) {
                int b = ((inverse >> bit) ^ (inverse >> ((bit + 4) % 8)) ^ (inverse >> ((bit + 5) % 8)) ^
                         (inverse >> ((bit + 6) % 8)) ^ (inverse >> ((bit + 7) % 8))) &
                        1;
                s ^= static_cast<uint8_t>(b << bit);
            }
            m_sbox[x] = s;
        }
    }

    std::vector<uint8_t> Encrypt(const std::vector<uint8_t>& key, const std::vector<uint8_t>& plain) const {
        const int nk = static_cast<int>(key.size() / 4), nb = static_cast<int>(plain.size() / 4);
        const int rounds = std::max(nk, nb) + 6;
        // Key schedule as columns of four bytes.
        std::vector<std::array<uint8_t, 4>> w(static_cast<size_t>(nb * (rounds + 1)));
        uint8_t rcon = 1;
        for (int i = 0; i < static_cast<int>(w.size()); ++i) {
            if (i < nk) {
                for (int b = 0; b < 4; ++b) w[i][b] = key[4 * i + b];
                continue;
            }
            std::array<uint8_t, 4> t = w[i - 1];
            if (i % nk == 0) {
                t = {static_cast<uint8_t>(m_sbox[t[1]] ^ rcon), m_sbox[t[2]], m_sbox[t[3]], m_sbox[t[0]]};
                rcon = Mul(rcon, 2);
            } else if (nk > 6 && i % nk == 4) {
                for (uint8_t& b : t) b = m_sbox[b];
            }
            for (int b = 0; b < 4; ++b) w[i][b] = w[i - nk][b] ^ t[b];
        }
        std::vector<uint8_t> s = plain;  // byte 4 * column + row
        auto addKey = [&](int round) {
            for (int c = 0; c < nb; ++c)
                for (int r = 0; r < 4; ++r) s[4 * c + r] ^= w[round * nb + c][r];
        };
        const int shift[3][4] = {{0, 1, 2, 3}, {0, 1, 2, 3}, {0, 1, 3, 4}};
        addKey(0);
        for (int round = 1; round <= rounds; ++round) {
            for (uint8_t& b : s) b = m_sbox[b];
            std::vector<uint8_t> shifted = s;
            for (int c = 0; c < nb; ++c)
                for (int r = 0; r < 4; ++r) shifted[4 * c + r] = s[4 * ((c + shift[nb / 2 - 2][r]) % nb) + r];
            s = shifted;
            if (round < rounds)
                for (int c = 0; c < nb; ++c) {
                    uint8_t* col = &s[4 * c];
                    const uint8_t a0 = col[0], a1 = col[1], a2 = col[2], a3 = col[3];
                    col[0] = Mul(a0, 2) ^ Mul(a1, 3) ^ a2 ^ a3;
                    col[1] = a0 ^ Mul(a1, 2) ^ Mul(a2, 3) ^ a3;
                    col[2] = a0 ^ a1 ^ Mul(a2, 2) ^ Mul(a3, 3);
                    col[3] = Mul(a0, 3) ^ a1 ^ a2 ^ Mul(a3, 2);
                }
            addKey(round);
        }
        return s;
    }

private:
    static uint8_t Mul(uint8_t a, uint8_t b) {
        uint8_t p = 0;
        for (int i = 0; i < 8; ++i, b >>= 1) {
            if (b & 1) p ^= a;
            a = static_cast<uint8_t>((a << 1) ^ ((a & 0x80) ? 0x1B : 0));
        }
        return p;
    }

    uint8_t m_sbox[256];
};

const uint8_t kZeroChain[32] = {};

TEST(CZVCode, MatchesThePublishedAesVectors) {
    struct Case {
        const char* key;
        const char* plain;
        const char* cipher;
    };
    const Case cases[] = {
        {"000102030405060708090a0b0c0d0e0f", "00112233445566778899aabbccddeeff", "69C4E0D86A7B0430D8CDB78070B4C55A"},
        {"000102030405060708090a0b0c0d0e0f1011121314151617", "00112233445566778899aabbccddeeff",
         "DDA97CA4864CDFE06EAF70A0EC0D7191"},
        {"000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f", "00112233445566778899aabbccddeeff",
         "8EA2B7CA516745BFEAFC49904B496089"},
        {"2b7e151628aed2a6abf7158809cf4f3c", "3243f6a8885a308d313198a2e0370734", "3925841D02DC09FBDC118597196A0B32"},
    };
    for (const Case& c : cases) {
        const std::vector<uint8_t> key = Hex(c.key);
        const std::vector<uint8_t> plain = Hex(c.plain);
        CZVCode code;
        ASSERT_EQ(code.MakeKey(key.data(), kZeroChain, static_cast<int>(key.size()), 16), 1);
        uint8_t out[16];
        ASSERT_EQ(code.EncryptBlock(plain.data(), out), 1);
        EXPECT_EQ(BytesToHex(out, 16), c.cipher) << c.key;
        uint8_t back[16];
        ASSERT_EQ(code.DecryptBlock(out, back), 1);
        EXPECT_EQ(BytesToHex(back, 16), BytesToHex(plain.data(), 16));
    }
}

TEST(CZVCode, EveryKeyAndBlockLengthMatchesTheReferenceAndRoundTrips) {
    const ReferenceRijndael reference;
    for (int keyLength : {16, 24, 32})
        for (int blockLength : {16, 24, 32}) {
            SCOPED_TRACE(testing::Message() << "key " << keyLength << " block " << blockLength);
            const std::vector<uint8_t> key = Counting(static_cast<size_t>(keyLength), 0x40);
            const std::vector<uint8_t> plain = Counting(static_cast<size_t>(blockLength), 0xA7);
            CZVCode code;
            ASSERT_EQ(code.MakeKey(key.data(), kZeroChain, keyLength, blockLength), 1);
            uint8_t out[32] = {};
            ASSERT_EQ(code.EncryptBlock(plain.data(), out), 1);
            const std::vector<uint8_t> expected = reference.Encrypt(key, plain);
            EXPECT_EQ(BytesToHex(out, expected.size()), BytesToHex(expected.data(), expected.size()));
            uint8_t back[32] = {};
            ASSERT_EQ(code.DecryptBlock(out, back), 1);
            EXPECT_EQ(0, std::memcmp(back, plain.data(), plain.size()));
        }
}

TEST(CZVCode, RefusesBadLengthsAndWorkBeforeAKey) {
    const std::vector<uint8_t> key = Counting(32);
    uint8_t block[32] = {};
    uint8_t out[32] = {0x55};
    CZVCode code;
    EXPECT_EQ(code.EncryptBlock(block, out), 0);
    EXPECT_EQ(code.DecryptBlock(block, out), 0);
    EXPECT_EQ(code.Encrypt(block, out, 16, CZVCode::kModeECB), 0);
    EXPECT_EQ(code.MakeKey(key.data(), kZeroChain, 20, 16), 0);
    EXPECT_EQ(code.MakeKey(key.data(), kZeroChain, 16, 8), 0);
    EXPECT_EQ(code.MakeKey(nullptr, kZeroChain, 16, 16), 0);
    EXPECT_EQ(code.MakeKey(key.data(), nullptr, 16, 16), 0);
    EXPECT_EQ(code.EncryptBlock(block, out), 0);
    EXPECT_EQ(out[0], 0x55);

    ASSERT_EQ(code.MakeKey(key.data(), kZeroChain, 16, 16), 1);
    uint8_t buffer[20] = {};
    EXPECT_EQ(code.Encrypt(buffer, buffer, 20, CZVCode::kModeCBC), 0);
    EXPECT_EQ(code.Decrypt(buffer, buffer, 0, CZVCode::kModeECB), 0);
    EXPECT_EQ(code.Encrypt(buffer, buffer, 16, CZVCode::kModeECB), 1);
}

TEST(CZVCode, ChainingModesRoundTripInPlaceAcrossCalls) {
    const std::vector<uint8_t> key = Counting(24, 3);
    const std::vector<uint8_t> chain = Counting(32, 0x90);
    for (int mode : {0, 1, 2, 7})  // ECB, CBC, CFB, and another value meaning ECB
        for (int blockLength : {16, 32}) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << " block " << blockLength);
            const size_t n = static_cast<size_t>(blockLength);
            std::vector<uint8_t> plain(4 * n, 0x21);  // four equal blocks
            CZVCode code;
            ASSERT_EQ(code.MakeKey(key.data(), chain.data(), 24, blockLength), 1);
            std::vector<uint8_t> data = plain;
            // Two calls: the chain carries over.
            ASSERT_EQ(code.Encrypt(data.data(), data.data(), 2 * n, mode), 1);
            ASSERT_EQ(code.Encrypt(data.data() + 2 * n, data.data() + 2 * n, 2 * n, mode), 1);
            const bool chained = mode == CZVCode::kModeCBC || mode == CZVCode::kModeCFB;
            for (size_t b = 1; b < 4; ++b)
                EXPECT_EQ(std::memcmp(data.data(), data.data() + b * n, n) != 0, chained) << b;
            // A new key resets the chain; decrypt in place, one block at a time.
            ASSERT_EQ(code.MakeKey(key.data(), chain.data(), 24, blockLength), 1);
            for (size_t b = 0; b < 4; ++b)
                ASSERT_EQ(code.Decrypt(data.data() + b * n, data.data() + b * n, n, mode), 1);
            EXPECT_EQ(data, plain);
        }
}

TEST(CZVCode, PasswordBlockIsAes128WithZeroFill) {
    // Key and text both exactly 16 bytes: no padding at all.
    const std::vector<uint8_t> key = Hex("2b7e151628aed2a6abf7158809cf4f3c");
    const std::vector<uint8_t> text = Hex("3243f6a8885a308d313198a2e0370734");
    const std::string_view keyText(reinterpret_cast<const char*>(key.data()), 16);
    const std::string_view plainText(reinterpret_cast<const char*>(text.data()), 16);
    std::array<uint8_t, 16> out = EncryptPasswordBlock(keyText, plainText);
    EXPECT_EQ(BytesToHex(out.data(), 16), "3925841D02DC09FBDC118597196A0B32");
    // Longer ones are cut to 16 bytes.
    out = EncryptPasswordBlock(std::string(keyText) + "more", std::string(plainText) + "tail");
    EXPECT_EQ(BytesToHex(out.data(), 16), "3925841D02DC09FBDC118597196A0B32");

    // Short ones are zero-filled: the same as a 16-byte block with zeros.
    CZVCode code;
    uint8_t keyBlock[16] = {'p', 'o', 'o', 'l'};
    uint8_t challenge[16] = {1, 2, 3};
    ASSERT_EQ(code.MakeKey(keyBlock, kZeroChain, 16, 16), 1);
    uint8_t expected[16];
    ASSERT_EQ(code.EncryptBlock(challenge, expected), 1);
    out = EncryptPasswordBlock("pool", std::string_view("\x01\x02\x03", 3));
    EXPECT_EQ(BytesToHex(out.data(), 16), BytesToHex(expected, 16));

    // An empty password is the all-zero key.
    uint8_t zeroKey[16] = {};
    ASSERT_EQ(code.MakeKey(zeroKey, kZeroChain, 16, 16), 1);
    ASSERT_EQ(code.EncryptBlock(challenge, expected), 1);
    out = EncryptPasswordBlock("", std::string_view("\x01\x02\x03", 3));
    EXPECT_EQ(BytesToHex(out.data(), 16), BytesToHex(expected, 16));
}

TEST(CZVCodeText, PaddingAndHex) {
    EXPECT_EQ(PadTo16("", 0xAA), std::vector<uint8_t>(16, 0xAA));
    EXPECT_EQ(PadTo16(std::string(16, 'x'), 0).size(), 16u);
    std::vector<uint8_t> padded = PadTo16(std::string(17, 'x'), 0);
    ASSERT_EQ(padded.size(), 32u);
    EXPECT_EQ(padded[16], 'x');
    EXPECT_EQ(padded[17], 0);

    const uint8_t bytes[] = {0x0A, 0xFF};
    EXPECT_EQ(BytesToHex(bytes, 2), "0AFF");
    EXPECT_EQ(HexToBytes("0aFF7"), (std::vector<uint8_t>{0x0A, 0xFF, 0x07}));
    EXPECT_EQ(HexToBytes("4GG4zz"), (std::vector<uint8_t>{0x04, 0x00, 0x00}));
    EXPECT_TRUE(HexToBytes("").empty());
}

TEST(CZVCodeText, UrlDecodeStaysInsideItsText) {
    struct Case {
        std::string_view text;
        std::string_view decoded;
    };
    const Case cases[] = {
        {"a+b%41%7e", "a bA~"},
        {"100%", "100%"},
        {"x%4", "x%4"},
        {"%4", "%4"},
        {"%%41", std::string_view("\0"
                                  "1",
                                  2)},
        {"", ""},
    };
    for (const Case& c : cases) {
        // A copy without a terminator, so that a read past the end shows.
        std::vector<char> exact(c.text.begin(), c.text.end());
        EXPECT_EQ(UrlDecode(std::string_view(exact.data(), exact.size())), c.decoded) << c.text;
    }
}

}  // namespace
