// The desktop program's main window: the drawing view, the command line
// (transcript, prompt, input line), the File, Edit, View and Help menus, the
// menu groups' pull-down menus and toolbar, and a status bar with the
// cursor's drawing coordinates and the menu items' help.
//
// The window shows the model's state and turns the person's input into the
// session actions the session language names, posted to the GuiSource; what
// the input changes comes back through the model (the transcript, the
// prompt) and is shown from there.
#pragma once

#include <QMainWindow>
#include <QPoint>
#include <QPointF>
#include <optional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "base/Signal.h"
#include "host/cadhost/ContextMenuChoice.h"
#include "host/cadhost/MenuToolbar.h"
#include "host/cadhost/RecentFiles.h"
#include "host/db/ObjectSnap.h"
#include "platform/session/Action.h"
#include "platform/session/TranscriptPrinter.h"

class QAction;
class QLabel;
class QProgressBar;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QToolBar;

namespace kestrin::gui {

class DrawingView;
class EditMenu;
class GuiSource;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // `buttons`: the host's toolbar (cadhost::hostToolbar).
    MainWindow(GuiSource& source, const std::vector<cadhost::ToolbarButton>& buttons, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The drawing view becomes the central widget (the window owns it): its
    // clicks answer the host, the View menu zooms and pans it, the status
    // bar follows its cursor.
    void setDrawingView(DrawingView* view);

    // The menu groups' pull-down menus, in the menu bar before Help; an
    // item runs its command at the command line.
    void addPullDownMenus(const std::vector<cadhost::PullDownMenu>& menus);

    // File > Recent Files from the profile's list (the run's own without a
    // profile); each drawing opened or saved goes first in it.
    void keepRecentFilesIn(const cadhost::HostProfile& profile);

    // Writes the main window and every visible top-level window (dialogs) at
    // their screen positions into one PNG of the main window's size, through
    // the file system. False with `error` (UTF-8) naming the file.
    bool writeScreenshot(const std::string& path, std::string& error);

    // What kept the host's toolbar from being built, shown in the toolbar
    // itself (UTF-8, one line each).
    void showToolbarProblems(const std::vector<std::string>& problems);

    // The parts a test drives.
    QLineEdit* commandInput() const { return input_; }
    QPlainTextEdit* transcriptView() const { return transcript_; }
    QLabel* promptLabel() const { return prompt_; }
    QToolBar* hostToolbar() const { return toolbar_; }
    EditMenu* editMenu() const { return editMenu_.get(); }
    QLabel* coordinatesLabel() const { return coordinates_; }
    // Shown while the drawing is drawn into the view.
    QProgressBar* drawingProgress() const { return drawing_; }
    QMenu* recentFilesMenu() const { return recentMenu_; }
    // The host's default context menu as a right click shows it (the window
    // owns it; rebuilt on each call).
    QMenu* contextMenu();

public Q_SLOTS:
    // A left click in the drawing at drawing coordinates: the point or the
    // pick the host asks for; nothing at the command line.
    void viewClicked(double x, double y);
    // A right click in the drawing: the host's default context menu at the
    // command line; the chosen item becomes a contextmenu action.
    void viewContextMenu(const QPoint& globalPos);
    // The cursor over the drawing at drawing coordinates: the status bar's
    // coordinates, and the feedback of the host's request (snap marker,
    // rubber band, the entity a click would pick).
    void viewCursorMoved(double x, double y);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    GuiSource& source_;
    DrawingView* view_ = nullptr;  // the central widget, once set
    QLineEdit* input_ = nullptr;
    QPlainTextEdit* transcript_ = nullptr;
    QLabel* prompt_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    QMenu* contextMenu_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    QLabel* coordinates_ = nullptr;
    QProgressBar* drawing_ = nullptr;
    std::unique_ptr<cadhost::RecentFiles> recent_;
    std::string shownDrawing_;  // the drawing's file when last seen (UTF-8)
    QAction* snapAction_ = nullptr;
    bool snapFlipped_ = false;  // F3: OSMODE's off bit turned the other way
    std::optional<QPointF> cursor_;  // over the view, drawing units
    std::unique_ptr<EditMenu> editMenu_;
    std::vector<std::string> history_;  // lines entered, oldest first (UTF-8)
    std::size_t historyAt_ = 0;         // history_.size(): the line being typed
    std::ostringstream printed_;  // what the printer wrote, not yet shown
    session::TranscriptPrinter printer_{printed_, true};
    int transcriptSink_ = 0;
    int screenshotHandler_ = 0;
    std::vector<ScopedConnection> connections_;

    void post(session::Action action);
    // `version`: the DXF version a Save As chose, when not the drawing's own.
    void postFile(session::ActionKind kind, const QString& path, const std::string& version = {});
    void enterLine();
    void recall(int step);
    void showPrompt(const std::string& utf8);  // and the drawing in the title
    void flushTranscript();
    // An error the person must see: a message box over the window (the
    // command line has it too). Not while a script plays.
    void showError(const std::string& utf8);
    void buildMenus();
    void buildHelpMenu();
    void save();    // to the drawing's file; a new drawing asks for one
    void saveAs();  // asks for a file (".dxf" added when missing) and a version
    void showHelp();
    void showAbout();
    void fillRecentMenu();
    void noteDrawing();  // a drawing opened or saved goes into the recent files
    int snapModes() const;  // OSMODE as F3 left it
    // The snap a click at (x, y) takes during a point request; nothing when off.
    std::optional<db::SnapPoint> snapAt(double x, double y) const;
    void showFeedback();
    void buildToolbar(const std::vector<cadhost::ToolbarButton>& buttons);
    void fillMenu(QMenu* menu, const std::vector<cadhost::ContextMenuItem>& items);
};

}  // namespace kestrin::gui
