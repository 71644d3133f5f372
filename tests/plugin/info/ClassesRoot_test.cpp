// Reads under HKEY_CLASSES_ROOT come from the process's registry file: the
// default value when it is a string that fits the caller's buffer, nothing
// otherwise.
#include <gtest/gtest.h>

#include "platform/fs/MemoryFileSystem.h"
#include "platform/registry/Registry.h"
#include "plugin/info/ClassesRoot.h"

namespace {

using kestrin::fs::MemoryFileSystem;
using kestrin::registry::Registry;

class ClassesRoot : public ::testing::Test {
protected:
    void SetUp() override {
        memory_.addFile("/classes.reg",
                        "REGEDIT4\r\n\r\n"
                        "[HKEY_CLASSES_ROOT\\.htm]\r\n@=\"htmlfile\"\r\n\r\n"
                        "[HKEY_CLASSES_ROOT\\htmlfile\\shell\\open\\command]\r\n"
                        "@=\"C:\\\\Browser\\\\browser.exe \\\"%1\\\"\"\r\n\r\n"
                        "[HKEY_CLASSES_ROOT\\NoDefault]\r\n\"Other\"=\"x\"\r\n\r\n"
                        "[HKEY_CLASSES_ROOT\\Number]\r\n@=dword:00000010\r\n\r\n"
                        "[HKEY_CURRENT_USER\\.htm]\r\n@=\"not a class\"\r\n");
        Registry::useFile("/classes.reg");
    }
    void TearDown() override { Registry::useFile("/unused.reg"); }

    MemoryFileSystem memory_;
    MemoryFileSystem::Installed installed_{memory_};
};

TEST_F(ClassesRoot, ReadsTheDefaultStringOfAKeyInAnyLetterCase) {
    std::string value = "old";
    ASSERT_TRUE(readClassesRootDefault(".HTM", value));
    EXPECT_EQ(value, "htmlfile");
    ASSERT_TRUE(readClassesRootDefault("htmlfile\\shell\\open\\command", value));
    EXPECT_EQ(value, "C:\\Browser\\browser.exe \"%1\"");
}

TEST_F(ClassesRoot, MissingKeysValuesOtherTypesAndValuesTooLongReadAsNothing) {
    std::string value = "old";
    EXPECT_FALSE(readClassesRootDefault(".html", value));
    EXPECT_EQ(value, "");
    EXPECT_FALSE(readClassesRootDefault("NoDefault", value)) << "a key without a default value";
    EXPECT_FALSE(readClassesRootDefault("Number", value)) << "a number is not a class name";
    EXPECT_FALSE(readClassesRootDefault(".htm", value, 8)) << "\"htmlfile\" and its zero need 9 bytes";
    EXPECT_TRUE(readClassesRootDefault(".htm", value, 9));
    EXPECT_EQ(value, "htmlfile");
}

TEST_F(ClassesRoot, ARegistryFileThatDoesNotParseReadsAsNothing) {
    memory_.addFile("/classes.reg", "REGEDIT4\r\n[HKEY_CLASSES_ROOT\\.htm]\r\n@=\"htmlfile\r\n");
    std::string value;
    EXPECT_FALSE(readClassesRootDefault(".htm", value));
}

}  // namespace
