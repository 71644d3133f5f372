#include "host/dxf/Handles.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>

namespace kestrin::dxf {

std::optional<std::uint64_t> parseHandle(std::string_view hex) {
    if (hex.empty() || hex.size() > 16) return std::nullopt;
    std::uint64_t v = 0;
    const auto [end, ec] = std::from_chars(hex.data(), hex.data() + hex.size(), v, 16);
    if (ec != std::errc{} || end != hex.data() + hex.size()) return std::nullopt;
    return v;
}

std::string formatHandle(std::uint64_t handle) {
    char buf[17];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, handle, 16);
    std::string s(buf, end);
    std::transform(s.begin(), s.end(), s.begin(), [](char c) { return c >= 'a' && c <= 'f' ? static_cast<char>(c - 32) : c; });
    return s;
}

std::size_t headerValueIndex(const TagList& header, std::string_view name) {
    for (std::size_t i = header.find(9); i != TagList::npos; i = header.find(9, i + 1))
        if (header[i].value == name) return i + 1 < header.size() && header[i + 1].code != 9 ? i + 1 : TagList::npos;
    return TagList::npos;
}

namespace {

void raise(std::uint64_t& max, const TagList& tags) {
    for (const TagView t : tags)
        if (t.code == 5 || t.code == 105)
            if (auto h = parseHandle(t.value)) max = std::max(max, *h);
}

void raise(std::uint64_t& max, const std::vector<Record>& records) {
    for (const Record& r : records) raise(max, r.tags);
}

}  // namespace

std::uint64_t maxHandle(const Document& doc) {
    std::uint64_t max = 0;
    raise(max, doc.classes);
    for (const Table& t : doc.tables) {
        raise(max, t.head.tags);
        raise(max, t.entries);
    }
    for (const Block& b : doc.blocks) {
        raise(max, b.begin.tags);
        raise(max, b.entities);
        raise(max, b.end.tags);
    }
    raise(max, doc.entities);
    raise(max, doc.objects);
    for (const RawSection& s : doc.others) raise(max, s.records);
    return max;
}

std::uint64_t handleSeed(const Document& doc) {
    const std::size_t i = headerValueIndex(doc.header, "$HANDSEED");
    if (i == TagList::npos) return 0;
    return parseHandle(doc.header[i].value).value_or(0);
}

void setHandleSeed(Document& doc, std::uint64_t seed) {
    const std::size_t i = headerValueIndex(doc.header, "$HANDSEED");
    if (i != TagList::npos && doc.header[i].code == 5) {
        doc.header.set(i, formatHandle(seed));
    } else if (i != TagList::npos) {  // a seed under a wrong group code takes the right one
        doc.header.erase(i);
        doc.header.insert(i, 5, formatHandle(seed));
    } else {
        doc.header.push(9, "$HANDSEED");
        doc.header.push(5, formatHandle(seed));
    }
}

void repairHandleSeed(Document& doc) {
    const std::uint64_t max = maxHandle(doc);
    if (handleSeed(doc) <= max) setHandleSeed(doc, max == UINT64_MAX ? max : max + 1);
}

std::uint64_t nextHandle(Document& doc) {
    const std::uint64_t h = std::max<std::uint64_t>(handleSeed(doc), 1);
    if (h == UINT64_MAX) throw std::overflow_error("no handles left");
    setHandleSeed(doc, h + 1);
    return h;
}

}  // namespace kestrin::dxf
