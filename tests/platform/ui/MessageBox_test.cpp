#include <algorithm>

#include "tests/platform/ui/UiTestSupport.h"

namespace kestrin::ui::test {
namespace {

class MessageBoxes : public UiTest {
protected:
    static std::vector<std::string> boxLines() {
        std::vector<std::string> out;
        for (const auto& e : session::Transcript::instance().entries())
            if (e.kind == session::Transcript::Kind::MessageBox) out.push_back(cp1251ToUtf8(e.text));
        return out;
    }
};

TEST_F(MessageBoxes, QueuedAnswersAreTakenInOrderAndWrittenToTheTranscript) {
    script({answer("yes"), answer("cancel")});
    EXPECT_EQ(MessageBox(nullptr, "Создать каталог?"_cp, "Setup", MB_YESNO | MB_ICONQUESTION), IDYES);
    EXPECT_EQ(AfxMessageBox("Второй"_cp, MB_OKCANCEL | MB_ICONSTOP), IDCANCEL);
    EXPECT_EQ(lastMessageBoxText(), "Второй"_cp);
    EXPECT_EQ(boxLines(), (std::vector<std::string>{"[Setup] Создать каталог? (question, yes/no) -> yes",
                                                    "[Application] Второй (stop, ok/cancel) -> cancel"}));
}

TEST_F(MessageBoxes, ABoxWaitsForItsAnswerAndRefusesOtherActions) {
    script({answer("ok")});
    EXPECT_EQ(MessageBox(nullptr, "a", "c", MB_OK | MB_ICONINFORMATION), IDOK);

    session::Session::instance().reset();
    script({click(ref(kPlain), 4)});
    EXPECT_EQ(MessageBox(nullptr, "b", "c", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(failure(), "test:4: click: a message box waits for an answer");
}

TEST_F(MessageBoxes, EscapeClosesTheBoxAsTheEscapeKeyDoes) {
    script({act(ActionKind::Escape, 1), act(ActionKind::Escape, 2), act(ActionKind::Escape, 3)});
    EXPECT_EQ(MessageBox(nullptr, "a", "c", MB_YESNOCANCEL), IDCANCEL);
    EXPECT_EQ(MessageBox(nullptr, "b", "c", MB_YESNO), IDNO);
    EXPECT_EQ(MessageBox(nullptr, "c", "c", MB_OK), IDOK);
    EXPECT_FALSE(failed()) << failure();
    EXPECT_EQ(boxLines().front(), "[c] a (none, yes/no/cancel) -> (no answer: cancel)");
}

TEST_F(MessageBoxes, AnAnswerTheButtonsDoNotOfferIsRefused) {
    script({answer("yes", 2)});
    EXPECT_EQ(MessageBox(nullptr, "Готово"_cp, "Setup", MB_OK), IDOK) << "closed as by Escape";
    EXPECT_EQ(failure(), "test:2: answer: the message box offers ok, not \"yes\"");
    EXPECT_EQ(boxLines().back(), "[Setup] Готово (none, ok) -> (no answer: ok)");
}

TEST_F(MessageBoxes, AWrongAnswerQueuedEarlierIsRefusedWhenTheBoxTakesIt) {
    script({answer("no", 3)});
    session::Session::instance().next(session::Waiter::CommandLine);  // the answer is queued
    EXPECT_EQ(MessageBox(nullptr, "x", "c", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(failure(), "test:3: answer: the message box \"x\" offers ok, cancel, not \"no\"");
}

TEST_F(MessageBoxes, UnknownAnswerWordIsRefused) {
    script({answer("maybe", 5)});
    EXPECT_EQ(MessageBox(nullptr, "x", "c", MB_YESNO), IDNO);
    EXPECT_EQ(failure(), "test:5: answer: \"maybe\" is not one of ok, yes, no, cancel");
}

TEST_F(MessageBoxes, WithoutAnswerTheBoxClosesAsByEscape) {
    script({});
    EXPECT_EQ(MessageBox(nullptr, "x", "c", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(failure(), "test: the script ended while a message box waits");
    EXPECT_EQ(MessageBox(nullptr, "y", "c", MB_YESNO), IDNO) << "a Yes/No box has no Cancel to answer";
    EXPECT_EQ(MessageBox(nullptr, "z", "c", MB_OK), IDOK);
    EXPECT_EQ(boxLines().front(), "[c] x (none, ok/cancel) -> (no answer: cancel)");
}

TEST_F(MessageBoxes, ABoxFromADialogHandlerIsModalOverTheDialog) {
    script({click(ref(kPlain)), answer("no"), expect("message", ref(0), "Удалить?"_cp), key("escape")});
    RecordingDialog dlg;
    int answered = 0;
    dlg.onPlain = [&answered](RecordingDialog& d) {
        answered = d.MessageBox("Удалить?"_cp, "Кестрин"_cp, MB_YESNO);
        EXPECT_EQ(openMessageBoxes(), 0);
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(answered, IDNO);
    EXPECT_FALSE(failed()) << failure();
}

TEST_F(MessageBoxes, ExpectMessageComparesTheLastBox) {
    script({answer("ok"), expect("message", ref(0), "other", 9)});
    MessageBox(nullptr, "said", "c", MB_OK);
    session::Session::instance().next(session::Waiter::CommandLine);
    EXPECT_EQ(failure(), "test:9: expect message: the last message box said \"said\"");
}

// An answer waits for a box raised by the next action the dialog or host
// takes; once a further action comes, the box it was meant for never came.
TEST_F(MessageBoxes, AnAnswerNoBoxTookFailsBeforeTheActionAfterTheNext) {
    script({answer("ok", 3), click(ref(kPlain), 4), click(ref(kPlain), 5), key("escape", false, 6)});
    RecordingDialog dlg;  // its Plain button raises no box
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(failure(), "test:3: answer ok: no message box took this answer before \"click\" on line 5");
    EXPECT_EQ(std::count(dlg.log.begin(), dlg.log.end(), "plain"), 1) << "the action after the miss is not run";
}

TEST_F(MessageBoxes, AnswersQueuedBeforeTheActionThatRaisesTheirBoxesAreTaken) {
    script({answer("yes", 2), answer("cancel", 3), click(ref(kPlain), 4), key("escape", false, 5)});
    RecordingDialog dlg;
    std::vector<int> answered;
    dlg.onPlain = [&answered](RecordingDialog& d) {
        answered.push_back(d.MessageBox("Сохранить?"_cp, "Кестрин"_cp, MB_YESNO));
        answered.push_back(d.MessageBox("Точно?"_cp, "Кестрин"_cp, MB_OKCANCEL));
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(answered, (std::vector<int>{IDYES, IDCANCEL}));
    session::Session::instance().end();
    EXPECT_FALSE(failed()) << failure();
}

TEST_F(MessageBoxes, AnAnswerLeftAtTheEndOfTheSessionFailsIt) {
    script({click(ref(kPlain), 1), answer("yes", 2)});
    RecordingDialog dlg;
    dlg.onPlain = [](RecordingDialog& d) { d.EndDialog(IDOK); };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_FALSE(session::Session::instance().next(session::Waiter::CommandLine)) << "the script is at its end";
    EXPECT_FALSE(failed()) << "a box may still come as the program winds down";
    session::Session::instance().end();
    EXPECT_EQ(failure(), "test:2: answer yes: no message box took this answer before the session ended");
}

TEST_F(MessageBoxes, ABoxRaisedAfterTheInputEndedStillTakesTheLastAnswer) {
    script({answer("no", 1)});
    EXPECT_FALSE(session::Session::instance().next(session::Waiter::CommandLine));
    EXPECT_EQ(MessageBox(nullptr, "Сохранить?"_cp, "c", MB_YESNO), IDNO);
    session::Session::instance().end();
    EXPECT_FALSE(failed()) << failure();
}

}  // namespace
}  // namespace kestrin::ui::test
