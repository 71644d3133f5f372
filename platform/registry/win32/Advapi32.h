// The registry functions of advapi32 behind types of their own, so that the
// system's registry calls (WinReg.h, with the platform's own HKEY and DWORD)
// can pass straight through without the two sets of declarations meeting in
// one file. Keys are the system's handles, as numbers.
#pragma once

#include <cstdint>

namespace kestrin::win32::advapi32 {

using Key = std::uintptr_t;
using Dword = std::uint32_t;

long openKey(Key key, const char* subKey, Dword options, Dword desired, Key* result);
long createKey(Key key, const char* subKey, char* keyClass, Dword options, Dword desired, Key* result,
               Dword* disposition);
long closeKey(Key key);
long queryValue(Key key, const char* name, Dword* type, unsigned char* data, Dword* size);
long setValue(Key key, const char* name, Dword type, const unsigned char* data, Dword size);
long deleteValue(Key key, const char* name);
long deleteKey(Key key, const char* subKey);
long enumKey(Key key, Dword index, char* name, Dword* nameLength, char* keyClass, Dword* classLength,
             Dword* lastWriteTime);
long enumValue(Key key, Dword index, char* name, Dword* nameLength, Dword* type, unsigned char* data, Dword* size);
long queryInfo(Key key, char* keyClass, Dword* classLength, Dword* subKeys, Dword* maxSubKeyLength,
               Dword* maxClassLength, Dword* values, Dword* maxValueNameLength, Dword* maxValueLength,
               Dword* securityDescriptorSize, Dword* lastWriteTime);

}  // namespace kestrin::win32::advapi32
