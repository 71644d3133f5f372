// CChooseDir: picks, or lets the person type and create, a directory. It is
// the old-style open-file dialog on template 1536 with every file control
// hidden and the dummy file name "Junk": after OK, the file-name buffer holds
// path + "\Junk" and the file offset points past the path's separator, so the
// caller cuts the directory out of it.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/Framework.h"

class CChooseDir : public CDialog {
public:
    explicit CChooseDir(CString initialDir = {}, CWnd* parent = nullptr);

    // The full name after OK, and where its file title starts.
    const CString& GetPathName() const { return m_strFileName; }
    int GetFileOffset() const { return m_nFileOffset; }
    // The chosen directory: the full name cut before the file title.
    CString GetDirectory() const;

    // The directory as last composed or typed.
    CString m_strPath;
    bool m_bFirstPaint = false;
    CEdit m_edtDirectory;

    // The longest full name the file-name buffer holds.
    static constexpr std::size_t kMaxFullName = 259;

    // What the directory list shows for `dir` (a Windows path with a drive):
    // the drive root ("c:\"), each folder down to `dir` as the file system
    // names it, then the subfolders of `dir` sorted without regard to case.
    // `currentItem` is the index of `dir` itself. False when `dir` is no
    // directory.
    static bool listFolder(const CString& dir, std::vector<CString>& items, int& currentItem, CString& canonical);
    // The path that item `index` of such a list stands for.
    static CString composePath(const std::vector<CString>& items, int currentItem, int index);

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnPaint() override;
    void OnDirSelChange();
    void OnFileSelChange();
    void OnDirDblClk();
    void OnDriveChange();
    DECLARE_MESSAGE_MAP()

private:
    CString m_strInitialDir;
    CString m_strFileName;
    int m_nFileOffset = 0;
    int m_nFileExtension = 0;
    CString m_strCurrentDir;  // the folder the list shows
    std::vector<CString> m_items;
    int m_nCurrentItem = 0;

    // Shows `dir` in the lists; false (nothing changed) when it is no directory.
    bool openFolder(const CString& dir);
    void fillDrives();
    // The path of the list's selection; false when nothing is selected.
    bool selectedPath(CString& out) const;
    // Validates and creates the typed path; false keeps the dialog open.
    bool acceptPath(const CString& path);
};

// The characters no path name may hold.
bool hasInvalidPathCharacter(const CString& path);
// "%s is not a valid pathname." for a path that holds one of them; "%s is
// too long ..." for one whose full name would not fit; empty when the path
// may be typed into the chooser (an empty one may: it does not exist).
CString typedPathProblem(const CString& path);
// The same, but an empty path is not a valid path name either (the setup's
// target).
CString pathNameProblem(const CString& path);
// Creates the directory when its parent exists (one level only); false when
// it exists already or cannot be made.
bool createDirectoryOneLevel(const CString& path);
