#include "render/MTextCodes.h"

#include <cmath>

#include "render/TagReader.h"

namespace kestrin::render {

namespace {

class Parser {
public:
    Parser(std::string_view s, const MTextFormat& initial) : s_(s), format_(initial) {}

    std::vector<MTextToken> run() {
        while (i_ < s_.size()) step();
        flush();
        return std::move(tokens_);
    }

private:
    void step() {
        const char c = s_[i_];
        if (c == '\\' && i_ + 1 < s_.size()) {
            command(s_[i_ + 1]);
            return;
        }
        ++i_;
        switch (c) {
            case '{':
                flush();
                saved_.push_back(format_);
                return;
            case '}':
                flush();
                if (!saved_.empty()) {
                    format_ = saved_.back();
                    saved_.pop_back();
                }
                return;
            case ' ':
                push(MTextToken::Space);
                return;
            case '\t':
                push(MTextToken::Tab);
                return;
            case '\n':
                push(MTextToken::Paragraph);
                return;
            case '\r':
                return;
            case '^':
                caret();
                return;
            default:
                break;
        }
        if (static_cast<unsigned char>(c) < 0x20) {
            push(MTextToken::Space);  // other control characters: a space
            return;
        }
        word_ += c;
    }

    // ^I a tab, ^J a new paragraph, ^M nothing, "^ " the caret itself.
    void caret() {
        if (i_ >= s_.size()) {
            word_ += '^';
            return;
        }
        const char k = s_[i_];
        if (k == ' ') word_ += '^';
        else if (k == 'I') push(MTextToken::Tab);
        else if (k == 'J') push(MTextToken::Paragraph);
        else if (k == 'M') {}
        else if (k >= '@' && k <= '_') push(MTextToken::Space);
        else {
            word_ += '^';
            return;  // not a caret code: the next character is read as it is
        }
        ++i_;
    }

    void command(char k) {
        i_ += 2;
        switch (k) {
            case '\\': case '{': case '}':
                word_ += k;
                return;
            case 'P': case 'N': case 'X':
                push(MTextToken::Paragraph);
                return;
            case '~': {
                push(MTextToken::Space);
                tokens_.back().nonBreaking = true;
                return;
            }
            case 'S':
                stack();
                return;
            case 'L': case 'l': case 'O': case 'o': case 'K': case 'k': {
                flush();
                const bool on = k == 'L' || k == 'O' || k == 'K';
                bool& flag = k == 'L' || k == 'l' ? format_.underline : k == 'O' || k == 'o' ? format_.overline : format_.strike;
                flag = on;
                return;
            }
            case 'A': {
                flush();
                if (i_ < s_.size()) {
                    const char a = s_[i_++];
                    format_.align = a >= '0' && a <= '2' ? a - '0' : 0;
                }
                if (i_ < s_.size() && s_[i_] == ';') ++i_;
                return;
            }
            case 'H': case 'W': case 'T': case 'Q': case 'C': case 'c': case 'f': case 'F': case 'p':
                flush();
                property(k, argument());
                return;
            default:
                // Not a code of multiline text (\U+XXXX among them): kept as typed.
                word_ += '\\';
                word_ += k;
                return;
        }
    }

    // The text up to the next ';' (past it), or to the end.
    std::string_view argument() {
        const std::size_t e = s_.find(';', i_);
        const std::size_t end = e == std::string_view::npos ? s_.size() : e;
        const std::string_view arg = s_.substr(i_, end - i_);
        i_ = e == std::string_view::npos ? s_.size() : e + 1;
        return arg;
    }

    // "2.5" or "2.5x" (times the value in effect).
    static double scaled(std::string_view arg, double current) {
        if (arg.empty()) return current;
        const bool relative = arg.back() == 'x' || arg.back() == 'X';
        if (relative) arg.remove_suffix(1);
        const double v = std::abs(parseNumber(arg, relative ? 1 : current));
        if (!(v > 0)) return current;
        return relative ? current * v : v;
    }

    void property(char k, std::string_view arg) {
        switch (k) {
            case 'H': format_.height = scaled(arg, format_.height); break;
            case 'W': format_.widthFactor = scaled(arg, format_.widthFactor); break;
            case 'T': format_.tracking = scaled(arg, format_.tracking); break;
            case 'Q': format_.obliqueDeg = parseNumber(arg, format_.obliqueDeg); break;
            case 'C': {
                const double v = parseNumber(arg, -1);
                if (v >= 0 && v <= 256) format_.color = ColorChoice{static_cast<int>(v), std::nullopt};
                break;
            }
            case 'c': {
                const double v = parseNumber(arg, -1);
                if (v >= 0 && v <= 0xFFFFFF) {
                    // Stored blue first.
                    const auto bgr = static_cast<std::uint32_t>(v);
                    const Color rgb{static_cast<std::uint8_t>(bgr & 0xFF), static_cast<std::uint8_t>((bgr >> 8) & 0xFF),
                                    static_cast<std::uint8_t>((bgr >> 16) & 0xFF)};
                    format_.color = ColorChoice{ColorChoice::kByLayer, rgb};
                }
                break;
            }
            case 'f': case 'F':
                font(k, arg);
                break;
            default:  // \p: indents, tabs, paragraph alignment
                break;
        }
    }

    // \fFamily|b1|i0|c204|p34; or \Ffile.shx|c0; (a file name with its extension in either).
    void font(char k, std::string_view arg) {
        FontRequest r;
        std::size_t bar = arg.find('|');
        const std::string name(arg.substr(0, bar));
        while (bar != std::string_view::npos) {
            const std::size_t next = arg.find('|', bar + 1);
            const std::string_view part = arg.substr(bar + 1, next == std::string_view::npos ? std::string_view::npos : next - bar - 1);
            if (part.size() >= 2 && part[0] == 'b') r.style.bold = part[1] == '1';
            if (part.size() >= 2 && part[0] == 'i') r.style.italic = part[1] == '1';
            bar = next;
        }
        if (name.empty()) return;
        std::string lowerName = name;
        for (char& ch : lowerName)
            if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
        const bool shape = lowerName.size() > 4 && lowerName.compare(lowerName.size() - 4, 4, ".shx") == 0;
        if (k == 'F' || shape || FontLibrary::outlineName(name)) r.file = name;
        else r.family = name;
        format_.font = r;
    }

    // \Sa^b; \Sa/b; \Sa#b; with \ escaping the characters that follow.
    void stack() {
        flush();
        std::string upper, lower;
        char type = 0;
        while (i_ < s_.size() && s_[i_] != ';') {
            char c = s_[i_++];
            if (c == '\\' && i_ < s_.size()) {
                c = s_[i_++];
            } else if (!type && (c == '^' || c == '/' || c == '#')) {
                type = c;
                continue;
            }
            (type ? lower : upper) += c;
        }
        if (i_ < s_.size()) ++i_;  // the ';'
        MTextToken t;
        t.kind = type ? MTextToken::Stack : MTextToken::Text;
        t.text = std::move(upper);
        t.lower = std::move(lower);
        t.stack = type;
        t.format = format_;
        if (t.kind == MTextToken::Text && t.text.empty()) return;
        tokens_.push_back(std::move(t));
    }

    // The word so far as a token of the formatting it was typed in.
    void flush() {
        if (word_.empty()) return;
        MTextToken t;
        t.text = std::move(word_);
        t.format = format_;
        tokens_.push_back(std::move(t));
        word_.clear();
    }

    void push(MTextToken::Kind kind) {
        flush();
        MTextToken t;
        t.kind = kind;
        t.format = format_;
        tokens_.push_back(std::move(t));
    }

    std::string_view s_;
    std::size_t i_ = 0;
    MTextFormat format_;
    std::vector<MTextFormat> saved_;
    std::string word_;
    std::vector<MTextToken> tokens_;
};

}  // namespace

std::vector<MTextToken> parseMText(std::string_view content, const MTextFormat& initial) {
    return Parser(content, initial).run();
}

}  // namespace kestrin::render
