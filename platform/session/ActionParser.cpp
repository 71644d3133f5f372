#include "platform/session/ActionParser.h"

#include <algorithm>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <vector>

#include "base/Cp1251.h"
#include "platform/session/ScriptError.h"

namespace kestrin::session {

namespace {

struct Token {
    bool quoted = false;
    std::string text;  // CP1251
};

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

// Splits a CP1251 line into words and quoted strings; stops at `#` outside quotes.
std::vector<Token> tokenize(const std::string& line, const std::string& origin) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (isBlank(c)) {
            ++i;
        } else if (c == '#') {
            break;
        } else if (c == '"') {
            Token t{true, {}};
            ++i;
            bool closed = false;
            while (i < line.size()) {
                const char d = line[i++];
                if (d == '"') {
                    closed = true;
                    break;
                }
                if (d != '\\') {
                    t.text.push_back(d);
                    continue;
                }
                if (i == line.size()) break;
                const char e = line[i++];
                switch (e) {
                    case '"': t.text.push_back('"'); break;
                    case '\\': t.text.push_back('\\'); break;
                    case 'n': t.text.push_back('\n'); break;
                    case 't': t.text.push_back('\t'); break;
                    default:
                        throw ScriptError(origin, "unknown escape '\\" + cp1251ToUtf8(std::string(1, e)) +
                                                      "' in a string (known: \\\" \\\\ \\n \\t)");
                }
            }
            if (!closed) throw ScriptError(origin, "a string is not closed with '\"'");
            tokens.push_back(std::move(t));
        } else {
            Token t;
            while (i < line.size() && !isBlank(line[i]) && line[i] != '#' && line[i] != '"') t.text.push_back(line[i++]);
            tokens.push_back(std::move(t));
        }
    }
    return tokens;
}

std::string show(const Token& t) {
    const std::string text = cp1251ToUtf8(t.text);  // a named string: g++ 12 warns -Wrestrict on "x" + temporary
    return t.quoted ? "\"" + text + "\"" : "'" + text + "'";
}

bool parseInt(std::string_view s, int& out) {
    const char* end = s.data() + s.size();
    auto [p, ec] = std::from_chars(s.data(), end, out);
    return ec == std::errc{} && p == end && !s.empty();
}

bool parseDouble(std::string_view s, double& out) {
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    const char* end = s.data() + s.size();
    auto [p, ec] = std::from_chars(s.data(), end, out);
    return ec == std::errc{} && p == end && !s.empty() && std::isfinite(out);
}

bool parseHex(std::string_view s, std::uint64_t& out) {
    const char* end = s.data() + s.size();
    auto [p, ec] = std::from_chars(s.data(), end, out, 16);
    return ec == std::errc{} && p == end && !s.empty() && s.front() != '-' && s.front() != '+';
}

// Walks the tokens of one line, with errors that say what was expected.
class Reader {
public:
    Reader(std::vector<Token> tokens, const std::string& origin) : tokens_(std::move(tokens)), origin_(origin) {}

    [[noreturn]] void error(const std::string& why) const { throw ScriptError(origin_, why); }
    [[noreturn]] void expected(const std::string& what) const {
        if (atEnd()) error("expected " + what + ", found the end of the line");
        error("expected " + what + ", found " + show(tokens_[pos_]));
    }

    bool atEnd() const { return pos_ >= tokens_.size(); }
    const Token& peek() const { return tokens_[pos_]; }

    std::string word(const std::string& what) {
        if (atEnd() || peek().quoted) expected(what);
        return tokens_[pos_++].text;
    }
    std::string string(const std::string& what) {
        if (atEnd() || !peek().quoted) expected(what + " in double quotes");
        return tokens_[pos_++].text;
    }
    // A word or a quoted string (file names, command names).
    std::string text(const std::string& what) {
        if (atEnd()) expected(what);
        return tokens_[pos_++].text;
    }
    int integer(const std::string& what) {
        int n = 0;
        if (atEnd() || peek().quoted || !parseInt(peek().text, n)) expected(what);
        ++pos_;
        return n;
    }
    ControlRef control() {
        ControlRef ref;
        if (!atEnd() && peek().quoted) {
            ref.caption = tokens_[pos_++].text;
            if (ref.caption.empty()) error("a control's caption must not be empty");
            return ref;
        }
        // A word that is not a number is a one-word caption: click Выход.
        int number = 0;
        if (!atEnd() && !parseInt(peek().text, number)) {
            ref.caption = tokens_[pos_++].text;
            return ref;
        }
        ref.id = integer("a control (a number or a caption)");
        return ref;
    }
    // X,Y[,Z]; the words up to the end (or up to `stop`) are joined, so "1, 2" reads too.
    void point(double& x, double& y, double* z, const std::string& stop = {}) {
        std::string joined;
        std::size_t first = pos_;
        while (!atEnd() && !peek().quoted && (stop.empty() || peek().text != stop)) joined += tokens_[pos_++].text;
        const std::string form = z ? "a point X,Y[,Z]" : "a point X,Y";
        if (pos_ == first) expected(form);
        std::vector<std::string> parts{{}};
        for (char c : joined) {
            if (c == ',') parts.emplace_back();
            else parts.back().push_back(c);
        }
        double v[3] = {0, 0, 0};
        bool ok = parts.size() == 2 || (z && parts.size() == 3);
        for (std::size_t k = 0; ok && k < parts.size(); ++k) ok = parseDouble(parts[k], v[k]);
        if (!ok) error("expected " + form + ", found '" + cp1251ToUtf8(joined) + "'");
        x = v[0];
        y = v[1];
        if (z) *z = v[2];
    }
    void end(const std::string& action) const {
        if (!atEnd()) error("unexpected " + show(peek()) + " after " + action);
    }

private:
    std::vector<Token> tokens_;
    std::size_t pos_ = 0;
    const std::string& origin_;
};

bool onOff(Reader& r, const std::string& action) {
    const std::string w = r.word("on or off after " + action);
    if (w == "on") return true;
    if (w == "off") return false;
    r.error("expected on or off after " + action + ", found '" + cp1251ToUtf8(w) + "'");
}

std::string klid(Reader& r) {
    std::string w = r.word("a keyboard layout (8 hex digits, such as 00000419)");
    std::uint64_t n = 0;
    if (w.size() != 8 || !parseHex(w, n))
        r.error("expected a keyboard layout (8 hex digits, such as 00000419), found '" + cp1251ToUtf8(w) + "'");
    for (char& c : w)
        if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
    return w;
}

std::uint64_t handle(Reader& r, const std::string& what) {
    const std::string w = r.word(what);
    std::uint64_t h = 0;
    if (!parseHex(w, h) || h == 0) r.error("expected " + what + ", found '" + cp1251ToUtf8(w) + "'");
    return h;
}

void readPick(Reader& r, Action& a) {
    if (r.atEnd() || r.peek().quoted) r.expected("a handle (hex), 'last' or 'at X,Y' after pick");
    if (r.peek().text == "last") {
        r.word("last");
        a.pick.by = PickTarget::By::Last;
    } else if (r.peek().text == "at") {
        r.word("at");
        a.pick.by = PickTarget::By::At;
        r.point(a.pick.x, a.pick.y, nullptr);
        return;
    } else {
        a.pick.by = PickTarget::By::Handle;
        a.pick.handle = handle(r, "a handle (hex), 'last' or 'at X,Y' after pick");
        if (!r.atEnd() && !r.peek().quoted && r.peek().text == "in") {
            r.word("in");
            a.pick.containers.push_back(handle(r, "the handle (hex) of a block reference after 'in'"));
            while (!r.atEnd()) a.pick.containers.push_back(handle(r, "the handle (hex) of a block reference"));
        }
    }
}

void readKey(Reader& r, Action& a) {
    static const char* const kKeys[] = {"enter",  "escape", "tab",    "backspace", "delete", "left",  "right",
                                        "home",   "end",    "ctrl+a", "ctrl+c",    "ctrl+x", "ctrl+v", "ctrl+z"};
    std::string w = r.word("a key (enter, escape, tab, backspace, delete, left, right, home, end, ctrl+a, ctrl+c, "
                           "ctrl+x, ctrl+v, ctrl+z)");
    if (w.rfind("shift+", 0) == 0) {
        a.shift = true;
        w.erase(0, 6);
    }
    for (const char* k : kKeys)
        if (w == k) a.key = w;
    if (a.key.empty())
        r.error("unknown key '" + cp1251ToUtf8(w) +
                "' (known: enter, escape, tab, backspace, delete, left, right, home, end, ctrl+a, ctrl+c, ctrl+x, "
                "ctrl+v, ctrl+z)");
    if (a.shift && a.key != "left" && a.key != "right" && a.key != "home" && a.key != "end" && a.key != "tab")
        r.error("shift+ goes only with left, right, home, end or tab, not '" + a.key + "'");
}

void readExpect(Reader& r, Action& a) {
    static const char* const kControlChecks[] = {"text",    "shown",     "hidden", "enabled",
                                                 "disabled", "checked", "unchecked", "focus"};
    a.expect = r.word("what to expect (text, shown, hidden, enabled, disabled, checked, unchecked, focus, output, message)");
    if (a.expect == "output" || a.expect == "message") {
        a.text = r.string("the expected text");
        a.hasText = true;
        return;
    }
    bool known = false;
    for (const char* k : kControlChecks) known = known || a.expect == k;
    if (!known)
        r.error("unknown check '" + cp1251ToUtf8(a.expect) +
                "' (known: text, shown, hidden, enabled, disabled, checked, unchecked, focus, output, message)");
    a.control = r.control();
    if (a.expect == "text") {
        a.text = r.string("the expected text");
        a.hasText = true;
    }
}

}  // namespace

namespace {

using K = ActionKind;

// What follows an action's name: its operands read into the action.
using OperandReader = void (*)(Reader&, Action&);

void noOperands(Reader&, Action&) {}
void commandName(Reader& r, Action& a) {
    a.text = r.text("a command name");
    if (a.text.empty()) r.error("a command name must not be empty");
}
void menuItem(Reader& r, Action& a) { a.text = r.string("a menu item"); }
void point(Reader& r, Action& a) { r.point(a.x, a.y, &a.z); }
void control(Reader& r, Action& a) { a.control = r.control(); }
void typed(Reader& r, Action& a) { a.text = r.string("the text to type"); }
void chosenEntry(Reader& r, Action& a) {
    a.control = r.control();
    a.text = r.string("the entry to choose");
}
void openedEntry(Reader& r, Action& a) {
    a.control = r.control();
    a.text = r.string("the entry to open");
}
void range(Reader& r, Action& a) {
    a.control = r.control();
    a.first = r.integer("the first character of the range (a number)");
    a.last = r.integer("the end of the range (a number)");
}
void systemCommand(Reader& r, Action& a) { a.number = r.integer("a system-menu command (a number)"); }
void answer(Reader& r, Action& a) {
    a.text = r.word("ok, yes, no or cancel after answer");
    if (a.text != "ok" && a.text != "yes" && a.text != "no" && a.text != "cancel")
        r.error("expected ok, yes, no or cancel after answer, found '" + cp1251ToUtf8(a.text) + "'");
}
void lock(Reader& r, Action& a) { a.on = onOff(r, a.kind == K::Caps ? "caps" : "num"); }
void layout(Reader& r, Action& a) { a.text = klid(r); }
void layouts(Reader& r, Action& a) {
    a.words.push_back(klid(r));
    while (!r.atEnd()) a.words.push_back(klid(r));
}
void fileName(Reader& r, Action& a) {
    a.text = r.text("a file name");
    if (a.text.empty()) r.error("a file name must not be empty");
}
void savedFile(Reader& r, Action& a) {
    fileName(r, a);
    // save FILE VERSION: the DXF version to write (the host knows which it writes).
    if (!r.atEnd()) a.words.push_back(r.word("a DXF version such as R2000"));
}

struct ActionSyntax {
    const char* name;
    ActionKind kind;
    OperandReader operands;
};

constexpr ActionSyntax kActions[] = {
    {"command", K::Command, commandName},   {"contextmenu", K::ContextMenu, menuItem},
    {"point", K::Point, point},             {"pick", K::Pick, readPick},
    {"miss", K::Miss, noOperands},          {"enter", K::Enter, noOperands},
    {"escape", K::Escape, noOperands},      {"click", K::Click, control},
    {"type", K::Type, typed},               {"key", K::Key, readKey},
    {"focus", K::Focus, control},           {"choose", K::Choose, chosenEntry},
    {"dblclick", K::DblClick, openedEntry}, {"select", K::Select, range},
    {"close", K::Close, noOperands},        {"sysmenu", K::SysMenu, systemCommand},
    {"answer", K::Answer, answer},          {"caps", K::Caps, lock},
    {"num", K::Num, lock},                  {"layout", K::Layout, layout},
    {"layouts", K::Layouts, layouts},       {"expect", K::Expect, readExpect},
    {"new", K::New, noOperands},            {"open", K::Open, fileName},
    {"save", K::Save, savedFile},           {"menugroups", K::MenuGroups, noOperands},
    {"quit", K::Quit, noOperands},          {"screenshot", K::Screenshot, fileName},
};

}  // namespace

std::optional<Action> parseAction(std::string_view utf8Line, const std::string& origin) {
    std::string line;
    try {
        line = utf8ToCp1251(utf8Line);
    } catch (const EncodingError& e) {
        throw ScriptError(origin, e.what());
    }
    Reader r(tokenize(line, origin), origin);
    if (r.atEnd()) return std::nullopt;

    Action a;
    a.origin = origin;
    const std::string name = r.word("an action");
    const auto syntax = std::find_if(std::begin(kActions), std::end(kActions),
                                     [&name](const ActionSyntax& s) { return name == s.name; });
    if (syntax == std::end(kActions)) r.error("unknown action '" + cp1251ToUtf8(name) + "'");
    a.kind = syntax->kind;
    syntax->operands(r, a);
    r.end(name);
    return a;
}

std::optional<Action> parseTypedAction(std::string_view utf8Line, const std::string& origin) {
    if (utf8Line.find_first_not_of(" \t\r\v\f") == std::string_view::npos) {
        Action enter;
        enter.kind = ActionKind::Enter;
        enter.origin = origin;
        return enter;
    }
    try {
        return parseAction(utf8Line, origin);
    } catch (const ScriptError& e) {
        if (e.reason().rfind("unknown action", 0) != 0) throw;
        // X,Y[,Z] typed bare is a point, as at the host's command line.
        std::string asPoint = "point ";  // appended: g++ 12 warns -Wrestrict on "x" + temporary
        asPoint.append(utf8Line);
        try {
            if (auto point = parseAction(asPoint, origin)) return point;
        } catch (const ScriptError&) {
        }
        // A lone word that names no action is a command name typed bare.
        std::vector<Token> tokens = tokenize(utf8ToCp1251(utf8Line), origin);
        if (tokens.size() != 1 || tokens.front().quoted) throw;
        Action command;
        command.kind = ActionKind::Command;
        command.origin = origin;
        command.text = std::move(tokens.front().text);
        return command;
    }
}

}  // namespace kestrin::session
