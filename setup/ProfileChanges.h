// The profile values the setup wrote in this run, each with what it held
// before, so that an installation that fails after registering puts the
// profiles back as they were.
#pragma once

#include <optional>
#include <vector>

#include "platform/ui/Framework.h"

class CRegistry;

class ProfileChanges {
public:
    // Writes value `name` := `text` through `registry` (open on `key`, a
    // path below HKEY_CURRENT_USER) and remembers `before`, what it held
    // (nothing: it was not there). False, nothing remembered, when the
    // write fails.
    bool write(CRegistry& registry, const CString& key, const CString& name, const std::optional<CString>& before,
               const CString& text);
    // Puts every remembered value back, newest first (a value that was not
    // there is deleted again) and forgets them. Answers "KEY\NAME" of each
    // value that could not be put back.
    std::vector<CString> restore();
    bool empty() const { return written_.empty(); }

private:
    struct Written {
        CString key;
        CString name;
        std::optional<CString> before;
    };
    std::vector<Written> written_;
};
