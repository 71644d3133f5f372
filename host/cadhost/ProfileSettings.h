// The host settings (SAVETIME, UNDOLIMIT) the person's profile keeps: REG_DWORD
// values of their names in the current profile's "General" key. They are
// taken into the host at start and written back when the person sets one,
// so the next start has them.
#pragma once

#include <string>
#include <vector>

#include "base/Signal.h"
#include "host/cadhost/HostProfile.h"

namespace kestrin::cadhost {

// Sets each host setting the profile stores. A value that is no whole number
// in the setting's range is passed over (the default stays) and named in the
// problems returned.
std::vector<std::string> takeProfileSettings(const HostProfile& profile);

// While it lives, each host setting the person changes is written to the
// profile (nothing when the host has no profile). A write that fails is said
// as an error; the session goes on with the value set.
class ProfileSettingsKeeper {
public:
    explicit ProfileSettingsKeeper(const HostProfile& profile);

private:
    std::string generalKey_;  // empty: no profile to keep them in
    ScopedConnection changed_;

    void keep(const std::string& name);
};

}  // namespace kestrin::cadhost
