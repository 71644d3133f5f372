#include "platform/registry/Regedit4.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "base/TextCase.h"

namespace kestrin::registry {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimRight(std::string_view s) {
    while (!s.empty() && (isBlank(s.back()) || s.back() == '\r')) s.remove_suffix(1);
    return s;
}
std::string_view trimLeft(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    return s;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string printable(std::string_view s) {
    std::string out;
    for (char c : s.substr(0, 40)) out += (static_cast<unsigned char>(c) < 0x20) ? '?' : c;
    if (s.size() > 40) out += "...";
    return out;
}

class Reader {
public:
    Reader(std::string_view text, const std::string& fileName) : fileName_(fileName) {
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string_view::npos) end = text.size();
            std::string_view line = text.substr(start, end - start);
            // Every carriage return before the line feed goes, so a line reads
            // the same whichever newline it is written back with.
            while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            lines_.push_back(line);
            start = end + 1;
        }
    }

    Tree read() {
        Tree tree;
        if (lines_.empty()) return tree;
        if (trimRight(lines_[0]) != "REGEDIT4") {
            line_ = 0;
            fail("the first line must be REGEDIT4, not \"" + printable(lines_[0]) + "\"");
        }
        Key* section = nullptr;
        std::string comments;
        for (line_ = 1; line_ < lines_.size(); ++line_) {
            const std::string_view line = trimLeft(lines_[line_]);
            if (trimRight(line).empty()) continue;
            if (line.front() == ';') {
                comments += std::string(lines_[line_]) + '\n';
            } else if (line.front() == '[') {
                if (section) section->trailingComments += comments;
                else tree.headerComments += comments;
                comments.clear();
                section = readSection(tree, trimRight(line));
            } else if (line.front() == '"' || line.front() == '@') {
                if (!section) fail("a value before the first [key] section");
                readValue(*section, line, comments);
                comments.clear();
            } else {
                fail("expected a [key] section, a \"name\"=value line, a ; comment or a blank line, not \"" +
                     printable(line) + "\"");
            }
        }
        if (section) section->trailingComments += comments;
        else tree.headerComments += comments;
        return tree;
    }

private:
    [[noreturn]] void fail(const std::string& reason) const {
        throw RegistryFileError(fileName_ + ":" + std::to_string(line_ + 1) + ": " + reason);
    }

    Key* readSection(Tree& tree, std::string_view line) {
        if (line.back() != ']') fail("a section line must end with ']'");
        const std::string path(line.substr(1, line.size() - 2));
        if (!path.empty() && path.front() == '-')
            fail("[-...] deletes a key when a file is imported; a stored registry cannot hold it");
        const std::size_t slash = path.find('\\');
        const std::string rootName = upperCase(path.substr(0, slash));
        Key* key = tree.root(rootName);
        if (!key)
            fail("unknown root key \"" + printable(path.substr(0, slash)) +
                 "\" (HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE or HKEY_USERS)");
        if (slash == std::string::npos) return key;
        std::vector<std::string> names;
        if (!splitPath(path.substr(slash + 1), names))
            fail("a key name in \"" + printable(path) + "\" is empty or longer than 255 characters");
        for (const auto& name : names) {
            Key* next = key->find(name);
            if (!next) {
                auto fresh = std::make_unique<Key>();
                fresh->name = name;
                next = fresh.get();
                key->subkeys.emplace(name, std::move(fresh));
            }
            key = next;
        }
        return key;
    }

    // A quoted string at s (which starts with '"'); returns the text, moves
    // s past the closing quote.
    std::string quoted(std::string_view& s, const char* what) {
        std::string out;
        std::size_t i = 1;
        for (; i < s.size() && s[i] != '"'; ++i) {
            if (s[i] == '\\') {
                if (i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"')) {
                    out += s[++i];
                    continue;
                }
                fail(std::string("unknown escape in the ") + what + " (only \\\\ and \\\" are known)");
            }
            out += s[i];
        }
        if (i >= s.size()) fail(std::string("the ") + what + " has no closing quote");
        s.remove_prefix(i + 1);
        return out;
    }

    void readValue(Key& section, std::string_view line, const std::string& comments) {
        const std::size_t first = line_;
        Value value;
        std::string_view s = line;
        if (s.front() == '@') {
            s.remove_prefix(1);
        } else {
            value.name = quoted(s, "value name");
            if (value.name.empty()) fail("an empty value name (the default value is written @)");
            if (value.name.size() > kMaxValueNameLength) fail("a value name longer than 16383 characters");
        }
        s = trimLeft(s);
        if (s.empty() || s.front() != '=') fail("expected '=' after the value name");
        s = trimLeft(s.substr(1));
        const std::string_view data = trimRight(s);
        if (!data.empty() && data.front() == '"') {
            std::string_view rest = data;
            value.data = quoted(rest, "string") + '\0';
            if (!rest.empty()) fail("text after the closing quote of the string");
            value.type = REG_SZ;
        } else if (data.starts_with("dword:")) {
            const std::string_view digits = data.substr(6);
            if (digits.empty() || digits.size() > 8) fail("dword: takes 1 to 8 hexadecimal digits");
            DWORD n = 0;
            for (char c : digits) {
                if (hexDigit(c) < 0) fail("dword: takes 1 to 8 hexadecimal digits");
                n = n * 16 + static_cast<DWORD>(hexDigit(c));
            }
            value.type = REG_DWORD;
            for (int i = 0; i < 4; ++i) value.data += static_cast<char>((n >> (8 * i)) & 0xFF);
        } else if (data.starts_with("hex:") || data.starts_with("hex(")) {
            std::string_view rest = data.substr(3);
            value.type = REG_BINARY;
            if (rest.front() == '(') {
                const std::size_t close = rest.find(')');
                const std::string_view digits = rest.substr(1, close == std::string_view::npos ? 0 : close - 1);
                if (close == std::string_view::npos || digits.empty() || digits.size() > 8)
                    fail("hex(N): takes a type of 1 to 8 hexadecimal digits");
                DWORD t = 0;
                for (char c : digits) {
                    if (hexDigit(c) < 0) fail("hex(N): takes a type of 1 to 8 hexadecimal digits");
                    t = t * 16 + static_cast<DWORD>(hexDigit(c));
                }
                value.type = t;
                rest.remove_prefix(close + 1);
            }
            if (rest.empty() || rest.front() != ':') fail("expected ':' after hex");
            value.data = hexBytes(rest.substr(1));
        } else if (data == "-") {
            fail("\"name\"=- deletes a value when a file is imported; a stored registry cannot hold it");
        } else {
            fail("expected a \"string\", dword:, hex: or hex(N): value, not \"" + printable(data) + "\"");
        }
        for (std::size_t i = first; i <= line_; ++i) {
            if (i > first) value.fileLines += '\n';
            value.fileLines += lines_[i];
        }
        value.comments = comments;
        if (Value* same = section.findValue(value.name)) {
            value.comments = same->comments + value.comments;
            *same = std::move(value);  // the later line wins, as when a file is imported
        } else {
            section.values.push_back(std::move(value));
        }
    }

    // Comma-separated bytes; a line ending in a backslash continues on the next.
    std::string hexBytes(std::string_view s) {
        std::string out;
        while (true) {
            s = trimLeft(trimRight(s));
            bool continues = false;
            if (!s.empty() && s.back() == '\\') {
                continues = true;
                s = trimRight(s.substr(0, s.size() - 1));
            }
            std::size_t i = 0;
            while (i < s.size()) {
                while (i < s.size() && isBlank(s[i])) ++i;
                std::size_t j = i;
                while (j < s.size() && hexDigit(s[j]) >= 0) ++j;
                if (j == i || j - i > 2) fail("expected a byte of two hexadecimal digits in \"" + printable(s) + "\"");
                out += static_cast<char>(hexDigit(s[i]) * (j - i == 2 ? 16 : 1) + (j - i == 2 ? hexDigit(s[i + 1]) : 0));
                i = j;
                while (i < s.size() && isBlank(s[i])) ++i;
                if (i == s.size()) break;
                if (s[i] != ',') fail("expected ',' between bytes in \"" + printable(s) + "\"");
                ++i;
                if (i == s.size() && !continues) fail("a byte list ends with ','");
            }
            if (!continues) return out;
            if (++line_ >= lines_.size()) {
                --line_;
                fail("the byte list continues past the end of the file");
            }
            s = lines_[line_];
        }
    }

    std::string fileName_;
    std::vector<std::string_view> lines_;
    std::size_t line_ = 0;
};

std::string escaped(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out;
}

// A string that a quoted value can carry: one terminating zero, no other
// zero, no line break.
bool quotable(const Value& v) {
    if (v.type != REG_SZ || v.data.empty() || v.data.back() != '\0') return false;
    return v.data.find_first_of(std::string("\0\r\n", 3)) == v.data.size() - 1;
}

std::string valueLines(const Value& v, const std::string& nl) {
    std::string out = "@=";
    if (!v.name.empty()) {
        out = "\"";
        out.append(escaped(v.name)).append("\"=");
    }
    if (quotable(v)) {
        out += '"';
        out.append(escaped(v.data.substr(0, v.data.size() - 1))).append("\"");
        return out;
    }
    char buf[32];
    if (v.type == REG_DWORD && v.data.size() == 4) {
        DWORD n = 0;
        for (int i = 3; i >= 0; --i) n = (n << 8) | static_cast<unsigned char>(v.data[static_cast<std::size_t>(i)]);
        std::snprintf(buf, sizeof buf, "dword:%08x", static_cast<unsigned>(n));
        return out + buf;
    }
    if (v.type == REG_BINARY) out += "hex:";
    else {
        std::snprintf(buf, sizeof buf, "hex(%x):", static_cast<unsigned>(v.type));
        out += buf;
    }
    // Lines of at most 80 characters, continued with a backslash.
    std::size_t column = out.size();
    for (std::size_t i = 0; i < v.data.size(); ++i) {
        if (column + 3 > 78) {
            out += "\\" + nl + "  ";
            column = 2;
        }
        std::snprintf(buf, sizeof buf, "%02x", static_cast<unsigned char>(v.data[i]));
        out += buf;
        column += 2;
        if (i + 1 < v.data.size()) {
            out += ',';
            ++column;
        }
    }
    return out;
}

std::string withNewline(const std::string& lines, const std::string& nl) {
    std::string out;
    for (char c : lines) {
        if (c == '\n') out += nl;
        else out += c;
    }
    return out;
}

void writeKey(const Key& key, const std::string& path, bool isRoot, const std::string& nl, std::string& out) {
    if (key.isVolatile) return;
    // A key without values that has subkeys is implied by their sections.
    const bool implied = key.values.empty() && key.trailingComments.empty() &&
                         (isRoot || std::any_of(key.subkeys.begin(), key.subkeys.end(),
                                                [](const auto& sub) { return !sub.second->isVolatile; }));
    if (!implied) {
        out += "[" + path + "]" + nl;
        for (const auto& v : key.values) {
            out += withNewline(v.comments, nl);
            out += v.fileLines.empty() ? valueLines(v, nl) : withNewline(v.fileLines, nl);
            out += nl;
        }
        out += withNewline(key.trailingComments, nl);
        out += nl;
    }
    for (const auto& [name, sub] : key.subkeys) writeKey(*sub, path + "\\" + sub->name, false, nl, out);
}

bool sameKey(const Key& a, const Key& b) {
    if (a.name != b.name || a.isVolatile != b.isVolatile || a.values.size() != b.values.size() ||
        a.subkeys.size() != b.subkeys.size())
        return false;
    for (std::size_t i = 0; i < a.values.size(); ++i) {
        const Value& x = a.values[i];
        const Value& y = b.values[i];
        if (x.name != y.name || x.type != y.type || x.data != y.data) return false;
    }
    for (auto i = a.subkeys.begin(), j = b.subkeys.begin(); i != a.subkeys.end(); ++i, ++j)
        if (!sameKey(*i->second, *j->second)) return false;
    return true;
}

}  // namespace

Tree readRegedit4(std::string_view text, const std::string& fileName) { return Reader(text, fileName).read(); }

std::string writeRegedit4(const Tree& tree, const std::string& nl) {
    std::string out = "REGEDIT4" + nl + nl;
    out += withNewline(tree.headerComments, nl);
    for (const auto& root : tree.roots) writeKey(*root, root->name, true, nl, out);
    return out;
}

std::string newlineOf(std::string_view text) {
    const std::size_t end = text.find('\n');
    return end != std::string_view::npos && end > 0 && text[end - 1] == '\r' ? "\r\n" : "\n";
}

bool sameContent(const Tree& a, const Tree& b) {
    if (a.roots.size() != b.roots.size()) return false;
    for (std::size_t i = 0; i < a.roots.size(); ++i)
        if (!sameKey(*a.roots[i], *b.roots[i])) return false;
    return true;
}

}  // namespace kestrin::registry
