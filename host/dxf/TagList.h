// Group-code/value pairs of a DXF record, kept in file order so that a
// drawing written back holds every tag it was read with.
//
// Values are text in CP1251 exactly as they stand in the file (the reader has
// already converted other code pages; characters CP1251 lacks are \U+XXXX
// escapes). Numbers are parsed only by whoever reads them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kestrin::dxf {

struct TagView {
    int code;
    std::string_view value;
};

class TagList {
public:
    std::size_t size() const { return tags_.size(); }
    bool empty() const { return tags_.empty(); }
    TagView operator[](std::size_t i) const { return {tags_[i].code, tags_[i].value}; }

    void push(int code, std::string_view value) { tags_.push_back({code, std::string(value)}); }
    void set(std::size_t i, std::string_view value) { tags_[i].value.assign(value); }
    void insert(std::size_t i, int code, std::string_view value);
    void erase(std::size_t i);
    void clear() { tags_.clear(); }
    void reserve(std::size_t n) { tags_.reserve(n); }

    // Index of the first tag with `code` at or after `from`, or npos.
    std::size_t find(int code, std::size_t from = 0) const;
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    friend bool operator==(const TagList&, const TagList&) = default;

private:
    struct Tag {
        int code;
        std::string value;
        friend bool operator==(const Tag&, const Tag&) = default;
    };
    std::vector<Tag> tags_;
};

// One DXF record: the value of its group 0 tag and every tag after it up to
// the next group 0 tag.
struct Record {
    std::string type;    // "TEXT", "LAYER", "BLOCK_RECORD", ...
    TagList tags;
    std::size_t line = 0;  // line of the 0 tag in the file it came from; 0 when new
};

}  // namespace kestrin::dxf
