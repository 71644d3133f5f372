#include "platform/session/ActionFormat.h"

#include <charconv>
#include <cstdio>

#include "base/Cp1251.h"

namespace kestrin::session {

namespace {

// A CP1251 text in double quotes, escaped as the parser reads it.
std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\t': out += "\\t"; break;
            default: out.push_back(c);
        }
    }
    out.push_back('"');
    return out;
}

// A file or command name: a bare word when it reads back as one, else quoted.
std::string word(const std::string& text) {
    bool bare = !text.empty();
    for (char c : text)
        bare = bare && c != ' ' && c != '\t' && c != '\r' && c != '\v' && c != '\f' && c != '\n' && c != '#' && c != '"';
    return bare ? text : quoted(text);
}

// The shortest digits that read back to the same double.
std::string number(double v) {
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v);
    if (ec != std::errc{}) return std::to_string(v);
    return std::string(buffer, end);
}

std::string hex(std::uint64_t h) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%llX", static_cast<unsigned long long>(h));
    return buffer;
}

// Captions always quoted: a bare number would read as a control id.
std::string control(const ControlRef& c) { return c.id ? std::to_string(*c.id) : quoted(c.caption); }

std::string pick(const PickTarget& p) {
    switch (p.by) {
        case PickTarget::By::Last: return "last";
        case PickTarget::By::At: {
            std::string at = "at ";
            return at.append(number(p.x)).append(",").append(number(p.y));
        }
        case PickTarget::By::Handle: {
            std::string out = hex(p.handle);
            if (!p.containers.empty()) {
                out += " in";
                for (std::uint64_t c : p.containers) out.append(" ").append(hex(c));
            }
            return out;
        }
    }
    return "last";
}

std::string body(const Action& a) {
    using K = ActionKind;
    switch (a.kind) {
        case K::Command: return word(a.text);
        case K::ContextMenu:
        case K::Type: return quoted(a.text);
        case K::Point: {
            std::string out = number(a.x);
            out.append(",").append(number(a.y));
            if (a.z != 0) out.append(",").append(number(a.z));
            return out;
        }
        case K::Pick: return pick(a.pick);
        case K::Miss:
        case K::Enter:
        case K::Escape:
        case K::Close:
        case K::New:
        case K::MenuGroups:
        case K::Quit: return {};
        case K::Click:
        case K::Focus: return control(a.control);
        case K::Key: return (a.shift ? "shift+" : "") + a.key;
        case K::Choose:
        case K::DblClick: return control(a.control) + " " + quoted(a.text);
        case K::Select: return control(a.control) + " " + std::to_string(a.first) + " " + std::to_string(a.last);
        case K::SysMenu: return std::to_string(a.number);
        case K::Answer:
        case K::Layout: return a.text;
        case K::Caps:
        case K::Num: return a.on ? "on" : "off";
        case K::Layouts: {
            std::string out;
            for (const std::string& klid : a.words) out.append(out.empty() ? "" : " ").append(klid);
            return out;
        }
        case K::Expect: {
            std::string out = a.expect;
            if (a.expect != "output" && a.expect != "message") out.append(" ").append(control(a.control));
            if (a.hasText) out.append(" ").append(quoted(a.text));
            return out;
        }
        case K::Save: return word(a.text) + (a.words.empty() ? "" : " " + a.words.front());
        case K::Open:
        case K::Screenshot: return word(a.text);
    }
    return {};
}

}  // namespace

std::string formatAction(const Action& action) {
    std::string line = actionName(action.kind);
    const std::string rest = body(action);
    if (!rest.empty()) line.append(" ").append(rest);
    return cp1251ToUtf8(line);
}

}  // namespace kestrin::session
