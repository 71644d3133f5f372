// The main window under the offscreen platform: the person's input in the
// window becomes the session's actions, and the host answers them as it
// answers a script.
#include "gui/MainWindow.h"

#include <QApplication>
#include <QFileDialog>
#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <QProgressBar>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include "gui/DrawingModel.h"
#include "gui/DrawingView.h"
#include "gui/GuiSource.h"
#include "host/api/HostRuntime.h"
#include "render/FontLibrary.h"
#include "host/api/AcEdCommandStack.h"
#include "host/api/AcEdUIContext.h"
#include "host/api/EditorInput.h"
#include "host/api/HostState.h"
#include "host/api/PointerQueries.h"
#include "host/api/SelectionSets.h"
#include "host/db/AcDbText.h"
#include "host/db/DrawingStore.h"
#include "host/db/HeaderVariables.h"
#include "host/cadhost/MenuToolbar.h"
#include "platform/fs/MemoryFileSystem.h"
#include "platform/registry/HostProfileKeys.h"
#include "platform/registry/WinReg.h"
#include "platform/ui/Menu.h"
#include "tests/gui/GuiTest.h"
#include "tests/host/api/HostFixture.h"

namespace kestrin::gui {
namespace {

using session::Action;
using session::ActionKind;
using session::Session;

// The window over a GuiSource that the session reads, on the test drawing.
class MainWindowTest : public kestrin::test::HostTest {
protected:
    MainWindowTest() {
        test::startApplication();
        Session::instance().setSource(&gui);
        gui.handedOut.connect([this](const Action& a) { handed.push_back(a); });
    }
    ~MainWindowTest() override { Session::instance().setSource(nullptr); }

    // Runs `input` once the event loop waits for the person (not at all once
    // `window` is gone).
    static void soon(QObject* window, std::function<void()> input) { QTimer::singleShot(0, window, std::move(input)); }
    // What the window posts when the person chooses `item` (a menu item or button).
    static std::optional<Action> chosen(QObject* window, QAction* item) {
        soon(window, [item] { item->trigger(); });
        return Session::instance().next(session::Waiter::CommandLine, "Command: ");
    }

    // `window` shown with a drawing view over `model` as its central widget.
    static DrawingView* showWithView(MainWindow& window, DrawingModel& model) {
        auto* view = new DrawingView(model, &window);
        window.setDrawingView(view);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        return view;
    }
    void setSnapModes(int modes) {
        db::VariableValue value;
        value.integer = modes;
        ASSERT_EQ(db::writeVariable(db().store().header(), "OSMODE", value), db::VariableWrite::Done);
    }

    GuiSource gui;
    std::vector<Action> handed;
};

QImage bitmap(QColor color) {
    QImage image(16, 15, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

std::string bmpBytes(QColor color) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    bitmap(color).save(&buffer, "BMP");
    return bytes.toStdString();
}

// The menu file as Plantor installs it (code page 1251) beside its bitmaps.
const char kMenu[] =
    "***MENUGROUP=ZOR_ARX\n"
    "***POP1\n"
    "**KESTRIN\n"
    "ID_MnKestrin   [Кестрин]\n"
    "ID_CKestrin    [Текст/Редактирование]^C^CCKestrin\n"
    "***TOOLBARS\n"
    "**TB_KESTRIN\n"
    "ID_TbKestrin   [_Toolbar(\"Кестрин\", _Floating, _Show, 200, 150, 1)]\n"
    "ID_TbCKestrin  [_Button(\"Текст/Редактирование\", \"Dtext.bmp\", \"Dtext.bmp\")]^C^CCKestrin\n"
    "ID_TbEKestrin  [_Button(\"Редактирование строк\", \"Txe.bmp\", \"Txe.bmp\")]^C^CEKestrin\n"
    "***HELPSTRINGS\n"
    "ID_CKestrin    [Набор строк: CKestrin]\n";

TEST_F(MainWindowTest, TheToolbarComesFromTheRegisteredMenuFileAndAClickPostsItsCommand) {
    fs::MemoryFileSystem files;
    fs::MemoryFileSystem::Installed installed(files);
    ASSERT_TRUE(files.createDirectories("/zor soft"));
    ASSERT_TRUE(files.writeFile("/zor soft/Zor_arx.mns", utf8ToCp1251(kMenu)));
    ASSERT_TRUE(files.writeFile("/zor soft/DTEXT.BMP", bmpBytes(Qt::red)));  // found in any letter case
    ASSERT_TRUE(files.writeFile("/zor soft/Txe.bmp", bmpBytes(Qt::blue)));
    cadhost::HostProfile profile;
    profile.menuGroups.push_back({"Group1", "ZOR_ARX /zor soft/Zor_arx"});

    const auto buttons = cadhost::hostToolbar(profile);
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_EQ(buttons[0].command, "CKestrin");
    EXPECT_EQ(buttons[0].label, utf8ToCp1251("Текст/Редактирование"));
    EXPECT_EQ(buttons[0].image, "/zor soft/DTEXT.BMP");
    EXPECT_EQ(buttons[1].command, "EKestrin");

    MainWindow window(gui, buttons);
    window.show();
    QAction* ckestrin = window.hostToolbar()->findChild<QAction*>("CKestrin");
    ASSERT_NE(ckestrin, nullptr);
    EXPECT_EQ(ckestrin->toolTip().toStdString(), "Текст/Редактирование");
    EXPECT_TRUE(ckestrin->statusTip().isEmpty()) << "ID_TbCKestrin has no help string in this file";
    ASSERT_FALSE(ckestrin->icon().isNull());
    EXPECT_EQ(ckestrin->icon().pixmap(16, 15).toImage().pixelColor(3, 3), QColor(Qt::red));

    QWidget* button = window.hostToolbar()->widgetForAction(ckestrin);
    ASSERT_NE(button, nullptr);
    soon(&window, [&] { QTest::mouseClick(button, Qt::LeftButton); });
    const auto action = Session::instance().next(session::Waiter::CommandLine, "Command: ");
    ASSERT_TRUE(action);
    EXPECT_EQ(action->kind, ActionKind::Command);
    EXPECT_EQ(action->text, "CKestrin");
}

TEST(MenuToolbar, TheMenuFileThePluginInstallsGivesItsPullDownAndTwoButtonsWithTheirHelp) {
    auto text = fs::FileSystem::real().readFile(KESTRIN_SOURCE_DIR "/data/Zor_arx.mns");
    ASSERT_TRUE(text) << text.error().message();
    const cadhost::MenuFile menu = cadhost::parseMenuFile(utf8ToCp1251(*text));  // installed in code page 1251
    const auto& buttons = menu.buttons;
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_EQ(buttons[0].command, "CKestrin");
    EXPECT_EQ(buttons[0].image, "Dtext.bmp");
    EXPECT_EQ(buttons[1].command, "EKestrin");
    EXPECT_EQ(buttons[1].image, "Txe.bmp");
    EXPECT_EQ(cp1251ToUtf8(buttons[1].label), "Редактирование строк");
    EXPECT_EQ(cp1251ToUtf8(buttons[1].help), "Правка строки текста, атрибута или многострочного текста: EKestrin");
    ASSERT_EQ(menu.pullDowns.size(), 1u);
    EXPECT_EQ(cp1251ToUtf8(menu.pullDowns[0].title), "Кестрин");
    ASSERT_EQ(menu.pullDowns[0].items.size(), 2u);
    EXPECT_EQ(menu.pullDowns[0].items[0].command, "CKestrin");
    EXPECT_EQ(cp1251ToUtf8(menu.pullDowns[0].items[0].help),
              "Набор строк текста в палитре и размещение их в чертеже: CKestrin");
}

TEST(MenuToolbar, PullDownsKeepSeparatorsPassOverItemsWithoutCommandsAndMatchHelpInAnyCase) {
    const cadhost::MenuFile menu = cadhost::parseMenuFile(
        "***POP1\r\n**A\r\nID_A [Tools]\r\nID_One [One]^C^CONE\r\nID_Sep [--]\r\n"
        "ID_None [Nothing]\r\nID_Two [Two]^c^cTWO arg\r\n"
        "***pop2\r\nID_Empty [Empty]\r\n"  // no items: no menu
        "***HELPSTRINGS\r\nid_two [The second]\r\n");
    ASSERT_EQ(menu.pullDowns.size(), 1u);
    const auto& items = menu.pullDowns[0].items;
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].command, "ONE");
    EXPECT_TRUE(items[0].help.empty());
    EXPECT_TRUE(items[1].label.empty()) << "a separator";
    EXPECT_EQ(items[2].command, "TWO");
    EXPECT_EQ(items[2].help, "The second");
    EXPECT_TRUE(menu.buttons.empty());
}

TEST_F(MainWindowTest, WithoutAMenuToolbarEachRegisteredCommandGetsAButton) {
    fs::MemoryFileSystem files;
    fs::MemoryFileSystem::Installed installed(files);
    static int ran = 0;
    host::commandStack().addCommand("HELLO", "HELLOPOINT", "HELLOPOINT", 0, [] { ++ran; });
    host::commandStack().addCommand("OTHER", "OTHERCMD", "OTHERCMD", 0, [] { ++ran; });
    cadhost::HostProfile profile;
    profile.menuGroups.push_back({"Group1", "MISSING /nowhere/Missing"});  // passed over, with a note
    std::vector<std::string> problems;
    const auto buttons = cadhost::hostToolbar(profile, &problems);
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_EQ(buttons[0].command, "HELLOPOINT");
    EXPECT_EQ(buttons[1].command, "OTHERCMD");
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("/nowhere/Missing.mns"), std::string::npos) << problems[0];
}

TEST_F(MainWindowTest, ALineTypedDuringAPointRequestIsThePointAndEscapeCancels) {
    MainWindow window(gui, {});
    window.show();
    soon(&window, [&] {
        EXPECT_EQ(window.promptLabel()->text().toStdString(), "Point: ");
        QTest::keyClicks(window.commandInput(), "10,20");
        QTest::keyClick(window.commandInput(), Qt::Key_Return);
    });
    ads_point p{};
    EXPECT_EQ(acedGetPoint(nullptr, "\nPoint: ", p), RTNORM);
    EXPECT_EQ(p[X], 10);
    EXPECT_EQ(p[Y], 20);
    EXPECT_TRUE(window.commandInput()->text().isEmpty());
    EXPECT_NE(window.transcriptView()->toPlainText().toStdString().find("Point: 10,20"), std::string::npos)
        << window.transcriptView()->toPlainText().toStdString();

    soon(&window, [&] {
        QTest::keyClicks(window.commandInput(), "half typed");
        QTest::keyClick(window.commandInput(), Qt::Key_Escape);
    });
    EXPECT_EQ(acedGetPoint(nullptr, "\nPoint: ", p), RTCAN);
    EXPECT_TRUE(window.commandInput()->text().isEmpty());
    ASSERT_EQ(handed.size(), 2u);
    EXPECT_EQ(handed[1].kind, ActionKind::Escape);
    EXPECT_FALSE(Session::instance().failed()) << Session::instance().failure();
}

TEST_F(MainWindowTest, KeysInTheDrawingGoToTheCommandLine) {
    DrawingModel model;
    MainWindow window(gui, {});
    auto* view = new DrawingView(model);
    window.setDrawingView(view);
    window.show();
    soon(&window, [&] {
        view->setFocus();
        QTest::keyClicks(view, "3,4");
        QTest::keyClick(view, Qt::Key_Return);
    });
    ads_point p{};
    EXPECT_EQ(acedGetPoint(nullptr, "\nPoint: ", p), RTNORM);
    EXPECT_EQ(p[X], 3);
    EXPECT_EQ(p[Y], 4);
    soon(&window, [&] {
        view->setFocus();
        QTest::keyClick(view, Qt::Key_Escape);
    });
    EXPECT_EQ(acedGetPoint(nullptr, "\nPoint: ", p), RTCAN);
    ASSERT_EQ(handed.size(), 2u);
    EXPECT_EQ(handed[1].kind, ActionKind::Escape);
    EXPECT_FALSE(Session::instance().failed()) << Session::instance().failure();
}

TEST_F(MainWindowTest, TypedLinesReadAsAtATerminalWithHistory) {
    MainWindow window(gui, {});
    soon(&window, [&] {
        QTest::keyClicks(window.commandInput(), "HELLOPOINT");
        QTest::keyClick(window.commandInput(), Qt::Key_Return);
        QTest::keyClick(window.commandInput(), Qt::Key_Return);  // a blank line: Enter
        QTest::keyClicks(window.commandInput(), "pick at 1,2");
        QTest::keyClick(window.commandInput(), Qt::Key_Return);
        QTest::keyClicks(window.commandInput(), "point 1;2");  // not a line: said, nothing posted
        QTest::keyClick(window.commandInput(), Qt::Key_Return);
        QTest::keyClick(window.commandInput(), Qt::Key_Up);
        QTest::keyClick(window.commandInput(), Qt::Key_Up);
    });
    auto next = [] { return Session::instance().next(session::Waiter::CommandLine, "Command: "); };
    auto a = next();
    ASSERT_TRUE(a);
    EXPECT_EQ(a->kind, ActionKind::Command);
    EXPECT_EQ(a->text, "HELLOPOINT");
    EXPECT_EQ(a->origin, "window:1");
    EXPECT_EQ(next()->kind, ActionKind::Enter);
    a = next();
    EXPECT_EQ(a->kind, ActionKind::Pick);
    EXPECT_EQ(a->pick.by, session::PickTarget::By::At);
    EXPECT_EQ(window.commandInput()->text().toStdString(), "pick at 1,2");  // two lines back
    EXPECT_NE(window.transcriptView()->toPlainText().toStdString().find("expected a point X,Y[,Z], found '1;2'"),
              std::string::npos);
    QTest::keyClick(window.commandInput(), Qt::Key_Down);
    QTest::keyClick(window.commandInput(), Qt::Key_Down);
    EXPECT_TRUE(window.commandInput()->text().isEmpty());
}

TEST_F(MainWindowTest, ALeftClickIsAPickDuringAnEntityRequestAPointDuringAPointRequestAndNothingElse) {
    MainWindow window(gui, {});
    soon(&window, [&] { window.viewClicked(-36.2, -40); });  // on the ring of the circle 47 centred at -40,-40
    ads_name name{};
    ads_point p{};
    EXPECT_EQ(acedEntSel("\nSelect object: ", name, p), RTNORM);
    ASSERT_EQ(handed.size(), 1u);
    EXPECT_EQ(handed[0].kind, ActionKind::Pick);
    EXPECT_EQ(handed[0].pick.by, session::PickTarget::By::At);
    EXPECT_EQ(handed[0].pick.x, -36.2);
    AcDbObjectId picked;
    ASSERT_EQ(acdbGetObjectId(picked, name), Acad::eOk);
    EXPECT_EQ(picked.handle().value(), 0x47u);

    soon(&window, [&] { window.viewClicked(3.5, -4); });
    EXPECT_EQ(acedGetPoint(nullptr, "\nPoint: ", p), RTNORM);
    EXPECT_EQ(p[X], 3.5);
    EXPECT_EQ(p[Y], -4);

    // At the command line a click is nothing: the next action is the Enter after it.
    soon(&window, [&] {
        window.viewClicked(1, 1);
        window.commandInput()->setText("");
        QTest::keyClick(window.commandInput(), Qt::Key_Return);
    });
    auto a = Session::instance().next(session::Waiter::CommandLine, "Command: ");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->kind, ActionKind::Enter);
}

// The File menu's dialogs name a file; the window posts open or save with
// it (and the version a Save As chose, when not the drawing's own), and
// nothing when the dialog is cancelled.
TEST_F(MainWindowTest, FileMenuOpenAndSaveAsPostTheChosenFile) {
    MainWindow window(gui, {});
    window.show();
    // Answers the file dialog once it is open: the file, or cancel (empty).
    auto answerDialog = [](const QString& path, const QString& filter = {}) {
        QTimer::singleShot(0, [path, filter] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                auto* dialog = qobject_cast<QFileDialog*>(top);
                if (!dialog || !dialog->isVisible()) continue;
                if (path.isEmpty()) {
                    dialog->reject();
                } else {
                    if (!filter.isEmpty()) {
                        EXPECT_TRUE(dialog->nameFilters().contains(filter)) << filter.toStdString();
                        dialog->selectNameFilter(filter);
                    }
                    dialog->selectFile(path);
                    static_cast<QDialog*>(dialog)->accept();
                }
            }
        });
    };
    std::string dir = ::testing::TempDir();
    if (!dir.empty() && dir.back() == '/') dir.pop_back();
    const std::string existing = dir + "/Чертёж.dxf";
    ASSERT_TRUE(fs::FileSystem::real().writeFile(existing, "0\nEOF\n"));
    soon(&window, [&] {
        answerDialog(QString::fromStdString(existing));
        window.findChild<QAction*>("open")->trigger();
        answerDialog(QString::fromStdString(dir + "/new.dxf"));
        window.findChild<QAction*>("saveAs")->trigger();
        answerDialog(QString::fromStdString(dir + "/old.dxf"), "DXF R12 (*.dxf)");
        window.findChild<QAction*>("saveAs")->trigger();
        answerDialog({});
        window.findChild<QAction*>("saveAs")->trigger();
        QTest::keyClick(window.commandInput(), Qt::Key_Return);
    });
    auto next = [] { return Session::instance().next(session::Waiter::CommandLine, "Command: "); };
    auto a = next();
    ASSERT_TRUE(a);
    EXPECT_EQ(a->kind, ActionKind::Open);
    EXPECT_EQ(cp1251ToUtf8(a->text), existing);
    a = next();
    ASSERT_TRUE(a);
    EXPECT_EQ(a->kind, ActionKind::Save);
    EXPECT_EQ(cp1251ToUtf8(a->text), dir + "/new.dxf");
    EXPECT_TRUE(a->words.empty()) << "the drawing's own version";
    a = next();
    ASSERT_TRUE(a);
    EXPECT_EQ(a->kind, ActionKind::Save);
    EXPECT_EQ(a->words, std::vector<std::string>{"R12"});
    a = next();
    ASSERT_TRUE(a);
    EXPECT_EQ(a->kind, ActionKind::Enter);  // the cancelled dialog posted nothing
    (void)fs::FileSystem::real().removeFile(existing);
}

class TwoItemMenu : public AcEdUIContext {
public:
    TwoItemMenu() {
        menu.CreatePopupMenu();
        menu.AppendMenu(MF_STRING, 101, utf8ToCp1251("Текст/Редактирование").c_str());
        menu.AppendMenu(MF_SEPARATOR);
        menu.AppendMenu(MF_STRING | MF_GRAYED, 102, "Grayed");
    }
    void* getMenuContext(const AcRxClass*, const AcDbObjectIdArray&) override { return &handle; }
    void OnUpdateMenu() override { handle = menu.GetSafeHmenu(); }
    void onCommand(Adesk::UInt32 id) override { chosen.push_back(id); }
    CMenu menu;
    HMENU handle = nullptr;
    std::vector<Adesk::UInt32> chosen;
};

TEST_F(MainWindowTest, TheContextMenuShowsTheHostsDefaultMenuAndPostsTheChosenItem) {
    TwoItemMenu context;
    int app = 0;
    ASSERT_TRUE(acedAddDefaultContextMenu(&context, &app, "Kestrin"));
    MainWindow window(gui, {});
    QMenu* menu = window.contextMenu();
    const auto actions = menu->actions();
    ASSERT_EQ(actions.size(), 3);
    EXPECT_EQ(actions[0]->text().toStdString(), "Текст/Редактирование");
    EXPECT_TRUE(actions[1]->isSeparator());
    EXPECT_FALSE(actions[2]->isEnabled());
    soon(&window, [&] { actions[0]->trigger(); });
    auto a = Session::instance().next(session::Waiter::CommandLine, "Command: ");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->kind, ActionKind::ContextMenu);
    EXPECT_EQ(a->text, utf8ToCp1251("Текст/Редактирование"));
    EXPECT_TRUE(acedRemoveDefaultContextMenu(&context));
}

TEST_F(MainWindowTest, ClosingOrExitAtTheCommandLineIsTheQuitTheHostAsksAboutButNotDuringARequest) {
    MainWindow window(gui, {});
    window.show();
    soon(&window, [&] {
        EXPECT_FALSE(window.close());  // a point request is open
        EXPECT_TRUE(window.isVisible());
        gui.post([] {
            Action escape;
            escape.kind = ActionKind::Escape;
            return escape;
        }());
    });
    ads_point p{};
    EXPECT_EQ(acedGetPoint(nullptr, "\nPoint: ", p), RTCAN);
    // The window stays until the host has asked and ends the session.
    soon(&window, [&] { EXPECT_FALSE(window.close()); });
    auto quit = Session::instance().next(session::Waiter::CommandLine, "Command: ");
    ASSERT_TRUE(quit);
    EXPECT_EQ(quit->kind, ActionKind::Quit);
    EXPECT_TRUE(window.isVisible());
    soon(&window, [&] { window.findChild<QAction*>("exit")->trigger(); });
    quit = Session::instance().next(session::Waiter::CommandLine, "Command: ");
    ASSERT_TRUE(quit);
    EXPECT_EQ(quit->kind, ActionKind::Quit);
    EXPECT_FALSE(gui.finished());
    EXPECT_FALSE(Session::instance().failed()) << Session::instance().failure();
}

TEST_F(MainWindowTest, TheEditMenuNamesTheStepsAndPostsUAndRedoAtTheCommandLineOnly) {
    MainWindow window(gui, {});
    window.show();
    QAction* undo = window.findChild<QAction*>("undo");
    QAction* redo = window.findChild<QAction*>("redo");
    ASSERT_TRUE(undo && redo);
    EXPECT_EQ(undo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(redo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Y));
    // A step of the drawing, then the menu at the command line.
    AcDbText* text = nullptr;
    ASSERT_EQ(acdbOpenObject(text, id(0x40), AcDb::kForWrite), Acad::eOk);
    text->setTextString("changed");
    text->close();
    db().store().journal().close("RETEXT");
    soon(&window, [&] {
        EXPECT_EQ(undo->text().toStdString(), "&Undo RETEXT");
        EXPECT_TRUE(undo->isEnabled());
        EXPECT_FALSE(redo->isEnabled());
        // An empty command line leaves Ctrl+Z to the window's Undo; with
        // text typed it undoes the typing.
        auto overrides = [&] {
            QKeyEvent key(QEvent::ShortcutOverride, Qt::Key_Z, Qt::ControlModifier);
            key.ignore();
            QApplication::sendEvent(window.commandInput(), &key);
            return key.isAccepted();
        };
        window.commandInput()->setText("typed");
        EXPECT_TRUE(overrides());
        window.commandInput()->clear();
        EXPECT_FALSE(overrides());
        undo->trigger();
    });
    auto posted = Session::instance().next(session::Waiter::CommandLine, "Command: ");
    ASSERT_TRUE(posted);
    EXPECT_EQ(posted->kind, ActionKind::Command);
    EXPECT_EQ(posted->text, "U");
    db().store().journal().undo(1);
    soon(&window, [&] {
        EXPECT_EQ(redo->text().toStdString(), "&Redo RETEXT");
        EXPECT_FALSE(undo->isEnabled());
        redo->trigger();
    });
    posted = Session::instance().next(session::Waiter::CommandLine, "Command: ");
    ASSERT_TRUE(posted);
    EXPECT_EQ(posted->text, "REDO");
    // While the host asks for a point, neither is offered.
    soon(&window, [&] {
        EXPECT_FALSE(redo->isEnabled());
        gui.post(kestrin::test::act(ActionKind::Escape));
    });
    ads_point p{};
    EXPECT_EQ(acedGetPoint(nullptr, "\nPoint: ", p), RTCAN);
}

TEST_F(MainWindowTest, AnErrorShowsInABoxAndAToolbarThatCannotBeBuiltSaysWhy) {
    MainWindow window(gui, {});
    window.show();
    window.showToolbarProblems({"the menu file 'Zor_arx.mns' of group ZOR_ARX is not there"});
    auto* problem = window.hostToolbar()->findChild<QLabel*>("toolbarProblem");
    ASSERT_NE(problem, nullptr);
    EXPECT_EQ(problem->text().toStdString(), "Toolbar: the menu file 'Zor_arx.mns' of group ZOR_ARX is not there");
    session::Transcript::instance().error("cannot save /x/y.dxf: no folder '/x'");
    auto* box = window.findChild<QMessageBox*>("errorBox");
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->text().toStdString(), "cannot save /x/y.dxf: no folder '/x'");
    EXPECT_NE(window.transcriptView()->toPlainText().toStdString().find("no folder '/x'"), std::string::npos);
    box->button(QMessageBox::Ok)->click();
}

TEST_F(MainWindowTest, AScreenshotIsAPngOfTheWindowWithItsDialogsAndABadPathFailsNamingIt) {
    fs::MemoryFileSystem files;
    fs::MemoryFileSystem::Installed installed(files);
    ASSERT_TRUE(files.createDirectories("/shots"));
    MainWindow window(gui, {});
    window.resize(640, 480);
    window.move(100, 100);
    window.show();
    // A dialog over the window, as a modal dialog of the host shows.
    QWidget dialog(nullptr, Qt::Dialog);
    dialog.setAutoFillBackground(true);
    QPalette green = dialog.palette();
    green.setColor(QPalette::Window, Qt::green);
    dialog.setPalette(green);
    dialog.setGeometry(200, 200, 100, 80);
    dialog.show();

    Action shot;
    shot.kind = ActionKind::Screenshot;
    shot.text = "/shots/a.png";
    soon(&window, [&] {
        gui.post(shot);
        Action enter;
        enter.kind = ActionKind::Enter;
        gui.post(enter);
    });
    auto a = Session::instance().next(session::Waiter::CommandLine, "Command: ");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->kind, ActionKind::Enter);  // the window took the screenshot itself
    auto bytes = files.readFile("/shots/a.png");
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->rfind("\x89PNG", 0), 0u);
    QImage image;
    ASSERT_TRUE(image.loadFromData(QByteArray::fromStdString(*bytes), "PNG"));
    EXPECT_EQ(image.size(), window.size());
    const QPoint inDialog = dialog.geometry().center() - window.geometry().topLeft();
    EXPECT_EQ(image.pixelColor(inDialog), QColor(Qt::green));
    EXPECT_NE(image.pixelColor(5, image.height() - 5), QColor(Qt::green));

    shot.text = "/no/such/folder/b.png";
    soon(&window, [&] { gui.post(shot); });
    EXPECT_FALSE(Session::instance().next(session::Waiter::CommandLine, "Command: "));
    EXPECT_TRUE(Session::instance().failed());
    EXPECT_NE(Session::instance().failure().find("cannot write the screenshot '/no/such/folder/b.png': "),
              std::string::npos)
        << Session::instance().failure();
}

}  // namespace
}  // namespace kestrin::gui

namespace kestrin::gui {
namespace {

std::vector<std::string> menuTitles(QMainWindow& window) {
    std::vector<std::string> titles;
    for (QAction* act : window.menuBar()->actions()) titles.push_back(act->text().toStdString());
    return titles;
}

TEST_F(MainWindowTest, TheMenuGroupsPullDownStandsBeforeHelpAndItsItemsRunTheirCommandsWithTheirHelp) {
    fs::MemoryFileSystem files;
    fs::MemoryFileSystem::Installed installed(files);
    ASSERT_TRUE(files.createDirectories("/zor soft"));
    ASSERT_TRUE(files.writeFile("/zor soft/Zor_arx.mns", utf8ToCp1251(kMenu)));
    cadhost::HostProfile profile;
    profile.menuGroups.push_back({"Group1", "ZOR_ARX /zor soft/Zor_arx"});
    const cadhost::MenuFile menus = cadhost::hostMenus(profile);
    ASSERT_EQ(menus.pullDowns.size(), 1u);

    DrawingModel model;
    MainWindow window(gui, menus.buttons);
    window.setDrawingView(new DrawingView(model, &window));
    window.addPullDownMenus(menus.pullDowns);
    window.show();
    EXPECT_EQ(menuTitles(window), (std::vector<std::string>{"&File", "&Edit", "&View", "Кестрин", "&Help"}));
    auto* pullDown = window.findChild<QMenu*>("pullDown");
    ASSERT_NE(pullDown, nullptr);
    QAction* item = pullDown->findChild<QAction*>("CKestrin");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->statusTip().toStdString(), "Набор строк: CKestrin");
    const auto action = chosen(&window, item);
    ASSERT_TRUE(action);
    EXPECT_EQ(action->kind, ActionKind::Command);
    EXPECT_EQ(action->text, "CKestrin");
}

TEST_F(MainWindowTest, FileNewAndSavePostToTheDrawingsFileAndANewDrawingsSaveAsksAddingDxf) {
    MainWindow window(gui, {});
    window.show();
    std::string dir = ::testing::TempDir();
    if (!dir.empty() && dir.back() == '/') dir.pop_back();
    host::HostState::instance().drawingPath = dir + "/plan.dxf";
    QString startedIn;
    soon(&window, [&] {
        window.findChild<QAction*>("new")->trigger();
        window.findChild<QAction*>("save")->trigger();  // the drawing's own file, no question
        host::HostState::instance().drawingPath.clear();  // now a new drawing
        QTimer::singleShot(0, [&] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                auto* dialog = qobject_cast<QFileDialog*>(top);
                if (!dialog || !dialog->isVisible()) continue;
                startedIn = dialog->directory().absolutePath();
                dialog->selectFile(QString::fromStdString(dir + "/named"));
                static_cast<QDialog*>(dialog)->accept();
            }
        });
        window.findChild<QAction*>("save")->trigger();
    });
    auto next = [] { return Session::instance().next(session::Waiter::CommandLine, "Command: "); };
    auto a = next();
    ASSERT_TRUE(a);
    EXPECT_EQ(a->kind, ActionKind::New);
    a = next();
    ASSERT_TRUE(a);
    EXPECT_EQ(a->kind, ActionKind::Save);
    EXPECT_EQ(a->text, dir + "/plan.dxf");
    a = next();
    ASSERT_TRUE(a);
    EXPECT_EQ(a->kind, ActionKind::Save);
    EXPECT_EQ(a->text, dir + "/named.dxf");
    EXPECT_EQ(startedIn.toStdString(), QDir::currentPath().toStdString()) << "a new drawing's folder is the current one";
}

TEST_F(MainWindowTest, DrawingsOpenedOrSavedGoFirstInRecentFilesWhichTheProfileKeeps) {
    cadhost::HostProfile profile;
    profile.name = "RecentFilesTest";
    profile.exists = true;
    const std::string key = std::string(registry::kHostKey) + "\\Profiles\\RecentFilesTest";
    RegDeleteKeyA(HKEY_CURRENT_USER, (key + "\\Recent File List").c_str());
    {
        MainWindow window(gui, {});
        window.keepRecentFilesIn(profile);
        window.show();
        EXPECT_FALSE(window.recentFilesMenu()->isEnabled()) << "nothing yet";
        // Each wait at the command line notes the drawing's file.
        for (const char* file : {"/w/A.dxf", "/w/b.dxf", "/w/a.dxf"}) {
            host::HostState::instance().drawingPath = file;
            soon(&window, [&] { QTest::keyClick(window.commandInput(), Qt::Key_Return); });
            ASSERT_TRUE(Session::instance().next(session::Waiter::CommandLine, "Command: "));
        }
        ASSERT_TRUE(window.recentFilesMenu()->isEnabled());
        EXPECT_EQ(window.recentFilesMenu()->actions().size(), 2);
    }
    cadhost::RecentFiles kept(profile);
    EXPECT_EQ(kept.list(), (std::vector<std::string>{"/w/a.dxf", "/w/b.dxf"})) << "one entry a file, in any case";
    for (int i = 0; i < 10; ++i) {
        std::string error;
        ASSERT_TRUE(kept.add("/w/" + std::to_string(i) + ".dxf", error)) << error;
    }
    EXPECT_EQ(kept.list().size(), cadhost::RecentFiles::kLimit);
    EXPECT_EQ(kept.list().front(), "/w/9.dxf");

    host::HostState::instance().drawingPath.clear();  // a new drawing: nothing to note
    MainWindow again(gui, {});
    again.keepRecentFilesIn(profile);
    QAction* first = again.recentFilesMenu()->findChild<QAction*>("recent1");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->text().toStdString(), "&1 /w/9.dxf");
    const auto a = chosen(&again, first);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->kind, ActionKind::Open);
    EXPECT_EQ(a->text, "/w/9.dxf");
    RegDeleteKeyA(HKEY_CURRENT_USER, (key + "\\Recent File List").c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
}

TEST_F(MainWindowTest, TheViewMenuZoomsAndPansAndTheStatusBarFollowsTheCursor) {
    DrawingModel model;
    MainWindow window(gui, {});
    DrawingView* view = showWithView(window, model);
    const double scale = view->mapping().pixelsPerUnit;
    window.findChild<QAction*>("zoomIn")->trigger();
    EXPECT_DOUBLE_EQ(view->mapping().pixelsPerUnit, scale * 2);
    window.findChild<QAction*>("zoomOut")->trigger();
    EXPECT_DOUBLE_EQ(view->mapping().pixelsPerUnit, scale);
    const QPointF middle(view->width() / 2.0, view->height() / 2.0);
    const QPointF before = view->pixelToWorld(middle);
    window.findChild<QAction*>("panRight")->trigger();
    // The drawing moved right: the point that was in the middle is a quarter further right.
    EXPECT_NEAR(view->worldToPixel(before.x(), before.y()).x(), middle.x() + qRound(view->width() / 4.0), 1e-6);
    window.findChild<QAction*>("panUp")->trigger();
    EXPECT_NEAR(view->worldToPixel(before.x(), before.y()).y(), middle.y() - qRound(view->height() / 4.0), 1e-6);

    QTest::mouseMove(view, QPoint(10, 20));
    const QPointF at = view->pixelToWorld(QPointF(10, 20));
    EXPECT_EQ(window.coordinatesLabel()->text(), QString("%1, %2").arg(at.x(), 0, 'f', 4).arg(at.y(), 0, 'f', 4));
}

}  // namespace
}  // namespace kestrin::gui

namespace kestrin::gui {
namespace {

TEST_F(MainWindowTest, ClicksSnapAsOsmodeAsksUntilF3AndTheViewShowsTheMarkerTheBandAndThePickedEntity) {
    setSnapModes(db::kSnapEndpoint);
    DrawingModel model;
    MainWindow window(gui, {});
    DrawingView* view = showWithView(window, model);
    // Near the end 5,5 of the test drawing's line 0,0-5,5, well inside the aperture.
    const double d = 3 / view->mapping().pixelsPerUnit;
    ads_point p{};
    ads_point base{0, 5, 0};
    soon(&window, [&] {
        window.viewCursorMoved(5 + d, 5 - d);
        ASSERT_TRUE(view->feedback().snap);
        EXPECT_EQ(view->feedback().snap->mode, db::kSnapEndpoint);
        ASSERT_TRUE(view->feedback().bandFrom);
        EXPECT_EQ(*view->feedback().bandFrom, QPointF(0, 5));
        EXPECT_EQ(*view->feedback().cursor, QPointF(5, 5)) << "the band ends at the snap";
        window.viewClicked(5 + d, 5 - d);
    });
    ASSERT_EQ(acedGetPoint(base, "\nPoint: ", p), RTNORM);
    EXPECT_EQ(p[X], 5);
    EXPECT_EQ(p[Y], 5);

    // F3 turns the snaps off: the click is the cursor's own point.
    soon(&window, [&] {
        window.findChild<QAction*>("objectSnap")->trigger();
        EXPECT_FALSE(window.findChild<QAction*>("objectSnap")->isChecked());
        window.viewCursorMoved(5 + d, 5 - d);
        EXPECT_FALSE(view->feedback().snap);
        EXPECT_FALSE(view->feedback().bandFrom) << "no base point asked with";
        window.viewClicked(5 + d, 5 - d);
    });
    ASSERT_EQ(acedGetPoint(nullptr, "\nPoint: ", p), RTNORM);
    EXPECT_EQ(p[X], 5 + d);

    // During an entity request the entity a click would pick is highlighted.
    soon(&window, [&] {
        window.viewCursorMoved(2.6, 2.4);
        ASSERT_TRUE(view->feedback().highlight);
        EXPECT_EQ(view->feedback().highlight->points.size(), 2u);
        EXPECT_FALSE(view->feedback().snap);
        window.viewClicked(2.6, 2.4);
    });
    ads_name name{};
    ASSERT_EQ(acedEntSel("\nSelect object: ", name, p), RTNORM);
    // Back at the command line nothing is shown.
    soon(&window, [&] {
        EXPECT_FALSE(view->feedback().highlight);
        QTest::keyClick(window.commandInput(), Qt::Key_Return);
    });
    ASSERT_TRUE(Session::instance().next(session::Waiter::CommandLine, "Command: "));
}

int followFromOrigin(ads_point pt, ads_matrix mt) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) mt[i][j] = i == j;
    mt[0][3] = pt[X];
    mt[1][3] = pt[Y];
    return RTNORM;
}

TEST_F(MainWindowTest, DraggedEntitiesAreDrawnWhereTheCursorTakesThem) {
    setSnapModes(0);
    DrawingModel model;
    MainWindow window(gui, {});
    DrawingView* view = showWithView(window, model);
    const auto line = host::entityUnderCursor(2.6, 2.4);  // the test drawing's line 0,0-5,5
    ASSERT_TRUE(line);
    AcDbObjectId id;
    ASSERT_EQ(db().getAcDbObjectId(id, false, AcDbHandle(line->handle)), Acad::eOk);
    ads_name entity{}, set{};
    ASSERT_EQ(acdbGetAdsName(entity, id), Acad::eOk);
    ASSERT_EQ(acedSSAdd(entity, nullptr, set), RTNORM);
    ads_point p{};
    soon(&window, [&] {
        window.viewCursorMoved(7, 1);
        ASSERT_TRUE(view->feedback().ghost);
        EXPECT_EQ(view->feedback().ghost->handles, std::vector<std::uint64_t>{line->handle});
        EXPECT_EQ(view->feedback().ghost->transform, (std::array<double, 6>{1, 0, 7, 0, 1, 1}));
        // The copy is painted along the moved line, 7,1-12,6, and not at its own place.
        const QImage shown = view->grab().toImage();
        auto blueNear = [&](double x, double y) {
            const QPoint at = view->worldToPixel(x, y).toPoint();
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const QColor c = shown.pixelColor(at + QPoint(dx, dy));
                    if (c.blue() > c.red() + 60) return true;
                }
            return false;
        };
        EXPECT_TRUE(blueNear(9.5, 3.5));
        EXPECT_FALSE(blueNear(2.5, 2.5));
        window.viewClicked(7, 1);
    });
    ASSERT_EQ(acedDragGen(set, "\nTo: ", 0, followFromOrigin, p), RTNORM);
    EXPECT_EQ(p[X], 7);
    EXPECT_EQ(p[Y], 1);
    soon(&window, [&] {
        EXPECT_FALSE(view->feedback().ghost);
        QTest::keyClick(window.commandInput(), Qt::Key_Return);
    });
    ASSERT_TRUE(Session::instance().next(session::Waiter::CommandLine, "Command: "));
    acedSSFree(set);
}

// A large drawing is drawn into the view a part at a time: the window paints
// and takes input while it grows, the status bar says how far it is, and the
// scene ends as the whole drawing.
TEST_F(MainWindowTest, ALargeDrawingIsDrawnAPartAtATimeWithItsProgressInTheStatusBar) {
    dxf::Document doc = db().toDocument();
    constexpr int kTexts = 30000;
    for (int k = 0; k < kTexts; ++k) {
        dxf::Record text;
        text.type = "TEXT";
        for (const auto& [code, value] : std::initializer_list<std::pair<int, std::string>>{
                 {8, "0"}, {10, std::to_string(k % 300 * 10)}, {20, std::to_string(k / 300 * 5)}, {40, "2"},
                 {1, "Text " + std::to_string(k)}})
            text.tags.push(code, value);
        doc.entities.push_back(std::move(text));
    }
    db().fromDocument(std::move(doc));
    const std::size_t entities = kTexts;
    DrawingModel model;
    MainWindow window(gui, {});
    auto* view = new DrawingView(model, &window);
    view->setDrawingSlice(std::chrono::milliseconds(2));  // many parts, however fast the machine
    window.setDrawingView(view);
    QProgressBar* progress = window.drawingProgress();
    int partsSeen = 0, maxValue = 0;
    bool zoomedWhileDrawing = false;
    QObject::connect(view, &DrawingView::building, &window, [&](double done) {
        if (done >= 1) return;
        ++partsSeen;
        EXPECT_TRUE(progress->isVisible());
        EXPECT_GE(progress->value(), maxValue) << "it only grows";
        maxValue = progress->value();
        if (partsSeen != 1) return;
        // Input that comes while it draws is taken between two parts.
        QTimer::singleShot(0, &window, [&] {
            const double scale = view->mapping().pixelsPerUnit;
            window.findChild<QAction*>("zoomIn")->trigger();
            zoomedWhileDrawing = view->buildProgress().has_value() && view->mapping().pixelsPerUnit == scale * 2;
        });
    });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QElapsedTimer waited;
    waited.start();
    while (view->buildProgress() && waited.elapsed() < 60000) QTest::qWait(20);
    EXPECT_FALSE(view->buildProgress()) << "still drawing after a minute";
    EXPECT_GT(partsSeen, 1) << "the drawing was drawn at once, not a part at a time";
    EXPECT_TRUE(zoomedWhileDrawing);
    EXPECT_FALSE(progress->isVisible());
    render::FontLibrary fonts(host::HostRuntime::instance().drawingPath(), host::HostRuntime::instance().supportPath(),
                              nullptr);
    render::ViewScene whole(fonts);
    whole.build(db().toDocument());
    EXPECT_GT(whole.size(), entities / 2);
    EXPECT_EQ(model.partialScene().size(), whole.size());
    EXPECT_EQ(model.partialScene().extents().maxX, whole.extents().maxX);
    EXPECT_EQ(model.rebuilds(), 1u);
}

}  // namespace
}  // namespace kestrin::gui
