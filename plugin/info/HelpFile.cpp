#include "plugin/info/HelpFile.h"

#include "base/Cp1251.h"
#include "host/api/Arx.h"
#include "plugin/info/ClassesRoot.h"

using namespace kestrin::literals;

namespace {
constexpr char kHelpControlKey[] = "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
constexpr std::size_t kMaxPath = 260;
}  // namespace

HelpViewerLoader::HelpViewerLoader(LocationReader readLocation) : m_readLocation(std::move(readLocation)) {}

HWND HelpViewerLoader::htmlHelp(HWND owner, const char* file, UINT command, DWORD_PTR data) {
    if (m_bLoadFailed) return nullptr;
    if (m_hLibrary == nullptr) {
        std::string location;
        if (m_readLocation && m_readLocation(location)) m_hLibrary = kestrin::help::loadHelpControl(location.c_str());
        if (m_hLibrary == nullptr) m_hLibrary = kestrin::help::loadHelpControl(kHelpControlFileName);
        if (m_hLibrary == nullptr) {
            m_bLoadFailed = true;
            return nullptr;
        }
    }
    if (m_pfnHtmlHelp == nullptr) {
        m_pfnHtmlHelp = kestrin::help::helpControlExport(m_hLibrary, kHtmlHelpOrdinal);
        if (m_pfnHtmlHelp == nullptr) {
            m_bLoadFailed = true;
            return nullptr;
        }
    }
    return m_pfnHtmlHelp(owner, file, command, data);
}

HelpViewerLoader& moduleHelpViewer() {
    static HelpViewerLoader loader([](std::string& location) { return readClassesRootDefault(kHelpControlKey, location); });
    return loader;
}

void showHelpFile() {
    char path[kMaxPath] = {};
    if (acedFindFile(kHelpFileName, path) == RTNORM) {
        moduleHelpViewer().htmlHelp(nullptr, path, HH_DISPLAY_TOPIC, 0);
        return;
    }
    acutPrintf("\nНе найден файл %s.\n"_cp, kHelpFileName);
}
