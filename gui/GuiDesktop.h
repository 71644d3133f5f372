// The desktop windows behind cadhost --gui: the main window over a
// GuiSource, which the session reads.
#pragma once

#include <memory>

#include "host/cadhost/Desktop.h"

namespace kestrin::gui {

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

private:
    std::unique_ptr<MainWindow> window_;
};

// The factory HostProgram is given by the program's main.
std::unique_ptr<cadhost::Desktop> makeDesktop();

}  // namespace kestrin::gui
