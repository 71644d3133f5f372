// The desktop windows behind cadhost --gui: the main window with the drawing
// view and the command line, and the dialogs' windows, all over one GuiSource,
// which the session reads.
#pragma once

#include <memory>

#include "base/Signal.h"
#include "host/cadhost/Desktop.h"

namespace kestrin::gui {

class DialogWindows;
class DrawingModel;
class DrawingView;
class GuiSource;
class MainWindow;

class GuiDesktop : public cadhost::Desktop {
public:
    GuiDesktop();
    ~GuiDesktop() override;

    bool available(std::string& why) const override;
    std::unique_ptr<session::ActionSource> start(const cadhost::Options& options, const cadhost::HostProfile& profile,
                                                 std::unique_ptr<session::ActionSource> script,
                                                 std::string& error) override;
    void stop() override;

    MainWindow* window() const { return window_.get(); }
    DrawingView* view() const { return view_; }
    DialogWindows* dialogs() const { return dialogs_.get(); }

private:
    std::unique_ptr<DrawingModel> model_;
    std::unique_ptr<MainWindow> window_;
    DrawingView* view_ = nullptr;  // owned by the window
    std::unique_ptr<DialogWindows> dialogs_;
    ScopedConnection sync_;
};

// The factory HostProgram is given by the program's main.
std::unique_ptr<cadhost::Desktop> makeDesktop();

}  // namespace kestrin::gui
