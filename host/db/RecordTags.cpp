#include "host/db/RecordTags.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "base/TextCase.h"

namespace kestrin::db {
namespace {

constexpr int kMarker = 100;
constexpr int kExtendedData = 1001;

std::size_t dataEnd(const dxf::TagList& tags) {
    const std::size_t xdata = tags.find(kExtendedData);
    return xdata == dxf::TagList::npos ? tags.size() : xdata;
}

struct Range {
    std::size_t begin, end;
};

std::optional<Range> sectionRange(const dxf::Record& record, const Subclass& section) {
    const dxf::TagList& tags = record.tags;
    const std::size_t limit = dataEnd(tags);
    if (tags.find(kMarker) >= limit) return Range{0, limit};  // no markers: one section
    int seen = 0;
    for (std::size_t i = 0; i < limit; ++i) {
        if (tags[i].code != kMarker || tags[i].value != section.marker) continue;
        if (seen++ < section.occurrence) continue;
        std::size_t end = i + 1;
        while (end < limit && tags[end].code != kMarker) ++end;
        return Range{i + 1, end};
    }
    return std::nullopt;
}

// Place of `code` in the section's canonical order; -1 when it has none.
int rank(const Subclass& section, int code) {
    int r = 0;
    for (int c : section.order) {
        if (c == code) return r;
        ++r;
    }
    return -1;
}

std::size_t findIn(const dxf::TagList& tags, Range range, int code) {
    for (std::size_t i = range.begin; i < range.end; ++i)
        if (tags[i].code == code) return i;
    return dxf::TagList::npos;
}

}  // namespace

std::optional<std::string_view> tagValue(const dxf::Record& record, const Subclass& section, int code) {
    const auto range = sectionRange(record, section);
    if (!range) return std::nullopt;
    const std::size_t i = findIn(record.tags, *range, code);
    if (i == dxf::TagList::npos) return std::nullopt;
    return record.tags[i].value;
}

void setTag(dxf::Record& record, const Subclass& section, int code, std::string_view value) {
    auto range = sectionRange(record, section);
    if (!range) {
        // Add the missing marker (and any earlier occurrence of it) before the extended data.
        int present = 0;
        for (std::size_t i = 0; i < record.tags.size(); ++i)
            if (record.tags[i].code == kMarker && record.tags[i].value == section.marker) ++present;
        for (; present <= section.occurrence; ++present) record.tags.insert(dataEnd(record.tags), kMarker, section.marker);
        range = sectionRange(record, section);
    }
    const std::size_t found = findIn(record.tags, *range, code);
    if (found != dxf::TagList::npos) {
        record.tags.set(found, value);
        return;
    }
    // After the last tag that comes before it in the canonical order, else
    // before the first that comes after it; tags of unknown order are passed.
    const int wanted = rank(section, code);
    std::size_t at = dxf::TagList::npos;
    if (wanted >= 0) {
        for (std::size_t i = range->begin; i < range->end; ++i) {
            const int r = rank(section, record.tags[i].code);
            if (r >= 0 && r < wanted) at = i + 1;
        }
        for (std::size_t i = range->begin; at == dxf::TagList::npos && i < range->end; ++i)
            if (rank(section, record.tags[i].code) > wanted) at = i;
    }
    if (at == dxf::TagList::npos) at = range->end;
    record.tags.insert(at, code, value);
}

void removeTags(dxf::Record& record, const Subclass& section, int code) {
    const auto range = sectionRange(record, section);
    if (!range) return;
    for (std::size_t i = range->end; i > range->begin; --i)
        if (record.tags[i - 1].code == code) record.tags.erase(i - 1);
}

std::string formatReal(double value) {
    if (value == 0) return "0.0";  // also -0
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, result.ptr);
    if (text.find_first_of(".e") == std::string::npos) text += ".0";
    return text;
}

double toDegrees(double radians) {
    const double degrees = radians * 180.0 / 3.14159265358979323846;
    return std::round(degrees * 1e10) / 1e10;
}

std::optional<double> parseReal(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

std::optional<long long> parseInteger(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    long long value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

double realTag(const dxf::Record& record, const Subclass& section, int code, double fallback) {
    const auto text = tagValue(record, section, code);
    if (!text) return fallback;
    return parseReal(*text).value_or(fallback);
}

long long integerTag(const dxf::Record& record, const Subclass& section, int code, long long fallback) {
    const auto text = tagValue(record, section, code);
    if (!text) return fallback;
    return parseInteger(*text).value_or(fallback);
}

std::string stringTag(const dxf::Record& record, const Subclass& section, int code, std::string_view fallback) {
    return std::string(tagValue(record, section, code).value_or(fallback));
}

std::optional<AcGePoint3d> pointTag(const dxf::Record& record, const Subclass& section, int code) {
    const auto x = tagValue(record, section, code);
    const auto y = tagValue(record, section, code + 10);
    if (!x || !y) return std::nullopt;
    return AcGePoint3d(parseReal(*x).value_or(0), parseReal(*y).value_or(0), realTag(record, section, code + 20, 0));
}

void setRealTag(dxf::Record& record, const Subclass& section, int code, double value) {
    setTag(record, section, code, formatReal(value));
}

void setIntegerTag(dxf::Record& record, const Subclass& section, int code, long long value) {
    setTag(record, section, code, std::to_string(value));
}

void setPointTag(dxf::Record& record, const Subclass& section, int code, const AcGePoint3d& point) {
    setRealTag(record, section, code, point.x);
    setRealTag(record, section, code + 10, point.y);
    setRealTag(record, section, code + 20, point.z);
}

// In one pass that ends at the tag: most are asked for the handle, the first.
std::optional<std::string_view> headTag(const dxf::Record& record, int code) {
    for (const dxf::TagView t : record.tags) {
        if (t.code == kExtendedData) return std::nullopt;
        if (t.code == code) return t.value;
    }
    return std::nullopt;
}

void setHeadTag(dxf::Record& record, int code, std::string_view value, std::size_t at) {
    const std::size_t i = record.tags.find(code);
    if (i < dataEnd(record.tags)) {
        record.tags.set(i, value);
        return;
    }
    record.tags.insert(std::min(at, record.tags.size()), code, value);
}

std::string upperName(std::string_view name) { return upperCase(name); }

bool sameName(std::string_view a, std::string_view b) { return equalIgnoringCase(a, b); }

}  // namespace kestrin::db
