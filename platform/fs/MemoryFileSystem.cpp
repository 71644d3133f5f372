#include "platform/fs/MemoryFileSystem.h"

#include <cerrno>

#include "platform/fs/Path.h"

namespace kestrin::fs {

namespace {

class Copy : public MappedFile {
public:
    explicit Copy(std::string bytes) : bytes_(std::move(bytes)) {}
    std::string_view bytes() const override { return bytes_; }

private:
    std::string bytes_;
};

// Writes into a node when closed, as the real file would hold it.
class MemoryOutput : public OutputFile {
public:
    explicit MemoryOutput(std::string* content) : content_(content) { content_->clear(); }
    Status write(std::string_view bytes) override {
        content_->append(bytes);
        return Done{};
    }
    Status close() override { return Done{}; }

private:
    std::string* content_;
};

}  // namespace

MemoryFileSystem::MemoryFileSystem() { nodes_["/"] = Node{}; }

std::string MemoryFileSystem::absolute(const std::string& path) const { return normalPath(joinPath(cwd_, path)); }

Result<std::string> MemoryFileSystem::locate(const std::string& path, bool followLast, const std::string& action) const {
    std::vector<std::string> pending = splitPath(absolute(path));
    std::string at = "/";
    int hops = 0;
    for (std::size_t i = 0; i < pending.size(); ++i) {
        const std::string& part = pending[i];
        if (part == ".") continue;
        if (part == "..") {
            at = parentPath(at).empty() ? "/" : parentPath(at);
            continue;
        }
        const auto here = nodes_.find(at);
        if (here->second.type != FileType::Directory) return osError(path, action, ENOTDIR);
        const std::string next = joinPath(at, part);
        const auto it = nodes_.find(next);
        if (it == nodes_.end()) return osError(path, action, ENOENT);
        const bool last = i + 1 == pending.size();
        if (it->second.type == FileType::Symlink && (!last || followLast)) {
            if (++hops > 40) return osError(path, action, ELOOP);
            std::vector<std::string> rest = splitPath(it->second.content);
            if (!it->second.content.empty() && it->second.content.front() == '/') at = "/";
            rest.insert(rest.end(), pending.begin() + static_cast<std::ptrdiff_t>(i) + 1, pending.end());
            pending = std::move(rest);
            i = static_cast<std::size_t>(-1);
            continue;
        }
        at = next;
    }
    return at;
}

MemoryFileSystem::Node* MemoryFileSystem::find(const std::string& held) {
    auto it = nodes_.find(held);
    return it == nodes_.end() ? nullptr : &it->second;
}

void MemoryFileSystem::addDirectory(const std::string& path) {
    const std::string p = absolute(path);
    if (p != "/") addDirectory(parentPath(p));
    nodes_.emplace(p, Node{});
}

void MemoryFileSystem::addFile(const std::string& path, std::string content, unsigned mode) {
    const std::string p = absolute(path);
    addDirectory(parentPath(p));
    nodes_[p] = Node{FileType::Regular, std::move(content), mode, ++writes_};
}

void MemoryFileSystem::addSymlink(const std::string& target, const std::string& link) {
    const std::string p = absolute(link);
    addDirectory(parentPath(p));
    nodes_[p] = Node{FileType::Symlink, target, 0777};
}

std::vector<std::string> MemoryFileSystem::paths() const {
    std::vector<std::string> out;
    for (const auto& [p, node] : nodes_) out.push_back(p);
    return out;
}

Result<FileStatus> MemoryFileSystem::doStatus(const std::string& path, bool followLinks) {
    auto held = locate(path, followLinks, "cannot look at");
    if (!held) {
        if (held.error().code == ENOENT || held.error().code == ENOTDIR) return FileStatus{};
        return held.error();
    }
    const Node& n = *find(*held);
    return FileStatus{n.type, n.content.size(), n.mode, n.version, n.version};
}

Result<std::string> MemoryFileSystem::doReadFile(const std::string& path) {
    auto held = locate(path, true, "cannot open");
    if (!held) return held.error();
    const Node& n = *find(*held);
    if (n.type != FileType::Regular)
        return Error{path, "cannot read", n.type == FileType::Directory ? "is a folder" : "not a regular file",
                     n.type == FileType::Directory ? EISDIR : EINVAL};
    return n.content;
}

Result<std::unique_ptr<MappedFile>> MemoryFileSystem::doMapFile(const std::string& path) {
    auto content = doReadFile(path);
    if (!content) return content.error();
    return std::unique_ptr<MappedFile>(std::make_unique<Copy>(std::move(*content)));
}

Status MemoryFileSystem::parentFolder(const std::string& held, const std::string& path, const std::string& action) {
    const std::string parent = parentPath(held);
    auto dir = locate(parent.empty() ? "/" : parent, true, action);
    if (!dir) return osError(path, action, dir.error().code);
    if (find(*dir)->type != FileType::Directory) return osError(path, action, ENOTDIR);
    return Done{};
}

Status MemoryFileSystem::doWriteAtomically(const std::string& path, const std::function<void(const ByteSink&)>& produce) {
    // Where the bytes land: links followed to their target.
    std::string target = absolute(path);
    for (int hops = 0;; ++hops) {
        auto held = locate(target, false, "cannot save");
        if (!held) break;
        Node& n = *find(*held);
        if (n.type != FileType::Symlink) {
            target = *held;
            break;
        }
        if (hops > 40) return osError(path, "cannot follow the link", ELOOP);
        target = n.content.front() == '/' ? n.content : normalPath(joinPath(parentPath(*held), n.content));
    }
    const std::string dir = parentPath(target);
    Status folder = parentFolder(target, path, "folder " + dir);
    if (!folder) return folder;
    auto held = locate(target, true, "cannot save");
    const std::string file = held ? *held : joinPath(*locate(dir, true, "cannot save"), fileName(target));
    unsigned mode = 0644;
    if (Node* old = find(file)) {
        if (old->type != FileType::Regular)
            return Error{path, "cannot replace " + file,
                         old->type == FileType::Directory ? "it is a folder" : "it is not a regular file (a device, FIFO or socket)",
                         old->type == FileType::Directory ? EISDIR : EINVAL};
        if ((old->mode & 0222) == 0) return Error{path, "cannot replace " + file, "it is write-protected", EACCES};
        mode = old->mode;
    }
    std::string bytes;
    produce([&bytes](std::string_view b) { bytes.append(b); });
    nodes_[file] = Node{FileType::Regular, std::move(bytes), mode, ++writes_};
    return Done{};
}

Status MemoryFileSystem::doRename(const std::string& from, const std::string& to) {
    auto src = locate(from, false, "cannot rename to " + to);
    if (!src) return src.error();
    const std::string dst = absolute(to);
    Status folder = parentFolder(dst, from, "cannot rename to " + to);
    if (!folder) return folder;
    if (Node* existing = find(dst); existing && existing->type == FileType::Directory)
        return osError(from, "cannot rename to " + to, EISDIR);
    // A folder moves with everything below it.
    std::map<std::string, Node> moved;
    for (auto it = nodes_.begin(); it != nodes_.end();) {
        if (it->first == *src || it->first.compare(0, src->size() + 1, *src + "/") == 0) {
            moved[dst + it->first.substr(src->size())] = std::move(it->second);
            it = nodes_.erase(it);
        } else {
            ++it;
        }
    }
    for (auto& [p, n] : moved) nodes_[p] = std::move(n);
    return Done{};
}

Result<std::unique_ptr<OutputFile>> MemoryFileSystem::doOpenForWriting(const std::string& path) {
    const std::string p = absolute(path);
    Status folder = parentFolder(p, path, "cannot open for writing");
    if (!folder) return folder.error();
    auto held = locate(p, true, "cannot open for writing");
    const std::string file = held ? *held : joinPath(*locate(parentPath(p), true, ""), fileName(p));
    Node& n = nodes_[file];
    if (held && n.type != FileType::Regular) return Error{path, "cannot open for writing", "not a file or a device", EINVAL};
    n.type = FileType::Regular;
    n.version = ++writes_;
    if (!held) n.mode = 0644;
    return std::unique_ptr<OutputFile>(std::make_unique<MemoryOutput>(&n.content));
}

Result<std::vector<DirEntry>> MemoryFileSystem::doListDirectory(const std::string& path) {
    auto held = locate(path, true, "cannot list");
    if (!held) return held.error();
    if (find(*held)->type != FileType::Directory) return osError(path, "cannot list", ENOTDIR);
    std::vector<DirEntry> out;
    const std::string prefix = *held == "/" ? "/" : *held + "/";
    for (auto it = nodes_.lower_bound(prefix); it != nodes_.end() && it->first.compare(0, prefix.size(), prefix) == 0; ++it) {
        const std::string name = it->first.substr(prefix.size());
        if (name.empty() || name.find('/') != std::string::npos) continue;
        FileType type = it->second.type;
        if (type == FileType::Symlink) {
            auto st = doStatus(it->first, true);
            type = st && st->exists() ? st->type : FileType::Symlink;
        }
        out.push_back({name, type});
    }
    return out;
}

Status MemoryFileSystem::doCreateDirectory(const std::string& path) {
    const std::string p = absolute(path);
    Status folder = parentFolder(p, path, "cannot create folder");
    if (!folder) return folder;
    if (locate(p, false, "").ok()) return osError(path, "cannot create folder", EEXIST);
    nodes_[joinPath(*locate(parentPath(p), true, ""), fileName(p))] = Node{};
    return Done{};
}

Status MemoryFileSystem::doChangeDirectory(const std::string& path) {
    auto held = locate(path, true, "cannot change to the folder");
    if (!held) return held.error();
    if (nodes_.at(*held).type != FileType::Directory) return osError(path, "cannot change to the folder", ENOTDIR);
    cwd_ = *held;
    return Done{};
}

Result<std::string> MemoryFileSystem::doCanonical(const std::string& path) { return locate(path, true, "cannot resolve"); }

Result<std::string> MemoryFileSystem::doReadLink(const std::string& path) {
    auto held = locate(path, false, "cannot read the link");
    if (!held) return held.error();
    const Node& n = *find(*held);
    if (n.type != FileType::Symlink) return osError(path, "cannot read the link", EINVAL);
    return n.content;
}

Status MemoryFileSystem::doCreateSymlink(const std::string& target, const std::string& link) {
    const std::string p = absolute(link);
    Status folder = parentFolder(p, link, "cannot create the link");
    if (!folder) return folder;
    if (locate(p, false, "").ok()) return osError(link, "cannot create the link", EEXIST);
    nodes_[joinPath(*locate(parentPath(p), true, ""), fileName(p))] = Node{FileType::Symlink, target, 0777};
    return Done{};
}

Status MemoryFileSystem::doRemoveFile(const std::string& path) {
    auto held = locate(path, false, "cannot remove");
    if (!held) return held.error();
    if (find(*held)->type == FileType::Directory) return osError(path, "cannot remove", EISDIR);
    nodes_.erase(*held);
    return Done{};
}

std::optional<std::string> MemoryFileSystem::doEnvironment(const std::string& name) {
    auto it = env_.find(name);
    if (it == env_.end()) return std::nullopt;
    return it->second;
}

Result<std::unique_ptr<FileLock>> MemoryFileSystem::doLockExclusively(const std::string& path) {
    auto dir = locate(parentPath(absolute(path)), true, "cannot open the lock file");
    if (!dir) return dir.error();
    if (find(*dir)->type != FileType::Directory) return osError(path, "cannot open the lock file", ENOTDIR);
    return std::make_unique<FileLock>();
}

}  // namespace kestrin::fs
