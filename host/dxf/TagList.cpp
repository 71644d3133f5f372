#include "host/dxf/TagList.h"

#include "host/dxf/TagSlab.h"

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

// The buffer: the packed tags, then (for more than kStride tags) the index,
// from the next multiple of four on: the offset of every kStride-th tag.
namespace {
constexpr std::size_t align4(std::size_t n) { return (n + 3) & ~std::size_t{3}; }
}  // namespace

std::size_t TagList::indexBytes(std::size_t count) {
    return count > kStride ? (count + kStride - 1) / kStride * sizeof(std::uint32_t) : 0;
}

std::size_t TagList::need(std::size_t used, std::size_t count) {
    const std::size_t index = indexBytes(count);
    return index ? align4(used) + index : used;
}

std::size_t TagList::heapSize(std::size_t bytes) { return std::bit_ceil(std::max<std::size_t>(bytes, 64)); }

// What the buffer holds: a shared block's room is just what the list needs;
// one of its own from the heap a power of two of what it needed when made,
// which is at least heapSize of what it needs now.
std::size_t TagList::capacity() const {
    if (buf_ == nullptr) return 0;
    const std::size_t n = need(used_, count_);
    return slab_ ? n : heapSize(n);
}

std::uint32_t TagList::indexEntry(std::size_t k) const {
    std::uint32_t v;
    std::memcpy(&v, buf_ + align4(used_) + k * sizeof v, sizeof v);
    return v;
}

TagList::TagList(const TagList& other) : used_(other.used_), count_(other.count_) {
    if (used_) {
        const std::size_t n = need(used_, count_);
        buf_ = new char[heapSize(n)];
        std::memcpy(buf_, other.buf_, n);
    }
}

TagList::TagList(TagList&& other) noexcept
    : buf_(std::exchange(other.buf_, nullptr)), used_(std::exchange(other.used_, 0)), count_(other.count_), slab_(other.slab_) {
    other.count_ = 0;
    other.slab_ = 0;
}

void TagList::freeBuffer() {
    if (slab_) slab::release(buf_);
    else delete[] buf_;
    buf_ = nullptr;
    slab_ = 0;
}

TagList& TagList::operator=(const TagList& other) {
    if (this != &other) *this = TagList(other);
    return *this;
}

TagList& TagList::operator=(TagList&& other) noexcept {
    if (this != &other) {
        freeBuffer();
        buf_ = std::exchange(other.buf_, nullptr);
        used_ = std::exchange(other.used_, 0);
        count_ = other.count_;
        slab_ = other.slab_;
        other.count_ = 0;
        other.slab_ = 0;
    }
    return *this;
}

TagList::~TagList() { freeBuffer(); }

TagList TagList::fromViews(std::span<const TagView> tags) {
    std::size_t bytes = 0;
    for (const TagView& t : tags) {
        checkTag(t.code, t.value.size());
        bytes += encodedSize(t.code, t.value.size());
    }
    if (bytes >= UINT32_MAX / 2 || tags.size() >= (std::size_t{1} << 31)) throw std::length_error("record too large");
    TagList list;
    const std::size_t n = need(bytes, tags.size());
    if (n) {
        list.buf_ = slab::allocate(n);
        list.slab_ = list.buf_ != nullptr;
        if (!list.slab_) list.buf_ = new char[heapSize(n)];
        char* out = list.buf_;
        for (const TagView& t : tags) out = encode(out, t.code, t.value);
    }
    list.used_ = static_cast<std::uint32_t>(bytes);
    list.count_ = static_cast<std::uint32_t>(tags.size());
    list.rebuildIndex();
    return list;
}

std::size_t TagList::offsetOf(std::size_t i) const {
    if (i >= count_) return used_;
    const bool indexed = count_ > kStride;
    std::size_t at = indexed ? indexEntry(i / kStride) : 0;
    TagView skip;
    for (std::size_t k = indexed ? i % kStride : i; k > 0; --k)
        at = static_cast<std::size_t>(decode(buf_ + at, skip) - buf_);
    return at;
}

TagView TagList::operator[](std::size_t i) const {
    TagView tag;
    decode(buf_ + offsetOf(i), tag);
    return tag;
}

void TagList::grow(std::size_t minBytes) {
    if (minBytes <= capacity()) return;
    if (minBytes >= UINT32_MAX / 2) throw std::length_error("record too large");
    char* fresh = new char[heapSize(minBytes)];
    if (const std::size_t held = need(used_, count_)) std::memcpy(fresh, buf_, held);  // the index too
    freeBuffer();
    buf_ = fresh;
}

void TagList::rebuildIndex() {
    if (count_ <= kStride) return;
    char* index = buf_ + align4(used_);
    const char* p = buf_;
    TagView skip;
    for (std::size_t i = 0; i < count_; ++i) {
        if (i % kStride == 0) {
            const auto at = static_cast<std::uint32_t>(p - buf_);
            std::memcpy(index + i / kStride * sizeof at, &at, sizeof at);
        }
        p = decode(p, skip);
    }
}

void TagList::push(int code, std::string_view value) {
    checkTag(code, value.size());
    if (count_ + 1u >= (1u << 31)) throw std::length_error("record too large");
    const std::size_t size = encodedSize(code, value.size());
    const std::size_t oldIndex = indexBytes(count_), newIndex = indexBytes(count_ + 1u);
    grow(need(used_ + size, count_ + 1u));
    // The index moves up past the new tag first: the tag takes its place.
    if (oldIndex) std::memmove(buf_ + align4(used_ + size), buf_ + align4(used_), oldIndex);
    const std::uint32_t at = used_;
    encode(buf_ + used_, code, value);
    used_ = static_cast<std::uint32_t>(used_ + size);
    const std::size_t i = count_;
    count_ = count_ + 1u;
    if (newIndex == 0) return;
    if (oldIndex == 0) return rebuildIndex();  // the list has just grown an index
    if (i % kStride == 0) std::memcpy(buf_ + align4(used_) + i / kStride * sizeof at, &at, sizeof at);
}

void TagList::replaceRange(std::size_t from, std::size_t to, const std::string& bytes, std::ptrdiff_t countDelta) {
    const std::size_t tail = used_ - to;
    const std::size_t total = from + bytes.size() + tail;
    const auto count = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(count_) + countDelta);
    if (count >= (std::size_t{1} << 31)) throw std::length_error("record too large");
    grow(need(total, count));
    std::memmove(buf_ + from + bytes.size(), buf_ + to, tail);
    if (!bytes.empty()) std::memcpy(buf_ + from, bytes.data(), bytes.size());
    used_ = static_cast<std::uint32_t>(total);
    count_ = static_cast<std::uint32_t>(count);
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
}

void TagList::reserve(std::size_t n) { grow(need(n * 8, n)); }

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

std::optional<std::string_view> TagList::first(int code) const {
    const char* p = buf_;
    TagView tag;
    for (std::size_t i = 0; i < count_; ++i) {
        p = decode(p, tag);
        if (tag.code == code) return tag.value;
    }
    return std::nullopt;
}

std::size_t TagList::heapBytes() const { return capacity(); }

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
