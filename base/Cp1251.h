// Code page 1251 text.
//
// Every string inside the system is 8-bit code page 1251. Source files are
// UTF-8, so literals are written with the `_cp` suffix: "Строки"_cp yields a
// `const char*` to the CP1251 bytes, converted at compile time. A character
// that the code page lacks makes the literal ill-formed (a compile error).
// UTF-8 appears only at the edges (terminal, transcript, test messages) and
// is converted with utf8ToCp1251 / cp1251ToUtf8.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kestrin {

// Unicode code point of each byte 0x80..0xFF. 0x98 is unassigned and maps to
// U+0098 so that every byte survives a round trip.
inline constexpr std::array<char32_t, 128> kCp1251High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

// Raised at the edges when text cannot be converted; the message names the
// character (U+XXXX) and its byte offset in the input.
class EncodingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The CP1251 byte of a code point, or -1 when the code page lacks it.
constexpr int cp1251FromCodePoint(char32_t cp) {
    if (cp < 0x80) return static_cast<int>(cp);
    if (cp >= 0x0410 && cp <= 0x044F) return static_cast<int>(cp - 0x0410 + 0xC0);
    for (std::size_t i = 0; i < 64; ++i)  // the irregular half
        if (kCp1251High[i] == cp) return static_cast<int>(0x80 + i);
    return -1;
}

constexpr char32_t codePointFromCp1251(unsigned char byte) {
    return byte < 0x80 ? char32_t{byte} : kCp1251High[byte - 0x80];
}

// Decodes one UTF-8 sequence at s[pos]; advances pos. Answers U+FFFFFFFF for
// a malformed sequence (pos then moves by one byte).
constexpr char32_t decodeUtf8(std::string_view s, std::size_t& pos) {
    const auto b0 = static_cast<unsigned char>(s[pos]);
    int extra = b0 < 0x80 ? 0 : (b0 & 0xE0) == 0xC0 ? 1 : (b0 & 0xF0) == 0xE0 ? 2 : (b0 & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || pos + extra >= s.size()) { ++pos; return 0xFFFFFFFF; }
    char32_t cp = extra == 0 ? b0 : (b0 & (0x3F >> extra));
    for (int i = 1; i <= extra; ++i) {
        const auto b = static_cast<unsigned char>(s[pos + i]);
        if ((b & 0xC0) != 0x80) { ++pos; return 0xFFFFFFFF; }
        cp = (cp << 6) | (b & 0x3F);
    }
    pos += extra + 1;
    return cp;
}

// UTF-8 text to CP1251; throws EncodingError naming the first character the
// code page lacks, or a malformed byte.
std::string utf8ToCp1251(std::string_view utf8);
// CP1251 text to UTF-8; total (every byte has a character).
std::string cp1251ToUtf8(std::string_view cp1251);
// True when every character of utf8 has a CP1251 byte.
bool representableInCp1251(std::string_view utf8);

namespace detail {

template <std::size_t N>
struct Utf8Literal {
    char data[N]{};
    constexpr Utf8Literal(const char (&s)[N]) {
        for (std::size_t i = 0; i < N; ++i) data[i] = s[i];
    }
    constexpr std::string_view view() const { return {data, N - 1}; }
};

template <Utf8Literal L>
constexpr std::size_t cp1251Length() {
    std::size_t n = 0;
    const auto v = L.view();
    for (std::size_t pos = 0; pos < v.size(); ++n) {
        const char32_t cp = decodeUtf8(v, pos);
        if (cp == 0xFFFFFFFF || cp1251FromCodePoint(cp) < 0)
            throw "literal holds a character that code page 1251 lacks";
    }
    return n;
}

template <Utf8Literal L>
struct Cp1251Storage {
    static constexpr std::size_t size = cp1251Length<L>();
    static constexpr std::array<char, size + 1> make() {
        std::array<char, size + 1> out{};
        const auto v = L.view();
        std::size_t n = 0;
        for (std::size_t pos = 0; pos < v.size();)
            out[n++] = static_cast<char>(cp1251FromCodePoint(decodeUtf8(v, pos)));
        return out;
    }
    static constexpr std::array<char, size + 1> bytes = make();
};

}  // namespace detail

inline namespace literals {
// "Текст"_cp: the CP1251 bytes of a UTF-8 literal, as a NUL-terminated string.
template <detail::Utf8Literal L>
constexpr const char* operator""_cp() {
    return detail::Cp1251Storage<L>::bytes.data();
}
}  // namespace literals

}  // namespace kestrin
