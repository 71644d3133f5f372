#include "platform/registry/KeyTree.h"

#include "base/TextCase.h"

namespace kestrin::registry {

bool sameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && equalIgnoringCase(a, b);
}

bool NoCaseLess::operator()(const std::string& a, const std::string& b) const { return compareIgnoringCase(a, b) < 0; }

Key* Key::find(const std::string& subkey) const {
    const auto it = subkeys.find(subkey);
    return it == subkeys.end() ? nullptr : it->second.get();
}

Value* Key::findValue(const std::string& valueName) {
    for (auto& v : values)
        if (sameName(v.name, valueName)) return &v;
    return nullptr;
}

const Value* Key::findValue(const std::string& valueName) const {
    return const_cast<Key*>(this)->findValue(valueName);
}

std::unique_ptr<Key> Key::clone() const {
    auto copy = std::make_unique<Key>();
    copy->name = name;
    copy->isVolatile = isVolatile;
    copy->values = values;
    copy->trailingComments = trailingComments;
    for (const auto& [n, k] : subkeys) copy->subkeys.emplace(n, k->clone());
    return copy;
}

Tree::Tree() {
    for (const char* name : {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS"}) {
        roots.push_back(std::make_unique<Key>());
        roots.back()->name = name;
    }
}

Tree::Tree(const Tree& other) : headerComments(other.headerComments) {
    for (const auto& r : other.roots) roots.push_back(r->clone());
}

Tree& Tree::operator=(const Tree& other) {
    if (this != &other) {
        Tree copy(other);
        *this = std::move(copy);
    }
    return *this;
}

Key* Tree::root(const std::string& name) const {
    for (const auto& r : roots)
        if (r->name == name) return r.get();
    return nullptr;
}

Key* Tree::walk(Key* from, const std::vector<std::string>& path) const {
    for (const auto& name : path) {
        if (!from) return nullptr;
        from = from->find(name);
    }
    return from;
}

namespace {
void adopt(Key& to, const Key& from) {
    for (const auto& [name, sub] : from.subkeys) {
        if (Key* same = to.find(name)) adopt(*same, *sub);  // the file's key wins
        else if (sub->isVolatile) to.subkeys.emplace(name, sub->clone());
    }
}
}  // namespace

void Tree::adoptVolatileKeys(const Tree& from) {
    for (std::size_t i = 0; i < roots.size() && i < from.roots.size(); ++i) adopt(*roots[i], *from.roots[i]);
}

bool splitPath(const std::string& path, std::vector<std::string>& names) {
    names.clear();
    if (path.empty()) return true;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = path.find('\\', start);
        std::string name = path.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (name.empty() || name.size() > kMaxKeyNameLength) return false;
        names.push_back(std::move(name));
        if (end == std::string::npos) return true;
        start = end + 1;
    }
}

}  // namespace kestrin::registry
