#include "host/dxf/RecordChecks.h"

#include <cctype>
#include <charconv>
#include <unordered_map>

#include "base/TextCase.h"

namespace kestrin::dxf {

namespace {

std::optional<long long> intValue(const TagList& tags, int code) {
    const std::size_t i = tags.find(code);
    if (i == TagList::npos) return std::nullopt;
    std::string_view v = tags[i].value;
    while (!v.empty() && v.front() == ' ') v.remove_prefix(1);
    if (!v.empty() && v.front() == '+') v.remove_prefix(1);
    long long n = 0;
    const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
    if (ec != std::errc{}) return std::nullopt;
    (void)end;
    return n;
}

std::size_t countCode(const TagList& tags, int code) {
    std::size_t n = 0;
    for (const TagView t : tags) n += t.code == code;
    return n;
}

std::optional<CheckFailure> compare(const Record& r, int countCode_, int itemCode, const char* items) {
    const auto declared = intValue(r.tags, countCode_);
    if (!declared) return std::nullopt;
    const std::size_t held = countCode(r.tags, itemCode);
    if (*declared >= 0 && static_cast<std::size_t>(*declared) == held) return std::nullopt;
    return CheckFailure{r.line, r.type + " declares " + std::to_string(*declared) + " " + items + " (group code " +
                                    std::to_string(countCode_) + ") but holds " + std::to_string(held) +
                                    " (group code " + std::to_string(itemCode) + ")"};
}

// Block names match without case, Cyrillic letters included.
std::string upper(std::string_view s) { return upperCase(s); }

}  // namespace

std::optional<CheckFailure> checkCounts(const Record& r) {
    if (r.type == "LWPOLYLINE") return compare(r, 90, 10, "vertices");
    if (r.type == "LEADER") return compare(r, 76, 10, "vertices");
    if (r.type == "SPLINE") {
        if (auto f = compare(r, 72, 40, "knots")) return f;
        if (auto f = compare(r, 73, 10, "control points")) return f;
        return compare(r, 74, 11, "fit points");
    }
    return std::nullopt;
}

std::optional<CheckFailure> findSelfContainingBlock(const std::vector<Block>& blocks) {
    struct Ref {
        std::string target;
        std::size_t line;
    };
    std::unordered_map<std::string, std::vector<Ref>> refs;  // block -> blocks it inserts
    std::vector<std::string> names;
    for (const Block& b : blocks) {
        const std::size_t at = b.begin.tags.find(2);
        const std::string name = at == TagList::npos ? std::string() : upper(b.begin.tags[at].value);
        names.push_back(name);
        auto& list = refs[name];
        for (const Record& e : b.entities) {
            if (e.type != "INSERT" && e.type != "DIMENSION") continue;
            const std::size_t t = e.tags.find(2);
            if (t != TagList::npos) list.push_back({upper(e.tags[t].value), e.line});
        }
    }
    // Depth-first search with an explicit stack, so deep nesting cannot
    // exhaust the call stack.
    enum class Mark { None, Open, Done };
    std::unordered_map<std::string, Mark> mark;
    for (const std::string& start : names) {
        if (mark[start] != Mark::None) continue;
        struct Frame {
            std::string name;
            std::size_t next;
        };
        std::vector<Frame> stack{{start, 0}};
        mark[start] = Mark::Open;
        while (!stack.empty()) {
            Frame& top = stack.back();
            const auto it = refs.find(top.name);
            if (it == refs.end() || top.next >= it->second.size()) {
                mark[top.name] = Mark::Done;
                stack.pop_back();
                continue;
            }
            const Ref& ref = it->second[top.next++];
            if (!refs.contains(ref.target)) continue;  // not a block of this drawing
            Mark& m = mark[ref.target];
            if (m == Mark::Open) {
                std::string path;
                bool on = false;
                for (const Frame& f : stack) {
                    on = on || f.name == ref.target;
                    if (on) path += f.name + " -> ";
                }
                return CheckFailure{ref.line, "block '" + ref.target + "' contains itself (" + path + ref.target + ")"};
            }
            if (m == Mark::None) {
                m = Mark::Open;
                stack.push_back({ref.target, 0});
            }
        }
    }
    return std::nullopt;
}

}  // namespace kestrin::dxf
