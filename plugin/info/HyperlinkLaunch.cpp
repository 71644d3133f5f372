#include "plugin/info/HyperlinkLaunch.h"

#include "platform/shell/Shell.h"

std::optional<std::string> composeBrowserCommand(const std::string& browserCommand, const std::string& target) {
    std::size_t cut = browserCommand.find("\"%1\"");
    if (cut == std::string::npos) cut = browserCommand.find("%1");
    std::string line = browserCommand.substr(0, cut);
    line += ' ';
    line += target;
    if (line.size() + 1 > kBrowserCommandCapacity) return std::nullopt;
    return line;
}

int launchHyperlink(const std::string& target, int showCommand, const ClassesRootReader& readClassesRoot) {
    const int opened =
        static_cast<int>(reinterpret_cast<INT_PTR>(ShellExecute(nullptr, "open", target.c_str(), nullptr, nullptr, showCommand)));
    if (opened > 32) return opened;

    std::string documentClass, browserCommand;
    if (!readClassesRoot || !readClassesRoot(".htm", documentClass)) return opened;
    if (!readClassesRoot(documentClass + "\\shell\\open\\command", browserCommand)) return opened;
    const std::optional<std::string> line = composeBrowserCommand(browserCommand, target);
    if (!line) return kCommandLineTooLong;
    return static_cast<int>(WinExec(line->c_str(), static_cast<UINT>(showCommand)));
}

std::string launchErrorMessage(int code) {
    std::string text;
    switch (code) {
        case 0: text = "The operating system is out\nof memory or resources."; break;
        case SE_ERR_FNF: text = "The specified file was not found."; break;
        case SE_ERR_PNF: text = "The specified path was not found."; break;
        case SE_ERR_ACCESSDENIED: text = "The operating system denied\naccess to the specified file."; break;
        case SE_ERR_OOM: text = "There was not enough memory to complete the operation."; break;
        case SE_ERR_BAD_FORMAT: text = "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."; break;
        case SE_ERR_SHARE: text = "A sharing violation occurred. "; break;
        case SE_ERR_ASSOCINCOMPLETE: text = "The filename association is\nincomplete or invalid."; break;
        case SE_ERR_DDETIMEOUT: text = "The DDE transaction could not\nbe completed because the request timed out."; break;
        case SE_ERR_DDEFAIL: text = "The DDE transaction failed."; break;
        case SE_ERR_DDEBUSY:
            text = "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed.";
            break;
        case SE_ERR_NOASSOC: text = "There is no application associated\nwith the given filename extension."; break;
        case SE_ERR_DLLNOTFOUND: text = "The specified dynamic-link library was not found."; break;
        case kCommandLineTooLong:
            text = "The browser's command line with the link would be longer\nthan " +
                   std::to_string(kBrowserCommandCapacity - 1) + " characters.";
            break;
        default: text = "Unknown Error (" + std::to_string(code) + ") occurred."; break;
    }
    return "Unable to open hyperlink:\n\n" + text;
}
