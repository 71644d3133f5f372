// Reads under HKEY_CLASSES_ROOT through the registry calls: file associations
// (the hyperlink fallback's browser) and the locations of registered controls
// (the help viewer).
#pragma once

#include <string>

// The default value of `subKey` under HKEY_CLASSES_ROOT, read into a buffer
// of `capacity` bytes (the terminating zero included); false when the key or
// value is missing, is not a string or does not fit.
bool readClassesRootDefault(const std::string& subKey, std::string& value, std::size_t capacity = 260);
