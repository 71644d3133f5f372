#include "host/api/WordInput.h"

#include "host/api/AdsTypes.h"
#include "host/api/CommandLine.h"
#include "host/api/InputAnswers.h"
#include "host/api/InputRequest.h"

namespace kestrin::host {

int getWord(const char* prompt, std::string& word) {
    const RequestScope asking(InputRequest::Word);
    for (;;) {
        word.clear();
        const auto action = input::ask(prompt);
        if (!action) return RTCAN;
        if (action->kind == session::ActionKind::Command) {
            word = action->text;
            echoInput(word);
            return RTNORM;
        }
        int status = 0;
        if (auto common = input::commonAnswer(*action, "a word")) status = *common;
        else status = input::refuse(*action, "a word is asked for here (type it, or \"command WORD\" in a script)");
        if (status != input::kAskAgain) return status;
    }
}

}  // namespace kestrin::host
