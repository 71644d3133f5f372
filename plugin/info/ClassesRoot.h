// Reads under HKEY_CLASSES_ROOT: file associations and the locations of
// registered controls. The registry service is not part of the platform
// yet, so every key reads as missing: the hyperlink fallback then reports
// the shell's own result, and the help viewer is loaded by its file name.
#pragma once

#include <string>

// The default value of `subKey` under HKEY_CLASSES_ROOT, read into a buffer
// of `capacity` bytes (the terminating zero included); false when the key or
// value is missing or does not fit.
bool readClassesRootDefault(const std::string& subKey, std::string& value, std::size_t capacity = 260);
