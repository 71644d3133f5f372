#include "gui/DialogWindows.h"
#include "platform/clipboard/Clipboard.h"
#include <QScreen>

#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <deque>
#include <functional>

#include "base/Cp1251.h"
#include "gui/DialogWindow.h"
#include "gui/GuiSource.h"
#include "platform/ui/Framework.h"
#include "platform/ui/SessionBinding.h"
#include "tests/gui/GuiTest.h"
#include "tests/setup/SetupTestSupport.h"
#include "tests/support/SessionFixture.h"

// Fontconfig keeps its configuration to the end of the process on purpose;
// the leak checker of the sanitizer build is told so (for every GUI test).
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace kestrin::gui {
namespace {

using namespace kestrin::literals;
using session::Action;
using session::ActionKind;

enum : int {
    kDialog = 500,
    kName = 5001,
    kEnabled = 5002,
    kKind = 5003,
    kEntries = 5004,
    kGreek = 5005,
    kCount = 5006,
    kAsk = 5007,
    kHide = 5008,
    kPicture = 5009,
    kLeft = 5010,
    kRight = 5011,
    kProgress = 5012,
    kNote = 5013,
    kFrame = 5014,
    kLines = 5015,
    kPictureButton = 5016,
    kBitmapResource = 78,
    kIconResource = 77,
    kAboutCommand = 16,
};

const ui::ResourceTable& resources() {
    static const ui::ResourceTable table{
        .dialogs = {ui::DialogTemplate{
            .id = kDialog,
            .caption = "Параметры"_cp,
            .width = 220,
            .height = 130,
            .controls = {
                ui::editText(kName, {5, 5, 100, 12}, ES_AUTOHSCROLL | WS_TABSTOP),
                ui::autoCheckBox(kEnabled, "Включено"_cp, {5, 20, 60, 10}, WS_TABSTOP),
                ui::comboBox(kKind, {110, 5, 60, 60}, CBS_DROPDOWN | CBS_SORT | WS_TABSTOP),
                ui::listBox(kEntries, {5, 35, 60, 40}, LBS_NOTIFY),
                ui::pushButton(kGreek, "abgW", {70, 35, 30, 12}),
                ui::pushButton(kCount, "Счёт"_cp, {105, 35, 30, 12}),
                ui::pushButton(kAsk, "Спросить"_cp, {140, 35, 40, 12}),
                ui::pushButton(kHide, "Точка"_cp, {140, 50, 40, 12}),
                ui::iconStatic(kPicture, kIconResource, {70, 55, 20, 20}),
                ui::groupBox(kFrame, "Сторона"_cp, {100, 70, 80, 25}),
                ui::autoRadioButton(kLeft, "Слева"_cp, {105, 80, 35, 10}, WS_GROUP),
                ui::autoRadioButton(kRight, "Справа"_cp, {140, 80, 35, 10}),
                ui::progressBar(kProgress, {5, 100, 100, 8}),
                ui::leftText(kNote, "&Заметка"_cp, {5, 85, 60, 8}),
                ui::editText(kLines, {5, 112, 100, 14}, ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL),
                ui::bitmapButton(kPictureButton, {185, 35, 20, 20}),
                ui::defPushButton(IDOK, "OK", {120, 110, 40, 14}),
                ui::pushButton(IDCANCEL, "Отмена"_cp, {170, 110, 40, 14}),
            }}},
        .bitmaps = {ui::imageFromArt(kBitmapResource, {"#..", "..#"}, {{'#', RGB(255, 0, 0)}, {'.', RGB(0, 128, 0)}})},
        .icons = {ui::imageFromArt(kIconResource, {"#.", ".#"}, {{'#', RGB(0, 0, 255)}, {'.', RGB(255, 255, 255)}})},
    };
    return table;
}

class TestDialog : public CDialog {
public:
    TestDialog() : CDialog(kDialog) {}

    std::vector<std::string> log;
    std::function<void()> whileHidden;
    CFont symbolFont;
    CToolTipCtrl tips;
    CBitmap picture;

    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        SetDlgItemText(kName, "start");
        CheckDlgButton(kEnabled, BST_CHECKED);
        auto* kind = static_cast<CComboBox*>(GetDlgItem(kKind));
        for (const char* e : {"Линия"_cp, "Дуга"_cp, "Круг"_cp}) kind->AddString(e);
        auto* entries = static_cast<CListBox*>(GetDlgItem(kEntries));
        for (const char* e : {"один"_cp, "два"_cp, "три"_cp}) entries->AddString(e);
        entries->SetCurSel(1);
        static_cast<CProgressCtrl*>(GetDlgItem(kProgress))->SetPos(40);
        LOGFONT lf;
        GetFont()->GetLogFont(&lf);
        std::fill(std::begin(lf.lfFaceName), std::end(lf.lfFaceName), '\0');
        std::string("Symbol").copy(lf.lfFaceName, LF_FACESIZE - 1);
        symbolFont.CreateFontIndirect(&lf);
        GetDlgItem(kGreek)->SetFont(&symbolFont);
        picture.LoadBitmap(kBitmapResource);
        static_cast<CButton*>(GetDlgItem(kPictureButton))->SetBitmap(picture);
        tips.Create(this);
        tips.AddTool(GetDlgItem(kCount), "Считает нажатия"_cp);
        GetSystemMenu(FALSE)->AppendMenu(MF_STRING, kAboutCommand, "О программе..."_cp);
        log.clear();  // what the person's actions cause, from here on
        return TRUE;
    }
    void OnCancel() override {
        log.push_back("cancel");
        CDialog::OnCancel();
    }
    void OnClose() override {
        log.push_back("close");
        CDialog::OnClose();
    }
    void OnSysCommand(UINT id, LPARAM lParam) override {
        if (id == kAboutCommand) log.push_back("about");
        else CDialog::OnSysCommand(id, lParam);
    }
    void OnCount() {
        log.push_back("count");
        GetDlgItem(kAsk)->EnableWindow(FALSE);
        GetDlgItem(kHide)->ShowWindow(SW_HIDE);
    }
    void OnName() {
        std::string text;
        GetDlgItemText(kName, text);
        log.push_back("name " + cp1251ToUtf8(text));
    }
    void OnKind() {
        auto* kind = static_cast<CComboBox*>(GetDlgItem(kKind));
        std::string entry;
        kind->GetLBText(kind->GetCurSel(), entry);
        log.push_back("kind " + cp1251ToUtf8(entry));
    }
    void OnEntryOpen() {
        std::string entry;
        auto* entries = static_cast<CListBox*>(GetDlgItem(kEntries));
        entries->GetText(entries->GetCurSel(), entry);
        log.push_back("open " + cp1251ToUtf8(entry));
    }
    void OnAsk() {
        const int answer = AfxMessageBox("Продолжить?"_cp, MB_YESNO | MB_ICONQUESTION);
        log.push_back(answer == IDYES ? "yes" : "not yes");
    }
    void OnHide() {
        ShowWindow(SW_HIDE);
        if (whileHidden) whileHidden();
        ShowWindow(SW_SHOW);
    }

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestDialog, CDialog)
    ON_BN_CLICKED(kCount, OnCount)
    ON_BN_CLICKED(kAsk, OnAsk)
    ON_BN_CLICKED(kHide, OnHide)
    ON_EN_CHANGE(kName, OnName)
    ON_CBN_SELCHANGE(kKind, OnKind)
    ON_LBN_DBLCLK(kEntries, OnEntryOpen)
    ON_WM_SYSCOMMAND()
    ON_WM_CLOSE()
END_MESSAGE_MAP()

// The dialog runs modally over a GuiSource as in the desktop program; the
// test's steps play the person, one step each time the model waits for the
// person's next action.
class DialogWindowsTest : public kestrin::test::FreshSession {
protected:
    void SetUp() override {
        test::startApplication();
        ui::attachToSession();
        ui::registerModuleResources(module_, &resources());
        ui::setApplicationInstance(module_);
        session::Session::instance().setSource(&source_);
        waiting_ = source_.waiting.connectScoped([this](const std::string&) {
            windows_.refresh();
            if (scheduled_) return;
            scheduled_ = true;
            QTimer::singleShot(0, [this] { nextStep(); });
        });
    }
    void TearDown() override {
        FreshSession::TearDown();
        session::Session::instance().setSource(nullptr);
        ui::setApplicationInstance(nullptr);
        ui::unregisterModuleResources(module_);
        ui::detachFromSession();
    }

    // Runs the dialog with the steps; the input ends after the last one.
    INT_PTR run(TestDialog& dialog, std::vector<std::function<void()>> steps) {
        steps_.assign(steps.begin(), steps.end());
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [this] {
            ADD_FAILURE() << "the dialog still ran after 10 s";
            steps_.clear();
            source_.finish();
        });
        guard.start(10000);
        dialog_ = &dialog;
        const INT_PTR result = dialog.DoModal();
        dialog_ = nullptr;
        EXPECT_TRUE(steps_.empty()) << steps_.size() << " steps were not reached";
        return result;
    }

    HWND handle() const { return dialog_->m_hWnd; }
    template <class W>
    W* widget(int id) const {
        QWidget* w = windows_.control(dialog_->GetDlgItem(id)->m_hWnd);
        EXPECT_NE(w, nullptr) << "no widget for control " << id;
        auto* typed = qobject_cast<W*>(w);
        EXPECT_NE(typed, nullptr) << "control " << id << " is a " << (w ? w->metaObject()->className() : "nothing");
        return typed;
    }
    QWidget* window() const { return windows_.window(handle()); }
    const ui::Window& model(int id) const { return ui::windowRef(dialog_->GetDlgItem(id)->m_hWnd); }
    QMessageBox* windowsBox() const { return windows_.messageBox(); }
    DialogWindows& dialogWindows() { return windows_; }

    std::vector<Action> posted;

    // Keys with text beyond ASCII, as a keyboard layout gives them.
    static void typeInto(QWidget* w, const QString& text) {
        for (const QChar c : text) QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }

private:
    void nextStep() {
        scheduled_ = false;
        while (!steps_.empty()) {
            const std::size_t before = posted.size();
            const auto step = steps_.front();
            steps_.pop_front();
            step();
            if (posted.size() != before) return;  // the model answers before the next step
        }
        source_.finish();
    }

    HINSTANCE module_ = reinterpret_cast<HINSTANCE>(0x70000);
    GuiSource source_;
    DialogWindows windows_{[this](Action a) {
        posted.push_back(a);
        source_.post(std::move(a));
    }};
    ScopedConnection waiting_;
    std::deque<std::function<void()>> steps_;
    bool scheduled_ = false;
    TestDialog* dialog_ = nullptr;
};

TEST_F(DialogWindowsTest, TheWindowShowsEveryControlWithTheModelsState) {
    TestDialog dialog;
    const INT_PTR result = run(dialog, {[&] {
        ASSERT_NE(window(), nullptr);
        EXPECT_TRUE(window()->isVisible());
        EXPECT_EQ(window()->windowTitle(), QString("Параметры"));
        EXPECT_EQ(window()->size(), QSize(220 * 6 / 4, 130 * 13 / 8));

        auto* name = widget<QLineEdit>(kName);
        EXPECT_EQ(name->text(), QString("start"));
        EXPECT_EQ(name->geometry(), QRect(7, 8, 150, 19)) << "the model's pixels of {5, 5, 100, 12}";
        EXPECT_TRUE(widget<QCheckBox>(kEnabled)->isChecked());
        EXPECT_EQ(widget<QCheckBox>(kEnabled)->text(), QString("Включено"));

        auto* kind = widget<QComboBox>(kKind);
        ASSERT_EQ(kind->count(), 3);
        EXPECT_EQ(kind->itemText(0), QString("Дуга")) << "sorted as the model sorts";
        EXPECT_EQ(kind->currentIndex(), -1);
        auto* entries = widget<QListWidget>(kEntries);
        ASSERT_EQ(entries->count(), 3);
        EXPECT_EQ(entries->currentRow(), 1);
        EXPECT_EQ(entries->item(1)->text(), QString("два"));

        EXPECT_EQ(window()->font().pixelSize(), 11) << "the template's 8-point font";
        EXPECT_EQ(widget<QPushButton>(kGreek)->text(), QString("αβγΩ")) << "the Symbol face shows Greek letters";
        EXPECT_EQ(widget<QPushButton>(kGreek)->font().family(), window()->font().family());
        EXPECT_EQ(widget<QPushButton>(kCount)->toolTip(), QString("Считает нажатия"));
        EXPECT_TRUE(widget<QPushButton>(IDOK)->isDefault());
        EXPECT_FALSE(widget<QPushButton>(IDCANCEL)->isDefault());
        EXPECT_EQ(widget<QGroupBox>(kFrame)->title(), QString("Сторона"));
        EXPECT_FALSE(widget<QRadioButton>(kLeft)->isChecked());
        EXPECT_EQ(widget<QProgressBar>(kProgress)->value(), 40);
        EXPECT_EQ(widget<QLabel>(kNote)->text(), QString("Заметка"));

        const QImage picture = widget<QLabel>(kPicture)->pixmap().toImage();
        ASSERT_EQ(picture.size(), QSize(2, 2));
        EXPECT_EQ(QColor(picture.pixel(0, 0)), QColor(0, 0, 255));
        EXPECT_EQ(QColor(picture.pixel(1, 0)), QColor(255, 255, 255));
        auto* pictureButton = widget<QPushButton>(kPictureButton);
        ASSERT_EQ(pictureButton->iconSize(), QSize(3, 2));
        const QImage bitmap = pictureButton->icon().pixmap(QSize(3, 2)).toImage();
        EXPECT_EQ(QColor(bitmap.pixel(0, 0)), QColor(255, 0, 0));
        EXPECT_EQ(QColor(bitmap.pixel(1, 0)), QColor(0, 128, 0));
        EXPECT_EQ(QColor(bitmap.pixel(2, 1)), QColor(255, 0, 0));
        QTest::mouseClick(widget<QPushButton>(IDCANCEL), Qt::LeftButton);
    }});
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_FALSE(failed()) << failure();
}

TEST_F(DialogWindowsTest, ADialogOfItsOwnShowsAtTheTopRightOfTheDrawingAndStaysAboveItsWindow) {
    QWidget host;
    host.setGeometry(100, 100, 800, 600);
    host.show();
    dialogWindows().setArea(&host);
    TestDialog dialog;
    run(dialog, {[&] {
        ASSERT_NE(window(), nullptr);
        EXPECT_TRUE(window()->isWindow());
        EXPECT_EQ(window()->parentWidget(), &host) << "kept above the host's window";
        const QPoint corner = host.mapToGlobal(QPoint(host.width(), 0));
        EXPECT_EQ(window()->pos(), corner + QPoint(-window()->width() - 12, 12));
        QTest::mouseClick(widget<QPushButton>(IDCANCEL), Qt::LeftButton);
    }});
    EXPECT_FALSE(failed()) << failure();
}

TEST_F(DialogWindowsTest, ClicksRunTheModelsHandlersAndTheWidgetsFollowTheModel) {
    TestDialog dialog;
    const INT_PTR result = run(dialog,
                               {[&] { QTest::mouseClick(widget<QPushButton>(kCount), Qt::LeftButton); },
                                [&] {
                                    EXPECT_EQ(dialog.log, std::vector<std::string>{"count"});
                                    EXPECT_FALSE(widget<QPushButton>(kAsk)->isEnabled());
                                    EXPECT_TRUE(widget<QPushButton>(kHide)->isHidden());
                                    EXPECT_TRUE(widget<QPushButton>(kCount)->isEnabled());
                                    QTest::mouseClick(widget<QCheckBox>(kEnabled), Qt::LeftButton);
                                    EXPECT_TRUE(widget<QCheckBox>(kEnabled)->isChecked())
                                        << "the check box waits for the model";
                                },
                                [&] {
                                    EXPECT_EQ(model(kEnabled).button().check, 0);
                                    EXPECT_FALSE(widget<QCheckBox>(kEnabled)->isChecked());
                                    QTest::mouseClick(widget<QRadioButton>(kRight), Qt::LeftButton);
                                },
                                [&] {
                                    EXPECT_TRUE(widget<QRadioButton>(kRight)->isChecked());
                                    QTest::mouseClick(widget<QPushButton>(IDCANCEL), Qt::LeftButton);
                                }});
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"count", "cancel"}));
    ASSERT_GE(posted.size(), 1u);
    EXPECT_EQ(posted[0].kind, ActionKind::Click);
    EXPECT_EQ(posted[0].control.id, kCount);
    EXPECT_FALSE(failed()) << failure();
}

TEST_F(DialogWindowsTest, TypedKeysChangeTheModelsTextAndTheFieldShowsIt) {
    TestDialog dialog;
    run(dialog, {[&] {
                     auto* name = widget<QLineEdit>(kName);
                     EXPECT_EQ(name->selectedText(), QString("start")) << "the first tab stop has all its text selected";
                     typeInto(name, "Дом");
                     EXPECT_EQ(name->text(), QString("start")) << "the field does not change itself";
                 },
                 [&] {
                     EXPECT_EQ(model(kName).text, "Дом"_cp);
                     EXPECT_EQ(widget<QLineEdit>(kName)->text(), QString("Дом"));
                     EXPECT_EQ(widget<QLineEdit>(kName)->cursorPosition(), 3);
                     QTest::keyClick(widget<QLineEdit>(kName), Qt::Key_Home);
                 },
                 [&] {
                     EXPECT_EQ(model(kName).edit().caret, 0);
                     EXPECT_EQ(widget<QLineEdit>(kName)->cursorPosition(), 0);
                     QTest::keyClick(widget<QLineEdit>(kName), Qt::Key_Delete);
                 },
                 [&] {
                     EXPECT_EQ(widget<QLineEdit>(kName)->text(), QString("ом"));
                     // A caret placed by the mouse reaches the model before the next key.
                     widget<QLineEdit>(kName)->setCursorPosition(2);
                     QTest::keyClicks(widget<QLineEdit>(kName), "!");
                 },
                 [&] {
                     EXPECT_EQ(model(kName).text, "ом!"_cp);
                     QTest::keyClick(widget<QLineEdit>(kName), Qt::Key_Escape);
                 }});
    std::vector<std::string> names;
    for (const auto& l : dialog.log)
        if (l.rfind("name", 0) == 0) names.push_back(l);
    EXPECT_EQ(names, (std::vector<std::string>{"name Д", "name До", "name Дом", "name ом", "name ом!"}));
    EXPECT_EQ(dialog.log.back(), "cancel");
    ASSERT_FALSE(posted.empty());
    EXPECT_EQ(posted[0].kind, ActionKind::Type);
    EXPECT_EQ(posted[0].text, "Д"_cp);
    EXPECT_FALSE(failed()) << failure();
}

TEST_F(DialogWindowsTest, ALabelOrACheckBoxTooNarrowForItsTextInThisFontGrowsWithinTheDialog) {
    TestDialog dialog;
    run(dialog, {[&] {
        const int fitted = widget<QCheckBox>(kEnabled)->width();
        dialog.SetDlgItemText(kEnabled, "Динамически, и гораздо длиннее"_cp);
        dialog.SetDlgItemText(kNote, "zor-soft@example.com"_cp);
        auto* box = widget<QCheckBox>(kEnabled);
        EXPECT_GE(box->width(), box->sizeHint().width()) << "the whole caption shows";
        EXPECT_LE(box->geometry().right(), window()->width());
        auto* note = widget<QLabel>(kNote);
        EXPECT_FALSE(note->wordWrap()) << "one line high: not broken at the hyphen";
        EXPECT_GE(note->width(), note->fontMetrics().horizontalAdvance(note->text()));
        EXPECT_GT(box->width(), fitted);
        dialog.SetDlgItemText(kEnabled, "Вкл"_cp);
        EXPECT_EQ(box->width(), fitted) << "a short caption: the template's rectangle again";
        QTest::keyClick(window(), Qt::Key_Escape);
    }});
    EXPECT_FALSE(failed()) << failure();
}

TEST_F(DialogWindowsTest, CtrlKeysInAFieldAreTheModelsSelectAllClipboardAndUndo) {
    TestDialog dialog;
    clipboard::setText("paste");
    run(dialog, {[&] {
                     typeInto(widget<QLineEdit>(kName), "abc");
                 },
                 [&] { QTest::keyClick(widget<QLineEdit>(kName), Qt::Key_A, Qt::ControlModifier); },
                 [&] {
                     EXPECT_EQ(widget<QLineEdit>(kName)->selectedText(), QString("abc")) << "the model's selection shown";
                     QTest::keyClick(widget<QLineEdit>(kName), Qt::Key_X, Qt::ControlModifier);
                 },
                 [&] {
                     EXPECT_EQ(model(kName).text, "");
                     EXPECT_EQ(clipboard::text(), std::optional<std::string>("abc")) << "the model's clipboard";
                     QTest::keyClick(widget<QLineEdit>(kName), Qt::Key_Z, Qt::ControlModifier);
                 },
                 [&] {
                     EXPECT_EQ(model(kName).text, "abc");
                     QTest::keyClick(widget<QLineEdit>(kName), Qt::Key_End);
                 },
                 [&] { QTest::keyClick(widget<QLineEdit>(kName), Qt::Key_V, Qt::ControlModifier); },
                 [&] {
                     EXPECT_EQ(widget<QLineEdit>(kName)->text(), QString("abcabc"));
                     QTest::keyClick(widget<QLineEdit>(kName), Qt::Key_Escape);
                 }});
    std::vector<std::string> keys;
    for (const auto& a : posted)
        if (a.kind == ActionKind::Key) keys.push_back(a.key);
    EXPECT_EQ(keys, (std::vector<std::string>{"ctrl+a", "ctrl+x", "ctrl+z", "end", "ctrl+v", "escape"}));
    EXPECT_FALSE(failed()) << failure();
}

TEST_F(DialogWindowsTest, AClickInAFieldPlacesTheModelsCaretThere) {
    TestDialog dialog;
    run(dialog, {[&] {
                     auto* name = widget<QLineEdit>(kName);
                     QTest::mouseClick(name, Qt::LeftButton, {}, QPoint(name->width() - 3, name->height() / 2));
                 },
                 [&] {
                     EXPECT_EQ(model(kName).edit().anchor, 5);
                     EXPECT_EQ(model(kName).edit().caret, 5);
                     EXPECT_FALSE(widget<QLineEdit>(kName)->hasSelectedText());
                     QTest::mouseClick(widget<QPushButton>(IDCANCEL), Qt::LeftButton);
                 }});
    ASSERT_FALSE(posted.empty());
    EXPECT_EQ(posted[0].kind, ActionKind::Select);
    EXPECT_EQ(posted[0].control.id, kName);
    EXPECT_EQ(posted[0].first, 5);
    EXPECT_EQ(posted[0].last, 5);
    EXPECT_FALSE(failed()) << failure();
}

TEST_F(DialogWindowsTest, AMultiLineFieldShowsLinesAndTypesWhereItsCaretIs) {
    TestDialog dialog;
    auto lines = [&] { return widget<QPlainTextEdit>(kLines); };
    auto placeCaret = [&](int position) {
        QTextCursor cursor = lines()->textCursor();
        cursor.setPosition(position);
        lines()->setTextCursor(cursor);
    };
    run(dialog, {[&] {
                     QTest::mouseClick(lines()->viewport(), Qt::LeftButton, {}, QPoint(3, 3));
                     typeInto(lines(), "ab");
                     QTest::keyClick(lines(), Qt::Key_Return);
                     typeInto(lines(), "c");
                 },
                 [&] {
                     EXPECT_EQ(model(kLines).text, "ab\r\nc");
                     EXPECT_EQ(lines()->toPlainText(), QString("ab\nc"));
                     EXPECT_EQ(lines()->textCursor().position(), 4);
                     placeCaret(1);
                     typeInto(lines(), "x");
                 },
                 [&] {
                     EXPECT_EQ(model(kLines).text, "axb\r\nc");
                     placeCaret(4);  // before "c" on the second line
                     typeInto(lines(), "y");
                 },
                 [&] {
                     EXPECT_EQ(model(kLines).text, "axb\r\nyc");
                     EXPECT_EQ(model(kLines).edit().caret, 6);
                     EXPECT_EQ(lines()->textCursor().position(), 5);
                     QTest::mouseClick(widget<QPushButton>(IDCANCEL), Qt::LeftButton);
                 }});
    EXPECT_FALSE(failed()) << failure();
}

TEST_F(DialogWindowsTest, ChoosingEntriesOfComboAndListBoxes) {
    TestDialog dialog;
    run(dialog, {[&] {
                     auto* kind = widget<QComboBox>(kKind);
                     kind->showPopup();
                     QAbstractItemView* view = kind->view();
                     const QRect item = view->visualRect(view->model()->index(2, 0));
                     QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
                 },
                 [&] {
                     EXPECT_EQ(model(kKind).text, "Линия"_cp);
                     EXPECT_EQ(widget<QComboBox>(kKind)->currentText(), QString("Линия"));
                     QTest::keyClick(widget<QComboBox>(kKind)->lineEdit(), Qt::Key_Up);
                 },
                 [&] {
                     EXPECT_EQ(widget<QComboBox>(kKind)->currentText(), QString("Круг"));
                     auto* entries = widget<QListWidget>(kEntries);
                     QTest::mouseClick(entries->viewport(), Qt::LeftButton, {},
                                       entries->visualItemRect(entries->item(0)).center());
                     EXPECT_EQ(entries->currentRow(), 1) << "the list waits for the model";
                 },
                 [&] {
                     auto* entries = widget<QListWidget>(kEntries);
                     EXPECT_EQ(entries->currentRow(), 0);
                     QTest::mouseDClick(entries->viewport(), Qt::LeftButton, {},
                                        entries->visualItemRect(entries->item(2)).center());
                 },
                 [&] {
                     EXPECT_EQ(widget<QListWidget>(kEntries)->currentRow(), 2);
                     QTest::mouseClick(widget<QPushButton>(IDCANCEL), Qt::LeftButton);
                 }});
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"kind Линия", "kind Круг", "open три", "cancel"}));
    std::vector<ActionKind> kinds;
    for (const Action& a : posted) kinds.push_back(a.kind);
    EXPECT_EQ(kinds, (std::vector<ActionKind>{ActionKind::Choose, ActionKind::Choose, ActionKind::Choose,
                                              ActionKind::DblClick, ActionKind::Click}))
        << "the release that ends a double click chooses nothing more";
    EXPECT_FALSE(failed()) << failure();
}

TEST_F(DialogWindowsTest, AWindowHiddenByTheModelComesBackAndClosesWithItsDialog) {
    TestDialog dialog;
    bool visibleWhileHidden = true;
    dialog.whileHidden = [&] { visibleWhileHidden = window()->isVisible(); };
    QPointer<QWidget> shown;
    run(dialog, {[&] { QTest::mouseClick(widget<QPushButton>(kHide), Qt::LeftButton); },
                 [&] {
                     EXPECT_TRUE(window()->isVisible());
                     shown = window();
                     window()->close();  // the close box
                 }});
    EXPECT_FALSE(visibleWhileHidden);
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"close", "cancel"}));
    ASSERT_FALSE(shown.isNull());
    EXPECT_FALSE(shown->isVisible()) << "the window went with the dialog";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(shown.isNull());
}

TEST_F(DialogWindowsTest, TheSystemMenuOffersTheModelsItems) {
    TestDialog dialog;
    run(dialog, {[&] {
                     QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), window()->mapToGlobal(QPoint(2, 2)));
                     QCoreApplication::sendEvent(window(), &event);
                     auto* menu = window()->findChild<QMenu*>();
                     ASSERT_NE(menu, nullptr);
                     QAction* about = nullptr;
                     for (QAction* a : menu->actions())
                         if (a->text() == QString("О программе...")) about = a;
                     ASSERT_NE(about, nullptr);
                     about->trigger();
                     menu->close();
                 },
                 [&] { QTest::keyClick(window(), Qt::Key_Escape); }});
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"about", "cancel"}));
    ASSERT_FALSE(posted.empty());
    EXPECT_EQ(posted[0].kind, ActionKind::SysMenu);
    EXPECT_EQ(posted[0].number, kAboutCommand);
}

TEST_F(DialogWindowsTest, AMessageBoxIsAnsweredByItsButton) {
    TestDialog dialog;
    QPointer<QMessageBox> seen;
    run(dialog, {[&] { QTest::mouseClick(widget<QPushButton>(kAsk), Qt::LeftButton); },
                 [&] {
                     QMessageBox* box = windowsBox();
                     ASSERT_NE(box, nullptr);
                     seen = box;
                     EXPECT_EQ(box->text(), QString("Продолжить?"));
                     EXPECT_EQ(box->icon(), QMessageBox::Question);
                     EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
                     EXPECT_EQ(box->windowModality(), Qt::WindowModal);
                     QTest::mouseClick(box->button(QMessageBox::Yes), Qt::LeftButton);
                 },
                 [&] {
                     EXPECT_EQ(windowsBox(), nullptr);
                     QTest::mouseClick(widget<QPushButton>(IDCANCEL), Qt::LeftButton);
                 }});
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"yes", "cancel"}));
    EXPECT_TRUE(seen.isNull() || !seen->isVisible());
    EXPECT_FALSE(failed()) << failure();
}

TEST(DialogWindowText, SymbolLettersAreGreekAndTextRoundTripsThroughTheCodePage) {
    EXPECT_EQ(displayText("abgdpW", true), QString("αβγδπΩ"));
    EXPECT_EQ(displayText("abg 1+", false), QString("abg 1+"));
    EXPECT_EQ(displayText("x = 2", true), QString("ξ = 2"));
    EXPECT_EQ(toCp1251(QString("Дом №1")), std::optional<std::string>("Дом №1"_cp));
    EXPECT_EQ(toCp1251(QString("日本")), std::nullopt);
}

}  // namespace
}  // namespace kestrin::gui

namespace kestrin::setup::test {
namespace {

using namespace kestrin::literals;

// The setup program's run with a display: its action source is a GuiSource
// and its dialogs are windows; the person cancels the directory chooser and
// then the setup.
class PlantorWindowsTest : public SetupTest {};

TEST_F(PlantorWindowsTest, TheSetupDialogAndItsChooserAreWindowsThatThePersonCancels) {
    gui::test::startApplication();
    useRegistry(
        "REGEDIT4\n\n[HKEY_CLASSES_ROOT\\AutoCAD.Drawing.15\\protocol\\StdFileEditing\\server]\n"
        "@=\"C:\\\\ACAD2000\\\\acad.exe\"\n\n");
    const std::string before = registryText();
    gui::GuiSource source;
    gui::DialogWindows windows(source);
    session::Session::instance().setSource(&source);

    auto buttonOf = [&](QWidget* window, const QString& text) -> QPushButton* {
        for (auto* b : window->findChildren<QPushButton*>())
            if (b->text() == text || b->toolTip() == text) return b;
        return nullptr;
    };
    std::vector<QString> titles;
    std::deque<std::function<void()>> steps = {
        [&] {
            QWidget* setup = windows.window(ui::activeDialog());
            ASSERT_NE(setup, nullptr);
            titles.push_back(setup->windowTitle());
            QLineEdit* target = nullptr;
            for (auto* e : setup->findChildren<QLineEdit*>())
                if (e->text() == QString("C:\\ACAD2000\\Zor soft")) target = e;
            EXPECT_NE(target, nullptr) << "the target folder's field";
            QPushButton* browse = buttonOf(setup, "Выбрать директорию");
            ASSERT_NE(browse, nullptr);
            QTest::mouseClick(browse, Qt::LeftButton);
        },
        [&] {
            QWidget* chooser = windows.window(ui::activeDialog());
            ASSERT_NE(chooser, nullptr);
            titles.push_back(chooser->windowTitle());
            EXPECT_NE(chooser->parentWidget(), nullptr) << "the chooser stays above the setup's window";
            EXPECT_TRUE(chooser->isWindow());
            const QRect screen = chooser->screen()->availableGeometry();
            EXPECT_TRUE(screen.contains(chooser->geometry())) << "all of it on the screen";
            EXPECT_GE(chooser->y(), screen.top() + 20) << "its caption too";
            chooser->close();  // its close box
        },
        [&] {
            QWidget* setup = windows.window(ui::activeDialog());
            ASSERT_NE(setup, nullptr);
            titles.push_back(setup->windowTitle());
            QTest::keyClick(setup, Qt::Key_Escape);
        },
    };
    bool scheduled = false;
    ScopedConnection stepping = source.waiting.connectScoped([&](const std::string&) {
        if (scheduled) return;
        scheduled = true;
        QTimer::singleShot(0, [&] {
            scheduled = false;
            if (steps.empty()) return source.finish();
            const auto step = steps.front();
            steps.pop_front();
            step();
        });
    });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&] {
        ADD_FAILURE() << "the setup still ran after 10 s";
        steps.clear();
        source.finish();
    });
    guard.start(10000);
    {
        CSetupApp app;
        app.InitInstance();
        EXPECT_EQ(app.result(), IDCANCEL);
    }
    session::Session::instance().setSource(nullptr);
    EXPECT_TRUE(steps.empty());
    ASSERT_EQ(titles.size(), 3u);
    EXPECT_EQ(titles[0], QString("Установка  Кестрина V2.0"));
    EXPECT_NE(titles[1], titles[0]) << "the chooser is a window of its own";
    EXPECT_EQ(titles[2], titles[0]);
    EXPECT_FALSE(failed()) << failure();
    EXPECT_EQ(registryText(), before);
    EXPECT_FALSE(folderExists("ACAD2000"));
}

}  // namespace
}  // namespace kestrin::setup::test
