#include "core/zvcode.h"

#include <bit>
#include <cstring>

namespace {

// ---- tables, built at compile time from the field GF(2^8)

constexpr uint8_t XTime(uint8_t x) { return static_cast<uint8_t>((x << 1) ^ ((x & 0x80) ? 0x1B : 0)); }

constexpr uint8_t Multiply(uint8_t a, uint8_t b) {
    uint8_t product = 0;
    for (; b; b >>= 1, a = XTime(a))
        if (b & 1)
            product ^= a;
    return product;
}


constexpr uint32_t Word(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3) {
    return uint32_t{b0} << 24 | uint32_t{b1} << 16 | uint32_t{b2} << 8 | b3;
}

struct Tables {
    uint8_t sbox[256] = {};
    uint8_t inverseSbox[256] = {};
    // Each round's SubBytes and MixColumns for one byte, in the four rotations.
    uint32_t encrypt[4][256] = {};
    uint32_t decrypt[4][256] = {};
};

constexpr Tables MakeTables() {
    Tables t;
    // Powers of the generator 3 give the multiplicative inverses.
    uint8_t power[255] = {};
    uint8_t logarithm[256] = {};
    uint8_t x = 1;
    for (int i = 0; i < 255; ++i) {
        power[i] = x;
        logarithm[x] = static_cast<uint8_t>(i);
        x = Multiply(x, 3);
    }
    for (int i = 0; i < 256; ++i) {
        const uint8_t inverse = i == 0 ? 0 : power[(255 - logarithm[i]) % 255];
        const uint8_t s = inverse ^ std::rotl(inverse, 1) ^ std::rotl(inverse, 2) ^ std::rotl(inverse, 3) ^
                          std::rotl(inverse, 4) ^ 0x63;
        t.sbox[i] = s;
        t.inverseSbox[s] = static_cast<uint8_t>(i);
    }
    for (int i = 0; i < 256; ++i) {
        const uint8_t s = t.sbox[i];
        const uint8_t v = t.inverseSbox[i];
        const uint32_t e = Word(Multiply(s, 2), s, s, Multiply(s, 3));
        const uint32_t d = Word(Multiply(v, 14), Multiply(v, 9), Multiply(v, 13), Multiply(v, 11));
        for (int k = 0; k < 4; ++k) {
            t.encrypt[k][i] = std::rotr(e, 8 * k);
            t.decrypt[k][i] = std::rotr(d, 8 * k);
        }
    }
    return t;
}

constexpr Tables kTables = MakeTables();

uint32_t Load(const uint8_t* p) { return Word(p[0], p[1], p[2], p[3]); }

void Store(uint32_t w, uint8_t* p) {
    p[0] = static_cast<uint8_t>(w >> 24);
    p[1] = static_cast<uint8_t>(w >> 16);
    p[2] = static_cast<uint8_t>(w >> 8);
    p[3] = static_cast<uint8_t>(w);
}

uint8_t Byte(uint32_t w, int index) { return static_cast<uint8_t>(w >> (24 - 8 * index)); }

uint32_t SubWord(uint32_t w) {
    return Word(kTables.sbox[Byte(w, 0)], kTables.sbox[Byte(w, 1)], kTables.sbox[Byte(w, 2)],
                kTables.sbox[Byte(w, 3)]);
}

uint32_t InverseMixColumn(uint32_t w) {
    // The decryption tables apply the inverse S-box first; the S-box undoes it.
    return kTables.decrypt[0][kTables.sbox[Byte(w, 0)]] ^ kTables.decrypt[1][kTables.sbox[Byte(w, 1)]] ^
           kTables.decrypt[2][kTables.sbox[Byte(w, 2)]] ^ kTables.decrypt[3][kTables.sbox[Byte(w, 3)]];
}

bool IsValidLength(int length) { return length == 16 || length == 24 || length == 32; }

// How far rows 1 to 3 of the state shift, by the block's column count.
struct Shifts {
    int row[4];
};

Shifts ShiftsFor(int columns) { return columns == 8 ? Shifts{{0, 1, 3, 4}} : Shifts{{0, 1, 2, 3}}; }

// One cipher pass over a block of `columns` words: a first key addition, the
// full rounds through `table`, and a last round through `box` alone. `step`
// is +1 for encryption (rows shift left) and -1 for decryption.
void RunRounds(const uint8_t* in, uint8_t* out, const uint32_t (*keys)[8], int rounds, int columns,
               const uint32_t (&table)[4][256], const uint8_t* box, int step) {
    const Shifts shifts = ShiftsFor(columns);
    auto source = [&](int column, int row) { return (column + step * shifts.row[row] + columns) % columns; };
    uint32_t state[8];
    uint32_t next[8];
    for (int j = 0; j < columns; ++j)
        state[j] = Load(in + 4 * j) ^ keys[0][j];
    for (int r = 1; r < rounds; ++r) {
        for (int j = 0; j < columns; ++j)
            next[j] = table[0][Byte(state[source(j, 0)], 0)] ^ table[1][Byte(state[source(j, 1)], 1)] ^
                      table[2][Byte(state[source(j, 2)], 2)] ^ table[3][Byte(state[source(j, 3)], 3)] ^ keys[r][j];
        std::memcpy(state, next, sizeof state);
    }
    for (int j = 0; j < columns; ++j) {
        next[j] = Word(box[Byte(state[source(j, 0)], 0)], box[Byte(state[source(j, 1)], 1)],
                       box[Byte(state[source(j, 2)], 2)], box[Byte(state[source(j, 3)], 3)]) ^
                  keys[rounds][j];
        Store(next[j], out + 4 * j);
    }
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// One or two characters read as hexadecimal up to the first that is not a
// hex digit.
uint8_t HexPair(std::string_view pair) {
    int value = 0;
    for (char c : pair) {
        const int digit = HexDigit(c);
        if (digit < 0)
            break;
        value = value * 16 + digit;
    }
    return static_cast<uint8_t>(value);
}

}  // namespace

int CZVCode::MakeKey(const uint8_t* key, const uint8_t* chain, int keyLength, int blockLength) {
    if (!key || !chain || !IsValidLength(keyLength) || !IsValidLength(blockLength))
        return 0;
    const int keyWords = keyLength / 4;
    const int columns = blockLength / 4;
    m_keyLength = keyLength;
    m_blockLength = blockLength;
    m_rounds = (keyWords > columns ? keyWords : columns) + 6;
    std::memcpy(m_initialChain.data(), chain, static_cast<size_t>(blockLength));
    m_chain = m_initialChain;

    uint32_t words[15 * 8];
    const int total = columns * (m_rounds + 1);
    uint8_t roundConstant = 1;
    for (int i = 0; i < total; ++i) {
        if (i < keyWords) {
            words[i] = Load(key + 4 * i);
            continue;
        }
        uint32_t temp = words[i - 1];
        if (i % keyWords == 0) {
            temp = SubWord(std::rotr(temp, 24)) ^ (uint32_t{roundConstant} << 24);
            roundConstant = XTime(roundConstant);
        } else if (keyWords > 6 && i % keyWords == 4) {
            temp = SubWord(temp);
        }
        words[i] = words[i - keyWords] ^ temp;
    }
    for (int r = 0; r <= m_rounds; ++r)
        for (int j = 0; j < columns; ++j) {
            const uint32_t w = words[r * columns + j];
            m_encryptKeys[r][j] = w;
            const int d = m_rounds - r;  // the decryption keys run in reverse
            m_decryptKeys[d][j] = d == 0 || d == m_rounds ? w : InverseMixColumn(w);
        }
    m_initialised = true;
    return 1;
}

void CZVCode::Cipher(const uint8_t* in, uint8_t* out) const {
    RunRounds(in, out, m_encryptKeys, m_rounds, m_blockLength / 4, kTables.encrypt, kTables.sbox, 1);
}

void CZVCode::InverseCipher(const uint8_t* in, uint8_t* out) const {
    RunRounds(in, out, m_decryptKeys, m_rounds, m_blockLength / 4, kTables.decrypt, kTables.inverseSbox, -1);
}

int CZVCode::EncryptBlock(const uint8_t* in, uint8_t* out) {
    if (!m_initialised)
        return 0;
    Cipher(in, out);
    return 1;
}

int CZVCode::DecryptBlock(const uint8_t* in, uint8_t* out) {
    if (!m_initialised)
        return 0;
    InverseCipher(in, out);
    return 1;
}

bool CZVCode::AcceptsCount(size_t count) const {
    return m_initialised && count > 0 && count % static_cast<size_t>(m_blockLength) == 0;
}

int CZVCode::Encrypt(const uint8_t* in, uint8_t* out, size_t count, int mode) {
    if (!AcceptsCount(count))
        return 0;
    const size_t n = static_cast<size_t>(m_blockLength);
    for (size_t offset = 0; offset < count; offset += n) {
        const uint8_t* plain = in + offset;
        uint8_t* cipher = out + offset;
        Block block;
        if (mode == kModeCBC) {
            for (size_t i = 0; i < n; ++i)
                m_chain[i] ^= plain[i];
            Cipher(m_chain.data(), cipher);
            std::memcpy(m_chain.data(), cipher, n);
        } else if (mode == kModeCFB) {
            Cipher(m_chain.data(), block.data());
            for (size_t i = 0; i < n; ++i)
                cipher[i] = block[i] ^ plain[i];
            std::memcpy(m_chain.data(), cipher, n);
        } else {
            Cipher(plain, cipher);
        }
    }
    return 1;
}

int CZVCode::Decrypt(const uint8_t* in, uint8_t* out, size_t count, int mode) {
    if (!AcceptsCount(count))
        return 0;
    const size_t n = static_cast<size_t>(m_blockLength);
    for (size_t offset = 0; offset < count; offset += n) {
        // The cipher block becomes the chain; keep it before the output, which
        // may be the same buffer, is written.
        Block cipher;
        std::memcpy(cipher.data(), in + offset, n);
        uint8_t* plain = out + offset;
        Block block;
        if (mode == kModeCBC) {
            InverseCipher(cipher.data(), block.data());
            for (size_t i = 0; i < n; ++i)
                plain[i] = block[i] ^ m_chain[i];
            m_chain = cipher;
        } else if (mode == kModeCFB) {
            Cipher(m_chain.data(), block.data());
            for (size_t i = 0; i < n; ++i)
                plain[i] = block[i] ^ cipher[i];
            m_chain = cipher;
        } else {
            InverseCipher(cipher.data(), plain);
        }
    }
    return 1;
}

std::vector<uint8_t> PadTo16(std::string_view text, uint8_t fill) {
    const size_t size = text.empty() ? 16 : (text.size() + 15) / 16 * 16;
    std::vector<uint8_t> buffer(size, fill);
    std::memcpy(buffer.data(), text.data(), text.size());
    return buffer;
}

std::string BytesToHex(const uint8_t* bytes, size_t count) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(2 * count);
    for (size_t i = 0; i < count; ++i) {
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 15];
    }
    return text;
}

std::vector<uint8_t> HexToBytes(std::string_view text) {
    std::vector<uint8_t> bytes;
    bytes.reserve((text.size() + 1) / 2);
    for (size_t i = 0; i < text.size(); i += 2)
        bytes.push_back(HexPair(text.substr(i, 2)));
    return bytes;
}

std::string UrlDecode(std::string_view text) {
    std::string decoded;
    decoded.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && text.size() - i > 2) {
            decoded += static_cast<char>(HexPair(text.substr(i + 1, 2)));
            i += 2;
        } else {
            decoded += text[i] == '+' ? ' ' : text[i];
        }
    }
    return decoded;
}

std::array<uint8_t, 16> EncryptPasswordBlock(std::string_view password, std::string_view text) {
    static constexpr uint8_t kZeroChain[16] = {};
    const std::vector<uint8_t> key = PadTo16(password, 0);
    const std::vector<uint8_t> data = PadTo16(text, 0);
    std::array<uint8_t, 16> block{};
    CZVCode code;
    code.MakeKey(key.data(), kZeroChain, 16, 16);
    code.EncryptBlock(data.data(), block.data());
    return block;
}
