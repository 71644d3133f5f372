// The registry calls on Windows reach the system's registry (under Wine the
// prefix's): the platform's status codes, buffer sizes and key order hold
// there as they do over the REGEDIT4 file on Linux.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fs/FileSystem.h"
#include "platform/registry/Registry.h"
#include "platform/registry/WinReg.h"

namespace {

class SystemRegistry : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(kestrin::registry::systemHasRegistry());
        DWORD how = 0;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kRoot, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                  nullptr, &root_, &how),
                  ERROR_SUCCESS);
        EXPECT_EQ(how, static_cast<DWORD>(REG_CREATED_NEW_KEY)) << "a key left by an earlier run";
    }
    void TearDown() override {
        if (root_) RegCloseKey(root_);
        for (const char* sub : {"Zeta\\Inner", "Zeta", "alpha", "Mid"})
            RegDeleteKeyA(HKEY_CURRENT_USER, (std::string(kRoot) + "\\" + sub).c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, kRoot);
    }
    HKEY make(const char* sub) {
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyExA(root_, sub, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), ERROR_SUCCESS);
        return key;
    }
    static constexpr const char* kRoot = "Software\\Kestrin test keys";
    HKEY root_ = nullptr;
};

TEST_F(SystemRegistry, ValuesRoundTripAndAShortBufferAsksForMore) {
    const std::string path = "C:\\Kestrin;C:\\Support";
    ASSERT_EQ(RegSetValueExA(root_, "ACAD", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                             static_cast<DWORD>(path.size() + 1)),
              ERROR_SUCCESS);
    const DWORD number = 0x2710;
    ASSERT_EQ(RegSetValueExA(root_, "MaxHatch", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number),
              ERROR_SUCCESS);

    char small[4];
    DWORD type = 0, size = sizeof small;
    EXPECT_EQ(RegQueryValueExA(root_, "acad", nullptr, &type, reinterpret_cast<BYTE*>(small), &size), ERROR_MORE_DATA)
        << "value names in any letter case";
    EXPECT_EQ(size, path.size() + 1) << "the size the data needs";
    std::vector<char> buffer(size);
    ASSERT_EQ(RegQueryValueExA(root_, "ACAD", nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(std::string(buffer.data()), path);

    DWORD read = 0;
    size = sizeof read;
    ASSERT_EQ(RegQueryValueExA(root_, "MaxHatch", nullptr, &type, reinterpret_cast<BYTE*>(&read), &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(read, number);
    EXPECT_EQ(RegQueryValueExA(root_, "Missing", nullptr, &type, nullptr, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteValueA(root_, "MaxHatch"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueA(root_, "MaxHatch"), ERROR_FILE_NOT_FOUND);
}

TEST_F(SystemRegistry, SubkeysEnumerateInAlphabeticalOrderThenSayNoMore) {
    for (const char* sub : {"Zeta", "alpha", "Mid"}) RegCloseKey(make(sub));
    RegCloseKey(make("Zeta\\Inner"));
    std::vector<std::string> names;
    for (DWORD i = 0;; ++i) {
        char name[64];
        DWORD length = sizeof name;
        const LSTATUS status = RegEnumKeyExA(root_, i, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) break;
        ASSERT_EQ(status, ERROR_SUCCESS);
        EXPECT_EQ(length, std::string(name).size()) << "the length without the zero";
        names.push_back(name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"alpha", "Mid", "Zeta"}));

    DWORD subKeys = 0, longest = 0, values = 7;
    ASSERT_EQ(RegQueryInfoKeyA(root_, nullptr, nullptr, nullptr, &subKeys, &longest, nullptr, &values, nullptr, nullptr,
                               nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(subKeys, 3u);
    EXPECT_EQ(longest, 5u);
    EXPECT_EQ(values, 0u);

    HKEY opened = nullptr;
    EXPECT_EQ(RegOpenKeyExA(root_, "ZETA\\inner", 0, KEY_READ, &opened), ERROR_SUCCESS) << "key names in any letter case";
    if (opened) RegCloseKey(opened);
    EXPECT_EQ(RegOpenKeyExA(root_, "Nowhere", 0, KEY_READ, &opened), ERROR_FILE_NOT_FOUND);
    EXPECT_NE(RegDeleteKeyA(root_, "Zeta"), ERROR_SUCCESS) << "a key with subkeys stays";
}

}  // namespace
