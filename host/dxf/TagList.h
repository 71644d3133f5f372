// Group-code/value pairs of a DXF record, kept in file order so that a
// drawing written back holds every tag it was read with.
//
// Values are text in CP1251 exactly as they stand in the file (the reader has
// already converted other code pages; characters CP1251 lacks are \U+XXXX
// escapes). Numbers are parsed only by whoever reads them.
//
// Storage is one packed byte block per list (code, length, bytes for each
// tag, then a sparse index), so that a drawing of a million small records costs
// little more than its file size. The lists a reader makes lie side by side
// in shared blocks, without an allocation each.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kestrin::dxf {

struct TagView {
    int code;
    std::string_view value;
    friend bool operator==(const TagView&, const TagView&) = default;
};

class TagList {
public:
    TagList() = default;
    TagList(const TagList& other);
    TagList(TagList&& other) noexcept;
    TagList& operator=(const TagList& other);
    TagList& operator=(TagList&& other) noexcept;
    ~TagList();

    // One allocation for the whole list: the reader's way to build a record.
    static TagList fromViews(std::span<const TagView> tags);

    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    TagView operator[](std::size_t i) const;

    // Codes must lie in -32768..32767 and values be shorter than 4 GiB;
    // std::length_error otherwise.
    void push(int code, std::string_view value);
    void set(std::size_t i, std::string_view value);
    void insert(std::size_t i, int code, std::string_view value);
    void erase(std::size_t i);
    void clear();
    void reserve(std::size_t n);

    // Index of the first tag with `code` at or after `from`, or npos.
    std::size_t find(int code, std::size_t from = 0) const;
    // The value of the first tag with `code`, found in one pass (find, then
    // [], walks the tags twice).
    std::optional<std::string_view> first(int code) const;
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    // Bytes held on the heap (for memory accounting).
    std::size_t heapBytes() const;

    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = TagView;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = TagView;
        const_iterator() = default;
        TagView operator*() const;
        const_iterator& operator++();
        const_iterator operator++(int) { auto c = *this; ++*this; return c; }
        friend bool operator==(const const_iterator& a, const const_iterator& b) { return a.at_ == b.at_; }
    private:
        friend class TagList;
        const_iterator(const char* at) : at_(at) {}
        const char* at_ = nullptr;
    };
    const_iterator begin() const { return {buf_}; }
    const_iterator end() const { return {buf_ + used_}; }

    friend bool operator==(const TagList& a, const TagList& b);

private:
    static constexpr std::uint32_t kStride = 16;  // one index entry per 16 tags

    std::size_t offsetOf(std::size_t i) const;
    void grow(std::size_t minBytes);
    void rebuildIndex();
    void replaceRange(std::size_t from, std::size_t to, const std::string& bytes, std::ptrdiff_t countDelta);
    void freeBuffer();
    std::uint32_t indexEntry(std::size_t k) const;
    static std::size_t indexBytes(std::size_t count);
    static std::size_t need(std::size_t used, std::size_t count);  // buffer bytes of tags and index
    std::size_t capacity() const;
    static std::size_t heapSize(std::size_t bytes);

    char* buf_ = nullptr;           // packed tags, then the index (see TagList.cpp)
    std::uint32_t used_ = 0;        // bytes of the tags
    std::uint32_t count_ : 31 = 0;  // number of tags
    std::uint32_t slab_ : 1 = 0;    // buf_ lies in a shared block (TagSlab.h), not on the heap of its own
};

// One DXF record: the value of its group 0 tag and every tag after it up to
// the next group 0 tag.
struct Record {
    std::string type;    // "TEXT", "LAYER", "BLOCK_RECORD", ...
    TagList tags;
    // Where the 0 tag stood in the file it came from (its line, or its byte
    // offset in a binary file); 0 when new.
    std::size_t line = 0;
};

}  // namespace kestrin::dxf
