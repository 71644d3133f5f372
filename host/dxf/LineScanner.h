// Lines of a DXF text, LF or CRLF ended, with their 1-based numbers.
#pragma once

#include <cstddef>
#include <string_view>

namespace kestrin::dxf {

class LineScanner {
public:
    explicit LineScanner(std::string_view text) : text_(text) {}

    // The next line without its line end; false at the end of the text.
    // DXF lines are short, so a plain loop beats a library search here, and
    // it notes carriage returns on the way.
    bool next(std::string_view& line) {
        if (pos_ >= text_.size()) return false;
        const char* begin = text_.data() + pos_;
        const char* end = text_.data() + text_.size();
        const char* p = begin;
        int crs = 0;
        while (p < end && *p != '\n') crs += *p++ == '\r';
        std::size_t len = static_cast<std::size_t>(p - begin);
        pos_ += p < end ? len + 1 : len;
        if (len > 0 && begin[len - 1] == '\r') {
            --len;
            --crs;
            sawCrlf_ = true;
        }
        innerCr_ = crs > 0;
        line = {begin, len};
        ++lineNo_;
        return true;
    }

    // True when the line last read holds a carriage return that is not its line end.
    bool innerCr() const { return innerCr_; }
    std::size_t lineNumber() const { return lineNo_; }  // of the line last read
    std::size_t offset() const { return pos_; }         // byte after the line last read
    bool sawCrlf() const { return sawCrlf_; }
    std::string_view rest() const { return text_.substr(pos_); }
    std::string_view text() const { return text_; }
    std::size_t size() const { return text_.size(); }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t lineNo_ = 0;
    bool sawCrlf_ = false;
    bool innerCr_ = false;
};

}  // namespace kestrin::dxf
