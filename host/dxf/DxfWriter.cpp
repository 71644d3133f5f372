// Writes a Document as ASCII DXF: sections in the order read, every record
// and tag as held, group codes right-aligned in three columns, LF line ends.

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <functional>

#include "base/Cp1251.h"
#include "host/dxf/DxfFile.h"
#include "host/dxf/GroupCode.h"
#include "host/dxf/Handles.h"
#include "platform/fs/FileSystem.h"

namespace kestrin::dxf {

namespace {

constexpr std::size_t kFlushBytes = 1 << 20;

class Writer {
public:
    // `flush` takes the text written so far; without it the text stays in out().
    explicit Writer(std::function<void(std::string_view)> flush) : flush_(std::move(flush)) {
        if (flush_) out_.reserve(kFlushBytes + 4096);
    }

    void write(const Document& doc);
    std::string& out() { return out_; }
    void finish() {
        if (flush_ && !out_.empty()) flush_(out_);
        if (flush_) out_.clear();
    }

private:
    void code(int c) {
        char buf[8];
        const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, c);
        const auto n = static_cast<std::size_t>(end - buf);
        if (n < 3) out_.append(3 - n, ' ');
        out_.append(buf, n);
        out_.push_back('\n');
    }
    // A tag the reader would refuse is refused here, so that nothing is saved
    // that cannot be opened again.
    void value(std::string_view v, int c, std::string_view owner) {
        if (v.find_first_of("\r\n") != std::string_view::npos)
            throw DxfError("cannot write " + cp1251ToUtf8(owner) + ": the value of group code " + std::to_string(c) +
                           " holds a line break, which would break the file");
        const ValueType type = valueTypeOf(c);
        if (type == ValueType::Unknown)
            throw DxfError("cannot write " + cp1251ToUtf8(owner) + ": group code " + std::to_string(c) +
                           " is not a DXF group code");
        if (type != ValueType::String && !isValidValue(type, v))
            throw DxfError("cannot write " + cp1251ToUtf8(owner) + ": group code " + std::to_string(c) + " needs " +
                           std::string(describe(type)) + ", the value is '" + cp1251ToUtf8(v.substr(0, 40)) + "'");
        out_.append(v);
        out_.push_back('\n');
    }
    void tag(int c, std::string_view v, std::string_view owner) {
        code(c);
        value(v, c, owner);
    }
    void tags(const TagList& list, std::string_view owner) {
        for (const TagView t : list) tag(t.code, t.value, owner);
    }
    void record(const Record& r) {
        tag(0, r.type, r.type);
        tags(r.tags, r.type);
        maybeFlush();
    }
    void records(const std::vector<Record>& rs) {
        for (const Record& r : rs) record(r);
    }
    void maybeFlush() {
        if (flush_ && out_.size() >= kFlushBytes) {
            flush_(out_);
            out_.clear();
        }
    }
    void header(const TagList& h);
    void section(const Document& doc, const std::string& name);

    std::function<void(std::string_view)> flush_;
    std::string out_;
};

void Writer::header(const TagList& h) {
    // The text is CP1251 whatever the document says, so the header says so.
    const std::size_t cp = headerValueIndex(h, "$DWGCODEPAGE");
    std::size_t i = 0;
    for (const TagView t : h) {
        tag(t.code, i == cp ? std::string_view("ANSI_1251") : t.value, "HEADER");
        ++i;
    }
}

void Writer::section(const Document& doc, const std::string& name) {
    tag(0, "SECTION", name);
    tag(2, name, name);
    if (name == "HEADER") {
        header(doc.header);
    } else if (name == "CLASSES") {
        records(doc.classes);
    } else if (name == "TABLES") {
        for (const Table& t : doc.tables) {
            record(t.head);
            records(t.entries);
            tag(0, "ENDTAB", name);
        }
    } else if (name == "BLOCKS") {
        for (const Block& b : doc.blocks) {
            record(b.begin);
            records(b.entities);
            record(b.end.type.empty() ? Record{"ENDBLK", {}, 0} : b.end);
        }
    } else if (name == "ENTITIES") {
        records(doc.entities);
    } else if (name == "OBJECTS") {
        records(doc.objects);
    } else {
        for (const RawSection& s : doc.others)
            if (s.name == name) records(s.records);
    }
    tag(0, "ENDSEC", name);
}

void Writer::write(const Document& doc) {
    tags(doc.preamble, "the comments");
    // Sections in the order read; a section that holds data but is missing
    // from the order (a document built by hand) is still written.
    // A name given twice is written once: a second section would not read.
    std::vector<std::string> order;
    auto listed = [&](const std::string& n) { return std::find(order.begin(), order.end(), n) != order.end(); };
    for (const std::string& n : doc.order)
        if (!listed(n)) order.push_back(n);
    const std::pair<const char*, bool> standard[] = {
        {"HEADER", !doc.header.empty()},    {"CLASSES", !doc.classes.empty()},   {"TABLES", !doc.tables.empty()},
        {"BLOCKS", !doc.blocks.empty()},    {"ENTITIES", !doc.entities.empty()}, {"OBJECTS", !doc.objects.empty()}};
    for (const auto& [n, has] : standard)
        if (has && !listed(n)) order.push_back(n);
    for (const RawSection& s : doc.others)
        if (!listed(s.name)) order.push_back(s.name);
    for (const std::string& name : order) section(doc, name);
    tag(0, "EOF", "EOF");
}

}  // namespace

std::string writeDxf(const Document& doc) {
    Writer w(nullptr);
    w.write(doc);
    return std::move(w.out());
}

void saveDxfFile(const Document& doc, const std::string& path) {
    fs::Status saved = fs::FileSystem::current().writeAtomically(path, [&doc](const fs::ByteSink& sink) {
        Writer w(sink);
        w.write(doc);
        w.finish();
    });
    if (!saved) throw DxfError("cannot save " + path + ": " + saved.error().action + ": " + saved.error().reason);
}

}  // namespace kestrin::dxf
