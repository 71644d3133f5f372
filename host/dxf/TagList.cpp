#include "host/dxf/TagList.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace kestrin::dxf {

// Each tag: code (one byte for 0..254, else 0xFF and an int16), length (one
// byte, or 0xFF and a uint32 for 255 bytes and more), then the value's bytes.
// Nearly every code of a drawing fits one byte, so a tag costs two bytes more
// than its value.
namespace {

constexpr unsigned char kEscape = 0xFF;

std::size_t encodedSize(int code, std::size_t valueSize) {
    return (code >= 0 && code < kEscape ? 1 : 3) + (valueSize < kEscape ? 1 : 5) + valueSize;
}

void checkTag(int code, std::size_t valueSize) {
    if (code < INT16_MIN || code > INT16_MAX)
        throw std::length_error("group code " + std::to_string(code) + " out of range");
    if (valueSize >= UINT32_MAX / 2) throw std::length_error("tag value too long");
}

char* encode(char* out, int code, std::string_view value) {
    if (code >= 0 && code < kEscape) {
        *out++ = static_cast<char>(code);
    } else {
        *out++ = static_cast<char>(kEscape);
        const auto c = static_cast<std::int16_t>(code);
        std::memcpy(out, &c, 2);
        out += 2;
    }
    if (value.size() < kEscape) {
        *out++ = static_cast<char>(value.size());
    } else {
        *out++ = static_cast<char>(kEscape);
        const auto n = static_cast<std::uint32_t>(value.size());
        std::memcpy(out, &n, 4);
        out += 4;
    }
    if (!value.empty()) std::memcpy(out, value.data(), value.size());
    return out + value.size();
}

// Decodes the tag at p; answers the position after it.
const char* decode(const char* p, TagView& tag) {
    int code = static_cast<unsigned char>(*p++);
    if (code == kEscape) {
        std::int16_t c;
        std::memcpy(&c, p, 2);
        p += 2;
        code = c;
    }
    std::size_t n = static_cast<unsigned char>(*p++);
    if (n == kEscape) {
        std::uint32_t m;
        std::memcpy(&m, p, 4);
        p += 4;
        n = m;
    }
    tag = {code, std::string_view(p, n)};
    return p + n;
}

std::string encodeOne(int code, std::string_view value) {
    checkTag(code, value.size());
    std::string bytes(encodedSize(code, value.size()), '\0');
    encode(bytes.data(), code, value);
    return bytes;
}

}  // namespace

TagList::TagList(const TagList& other) : used_(other.used_), cap_(other.used_), count_(other.count_) {
    if (used_) {
        buf_ = new char[used_];
        std::memcpy(buf_, other.buf_, used_);
    }
    rebuildIndex();
}

TagList::TagList(TagList&& other) noexcept
    : buf_(std::exchange(other.buf_, nullptr)),
      used_(std::exchange(other.used_, 0)),
      cap_(std::exchange(other.cap_, 0)),
      count_(std::exchange(other.count_, 0)),
      index_(std::exchange(other.index_, nullptr)) {}

TagList& TagList::operator=(const TagList& other) {
    if (this != &other) *this = TagList(other);
    return *this;
}

TagList& TagList::operator=(TagList&& other) noexcept {
    if (this != &other) {
        delete[] buf_;
        delete[] index_;
        buf_ = std::exchange(other.buf_, nullptr);
        used_ = std::exchange(other.used_, 0);
        cap_ = std::exchange(other.cap_, 0);
        count_ = std::exchange(other.count_, 0);
        index_ = std::exchange(other.index_, nullptr);
    }
    return *this;
}

TagList::~TagList() {
    delete[] buf_;
    delete[] index_;
}

TagList TagList::fromViews(std::span<const TagView> tags) {
    std::size_t bytes = 0;
    for (const TagView& t : tags) {
        checkTag(t.code, t.value.size());
        bytes += encodedSize(t.code, t.value.size());
    }
    if (bytes >= UINT32_MAX / 2) throw std::length_error("record too large");
    TagList list;
    if (bytes) {
        list.buf_ = new char[bytes];
        char* out = list.buf_;
        for (const TagView& t : tags) out = encode(out, t.code, t.value);
    }
    list.used_ = list.cap_ = static_cast<std::uint32_t>(bytes);
    list.count_ = static_cast<std::uint32_t>(tags.size());
    list.rebuildIndex();
    return list;
}

std::size_t TagList::offsetOf(std::size_t i) const {
    if (i >= count_) return used_;
    std::size_t at = index_ ? index_[i / kStride] : 0;
    TagView skip;
    for (std::size_t k = index_ ? i % kStride : i; k > 0; --k)
        at = static_cast<std::size_t>(decode(buf_ + at, skip) - buf_);
    return at;
}

TagView TagList::operator[](std::size_t i) const {
    TagView tag;
    decode(buf_ + offsetOf(i), tag);
    return tag;
}

void TagList::grow(std::size_t minBytes) {
    if (minBytes <= cap_) return;
    if (minBytes >= UINT32_MAX / 2) throw std::length_error("record too large");
    const std::size_t cap = std::max<std::size_t>({minBytes, std::size_t{cap_} * 2, 64});
    char* fresh = new char[cap];
    if (used_) std::memcpy(fresh, buf_, used_);
    delete[] buf_;
    buf_ = fresh;
    cap_ = static_cast<std::uint32_t>(std::min<std::size_t>(cap, UINT32_MAX));
}

void TagList::rebuildIndex() {
    delete[] index_;
    index_ = nullptr;
    if (count_ <= kStride) return;
    const std::size_t entries = (count_ + kStride - 1) / kStride;
    index_ = new std::uint32_t[std::bit_ceil(entries)];
    const char* p = buf_;
    TagView skip;
    for (std::size_t i = 0; i < count_; ++i) {
        if (i % kStride == 0) index_[i / kStride] = static_cast<std::uint32_t>(p - buf_);
        p = decode(p, skip);
    }
}

void TagList::push(int code, std::string_view value) {
    checkTag(code, value.size());
    grow(std::size_t{used_} + encodedSize(code, value.size()));
    const std::uint32_t at = used_;
    used_ = static_cast<std::uint32_t>(encode(buf_ + used_, code, value) - buf_);
    const std::size_t i = count_++;
    if (count_ <= kStride) return;
    if (!index_) return rebuildIndex();
    if (i % kStride != 0) return;
    const std::size_t entry = i / kStride;  // entries 0..entry-1 exist
    if (std::has_single_bit(entry)) {       // allocated size bit_ceil(entry) is full
        auto* fresh = new std::uint32_t[entry * 2];
        std::memcpy(fresh, index_, entry * sizeof(std::uint32_t));
        delete[] index_;
        index_ = fresh;
    }
    index_[entry] = at;
}

void TagList::replaceRange(std::size_t from, std::size_t to, const std::string& bytes, std::ptrdiff_t countDelta) {
    const std::size_t tail = used_ - to;
    const std::size_t total = from + bytes.size() + tail;
    grow(total);
    std::memmove(buf_ + from + bytes.size(), buf_ + to, tail);
    if (!bytes.empty()) std::memcpy(buf_ + from, bytes.data(), bytes.size());
    used_ = static_cast<std::uint32_t>(total);
    count_ = static_cast<std::uint32_t>(static_cast<std::ptrdiff_t>(count_) + countDelta);
    rebuildIndex();
}

void TagList::set(std::size_t i, std::string_view value) {
    if (i >= count_) throw std::out_of_range("tag index out of range");
    const std::size_t from = offsetOf(i);
    TagView old;
    const std::size_t to = static_cast<std::size_t>(decode(buf_ + from, old) - buf_);
    replaceRange(from, to, encodeOne(old.code, value), 0);
}

void TagList::insert(std::size_t i, int code, std::string_view value) {
    if (i > count_) throw std::out_of_range("tag index out of range");
    const std::size_t at = offsetOf(i);
    replaceRange(at, at, encodeOne(code, value), 1);
}

void TagList::erase(std::size_t i) {
    if (i >= count_) throw std::out_of_range("tag index out of range");
    const std::size_t from = offsetOf(i);
    TagView old;
    const std::size_t to = static_cast<std::size_t>(decode(buf_ + from, old) - buf_);
    replaceRange(from, to, std::string(), -1);
}

void TagList::clear() {
    used_ = 0;
    count_ = 0;
    delete[] index_;
    index_ = nullptr;
}

void TagList::reserve(std::size_t n) { grow(n * 8); }

std::size_t TagList::find(int code, std::size_t from) const {
    if (from >= count_) return npos;
    const char* p = buf_ + offsetOf(from);
    TagView tag;
    for (std::size_t i = from; i < count_; ++i) {
        p = decode(p, tag);
        if (tag.code == code) return i;
    }
    return npos;
}

std::size_t TagList::heapBytes() const {
    const std::size_t entries = count_ > kStride ? std::bit_ceil<std::size_t>((count_ + kStride - 1) / kStride) : 0;
    return cap_ + entries * sizeof(std::uint32_t);
}

TagView TagList::const_iterator::operator*() const {
    TagView tag;
    decode(at_, tag);
    return tag;
}

TagList::const_iterator& TagList::const_iterator::operator++() {
    TagView skip;
    at_ = decode(at_, skip);
    return *this;
}

bool operator==(const TagList& a, const TagList& b) {
    return a.count_ == b.count_ && a.used_ == b.used_ && (a.used_ == 0 || std::memcmp(a.buf_, b.buf_, a.used_) == 0);
}

}  // namespace kestrin::dxf
