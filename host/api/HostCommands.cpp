#include "host/api/HostCommands.h"

#include <cstdlib>
#include <string>

#include "host/api/AdsTypes.h"
#include "host/api/CommandLine.h"
#include "host/api/HostSettings.h"
#include "host/api/UndoCommands.h"
#include "host/api/WordInput.h"
#include "host/db/RecordTags.h"

namespace kestrin::host {

namespace {

struct HostCommand {
    const char* name;
    void (*run)();
};

constexpr HostCommand kCommands[] = {
    {"REGEN", regenerate},
    {"U", undoLastStep},
    {"UNDO", undoAskedSteps},
    {"REDO", redoLastUndo},
};

void askForSetting(const HostSetting& setting) {
    for (;;) {
        const std::string prompt = "\nEnter new value for " + setting.name + " <" +
                                   std::to_string(*hostSetting(setting.name)) + ">: ";
        std::string word;
        if (getWord(prompt.c_str(), word) != RTNORM) return;  // Enter keeps it, Escape too
        char* end = nullptr;
        const long value = std::strtol(word.c_str(), &end, 10);
        if (!word.empty() && *end == '\0' && value >= setting.minimum && value <= setting.maximum &&
            setHostSetting(setting.name, static_cast<int>(value)))
            return;
        print("\nRequires a whole number between " + std::to_string(setting.minimum) + " and " +
              std::to_string(setting.maximum) + ".\n");
    }
}

}  // namespace

bool isHostCommand(std::string_view name) {
    for (const HostCommand& c : kCommands)
        if (db::sameName(c.name, name)) return true;
    return findHostSetting(name) != nullptr;
}

bool runHostCommand(std::string_view name) {
    for (const HostCommand& c : kCommands) {
        if (!db::sameName(c.name, name)) continue;
        c.run();
        return true;
    }
    if (const HostSetting* setting = findHostSetting(name)) {
        askForSetting(*setting);
        return true;
    }
    return false;
}

}  // namespace kestrin::host
