#include "setup/ChooseDir.h"

#include <algorithm>
#include <cstdio>

#include "base/TextCase.h"
#include "platform/fs/FileSystem.h"
#include "platform/fs/Path.h"
#include "setup/SetupIds.h"

using kestrin::fs::FileSystem;

namespace {

constexpr const char* kDummyFileName = "Junk";

bool hasDrive(const CString& path) {
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

char lowerDrive(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::vector<CString> splitFolders(const CString& rest) {
    std::vector<CString> parts;
    CString part;
    for (char c : rest + "\\") {
        if (c != '\\' && c != '/') {
            part += c;
            continue;
        }
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        part.clear();
    }
    return parts;
}

CString appendFolder(const CString& path, const CString& name) {
    CString out = path;
    if (!out.empty() && out.back() != '\\') out += '\\';
    out += name;
    return out;
}

bool isDirectory(const CString& path) {
    auto st = FileSystem::current().status(path);
    return st && st->isDirectory();
}

CString format(const char* pattern, const CString& path) {
    std::vector<char> buffer(path.size() + 128);
    std::snprintf(buffer.data(), buffer.size(), pattern, path.c_str());
    return CString(buffer.data());
}

}  // namespace

bool hasInvalidPathCharacter(const CString& path) { return path.find_first_of("*?|/<>\"") != CString::npos; }

CString typedPathProblem(const CString& path) {
    if (hasInvalidPathCharacter(path)) return format("%s is not a valid pathname.", path);
    if (path.size() + 1 + std::char_traits<char>::length(kDummyFileName) > CChooseDir::kMaxFullName)
        return format("%s is too long a pathname.\nA full name holds at most 259 characters.", path);
    return {};
}

CString pathNameProblem(const CString& path) {
    if (path.empty()) return format("%s is not a valid pathname.", path);
    return typedPathProblem(path);
}

bool createDirectoryOneLevel(const CString& path) {
    CString trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '\\') trimmed.pop_back();
    const std::size_t cut = trimmed.find_last_of('\\');
    CString parent = cut == CString::npos ? CString() : trimmed.substr(0, cut);
    if (parent.size() == 2 && hasDrive(parent)) parent += '\\';
    const bool parentThere = parent.empty() ? !hasDrive(trimmed) : isDirectory(parent);
    if (!parentThere) return false;
    auto st = FileSystem::current().status(trimmed);
    if (!st || st->exists()) return false;
    return static_cast<bool>(FileSystem::current().createDirectories(trimmed));
}

BEGIN_MESSAGE_MAP(CChooseDir, CDialog)
    ON_WM_PAINT()
    ON_LBN_SELCHANGE(IDC_DIR_LIST, OnDirSelChange)
    ON_LBN_SELCHANGE(IDC_FILE_LIST, OnFileSelChange)
    ON_LBN_DBLCLK(IDC_DIR_LIST, OnDirDblClk)
    ON_CBN_SELCHANGE(IDC_DRIVES, OnDriveChange)
END_MESSAGE_MAP()

CChooseDir::CChooseDir(CString initialDir, CWnd* parent)
    : CDialog(IDD_CHOOSE_DIR, parent), m_strInitialDir(std::move(initialDir)) {}

CString CChooseDir::GetDirectory() const {
    if (m_nFileOffset <= 0) return {};
    return m_strFileName.substr(0, static_cast<std::size_t>(m_nFileOffset - 1));
}

void CChooseDir::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_DIR_PATH, m_edtDirectory);
}

bool CChooseDir::listFolder(const CString& dir, std::vector<CString>& items, int& currentItem, CString& canonical) {
    if (!hasDrive(dir)) return false;
    FileSystem& files = FileSystem::current();
    const CString root = CString(1, lowerDrive(dir[0])) + ":\\";
    if (!isDirectory(root)) return false;
    std::vector<CString> found{root};
    CString at = root;
    for (const CString& part : splitFolders(dir.substr(2))) {
        auto entry = files.findIgnoringCase(at, part);
        if (!entry) return false;
        const CString name = kestrin::fs::fileName(*entry);
        at = appendFolder(at, name);
        if (!isDirectory(at)) return false;
        found.push_back(name);
    }
    auto entries = files.listDirectory(at);
    if (!entries) return false;
    std::vector<CString> subfolders;
    for (const auto& e : *entries)
        if (e.type == kestrin::fs::FileType::Directory) subfolders.push_back(e.name);
    std::stable_sort(subfolders.begin(), subfolders.end(), [](const CString& a, const CString& b) {
        const int c = kestrin::compareIgnoringCase(a, b);
        return c != 0 ? c < 0 : a < b;
    });
    currentItem = static_cast<int>(found.size()) - 1;
    found.insert(found.end(), subfolders.begin(), subfolders.end());
    items = std::move(found);
    canonical = at;
    return true;
}

CString CChooseDir::composePath(const std::vector<CString>& items, int currentItem, int index) {
    if (index < 0 || index >= static_cast<int>(items.size())) return {};
    CString path;
    const int last = std::min(index, currentItem);
    for (int i = 0; i <= last; ++i) {
        if (i > 1) path += '\\';
        path += items[static_cast<std::size_t>(i)];
    }
    // A subfolder lies directly below the current folder, not below the
    // subfolders listed before it.
    if (index > currentItem) path = appendFolder(path, items[static_cast<std::size_t>(index)]);
    return path;
}

bool CChooseDir::openFolder(const CString& dir) {
    std::vector<CString> items;
    int current = 0;
    CString canonical;
    if (!listFolder(dir, items, current, canonical)) return false;
    CListBox* list = static_cast<CListBox*>(GetDlgItem(IDC_DIR_LIST));
    list->ResetContent();
    for (const CString& item : items) list->InsertString(-1, item.c_str());
    list->SetCurSel(current);
    m_items = std::move(items);
    m_nCurrentItem = current;
    m_strCurrentDir = canonical;
    fillDrives();
    return true;
}

void CChooseDir::fillDrives() {
    CComboBox* drives = static_cast<CComboBox*>(GetDlgItem(IDC_DRIVES));
    drives->ResetContent();
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        const CString drive = CString(1, letter) + ":";
        if (isDirectory(drive + "\\")) drives->AddString(drive.c_str());
    }
    if (!m_strCurrentDir.empty()) {
        const CString current = CString(1, lowerDrive(m_strCurrentDir[0])) + ":";
        drives->SetCurSel(drives->FindStringExact(-1, current.c_str()));
    }
}

bool CChooseDir::selectedPath(CString& out) const {
    const CListBox* list = static_cast<const CListBox*>(GetDlgItem(IDC_DIR_LIST));
    const int selection = list->GetCurSel();
    if (selection < 0) return false;
    out = composePath(m_items, m_nCurrentItem, selection);
    return true;
}

BOOL CChooseDir::OnInitDialog() {
    CDialog::OnInitDialog();
    for (int id : {IDC_FILE_TYPE_LABEL, IDC_FILE_NAME_LABEL, IDC_FILE_NAME, IDC_FILE_LIST, IDC_FILE_TYPES,
                   IDC_CURRENT_DIR_TEXT, IDC_READ_ONLY})
        GetDlgItem(id)->ShowWindow(SW_HIDE);
    GetDlgItem(IDC_HELP_BUTTON)->EnableWindow(FALSE);
    SetDlgItemText(IDC_FILE_NAME, kDummyFileName);

    // The proposed folder, or the nearest of its parents that exists (a
    // folder to be made by the setup is not there yet).
    bool opened = false;
    for (CString dir = m_strInitialDir; !opened && !dir.empty();) {
        opened = openFolder(dir);
        const std::size_t cut = dir.find_last_of('\\');
        if (cut == CString::npos || cut < 2) break;
        const CString parent = cut == 2 ? dir.substr(0, 3) : dir.substr(0, cut);  // "C:\" is the last to try
        if (parent == dir) break;
        dir = parent;
    }
    if (!opened) {
        auto cwd = FileSystem::current().currentWindowsDirectory();
        if (cwd) opened = openFolder(*cwd);
    }
    if (!opened) fillDrives();
    if (selectedPath(m_strPath)) m_edtDirectory.SetWindowText(kestrin::upperCase(m_strPath));
    GetDlgItem(IDC_DIR_LIST)->SetFocus();
    m_bFirstPaint = true;
    return FALSE;
}

void CChooseDir::OnPaint() {
    if (m_bFirstPaint) {
        m_bFirstPaint = false;
        static_cast<CListBox*>(GetDlgItem(IDC_DIR_LIST))->SetCurSel(0);
    }
    CDialog::OnPaint();
}

void CChooseDir::OnDirSelChange() {
    if (selectedPath(m_strPath)) m_edtDirectory.SetWindowText(m_strPath);
}

void CChooseDir::OnFileSelChange() { OnDirSelChange(); }

void CChooseDir::OnDirDblClk() {
    CString path;
    if (!selectedPath(path) || !openFolder(path)) return;
    if (selectedPath(m_strPath)) m_edtDirectory.SetWindowText(m_strPath);
}

void CChooseDir::OnDriveChange() {
    CString drive;
    GetDlgItem(IDC_DRIVES)->GetWindowText(drive);
    if (drive.empty() || !openFolder(drive + "\\")) return;
    if (selectedPath(m_strPath)) m_edtDirectory.SetWindowText(m_strPath);
}

bool CChooseDir::acceptPath(const CString& path) {
    // An empty path is no invalid name: it goes on to the existence test,
    // which it fails.
    if (CString problem = typedPathProblem(path); !problem.empty()) {
        AfxMessageBox(problem.c_str(), MB_OK);
        return false;
    }
    // The existence test makes the path the current folder, and it stays so.
    if (FileSystem::current().changeDirectory(path)) return true;
    if (AfxMessageBox(format("Directory %s does not exist.\nCreate this directory?", path).c_str(), MB_YESNO) != IDYES)
        return false;
    const bool made = createDirectoryOneLevel(path);
    if (!made) {
        AfxMessageBox(format("There was a problem creating %s.\nThe new directory was not created.", path).c_str(),
                      MB_OK);
        return false;
    }
    return true;
}

void CChooseDir::OnOK() {
    CString path;
    m_edtDirectory.GetWindowText(path);
    m_strPath = path;
    if (!acceptPath(path)) return;
    CString title;
    GetDlgItemText(IDC_FILE_NAME, title);
    CString full = path;
    full += '\\';
    full += title;
    m_strFileName = full;
    m_nFileOffset = static_cast<int>(path.size()) + 1;
    m_nFileExtension = static_cast<int>(full.size());
    EndDialog(IDOK);
}
