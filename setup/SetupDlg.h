// CSetupDlg: the setup's one dialog. OK refuses while the host runs, then
// registers the target directory and the menu group ZOR_ARX in every profile
// of the host and copies the plug-in's six files into the target directory.
#pragma once

#include <memory>
#include <optional>

#include "platform/ui/Framework.h"

class ProfileChanges;

class CSetupDlg : public CDialog {
public:
    explicit CSetupDlg(CWnd* parent = nullptr);
    ~CSetupDlg() override;

    std::unique_ptr<CToolTipCtrl> m_pToolTip;
    CButton m_btnBrowse;
    CProgressCtrl m_progress;
    CString m_strTargetDir;
    CString m_strTitle;
    CString m_strSourceDir;
    HICON m_hIcon = nullptr;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    void OnOK() override;
    void OnPaint() override;
    HCURSOR OnQueryDragIcon() override;
    void OnBrowse();
    DECLARE_MESSAGE_MAP()

private:
    // Writes the support path and menu group of every profile; `changes`
    // remembers what each value held.
    void registerProfiles(const CString& target, ProfileChanges& changes);
    // Makes the target folder and copies the file set into it; false, with a
    // box, when a step fails (the files after it are not copied).
    bool copyFiles(const CString& target);
};

// The companion files, in copy order, with the progress position after each.
struct InstalledFile {
    const char* name;
    int progress;
};
inline constexpr InstalledFile kInstalledFiles[] = {
    {"zor.shx", 200},     {"Zor_arx.mns", 800}, {"Kestrin.arx", 1700},
    {"Kestrin.chm", 2500}, {"Dtext.bmp", 3500}, {"Txe.bmp", 4096},
};
inline constexpr int kProgressRange = 4096;

// The host's directory with its trailing separator, from the server entry of
// its drawings' file type: nothing when the entry cannot be read, empty when
// it is shorter than the executable's name.
std::optional<CString> hostDirectory();
// Where the setup installs unless the person says otherwise.
CString defaultTargetDirectory();
// Whether a process of the host (ACAD.EXE in any letter case) runs.
bool isHostRunning();
// The menu entry's data for target directory T: "ZOR_ARX T\Zor_arx".
CString menuEntry(const CString& target);
// Whether `folder` is one of the ";"-separated entries of a support path, in
// any letter case and with or without a trailing separator.
bool supportPathHolds(const CString& supportPath, const CString& folder);
