// The application of the GUI tests: Qt's offscreen platform, whatever display
// the machine has, so that every run draws the same.
#pragma once

#include <QtGlobal>

#include "gui/GuiApplication.h"

namespace kestrin::gui::test {

inline void startApplication() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ensureApplication();
}

}  // namespace kestrin::gui::test
