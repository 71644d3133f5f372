// The desktop program end to end: cadhost --gui run in this process with the
// real plug-in, driven only by synthetic mouse and key events in its windows.
// Each time the window waits for the person, the next step of a queue acts;
// the drawing it saves must equal, byte for byte, the one the same actions
// written as a session script give without windows.
#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <gtest/gtest.h>

#include <charconv>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/Cp1251.h"
#include "gui/DialogWindows.h"
#include "gui/DrawingView.h"
#include "gui/GuiDesktop.h"
#include "gui/GuiSource.h"
#include "gui/MainWindow.h"
#include "platform/registry/HostProfileKeys.h"
#include "host/api/HostRuntime.h"
#include "host/cadhost/HostProfile.h"
#include "host/cadhost/HostProgram.h"
#include "platform/fs/FileSystem.h"
#include "platform/fs/Path.h"
#include "platform/ui/DialogActions.h"
#include "platform/ui/Window.h"
#include "tests/gui/GuiTest.h"
#include "tests/platform/fs/TempFolder.h"
#include "tests/support/SessionFixture.h"

namespace kestrin::gui {
namespace {

using session::Action;
using session::ActionKind;
using session::Session;
using session::Waiter;

// The real desktop; the test follows the source its windows post to.
class DrivenDesktop : public GuiDesktop {
public:
    static inline DrivenDesktop* current = nullptr;
    static std::unique_ptr<cadhost::Desktop> make() {
        auto desktop = std::make_unique<DrivenDesktop>();
        current = desktop.get();
        return desktop;
    }
    ~DrivenDesktop() override {
        if (current == this) current = nullptr;
    }
    std::unique_ptr<session::ActionSource> start(const cadhost::Options& options, const cadhost::HostProfile& profile,
                                                 std::unique_ptr<session::ActionSource> script,
                                                 std::string& error) override {
        auto made = GuiDesktop::start(options, profile, std::move(script), error);
        source = dynamic_cast<GuiSource*>(made.get());
        if (source != nullptr && started) started(*source);
        return made;
    }

    GuiSource* source = nullptr;
    // Told the source of the windows of each run (the factory takes no arguments).
    static inline std::function<void(GuiSource&)> started;
};

// Named steps, one for each wait of the window for the person. A step that
// posts nothing (it opens a list, or only looks) is followed at once by the
// next. A wait with no step left, or a run that takes too long, fails the
// test and ends the input, so a click that posts nothing cannot hang it.
class StepQueue {
public:
    void add(std::string name, std::function<void()> act) { steps_.push_back({std::move(name), std::move(act)}); }
    // Runs the current step again at the next wait (a key pressed until a list shows an entry).
    void again() { repeat_ = true; }

    void follow(GuiSource& source) {
        source_ = &source;
        connections_.push_back(source.waiting.connectScoped([this](const std::string& prompt) {
            prompt_ = prompt;
            schedule();
        }));
        connections_.push_back(source.handedOut.connectScoped([this](const Action&) { ++handed_; }));
        watchdog_.setSingleShot(true);
        QObject::connect(&watchdog_, &QTimer::timeout, &guard_, [this] { stop("the run took more than two minutes"); });
        watchdog_.start(120000);
    }
    // The run is over: its source is gone.
    void release() {
        watchdog_.stop();
        QObject::disconnect(&watchdog_, nullptr, &guard_, nullptr);
        connections_.clear();
        source_ = nullptr;
    }

    bool done() const { return steps_.empty(); }
    const std::string& prompt() const { return prompt_; }
    const std::string& current() const { return current_; }

private:
    struct Step {
        std::string name;
        std::function<void()> act;
    };

    void schedule() {
        if (scheduled_ || stopped_) return;
        scheduled_ = true;
        // Once the event loop runs: the source waits for the person.
        QTimer::singleShot(0, &guard_, [this] {
            scheduled_ = false;
            runNext();
        });
    }

    void runNext() {
        if (stopped_) return;
        if (steps_.empty()) return stop("the window waits with no step left");
        Step step = steps_.front();
        steps_.pop_front();
        current_ = step.name;
        repeat_ = false;
        const int before = handed_;
        step.act();
        if (repeat_) steps_.push_front(step);
        // Posted actions are handed out before this runs: a step that posted
        // nothing leaves the same wait going.
        QTimer::singleShot(0, &guard_, [this, before] {
            if (handed_ == before && !scheduled_) runNext();
        });
    }

    void stop(const std::string& why) {
        if (stopped_) return;
        stopped_ = true;
        ADD_FAILURE() << why << " (after step '" << current_ << "', prompt '" << prompt_ << "')";
        if (source_ != nullptr) source_->finish();
    }

    std::deque<Step> steps_;
    GuiSource* source_ = nullptr;
    std::vector<ScopedConnection> connections_;
    QObject guard_;  // the timers die with the queue
    QTimer watchdog_;
    std::string prompt_;
    std::string current_ = "(none)";
    int handed_ = 0;
    bool scheduled_ = false;
    bool stopped_ = false;
    bool repeat_ = false;
};

// A coordinate as the session language reads it back exactly.
std::string number(double v) {
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, v).ptr;
    return std::string(buffer, end);
}

std::string readBytes(const std::string& path) {
    auto bytes = fs::FileSystem::current().readFile(path);
    return bytes ? *bytes : std::string();
}

class DesktopSessionTest : public kestrin::test::FreshSession {
protected:
    DesktopSessionTest() : folder("desktop-session") {
        test::startApplication();
        host::HostRuntime::instance().reset();
        // The host's profile names the plug-in's menu group: its toolbar.
        const std::string profiles = std::string("[HKEY_CURRENT_USER\\") + registry::kHostKey + "\\Profiles";
        std::string registry = "REGEDIT4\n\n" + profiles + "]\n@=\"Desk\"\n\n";
        registry.append(profiles).append("\\Desk\\Menus]\n\"Group1\"=\"ZOR_ARX ").append(dist).append("/Zor_arx\"\n");
        EXPECT_TRUE(fs::FileSystem::current().writeFile(folder / "host.reg", registry));
    }
    ~DesktopSessionTest() override { host::HostRuntime::instance().reset(); }

    // cadhost with `args` after the module, support path and registry; a
    // failure of its session is kept in `failure`.
    int runHost(std::vector<std::string> args) {
        kestrin::test::resetMachine();
        host::HostRuntime::instance().reset();
        const std::string registry = folder / "host.reg";
        std::vector<std::string> all = {"cadhost", "--load", module, "--support", dist, "--registry", registry};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<const char*> argv;
        for (const std::string& a : all) argv.push_back(a.c_str());
        DrivenDesktop::started = [this](GuiSource& source) { steps.follow(source); };
        const int status = cadhost::HostProgram(&DrivenDesktop::make).run(static_cast<int>(argv.size()), argv.data());
        DrivenDesktop::started = {};
        steps.release();
        if (Session::instance().failed()) failure = Session::instance().failure();
        return status;
    }

    DrivenDesktop& desktop() { return *DrivenDesktop::current; }
    MainWindow& window() { return *desktop().window(); }
    DrawingView& view() { return *desktop().view(); }

    // A left click in the drawing view at the pixel nearest the drawing point
    // (x, y), object snaps off; answers the drawing point that pixel stands for.
    std::pair<double, double> clickAt(double x, double y) {
        // The point itself, not an object snap near it (F3 turns them off).
        QAction* snap = window().findChild<QAction*>("objectSnap");
        EXPECT_NE(snap, nullptr);
        if (snap != nullptr && snap->isChecked()) snap->trigger();
        const QPoint pixel = view().worldToPixel(x, y).toPoint();
        const QPointF world = view().pixelToWorld(QPointF(pixel));
        EXPECT_NEAR(world.x(), x, 1.0 / view().mapping().pixelsPerUnit);
        EXPECT_NEAR(world.y(), y, 1.0 / view().mapping().pixelsPerUnit);
        QTest::mouseClick(&view(), Qt::LeftButton, {}, pixel);
        return {world.x(), world.y()};
    }

    void clickToolbar(const char* command) {
        QAction* action = window().hostToolbar()->findChild<QAction*>(command);
        ASSERT_NE(action, nullptr) << "no toolbar button " << command;
        QTest::mouseClick(window().hostToolbar()->widgetForAction(action), Qt::LeftButton);
    }

    // The widget of a control of the dialog that takes the person's actions,
    // by id or caption (UTF-8).
    template <class W>
    W* control(const session::ControlRef& ref) {
        std::string why;
        const HWND h = ui::findControl(ui::activeDialog(), ref, why);
        EXPECT_NE(h, nullptr) << why;
        auto* w = qobject_cast<W*>(h ? desktop().dialogs()->control(h) : nullptr);
        EXPECT_NE(w, nullptr) << "no widget for " << ref.describe();
        return w;
    }
    template <class W>
    W* control(int id) {
        return control<W>(session::ControlRef{id, {}});
    }
    template <class W>
    W* control(const char* captionUtf8) {
        return control<W>(session::ControlRef{std::nullopt, utf8ToCp1251(captionUtf8)});
    }
    QWidget* dialogWindow() {
        const HWND dialog = ui::activeDialog();
        return dialog ? desktop().dialogs()->window(dialog) : nullptr;
    }

    // Keys with the text they type; QTest::keyClicks types Latin-1 alone.
    static void typeInto(QWidget* w, const QString& text) {
        for (const QChar c : text) QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }

    static bool waitsFor(Waiter w) { return Session::instance().waiter() == w; }

    // Clicks `button` of the host's message box, which asks `question`.
    void answerQuestion(const char* question, QMessageBox::StandardButton button) {
        ASSERT_TRUE(waitsFor(Waiter::MessageBox)) << steps.prompt();
        QMessageBox* box = desktop().dialogs()->messageBox();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text().toStdString(), question);
        QTest::mouseClick(box->button(button), Qt::LeftButton);
    }

    kestrin::fs::testing::TempFolder folder;
    const std::string module = KESTRIN_PLUGIN_MODULE;
    const std::string dist = fs::parentPath(KESTRIN_PLUGIN_MODULE);
    const std::string drawing = KESTRIN_SOURCE_DIR "/tests/sessions/palette/moved-texts.dxf";
    StepQueue steps;
    std::string failure;
};

// A title written with the palette and a text of the drawing edited, all by
// mouse and keys; the saved drawing is the one the same actions as a script
// give without windows, and the record of the run replays to it too.
TEST_F(DesktopSessionTest, ThePersonsClicksAndKeysMakeTheDrawingTheirScriptMakes) {
    std::pair<double, double> first, stepFrom, stepTo, picked;
    int presses = 0;
    steps.add("CKestrin from the toolbar", [&] {
        ASSERT_TRUE(waitsFor(Waiter::CommandLine));
        clickToolbar("CKestrin");
    });
    steps.add("the insertion point clicked in the view", [&] {
        ASSERT_TRUE(waitsFor(Waiter::HostInput)) << steps.prompt();
        EXPECT_NE(steps.prompt().find("Выберите точку вставки"), std::string::npos) << steps.prompt();
        first = clickAt(10, 60);
    });
    steps.add("the style list opened by a click", [&] {
        ASSERT_TRUE(waitsFor(Waiter::Dialog));
        ASSERT_NE(dialogWindow(), nullptr);
        EXPECT_TRUE(dialogWindow()->isVisible()) << "the palette shows";
        auto* style = control<QComboBox>("Стиль");
        ASSERT_NE(style, nullptr);
        // The style can be typed: the list opens at the arrow, at the right end.
        QStyleOptionComboBox option;
        option.initFrom(style);
        option.editable = true;
        const QRect arrow =
            style->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, style);
        QTest::mouseClick(style, Qt::LeftButton, {}, arrow.center());
    });
    steps.add("Standard clicked in the style list", [&] {
        auto* style = control<QComboBox>("Стиль");
        ASSERT_NE(style, nullptr);
        QAbstractItemView* list = style->view();
        ASSERT_TRUE(list->isVisible()) << "the click opened the list";
        const int at = style->findText("Standard");
        ASSERT_GE(at, 0);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(at, 0)).center());
    });
    steps.add("the height stepped to 7 by arrow keys", [&] {
        auto* style = control<QComboBox>("Стиль");
        ASSERT_NE(style, nullptr);
        EXPECT_EQ(style->currentText(), "Standard");
        auto* height = control<QComboBox>("Высота букв");
        ASSERT_NE(height, nullptr);
        const int target = height->findText("7");
        ASSERT_GE(target, 0);
        if (height->currentIndex() == target) return;
        ASSERT_LE(++presses, height->count()) << "the list does not follow the arrow keys";
        QWidget* keys = height->lineEdit() ? static_cast<QWidget*>(height->lineEdit()) : height;
        QTest::keyClick(keys, height->currentIndex() < target ? Qt::Key_Down : Qt::Key_Up);
        steps.again();
    });
    steps.add("the first line typed", [&] {
        EXPECT_EQ(control<QComboBox>("Высота букв")->currentText(), "7");
        typeInto(control<QPlainTextEdit>(8019), "ЧЕРТЁЖ ОБЩЕГО ВИДА");
    });
    // The step to the next line from two points clicked while the palette
    // hides; Enter then starts the next line that far away without asking.
    // (Each run sets the step: the plug-in stays in the process between runs,
    // with what it learnt.)
    steps.add("the line step's button", [&] {
        auto* line = control<QPlainTextEdit>(8019);
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(line->toPlainText(), "ЧЕРТЁЖ ОБЩЕГО ВИДА") << "the field shows what the model holds";
        QTest::mouseClick(control<QPushButton>("Установка смещения для строки"), Qt::LeftButton);
    });
    steps.add("the step's first point clicked", [&] {
        ASSERT_TRUE(waitsFor(Waiter::HostInput)) << steps.prompt();
        stepFrom = clickAt(0, 0);
    });
    steps.add("the step's second point clicked", [&] {
        ASSERT_TRUE(waitsFor(Waiter::HostInput)) << steps.prompt();
        stepTo = clickAt(0, -10);
    });
    steps.add("Enter for a second line", [&] {
        ASSERT_TRUE(waitsFor(Waiter::Dialog));
        QTest::keyClick(control<QPlainTextEdit>(8019), Qt::Key_Return);
    });
    steps.add("the second line typed", [&] {
        auto* line = control<QPlainTextEdit>(8019);
        ASSERT_NE(line, nullptr);
        EXPECT_TRUE(dialogWindow()->isVisible()) << "the palette is back";
        EXPECT_EQ(line->toPlainText(), "") << "the new line is empty";
        typeInto(line, "Масштаб 1:100");
    });
    steps.add("Выход", [&] { QTest::mouseClick(control<QPushButton>("Выход"), Qt::LeftButton); });
    steps.add("EKestrin from the toolbar", [&] {
        ASSERT_TRUE(waitsFor(Waiter::CommandLine));
        clickToolbar("EKestrin");
    });
    steps.add("the text picked in the view", [&] {
        ASSERT_TRUE(waitsFor(Waiter::HostInput)) << steps.prompt();
        picked = clickAt(11, 21);
    });
    steps.add("End in the edit dialog's field", [&] {
        ASSERT_TRUE(waitsFor(Waiter::Dialog));
        auto* text = control<QLineEdit>(8000);
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->text(), "Перенос");
        QTest::keyClick(text, Qt::Key_End);
    });
    steps.add("the change typed", [&] { typeInto(control<QLineEdit>(8000), " изм."); });
    steps.add("OK", [&] {
        EXPECT_EQ(control<QLineEdit>(8000)->text(), "Перенос изм.");
        QTest::mouseClick(control<QPushButton>("OK"), Qt::LeftButton);
    });
    steps.add("Escape at the next pick", [&] {
        ASSERT_TRUE(waitsFor(Waiter::HostInput)) << steps.prompt();
        QTest::keyClick(window().commandInput(), Qt::Key_Escape);
    });
    steps.add("the main window closed", [&] {
        ASSERT_TRUE(waitsFor(Waiter::CommandLine));
        window().close();
    });
    steps.add("the changes saved", [&] { answerQuestion("Save changes to gui.dxf?", QMessageBox::Yes); });

    const std::string gui = folder / "gui.dxf", record = folder / "record.ks";
    ASSERT_EQ(runHost({"--gui", "--open", drawing, "--record", record, "--save", gui}), 0) << failure;
    EXPECT_TRUE(steps.done()) << "stopped after " << steps.current();

    // The same actions, written as a person would script them.
    const std::string script = "command CKestrin\n"
                               "point " + number(first.first) + "," + number(first.second) + "\n"
                               "choose \"Стиль\" \"Standard\"\n"
                               "choose \"Высота букв\" \"7\"\n"
                               "type \"ЧЕРТЁЖ ОБЩЕГО ВИДА\"\n"
                               "click \"Установка смещения для строки\"\n"
                               "point " + number(stepFrom.first) + "," + number(stepFrom.second) + "\n"
                               "point " + number(stepTo.first) + "," + number(stepTo.second) + "\n"
                               "key enter\n"
                               "type \"Масштаб 1:100\"\n"
                               "click \"Выход\"\n"
                               "command EKestrin\n"
                               "pick at " + number(picked.first) + "," + number(picked.second) + "\n"
                               "key end\n"
                               "type \" изм.\"\n"
                               "click \"OK\"\n"
                               "escape\n";
    ASSERT_TRUE(fs::FileSystem::current().writeFile(folder / "same.ks", script));
    const std::string scripted = folder / "scripted.dxf", replayed = folder / "replayed.dxf";
    ASSERT_EQ(runHost({"--open", drawing, "--save", scripted, folder / "same.ks"}), 0) << failure;
    ASSERT_EQ(runHost({"--open", drawing, "--save", replayed, record}), 0) << failure;

    const std::string made = readBytes(gui);
    ASSERT_FALSE(made.empty());
    EXPECT_NE(made.find(utf8ToCp1251("ЧЕРТЁЖ ОБЩЕГО ВИДА")), std::string::npos);
    EXPECT_NE(made.find(utf8ToCp1251("Масштаб 1:100")), std::string::npos);
    EXPECT_NE(made.find(utf8ToCp1251("Перенос изм.")), std::string::npos);
    EXPECT_TRUE(made == readBytes(scripted)) << "the window's drawing differs from the script's";
    EXPECT_TRUE(made == readBytes(replayed)) << "the record does not replay to the window's drawing";
}

// While the palette asks for the two points of the line step, its window is
// hidden: the person clicks in the drawing. It shows again with the step.
TEST_F(DesktopSessionTest, ThePaletteHidesWhileTheHostAsksForTheStepsPoints) {
    QWidget* palette = nullptr;
    std::vector<bool> shownAtPoints;
    std::pair<double, double> from, to;
    steps.add("CKestrin typed at the command line", [&] {
        QTest::keyClicks(window().commandInput(), "CKestrin");
        QTest::keyClick(window().commandInput(), Qt::Key_Return);
    });
    steps.add("the insertion point typed", [&] {
        ASSERT_TRUE(waitsFor(Waiter::HostInput));
        QTest::keyClicks(window().commandInput(), "0,0");
        QTest::keyClick(window().commandInput(), Qt::Key_Return);
    });
    steps.add("the step's button", [&] {
        ASSERT_TRUE(waitsFor(Waiter::Dialog));
        palette = dialogWindow();
        ASSERT_NE(palette, nullptr);
        EXPECT_TRUE(palette->isVisible());
        QTest::mouseClick(control<QPushButton>("Установка смещения для строки"), Qt::LeftButton);
    });
    steps.add("the step's first point", [&] {
        ASSERT_TRUE(waitsFor(Waiter::HostInput)) << steps.prompt();
        shownAtPoints.push_back(palette->isVisible());
        from = clickAt(0, 0);
    });
    steps.add("the step's second point", [&] {
        ASSERT_TRUE(waitsFor(Waiter::HostInput)) << steps.prompt();
        shownAtPoints.push_back(palette->isVisible());
        to = clickAt(0, -10);
    });
    steps.add("the palette back, left", [&] {
        ASSERT_TRUE(waitsFor(Waiter::Dialog));
        EXPECT_EQ(dialogWindow(), palette);
        EXPECT_TRUE(palette->isVisible()) << "the palette shows again";
        // The step the model learnt while the window was hidden, shown.
        std::string why;
        const HWND stepY = ui::findControl(ui::activeDialog(), {std::nullopt, utf8ToCp1251("Смещение по Y")}, why);
        ASSERT_NE(stepY, nullptr) << why;
        const std::string learnt = ui::windowOf(stepY)->text;
        EXPECT_NEAR(std::stod(learnt), to.second - from.second, 1e-3);
        auto* field = qobject_cast<QLineEdit*>(desktop().dialogs()->control(stepY));
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->text().toStdString(), learnt);
        QTest::mouseClick(control<QPushButton>("Выход"), Qt::LeftButton);
    });
    steps.add("the main window closed", [&] { window().close(); });
    steps.add("the changes dropped", [&] { answerQuestion("Save changes to Drawing1?", QMessageBox::No); });

    ASSERT_EQ(runHost({"--gui"}), 0) << failure;
    EXPECT_TRUE(steps.done()) << "stopped after " << steps.current();
    EXPECT_EQ(shownAtPoints, (std::vector<bool>{false, false}));
}

}  // namespace
}  // namespace kestrin::gui
