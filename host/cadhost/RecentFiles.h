// The drawings opened or saved last, newest first, as the File menu offers
// them: kept in the current profile's "Recent File List" key (string values
// File1 ... File8, CP1251 paths as the host names them), so the next start
// has them; without a profile, for this run only.
#pragma once

#include <string>
#include <vector>

#include "host/cadhost/HostProfile.h"

namespace kestrin::cadhost {

class RecentFiles {
public:
    static constexpr std::size_t kLimit = 8;

    explicit RecentFiles(const HostProfile& profile);

    // As the profile holds them now (another window may have added some).
    std::vector<std::string> list() const;
    // `path` first; an older entry of the same path (any case) goes. False,
    // with `error`, when the profile could not be written; the list of this
    // run has the path all the same.
    bool add(const std::string& path, std::string& error);

private:
    std::string key_;  // empty: no profile
    std::vector<std::string> own_;
};

}  // namespace kestrin::cadhost
