// Automatic saves of the working drawing into its recovery file, so that a
// crash, a kill or a power cut loses at most SAVETIME minutes of work.
//
// The recovery file of a drawing lies in the user's state folder
// (userStateFolder("kestrin")), named after the drawing and a hash of its
// full path ("plan-1a2b3c4d.dxf"; "unnamed.dxf" for a drawing without a
// file); it is a DXF file like any other, written atomically, never over
// the drawing itself. SAVETIME minutes after the first change since the last
// save (automatic or not) the drawing is written there while the session
// waits for the person. KESTRIN_SAVETIME_SECONDS=N (N > 0) counts the
// interval in seconds instead, for tests.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/Signal.h"

namespace kestrin::host {

class AutoSave {
public:
    static AutoSave& instance();

    // Follows the working drawing's changes and registers the save with the
    // session. `unnamedAs` (UTF-8): what a drawing without a file is known
    // by (the file it will be saved to at the end), empty: "unnamed".
    void start(const std::string& unnamedAs = {});
    // The session ends: no more saves. `keepFile` leaves the recovery file
    // written so far (the session failed before the drawing was saved);
    // else it goes.
    void stop(bool keepFile = false);

    // The recovery file of the drawing `drawingPath` (UTF-8; empty: a
    // drawing without a file); empty when the state folder cannot be made.
    std::string recoveryFileFor(const std::string& drawingPath) const;
    // A recovery file of that drawing newer than the drawing itself (or of
    // a drawing that is not there), if there is one.
    std::optional<std::string> newerRecoveryFor(const std::string& drawingPath) const;

    // When the next automatic save is due; nothing when none is.
    std::optional<std::chrono::steady_clock::time_point> due();
    // Writes the working drawing to its recovery file now (said on the
    // command line); false with the reason said there too.
    bool saveNow();
    // The working drawing was saved to a file: nothing is due, and the
    // recovery file written so far goes.
    void drawingSaved();
    // The working drawing changed in a way its signals do not tell (the header).
    void noteChanged();

    // The drawing was opened from `recovery`: the file is this session's now,
    // replaced by its next automatic save and gone at its clean end.
    void adopt(const std::string& recovery) { written_ = recovery; }

    // The recovery file written last, while it stands (UTF-8; empty: none).
    const std::string& written() const { return written_; }

private:
    AutoSave() = default;
    void follow();
    std::chrono::steady_clock::duration interval() const;

    bool started_ = false;
    int task_ = 0;
    std::string unnamedAs_;
    std::uint64_t serial_ = 0;  // the store followed
    std::vector<ScopedConnection> watching_;
    std::optional<std::chrono::steady_clock::time_point> changedSince_;
    std::string written_;
};

}  // namespace kestrin::host
