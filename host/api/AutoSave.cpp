#include "host/api/AutoSave.h"

#include <cstdio>
#include <cstdlib>

#include "base/Cp1251.h"
#include "host/api/CommandLine.h"
#include "host/api/HostSettings.h"
#include "host/api/HostState.h"
#include "host/db/AcDbDatabase.h"
#include "host/db/DrawingStore.h"
#include "host/dxf/DxfFile.h"
#include "platform/fs/FileSystem.h"
#include "platform/fs/Path.h"
#include "platform/fs/StateFolder.h"
#include "platform/session/Session.h"

namespace kestrin::host {

namespace {

using Clock = std::chrono::steady_clock;

// FNV-1a: tells apart drawings of the same name in different folders.
std::uint32_t hashOf(const std::string& text) {
    std::uint32_t h = 2166136261u;
    for (unsigned char c : text) h = (h ^ c) * 16777619u;
    return h;
}

// The drawing's full path, as the file system names it.
std::string fullPath(const std::string& path) {
    fs::FileSystem& files = fs::FileSystem::current();
    auto resolved = files.resolve(path);
    std::string full = resolved ? *resolved : path;
    if (!full.empty() && full.front() != '/')
        if (auto cwd = files.currentDirectory()) full = fs::joinPath(*cwd, full);
    if (auto real = files.canonical(full)) return *real;
    return full;
}

// A path or message (UTF-8) for the command line (CP1251).
std::string forCommandLine(const std::string& utf8) {
    try {
        return utf8ToCp1251(utf8);
    } catch (const EncodingError&) {
        return "(a text the command line cannot show)";
    }
}

}  // namespace

AutoSave& AutoSave::instance() {
    static AutoSave autoSave;
    return autoSave;
}

void AutoSave::start(const std::string& unnamedAs) {
    unnamedAs_ = unnamedAs;
    if (started_) return;
    started_ = true;
    task_ = session::Session::instance().addTimedTask([this] { return due(); }, [this] { saveNow(); });
}

void AutoSave::stop(bool keepFile) {
    if (!started_) return;
    session::Session::instance().removeTimedTask(task_);
    started_ = false;
    watching_.clear();
    serial_ = 0;
    changedSince_.reset();
    if (!written_.empty() && !keepFile) (void)fs::FileSystem::current().removeFile(written_);
    written_.clear();
}

std::string AutoSave::recoveryFileFor(const std::string& drawingPath) const {
    auto folder = fs::userStateFolder("kestrin");
    if (!folder) return {};
    const std::string identity = drawingPath.empty() ? unnamedAs_ : drawingPath;
    if (identity.empty()) return fs::joinPath(*folder, "unnamed.dxf");
    const std::string full = fullPath(identity);
    std::string stem = fs::fileName(full);
    if (const auto dot = stem.rfind('.'); dot != std::string::npos && dot > 0) stem.erase(dot);
    char hash[16];
    std::snprintf(hash, sizeof hash, "%08x", static_cast<unsigned>(hashOf(full)));
    return fs::joinPath(*folder, stem + "-" + hash + ".dxf");
}

std::optional<std::string> AutoSave::newerRecoveryFor(const std::string& drawingPath) const {
    const std::string recovery = recoveryFileFor(drawingPath);
    if (recovery.empty()) return std::nullopt;
    fs::FileSystem& files = fs::FileSystem::current();
    auto saved = files.status(recovery);
    if (!saved || !saved->isRegular()) return std::nullopt;
    if (!drawingPath.empty()) {
        auto drawing = files.status(drawingPath);
        if (drawing && drawing->exists() && drawing->modified >= saved->modified) return std::nullopt;
    }
    return recovery;
}

Clock::duration AutoSave::interval() const {
    if (auto seconds = fs::FileSystem::current().environment("KESTRIN_SAVETIME_SECONDS")) {
        const long n = std::strtol(seconds->c_str(), nullptr, 10);
        if (n > 0) return std::chrono::seconds(n);
    }
    return std::chrono::minutes(hostSetting("SAVETIME").value_or(0));
}

void AutoSave::follow() {
    const AcDbDatabase* db = HostState::instance().working;
    const std::uint64_t serial = db != nullptr ? db->store().serial() : 0;
    if (serial == serial_) return;
    // Another drawing: it starts unchanged, and the last one's file stays
    // until the session ends (the person may want it).
    serial_ = serial;
    watching_.clear();
    changedSince_.reset();
    if (db == nullptr) return;
    auto changed = [this] {
        if (!changedSince_) changedSince_ = Clock::now();
    };
    watching_.push_back(db->events().added.connectScoped([changed](AcDbObjectId) { changed(); }));
    watching_.push_back(db->events().changed.connectScoped([changed](AcDbObjectId) { changed(); }));
    watching_.push_back(db->events().erased.connectScoped([changed](AcDbObjectId) { changed(); }));
}

std::optional<Clock::time_point> AutoSave::due() {
    follow();
    const auto every = interval();
    if (!changedSince_ || every == Clock::duration::zero()) return std::nullopt;
    return *changedSince_ + every;
}

bool AutoSave::saveNow() {
    AcDbDatabase* db = HostState::instance().working;
    changedSince_.reset();
    if (db == nullptr) return false;
    const std::string target = recoveryFileFor(HostState::instance().drawingPath);
    const std::string& drawing = HostState::instance().drawingPath;
    if (target.empty() || (!drawing.empty() && fullPath(target) == fullPath(drawing))) {
        print("\nAutomatic save failed: no recovery file apart from the drawing.\n");
        return false;
    }
    try {
        dxf::saveDxfFile(db->toDocument(), target);
    } catch (const std::exception& e) {
        print("\nAutomatic save failed: " + forCommandLine(e.what()) + "\n");
        return false;
    }
    if (!written_.empty() && written_ != target) (void)fs::FileSystem::current().removeFile(written_);
    written_ = target;
    print("\nAutomatic save to " + forCommandLine(target) + "\n");
    return true;
}

void AutoSave::drawingSaved() {
    changedSince_.reset();
    if (!written_.empty()) (void)fs::FileSystem::current().removeFile(written_);
    written_.clear();
}

void AutoSave::noteChanged() {
    follow();
    if (!changedSince_) changedSince_ = Clock::now();
}

}  // namespace kestrin::host
