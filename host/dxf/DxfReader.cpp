// Reads DXF files, ASCII or binary, of every version from R10 to R2018 into a
// Document in one pass. Structure, group codes and values are checked as they
// are met; the document is returned only when the whole file was sound.

#include <algorithm>
#include <charconv>
#include <cstring>
#include <functional>
#include <deque>
#include <set>

#include "base/Cp1251.h"
#include "host/dxf/BinaryTags.h"
#include "host/dxf/DxfFile.h"
#include "host/dxf/GroupCode.h"
#include "host/dxf/Handles.h"
#include "host/dxf/LineScanner.h"
#include "host/dxf/RecordChecks.h"
#include "host/dxf/TextArena.h"
#include "host/dxf/TextEncoding.h"
#include "platform/fs/FileSystem.h"

namespace kestrin::dxf {

using fs::MappedFile;

namespace {

constexpr std::size_t kReleaseStep = std::size_t{1} << 20;  // bytes parsed between page releases
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

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

// A tag as a file holds it.
struct RawTag {
    int code = 0;
    ValueType type = ValueType::Unknown;
    std::string_view value;      // the file's bytes (numbers of a binary file as text)
    std::size_t pos = 0;         // of the code: its line, or its byte offset
    std::size_t valuePos = 0;    // of the value
    std::string_view codeText;   // ASCII: the code line as written, when it is not in the file's layout
};

using Fail = std::function<void(std::size_t, const std::string&)>;

// The tags of an ASCII file: a code line, then a value line.
class AsciiSource {
public:
    AsciiSource(std::string_view text, const Fail& fail) : lines_(text), fail_(fail) {}

    [[gnu::always_inline]] bool read(RawTag& tag, TextArena&) {
        std::string_view codeLine;
        if (!lines_.next(codeLine)) return false;
        const std::size_t line = lines_.lineNumber();
        if (line == 1) crlf_ = lines_.sawCrlf();
        int code = -1;
        bool regular;
        if (!threeColumns(codeLine, code)) {
            std::string_view digits = codeLine;
            while (!digits.empty() && digits.front() == ' ') digits.remove_prefix(1);
            while (!digits.empty() && digits.back() == ' ') digits.remove_suffix(1);
            const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), code);
            if (digits.empty() || ec != std::errc{} || end != digits.data() + digits.size())
                fail_(line, "expected a group code (an integer), found " + quote(codeLine));
            // The first 0 tag shows how the file lays out its codes.
            if (code == 0 && !layoutKnown_) {
                layout_.width = static_cast<int>(codeLine.size());
                layout_.leftAligned = codeLine.front() != ' ' && codeLine.size() > 1;
            }
            regular = inLayout(codeLine, digits);
        } else {
            const int n = code < 10 ? 1 : code < 100 ? 2 : 3, lead = 3 - n;
            const int pad = layout_.width > n ? layout_.width - n : 0;
            regular = layout_.leftAligned ? lead == 0 && pad == 0 : lead == pad;
        }
        if (code == 0) layoutKnown_ = true;
        const ValueType type = code == 5 && inDimStyle_ ? ValueType::String : valueTypeOf(code);
        if (type == ValueType::Unknown) fail_(line, "group code " + std::to_string(code) + " is not a DXF group code");
        std::string_view value;
        if (!lines_.next(value))
            fail_(line, "end of file after group code " + std::to_string(code) + ", expected its value on the next line");
        // A lone carriage return would end the line for other readers and could
        // not be written back.
        if (lines_.innerCr())
            fail_(lines_.lineNumber(), "a carriage return inside the value of group code " + std::to_string(code));
        if (type != ValueType::String && !isValidValue(type, value))
            fail_(lines_.lineNumber(), "expected " + std::string(describe(type)) + " for group code " +
                                           std::to_string(code) + ", found " + quote(value));
        tag.code = code;
        tag.type = type;
        tag.value = value;
        tag.pos = line;
        tag.valuePos = line + 1;
        tag.codeText = regular ? std::string_view() : codeLine;
        return true;
    }

    // The record whose tags come next: value types may depend on it.
    void enterRecord(std::string_view type) { inDimStyle_ = type == "DIMSTYLE"; }
    std::size_t offset() const { return lines_.offset(); }
    std::size_t size() const { return lines_.size(); }
    std::string_view rest() const { return lines_.rest(); }
    std::size_t nextPos() const { return lines_.lineNumber() + 1; }
    // Where byte `i` of rest() stands.
    std::size_t posInRest(std::size_t i) const {
        const std::string_view r = rest();
        return lines_.lineNumber() + 1 + static_cast<std::size_t>(std::count(r.begin(), r.begin() + static_cast<std::ptrdiff_t>(i), '\n'));
    }
    // True when the last line read ended with a line end.
    bool lastLineEnded() const { return lines_.offset() > 0 && lines_.text()[lines_.offset() - 1] == '\n'; }
    void noteFormat(FileFormat& format) const {
        format.form = DxfForm::Ascii;
        format.crlf = crlf_;
        format.codes = layout_;
    }

private:
    // The code of a line right-aligned in three columns ("  0", " 10",
    // "100"), the way nearly every file writes its codes; false for any other.
    static bool threeColumns(std::string_view line, int& code) {
        if (line.size() != 3) return false;
        const auto digit = [](char c) { return c >= '0' && c <= '9'; };
        const char a = line[0], b = line[1], c = line[2];
        if (!digit(c)) return false;
        if (a == ' ' && b == ' ') {
            code = c - '0';
        } else if (a == ' ' && digit(b) && b != '0') {
            code = (b - '0') * 10 + (c - '0');
        } else if (digit(a) && a != '0' && digit(b)) {
            code = (a - '0') * 100 + (b - '0') * 10 + (c - '0');
        } else {
            return false;
        }
        return true;
    }

    // Whether a code line stands as the file's layout writes its code: the
    // digits (no sign, no leading zero) padded with spaces to the width.
    bool inLayout(std::string_view line, std::string_view digits) const {
        const auto n = static_cast<int>(digits.size());
        if ((digits[0] == '0' && n > 1) || digits[0] == '-' || digits[0] == '+') return false;
        const auto lead = static_cast<int>(digits.data() - line.data());
        const int trail = static_cast<int>(line.size()) - lead - n;
        const int pad = layout_.width > n ? layout_.width - n : 0;
        return layout_.leftAligned ? lead == 0 && trail == pad : trail == 0 && lead == pad;
    }

    LineScanner lines_;
    const Fail& fail_;
    bool crlf_ = false;
    bool layoutKnown_ = false;
    bool inDimStyle_ = false;
    CodeLayout layout_;
};

// The tags of a binary file after its sentinel.
class BinarySource {
public:
    BinarySource(std::string_view bytes, int codeBytes, const Fail& fail)
        : scanner_(bytes, codeBytes), codeBytes_(codeBytes), fail_(fail) {}

    bool read(RawTag& tag, TextArena& arena) {
        BinaryTag t;
        if (!scanner_.next(t, arena, error_)) {
            if (!error_.empty()) fail_(t.offset == 0 ? scanner_.offset() : t.offset, error_);
            return false;
        }
        tag.code = t.code;
        tag.type = t.type;
        tag.value = t.value;
        tag.pos = t.offset;
        tag.valuePos = t.offset;
        tag.codeText = {};
        return true;
    }

    void enterRecord(std::string_view type) { scanner_.enterRecord(type); }
    std::size_t offset() const { return scanner_.offset(); }
    std::size_t size() const { return scanner_.size(); }
    std::string_view rest() const { return scanner_.rest(); }
    std::size_t nextPos() const { return scanner_.offset(); }
    std::size_t posInRest(std::size_t i) const { return scanner_.offset() + i; }
    void noteFormat(FileFormat& format) const {
        format.form = DxfForm::Binary;
        format.binaryCodeBytes = codeBytes_;
    }

private:
    BinaryTagScanner scanner_;
    int codeBytes_;
    const Fail& fail_;
    std::string error_;
};

struct Tag {
    int code;
    std::string_view value;  // as the system holds it
    std::size_t line;        // of the code (line or byte offset)
    // How the file wrote it, when that is not the plain form (an entry of
    // Reader::loose_, taken from there when the tag's record is made).
    Verbatim::Tag* deviation = nullptr;
};

// Tags that end a record but may never stand inside a section's records.
bool isStructureWord(std::string_view type) {
    return type == "SECTION" || type == "ENDSEC" || type == "EOF" || type == "TABLE" || type == "ENDTAB" ||
           type == "BLOCK" || type == "ENDBLK";
}

template <class Source>
class Reader {
public:
    Reader(std::string_view bytes, const std::string& name, FileFormat format, std::function<void(std::size_t)> released,
           int codeBytes = 2)
        : fail_([this](std::size_t pos, const std::string& what) { fail(pos, what); }),
          source_(makeSource(bytes, codeBytes)),
          name_(name),
          released_(std::move(released)) {
        doc_.format = std::move(format);
        verbatim_ = std::make_shared<Verbatim>();
    }

    Document read();

private:
    Source makeSource(std::string_view bytes, int codeBytes) {
        if constexpr (std::is_same_v<Source, BinarySource>)
            return Source(bytes, codeBytes, fail_);
        else
            return Source(bytes, fail_);
    }

    [[noreturn]] void fail(std::size_t pos, const std::string& what) const {
        throw DxfError(name_ + ": " + describePosition(doc_.format, pos) + ": " + cp1251ToUtf8(what));
    }

    // The next tag, checked and decoded; false at the end of the file.
    bool nextTag(Tag& tag);
    Tag expectTag(const std::string& where);
    std::string_view decodeValue(const RawTag& raw, Verbatim::Tag*& deviation);
    void noteCode(const RawTag& raw, Verbatim::Tag*& deviation);
    Verbatim::Tag* newDeviation() { return &loose_.emplace_back(); }
    void keepDeviation(const Tag& tag, std::uint32_t index, std::vector<Verbatim::Tag>& into);
    void readSection(const Tag& sectionTag);
    // Collects the tags up to the next group 0 tag into scratch_; answers it.
    Tag collectUntilZero(const std::string& where);
    Record takeRecord(const Tag& zero);
    void readHeader(const std::string& where);
    void readTables(Tag t);
    void readBlocks(Tag t);
    void readRecords(Tag t, std::vector<Record>& out, const std::string& section);
    void readTrailer(const Tag& eof);
    void release(std::size_t keepFrom);
    void growFor(std::vector<Record>& out, std::size_t sectionStart) const;
    void chooseEncoding(std::string_view version, std::string_view codePage, std::size_t line);

    Fail fail_;
    Source source_;
    const std::string& name_;
    std::function<void(std::size_t)> released_;
    std::size_t lastRelease_ = 0;
    std::size_t recordStart_ = 0;  // byte offset of the record being collected
    std::vector<TagView> scratch_;
    std::vector<Verbatim::Tag> pending_;  // deviations of the record being collected
    std::deque<Verbatim::Tag> loose_;     // deviations of tags read, until their record takes them
    TextArena arenas_[2];
    int arena_ = 0;
    bool decoding_ = true;  // false while the header, which names the encoding, is read
    std::optional<TextEncoding> encoding_;
    Document doc_;
    std::shared_ptr<Verbatim> verbatim_;
    std::set<std::string> seen_;
    std::string_view current_;  // the type of the record whose tags are read next (alive in the other arena)
};

template <class Source>
void Reader<Source>::noteCode(const RawTag& raw, Verbatim::Tag*& deviation) {
    if (raw.codeText.empty()) return;
    if (!deviation) deviation = newDeviation();
    deviation->codeText = std::string(raw.codeText);
}

template <class Source>
std::string_view Reader<Source>::decodeValue(const RawTag& raw, Verbatim::Tag*& deviation) {
    if (!decoding_ || raw.type != ValueType::String || !encoding_->needsConversion(raw.value)) return raw.value;
    std::string text;
    const std::size_t bad = encoding_->decode(raw.value, text);
    if (bad != TextEncoding::npos) {
        char byte[8];
        std::snprintf(byte, sizeof byte, "0x%02X", static_cast<unsigned char>(raw.value[bad]));
        fail(raw.valuePos, "the value of group code " + std::to_string(raw.code) + " is not valid " + encoding_->name() +
                               ": byte " + byte + " at offset " + std::to_string(bad) + " of the value");
    }
    std::string back;
    encoding_->encode(text, back);
    const std::string_view value = arenas_[arena_].keep(text);
    if (back != raw.value) {
        if (!deviation) deviation = newDeviation();
        deviation->keepsValue = true;
        deviation->value = text;
        deviation->raw = std::string(raw.value);
    }
    return value;
}

template <class Source>
bool Reader<Source>::nextTag(Tag& tag) {
    RawTag raw;
    if (!source_.read(raw, arenas_[arena_])) return false;
    tag.code = raw.code;
    tag.line = raw.pos;
    tag.deviation = nullptr;
    // Most values are what the system holds: only strings with a byte above
    // ASCII (in a file of another code page) or an escape need more.
    tag.value = raw.type == ValueType::String && (!encoding_->isIdentity() || raw.value.find('\\') != std::string_view::npos)
                    ? decodeValue(raw, tag.deviation)
                    : raw.value;
    if (!raw.codeText.empty()) noteCode(raw, tag.deviation);
    return true;
}

template <class Source>
Tag Reader<Source>::expectTag(const std::string& where) {
    Tag t;
    if (!nextTag(t)) fail(source_.nextPos(), "end of file " + where);
    return t;
}

template <class Source>
void Reader<Source>::keepDeviation(const Tag& tag, std::uint32_t index, std::vector<Verbatim::Tag>& into) {
    if (tag.deviation == nullptr) return;
    into.push_back(std::move(*tag.deviation));
    into.back().index = index;
}

template <class Source>
void Reader<Source>::release(std::size_t keepFrom) {
    if (released_ && keepFrom >= lastRelease_ + kReleaseStep) {
        released_(keepFrom);
        lastRelease_ = keepFrom;
    }
}

template <class Source>
Tag Reader<Source>::collectUntilZero(const std::string& where) {
    scratch_.clear();
    source_.enterRecord(current_);
    // Values of the record before stay alive in the other arena: its 0 tag
    // is still to be taken.
    arena_ ^= 1;
    arenas_[arena_].reset();
    for (;;) {
        Tag t = expectTag(where);
        if (t.code == 0) {
            current_ = t.value;
            return t;
        }
        keepDeviation(t, static_cast<std::uint32_t>(scratch_.size() + 1), pending_);
        scratch_.push_back({t.code, t.value});
    }
}

template <class Source>
Record Reader<Source>::takeRecord(const Tag& zero) {
    Record r;
    r.type = std::string(zero.value);
    r.line = zero.line;
    r.tags = TagList::fromViews(scratch_);
    if (zero.deviation) {
        std::vector<Verbatim::Tag> first;
        keepDeviation(zero, 0, first);
        pending_.insert(pending_.begin(), std::move(first.front()));
    }
    if (!pending_.empty()) {
        verbatim_->records[zero.line] = std::move(pending_);
        pending_.clear();
    }
    return r;
}

template <class Source>
Document Reader<Source>::read() {
    chooseEncoding("AC1009", "", 1);  // until a header says otherwise
    Tag t;
    if (!nextTag(t)) fail(1, "empty file, expected a DXF drawing starting with 0 SECTION");
    while (t.code == 999) {
        keepDeviation(t, static_cast<std::uint32_t>(doc_.preamble.size()), verbatim_->preamble);
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
    readTrailer(t);
    source_.noteFormat(doc_.format);
    if (!seen_.contains("HEADER")) doc_.format.version = "AC1009";
    if (auto f = findSelfContainingBlock(doc_.blocks)) fail(f->line, f->what);
    if (!verbatim_->empty()) doc_.verbatim = std::move(verbatim_);
    return std::move(doc_);
}

template <class Source>
void Reader<Source>::readTrailer(const Tag& eof) {
    (void)eof;
    std::string_view rest = source_.rest();
    if constexpr (std::is_same_v<Source, AsciiSource>) doc_.format.eofLineEnd = source_.lastLineEnded();
    for (std::size_t i = 0; i < rest.size(); ++i) {
        const char c = rest[i];
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '\x1A')
            fail(source_.posInRest(i), "unexpected content after 0 EOF");
    }
    doc_.format.tail = std::string(rest);
}

template <class Source>
void Reader<Source>::chooseEncoding(std::string_view version, std::string_view codePage, std::size_t line) {
    const auto known = versionByAcadver(version);
    if (!known)
        fail(line, "the drawing is DXF version " + quote(version) + ", expected one of " + describeVersions());
    encoding_ = TextEncoding::forFile(*known, codePage);
    if (!encoding_)
        fail(line, "unsupported code page " + quote(codePage) +
                       " in $DWGCODEPAGE, expected ANSI_nnn, DOSnnn, ISO8859-n, BIG5, GB2312, KSC5601, JOHAB or MACINTOSH");
}

template <class Source>
void Reader<Source>::readSection(const Tag&) {
    const Tag nameTag = expectTag("after 0 SECTION, expected 2 and the section name");
    if (nameTag.code != 2)
        fail(nameTag.line, "expected group code 2 with the section name after 0 SECTION, found group code " +
                               std::to_string(nameTag.code));
    const std::string name(nameTag.value);
    if (name.empty()) fail(nameTag.line + 1, "empty section name");
    if (!seen_.insert(name).second) fail(nameTag.line, "second " + name + " section");
    doc_.order.push_back(name);
    const std::string where = "inside section " + name + ", expected ENDSEC";
    recordStart_ = source_.offset();
    if (name == "HEADER") {
        readHeader(where);
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

template <class Source>
void Reader<Source>::readHeader(const std::string& where) {
    // The header names the version and the code page, so its own strings
    // are decoded once it is read.
    decoding_ = false;
    scratch_.clear();
    std::vector<RawTag> strings;  // every tag, in order
    for (;;) {
        RawTag raw;
        if (!source_.read(raw, arenas_[arena_])) fail(source_.nextPos(), "end of file " + where);
        if (raw.code == 0) {
            if (raw.value != "ENDSEC") fail(raw.pos, "expected 0 ENDSEC to end section HEADER, found 0 " + quote(raw.value));
            break;
        }
        if (scratch_.empty() && raw.code != 9)
            fail(raw.pos, "expected group code 9 with a variable name in section HEADER, found group code " +
                              std::to_string(raw.code));
        if (raw.code == 9 && !raw.value.starts_with('$'))
            fail(raw.valuePos, "expected a header variable name starting with '$', found " + quote(raw.value));
        strings.push_back(raw);
        scratch_.push_back({raw.code, raw.value});
    }
    TagList header = TagList::fromViews(scratch_);
    const std::size_t ver = headerValueIndex(header, "$ACADVER");
    const std::size_t cp = headerValueIndex(header, "$DWGCODEPAGE");
    doc_.format.version = ver == TagList::npos ? "AC1009" : std::string(header[ver].value);
    chooseEncoding(doc_.format.version, cp == TagList::npos ? std::string_view() : header[cp].value,
                   ver == TagList::npos ? strings.empty() ? 1 : strings.front().pos : strings[ver].valuePos);
    decoding_ = true;
    bool changed = false;
    for (std::size_t i = 0; i < strings.size(); ++i) {
        Verbatim::Tag* deviation = nullptr;
        const std::string_view value = decodeValue(strings[i], deviation);
        noteCode(strings[i], deviation);
        if (value.data() != scratch_[i].value.data()) {
            scratch_[i].value = value;
            changed = true;
        }
        keepDeviation(Tag{strings[i].code, value, strings[i].pos, deviation}, static_cast<std::uint32_t>(i),
                      verbatim_->header);
    }
    doc_.header = changed ? TagList::fromViews(scratch_) : std::move(header);
}

template <class Source>
void Reader<Source>::readTables(Tag t) {
    for (;;) {
        if (t.value == "ENDSEC") return;
        if (t.value != "TABLE") fail(t.line, "expected 0 TABLE or 0 ENDSEC in section TABLES, found 0 " + quote(t.value));
        recordStart_ = source_.offset();
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
            recordStart_ = source_.offset();
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

template <class Source>
void Reader<Source>::readBlocks(Tag t) {
    for (;;) {
        if (t.value == "ENDSEC") return;
        if (t.value != "BLOCK") fail(t.line, "expected 0 BLOCK or 0 ENDSEC in section BLOCKS, found 0 " + quote(t.value));
        recordStart_ = source_.offset();
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
            recordStart_ = source_.offset();
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
template <class Source>
void Reader<Source>::growFor(std::vector<Record>& out, std::size_t sectionStart) const {
    if (out.size() < out.capacity() || out.size() < 4096) return;
    const double perRecord = static_cast<double>(source_.offset() - sectionStart) / static_cast<double>(out.size());
    const double more = static_cast<double>(source_.size() - source_.offset()) / perRecord;
    out.reserve(out.size() + static_cast<std::size_t>(more * 1.02) + 1024);
}

template <class Source>
void Reader<Source>::readRecords(Tag t, std::vector<Record>& out, const std::string& section) {
    const std::string where = "inside section " + section + ", expected ENDSEC";
    const std::size_t sectionStart = source_.offset();
    const bool entities = section == "ENTITIES";
    while (t.value != "ENDSEC") {
        if (isStructureWord(t.value) || t.value.empty())
            fail(t.line, "expected a record or 0 ENDSEC in section " + section + ", found 0 " + quote(t.value));
        if (section == "CLASSES" && t.value != "CLASS")
            fail(t.line, "expected 0 CLASS or 0 ENDSEC in section CLASSES, found 0 " + quote(t.value));
        release(recordStart_);
        recordStart_ = source_.offset();
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

Document readBytes(std::string_view bytes, const std::string& name, std::function<void(std::size_t)> released) {
    FileFormat format;
    if (bytes.starts_with(kBinarySentinel.substr(0, 18))) {
        format.form = DxfForm::Binary;
        if (!bytes.starts_with(kBinarySentinel))
            throw DxfError(name + ": byte 0: a damaged binary DXF sentinel, expected 'AutoCAD Binary DXF' and CR LF ^Z NUL");
        const int codeBytes = BinaryTagScanner::detectCodeBytes(bytes);
        if (codeBytes == 0) throw DxfError(name + ": byte 22: expected 0 SECTION as the first tag of a binary DXF file");
        return Reader<BinarySource>(bytes, name, format, std::move(released), codeBytes).read();
    }
    if (bytes.starts_with(kUtf8Mark)) {
        format.byteOrderMark = true;
        bytes.remove_prefix(kUtf8Mark.size());
    }
    return Reader<AsciiSource>(bytes, name, format, std::move(released)).read();
}

}  // namespace

std::string describePosition(const FileFormat& format, std::size_t position) {
    return (format.form == DxfForm::Binary ? "byte " : "line ") + std::to_string(position);
}

Document readDxf(std::string_view bytes, const std::string& name) { return readBytes(bytes, name, nullptr); }

Document readDxfFile(const std::string& path) {
    auto file = fs::FileSystem::current().mapFile(path);
    if (!file) throw DxfError(file.error().message());
    // The reader tells how far it got, so the pages behind it can go.
    MappedFile& mapped = **file;
    return readBytes(mapped.bytes(), path, [&mapped](std::size_t keepFrom) { mapped.consumed(keepFrom); });
}

}  // namespace kestrin::dxf
