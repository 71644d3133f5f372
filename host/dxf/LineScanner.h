// Lines of a DXF text, LF or CRLF ended, with their 1-based numbers.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

namespace kestrin::dxf {

class LineScanner {
public:
    explicit LineScanner(std::string_view text) : text_(text) {}

    // The next line without its line end; false at the end of the text.
    bool next(std::string_view& line) {
        if (pos_ >= text_.size()) return false;
        const char* begin = text_.data() + pos_;
        const std::size_t left = text_.size() - pos_;
        const auto* lf = static_cast<const char*>(std::memchr(begin, '\n', left));
        std::size_t len = lf ? static_cast<std::size_t>(lf - begin) : left;
        pos_ += lf ? len + 1 : len;
        if (len > 0 && begin[len - 1] == '\r') {
            --len;
            sawCrlf_ = true;
        }
        line = {begin, len};
        ++lineNo_;
        return true;
    }

    std::size_t lineNumber() const { return lineNo_; }  // of the line last read
    std::size_t offset() const { return pos_; }         // byte after the line last read
    bool sawCrlf() const { return sawCrlf_; }
    std::string_view rest() const { return text_.substr(pos_); }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t lineNo_ = 0;
    bool sawCrlf_ = false;
};

}  // namespace kestrin::dxf
