// Every test program keeps what the host writes for itself between runs (the
// recovery files of automatic saves) in the build tree, never in the home
// folder: the state folder is set before any test runs.
#include <cstdlib>

namespace {

const bool kStateInBuildTree = [] {
#if defined(_WIN32)
    _putenv_s("XDG_STATE_HOME", KESTRIN_BINARY_DIR "/test-state");
#else
    setenv("XDG_STATE_HOME", KESTRIN_BINARY_DIR "/test-state", 1);
#endif
    return true;
}();

}  // namespace
