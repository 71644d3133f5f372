#include "gui/GuiApplication.h"

#include <QApplication>

#include "platform/fs/FileSystem.h"

namespace kestrin::gui {

namespace {
bool isSet(const char* name) { return !fs::FileSystem::current().environment(name).value_or("").empty(); }
}  // namespace

bool displayAvailable() { return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY") || isSet("QT_QPA_PLATFORM"); }

void ensureApplication() {
    if (QApplication::instance() != nullptr) return;
    // Qt keeps argc and argv for the application's life.
    static int argc = 1;
    static char name[] = "cadhost";
    static char* argv[] = {name, nullptr};
    static QApplication* application = new QApplication(argc, argv);  // lives to the end of the program
    (void)application;
}

}  // namespace kestrin::gui
