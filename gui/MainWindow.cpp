#include "gui/MainWindow.h"

#include <QApplication>
#include <algorithm>
#include <QBuffer>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

#include "base/Cp1251.h"
#include "gui/DrawingView.h"
#include "gui/EditMenu.h"
#include "gui/GuiSource.h"
#include "host/api/FileSearch.h"
#include "host/api/HostRuntime.h"
#include "host/api/InputRequest.h"
#include "host/api/PointerQueries.h"
#include "host/dxf/Versions.h"
#include "platform/fs/FileSystem.h"
#include "platform/help/HelpControl.h"
#include "platform/session/ActionParser.h"
#include "platform/session/ScriptError.h"
#include "platform/session/Session.h"
#include "platform/session/Transcript.h"

namespace kestrin::gui {

using session::Action;
using session::ActionKind;
using session::Session;

namespace {

QString fromCp1251(const std::string& cp1251) { return QString::fromStdString(cp1251ToUtf8(cp1251)); }

Action action(ActionKind kind, std::string text = {}) {
    Action a;
    a.kind = kind;
    a.text = std::move(text);
    return a;
}

// A menu item: its text, the name tests find it by, its shortcuts, and what
// choosing it does (in `context`'s life).
template <class Slot>
QAction* addItem(QMenu* menu, const QString& text, const char* name, QList<QKeySequence> keys, QObject* context,
                 Slot slot) {
    QAction* item = menu->addAction(text);
    item->setObjectName(name);
    item->setShortcuts(keys);
    QObject::connect(item, &QAction::triggered, context, std::move(slot));
    return item;
}

// A file name the person typed without an extension gets ".dxf".
QString withDxfExtension(const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty()) return path;
    return path + ".dxf";
}

// The folder a file chooser starts in: the drawing's, else the current one.
QString startFolder() {
    const std::string& drawing = host::HostRuntime::instance().drawingPath();
    return drawing.empty() ? QDir::currentPath() : QFileInfo(QString::fromStdString(drawing)).absolutePath();
}

}  // namespace

// The command line's first height: a few lines of the transcript.
constexpr int kCommandLineHeight = 170;

MainWindow::MainWindow(GuiSource& source, const std::vector<cadhost::ToolbarButton>& buttons, QWidget* parent)
    : QMainWindow(parent), source_(source) {
    setWindowTitle("cadhost");
    resize(1000, 700);
    auto* placeholder = new QWidget(this);
    placeholder->setMinimumSize(400, 300);
    setCentralWidget(placeholder);

    // The command line: the transcript above, the prompt and the input line below.
    auto* dock = new QDockWidget("Command line", this);
    dock->setObjectName("commandLine");
    dock->setFeatures(QDockWidget::NoDockWidgetFeatures);
    auto* panel = new QWidget(dock);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(2, 2, 2, 2);
    transcript_ = new QPlainTextEdit(panel);
    transcript_->setReadOnly(true);
    transcript_->setObjectName("transcript");
    transcript_->setMaximumBlockCount(5000);
    column->addWidget(transcript_);
    auto* row = new QHBoxLayout();
    prompt_ = new QLabel(panel);
    prompt_->setObjectName("prompt");
    input_ = new QLineEdit(panel);
    input_->setObjectName("commandInput");
    input_->installEventFilter(this);
    row->addWidget(prompt_);
    row->addWidget(input_, 1);
    column->addLayout(row);
    dock->setWidget(panel);
    addDockWidget(Qt::BottomDockWidgetArea, dock);
    resizeDocks({dock}, {kCommandLineHeight}, Qt::Vertical);  // the drawing gets the room
    connect(input_, &QLineEdit::returnPressed, this, [this] { enterLine(); });

    buildMenus();
    buildToolbar(buttons);
    buildHelpMenu();
    coordinates_ = new QLabel(statusBar());
    coordinates_->setObjectName("coordinates");
    coordinates_->setMinimumWidth(220);
    statusBar()->addPermanentWidget(coordinates_);
    recent_ = std::make_unique<cadhost::RecentFiles>(cadhost::HostProfile{});
    fillRecentMenu();

    transcriptSink_ = session::Transcript::instance().addSink([this](session::Transcript::Kind kind, const std::string& s) {
        printer_.print(kind, s);
        flushTranscript();
        if (kind == session::Transcript::Kind::Error) showError(s);
    });
    connections_.push_back(source_.waiting.connectScoped([this](const std::string& prompt) { showPrompt(prompt); }));
    screenshotHandler_ = Session::instance().addHandler(ActionKind::Screenshot, [this](const Action& a) {
        if (view_ != nullptr) view_->finishDrawing();  // the picture shows all of the drawing
        std::string error;
        if (!writeScreenshot(cp1251ToUtf8(a.text), error)) Session::instance().reject(a, error);
        return true;
    });
}

MainWindow::~MainWindow() {
    Session::instance().removeHandler(screenshotHandler_);
    session::Transcript::instance().removeSink(transcriptSink_);
}

void MainWindow::setDrawingView(DrawingView* view) {
    if (view == nullptr) return;
    setCentralWidget(view);  // the placeholder goes
    view->installEventFilter(this);  // keys in the drawing go to the command line
    view_ = view;
    connect(view, &DrawingView::leftClicked, this, &MainWindow::viewClicked);
    connect(view, &DrawingView::contextMenuRequested, this, &MainWindow::viewContextMenu);
    connect(view, &DrawingView::cursorMoved, this, &MainWindow::viewCursorMoved);
    connect(view, &DrawingView::cursorLeft, this, [this] {
        cursor_.reset();
        showFeedback();
    });
    // While the drawing is drawn into the view: how far, in the status bar.
    drawing_ = new QProgressBar(statusBar());
    drawing_->setObjectName("drawingProgress");
    drawing_->setRange(0, 1000);
    drawing_->setMaximumWidth(160);
    drawing_->setFormat("Drawing %p%");
    drawing_->hide();
    statusBar()->insertPermanentWidget(0, drawing_);
    connect(view, &DrawingView::building, this, [this](double done) {
        drawing_->setValue(static_cast<int>(done * 1000));
        drawing_->setVisible(done < 1);
    });
    QMenu* menu = new QMenu("&View", this);
    menuBar()->insertMenu(helpMenu_->menuAction(), menu);
    menu->setObjectName("viewMenu");
    addItem(menu, "Zoom &Extents", "zoomExtents", {QKeySequence(Qt::CTRL | Qt::Key_E)}, view,
            [view] { view->zoomExtents(); });
    addItem(menu, "Zoom &In", "zoomIn", {QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)}, view,
            [view] { view->zoomBy(2); });
    addItem(menu, "Zoom &Out", "zoomOut", {QKeySequence::ZoomOut}, view, [view] { view->zoomBy(0.5); });
    menu->addSeparator();
    snapAction_ = addItem(menu, "Object &Snap", "objectSnap", {QKeySequence(Qt::Key_F3)}, this, [this] {
        snapFlipped_ = !snapFlipped_;
        snapAction_->setChecked((snapModes() & db::kSnapOff) == 0);
        statusBar()->showMessage(snapAction_->isChecked() ? "Object snap on" : "Object snap off", 3000);
        showFeedback();
    });
    snapAction_->setCheckable(true);
    snapAction_->setChecked((snapModes() & db::kSnapOff) == 0);
    menu->addSeparator();
    QMenu* pan = menu->addMenu("&Pan");
    pan->setObjectName("panMenu");
    const struct {
        const char* text;
        const char* name;
        double across, up;
    } steps[] = {{"&Left", "panLeft", -0.25, 0}, {"&Right", "panRight", 0.25, 0}, {"&Up", "panUp", 0, 0.25},
                 {"&Down", "panDown", 0, -0.25}};
    for (const auto& step : steps) {
        const double across = step.across, up = step.up;
        addItem(pan, step.text, step.name, {}, view, [view, across, up] { view->panBy(across, up); });
    }
}

void MainWindow::addPullDownMenus(const std::vector<cadhost::PullDownMenu>& menus) {
    for (const cadhost::PullDownMenu& pop : menus) {
        auto* menu = new QMenu(fromCp1251(pop.title), this);
        menu->setObjectName("pullDown");
        menuBar()->insertMenu(helpMenu_->menuAction(), menu);
        for (const cadhost::MenuItem& item : pop.items) {
            if (item.label.empty()) {
                menu->addSeparator();
                continue;
            }
            QAction* act = menu->addAction(fromCp1251(item.label));
            act->setObjectName(QString::fromStdString(cp1251ToUtf8(item.command)));
            act->setStatusTip(fromCp1251(item.help));
            const std::string command = item.command;
            connect(act, &QAction::triggered, this, [this, command] { post(action(ActionKind::Command, command)); });
        }
    }
}

void MainWindow::keepRecentFilesIn(const cadhost::HostProfile& profile) {
    recent_ = std::make_unique<cadhost::RecentFiles>(profile);
    fillRecentMenu();
}

void MainWindow::fillRecentMenu() {
    recentMenu_->clear();
    const std::vector<std::string> files = recent_->list();
    for (std::size_t i = 0; i < files.size(); ++i) {
        const QString shown = fromCp1251(files[i]);
        QAction* act = recentMenu_->addAction(QString("&%1 %2").arg(i + 1).arg(shown));
        act->setObjectName(QString("recent%1").arg(i + 1));
        const std::string file = files[i];
        connect(act, &QAction::triggered, this, [this, file] { post(action(ActionKind::Open, file)); });
    }
    recentMenu_->setEnabled(!files.empty());
}

void MainWindow::noteDrawing() {
    const std::string& drawing = host::HostRuntime::instance().drawingPath();
    if (drawing == shownDrawing_) return;
    shownDrawing_ = drawing;
    if (drawing.empty()) return;
    std::string error;
    try {
        if (!recent_->add(utf8ToCp1251(drawing), error)) session::Transcript::instance().error(error);
    } catch (const EncodingError&) {
        return;  // a name code page 1251 cannot hold is not listed
    }
    fillRecentMenu();
}

void MainWindow::save() {
    const std::string& drawing = host::HostRuntime::instance().drawingPath();
    if (drawing.empty()) {
        saveAs();
        return;
    }
    postFile(ActionKind::Save, QString::fromStdString(drawing));
}

void MainWindow::saveAs() {
    // One filter a version; the drawing's own is chosen at first.
    QStringList filters;
    QString chosen;
    const std::string own = host::HostRuntime::instance().drawingVersion();
    for (const dxf::DxfVersion& v : dxf::knownVersions()) {
        if (!v.modern() && v != dxf::r12()) continue;  // R10 is read, not offered
        const QString filter =
            QString("DXF %1 (*.dxf)").arg(QString::fromLatin1(v.release.data(), static_cast<int>(v.release.size())));
        filters << filter;
        if (v.release == own) chosen = filter;
    }
    const QString path = withDxfExtension(QFileDialog::getSaveFileName(
        this, "Save drawing as", startFolder(), filters.join(";;"), &chosen, QFileDialog::DontUseNativeDialog));
    const QString release = chosen.section(' ', 1, 1);
    postFile(ActionKind::Save, path, release.toStdString() == own ? std::string() : release.toStdString());
}

void MainWindow::buildHelpMenu() {
    helpMenu_ = menuBar()->addMenu("&Help");
    helpMenu_->setObjectName("helpMenu");
    addItem(helpMenu_, "Kestrin &Help", "help", {QKeySequence::HelpContents}, this, [this] { showHelp(); });
    addItem(helpMenu_, "&About", "about", {}, this, [this] { showAbout(); });
}

// The help file on the host's search path, shown by the help viewer as the
// plug-in shows it.
void MainWindow::showHelp() {
    char found[1024];
    if (host::findFile("Kestrin.chm", found, sizeof found) != RTNORM) {
        session::Transcript::instance().error("help: Kestrin.chm is not on the support path");
        return;
    }
    HMODULE control = help::loadHelpControl(kHelpControlFileName);
    HtmlHelpProc viewer = control != nullptr ? help::helpControlExport(control, kHtmlHelpOrdinal) : nullptr;
    if (viewer == nullptr) {
        session::Transcript::instance().error("help: no help viewer was found to show " + cp1251ToUtf8(found));
        return;
    }
    if (viewer(nullptr, found, HH_DISPLAY_TOPIC, 0) == nullptr)
        session::Transcript::instance().error("help: the help viewer could not show " + cp1251ToUtf8(found));
}

void MainWindow::showAbout() {
    QMessageBox::about(this, "About Kestrin",
                       "Kestrin " KESTRIN_VERSION "\n\nThe drawing editor with the Kestrin plug-in: Russian and "
                       "Latin text in DXF drawings (R10 to R2018).\nCKestrin composes lines of text, EKestrin "
                       "edits texts, attributes and multiline texts.");
}

void MainWindow::post(Action a) { source_.post(std::move(a)); }

// The file chosen for an open or a save (nothing when the chooser was
// cancelled); a name the drawing's code page cannot hold is refused.
void MainWindow::postFile(ActionKind kind, const QString& path, const std::string& version) {
    if (path.isEmpty()) return;
    try {
        Action a = action(kind, utf8ToCp1251(path.toStdString()));
        if (!version.empty()) a.words.push_back(version);
        post(std::move(a));
    } catch (const EncodingError& e) {
        const std::string what = kind == ActionKind::Open ? "cannot open '" : "cannot save to '";
        session::Transcript::instance().error(what + path.toStdString() + "': " + e.what());
    }
}

void MainWindow::buildMenus() {
    static const char* const kDrawingFilter = "Drawings (*.dxf);;All files (*)";
    QMenu* file = menuBar()->addMenu("&File");
    file->setObjectName("fileMenu");
    addItem(file, "&New", "new", {QKeySequence::New}, this, [this] { post(action(ActionKind::New)); });
    addItem(file, "&Open...", "open", {QKeySequence::Open}, this, [this] {
        postFile(ActionKind::Open, QFileDialog::getOpenFileName(this, "Open drawing", startFolder(), kDrawingFilter,
                                                                nullptr, QFileDialog::DontUseNativeDialog));
    });
    addItem(file, "&Save", "save", {QKeySequence::Save}, this, [this] { save(); });
    addItem(file, "Save &As...", "saveAs", {}, this, [this] { saveAs(); });
    file->addSeparator();
    recentMenu_ = file->addMenu("&Recent Files");
    recentMenu_->setObjectName("recentFiles");
    file->addSeparator();
    addItem(file, "E&xit", "exit", {}, this, [this] { close(); });
    editMenu_ = std::make_unique<EditMenu>(*menuBar(), [this](Action a) { post(std::move(a)); });
}

void MainWindow::showToolbarProblems(const std::vector<std::string>& problems) {
    for (const std::string& problem : problems) {
        auto* label = new QLabel(QString::fromStdString("Toolbar: " + problem), toolbar_);
        label->setObjectName("toolbarProblem");
        label->setStyleSheet("color: #b00000; padding: 0 6px;");
        label->setToolTip(label->text());
        toolbar_->addWidget(label);
    }
}

void MainWindow::showError(const std::string& utf8) {
    if (source_.playing()) return;
    auto* box = new QMessageBox(QMessageBox::Warning, "cadhost", QString::fromStdString(utf8), QMessageBox::Ok, this);
    box->setObjectName("errorBox");
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();  // the window goes on; the box waits for the person's OK
}

void MainWindow::buildToolbar(const std::vector<cadhost::ToolbarButton>& buttons) {
    toolbar_ = addToolBar("Host");
    toolbar_->setObjectName("hostToolbar");
    for (const cadhost::ToolbarButton& button : buttons) {
        QAction* act = toolbar_->addAction(fromCp1251(button.label));
        act->setObjectName(QString::fromStdString(cp1251ToUtf8(button.command)));
        act->setToolTip(fromCp1251(button.label));
        act->setStatusTip(fromCp1251(button.help));
        if (!button.image.empty()) {
            // The bitmap through the file system; a file that does not read shows the text.
            if (auto bytes = fs::FileSystem::current().readFile(button.image)) {
                QImage image;
                if (image.loadFromData(reinterpret_cast<const uchar*>(bytes->data()), static_cast<int>(bytes->size())))
                    act->setIcon(QIcon(QPixmap::fromImage(image)));
            }
        }
        const std::string command = button.command;
        connect(act, &QAction::triggered, this, [this, command] { post(action(ActionKind::Command, command)); });
    }
}

void MainWindow::enterLine() {
    const std::string line = input_->text().toStdString();
    input_->clear();
    if (!line.empty() && (history_.empty() || history_.back() != line)) history_.push_back(line);
    historyAt_ = history_.size();
    // Read as a line typed at the terminal: a bare command name, a point, a
    // blank line for Enter.
    try {
        std::optional<Action> typed = session::parseTypedAction(line, "command line");
        if (!typed) return;
        typed->origin.clear();  // the source names the window's actions
        post(std::move(*typed));
    } catch (const session::ScriptError& e) {
        session::Transcript::instance().error(e.what());
    } catch (const EncodingError& e) {
        session::Transcript::instance().error(std::string("command line: ") + e.what());
    }
}

void MainWindow::recall(int step) {
    if (history_.empty()) return;
    if (step < 0 && historyAt_ > 0) --historyAt_;
    else if (step > 0 && historyAt_ < history_.size()) ++historyAt_;
    input_->setText(historyAt_ < history_.size() ? QString::fromStdString(history_[historyAt_]) : QString());
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // As at the host's own drawing: Escape cancels, and what is typed goes to
    // the command line.
    if (watched == view_ && view_ != nullptr && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
            !key->text().isEmpty()) {
            input_->setFocus();
            QCoreApplication::sendEvent(input_, event);
            return true;
        }
    }
    // Ctrl+Z and Ctrl+Y in an empty command line are the drawing's undo and
    // redo; with text typed they undo and redo the typing.
    if (watched == input_ && event->type() == QEvent::ShortcutOverride && input_->text().isEmpty()) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::ControlModifier && (key->key() == Qt::Key_Z || key->key() == Qt::Key_Y)) {
            event->ignore();
            return true;
        }
    }
    if (watched == input_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape) {
            input_->clear();
            post(action(ActionKind::Escape));
            return true;
        }
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            recall(key == Qt::Key_Up ? -1 : 1);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::showPrompt(const std::string& utf8) {
    editMenu_->update();
    noteDrawing();
    if (snapAction_ != nullptr) snapAction_->setChecked((snapModes() & db::kSnapOff) == 0);
    showFeedback();  // the request may have changed under the cursor
    const std::string& drawing = host::HostRuntime::instance().drawingPath();
    const std::string title = drawing.empty() ? std::string("cadhost") : "cadhost - " + drawing;
    setWindowTitle(QString::fromStdString(title));
    // The prompt's last line: earlier lines are in the transcript already.
    std::string shown = utf8;
    if (const std::size_t nl = shown.find_last_of('\n'); nl != std::string::npos) shown.erase(0, nl + 1);
    prompt_->setText(QString::fromStdString(shown));
}

void MainWindow::flushTranscript() {
    const std::string text = printed_.str();
    if (text.empty()) return;
    printed_.str({});
    QTextCursor end(transcript_->document());
    end.movePosition(QTextCursor::End);
    end.insertText(QString::fromStdString(text));
    transcript_->verticalScrollBar()->setValue(transcript_->verticalScrollBar()->maximum());
}

int MainWindow::snapModes() const { return host::objectSnapModes() ^ (snapFlipped_ ? db::kSnapOff : 0); }

// The aperture: a snap point within 10 pixels of the cursor.
constexpr double kAperturePixels = 10;

std::optional<db::SnapPoint> MainWindow::snapAt(double x, double y) const {
    if (view_ == nullptr || host::currentRequest() != host::InputRequest::Point) return std::nullopt;
    return host::objectSnapAt(x, y, kAperturePixels / view_->mapping().pixelsPerUnit, snapModes());
}

void MainWindow::viewCursorMoved(double x, double y) {
    coordinates_->setText(QString("%1, %2").arg(x, 0, 'f', 4).arg(y, 0, 'f', 4));
    cursor_ = QPointF(x, y);
    showFeedback();
}

void MainWindow::showFeedback() {
    if (view_ == nullptr) return;
    ViewFeedback feedback;
    if (cursor_) {
        switch (host::currentRequest()) {
            case host::InputRequest::Point: {
                feedback.snap = snapAt(cursor_->x(), cursor_->y());
                feedback.cursor = feedback.snap ? QPointF(feedback.snap->x, feedback.snap->y) : *cursor_;
                if (const auto base = host::requestBasePoint()) feedback.bandFrom = QPointF((*base)[0], (*base)[1]);
                if (const host::DragRequest* drag = host::requestDrag())
                    if (const auto transform = drag->transformAt(feedback.cursor->x(), feedback.cursor->y()))
                        feedback.ghost = ViewFeedback::Ghost{drag->handles, *transform};
                break;
            }
            case host::InputRequest::Entity:
            case host::InputRequest::NestedEntity:
                if (auto under = host::entityUnderCursor(cursor_->x(), cursor_->y())) feedback.highlight = std::move(under->outline);
                break;
            case host::InputRequest::None:
            case host::InputRequest::Word: break;
        }
    }
    view_->setFeedback(std::move(feedback));
}

void MainWindow::viewClicked(double x, double y) {
    switch (host::currentRequest()) {
        case host::InputRequest::Point: {
            Action a = action(ActionKind::Point);
            if (const auto snap = snapAt(x, y)) x = snap->x, y = snap->y;
            a.x = x;
            a.y = y;
            post(std::move(a));
            return;
        }
        case host::InputRequest::Entity:
        case host::InputRequest::NestedEntity: {
            // The host's own picking finds the entity and the block references it lies in.
            Action a = action(ActionKind::Pick);
            a.pick.by = session::PickTarget::By::At;
            a.pick.x = x;
            a.pick.y = y;
            post(std::move(a));
            return;
        }
        case host::InputRequest::None:
        case host::InputRequest::Word: return;  // the command line takes no click
    }
}

void MainWindow::fillMenu(QMenu* menu, const std::vector<cadhost::ContextMenuItem>& items) {
    for (const cadhost::ContextMenuItem& item : items) {
        if (item.separator) {
            menu->addSeparator();
            continue;
        }
        if (!item.popup.empty()) {
            QMenu* sub = menu->addMenu(fromCp1251(item.text));
            sub->setEnabled(item.enabled);
            fillMenu(sub, item.popup);
            continue;
        }
        QAction* act = menu->addAction(fromCp1251(item.text));
        act->setEnabled(item.enabled);
        const std::string text = item.text;
        connect(act, &QAction::triggered, this, [this, text] { post(action(ActionKind::ContextMenu, text)); });
    }
}

QMenu* MainWindow::contextMenu() {
    delete contextMenu_;
    contextMenu_ = new QMenu(this);
    contextMenu_->setObjectName("contextMenu");
    fillMenu(contextMenu_, cadhost::defaultContextMenuItems());
    return contextMenu_;
}

void MainWindow::viewContextMenu(const QPoint& globalPos) {
    // The default context menu belongs to the command line.
    if (Session::instance().waiter() != session::Waiter::CommandLine) return;
    QMenu* menu = contextMenu();
    if (menu->isEmpty()) return;
    menu->popup(globalPos);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    const auto waiter = Session::instance().waiter();
    if (waiter && *waiter != session::Waiter::CommandLine) {
        // A dialog or an input request is open: it is finished or cancelled first.
        statusBar()->showMessage(QString("Cannot close while ") + session::waiterName(*waiter) + " waits", 5000);
        event->ignore();
        return;
    }
    if (source_.playing() || !waiter) {
        source_.finish();
        event->accept();
        return;
    }
    // The person leaves: the host asks whether to save a changed drawing, and
    // ends the session (which closes the window) unless the answer is Cancel.
    event->ignore();
    post(action(ActionKind::Quit));
}

// The height of a caption bar drawn over a frameless window in a screenshot.
constexpr int kCaptionHeight = 22;

bool MainWindow::writeScreenshot(const std::string& path, std::string& error) {
    QImage image(size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(palette().window().color());
    {
        QPainter painter(&image);
        render(&painter);
        const QPoint origin = geometry().topLeft();
        // Windows above the ones they belong to (a dialog over the dialog that opened it).
        std::vector<std::pair<int, QWidget*>> tops;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top == this || !top->isVisible() || top->isMinimized()) continue;
            int depth = 0;
            for (QWidget* up = top->parentWidget(); up != nullptr; up = up->parentWidget()) ++depth;
            tops.emplace_back(depth, top);
        }
        std::stable_sort(tops.begin(), tops.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& [depth, top] : tops) {
            const QPoint at = top->geometry().topLeft() - origin;
            top->render(&painter, at);
            // The window manager's frame is not part of the window's picture:
            // its caption is drawn as a bar where the frame's title is.
            if (!top->windowTitle().isEmpty()) {
                const QRect bar(at.x(), at.y() - kCaptionHeight, top->width(), kCaptionHeight);
                painter.fillRect(bar, palette().highlight());
                painter.setPen(palette().highlightedText().color());
                painter.drawText(bar.adjusted(6, 0, -6, 0), Qt::AlignVCenter | Qt::AlignLeft, top->windowTitle());
            }
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        error = "cannot write the screenshot '" + path + "': the image could not be encoded as PNG";
        return false;
    }
    if (path.empty()) {
        error = "cannot write the screenshot: no file name";
        return false;
    }
    fs::Status written = fs::FileSystem::current().writeFile(path, std::string_view(bytes.constData(), bytes.size()));
    if (!written) {
        error = "cannot write the screenshot '" + path + "': " + written.error().reason;
        return false;
    }
    return true;
}

}  // namespace kestrin::gui
