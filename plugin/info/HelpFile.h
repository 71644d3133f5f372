// The plug-in's help: "Kestrin.chm", found on the host's search path and
// shown by the compiled-help viewer, which the module loads on first use.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/help/HelpControl.h"

inline constexpr char kHelpFileName[] = "Kestrin.chm";

// Loads the viewer control at its first call: from the location registered
// for it, else by its file name. A failed load is remembered and never tried
// again; the module keeps one loader for its life.
class HelpViewerLoader {
public:
    using LocationReader = std::function<bool(std::string& location)>;
    explicit HelpViewerLoader(LocationReader readLocation);

    // The viewer's HtmlHelpA; 0 when the viewer cannot be loaded.
    HWND htmlHelp(HWND owner, const char* file, UINT command, DWORD_PTR data);
    bool loadFailed() const { return m_bLoadFailed; }

private:
    LocationReader m_readLocation;
    HMODULE m_hLibrary = nullptr;
    HtmlHelpProc m_pfnHtmlHelp = nullptr;
    bool m_bLoadFailed = false;
};

// The module's loader: the location is read from the registry.
HelpViewerLoader& moduleHelpViewer();

// The palette's help button: finds the help file and shows its default topic,
// or prints "Не найден файл Kestrin.chm." on the command line.
void showHelpFile();
