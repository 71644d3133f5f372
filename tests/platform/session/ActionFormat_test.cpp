#include "platform/session/ActionFormat.h"

#include <gtest/gtest.h>

#include <set>

#include "base/Cp1251.h"
#include "platform/session/ActionParser.h"
#include "platform/session/ScriptSource.h"

using namespace kestrin;
using namespace kestrin::session;

namespace {

Action make(ActionKind kind) {
    Action a;
    a.kind = kind;
    return a;
}

Action withText(ActionKind kind, std::string text) {
    Action a = make(kind);
    a.text = std::move(text);
    return a;
}

Action withControl(ActionKind kind, ControlRef c, std::string text = {}) {
    Action a = withText(kind, std::move(text));
    a.control = std::move(c);
    return a;
}

ControlRef id(int n) { return ControlRef{n, {}}; }
ControlRef caption(std::string c) { return ControlRef{std::nullopt, std::move(c)}; }

// Every field the parser fills, for messages when a round trip loses one.
std::string dump(const Action& a) {
    std::string out = std::string(actionName(a.kind)) + " text=[" + cp1251ToUtf8(a.text) + "] words=";
    for (const auto& w : a.words) out += w + ";";
    out += " control=" + (a.control.id ? std::to_string(*a.control.id) : "") + "/" + cp1251ToUtf8(a.control.caption);
    char xyz[160];
    std::snprintf(xyz, sizeof xyz, " xyz=%.17g,%.17g,%.17g pick=%d:%llx@%.17g,%.17g", a.x, a.y, a.z,
                  static_cast<int>(a.pick.by), static_cast<unsigned long long>(a.pick.handle), a.pick.x, a.pick.y);
    out += xyz;
    out += " in=";
    for (auto c : a.pick.containers) out += std::to_string(c) + ";";
    out += " key=" + a.key + (a.shift ? "+shift" : "") + (a.on ? " on" : " off") + " range=" +
           std::to_string(a.first) + "-" + std::to_string(a.last) + " n=" + std::to_string(a.number) +
           " expect=" + a.expect + (a.hasText ? " hasText" : "");
    return out;
}

// The actions of every kind, with the awkward cases of each: quotes,
// backslashes, line breaks, Cyrillic, '#', blanks, numbers that need every digit.
std::vector<Action> samples() {
    using K = ActionKind;
    std::vector<Action> all;
    all.push_back(withText(K::Command, "CKestrin"));
    all.push_back(withText(K::Command, "_.LINE"));
    all.push_back(withText(K::Command, "Кестрин"_cp));
    all.push_back(withText(K::Command, "two words#"));
    all.push_back(withText(K::ContextMenu, "Текст/Редактирование"_cp));
    all.push_back(withText(K::ContextMenu, "say \"hi\" \\ now\tand\nthen # not a comment"));
    for (auto [x, y, z] : {std::tuple{10.0, 20.0, 0.0}, {-0.1, 1e-300, 3.0}, {1.0 / 3, 2e20, -7.25}}) {
        Action p = make(K::Point);
        p.x = x, p.y = y, p.z = z;
        all.push_back(p);
    }
    Action last = make(K::Pick);
    last.pick.by = PickTarget::By::Last;
    all.push_back(last);
    Action at = make(K::Pick);
    at.pick.by = PickTarget::By::At;
    at.pick.x = 0.1 + 0.2;
    at.pick.y = -1234.5678;
    all.push_back(at);
    Action handle = make(K::Pick);
    handle.pick.by = PickTarget::By::Handle;
    handle.pick.handle = 0x2AF;
    all.push_back(handle);
    handle.pick.handle = 0xFFFFFFFFFFFFFFFFull;
    handle.pick.containers = {0x1A, 0xB00};
    all.push_back(handle);
    for (K k : {K::Miss, K::Enter, K::Escape, K::Close, K::New, K::MenuGroups, K::Quit}) all.push_back(make(k));
    all.push_back(withControl(K::Click, id(1)));
    all.push_back(withControl(K::Click, caption("Выход"_cp)));
    all.push_back(withControl(K::Click, caption("42")));  // a caption that looks like an id
    all.push_back(withControl(K::Click, caption("O\"K\" #1")));
    all.push_back(withText(K::Type, "строка \"в кавычках\"\\"_cp));
    all.push_back(withText(K::Type, ""));
    for (auto [name, shift] : {std::pair{"enter", false}, {"escape", false}, {"tab", true}, {"end", true}, {"ctrl+v", false}}) {
        Action k = make(K::Key);
        k.key = name;
        k.shift = shift;
        all.push_back(k);
    }
    all.push_back(withControl(K::Focus, id(1003)));
    all.push_back(withControl(K::Choose, id(1010), "Zor #2"));
    all.push_back(withControl(K::DblClick, caption("Список"_cp), ""));
    Action select = withControl(K::Select, caption("Edit"));
    select.first = 2, select.last = -1;
    all.push_back(select);
    Action sys = make(K::SysMenu);
    sys.number = 0xF060;
    all.push_back(sys);
    for (const char* word : {"ok", "yes", "no", "cancel"}) all.push_back(withText(K::Answer, word));
    for (K k : {K::Caps, K::Num})
        for (bool on : {true, false}) {
            Action a = make(k);
            a.on = on;
            all.push_back(a);
        }
    all.push_back(withText(K::Layout, "00000419"));
    Action layouts = make(K::Layouts);
    layouts.words = {"00000409", "0000041A"};
    all.push_back(layouts);
    Action expect = withControl(K::Expect, id(1001), "Кестрин \"1\""_cp);
    expect.expect = "text";
    expect.hasText = true;
    all.push_back(expect);
    expect = withControl(K::Expect, caption("OK"));
    expect.expect = "disabled";
    all.push_back(expect);
    for (const char* what : {"output", "message"}) {
        Action e = withText(K::Expect, "line 1\nline 2");
        e.expect = what;
        e.hasText = true;
        all.push_back(e);
    }
    for (K k : {K::Open, K::Save, K::Screenshot}) {
        all.push_back(withText(k, "plan.dxf"));
        all.push_back(withText(k, "C:\\Чертежи\\my plan #2.dxf"_cp));
    }
    return all;
}

void expectSame(const Action& a, const Action& b) {
    EXPECT_EQ(dump(a), dump(b));
}

}  // namespace

TEST(ActionFormat, EveryKindReadsBackToTheSameAction) {
    std::set<ActionKind> covered;
    for (const Action& action : samples()) {
        covered.insert(action.kind);
        const std::string line = formatAction(action);
        SCOPED_TRACE(line);
        EXPECT_EQ(line.find('\n'), std::string::npos);
        std::optional<Action> back;
        ASSERT_NO_THROW(back = parseAction(line, "rec.ks:1"));
        ASSERT_TRUE(back);
        expectSame(action, *back);
    }
    // A kind added later needs its line too.
    for (int k = 0; k <= static_cast<int>(ActionKind::Screenshot); ++k)
        EXPECT_TRUE(covered.count(static_cast<ActionKind>(k))) << actionName(static_cast<ActionKind>(k));
}

TEST(ActionFormat, ParsedLinesFormatToLinesThatParseTheSame) {
    const char* lines[] = {
        "command CKestrin",         "point 1, 2, 3e2",       "pick 1A in 2b 3C",       "pick at -1.5,2",
        "click Выход",              "key shift+left",        "layouts 00000409 0000041a",
        "expect text 1001 \"Ф\\\"\"", "screenshot \"out dir/a.png\"", "contextmenu \"a\\tb\"",
    };
    for (const char* line : lines) {
        SCOPED_TRACE(line);
        const auto first = parseAction(line, "t:1");
        ASSERT_TRUE(first);
        const auto again = parseAction(formatAction(*first), "t:1");
        ASSERT_TRUE(again);
        expectSame(*first, *again);
    }
}

TEST(ActionFormat, ALineIsUtf8AndReadableAsAWholeScript) {
    std::string script;
    for (const Action& action : samples()) script += formatAction(action) + "\n";
    EXPECT_NO_THROW(utf8ToCp1251(script));  // every line is valid UTF-8
    ScriptSource source("rec.ks", script);
    EXPECT_EQ(source.size(), samples().size());
    EXPECT_NE(script.find("Выход"), std::string::npos);
}
