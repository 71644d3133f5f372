// The file system of Windows, through the Win32 API with UTF-16 paths.
// Windows paths are the system's own: nothing is mapped.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cerrno>

#include "platform/fs/FileSystem.h"
#include "platform/fs/Path.h"
#include "platform/win32/LastError.h"
#include "platform/win32/WideText.h"

namespace kestrin::fs {

namespace {

using win32::lastError;
using win32::narrow;
using win32::widen;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// A handle closed when it goes.
class Handle {
public:
    explicit Handle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
    ~Handle() { reset(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return h_; }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    bool close() {
        const bool ok = !valid() || CloseHandle(h_) != 0;
        h_ = INVALID_HANDLE_VALUE;
        return ok;
    }
    void reset() { close(); }

private:
    HANDLE h_;
};

std::uint64_t nanoseconds(const FILETIME& t) {
    const std::uint64_t ticks = (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    return ticks * 100u;  // 100 ns ticks
}

FileType typeOf(DWORD attributes, bool followLinks) {
    if (!followLinks && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return FileType::Symlink;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? FileType::Directory : FileType::Regular;
}

unsigned modeOf(DWORD attributes) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return 0755;
    return (attributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0644;
}

bool isMissing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME ||
           error == ERROR_BAD_NETPATH || error == ERROR_INVALID_DRIVE || error == ERROR_DIRECTORY;
}

// Opens a regular file for reading; a folder or a device is refused.
Result<HANDLE> openRegular(const std::string& path) {
    HANDLE h = CreateFileW(widen(path).c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return lastError(path, "cannot open");
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &info)) {
        CloseHandle(h);
        return Error{path, "cannot read", "not a regular file", EINVAL};
    }
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        CloseHandle(h);
        return Error{path, "cannot read", "is a folder", EISDIR};
    }
    return h;
}

Status writeAll(HANDLE h, std::string_view bytes, const std::string& path) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(h, bytes.data(), chunk, &written, nullptr)) return lastError(path, "cannot write");
        bytes.remove_prefix(written);
    }
    return Done{};
}

class Content : public MappedFile {
public:
    explicit Content(std::string bytes) : bytes_(std::move(bytes)) {}
    std::string_view bytes() const override { return bytes_; }

private:
    std::string bytes_;
};

class HandleOutput : public OutputFile {
public:
    HandleOutput(HANDLE h, std::string path) : h_(h), path_(std::move(path)) {}
    Status write(std::string_view bytes) override {
        if (!first_.ok()) return first_;
        if (!h_.valid()) return remember(Error{path_, "cannot write", "the file is closed", EBADF});
        Status done = writeAll(h_.get(), bytes, path_);
        return done ? done : remember(done.error());
    }
    Status close() override {
        if (!h_.valid()) return first_;
        if (GetFileType(h_.get()) == FILE_TYPE_DISK && !FlushFileBuffers(h_.get()))
            (void)remember(lastError(path_, "cannot flush"));
        if (!h_.close()) (void)remember(lastError(path_, "cannot close"));
        return first_;
    }

private:
    Handle h_;
    std::string path_;
    Status first_ = Done{};
    Status remember(Error e) {
        if (first_.ok()) first_ = std::move(e);
        return first_;
    }
};

class LockedFile : public FileLock {
public:
    explicit LockedFile(HANDLE h) : h_(h) {}
    ~LockedFile() override {
        OVERLAPPED at{};
        UnlockFileEx(h_.get(), 0, MAXDWORD, MAXDWORD, &at);
    }

private:
    Handle h_;
};

// A name for a temporary file beside `file` that no other writer picks.
std::string temporaryName(const std::string& file) {
    static std::atomic<unsigned> serial{0};
    return file + "." + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial) + ".tmp";
}

class RealFileSystem : public FileSystem {
protected:
    bool namesIgnoreCase() const override { return true; }

    Result<FileStatus> doStatus(const std::string& path, bool followLinks) override {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!GetFileAttributesExW(widen(path).c_str(), GetFileExInfoStandard, &data)) {
            const DWORD error = GetLastError();
            if (isMissing(error)) return FileStatus{};
            return win32::windowsError(path, "cannot look at", error);
        }
        FileStatus st;
        st.type = typeOf(data.dwFileAttributes, followLinks);
        st.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        st.mode = modeOf(data.dwFileAttributes);
        st.modified = nanoseconds(data.ftLastWriteTime);
        Handle h(CreateFileW(widen(path).c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                             nullptr));
        BY_HANDLE_FILE_INFORMATION info{};
        if (h.valid() && GetFileInformationByHandle(h.get(), &info))
            st.identity = ((static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow) ^
                          (static_cast<std::uint64_t>(info.dwVolumeSerialNumber) << 40);
        return st;
    }

    Result<std::string> doReadFile(const std::string& path) override {
        auto opened = openRegular(path);
        if (!opened) return opened.error();
        Handle h(*opened);
        std::string out;
        char buf[65536];
        for (;;) {
            DWORD n = 0;
            if (!ReadFile(h.get(), buf, sizeof buf, &n, nullptr)) return lastError(path, "cannot read");
            if (n == 0) break;
            out.append(buf, n);
        }
        return out;
    }

    Result<std::unique_ptr<MappedFile>> doMapFile(const std::string& path) override {
        auto content = doReadFile(path);
        if (!content) return content.error();
        return std::unique_ptr<MappedFile>(std::make_unique<Content>(std::move(*content)));
    }

    Status doWriteAtomically(const std::string& path, const std::function<void(const ByteSink&)>& produce) override {
        const std::string dir = parentPath(path);
        DWORD attributes = GetFileAttributesW(widen(path).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES) {
            if (attributes & FILE_ATTRIBUTE_DIRECTORY)
                return Error{path, "cannot replace " + path, "it is a folder", EISDIR};
            if (attributes & FILE_ATTRIBUTE_READONLY)
                return Error{path, "cannot replace " + path, "it is write-protected", EACCES};
            Handle probe(CreateFileW(widen(path).c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr));
            if (probe.valid() && GetFileType(probe.get()) != FILE_TYPE_DISK)
                return Error{path, "cannot replace " + path, "it is not a regular file (a device)", EINVAL};
        }
        const std::string temp = temporaryName(path);
        const std::wstring wideTemp = widen(temp);
        Handle h(CreateFileW(wideTemp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!h.valid())
            return lastError(path, "cannot create a temporary file in " + (dir.empty() ? std::string(".") : dir));
        auto abandon = [&](Error e) {
            h.close();
            DeleteFileW(wideTemp.c_str());
            return e;
        };
        Status written = Done{};
        ByteSink sink = [&](std::string_view bytes) {
            if (written) written = writeAll(h.get(), bytes, temp);
        };
        try {
            produce(sink);
        } catch (...) {
            h.close();
            DeleteFileW(wideTemp.c_str());
            throw;
        }
        if (!written) return abandon(Error{path, "cannot write " + temp, written.error().reason, written.error().code});
        if (!FlushFileBuffers(h.get())) return abandon(lastError(path, "cannot flush " + temp));
        if (!h.close()) return abandon(lastError(path, "cannot close " + temp));
        if (!MoveFileExW(wideTemp.c_str(), widen(path).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return abandon(lastError(path, "cannot rename " + temp + " into place"));
        return Done{};
    }

    Status doRename(const std::string& from, const std::string& to) override {
        if (!MoveFileExW(widen(from).c_str(), widen(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED))
            return lastError(from, "cannot rename to " + to);
        return Done{};
    }

    Result<std::unique_ptr<OutputFile>> doOpenForWriting(const std::string& path) override {
        const DWORD attributes = GetFileAttributesW(widen(path).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            return Error{path, "cannot open for writing", "not a file or a device", EINVAL};
        HANDLE h = CreateFileW(widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return lastError(path, "cannot open for writing");
        return std::unique_ptr<OutputFile>(std::make_unique<HandleOutput>(h, path));
    }

    Result<std::vector<DirEntry>> doListDirectory(const std::string& path) override {
        const DWORD attributes = GetFileAttributesW(widen(path).c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) return lastError(path, "cannot list");
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return Error{path, "cannot list", "not a folder", ENOTDIR};
        WIN32_FIND_DATAW found{};
        HANDLE search = FindFirstFileW(widen(joinPath(path, "*")).c_str(), &found);
        std::vector<DirEntry> entries;
        if (search == INVALID_HANDLE_VALUE) {
            if (GetLastError() == ERROR_FILE_NOT_FOUND) return entries;
            return lastError(path, "cannot list");
        }
        do {
            const std::string name = narrow(found.cFileName);
            if (name == "." || name == "..") continue;
            entries.push_back({name, typeOf(found.dwFileAttributes, true)});
        } while (FindNextFileW(search, &found));
        const DWORD error = GetLastError();
        FindClose(search);
        if (error != ERROR_NO_MORE_FILES) return win32::windowsError(path, "cannot list", error);
        std::sort(entries.begin(), entries.end(), [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
        return entries;
    }

    Status doCreateDirectory(const std::string& path) override {
        if (!CreateDirectoryW(widen(path).c_str(), nullptr)) return lastError(path, "cannot create folder");
        return Done{};
    }

    Result<std::string> doCurrentDirectory() override {
        const DWORD n = GetCurrentDirectoryW(0, nullptr);
        std::wstring buf(n, L'\0');
        const DWORD got = GetCurrentDirectoryW(n, buf.data());
        if (got == 0 || got >= n) return lastError(".", "cannot find the current folder");
        buf.resize(got);
        return narrow(buf);
    }

    Status doChangeDirectory(const std::string& path) override {
        if (!SetCurrentDirectoryW(widen(path).c_str())) return lastError(path, "cannot change to the folder");
        return Done{};
    }

    Result<std::string> doCanonical(const std::string& path) override {
        Handle h(CreateFileW(widen(path).c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                             nullptr));
        if (!h.valid()) return lastError(path, "cannot resolve");
        std::wstring buf(MAX_PATH, L'\0');
        for (;;) {
            const DWORD n = GetFinalPathNameByHandleW(h.get(), buf.data(), static_cast<DWORD>(buf.size()),
                                                      FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
            if (n == 0) return lastError(path, "cannot resolve");
            if (n < buf.size()) {
                buf.resize(n);
                break;
            }
            buf.resize(n + 1);
        }
        std::string out = narrow(buf);
        if (out.rfind("\\\\?\\UNC\\", 0) == 0) return "\\\\" + out.substr(8);
        if (out.rfind("\\\\?\\", 0) == 0) out.erase(0, 4);
        return out;
    }

    Result<std::string> doReadLink(const std::string& path) override {
        return Error{path, "cannot read the link", "Windows paths are not mapped through links", EINVAL};
    }

    Status doCreateSymlink(const std::string&, const std::string& link) override {
        return Error{link, "cannot create the link", "Windows paths are not mapped through links", ENOSYS};
    }

    Status doRemoveFile(const std::string& path) override {
        if (!DeleteFileW(widen(path).c_str())) return lastError(path, "cannot remove");
        return Done{};
    }

    Result<std::unique_ptr<FileLock>> doLockExclusively(const std::string& path) override {
        HANDLE h = CreateFileW(widen(path).c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return lastError(path, "cannot open the lock file");
        OVERLAPPED at{};
        if (!LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &at)) {
            Error e = lastError(path, "cannot lock");
            CloseHandle(h);
            return e;
        }
        return std::unique_ptr<FileLock>(std::make_unique<LockedFile>(h));
    }

    std::optional<std::string> doEnvironment(const std::string& name) override {
        const std::wstring wide = widen(name);
        const DWORD n = GetEnvironmentVariableW(wide.c_str(), nullptr, 0);
        if (n == 0) return GetLastError() == ERROR_ENVVAR_NOT_FOUND ? std::nullopt : std::optional<std::string>("");
        std::wstring buf(n, L'\0');
        const DWORD got = GetEnvironmentVariableW(wide.c_str(), buf.data(), n);
        buf.resize(got);
        return narrow(buf);
    }
};

}  // namespace

FileSystem& FileSystem::real() {
    static RealFileSystem fs;
    return fs;
}

}  // namespace kestrin::fs
