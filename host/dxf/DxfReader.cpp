// Reads ASCII DXF R2000 into a Document in one pass. Structure, group codes
// and values are checked as they are met; the document is returned only when
// the whole file was sound.

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <functional>
#include <set>

#include "base/Cp1251.h"
#include "host/dxf/CodePage.h"
#include "host/dxf/DxfFile.h"
#include "host/dxf/GroupCode.h"
#include "host/dxf/Handles.h"
#include "host/dxf/LineScanner.h"
#include "host/dxf/RecordChecks.h"
#include "platform/fs/FileSystem.h"

namespace kestrin::dxf {

using fs::MappedFile;

namespace {

constexpr std::size_t kReleaseStep = std::size_t{4} << 20;  // bytes parsed between page releases

// A value quoted for an error message: UTF-8, shortened, control bytes shown.
std::string quote(std::string_view value) {
    std::string shown;
    for (char c : value.substr(0, 40)) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", static_cast<unsigned char>(c));
            shown += buf;
        } else {
            shown.push_back(c);
        }
    }
    if (value.size() > 40) shown += "...";
    return "'" + shown + "'";
}

struct Tag {
    int code;
    std::string_view value;
    std::size_t line;  // of the code
};

class Reader {
public:
    Reader(std::string_view bytes, const std::string& name, std::function<void(std::size_t)> released)
        : lines_(bytes), name_(name), released_(std::move(released)) {}

    Document read();

private:
    [[noreturn]] void fail(std::size_t line, const std::string& what) const {
        throw DxfError(name_ + ": line " + std::to_string(line) + ": " + cp1251ToUtf8(what));
    }

    // The next tag, checked; false at the end of the text.
    bool nextTag(Tag& tag);
    Tag expectTag(const std::string& where);
    void readSection(const Tag& sectionTag);
    // Collects the tags up to the next group 0 tag into scratch_; answers it.
    Tag collectUntilZero(const std::string& where);
    Record takeRecord(const Tag& zero);
    void readHeader(const std::string& where);
    void readTables(Tag t);
    void readBlocks(Tag t);
    void readRecords(Tag t, std::vector<Record>& out, const std::string& section);
    void finishHeader(std::size_t sectionLine);
    void convertCodePage();
    void checkTrailer();
    void release(std::size_t keepFrom);
    void growFor(std::vector<Record>& out, std::size_t sectionStart) const;

    LineScanner lines_;
    const std::string& name_;
    std::function<void(std::size_t)> released_;
    std::size_t lastRelease_ = 0;
    std::size_t recordStart_ = 0;  // byte offset of the record being collected
    std::vector<TagView> scratch_;
    Document doc_;
    std::set<std::string> seen_;
};

bool Reader::nextTag(Tag& tag) {
    std::string_view codeLine;
    if (!lines_.next(codeLine)) return false;
    const std::size_t line = lines_.lineNumber();
    std::string_view digits = codeLine;
    while (!digits.empty() && digits.front() == ' ') digits.remove_prefix(1);
    while (!digits.empty() && digits.back() == ' ') digits.remove_suffix(1);
    int code = -1;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), code);
    if (digits.empty() || ec != std::errc{} || end != digits.data() + digits.size())
        fail(line, "expected a group code (an integer), found " + quote(codeLine));
    const ValueType type = valueTypeOf(code);
    if (type == ValueType::Unknown) fail(line, "group code " + std::to_string(code) + " is not a DXF group code");
    std::string_view value;
    if (!lines_.next(value))
        fail(line, "end of file after group code " + std::to_string(code) + ", expected its value on the next line");
    // A lone carriage return would end the line for other readers and could
    // not be written back.
    if (lines_.innerCr())
        fail(lines_.lineNumber(), "a carriage return inside the value of group code " + std::to_string(code));
    if (type != ValueType::String && !isValidValue(type, value))
        fail(lines_.lineNumber(), "expected " + std::string(describe(type)) + " for group code " +
                                      std::to_string(code) + ", found " + quote(value));
    tag = {code, value, line};
    return true;
}

Tag Reader::expectTag(const std::string& where) {
    Tag t;
    if (!nextTag(t)) fail(lines_.lineNumber() + 1, "end of file " + where);
    return t;
}

void Reader::release(std::size_t keepFrom) {
    if (released_ && keepFrom >= lastRelease_ + kReleaseStep) {
        released_(keepFrom);
        lastRelease_ = keepFrom;
    }
}

Tag Reader::collectUntilZero(const std::string& where) {
    scratch_.clear();
    for (;;) {
        Tag t = expectTag(where);
        if (t.code == 0) return t;
        scratch_.push_back({t.code, t.value});
    }
}

Record Reader::takeRecord(const Tag& zero) {
    Record r;
    r.type = std::string(zero.value);
    r.line = zero.line;
    r.tags = TagList::fromViews(scratch_);
    return r;
}

Document Reader::read() {
    std::string_view probe = lines_.rest();
    if (probe.starts_with("AutoCAD Binary DXF")) fail(1, "binary DXF is not supported, expected an ASCII DXF file");
    Tag t;
    if (!nextTag(t)) fail(1, "empty file, expected a DXF drawing starting with 0 SECTION");
    while (t.code == 999) {
        doc_.preamble.push(t.code, t.value);
        t = expectTag("before the first section, expected 0 SECTION");
    }
    for (;;) {
        if (t.code == 0 && t.value == "EOF") break;
        if (t.code != 0 || t.value != "SECTION")
            fail(t.line, "expected 0 SECTION or 0 EOF, found group code " + std::to_string(t.code) + " " + quote(t.value));
        readSection(t);
        t = expectTag("after ENDSEC, expected 0 SECTION or 0 EOF");
    }
    checkTrailer();
    if (!seen_.contains("HEADER")) fail(1, "the drawing has no HEADER section");
    if (auto f = findSelfContainingBlock(doc_.blocks)) fail(f->line, f->what);
    convertCodePage();
    repairHandleSeed(doc_);
    return std::move(doc_);
}

void Reader::checkTrailer() {
    std::string_view rest = lines_.rest();
    for (std::size_t i = 0; i < rest.size(); ++i) {
        const char c = rest[i];
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '\x1A')
            fail(lines_.lineNumber() + 1 + static_cast<std::size_t>(std::count(rest.begin(), rest.begin() + i, '\n')),
                 "unexpected content after 0 EOF");
    }
}

void Reader::readSection(const Tag& sectionTag) {
    const Tag nameTag = expectTag("after 0 SECTION, expected 2 and the section name");
    if (nameTag.code != 2)
        fail(nameTag.line, "expected group code 2 with the section name after 0 SECTION, found group code " +
                               std::to_string(nameTag.code));
    const std::string name(nameTag.value);
    if (name.empty()) fail(nameTag.line + 1, "empty section name");
    if (!seen_.insert(name).second) fail(nameTag.line, "second " + name + " section");
    doc_.order.push_back(name);
    const std::string where = "inside section " + name + ", expected ENDSEC";
    recordStart_ = lines_.offset();
    if (name == "HEADER") {
        readHeader(where);
        finishHeader(sectionTag.line);
        return;
    }
    const Tag first = collectUntilZero(where);
    if (!scratch_.empty())
        fail(nameTag.line + 2, "unexpected group code " + std::to_string(scratch_.front().code) + " in section " +
                                   name + ", expected 0 and a record");
    if (name == "TABLES") return readTables(first);
    if (name == "BLOCKS") return readBlocks(first);
    if (name == "CLASSES") return readRecords(first, doc_.classes, name);
    if (name == "ENTITIES") return readRecords(first, doc_.entities, name);
    if (name == "OBJECTS") return readRecords(first, doc_.objects, name);
    doc_.others.push_back({name, {}});
    readRecords(first, doc_.others.back().records, name);
}

// Tags that end a record but may never stand inside a section's records.
bool isStructureWord(std::string_view type) {
    return type == "SECTION" || type == "ENDSEC" || type == "EOF" || type == "TABLE" || type == "ENDTAB" ||
           type == "BLOCK" || type == "ENDBLK";
}

void Reader::readHeader(const std::string& where) {
    scratch_.clear();
    for (;;) {
        const Tag t = expectTag(where);
        if (t.code == 0) {
            if (t.value != "ENDSEC") fail(t.line, "expected 0 ENDSEC to end section HEADER, found 0 " + quote(t.value));
            break;
        }
        if (scratch_.empty() && t.code != 9)
            fail(t.line, "expected group code 9 with a variable name in section HEADER, found group code " +
                             std::to_string(t.code));
        if (t.code == 9 && !t.value.starts_with('$'))
            fail(t.line + 1, "expected a header variable name starting with '$', found " + quote(t.value));
        scratch_.push_back({t.code, t.value});
    }
    doc_.header = TagList::fromViews(scratch_);
}

void Reader::finishHeader(std::size_t sectionLine) {
    const TagList& h = doc_.header;
    const std::size_t ver = headerValueIndex(h, "$ACADVER");
    if (ver == TagList::npos) fail(sectionLine, "the HEADER section has no $ACADVER");
    if (h[ver].value != "AC1015")
        fail(sectionLine, "the drawing is DXF version " + quote(h[ver].value) + ", expected AC1015 (R2000)");
    const std::size_t cp = headerValueIndex(h, "$DWGCODEPAGE");
    if (cp != TagList::npos) {
        doc_.codePage = std::string(h[cp].value);
        if (!CodePageConverter::forName(doc_.codePage))
            fail(sectionLine, "unsupported code page " + quote(doc_.codePage) +
                                  " in $DWGCODEPAGE, expected a single-byte ANSI_xxxx code page");
    }
}

void Reader::readTables(Tag t) {
    for (;;) {
        if (t.value == "ENDSEC") return;
        if (t.value != "TABLE") fail(t.line, "expected 0 TABLE or 0 ENDSEC in section TABLES, found 0 " + quote(t.value));
        recordStart_ = lines_.offset();
        Tag next = collectUntilZero("inside section TABLES, expected ENDTAB");
        Table table;
        table.head = takeRecord(t);
        const std::size_t n = table.head.tags.find(2);
        if (n == TagList::npos) fail(t.line, "TABLE without a name (group code 2)");
        const std::string tableName(table.head.tags[n].value);
        const std::string where = "inside table " + tableName + ", expected ENDTAB";
        while (next.value != "ENDTAB") {
            if (isStructureWord(next.value))
                fail(next.line, "expected a " + tableName + " entry or 0 ENDTAB, found 0 " + quote(next.value));
            release(recordStart_);
            recordStart_ = lines_.offset();
            const Tag entry = next;
            next = collectUntilZero(where);
            table.entries.push_back(takeRecord(entry));
        }
        const Tag endtab = next;
        next = collectUntilZero("inside section TABLES, expected ENDSEC");
        if (!scratch_.empty()) fail(endtab.line + 2, "unexpected group code after 0 ENDTAB, expected 0");
        doc_.tables.push_back(std::move(table));
        t = next;
    }
}

void Reader::readBlocks(Tag t) {
    for (;;) {
        if (t.value == "ENDSEC") return;
        if (t.value != "BLOCK") fail(t.line, "expected 0 BLOCK or 0 ENDSEC in section BLOCKS, found 0 " + quote(t.value));
        recordStart_ = lines_.offset();
        Tag next = collectUntilZero("inside section BLOCKS, expected ENDBLK");
        Block block;
        block.begin = takeRecord(t);
        const std::size_t n = block.begin.tags.find(2);
        if (n == TagList::npos) fail(t.line, "BLOCK without a name (group code 2)");
        const std::string where = "inside block " + quote(block.begin.tags[n].value) + ", expected ENDBLK";
        while (next.value != "ENDBLK") {
            if (isStructureWord(next.value))
                fail(next.line, "expected an entity or 0 ENDBLK in block " + quote(block.begin.tags[n].value) +
                                    ", found 0 " + quote(next.value));
            release(recordStart_);
            recordStart_ = lines_.offset();
            const Tag entity = next;
            next = collectUntilZero(where);
            block.entities.push_back(takeRecord(entity));
            if (auto f = checkCounts(block.entities.back())) fail(f->line, f->what);
        }
        const Tag endblk = next;
        next = collectUntilZero("inside section BLOCKS, expected ENDSEC");
        block.end = takeRecord(endblk);
        doc_.blocks.push_back(std::move(block));
        t = next;
    }
}

// Doubling a vector of a million records moves them all again and faults in
// fresh pages each time; once a section has shown its average record size,
// room for what the rest of the file can hold is taken in one step.
void Reader::growFor(std::vector<Record>& out, std::size_t sectionStart) const {
    if (out.size() < out.capacity() || out.size() < 4096) return;
    const double perRecord = static_cast<double>(lines_.offset() - sectionStart) / static_cast<double>(out.size());
    const double more = static_cast<double>(lines_.size() - lines_.offset()) / perRecord;
    out.reserve(out.size() + static_cast<std::size_t>(more * 1.05) + 1024);
}

void Reader::readRecords(Tag t, std::vector<Record>& out, const std::string& section) {
    const std::string where = "inside section " + section + ", expected ENDSEC";
    const std::size_t sectionStart = lines_.offset();
    const bool entities = section == "ENTITIES";
    while (t.value != "ENDSEC") {
        if (isStructureWord(t.value) || t.value.empty())
            fail(t.line, "expected a record or 0 ENDSEC in section " + section + ", found 0 " + quote(t.value));
        if (section == "CLASSES" && t.value != "CLASS")
            fail(t.line, "expected 0 CLASS or 0 ENDSEC in section CLASSES, found 0 " + quote(t.value));
        release(recordStart_);
        recordStart_ = lines_.offset();
        const Tag zero = t;
        t = collectUntilZero(where);
        growFor(out, sectionStart);
        out.push_back(takeRecord(zero));
        if (entities)
            if (auto f = checkCounts(out.back())) fail(f->line, f->what);
    }
    // The estimate counted later sections too; give back a large surplus.
    if (out.capacity() > out.size() + out.size() / 4 + 4096) out.shrink_to_fit();
}

void Reader::convertCodePage() {
    const auto conv = CodePageConverter::forName(doc_.codePage);
    if (!conv || conv->isIdentity()) return;
    std::string buffer;
    std::vector<std::string> values;
    std::vector<TagView> views;
    auto convertList = [&](TagList& list) {
        bool any = false;
        for (const TagView t : list) any = any || conv->needsConversion(t.value);
        if (!any) return;
        values.clear();
        views.clear();
        for (const TagView t : list) {
            buffer.clear();
            conv->convert(t.value, buffer);
            values.push_back(buffer);
        }
        std::size_t i = 0;
        for (const TagView t : list) views.push_back({t.code, values[i++]});
        list = TagList::fromViews(views);
    };
    auto convertRecord = [&](Record& r) {
        if (conv->needsConversion(r.type)) {
            buffer.clear();
            conv->convert(r.type, buffer);
            r.type = buffer;
        }
        convertList(r.tags);
    };
    auto convertAll = [&](std::vector<Record>& records) {
        for (Record& r : records) convertRecord(r);
    };
    convertList(doc_.preamble);
    convertList(doc_.header);
    convertAll(doc_.classes);
    for (Table& t : doc_.tables) {
        convertRecord(t.head);
        convertAll(t.entries);
    }
    for (Block& b : doc_.blocks) {
        convertRecord(b.begin);
        convertAll(b.entities);
        convertRecord(b.end);
    }
    convertAll(doc_.entities);
    convertAll(doc_.objects);
    for (RawSection& s : doc_.others) {
        buffer.clear();
        conv->convert(s.name, buffer);
        for (std::string& o : doc_.order)
            if (o == s.name) o = buffer;
        s.name = buffer;
        convertAll(s.records);
    }
    const std::size_t cp = headerValueIndex(doc_.header, "$DWGCODEPAGE");
    if (cp != TagList::npos) doc_.header.set(cp, "ANSI_1251");
}

}  // namespace

Document readDxf(std::string_view bytes, const std::string& name) { return Reader(bytes, name, nullptr).read(); }

Document readDxfFile(const std::string& path) {
    auto file = fs::FileSystem::current().mapFile(path);
    if (!file) throw DxfError(file.error().message());
    // The reader tells how far it got, so the pages behind it can go.
    MappedFile& mapped = **file;
    return Reader(mapped.bytes(), path, [&mapped](std::size_t keepFrom) { mapped.consumed(keepFrom); }).read();
}

}  // namespace kestrin::dxf
