// CRegistry: the setup's thin wrapper over the registry. It holds one open
// key at a time and records the outcome of the last call in plain members;
// operations answer a success flag. Only the enumerations show an error box
// of their own (ReportRegistryError).
#pragma once

#include "platform/registry/WinReg.h"
#include "platform/ui/Framework.h"

class CRegistry : public CObject {
public:
    explicit CRegistry(HKEY key);
    ~CRegistry() override;
    CRegistry(const CRegistry&) = delete;
    CRegistry& operator=(const CRegistry&) = delete;

    bool Open(HKEY parent, const CString& subKey);
    // Create-or-open as a volatile key.
    bool Create(HKEY parent, const CString& subKey);
    // As Open, remembering the name and recording success too.
    bool OpenNamed(HKEY parent, const CString& subKey);
    void Close();
    bool SetStringValue(const CString& name, const CString& text);
    bool DeleteValue(const CString& name);
    // The whole value, however long; out is left as it was when the value
    // cannot be read.
    bool QueryStringValue(const CString& name, CString& out);
    // The names below subKey of the current key, in the registry's order.
    bool EnumSubKeys(const CString& subKey, CStringArray& names);
    bool EnumValueNames(const CString& subKey, CStringArray& names);

    LONG m_lLastError = ERROR_SUCCESS;
    DWORD m_dwLastType = 0;
    DWORD m_dwLastSize = 0;
    HKEY m_hKey = nullptr;
    CString m_strKeyName;

private:
    // Opens subKey of the current key into a temporary key and counts its
    // subkeys or values; false (status recorded) when either fails.
    bool openForEnumeration(const CString& subKey, HKEY& temporary, DWORD& count, bool countValues);
    void recordStatus(LONG status);
};

// Shows "CODE OPERATION\nFILE LINE" in an information box whose caption is
// the system's text of the code.
void ReportRegistryError(LONG status, const char* operation, const char* file, int line);
