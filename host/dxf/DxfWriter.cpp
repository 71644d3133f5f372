// Writes a Document in the form it was read in: ASCII or binary, its version,
// its encoding, its line ends and its code layout; sections in the order read,
// and every tag the file wrote in its own way (Verbatim) as it was.

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <functional>

#include "base/Cp1251.h"
#include "host/dxf/BinaryTags.h"
#include "host/dxf/DxfFile.h"
#include "host/dxf/GroupCode.h"
#include "host/dxf/Handles.h"
#include "host/dxf/TextEncoding.h"
#include "platform/fs/FileSystem.h"

namespace kestrin::dxf {

namespace {

constexpr std::size_t kFlushBytes = 1 << 20;

// The tags of one record (or of the header) that the file wrote otherwise.
class Deviations {
public:
    Deviations() = default;
    explicit Deviations(const std::vector<Verbatim::Tag>* tags) : tags_(tags) {}
    // The deviation of tag `index`; indexes are asked in rising order.
    const Verbatim::Tag* at(std::uint32_t index) {
        if (tags_ == nullptr) return nullptr;
        while (next_ < tags_->size() && (*tags_)[next_].index < index) ++next_;
        return next_ < tags_->size() && (*tags_)[next_].index == index ? &(*tags_)[next_] : nullptr;
    }

private:
    const std::vector<Verbatim::Tag>* tags_ = nullptr;
    std::size_t next_ = 0;
};

bool hasLineBreak(std::string_view v) {
    for (char c : v)
        if (c == '\n' || c == '\r') return true;
    return false;
}

// The code of a code line as read, or -1.
int codeOf(std::string_view line) {
    while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    while (!line.empty() && line.back() == ' ') line.remove_suffix(1);
    int code = -1;
    const auto [end, ec] = std::from_chars(line.data(), line.data() + line.size(), code);
    return ec == std::errc{} && end == line.data() + line.size() ? code : -1;
}

std::string encodingOf(const Document& doc, TextEncoding& out) {
    const auto version = versionByAcadver(doc.format.version);
    if (!version) return "the drawing's version '" + doc.format.version + "' is not one the host writes";
    const std::size_t cp = headerValueIndex(doc.header, "$DWGCODEPAGE");
    const std::string_view page = cp == TagList::npos ? std::string_view() : doc.header[cp].value;
    const auto encoding = TextEncoding::forFile(*version, page);
    if (!encoding) return "the code page '" + cp1251ToUtf8(page) + "' of $DWGCODEPAGE is not one the host converts";
    out = *encoding;
    return {};
}

class Writer {
public:
    // `flush` takes the bytes written so far; without it they stay in out().
    Writer(const Document& doc, std::function<void(std::string_view)> flush)
        : doc_(doc), flush_(std::move(flush)), binary_(doc.format.form == DxfForm::Binary) {
        if (flush_) out_.reserve(kFlushBytes + 4096);
        if (const std::string why = encodingOf(doc, encoding_); !why.empty()) throw DxfError("cannot write the drawing: " + why);
        lineEnd_ = doc.format.crlf ? "\r\n" : "\n";
        threeColumns_ = doc.format.codes == CodeLayout{};
    }

    void write();
    std::string& out() { return out_; }
    void finish() {
        if (flush_ && !out_.empty()) flush_(out_);
        if (flush_) out_.clear();
    }

private:
    [[noreturn]] static void refuse(std::string_view owner, const std::string& what) {
        throw DxfError("cannot write " + cp1251ToUtf8(owner) + ": " + what);
    }

    void code(int c, const Verbatim::Tag* d) {
        if (d != nullptr && !d->codeText.empty() && codeOf(d->codeText) == c) {
            out_.append(d->codeText);
        } else if (threeColumns_ && c >= 0 && c < 1000) {
            // Nearly every file: the code right-aligned in three columns.
            const char line[3] = {c >= 100 ? static_cast<char>('0' + c / 100) : ' ',
                                  c >= 10 ? static_cast<char>('0' + c / 10 % 10) : ' ', static_cast<char>('0' + c % 10)};
            out_.append(line, 3);
        } else {
            char buf[kCodeLineBuffer];
            out_.append(codeLineText(c, doc_.format.codes, buf));
        }
        out_.append(lineEnd_);
    }

    // A tag the reader would refuse is refused here, so that nothing is saved
    // that cannot be opened again.
    void tag(int c, std::string_view v, std::string_view owner, const Verbatim::Tag* d = nullptr) {
        if (hasLineBreak(v))
            refuse(owner, "the value of group code " + std::to_string(c) + " holds a line break, which would break the file");
        const ValueType type = valueTypeIn(owner, c);
        if (type == ValueType::Unknown) refuse(owner, "group code " + std::to_string(c) + " is not a DXF group code");
        if (type != ValueType::String && !isValidValue(type, v))
            refuse(owner, "group code " + std::to_string(c) + " needs " + std::string(describe(type)) + ", the value is '" +
                              cp1251ToUtf8(v.substr(0, 40)) + "'");
        std::string_view bytes = v;
        if (type == ValueType::String) {
            if (d != nullptr && d->keepsValue && d->value == v) {
                bytes = d->raw;
            } else if (!encoding_.isIdentity()) {
                encoded_.clear();
                encoding_.encode(v, encoded_);
                bytes = encoded_;
            }
        }
        if (binary_) {
            const std::string why = appendBinaryTag(out_, doc_.format.binaryCodeBytes, c, type, bytes);
            if (!why.empty()) refuse(owner, "group code " + std::to_string(c) + ": " + why);
            return;
        }
        code(c, d);
        out_.append(bytes);
        out_.append(lineEnd_);
    }

    void tags(const TagList& list, std::string_view owner, Deviations deviations, std::uint32_t first) {
        std::uint32_t i = first;
        for (const TagView t : list) {
            tag(t.code, t.value, owner, deviations.at(i));
            ++i;
        }
    }

    void record(const Record& r) {
        Deviations deviations(deviationsOf(r));
        tag(0, r.type, r.type, deviations.at(0));
        tags(r.tags, r.type, deviations, 1);
        maybeFlush();
    }
    void records(const std::vector<Record>& rs) {
        for (const Record& r : rs) record(r);
    }
    const std::vector<Verbatim::Tag>* deviationsOf(const Record& r) const {
        if (!doc_.verbatim || r.line == 0) return nullptr;
        const auto it = doc_.verbatim->records.find(r.line);
        return it == doc_.verbatim->records.end() ? nullptr : &it->second;
    }
    void maybeFlush() {
        if (flush_ && out_.size() >= kFlushBytes) {
            flush_(out_);
            out_.clear();
        }
    }
    void section(const std::string& name);

    const Document& doc_;
    std::function<void(std::string_view)> flush_;
    bool binary_;
    TextEncoding encoding_;
    std::string_view lineEnd_;
    bool threeColumns_ = true;
    std::string out_;
    std::string encoded_;
};

void Writer::section(const std::string& name) {
    tag(0, "SECTION", name);
    tag(2, name, name);
    if (name == "HEADER") {
        tags(doc_.header, "HEADER", Deviations(doc_.verbatim ? &doc_.verbatim->header : nullptr), 0);
    } else if (name == "CLASSES") {
        records(doc_.classes);
    } else if (name == "TABLES") {
        for (const Table& t : doc_.tables) {
            record(t.head);
            records(t.entries);
            tag(0, "ENDTAB", name);
        }
    } else if (name == "BLOCKS") {
        for (const Block& b : doc_.blocks) {
            record(b.begin);
            records(b.entities);
            record(b.end.type.empty() ? Record{"ENDBLK", {}, 0} : b.end);
        }
    } else if (name == "ENTITIES") {
        records(doc_.entities);
    } else if (name == "OBJECTS") {
        records(doc_.objects);
    } else {
        for (const RawSection& s : doc_.others)
            if (s.name == name) records(s.records);
    }
    tag(0, "ENDSEC", name);
}

void Writer::write() {
    if (binary_) out_.append(kBinarySentinel);
    else if (doc_.format.byteOrderMark) out_.append("\xEF\xBB\xBF");
    tags(doc_.preamble, "the comments", Deviations(doc_.verbatim ? &doc_.verbatim->preamble : nullptr), 0);
    // Sections in the order read; a section that holds data but is missing
    // from the order (a document built by hand, a table added to a drawing
    // that had none) goes before the first standard section that follows it.
    // A name given twice is written once: a second section would not read.
    std::vector<std::string> order;
    auto listed = [&](const std::string& n) { return std::find(order.begin(), order.end(), n) != order.end(); };
    for (const std::string& n : doc_.order)
        if (!listed(n)) order.push_back(n);
    const std::pair<std::string, bool> standard[] = {
        {"HEADER", !doc_.header.empty()},    {"CLASSES", !doc_.classes.empty()},   {"TABLES", !doc_.tables.empty()},
        {"BLOCKS", !doc_.blocks.empty()},    {"ENTITIES", !doc_.entities.empty()}, {"OBJECTS", !doc_.objects.empty()}};
    for (std::size_t i = 0; i < std::size(standard); ++i) {
        if (!standard[i].second || listed(standard[i].first)) continue;
        auto at = order.end();
        for (std::size_t later = i + 1; later < std::size(standard) && at == order.end(); ++later)
            at = std::find(order.begin(), order.end(), standard[later].first);
        order.insert(at, standard[i].first);
    }
    for (const RawSection& s : doc_.others)
        if (!listed(s.name)) order.push_back(s.name);
    for (const std::string& name : order) section(name);
    if (binary_) {
        tag(0, "EOF", "EOF");
    } else {
        code(0, nullptr);
        out_.append("EOF");
        if (doc_.format.eofLineEnd) out_.append(lineEnd_);
    }
    out_.append(doc_.format.tail);
}

}  // namespace

std::string writeDxf(const Document& doc) {
    Writer w(doc, nullptr);
    w.write();
    return std::move(w.out());
}

void saveDxfFile(const Document& doc, const std::string& path) {
    fs::Status saved = fs::FileSystem::current().writeAtomically(path, [&doc](const fs::ByteSink& sink) {
        Writer w(doc, sink);
        w.write();
        w.finish();
    });
    if (!saved) throw DxfError("cannot save " + path + ": " + saved.error().action + ": " + saved.error().reason);
}

}  // namespace kestrin::dxf
