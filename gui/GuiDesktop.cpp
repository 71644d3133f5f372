#include "gui/GuiDesktop.h"

#include <QCoreApplication>

#include "base/Cp1251.h"
#include "gui/DialogWindows.h"
#include "gui/DrawingModel.h"
#include "gui/DrawingView.h"
#include "gui/GuiApplication.h"
#include "gui/GuiSource.h"
#include "gui/MainWindow.h"
#include "host/cadhost/MenuToolbar.h"
#include "platform/session/Transcript.h"

namespace kestrin::gui {

GuiDesktop::GuiDesktop() = default;

GuiDesktop::~GuiDesktop() { stop(); }

bool GuiDesktop::available(std::string& why) const {
    if (displayAvailable()) return true;
    why = "no display (DISPLAY and WAYLAND_DISPLAY are not set; QT_QPA_PLATFORM=offscreen runs without one)";
    return false;
}

std::unique_ptr<session::ActionSource> GuiDesktop::start(const cadhost::Options&, const cadhost::HostProfile& profile,
                                                         std::unique_ptr<session::ActionSource> script,
                                                         std::string& error) {
    if (!available(error)) return nullptr;
    ensureApplication();
    auto source = std::make_unique<GuiSource>(std::move(script));
    std::vector<std::string> problems;
    const cadhost::MenuFile menus = cadhost::hostMenus(profile, &problems);
    for (const std::string& problem : problems) session::Transcript::instance().error("toolbar: " + problem);
    model_ = std::make_unique<DrawingModel>();
    window_ = std::make_unique<MainWindow>(*source, menus.buttons);
    window_->showToolbarProblems(problems);
    view_ = new DrawingView(*model_, window_.get());
    window_->setDrawingView(view_);
    window_->addPullDownMenus(menus.pullDowns);
    window_->keepRecentFilesIn(profile);
    dialogs_ = std::make_unique<DialogWindows>(*source);
    dialogs_->setArea(view_);
    // A new or opened drawing replaces the host's database without a signal:
    // the model looks before each wait.
    sync_ = source->waiting.connectScoped([this](const std::string&) { model_->sync(); });
    window_->resize(1100, 760);
    window_->show();
    QCoreApplication::processEvents();
    return source;
}

void GuiDesktop::stop() {
    sync_ = {};
    dialogs_.reset();
    view_ = nullptr;
    window_.reset();
    model_.reset();
}

std::unique_ptr<cadhost::Desktop> makeDesktop() { return std::make_unique<GuiDesktop>(); }

}  // namespace kestrin::gui
