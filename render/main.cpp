#include <iostream>
#include <string>
#include <vector>

#include "platform/process/StandardInput.h"
#include "render/Program.h"

namespace {

// A bar on the terminal's last line, drawn again at each whole per cent and
// rubbed out at the end; nothing when standard error is no terminal.
class ProgressBar {
public:
    ~ProgressBar() { clear(); }
    void clear() {
        if (shown_ >= 0) std::cerr << "\r" << std::string(kWidth + 24, ' ') << "\r" << std::flush;
        shown_ = -1;
    }
    void operator()(double done) {
        if (done >= 1) {  // the program's last words come on a clean line
            clear();
            return;
        }
        const int percent = static_cast<int>(done * 100);
        if (percent == shown_) return;
        shown_ = percent;
        const int filled = percent * kWidth / 100;
        std::cerr << "\rkestrin-render [" << std::string(filled, '#') << std::string(kWidth - filled, ' ') << "] "
                  << percent << "%" << std::flush;
    }

private:
    static constexpr int kWidth = 40;
    int shown_ = -1;
};

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (!kestrin::process::standardErrorIsTerminal()) return kestrin::render::runRenderProgram(args, std::cout, std::cerr);
    ProgressBar bar;
    return kestrin::render::runRenderProgram(args, std::cout, std::cerr, [&bar](double done) { bar(done); });
}
