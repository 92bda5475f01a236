#pragma once
// The Rijndael block cipher with keys and blocks of 16, 24 or 32 bytes; with
// a 16-byte block it is AES. The programs use it to encrypt one block keyed
// by a password (EncryptPasswordBlock): the login response and the
// remote-access password.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CZVCode {
public:
    enum Mode { kModeECB = 0, kModeCBC = 1, kModeCFB = 2 };

    CZVCode() = default;
    virtual ~CZVCode() = default;

    // Both lengths must be 16, 24 or 32 and chain must hold blockLength bytes;
    // 0, with nothing changed, otherwise. Resets the chain of the buffer modes.
    int MakeKey(const uint8_t* key, const uint8_t* chain, int keyLength, int blockLength);

    // One block of the block length. 0 before a successful MakeKey.
    int EncryptBlock(const uint8_t* in, uint8_t* out);
    int DecryptBlock(const uint8_t* in, uint8_t* out);

    // count bytes, a non-zero multiple of the block length, in the given mode
    // (CBC, CFB, anything else ECB); the chain carries over from one call to
    // the next. The output may be the input. 0, with the output untouched,
    // before MakeKey or for a bad count.
    int Encrypt(const uint8_t* in, uint8_t* out, size_t count, int mode);
    int Decrypt(const uint8_t* in, uint8_t* out, size_t count, int mode);

private:
    using Block = std::array<uint8_t, 32>;

    void Cipher(const uint8_t* in, uint8_t* out) const;
    void InverseCipher(const uint8_t* in, uint8_t* out) const;
    bool AcceptsCount(size_t count) const;

    bool m_initialised = false;
    uint32_t m_encryptKeys[15][8] = {};
    uint32_t m_decryptKeys[15][8] = {};
    int m_keyLength = 0;
    int m_blockLength = 0;
    int m_rounds = 0;
    Block m_initialChain = {};
    Block m_chain = {};
};

// The text's bytes, then fill bytes up to a multiple of 16 (at least 16).
std::vector<uint8_t> PadTo16(std::string_view text, uint8_t fill);
// "%02X" for each byte.
std::string BytesToHex(const uint8_t* bytes, size_t count);
// Each pair of characters gives a byte, read as hexadecimal up to the pair's
// first character that is not a hex digit; a last odd character is a pair of
// its own.
std::vector<uint8_t> HexToBytes(std::string_view text);
// "%" and two characters give the byte of that hex pair, "+" a space; a "%"
// with fewer than two characters after it is copied as it is.
std::string UrlDecode(std::string_view text);

// AES-128 of one block: the first 16 bytes of the text, zero-filled, keyed by
// the password's first 16 bytes, zero-filled.
std::array<uint8_t, 16> EncryptPasswordBlock(std::string_view password, std::string_view text);
