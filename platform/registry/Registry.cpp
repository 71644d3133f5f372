#include "platform/registry/Registry.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <stdexcept>

#include "platform/registry/Regedit4.h"

namespace kestrin::registry {

namespace {

std::unique_ptr<Registry>& processRegistry() {
    static std::unique_ptr<Registry> registry;
    return registry;
}

// Handles are unique across every Registry of the process, so a handle of
// one never passes for a handle of another.
HKEY nextHandleValue() {
    static std::uintptr_t next = 0x1000;
    next += 4;
    return reinterpret_cast<HKEY>(next);
}

int predefinedRoot(HKEY key) {
    const HKEY roots[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS};
    for (int i = 0; i < 4; ++i)
        if (key == roots[i]) return i;
    return -1;
}

std::string nameOf(LPCSTR name) { return name ? name : ""; }

// Copies name and its zero into a buffer of *length characters; answers
// ERROR_MORE_DATA when it does not fit, else stores the length without zero.
LSTATUS copyName(const std::string& name, LPSTR buffer, LPDWORD length) {
    if (!buffer || !length) return ERROR_INVALID_PARAMETER;
    if (name.size() + 1 > *length) return ERROR_MORE_DATA;
    std::memcpy(buffer, name.c_str(), name.size() + 1);
    *length = static_cast<DWORD>(name.size());
    return ERROR_SUCCESS;
}

// The data rules of RegQueryValueEx and RegEnumValue.
LSTATUS copyData(const Value& v, LPDWORD type, LPBYTE data, LPDWORD size) {
    if (data && !size) return ERROR_INVALID_PARAMETER;
    if (type) *type = v.type;
    if (!size) return ERROR_SUCCESS;
    const auto needed = static_cast<DWORD>(v.data.size());
    if (data && *size < needed) {
        *size = needed;
        return ERROR_MORE_DATA;
    }
    if (data && needed) std::memcpy(data, v.data.data(), needed);
    *size = needed;
    return ERROR_SUCCESS;
}

bool storable(const std::string& name) { return name.find('\n') == std::string::npos; }

}  // namespace

Registry::Registry(std::string path) : path_(std::move(path)) {}

Registry& Registry::current() {
    auto& registry = processRegistry();
    if (!registry) registry = std::make_unique<Registry>(defaultRegistryPath());
    return *registry;
}

void Registry::useFile(const std::string& path) { processRegistry() = std::make_unique<Registry>(path); }

std::string Registry::problem() {
    refresh();
    return parseError_.empty() ? ioError_ : parseError_;
}

void Registry::refresh() {
    const FileStamp stamp = stampOf(path_);
    if (read_ && stamp == stamp_) return;
    try {
        const auto text = readWholeFile(path_);
        Tree fresh = text ? readRegedit4(*text, path_) : Tree{};
        fresh.adoptVolatileKeys(tree_);
        tree_ = std::move(fresh);
        if (text && !text->empty()) newline_ = newlineOf(*text);
        parseError_.clear();
        ioError_.clear();
        stamp_ = stamp;
        read_ = true;
    } catch (const RegistryFileError& e) {
        parseError_ = e.what();
        stamp_ = stamp;
        read_ = true;
    } catch (const std::runtime_error& e) {
        ioError_ = e.what();
        read_ = false;  // try again next time
    }
}

Registry::Target Registry::resolve(const Tree& tree, HKEY key, REGSAM access) const {
    Target t;
    if (const int root = predefinedRoot(key); root >= 0) {
        t.root = static_cast<std::size_t>(root);
    } else {
        const auto it = handles_.find(key);
        if (it == handles_.end()) {
            t.status = ERROR_INVALID_HANDLE;
            return t;
        }
        if ((it->second.access & access) != access) {
            t.status = ERROR_ACCESS_DENIED;
            return t;
        }
        t.root = it->second.root;
        t.path = it->second.path;
    }
    t.key = tree.walk(tree.roots[t.root].get(), t.path);
    if (!t.key) t.status = ERROR_KEY_DELETED;
    return t;
}

HKEY Registry::newHandle(Handle handle) {
    const HKEY key = nextHandleValue();
    handles_.emplace(key, std::move(handle));
    return key;
}

LSTATUS Registry::readable() {
    refresh();
    if (!parseError_.empty()) return ERROR_BADDB;
    if (!read_) return ERROR_REGISTRY_IO_FAILED;
    return ERROR_SUCCESS;
}

template <class Change>
LSTATUS Registry::change(Change&& apply) {
    if (const LSTATUS ready = readable(); ready != ERROR_SUCCESS) return ready;
    try {
        ExclusiveLock lock(path_);
        const auto text = readWholeFile(path_);
        Tree fresh;
        try {
            fresh = text ? readRegedit4(*text, path_) : Tree{};
        } catch (const RegistryFileError& e) {
            parseError_ = e.what();
            stamp_ = stampOf(path_);
            return ERROR_BADDB;
        }
        if (text && !text->empty()) newline_ = newlineOf(*text);
        fresh.adoptVolatileKeys(tree_);
        bool touchesFile = false;
        const LSTATUS status = apply(fresh, touchesFile);
        if (status != ERROR_SUCCESS) return status;
        if (touchesFile) replaceFileAtomically(path_, writeRegedit4(fresh, newline_));
        tree_ = std::move(fresh);
        stamp_ = stampOf(path_);
        ioError_.clear();
        return ERROR_SUCCESS;
    } catch (const std::runtime_error& e) {
        ioError_ = e.what();
        return ERROR_REGISTRY_IO_FAILED;
    }
}

LSTATUS Registry::openKey(HKEY parent, LPCSTR subKey, REGSAM access, PHKEY result) {
    if (!result) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    if (const LSTATUS ready = readable(); ready != ERROR_SUCCESS) return ready;
    const Target t = resolve(tree_, parent, 0);
    if (t.status != ERROR_SUCCESS) return t.status;
    std::vector<std::string> names;
    if (!splitPath(nameOf(subKey), names)) return ERROR_FILE_NOT_FOUND;
    if (!tree_.walk(t.key, names)) return ERROR_FILE_NOT_FOUND;
    Handle h{t.root, t.path, access};
    h.path.insert(h.path.end(), names.begin(), names.end());
    *result = newHandle(std::move(h));
    return ERROR_SUCCESS;
}

LSTATUS Registry::createKey(HKEY parent, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result,
                            LPDWORD disposition) {
    if (!result) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    const bool makeVolatile = (options & REG_OPTION_VOLATILE) != 0;
    std::vector<std::string> names;
    const std::string path = nameOf(subKey);
    if (!splitPath(path, names) || !storable(path)) return ERROR_INVALID_PARAMETER;
    Target where;
    bool created = false;
    const LSTATUS status = change([&](Tree& tree, bool& touchesFile) {
        where = resolve(tree, parent, KEY_CREATE_SUB_KEY);
        if (where.status != ERROR_SUCCESS) return where.status;
        Key* key = where.key;
        // Check the whole path before creating anything.
        Key* probe = key;
        for (const auto& name : names) {
            Key* next = probe->find(name);
            if (!next) {
                if (probe->isVolatile && !makeVolatile) return ERROR_CHILD_MUST_BE_VOLATILE;
                break;
            }
            probe = next;
        }
        for (const auto& name : names) {
            Key* next = key->find(name);
            if (!next) {
                auto fresh = std::make_unique<Key>();
                fresh->name = name;
                fresh->isVolatile = makeVolatile;
                next = fresh.get();
                key->subkeys.emplace(name, std::move(fresh));
                created = true;
                touchesFile = touchesFile || !makeVolatile;
            }
            key = next;
        }
        return ERROR_SUCCESS;
    });
    if (status != ERROR_SUCCESS) return status;
    if (disposition) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    Handle h{where.root, where.path, access};
    h.path.insert(h.path.end(), names.begin(), names.end());
    *result = newHandle(std::move(h));
    return ERROR_SUCCESS;
}

LSTATUS Registry::closeKey(HKEY key) {
    if (predefinedRoot(key) >= 0) return ERROR_SUCCESS;
    return handles_.erase(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LSTATUS Registry::queryValue(HKEY key, LPCSTR name, LPDWORD type, LPBYTE data, LPDWORD size) {
    if (const LSTATUS ready = readable(); ready != ERROR_SUCCESS) return ready;
    const Target t = resolve(tree_, key, KEY_QUERY_VALUE);
    if (t.status != ERROR_SUCCESS) return t.status;
    const Value* v = t.key->findValue(nameOf(name));
    if (!v) return ERROR_FILE_NOT_FOUND;
    return copyData(*v, type, data, size);
}

LSTATUS Registry::setValue(HKEY key, LPCSTR name, DWORD type, const BYTE* data, DWORD size) {
    const std::string valueName = nameOf(name);
    if (valueName.size() > kMaxValueNameLength || !storable(valueName) || (!data && size)) return ERROR_INVALID_PARAMETER;
    return change([&](Tree& tree, bool& touchesFile) {
        const Target t = resolve(tree, key, KEY_SET_VALUE);
        if (t.status != ERROR_SUCCESS) return t.status;
        Value value;
        value.name = valueName;
        value.type = type;
        if (size) value.data.assign(reinterpret_cast<const char*>(data), size);
        if (Value* same = t.key->findValue(valueName)) {
            value.name = same->name;  // keeps its spelling and its place
            value.comments = same->comments;
            *same = std::move(value);
        } else {
            t.key->values.push_back(std::move(value));
        }
        touchesFile = !t.key->isVolatile;
        return ERROR_SUCCESS;
    });
}

LSTATUS Registry::deleteValue(HKEY key, LPCSTR name) {
    return change([&](Tree& tree, bool& touchesFile) {
        const Target t = resolve(tree, key, KEY_SET_VALUE);
        if (t.status != ERROR_SUCCESS) return t.status;
        auto& values = t.key->values;
        const auto it = std::find_if(values.begin(), values.end(),
                                     [&](const Value& v) { return sameName(v.name, nameOf(name)); });
        if (it == values.end()) return ERROR_FILE_NOT_FOUND;
        values.erase(it);
        touchesFile = !t.key->isVolatile;
        return ERROR_SUCCESS;
    });
}

LSTATUS Registry::deleteKey(HKEY parent, LPCSTR subKey) {
    std::vector<std::string> names;
    if (!splitPath(nameOf(subKey), names) || names.empty()) return ERROR_INVALID_PARAMETER;
    return change([&](Tree& tree, bool& touchesFile) {
        const Target t = resolve(tree, parent, 0);
        if (t.status != ERROR_SUCCESS) return t.status;
        const std::vector<std::string> above(names.begin(), names.end() - 1);
        Key* owner = tree.walk(t.key, above);
        Key* victim = owner ? owner->find(names.back()) : nullptr;
        if (!victim) return ERROR_FILE_NOT_FOUND;
        if (!victim->subkeys.empty()) return ERROR_ACCESS_DENIED;  // subkeys go first
        touchesFile = !victim->isVolatile;
        owner->subkeys.erase(names.back());
        return ERROR_SUCCESS;
    });
}

LSTATUS Registry::enumKey(HKEY key, DWORD index, LPSTR name, LPDWORD nameLength, PFILETIME lastWrite) {
    if (const LSTATUS ready = readable(); ready != ERROR_SUCCESS) return ready;
    const Target t = resolve(tree_, key, KEY_ENUMERATE_SUB_KEYS);
    if (t.status != ERROR_SUCCESS) return t.status;
    if (index >= t.key->subkeys.size()) return ERROR_NO_MORE_ITEMS;
    auto it = t.key->subkeys.begin();
    std::advance(it, index);
    if (lastWrite) *lastWrite = FILETIME{};
    return copyName(it->second->name, name, nameLength);
}

LSTATUS Registry::enumValue(HKEY key, DWORD index, LPSTR name, LPDWORD nameLength, LPDWORD type, LPBYTE data,
                            LPDWORD size) {
    if (const LSTATUS ready = readable(); ready != ERROR_SUCCESS) return ready;
    const Target t = resolve(tree_, key, KEY_QUERY_VALUE);
    if (t.status != ERROR_SUCCESS) return t.status;
    if (index >= t.key->values.size()) return ERROR_NO_MORE_ITEMS;
    const Value& v = t.key->values[index];
    if (const LSTATUS named = copyName(v.name, name, nameLength); named != ERROR_SUCCESS) return named;
    return copyData(v, type, data, size);
}

LSTATUS Registry::queryInfo(HKEY key, LPDWORD subKeys, LPDWORD maxSubKeyLength, LPDWORD values,
                            LPDWORD maxValueNameLength, LPDWORD maxValueLength) {
    if (const LSTATUS ready = readable(); ready != ERROR_SUCCESS) return ready;
    const Target t = resolve(tree_, key, KEY_QUERY_VALUE);
    if (t.status != ERROR_SUCCESS) return t.status;
    std::size_t longestKey = 0, longestName = 0, longestData = 0;
    for (const auto& [n, sub] : t.key->subkeys) longestKey = std::max(longestKey, sub->name.size());
    for (const auto& v : t.key->values) {
        longestName = std::max(longestName, v.name.size());
        longestData = std::max(longestData, v.data.size());
    }
    if (subKeys) *subKeys = static_cast<DWORD>(t.key->subkeys.size());
    if (maxSubKeyLength) *maxSubKeyLength = static_cast<DWORD>(longestKey);
    if (values) *values = static_cast<DWORD>(t.key->values.size());
    if (maxValueNameLength) *maxValueNameLength = static_cast<DWORD>(longestName);
    if (maxValueLength) *maxValueLength = static_cast<DWORD>(longestData);
    return ERROR_SUCCESS;
}

}  // namespace kestrin::registry
