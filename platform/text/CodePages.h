// Windows code pages by number, converted by the system itself (iconv on
// Linux, the national-language API on Windows): the bytes of a code page to
// Unicode code points and back.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace kestrin::text {

class CodePage {
public:
    // Code page `number` as Windows numbers it (874, 932, 936, 949, 950, 1250
    // to 1258, 1361, the DOS pages 437 ... 869, 10000 Mac Roman, 2859x for
    // ISO 8859-x, 65001 UTF-8), or null when the system cannot convert it.
    static std::unique_ptr<CodePage> open(unsigned number);

    CodePage(const CodePage&) = delete;
    CodePage& operator=(const CodePage&) = delete;
    ~CodePage();

    unsigned number() const { return number_; }

    // Appends the code points of `bytes` to `out`. Answers npos when every
    // byte was part of a valid character; otherwise the offset of the first
    // invalid, undefined or incomplete sequence, and `out` holds the
    // characters before it.
    std::size_t decode(std::string_view bytes, std::u32string& out) const;
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    // Appends the bytes of `cp`; false, with nothing appended, when the code
    // page lacks the character.
    bool encode(char32_t cp, std::string& out) const;

    struct Impl;

private:
    CodePage(unsigned number, std::unique_ptr<Impl> impl);
    unsigned number_;
    std::unique_ptr<Impl> impl_;
};

}  // namespace kestrin::text
