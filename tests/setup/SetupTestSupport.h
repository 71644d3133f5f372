// What the setup's tests share: a fresh folder per test with drive C and its
// drive links, a registry file in it, a fresh session with the dialog
// framework attached and the setup's resources in place.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "base/Cp1251.h"
#include "platform/registry/Registry.h"
#include "platform/registry/WinReg.h"
#include "platform/session/Transcript.h"
#include "platform/ui/SessionBinding.h"
#include "platform/ui/UiEvents.h"
#include "setup/SetupApp.h"
#include "tests/support/SessionFixture.h"

namespace kestrin::setup::test {

namespace stdfs = std::filesystem;

inline std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void writeBytes(const std::string& path, const std::string& bytes) {
    stdfs::create_directories(stdfs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

class SetupTest : public kestrin::test::FreshSession {
protected:
    void SetUp() override {
        std::string templ = (stdfs::temp_directory_path() / "kestrin-setup-XXXXXX").string();
        ASSERT_NE(mkdtemp(templ.data()), nullptr);
        dir_ = templ;
        drive_ = dir_ + "/drive_c";
        stdfs::create_directories(dir_ + "/dosdevices");
        stdfs::create_directories(drive_);
        stdfs::create_directory_symlink("../drive_c", dir_ + "/dosdevices/c:");
        stdfs::create_directory_symlink("/", dir_ + "/dosdevices/z:");
        oldCwd_ = stdfs::current_path();  // the chooser moves the process's current folder
        if (const char* old = getenv("KESTRIN_DOSDEVICES")) oldDevices_ = old;
        setenv("KESTRIN_DOSDEVICES", (dir_ + "/dosdevices").c_str(), 1);
        registryPath_ = dir_ + "/registry.reg";
        writeBytes(registryPath_, "REGEDIT4\n\n");
        registry::Registry::useFile(registryPath_);
        ui::attachToSession();
        useSetupResources();
    }
    void TearDown() override {
        FreshSession::TearDown();
        registry::Registry::useFile(dir_ + "/unused.reg");
        if (oldDevices_.empty()) unsetenv("KESTRIN_DOSDEVICES");
        else setenv("KESTRIN_DOSDEVICES", oldDevices_.c_str(), 1);
        stdfs::current_path(oldCwd_);
        stdfs::remove_all(dir_);
    }

    // Replaces the registry file (and makes the process read it afresh).
    void useRegistry(const std::string& regedit4) {
        writeBytes(registryPath_, regedit4);
        registry::Registry::useFile(registryPath_);
    }
    std::string registryText() const { return readBytes(registryPath_); }
    // A folder on drive C ("Program Files/Zor").
    void makeFolder(const std::string& relative) { stdfs::create_directories(drive_ + "/" + relative); }
    bool folderExists(const std::string& relative) const { return stdfs::is_directory(drive_ + "/" + relative); }

    // Message boxes shown so far: "[caption] text (icon, buttons) -> answer", CP1251.
    static std::vector<std::string> boxes() {
        std::vector<std::string> out;
        for (const auto& e : session::Transcript::instance().entries())
            if (e.kind == session::Transcript::Kind::MessageBox) out.push_back(e.text);
        return out;
    }

    std::string dir_, drive_, registryPath_, oldDevices_;
    stdfs::path oldCwd_;
};

// A value of a key, read through the registry calls; "<missing>" when absent.
inline std::string regValue(const std::string& key, const std::string& name) {
    HKEY h = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return "<missing>";
    char buffer[4096];
    DWORD size = sizeof buffer;
    DWORD type = 0;
    const LONG status = RegQueryValueExA(h, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(h);
    if (status != ERROR_SUCCESS) return "<missing>";
    return std::string(buffer, size ? size - 1 : 0);
}

}  // namespace kestrin::setup::test
