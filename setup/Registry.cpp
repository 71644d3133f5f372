#include "setup/Registry.h"

#include <cstdio>
#include <vector>

#include "platform/registry/SystemMessages.h"

namespace {
constexpr DWORD kNameBufferSize = 200;
constexpr DWORD kValueBufferSize = 4096;
}  // namespace

CRegistry::CRegistry(HKEY key) : m_hKey(key) {}

CRegistry::~CRegistry() { Close(); }

void CRegistry::recordStatus(LONG status) {
    m_lLastError = status;
    m_dwLastSize = 0;
    m_dwLastType = 0;
}

bool CRegistry::Open(HKEY parent, const CString& subKey) {
    Close();  // never leak the key held so far
    const LONG status = RegOpenKeyExA(parent, subKey.c_str(), 0, KEY_ALL_ACCESS, &m_hKey);
    if (status == ERROR_SUCCESS) return true;
    m_hKey = nullptr;
    recordStatus(status);
    return false;
}

bool CRegistry::Create(HKEY parent, const CString& subKey) {
    Close();
    DWORD disposition = 0;
    const LONG status = RegCreateKeyExA(parent, subKey.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                                        nullptr, &m_hKey, &disposition);
    if (status != ERROR_SUCCESS) m_hKey = nullptr;
    recordStatus(status);
    return status == ERROR_SUCCESS;
}

bool CRegistry::OpenNamed(HKEY parent, const CString& subKey) {
    m_strKeyName = subKey;
    Close();
    const LONG status = RegOpenKeyExA(parent, subKey.c_str(), 0, KEY_ALL_ACCESS, &m_hKey);
    if (status != ERROR_SUCCESS) m_hKey = nullptr;
    recordStatus(status);
    return status == ERROR_SUCCESS;
}

void CRegistry::Close() {
    // The predefined root handed to the constructor is not ours to close,
    // but closing it is harmless, as on the real platform.
    if (m_hKey) {
        RegCloseKey(m_hKey);
        m_hKey = nullptr;
    }
}

bool CRegistry::SetStringValue(const CString& name, const CString& text) {
    const DWORD size = static_cast<DWORD>(text.size() + 1);
    m_lLastError = RegSetValueExA(m_hKey, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), size);
    m_dwLastSize = size;
    m_dwLastType = REG_SZ;
    return m_lLastError == ERROR_SUCCESS;
}

bool CRegistry::DeleteValue(const CString& name) {
    m_lLastError = RegDeleteValueA(m_hKey, name.c_str());
    m_dwLastSize = 0;
    m_dwLastType = 0;
    return m_lLastError == ERROR_SUCCESS;
}

bool CRegistry::QueryStringValue(const CString& name, CString& out) {
    // A value longer than the buffer is read again at the size the registry
    // tells (it may have grown in between: then once more).
    std::vector<char> buffer(kValueBufferSize);
    for (;;) {
        m_dwLastSize = static_cast<DWORD>(buffer.size());
        m_dwLastType = 0;
        m_lLastError = RegQueryValueExA(m_hKey, name.c_str(), nullptr, &m_dwLastType,
                                        reinterpret_cast<BYTE*>(buffer.data()), &m_dwLastSize);
        if (m_lLastError != ERROR_MORE_DATA || m_dwLastSize <= buffer.size()) break;
        buffer.resize(m_dwLastSize);
    }
    if (m_lLastError != ERROR_SUCCESS) return false;
    // Up to the first zero; data without one ends at its size.
    std::size_t length = 0;
    while (length < m_dwLastSize && buffer[length] != '\0') ++length;
    out.assign(buffer.data(), length);
    return true;
}

bool CRegistry::openForEnumeration(const CString& subKey, HKEY& temporary, DWORD& count, bool countValues) {
    LONG status = RegOpenKeyExA(m_hKey, subKey.c_str(), 0, KEY_ALL_ACCESS, &temporary);
    recordStatus(status);
    if (status != ERROR_SUCCESS) return false;
    status = countValues
                 ? RegQueryInfoKeyA(temporary, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr,
                                    nullptr, nullptr, nullptr)
                 : RegQueryInfoKeyA(temporary, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr,
                                    nullptr, nullptr, nullptr);
    recordStatus(status);
    if (status != ERROR_SUCCESS) {
        RegCloseKey(temporary);
        return false;
    }
    return true;
}

bool CRegistry::EnumSubKeys(const CString& subKey, CStringArray& names) {
    HKEY temporary = nullptr;
    DWORD count = 0;
    if (!openForEnumeration(subKey, temporary, count, false)) return false;
    names.RemoveAll();
    bool ok = true;
    for (DWORD i = 0; i < count; ++i) {
        char name[kNameBufferSize];
        DWORD length = sizeof name;
        FILETIME written;
        const int callLine = __LINE__ + 1;  // the box names the call's own line
        const LONG status = RegEnumKeyExA(temporary, i, name, &length, nullptr, nullptr, nullptr, &written);
        recordStatus(status);
        if (status != ERROR_SUCCESS) {
            ReportRegistryError(status, "RegEnumKeyEx", __FILE_NAME__, callLine);
            ok = false;
            break;
        }
        names.Add(CString(name, length));
    }
    RegCloseKey(temporary);
    return ok;
}

bool CRegistry::EnumValueNames(const CString& subKey, CStringArray& names) {
    HKEY temporary = nullptr;
    DWORD count = 0;
    if (!openForEnumeration(subKey, temporary, count, true)) return false;
    names.RemoveAll();
    bool ok = true;
    for (DWORD i = 0; i < count; ++i) {
        char name[kNameBufferSize];
        DWORD length = sizeof name;
        DWORD type = 0;
        const int callLine = __LINE__ + 1;
        const LONG status = RegEnumValueA(temporary, i, name, &length, nullptr, &type, nullptr, nullptr);
        recordStatus(status);
        if (status != ERROR_SUCCESS) {
            ReportRegistryError(status, "RegEnumValue", __FILE_NAME__, callLine);
            ok = false;
            break;
        }
        names.Add(CString(name, length));
    }
    RegCloseKey(temporary);
    return ok;
}

void ReportRegistryError(LONG status, const char* operation, const char* file, int line) {
    char* systemText = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, static_cast<DWORD>(status), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                   reinterpret_cast<LPSTR>(&systemText), 0, nullptr);
    char text[260];
    std::snprintf(text, sizeof text, "%u %s\n%s %u", static_cast<unsigned>(status), operation, file,
                  static_cast<unsigned>(line));
    MessageBox(nullptr, text, systemText ? systemText : "", MB_OK | MB_ICONINFORMATION);
    LocalFree(systemText);
}
