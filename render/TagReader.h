// The tags of one record read by group code: the first tag of a code, or
// all of them in file order.
#pragma once

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <iterator>
#include <cmath>
#include <optional>
#include <string_view>

#include "host/dxf/TagList.h"
#include "render/Geometry.h"

namespace kestrin::render {

// A number as DXF writes it (spaces and a leading '+' allowed); `dflt` for
// anything else and for infinities.
inline double parseNumber(std::string_view v, double dflt) {
    while (!v.empty() && v.front() == ' ') v.remove_prefix(1);
    while (!v.empty() && v.back() == ' ') v.remove_suffix(1);
    if (!v.empty() && v.front() == '+') v.remove_prefix(1);
    double d = 0;
    const auto res = std::from_chars(v.data(), v.data() + v.size(), d);
    return res.ec == std::errc() && std::isfinite(d) ? d : dflt;
}

// A number as a whole number; `dflt` when it is out of range.
inline long wholeNumber(double v, long dflt = 0) { return v > -2e9 && v < 2e9 ? static_cast<long>(v) : dflt; }

// Each code's first tag is found in one pass over the record, when the
// reader is made: an entity asks for a score of codes.
class TagReader {
public:
    explicit TagReader(const dxf::Record& r) : r_(r) {
        std::fill(std::begin(at_), std::end(at_), std::uint8_t{0});
        for (const dxf::TagView t : r.tags) {
            if (t.code < 0 || t.code >= kCodes || at_[t.code] != 0) continue;
            if (kept_ == kKept) {  // the rest are looked for in the record
                complete_ = false;
                break;
            }
            values_[kept_++] = t.value;
            at_[t.code] = kept_;
        }
    }
    std::string_view str(int code, std::string_view dflt = {}) const { return first(code).value_or(dflt); }
    bool has(int code) const { return first(code).has_value(); }
    double num(int code, double dflt = 0) const {
        const auto v = first(code);
        return v ? parseNumber(*v, dflt) : dflt;
    }
    long integer(int code, long dflt = 0) const { return wholeNumber(num(code, static_cast<double>(dflt)), dflt); }
    std::optional<long> optionalInteger(int code) const {
        if (!has(code)) return std::nullopt;
        return integer(code);
    }
    Vec2 point(int code) const { return {num(code), num(code + 10)}; }
    const dxf::Record& record() const { return r_; }

private:
    static constexpr int kCodes = 400;  // codes of an entity's own data; others are looked for in the record
    static constexpr std::uint8_t kKept = 48;

    std::optional<std::string_view> first(int code) const {
        if (code >= 0 && code < kCodes) {
            if (at_[code] != 0) return values_[at_[code] - 1];
            if (complete_) return std::nullopt;
        }
        return r_.tags.first(code);
    }

    const dxf::Record& r_;
    std::uint8_t at_[kCodes];  // 1 + the index in values_ of the code's first tag; 0: none seen
    std::string_view values_[kKept];
    std::uint8_t kept_ = 0;
    bool complete_ = true;  // every tag was looked at
};

// Walks a record's tags in order: for records whose meaning lies in the
// sequence (a hatch's paths, a spline's knots).
class TagCursor {
public:
    explicit TagCursor(const dxf::TagList& tags, std::size_t from = 0) : tags_(tags), at_(from) {}
    bool done() const { return at_ >= tags_.size(); }
    int code() const { return tags_[at_].code; }
    std::string_view value() const { return tags_[at_].value; }
    double number() const { return parseNumber(value(), 0); }
    void next() { ++at_; }
    // Moves to the next tag of `code`; false (at the end) when there is none.
    bool seek(int code) {
        while (!done() && this->code() != code) ++at_;
        return !done();
    }
    // The value of the tag here when it has `code` (then steps past it).
    std::optional<double> take(int code) {
        if (done() || this->code() != code) return std::nullopt;
        const double v = number();
        ++at_;
        return v;
    }
    // A point of codes `code` and `code` + 10 here (then past it); the
    // following code + 20 (Z) is skipped as well.
    std::optional<Vec2> takePoint(int code) {
        if (done() || this->code() != code) return std::nullopt;
        Vec2 p{number(), 0};
        ++at_;
        if (const auto y = take(code + 10)) p.y = *y;
        (void)take(code + 20);
        return p;
    }
    // A count the record gives (of paths, edges, vertices ...), as far as
    // the tags left could hold it.
    std::size_t count(double n) const {
        if (!(n > 0)) return 0;
        return n < static_cast<double>(remaining()) ? static_cast<std::size_t>(n) : remaining();
    }
    std::size_t position() const { return at_; }
    std::size_t remaining() const { return done() ? 0 : tags_.size() - at_; }

private:
    const dxf::TagList& tags_;
    std::size_t at_;
};

}  // namespace kestrin::render
