// The registry reaches its file only through the file services: it works
// wholly inside an installed memory file system, finds its file from that
// file system's environment and sees a file replaced behind its back.
#include <gtest/gtest.h>

#include "platform/fs/MemoryFileSystem.h"
#include "platform/registry/Registry.h"
#include "platform/registry/WinReg.h"

namespace kestrin::registry {
namespace {

std::string queryString(Registry& reg, HKEY key, const char* name) {
    char buffer[256];
    DWORD size = sizeof buffer;
    if (reg.queryValue(key, name, nullptr, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS) return "<missing>";
    return std::string(buffer, size ? size - 1 : 0);
}

TEST(RegistryFile, DefaultPathComesFromTheEnvironmentOfTheFileServices) {
    fs::MemoryFileSystem memory;
    fs::MemoryFileSystem::Installed installed(memory);
    memory.setEnvironment("HOME", "/home/u");
    EXPECT_EQ(defaultRegistryPath(), "/home/u/.kestrin/registry.reg");
    memory.setEnvironment("KESTRIN_REGISTRY", "/etc/host.reg");
    EXPECT_EQ(defaultRegistryPath(), "/etc/host.reg");
}

TEST(RegistryFile, ChangesLandInTheMemoryFileAndAFileReplacedByAnotherProgramIsReadAgain) {
    fs::MemoryFileSystem memory;
    fs::MemoryFileSystem::Installed installed(memory);
    Registry writer("/home/u/.kestrin/registry.reg");  // its folder does not exist yet
    HKEY key = nullptr;
    ASSERT_EQ(writer.createKey(HKEY_CURRENT_USER, "Software\\Zor", 0, KEY_ALL_ACCESS, &key, nullptr), ERROR_SUCCESS);
    const std::string text = "C:\\Zor";
    ASSERT_EQ(writer.setValue(key, "Path", REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), static_cast<DWORD>(text.size() + 1)),
              ERROR_SUCCESS);
    auto file = memory.readFile("/home/u/.kestrin/registry.reg");
    ASSERT_TRUE(file.ok());
    EXPECT_NE(file->find("[HKEY_CURRENT_USER\\Software\\Zor]"), std::string::npos) << *file;
    EXPECT_NE(file->find("\"Path\"=\"C:\\\\Zor\""), std::string::npos) << *file;

    Registry reader("/home/u/.kestrin/registry.reg");
    HKEY seen = nullptr;
    ASSERT_EQ(reader.openKey(HKEY_CURRENT_USER, "Software\\Zor", KEY_READ, &seen), ERROR_SUCCESS);
    EXPECT_EQ(queryString(reader, seen, "Path"), "C:\\Zor");

    // Same length, other content: the reader must notice the new version.
    memory.addFile("/home/u/.kestrin/registry.reg", "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Zor]\r\n\"Path\"=\"D:\\\\Zor\"\r\n");
    EXPECT_EQ(queryString(reader, seen, "Path"), "D:\\Zor");

    memory.addFile("/home/u/.kestrin/registry.reg", "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Zor]\r\nbroken\r\n");
    EXPECT_EQ(reader.openKey(HKEY_CURRENT_USER, "Software\\Zor", KEY_READ, &seen), ERROR_BADDB);
    EXPECT_NE(reader.problem().find("/home/u/.kestrin/registry.reg:3:"), std::string::npos) << reader.problem();
}

TEST(RegistryFile, AWriteProtectedFileIsReportedAndKeptAsItWas) {
    fs::MemoryFileSystem memory;
    fs::MemoryFileSystem::Installed installed(memory);
    const std::string before = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Zor]\r\n";
    memory.addFile("/r.reg", before, 0444);
    Registry reg("/r.reg");
    HKEY key = nullptr;
    EXPECT_EQ(reg.createKey(HKEY_CURRENT_USER, "Software\\Other", 0, KEY_ALL_ACCESS, &key, nullptr),
              ERROR_REGISTRY_IO_FAILED);
    EXPECT_NE(reg.problem().find("/r.reg"), std::string::npos) << reg.problem();
    EXPECT_EQ(*memory.readFile("/r.reg"), before);
}

}  // namespace
}  // namespace kestrin::registry
