// What a click on a hyperlink starts: the shell's "open" on the target, and
// when that fails, the browser registered for ".htm" files with the target
// on its command line; and the texts of the launch errors.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

// Reads the default value of a key under HKEY_CLASSES_ROOT (260 bytes).
using ClassesRootReader = std::function<bool(const std::string& subKey, std::string& value)>;

// The composed command line fits a buffer of this many bytes, its zero
// included.
inline constexpr std::size_t kBrowserCommandCapacity = 520;

// The browser's command line cut before its first "%1" (preferring a quoted
// "%1", cut at the opening quote), then a blank and the target; nothing when
// the result does not fit kBrowserCommandCapacity.
std::optional<std::string> composeBrowserCommand(const std::string& browserCommand, const std::string& target);

// The shell's "open" on `target`; on failure the ".htm" browser with the
// target. Answers the shell's number (above 32 is success). A composed
// command line that is too long starts nothing and answers
// kCommandLineTooLong.
inline constexpr int kCommandLineTooLong = -1;
int launchHyperlink(const std::string& target, int showCommand, const ClassesRootReader& readClassesRoot);

// "Unable to open hyperlink:\n\n" and the text for the number.
std::string launchErrorMessage(int code);
