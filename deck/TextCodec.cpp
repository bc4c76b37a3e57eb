#include "TextCodec.h"

#include <cstdint>
#include <cstring>

namespace rillo {

namespace {

// Code points of bytes 0x80 to 0x9F; the rest of the upper half is Latin-1.
constexpr char32_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

/// The length of the UTF-8 sequence at `at`, or 0 when it is malformed.
std::size_t sequenceAt(std::string_view s, std::size_t at, char32_t* code = nullptr) {
    const auto b = static_cast<unsigned char>(s[at]);
    std::size_t n = 0;
    char32_t c = 0;
    if (b < 0x80) {
        n = 1, c = b;
    } else if (b >= 0xC2 && b <= 0xDF) {
        n = 2, c = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3, c = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4, c = b & 0x07;
    } else {
        return 0;
    }
    if (at + n > s.size()) return 0;
    for (std::size_t i = 1; i < n; ++i) {
        const auto cb = static_cast<unsigned char>(s[at + i]);
        if ((cb & 0xC0) != 0x80) return 0;
        c = (c << 6) | (cb & 0x3F);
    }
    // Overlong forms, surrogates and code points beyond Unicode are malformed.
    if ((n == 3 && c < 0x800) || (n == 4 && (c < 0x10000 || c > 0x10FFFF)) || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    if (code) *code = c;
    return n;
}

}  // namespace

bool isUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        // ASCII, which decks nearly all are, eight bytes at a time.
        if (i + 8 <= bytes.size()) {
            std::uint64_t word;
            std::memcpy(&word, bytes.data() + i, sizeof word);
            if ((word & 0x8080808080808080ULL) == 0) {
                i += 8;
                continue;
            }
        }
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        const std::size_t n = sequenceAt(bytes, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

std::string fromWindows1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80)
            out += ch;
        else
            appendUtf8(out, b < 0xA0 ? kHigh[b - 0x80] : char32_t(b));
    }
    return out;
}

std::optional<std::string> toWindows1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t c = 0;
        const std::size_t n = sequenceAt(utf8, i, &c);
        if (n == 0) return std::nullopt;
        i += n;
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out += static_cast<char>(c);
            continue;
        }
        bool found = false;
        for (int k = 0; k < 32 && !found; ++k)
            if (kHigh[k] == c) {
                out += static_cast<char>(0x80 + k);
                found = true;
            }
        if (!found) return std::nullopt;
    }
    return out;
}

std::size_t characterCount(std::string_view utf8) {
    std::size_t n = 0;
    for (char c : utf8) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

std::size_t bytesOfCharacters(std::string_view utf8, std::size_t characters) {
    std::size_t i = 0;
    for (std::size_t seen = 0; i < utf8.size(); ++i) {
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) {
            if (seen == characters) break;
            ++seen;
        }
    }
    return i;
}

}  // namespace rillo
