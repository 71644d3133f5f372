// The few POSIX calls the tests use to set up their environment and
// temporary folders, for the Windows build (forced into each test file there).
#pragma once

#ifdef _WIN32
#include <direct.h>
#include <io.h>
#include <stdlib.h>

#include <random>
#include <string>

inline int setenv(const char* name, const char* value, int overwrite) {
    if (!overwrite && getenv(name) != nullptr) return 0;
    return _putenv_s(name, value);
}
inline int unsetenv(const char* name) { return _putenv_s(name, ""); }
inline char* mkdtemp(char* pattern) {
    std::string text(pattern);
    const std::size_t x = text.rfind("XXXXXX");
    if (x == std::string::npos || x + 6 != text.size()) return nullptr;
    static std::mt19937 random(std::random_device{}());
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        for (std::size_t i = 0; i < 6; ++i) pattern[x + i] = letters[random() % 36];
        if (_mkdir(pattern) == 0) return pattern;
    }
    return nullptr;
}
#endif
