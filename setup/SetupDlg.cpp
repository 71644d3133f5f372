#include "setup/SetupDlg.h"

#include <algorithm>
#include <set>

#include "base/Cp1251.h"
#include "base/TextCase.h"
#include "platform/fs/FileSystem.h"
#include "platform/process/Processes.h"
#include "platform/registry/HostProfileKeys.h"
#include "setup/ChooseDir.h"
#include "setup/InstallCheck.h"
#include "setup/ProfileChanges.h"
#include "setup/Registry.h"
#include "setup/SetupIds.h"

using namespace kestrin::literals;
using kestrin::fs::FileSystem;

namespace {

constexpr const char* kCaption = "Setup";
constexpr const char* kServerKey = "AutoCAD.Drawing.15\\protocol\\StdFileEditing\\server";
constexpr std::size_t kExecutableNameLength = 8;  // ACAD.EXE

void stopBox(const CString& text) { ::MessageBox(nullptr, text.c_str(), kCaption, MB_OK | MB_ICONSTOP); }

bool endsWithMenuFile(const CString& data) {
    return data.size() >= 7 && data.compare(data.size() - 7, 7, "Zor_arx") == 0;
}

}  // namespace

std::optional<CString> hostDirectory() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, kServerKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
    char buffer[255] = {};
    DWORD size = sizeof buffer;
    DWORD type = 0;
    const LONG status =
        RegQueryValueExA(key, "", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
    const CString server(buffer, std::find(buffer, buffer + sizeof buffer, '\0'));
    if (server.size() < kExecutableNameLength) return CString();
    return server.substr(0, server.size() - kExecutableNameLength);
}

CString defaultTargetDirectory() {
    // A host whose program cannot be found is taken to be where programs go.
    const std::optional<CString> host = hostDirectory();
    if (!host) return "C:\\Program Files\\Zor soft";
    return *host + "Zor soft";
}

bool supportPathHolds(const CString& supportPath, const CString& folder) {
    auto same = [](CString a, CString b) {
        for (CString* s : {&a, &b})
            if (s->size() > 1 && s->back() == '\\' && !(s->size() == 3 && (*s)[1] == ':')) s->pop_back();
        return kestrin::compareIgnoringCase(a, b) == 0;
    };
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = supportPath.find(';', start);
        if (same(supportPath.substr(start, end == CString::npos ? CString::npos : end - start), folder)) return true;
        if (end == CString::npos) return false;
        start = end + 1;
    }
}

bool isHostRunning() {
    auto count = kestrin::process::countProcesses("ACAD.EXE");
    return count && *count > 0;
}

CString menuEntry(const CString& target) {
    CString entry = "ZOR_ARX ";
    entry += target;
    entry += "\\Zor_arx";
    return entry;
}

BEGIN_MESSAGE_MAP(CSetupDlg, CDialog)
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_BN_CLICKED(IDC_BROWSE, OnBrowse)
END_MESSAGE_MAP()

CSetupDlg::CSetupDlg(CWnd* parent) : CDialog(IDD_SETUP, parent) {
    m_hIcon = AfxGetApp()->LoadIcon(IDR_SETUP_ICON);
}

CSetupDlg::~CSetupDlg() = default;

void CSetupDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_BROWSE, m_btnBrowse);
    DDX_Control(dx, IDC_COPY_PROGRESS, m_progress);
    DDX_Text(dx, IDC_TARGET_DIR, m_strTargetDir);
}

BOOL CSetupDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CString product;
    AfxLoadString(IDS_PRODUCT, product);
    m_strTitle = "Установка  "_cp;
    m_strTitle += product;
    SetWindowText(m_strTitle);
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    m_progress.SetRange32(0, kProgressRange);
    m_progress.ShowWindow(SW_HIDE);
    m_pToolTip = std::make_unique<CToolTipCtrl>();
    m_pToolTip->Create(this);
    m_pToolTip->AddTool(&m_btnBrowse, "Выбрать директорию"_cp);
    m_pToolTip->Activate(TRUE);
    auto cwd = FileSystem::current().currentWindowsDirectory();
    m_strSourceDir = cwd ? *cwd : CString();
    m_strTargetDir = defaultTargetDirectory();
    UpdateData(FALSE);
    return TRUE;
}

BOOL CSetupDlg::PreTranslateMessage(MSG* msg) {
    if (m_pToolTip) m_pToolTip->RelayEvent(msg);
    return CDialog::PreTranslateMessage(msg);
}

void CSetupDlg::OnPaint() {
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    dc.SendIconEraseBackground();
    RECT rect;
    GetClientRect(&rect);
    const int x = (rect.right - rect.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (rect.bottom - rect.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CSetupDlg::OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(m_hIcon); }

void CSetupDlg::OnBrowse() {
    CChooseDir chooser(m_strTargetDir, this);
    if (chooser.DoModal() != IDOK) return;
    m_strTargetDir = chooser.GetDirectory();
    UpdateData(FALSE);
}

void CSetupDlg::OnOK() {
    if (isHostRunning()) {
        stopBox("Закройте открытый Автокад!"_cp);
        return;
    }
    UpdateData(TRUE);
    const CString target = m_strTargetDir;
    // Nothing is written for a target the chooser would refuse.
    if (target.empty() || hasInvalidPathCharacter(target)) {
        stopBox(pathNameProblem(target));
        return;
    }
    {
        CRegistry host(HKEY_LOCAL_MACHINE);
        if (!host.Open(HKEY_CURRENT_USER, kestrin::registry::kHostKey)) {
            stopBox("Acad2000 не установлен!"_cp);
            EndDialog(IDOK);
            return;
        }
    }
    // A file missing from the set, or a target folder that cannot be made,
    // would leave the profiles pointing at a folder without the plug-in:
    // nothing is registered or copied, and the dialog stays for another try.
    const std::vector<CString> problems = installationProblems(m_strSourceDir, target);
    for (const CString& problem : problems) stopBox(problem);
    if (!problems.empty()) return;
    ProfileChanges changes;
    registerProfiles(target, changes);
    if (!copyFiles(target)) {
        const std::vector<CString> left = changes.restore();
        CString text = "Установка не завершена: профили Автокада восстановлены."_cp;
        for (const CString& value : left) text += "\nНе восстановлено значение "_cp + value;
        stopBox(text);
    }
    EndDialog(IDOK);
}

void CSetupDlg::registerProfiles(const CString& target, ProfileChanges& changes) {
    CRegistry host(HKEY_LOCAL_MACHINE);
    if (!host.Open(HKEY_CURRENT_USER, kestrin::registry::kHostKey)) return;
    CStringArray profiles;
    if (!host.EnumSubKeys("Profiles", profiles)) return;
    const CString entry = menuEntry(target);
    for (INT_PTR p = 0; p < profiles.GetSize(); ++p) {
        const CString profile = kestrin::registry::profileKey(profiles[p]);

        CRegistry general(HKEY_LOCAL_MACHINE);
        if (general.OpenNamed(HKEY_CURRENT_USER, profile + "\\General")) {
            CString support;
            const bool read = general.QueryStringValue("ACAD", support);
            const bool missing = !read && general.m_lLastError == ERROR_FILE_NOT_FOUND;
            const bool text = read && (general.m_dwLastType == REG_SZ || general.m_dwLastType == REG_EXPAND_SZ);
            if (!missing && !text) {
                // Writing T + ";" over a path that could not be read would lose it.
                const CString why = read ? CString("значение не строка"_cp)
                                         : "ошибка "_cp + std::to_string(general.m_lLastError);
                ::MessageBox(nullptr,
                             ("Путь поиска профиля "_cp + profiles[p] + " не прочитан ("_cp + why +
                              "); он оставлен как есть."_cp)
                                 .c_str(),
                             kCaption, MB_OK | MB_ICONEXCLAMATION);
            } else if (!supportPathHolds(support, target)) {
                CString updated = target;
                updated += ';';
                updated += support;
                changes.write(general, profile + "\\General", "ACAD",
                              read ? std::optional<CString>(support) : std::nullopt, updated);
            }
            general.Close();
        }

        // A profile whose menu groups cannot be listed is left alone: an
        // entry added blindly could take another group's name.
        CStringArray names;
        if (!host.EnumValueNames("Profiles\\" + profiles[p] + "\\Menus", names)) continue;
        CRegistry menus(HKEY_LOCAL_MACHINE);
        if (!menus.OpenNamed(HKEY_CURRENT_USER, profile + "\\Menus")) continue;
        int foreign = 0;
        bool registered = false;
        std::set<CString> taken;
        for (INT_PTR i = 0; i < names.GetSize(); ++i) {
            taken.insert(kestrin::foldCase(names[i]));
            if (!kestrin::registry::isMenuGroupValue(names[i])) continue;
            CString data;
            menus.QueryStringValue(names[i], data);
            if (endsWithMenuFile(data)) {
                changes.write(menus, profile + "\\Menus", names[i], data, entry);
                registered = true;
            } else {
                ++foreign;
            }
        }
        if (!registered) {
            // Numbered from the foreign groups; a number in use moves on to
            // the next free one, so no other group's entry is overwritten.
            int number = foreign == 0 ? 1 : foreign + 1;
            while (taken.count(kestrin::foldCase("Group" + std::to_string(number)))) ++number;
            changes.write(menus, profile + "\\Menus", "Group" + std::to_string(number), std::nullopt, entry);
        }
        menus.Close();
    }
}

bool CSetupDlg::copyFiles(const CString& target) {
    m_progress.ShowWindow(SW_SHOW);
    m_progress.SetPos(0);
    FileSystem& files = FileSystem::current();
    // Every missing level; checked before anything was registered.
    if (kestrin::fs::Status made = files.createDirectories(target); !made) {
        stopBox("Нельзя создать каталог "_cp + target + ": " + osReasonText(made.error().reason));
        return false;
    }
    for (const InstalledFile& file : kInstalledFiles) {
        const CString source = m_strSourceDir + "\\" + file.name;
        const CString destination = target + "\\" + file.name;
        if (kestrin::fs::Status copied = files.copyFile(source, destination); !copied) {
            stopBox("Не удалось записать файл "_cp + destination + ": " + osReasonText(copied.error().reason));
            return false;
        }
        m_progress.SetPos(file.progress);
    }
    ::MessageBox(nullptr, "Установка завершена, запускайте AutoCAD 2000"_cp, kCaption, MB_OK | MB_ICONINFORMATION);
    return true;
}
