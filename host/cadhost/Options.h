// The command line of the cadhost program.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kestrin::cadhost {

struct Options {
    std::optional<std::string> open;  // drawing to start from; else a new drawing
    std::vector<std::string> modules;
    std::vector<std::string> support;
    std::optional<std::string> save;  // written at the end of a successful session
    std::optional<std::string> transcript;
    std::optional<std::string> registry;  // the registry file; else KESTRIN_REGISTRY
    std::optional<std::string> script;  // none or "-": standard input (with --gui, none: the person)
    bool gui = false;  // the desktop windows: the person's actions come from the main window
    std::optional<std::string> record;  // with gui: every action written there as a script
    bool recover = false;  // a recovery file newer than the drawing is opened instead (scripts)
    bool help = false;
};

// Reads argv[1..]. Throws std::invalid_argument with a message naming the
// argument that is wrong (unknown option, missing value, a second script,
// --record without --gui).
Options parseOptions(int argc, const char* const* argv);

// The --help text.
std::string usage();

}  // namespace kestrin::cadhost
