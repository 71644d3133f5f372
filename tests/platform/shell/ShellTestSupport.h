// A scratch folder, environment variables set for one test, and the
// recording program (tests/sessions/info/record_args.sh) that stands in for
// an opener, a browser or a viewer: it appends its words to $KESTRIN_RECORD.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace kestrin::test {

class ScratchEnvironment {
public:
    ScratchEnvironment() {
        static int serial = 0;
        dir = std::filesystem::temp_directory_path() /
              ("kestrin-shell-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
        std::filesystem::create_directories(dir);
        record = dir / "record.txt";
        setEnv("KESTRIN_RECORD", record.string());
    }
    ~ScratchEnvironment() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->second) ::setenv(it->first.c_str(), it->second->c_str(), 1);
            else ::unsetenv(it->first.c_str());
        }
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }

    void setEnv(const std::string& name, const std::string& value) {
        const char* old = std::getenv(name.c_str());
        saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        ::setenv(name.c_str(), value.c_str(), 1);
    }

    static std::string recorder() { return KESTRIN_SOURCE_DIR "/tests/sessions/info/record_args.sh"; }

    // A copy of the recorder at `path` (folders made), executable or not.
    std::string placeRecorder(const std::filesystem::path& path, bool executable = true) {
        std::filesystem::create_directories(path.parent_path());
        std::filesystem::copy_file(recorder(), path, std::filesystem::copy_options::overwrite_existing);
        std::filesystem::permissions(path, executable ? std::filesystem::perms::owner_all : std::filesystem::perms::owner_read |
                                                                                               std::filesystem::perms::owner_write);
        return path.string();
    }

    // The words of the first start the recorder saw; waits up to 10 s for it
    // (programs are not waited for). Empty when nothing came.
    std::vector<std::string> recorded(std::chrono::milliseconds patience = std::chrono::seconds(10)) const {
        const auto until = std::chrono::steady_clock::now() + patience;
        do {
            std::ifstream in(record);
            std::vector<std::string> words;
            for (std::string line; std::getline(in, line);) {
                if (line == "--") return words;
                words.push_back(line);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        } while (std::chrono::steady_clock::now() < until);
        return {};
    }
    // True when nothing was recorded within a short while.
    bool nothingRecorded() const { return recorded(std::chrono::milliseconds(500)).empty() && !std::filesystem::exists(record); }

    std::filesystem::path dir;
    std::filesystem::path record;
    ScratchEnvironment(const ScratchEnvironment&) = delete;
    ScratchEnvironment& operator=(const ScratchEnvironment&) = delete;

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

class ShellTest : public ::testing::Test, public ScratchEnvironment {};

}  // namespace kestrin::test
