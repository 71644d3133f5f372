#include "setup/InstallCheck.h"

#include "base/Cp1251.h"
#include "platform/fs/FileSystem.h"
#include "setup/SetupDlg.h"

using namespace kestrin::literals;
using kestrin::fs::FileSystem;

namespace {

CString withoutTrailingSeparator(CString path) {
    while (path.size() > 1 && path.back() == '\\' && !(path.size() == 3 && path[1] == ':')) path.pop_back();
    return path;
}

// The folder above `path`: the drive root kept whole ("C:\"), the current
// folder above a relative name; empty above a root.
CString parentFolder(const CString& path) {
    if (path == ".") return {};
    const std::size_t cut = path.find_last_of('\\');
    if (cut == CString::npos) return path.size() == 2 && path[1] == ':' ? CString() : CString(".");
    if (cut + 1 == path.size()) return {};  // "C:\": nothing above
    if (cut == 2 && path[1] == ':') return path.substr(0, 3);
    if (cut == 0) return "\\";
    return path.substr(0, cut);
}

}  // namespace

CString osReasonText(const std::string& utf8) {
    try {
        return kestrin::utf8ToCp1251(utf8);
    } catch (const kestrin::EncodingError&) {
        return "?";
    }
}

CString targetFolderProblem(const CString& target) {
    const CString cannot = "Нельзя создать каталог "_cp + target + ": ";
    FileSystem& files = FileSystem::current();
    for (CString at = withoutTrailingSeparator(target); !at.empty(); at = parentFolder(at)) {
        auto st = files.status(at);
        if (!st) return cannot + osReasonText(st.error().action + ": " + st.error().reason);
        if (!st->exists()) continue;
        if (!st->isDirectory()) return cannot + at + " — файл, а не каталог"_cp;
        if ((st->mode & 0222) == 0) return cannot + "каталог "_cp + at + " защищён от записи"_cp;
        return {};
    }
    return cannot + "нет ни одного его каталога"_cp;
}

std::vector<CString> installationProblems(const CString& sourceDir, const CString& target) {
    std::vector<CString> problems;
    FileSystem& files = FileSystem::current();
    for (const InstalledFile& file : kInstalledFiles) {
        const CString source = sourceDir + "\\" + file.name;
        auto st = files.status(source);
        if (!st || !st->isRegular()) problems.push_back("Не найден файлы"_cp + source);
    }
    if (CString folder = targetFolderProblem(target); !folder.empty()) problems.push_back(folder);
    return problems;
}
