#include "platform/registry/Regedit4.h"

#include "base/Cp1251.h"
#include "tests/platform/registry/RegistryTestSupport.h"

namespace kestrin::registry::test {
namespace {

using Regedit4File = RegistryTest;

// A file as another program exported it: hex values over several lines,
// odd spacing, comments, a dword.
const std::string kExported =
    "REGEDIT4\r\n"
    "\r\n"
    "; exported for the test\r\n"
    "[HKEY_CURRENT_USER\\Software\\Autodesk\\AutoCAD\\R15.0\\ACAD-1:409\\Profiles\\<<Unnamed Profile>>\\General]\r\n"
    "\"ACAD\"=\"C:\\\\ACAD2000\\\\support\"\r\n"
    "\"Flags\"=dword:0000000A\r\n"
    "\"Path\"=hex(2):25,00,53,00,\\\r\n"
    "    59,00,25,00\r\n"
    "\"Raw\" = hex:de,ad,BE,ef\r\n"
    "\r\n";

TEST_F(Regedit4File, ValuesNotWrittenKeepTheirLinesThroughAReadModifyWrite) {
    writeFile(path_, kExported);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER,
                            "Software\\Autodesk\\AutoCAD\\R15.0\\ACAD-1:409\\Profiles\\<<Unnamed Profile>>\\General", 0,
                            KEY_ALL_ACCESS, &key),
              ERROR_SUCCESS);
    DWORD flags = 0, size = 4, type = 0;
    ASSERT_EQ(RegQueryValueExA(key, "flags", nullptr, &type, reinterpret_cast<BYTE*>(&flags), &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(flags, 10u);
    char path[16];
    size = sizeof path;
    ASSERT_EQ(RegQueryValueExA(key, "Path", nullptr, &type, reinterpret_cast<BYTE*>(path), &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_EXPAND_SZ);
    EXPECT_EQ(std::string(path, size), std::string("%\0S\0Y\0%\0", 8));
    ASSERT_EQ(setString(key, "ACAD", "C:\\Zor soft;C:\\ACAD2000\\support"), ERROR_SUCCESS);
    RegCloseKey(key);

    std::string expected = kExported;
    const std::string old = "\"ACAD\"=\"C:\\\\ACAD2000\\\\support\"";
    expected.replace(expected.find(old), old.size(), "\"ACAD\"=\"C:\\\\Zor soft;C:\\\\ACAD2000\\\\support\"");
    EXPECT_EQ(fileText(), expected);
}

TEST_F(Regedit4File, ALineFeedFileStaysALineFeedFile) {
    writeFile(path_, "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\A]\n\"x\"=\"1\"\n\n");
    setString(createKey(HKEY_LOCAL_MACHINE, "A"), "y", "2");
    EXPECT_EQ(fileText(), "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\A]\n\"x\"=\"1\"\n\"y\"=\"2\"\n\n");
}

TEST(Regedit4Reader, BadFilesNameTheLineAndTheReason) {
    const std::pair<std::string, std::string> cases[] = {
        {"Windows Registry Editor Version 5.00\n", "f.reg:1: the first line must be REGEDIT4"},
        {"REGEDIT4\n\n\"a\"=\"b\"\n", "f.reg:3: a value before the first [key] section"},
        {"REGEDIT4\n[HKEY_NOWHERE\\A]\n", "f.reg:2: unknown root key \"HKEY_NOWHERE\""},
        {"REGEDIT4\n[HKEY_USERS\\A\n", "f.reg:2: a section line must end with ']'"},
        {"REGEDIT4\n[HKEY_USERS\\A\\\\B]\n", "f.reg:2: a key name in"},
        {"REGEDIT4\n[-HKEY_USERS\\A]\n", "f.reg:2: [-...] deletes a key"},
        {"REGEDIT4\n[HKEY_USERS\\A]\n\"a\"=-\n", "f.reg:3: \"name\"=- deletes a value"},
        {"REGEDIT4\n[HKEY_USERS\\A]\n\"a=\"b\"\n", "f.reg:3: expected '=' after the value name"},
        {"REGEDIT4\n[HKEY_USERS\\A]\n\"a\"=\"b\n", "f.reg:3: the string has no closing quote"},
        {"REGEDIT4\n[HKEY_USERS\\A]\n\"a\"=\"b\\n\"\n", "f.reg:3: unknown escape in the string"},
        {"REGEDIT4\n[HKEY_USERS\\A]\n\"a\"=dword:123456789\n", "f.reg:3: dword: takes 1 to 8"},
        {"REGEDIT4\n[HKEY_USERS\\A]\n\"a\"=hex(2):00,\\\n  0g\n", "f.reg:4: expected ',' between bytes"},
        {"REGEDIT4\n[HKEY_USERS\\A]\n\"a\"=hex:00,\\\n", "f.reg:3: the byte list continues past the end"},
        {"REGEDIT4\n[HKEY_USERS\\A]\n\"a\"=hex:00,\n", "f.reg:3: a byte list ends with ','"},
        {"REGEDIT4\n[HKEY_USERS\\A]\nstray\n", "f.reg:3: expected a [key] section"},
    };
    for (const auto& [text, message] : cases) {
        try {
            readRegedit4(text, "f.reg");
            ADD_FAILURE() << "read: " << text;
        } catch (const RegistryFileError& e) {
            EXPECT_EQ(std::string(e.what()).substr(0, message.size()), message) << text;
        }
    }
}

TEST(Regedit4Reader, SectionsMergeLaterValuesWinAndCommentsAreKept) {
    const Tree tree = readRegedit4(
        "REGEDIT4\n; head\n[hkey_current_user\\A]\n\"v\"=\"1\"\n; about w\n\"w\"=\"2\"\n[HKEY_CURRENT_USER\\a]\n\"V\"=\"3\"\n",
        "f.reg");
    const Key* a = tree.root("HKEY_CURRENT_USER")->find("A");
    ASSERT_NE(a, nullptr);
    ASSERT_EQ(a->values.size(), 2u);
    EXPECT_EQ(a->values[0].data, std::string("3\0", 2));
    EXPECT_EQ(writeRegedit4(tree, "\n"),
              "REGEDIT4\n\n; head\n[HKEY_CURRENT_USER\\A]\n\"V\"=\"3\"\n; about w\n\"w\"=\"2\"\n\n");
}

TEST(Regedit4Writer, StrayCarriageReturnsDoNotChangeTheTextOnEveryRewrite) {
    // Found by the fuzzer: a comment ending in carriage returns lost one per round.
    const Tree tree = readRegedit4("REGEDIT4\n;\r\r\r\n[HKEY_USERS\\A]\r\r\n\"v\"=\"1\"\r\r\n", "f.reg");
    const std::string once = writeRegedit4(tree, "\n");
    EXPECT_EQ(writeRegedit4(readRegedit4(once, "w.reg"), "\n"), once);
}

TEST(Regedit4Writer, LongBinaryValuesWrapWithinEightyColumnsAndReadBack) {
    Tree tree;
    auto key = std::make_unique<Key>();
    key->name = "K";
    Value v;
    v.name = "Blob";
    v.type = REG_MULTI_SZ;
    for (int i = 0; i < 300; ++i) v.data += static_cast<char>(i);
    key->values.push_back(v);
    tree.root("HKEY_USERS")->subkeys.emplace("K", std::move(key));
    const std::string text = writeRegedit4(tree);
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        EXPECT_LE(end - start, 80u);
        start = end + 2;
    }
    EXPECT_TRUE(sameContent(readRegedit4(text, "w.reg"), tree));
}

}  // namespace
}  // namespace kestrin::registry::test
