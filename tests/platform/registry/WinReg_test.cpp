#include "base/Cp1251.h"
#include "platform/registry/SystemMessages.h"
#include "tests/platform/registry/RegistryTestSupport.h"

namespace kestrin::registry::test {
namespace {

using WinReg = RegistryTest;

TEST_F(WinReg, OpenAnswersNotFoundUntilTheKeyIsCreatedThenCreateReportsTheDisposition) {
    HKEY key = reinterpret_cast<HKEY>(1);
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Zor", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Zor", 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                              nullptr, &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "software\\ZOR", 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                              nullptr, &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE) << "a closed handle is dead";
    EXPECT_EQ(RegQueryValueExA(key, "x", nullptr, nullptr, nullptr, nullptr), ERROR_INVALID_HANDLE);
}

TEST_F(WinReg, NamesMatchWithoutRegardToCaseIncludingCyrillic) {
    HKEY key = createKey(HKEY_CURRENT_USER, "Профили\\Ёлка"_cp);
    ASSERT_EQ(setString(key, "Путь"_cp, "C:\\Zor"), ERROR_SUCCESS);
    RegCloseKey(key);
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "ПРОФИЛИ\\ёЛКА"_cp, 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    EXPECT_EQ(queryString(key, "пУТЬ"_cp), "C:\\Zor");
    ASSERT_EQ(setString(key, "ПУТЬ"_cp, "D:\\"), ERROR_SUCCESS) << "the same value, not a second one";
    DWORD values = 0;
    ASSERT_EQ(RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                               nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(values, 1u);
    char name[32];
    DWORD length = sizeof name;
    ASSERT_EQ(RegEnumValueA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(std::string(name, length), "Путь"_cp) << "the value keeps the spelling it was created with";
    RegCloseKey(key);
}

TEST_F(WinReg, SubkeysEnumerateAlphabeticallyValuesInCreationOrder) {
    HKEY key = createKey(HKEY_CURRENT_USER, "Profiles");
    for (const char* name : {"zeta", "Alpha", "beta", "Яблоко", "ель"}) RegCloseKey(createKey(key, utf8ToCp1251(name).c_str()));
    for (const char* name : {"Group2", "group1", "ACAD"}) setString(key, name, name);
    std::vector<std::string> keys, values;
    char name[64];
    DWORD length = sizeof name;
    for (DWORD i = 0; RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++i, length = sizeof name)
        keys.push_back(cp1251ToUtf8(std::string(name, length)));
    for (DWORD i = 0; RegEnumValueA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++i, length = sizeof name)
        values.push_back(std::string(name, length));
    EXPECT_EQ(keys, (std::vector<std::string>{"Alpha", "beta", "zeta", "ель", "Яблоко"}));
    EXPECT_EQ(values, (std::vector<std::string>{"Group2", "group1", "ACAD"}));
    EXPECT_EQ(RegEnumKeyExA(key, 5, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(RegEnumValueA(key, 3, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
    RegCloseKey(key);
}

TEST_F(WinReg, BuffersAreHonouredExactly) {
    HKEY key = createKey(HKEY_CURRENT_USER, "K");
    RegCloseKey(createKey(key, "abcd"));
    setString(key, "name", "12345");
    char buffer[16] = "untouched";
    DWORD length = 4;  // "abcd" needs 5 with its zero
    EXPECT_EQ(RegEnumKeyExA(key, 0, buffer, &length, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
    length = 5;
    ASSERT_EQ(RegEnumKeyExA(key, 0, buffer, &length, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(length, 4u);
    EXPECT_STREQ(buffer, "abcd");
    length = 4;
    EXPECT_EQ(RegEnumValueA(key, 0, buffer, &length, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);

    DWORD type = 0, size = 5;
    EXPECT_EQ(RegQueryValueExA(key, "name", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 6u) << "the size needed";
    EXPECT_EQ(type, REG_SZ);
    size = 0;
    ASSERT_EQ(RegQueryValueExA(key, "name", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 6u) << "no buffer: the size alone";
    EXPECT_EQ(RegQueryValueExA(key, "missing", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size),
              ERROR_FILE_NOT_FOUND);
    RegCloseKey(key);
}

TEST_F(WinReg, QueryInfoCountsAndMeasures) {
    HKEY key = createKey(HKEY_LOCAL_MACHINE, "Info");
    RegCloseKey(createKey(key, "short"));
    RegCloseKey(createKey(key, "longer name"));
    setString(key, "", "default");
    const DWORD number = 10;
    RegSetValueExA(key, "Count", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4);
    DWORD subKeys = 0, maxKey = 0, values = 0, maxName = 0, maxData = 0;
    ASSERT_EQ(RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subKeys, &maxKey, nullptr, &values, &maxName,
                               &maxData, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(subKeys, 2u);
    EXPECT_EQ(maxKey, 11u);
    EXPECT_EQ(values, 2u);
    EXPECT_EQ(maxName, 5u);
    EXPECT_EQ(maxData, 8u);
    RegCloseKey(key);
}

TEST_F(WinReg, AccessRightsOfTheHandleAreEnforced) {
    RegCloseKey(createKey(HKEY_CURRENT_USER, "ReadOnly"));
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "ReadOnly", 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(setString(key, "x", "y"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(queryString(key, "x"), "<missing>");
    RegCloseKey(key);
}

TEST_F(WinReg, DeleteRemovesValuesAndChildlessKeysOnly) {
    HKEY key = createKey(HKEY_CURRENT_USER, "A\\B");
    setString(key, "v", "1");
    EXPECT_EQ(RegDeleteValueA(key, "V"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueA(key, "v"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "A"), ERROR_ACCESS_DENIED) << "A still has B";
    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "a\\b"), ERROR_SUCCESS);
    EXPECT_EQ(setString(key, "v", "1"), ERROR_KEY_DELETED) << "a handle to a deleted key";
    RegCloseKey(key);
    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "A"), ERROR_SUCCESS);
    EXPECT_EQ(fileText().find("[HKEY_CURRENT_USER\\A"), std::string::npos);
}

TEST_F(WinReg, VolatileKeysNeverReachTheFile) {
    HKEY stable = createKey(HKEY_CURRENT_USER, "Stable");
    setString(stable, "kept", "1");
    HKEY fleeting = createKey(stable, "Fleeting\\Deeper", REG_OPTION_VOLATILE);
    setString(fleeting, "secret", "volatile data");
    EXPECT_EQ(queryString(fleeting, "secret"), "volatile data");
    HKEY child = nullptr;
    EXPECT_EQ(RegCreateKeyExA(fleeting, "Child", 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &child,
                              nullptr),
              ERROR_CHILD_MUST_BE_VOLATILE);
    setString(stable, "later", "2");  // rewrites the file while the volatile keys exist
    const std::string text = fileText();
    EXPECT_NE(text.find("\"later\"=\"2\""), std::string::npos);
    EXPECT_EQ(text.find("Fleeting"), std::string::npos);
    EXPECT_EQ(text.find("secret"), std::string::npos);
    // A second program sees the stable keys only.
    Registry other(path_);
    HKEY seen = nullptr;
    EXPECT_EQ(other.openKey(HKEY_CURRENT_USER, "Stable\\Fleeting", KEY_READ, &seen), ERROR_FILE_NOT_FOUND);
    // This program keeps its volatile keys across another program's write.
    HKEY otherStable = nullptr;
    ASSERT_EQ(other.openKey(HKEY_CURRENT_USER, "Stable", KEY_ALL_ACCESS, &otherStable), ERROR_SUCCESS);
    const std::string data = "x";
    ASSERT_EQ(other.setValue(otherStable, "fromOther", REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()), 2),
              ERROR_SUCCESS);
    EXPECT_EQ(queryString(stable, "fromOther"), "x");
    EXPECT_EQ(queryString(fleeting, "secret"), "volatile data");
    RegCloseKey(fleeting);
    RegCloseKey(stable);
}

TEST_F(WinReg, TwoRegistriesOverOneFileInterleavedLoseNothing) {
    Registry first(path_), second(path_);
    HKEY a = nullptr, b = nullptr;
    ASSERT_EQ(first.createKey(HKEY_CURRENT_USER, "Shared", 0, KEY_ALL_ACCESS, &a, nullptr), ERROR_SUCCESS);
    ASSERT_EQ(second.createKey(HKEY_CURRENT_USER, "Shared", 0, KEY_ALL_ACCESS, &b, nullptr), ERROR_SUCCESS);
    for (int i = 0; i < 20; ++i) {
        const std::string v = std::to_string(i);
        ASSERT_EQ(first.setValue(a, ("a" + v).c_str(), REG_SZ, reinterpret_cast<const BYTE*>(v.c_str()), 2 + (i > 9)),
                  ERROR_SUCCESS);
        ASSERT_EQ(second.setValue(b, ("b" + v).c_str(), REG_SZ, reinterpret_cast<const BYTE*>(v.c_str()), 2 + (i > 9)),
                  ERROR_SUCCESS);
    }
    Registry third(path_);
    HKEY c = nullptr;
    ASSERT_EQ(third.openKey(HKEY_CURRENT_USER, "Shared", KEY_READ, &c), ERROR_SUCCESS);
    DWORD values = 0;
    ASSERT_EQ(third.queryInfo(c, nullptr, nullptr, &values, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(values, 40u);
}

TEST_F(WinReg, TwoProcessesWritingAtOnceLoseNothing) {
    setString(createKey(HKEY_CURRENT_USER, "Race"), "start", "");
    std::vector<pid_t> children;
    for (int who = 0; who < 2; ++who) {
        const pid_t pid = fork();
        if (pid == 0) {
            Registry mine(path_);
            HKEY key = nullptr;
            if (mine.openKey(HKEY_CURRENT_USER, "Race", KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) _exit(1);
            for (int i = 0; i < 40; ++i) {
                const std::string name = std::string("p").append(std::to_string(who)).append("_").append(std::to_string(i));  // g++ 12 -Wrestrict
                if (mine.setValue(key, name.c_str(), REG_SZ, reinterpret_cast<const BYTE*>(name.c_str()),
                                  static_cast<DWORD>(name.size() + 1)) != ERROR_SUCCESS)
                    _exit(2);
            }
            _exit(0);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Race", 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD values = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                     nullptr);
    EXPECT_EQ(values, 81u);
    EXPECT_EQ(queryString(key, "p1_39"), "p1_39");
    RegCloseKey(key);
}

TEST_F(WinReg, AFileThatDoesNotParseIsNamedAndNeverOverwritten) {
    const std::string broken = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n\"a\"=\"1\"\r\n\"b\"=dword:xyz\r\n";
    writeFile(path_, broken);
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key), ERROR_BADDB);
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "New", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_BADDB);
    EXPECT_EQ(setString(HKEY_CURRENT_USER, "x", "y"), ERROR_BADDB);
    EXPECT_EQ(Registry::current().problem(), path_ + ":5: dword: takes 1 to 8 hexadecimal digits");
    EXPECT_EQ(fileText(), broken);
    // Once the file is repaired, the registry works again.
    writeFile(path_, "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n\"a\"=\"1\"\n");
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(queryString(key, "a"), "1");
    RegCloseKey(key);
    EXPECT_EQ(Registry::current().problem(), "");
}

TEST_F(WinReg, AMissingFileIsAnEmptyRegistryAndTheFolderIsMadeOnTheFirstWrite) {
    Registry::useFile(dir_ + "/deeper/still/registry.reg");
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    key = createKey(HKEY_CURRENT_USER, "Software");
    EXPECT_EQ(setString(key, "v", "1"), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(readFile(dir_ + "/deeper/still/registry.reg"),
              "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n\"v\"=\"1\"\r\n\r\n");
}

TEST_F(WinReg, WhatIsWrittenReadsBackWithAnIndependentReader) {
    HKEY key = createKey(HKEY_CURRENT_USER, "Software\\Autodesk\\Профиль"_cp);
    setString(key, "", "по умолчанию"_cp);
    setString(key, "quote\"and\\slash", "C:\\Zor soft;\"x\"");
    setString(key, "lines", "one\r\ntwo");
    const DWORD number = 0x1234abcd;
    RegSetValueExA(key, "Count", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4);
    std::string blob;
    for (int i = 0; i < 100; ++i) blob += static_cast<char>(i * 7);
    RegSetValueExA(key, "Blob", 0, REG_BINARY, reinterpret_cast<const BYTE*>(blob.data()), 100);
    RegSetValueExA(key, "Expand", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>("%PATH%"), 7);
    RegCloseKey(key);
    const std::string out = dir_ + "/dump.txt";
    ASSERT_EQ(runProgram({"/usr/bin/python3", KESTRIN_SOURCE_DIR "/tests/platform/registry/read_regedit4.py", path_,
                          out}),
              0);
    auto hex = [](const std::string& s) {
        std::string h;
        char b[3];
        for (unsigned char c : s) {
            std::snprintf(b, sizeof b, "%02x", c);
            h += b;
        }
        return h;
    };
    const std::string path = hex("HKEY_CURRENT_USER\\Software\\Autodesk\\Профиль"_cp);
    auto value = [&](const std::string& name, int type, const std::string& data) {
        return "VALUE " + path + " " + hex(name) + " " + std::to_string(type) + " " + hex(data) + "\n";
    };
    // Keys without values appear through their subkeys' sections only.
    const std::string expected =
        "KEY " + path + "\n" + value("", 1, std::string("по умолчанию"_cp) + '\0') +
        value("quote\"and\\slash", 1, std::string("C:\\Zor soft;\"x\"") + '\0') +
        value("lines", 1, std::string("one\r\ntwo") + '\0') + value("Count", 4, "\xcd\xab\x34\x12") +
        value("Blob", 3, blob) + value("Expand", 2, std::string("%PATH%") + '\0');
    EXPECT_EQ(readFile(out), expected);
}

TEST(SystemMessages, TextOfAStatusCodeIsAllocatedAndFreed) {
    char* text = nullptr;
    ASSERT_GT(FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, ERROR_MORE_DATA, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr),
              0u);
    EXPECT_STREQ(text, "More data is available.\r\n");
    LocalFree(text);
    char small[8];
    EXPECT_EQ(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_FILE_NOT_FOUND, 0, small, sizeof small, nullptr),
              0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, 4242, 0, small, sizeof small, nullptr), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MR_MID_NOT_FOUND));
}

}  // namespace
}  // namespace kestrin::registry::test
