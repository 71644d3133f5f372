#include "setup/SetupDlg.h"

#include <algorithm>
#include <set>

#include "base/Cp1251.h"
#include "base/TextCase.h"
#include "platform/fs/FileSystem.h"
#include "platform/process/Processes.h"
#include "setup/ChooseDir.h"
#include "setup/Registry.h"
#include "setup/SetupIds.h"

using namespace kestrin::literals;
using kestrin::fs::FileSystem;

namespace {

constexpr const char* kCaption = "Setup";
constexpr const char* kServerKey = "AutoCAD.Drawing.15\\protocol\\StdFileEditing\\server";
constexpr std::size_t kExecutableNameLength = 8;  // ACAD.EXE

void stopBox(const CString& text) { ::MessageBox(nullptr, text.c_str(), kCaption, MB_OK | MB_ICONSTOP); }

bool startsWithGroup(const CString& name) { return name.compare(0, 5, "Group") == 0; }

bool endsWithMenuFile(const CString& data) {
    return data.size() >= 7 && data.compare(data.size() - 7, 7, "Zor_arx") == 0;
}

}  // namespace

CString hostDirectory() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, kServerKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
    char buffer[255] = {};
    DWORD size = sizeof buffer;
    DWORD type = 0;
    const LONG status =
        RegQueryValueExA(key, "", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_SZ) return {};
    const CString server(buffer, std::find(buffer, buffer + sizeof buffer, '\0'));
    if (server.size() < kExecutableNameLength) return {};
    return server.substr(0, server.size() - kExecutableNameLength);
}

CString defaultTargetDirectory() {
    const CString host = hostDirectory();
    // A value without a directory before the executable's name says nowhere.
    if (host.empty()) return "C:\\Program Files\\Zor soft";
    return host + "Zor soft";
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
        if (!host.Open(HKEY_CURRENT_USER, kHostKey)) {
            stopBox("Acad2000 не установлен!"_cp);
            EndDialog(IDOK);
            return;
        }
    }
    registerProfiles(target);
    copyFiles(target);
    EndDialog(IDOK);
}

void CSetupDlg::registerProfiles(const CString& target) {
    CRegistry host(HKEY_LOCAL_MACHINE);
    if (!host.Open(HKEY_CURRENT_USER, kHostKey)) return;
    CStringArray profiles;
    if (!host.EnumSubKeys("Profiles", profiles)) return;
    const CString entry = menuEntry(target);
    for (INT_PTR p = 0; p < profiles.GetSize(); ++p) {
        const CString profile = CString(kHostKey) + "\\Profiles\\" + profiles[p];

        CRegistry general(HKEY_LOCAL_MACHINE);
        if (general.OpenNamed(HKEY_CURRENT_USER, profile + "\\General")) {
            CString support;
            general.QueryStringValue("ACAD", support);
            if (support.find(target) == CString::npos) {
                CString updated = target;
                updated += ';';
                updated += support;
                general.SetStringValue("ACAD", updated);
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
            if (!startsWithGroup(names[i])) continue;
            CString data;
            menus.QueryStringValue(names[i], data);
            if (endsWithMenuFile(data)) {
                menus.SetStringValue(names[i], entry);
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
            menus.SetStringValue("Group" + std::to_string(number), entry);
        }
        menus.Close();
    }
}

void CSetupDlg::copyFiles(const CString& target) {
    m_progress.ShowWindow(SW_SHOW);
    m_progress.SetPos(0);
    FileSystem& files = FileSystem::current();
    createDirectoryOneLevel(target);  // failures ignored: the copies then fail one by one
    for (const InstalledFile& file : kInstalledFiles) {
        const CString source = m_strSourceDir + "\\" + file.name;
        const CString destination = target + "\\" + file.name;
        if (!files.copyFile(source, destination)) stopBox("Не найден файлы"_cp + source);
        m_progress.SetPos(file.progress);
    }
    ::MessageBox(nullptr, "Установка завершена, запускайте AutoCAD 2000"_cp, kCaption, MB_OK | MB_ICONINFORMATION);
}
