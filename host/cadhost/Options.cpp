#include "host/cadhost/Options.h"

#include <stdexcept>

namespace kestrin::cadhost {

std::string usage() {
    return "usage: cadhost [--open DRAWING] [--load MODULE]... [--support DIR]... [--save DRAWING]\n"
           "               [--transcript FILE] [--registry FILE] [--gui [--record FILE]] [--recover] [SCRIPT]\n"
           "\n"
           "Runs a session of the CAD host: the actions of SCRIPT (a session script), or of\n"
           "standard input when SCRIPT is missing or '-', one a line, as typed at the\n"
           "command line. With --gui the session runs in the desktop window: the person's\n"
           "actions there, or SCRIPT played in the window.\n"
           "\n"
           "  --open DRAWING     start from this DXF drawing instead of a new one\n"
           "  --load MODULE      load a module (repeatable; loaded in order, unloaded at exit)\n"
           "  --support DIR      add a folder to the support path searched for files (repeatable)\n"
           "  --save DRAWING     write the drawing there when the session succeeded\n"
           "  --transcript FILE  write everything shown (UTF-8) to FILE as well\n"
           "  --registry FILE    the registry (a REGEDIT4 file; default: $KESTRIN_REGISTRY):\n"
           "                     the host profile's support folders follow the --support\n"
           "                     folders, its menu groups are listed by 'menugroups'\n"
           "  --gui              open the desktop window (needs a display, or QT_QPA_PLATFORM)\n"
           "  --record FILE      with --gui: write every action to FILE as a session script\n"
           "                     (replayable without the window)\n"
           "  --recover          open the drawing's recovery file (written every SAVETIME\n"
           "                     minutes of changes) when it is newer than the drawing; a\n"
           "                     person in the window or at a terminal is asked instead\n"
           "  --help             show this text\n"
           "\n"
           "Exit status: 0 the session ran to its end; 1 a line failed or a check did not\n"
           "hold (the message names the line); 2 bad arguments (unknown option, missing\n"
           "value, a script, drawing, module, folder or file that cannot be used, a\n"
           "registry file that does not parse, --gui without a display); 3 the host\n"
           "stopped on a broken invariant (acrx_abort).\n";
}

Options parseOptions(int argc, const char* const* argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        std::optional<std::string> inlineValue;
        if (arg.rfind("--", 0) == 0) {
            if (const auto eq = arg.find('='); eq != std::string::npos) {
                inlineValue = arg.substr(eq + 1);
                arg.erase(eq);
            }
        }
        auto value = [&]() -> std::string {
            if (inlineValue) {
                if (inlineValue->empty()) throw std::invalid_argument("option " + arg + " needs a value");
                return *inlineValue;
            }
            if (i + 1 >= argc) throw std::invalid_argument("option " + arg + " needs a value");
            return argv[++i];
        };
        if (arg == "--open") {
            if (o.open) throw std::invalid_argument("option --open given twice");
            o.open = value();
        } else if (arg == "--load") {
            o.modules.push_back(value());
        } else if (arg == "--support") {
            o.support.push_back(value());
        } else if (arg == "--save") {
            if (o.save) throw std::invalid_argument("option --save given twice");
            o.save = value();
        } else if (arg == "--transcript") {
            if (o.transcript) throw std::invalid_argument("option --transcript given twice");
            o.transcript = value();
        } else if (arg == "--gui") {
            if (inlineValue) throw std::invalid_argument("option --gui takes no value");
            o.gui = true;
        } else if (arg == "--record") {
            if (o.record) throw std::invalid_argument("option --record given twice");
            o.record = value();
        } else if (arg == "--recover") {
            if (inlineValue) throw std::invalid_argument("option --recover takes no value");
            o.recover = true;
        } else if (arg == "--help" || arg == "-h") {
            if (inlineValue) throw std::invalid_argument("option " + arg + " takes no value");
            o.help = true;
        } else if (arg == "--registry") {
            if (o.registry) throw std::invalid_argument("option --registry given twice");
            o.registry = value();
        } else if (arg.size() > 1 && arg[0] == '-') {
            throw std::invalid_argument("unknown option '" + std::string(argv[i]) + "'");
        } else {
            if (o.script) throw std::invalid_argument("a second script '" + arg + "' (one script a session)");
            o.script = arg;
        }
    }
    if (o.record && !o.gui)
        throw std::invalid_argument("option --record needs --gui (it records the actions done in the window)");
    return o;
}

}  // namespace kestrin::cadhost
