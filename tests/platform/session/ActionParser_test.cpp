#include "platform/session/ActionParser.h"

#include <gtest/gtest.h>

#include "base/Cp1251.h"
#include "platform/session/ScriptError.h"

using namespace kestrin;
using namespace kestrin::session;

namespace {

Action parse(const std::string& line) {
    auto a = parseAction(line, "t.ks:7");
    if (!a) throw std::runtime_error("no action from: " + line);
    return *a;
}

// The error message for a line, or "" when it parsed.
std::string errorOf(const std::string& line) {
    try {
        parseAction(line, "demo.ks:12");
    } catch (const ScriptError& e) {
        EXPECT_EQ(e.origin(), "demo.ks:12");
        return e.what();
    }
    return "";
}

}  // namespace

TEST(ActionParser, BlankAndCommentLinesGiveNoAction) {
    EXPECT_FALSE(parseAction("", "t:1"));
    EXPECT_FALSE(parseAction("   \t ", "t:1"));
    EXPECT_FALSE(parseAction("# click 5", "t:1"));
    EXPECT_FALSE(parseAction("   # note", "t:1"));
}

TEST(ActionParser, HostInputActions) {
    Action a = parse("command CKestrin");
    EXPECT_EQ(a.kind, ActionKind::Command);
    EXPECT_EQ(a.text, "CKestrin");
    EXPECT_EQ(a.origin, "t.ks:7");

    a = parse("contextmenu \"Текст/Редактирование\"");
    EXPECT_EQ(a.kind, ActionKind::ContextMenu);
    EXPECT_EQ(a.text, "Текст/Редактирование"_cp);

    a = parse("point 1.5,-2");
    EXPECT_EQ(a.kind, ActionKind::Point);
    EXPECT_DOUBLE_EQ(a.x, 1.5);
    EXPECT_DOUBLE_EQ(a.y, -2);
    EXPECT_DOUBLE_EQ(a.z, 0);
    a = parse("point 1, 2, 3e2");
    EXPECT_DOUBLE_EQ(a.y, 2);
    EXPECT_DOUBLE_EQ(a.z, 300);

    EXPECT_EQ(parse("miss").kind, ActionKind::Miss);
    EXPECT_EQ(parse("enter").kind, ActionKind::Enter);
    EXPECT_EQ(parse("escape").kind, ActionKind::Escape);
    EXPECT_EQ(parse("menugroups").kind, ActionKind::MenuGroups);
    EXPECT_EQ(parse("quit").kind, ActionKind::Quit);
}

TEST(ActionParser, PickForms) {
    Action a = parse("pick 2F");
    EXPECT_EQ(a.pick.by, PickTarget::By::Handle);
    EXPECT_EQ(a.pick.handle, 0x2Fu);
    EXPECT_TRUE(a.pick.containers.empty());

    a = parse("pick last");
    EXPECT_EQ(a.pick.by, PickTarget::By::Last);

    a = parse("pick at 10,20.5");
    EXPECT_EQ(a.pick.by, PickTarget::By::At);
    EXPECT_DOUBLE_EQ(a.pick.x, 10);
    EXPECT_DOUBLE_EQ(a.pick.y, 20.5);

    a = parse("pick 1a in 2B 3c");
    EXPECT_EQ(a.pick.handle, 0x1Au);
    EXPECT_EQ(a.pick.containers, (std::vector<std::uint64_t>{0x2B, 0x3C}));
}

TEST(ActionParser, DialogActions) {
    Action a = parse("click 8020");
    EXPECT_EQ(a.kind, ActionKind::Click);
    ASSERT_TRUE(a.control.id);
    EXPECT_EQ(*a.control.id, 8020);

    a = parse("click \"Выход\"");
    EXPECT_FALSE(a.control.id);
    EXPECT_EQ(a.control.caption, "Выход"_cp);
    EXPECT_EQ(a.control.describe(), "control \"Выход\"");
    a = parse("click Выход");  // a one-word caption needs no quotes
    EXPECT_FALSE(a.control.id);
    EXPECT_EQ(a.control.caption, "Выход"_cp);
    a = parse("expect text OK \"x\"");
    EXPECT_EQ(a.control.caption, "OK");
    EXPECT_EQ(a.text, "x");

    a = parse("type \"Ab Вг\"");
    EXPECT_EQ(a.kind, ActionKind::Type);
    EXPECT_EQ(a.text, "Ab Вг"_cp);

    a = parse("key shift+left");
    EXPECT_EQ(a.key, "left");
    EXPECT_TRUE(a.shift);
    a = parse("key backspace");
    EXPECT_EQ(a.key, "backspace");
    EXPECT_FALSE(a.shift);

    a = parse("focus 8019");
    EXPECT_EQ(a.kind, ActionKind::Focus);
    a = parse("choose 8003 \"ZOR\"");
    EXPECT_EQ(a.kind, ActionKind::Choose);
    EXPECT_EQ(*a.control.id, 8003);
    EXPECT_EQ(a.text, "ZOR");
    a = parse("dblclick 1121 \"[..]\"");
    EXPECT_EQ(a.kind, ActionKind::DblClick);
    EXPECT_EQ(*a.control.id, 1121);
    EXPECT_EQ(a.text, "[..]");
    a = parse("select 8019 2 5");
    EXPECT_EQ(a.first, 2);
    EXPECT_EQ(a.last, 5);
    a = parse("select 8019 0 -1");
    EXPECT_EQ(a.last, -1);
    EXPECT_EQ(parse("close").kind, ActionKind::Close);
    a = parse("sysmenu 16");
    EXPECT_EQ(a.kind, ActionKind::SysMenu);
    EXPECT_EQ(a.number, 16);
}

TEST(ActionParser, MachineActionsAndFiles) {
    EXPECT_EQ(parse("answer yes").text, "yes");
    Action a = parse("caps on");
    EXPECT_EQ(a.kind, ActionKind::Caps);
    EXPECT_TRUE(a.on);
    a = parse("num off");
    EXPECT_EQ(a.kind, ActionKind::Num);
    EXPECT_FALSE(a.on);
    EXPECT_EQ(parse("layout 0000041a").text, "0000041A");
    a = parse("layouts 00000419 00000409");
    EXPECT_EQ(a.words, (std::vector<std::string>{"00000419", "00000409"}));

    a = parse("open \"my drawings/план.dxf\"");
    EXPECT_EQ(a.kind, ActionKind::Open);
    EXPECT_EQ(a.text, "my drawings/план.dxf"_cp);
    EXPECT_EQ(parse("save out.dxf").text, "out.dxf");
}

TEST(ActionParser, Checks) {
    Action a = parse("expect text 8019 \"abc\"");
    EXPECT_EQ(a.kind, ActionKind::Expect);
    EXPECT_EQ(a.expect, "text");
    EXPECT_EQ(*a.control.id, 8019);
    EXPECT_TRUE(a.hasText);
    EXPECT_EQ(a.text, "abc");

    a = parse("expect disabled \"Новая строка\"");
    EXPECT_EQ(a.expect, "disabled");
    EXPECT_EQ(a.control.caption, "Новая строка"_cp);
    EXPECT_FALSE(a.hasText);

    a = parse("expect output \"Command:\"");
    EXPECT_EQ(a.expect, "output");
    EXPECT_EQ(a.text, "Command:");
    a = parse("expect message \"Нет\"");
    EXPECT_EQ(a.expect, "message");
    EXPECT_EQ(a.text, "Нет"_cp);
}

TEST(ActionParser, StringsEscapesAndComments) {
    EXPECT_EQ(parse(R"(type "a\"b\\c\nd\te")").text, "a\"b\\c\nd\te");
    EXPECT_EQ(parse("type \"# not a comment\"  # a comment").text, "# not a comment");
    EXPECT_EQ(parse("type \"\"").text, "");
    EXPECT_EQ(parse("click 5# comment right after").control.id, 5);
    EXPECT_EQ(parse("  \tcommand   LINE   ").text, "LINE");
}

TEST(ActionParser, ErrorsNameTheLineAndTheReason) {
    EXPECT_EQ(errorOf("clik 5"), "demo.ks:12: unknown action 'clik'");
    EXPECT_NE(errorOf("menugroups all").find("after menugroups"), std::string::npos) << errorOf("menugroups all");
    EXPECT_EQ(errorOf("point 1;2"), "demo.ks:12: expected a point X,Y[,Z], found '1;2'");
    EXPECT_EQ(errorOf("point 1,2,3,4"), "demo.ks:12: expected a point X,Y[,Z], found '1,2,3,4'");
    EXPECT_EQ(errorOf("point"), "demo.ks:12: expected a point X,Y[,Z], found the end of the line");
    EXPECT_EQ(errorOf("point 1,nan"), "demo.ks:12: expected a point X,Y[,Z], found '1,nan'");
    EXPECT_EQ(errorOf("pick at 1,2,3"), "demo.ks:12: expected a point X,Y, found '1,2,3'");
    EXPECT_EQ(errorOf("pick zz"), "demo.ks:12: expected a handle (hex), 'last' or 'at X,Y' after pick, found 'zz'");
    EXPECT_EQ(errorOf("pick 0"), "demo.ks:12: expected a handle (hex), 'last' or 'at X,Y' after pick, found '0'");
    EXPECT_EQ(errorOf("pick 1A in"),
              "demo.ks:12: expected the handle (hex) of a block reference after 'in', found the end of the line");
    EXPECT_EQ(errorOf("click"), "demo.ks:12: expected a control (a number or a caption), found the end of the line");
    EXPECT_EQ(errorOf("click 5 6"), "demo.ks:12: unexpected '6' after click");
    EXPECT_EQ(errorOf("type abc"), "demo.ks:12: expected the text to type in double quotes, found 'abc'");
    EXPECT_EQ(errorOf("type \"abc"), "demo.ks:12: a string is not closed with '\"'");
    EXPECT_EQ(errorOf("type \"a\\qb\""), "demo.ks:12: unknown escape '\\q' in a string (known: \\\" \\\\ \\n \\t)");
    EXPECT_EQ(errorOf("key ctrl+q"),
              "demo.ks:12: unknown key 'ctrl+q' (known: enter, escape, tab, backspace, delete, left, right, home, end, "
              "ctrl+a, ctrl+c, ctrl+x, ctrl+v, ctrl+z)");
    EXPECT_EQ(errorOf("key shift+ctrl+a"), "demo.ks:12: shift+ goes only with left, right, home, end or tab, not 'ctrl+a'");
    EXPECT_EQ(errorOf("key shift+enter"), "demo.ks:12: shift+ goes only with left, right, home, end or tab, not 'enter'");
    EXPECT_EQ(errorOf("answer maybe"), "demo.ks:12: expected ok, yes, no or cancel after answer, found 'maybe'");
    EXPECT_EQ(errorOf("caps 1"), "demo.ks:12: expected on or off after caps, found '1'");
    EXPECT_EQ(errorOf("layout 419"),
              "demo.ks:12: expected a keyboard layout (8 hex digits, such as 00000419), found '419'");
    EXPECT_EQ(errorOf("layouts"),
              "demo.ks:12: expected a keyboard layout (8 hex digits, such as 00000419), found the end of the line");
    EXPECT_EQ(errorOf("select 8019 1"), "demo.ks:12: expected the end of the range (a number), found the end of the line");
    EXPECT_EQ(errorOf("sysmenu x"), "demo.ks:12: expected a system-menu command (a number), found 'x'");
    EXPECT_EQ(errorOf("expect colour 5"),
              "demo.ks:12: unknown check 'colour' (known: text, shown, hidden, enabled, disabled, checked, unchecked, "
              "focus, output, message)");
    EXPECT_EQ(errorOf("expect text 8019"), "demo.ks:12: expected the expected text in double quotes, found the end of the line");
    EXPECT_EQ(errorOf("expect shown 8019 \"x\""), "demo.ks:12: unexpected \"x\" after expect");
    EXPECT_EQ(errorOf("expect output Command"), "demo.ks:12: expected the expected text in double quotes, found 'Command'");
    EXPECT_EQ(errorOf("enter now"), "demo.ks:12: unexpected 'now' after enter");
    EXPECT_EQ(errorOf("open"), "demo.ks:12: expected a file name, found the end of the line");
    EXPECT_EQ(errorOf("click \"\""), "demo.ks:12: a control's caption must not be empty");
    EXPECT_EQ(errorOf("\"command\" LINE"), "demo.ks:12: expected an action, found \"command\"");
}

TEST(ActionParser, TextIsConvertedToCp1251AndAMissingCharacterIsNamed) {
    EXPECT_EQ(parse("type \"Ёж №5 €\"").text, "\xA8\xE6 \xB9\x35 \x88");
    const std::string e = errorOf("type \"ok ✓\"");
    EXPECT_EQ(e.rfind("demo.ks:12: ", 0), 0u) << e;
    EXPECT_NE(e.find("U+2713"), std::string::npos) << e;
    EXPECT_NE(errorOf("type \"bad \xFF\"").find("malformed UTF-8"), std::string::npos);
}

TEST(ActionParser, TypedLinesReadAsAtTheCommandLine) {
    auto typed = [](const std::string& line) {
        auto a = parseTypedAction(line, "typed:1");
        if (!a) throw std::runtime_error("no action from: " + line);
        return *a;
    };
    EXPECT_EQ(typed("  ").kind, ActionKind::Enter);
    Action a = typed("CKestrin");
    EXPECT_EQ(a.kind, ActionKind::Command);
    EXPECT_EQ(a.text, "CKestrin");
    a = typed("10,20");
    EXPECT_EQ(a.kind, ActionKind::Point);
    EXPECT_DOUBLE_EQ(a.x, 10);
    EXPECT_DOUBLE_EQ(a.y, 20);
    a = typed("-1.5, 2, 3");
    EXPECT_EQ(a.kind, ActionKind::Point);
    EXPECT_DOUBLE_EQ(a.z, 3);
    EXPECT_EQ(typed("3D").kind, ActionKind::Command);  // a name, not a point
    EXPECT_EQ(typed("pick last").kind, ActionKind::Pick);
    EXPECT_EQ(typed("10,20,30,40").kind, ActionKind::Command);  // no point: left to the command line to refuse
}
