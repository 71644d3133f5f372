// The host's own settings: whole numbers kept with the host, not in the
// drawing, read and written as system variables by name (any case):
//   SAVETIME   minutes between automatic saves of a changed drawing (0 off)
//   UNDOLIMIT  how many steps the undo journal of a drawing keeps (0: no undo)
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Signal.h"

namespace kestrin::host {

struct HostSetting {
    std::string name;  // upper case
    int minimum;
    int maximum;
    int defaultValue;
};

// Every setting, in a fixed order.
const std::vector<HostSetting>& hostSettings();
const HostSetting* findHostSetting(std::string_view name);

// The value; nothing for a name that is no setting.
std::optional<int> hostSetting(std::string_view name);
// False (nothing changes) for an unknown name or a value out of range.
bool setHostSetting(std::string_view name, int value);
// Every setting back to its default (tests).
void resetHostSettings();

// A setting changed, with its name (upper case).
Signal<const std::string&>& hostSettingChanged();

}  // namespace kestrin::host
