// The registry's keys and values in memory. Key names match without regard
// to letter case (CP1251 rules) and enumerate in that case-insensitive
// alphabetical order; values keep the order in which they were created.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/win/Registry.h"

namespace kestrin::registry {

inline constexpr std::size_t kMaxKeyNameLength = 255;
inline constexpr std::size_t kMaxValueNameLength = 16383;

// True when a and b name the same key or value.
bool sameName(const std::string& a, const std::string& b);

struct NoCaseLess {
    bool operator()(const std::string& a, const std::string& b) const;
};

struct Value {
    std::string name;  // empty for the default value
    DWORD type = REG_NONE;
    std::string data;
    // The value's lines in the file as read (joined by '\n'), written back as
    // they stand while the value is unchanged. Empty for a value set by a
    // program.
    std::string fileLines;
    std::string comments;  // comment lines read just before the value
};

struct Key {
    std::string name;  // as created; the roots carry their HKEY_ name
    bool isVolatile = false;
    std::vector<Value> values;
    std::map<std::string, std::unique_ptr<Key>, NoCaseLess> subkeys;
    std::string trailingComments;  // comment lines after the section's last value

    Key* find(const std::string& subkey) const;
    Value* findValue(const std::string& valueName);
    const Value* findValue(const std::string& valueName) const;
    std::unique_ptr<Key> clone() const;
};

// The four roots.
struct Tree {
    Tree();
    Tree(const Tree& other);
    Tree& operator=(const Tree& other);
    Tree(Tree&&) noexcept = default;
    Tree& operator=(Tree&&) noexcept = default;

    std::vector<std::unique_ptr<Key>> roots;
    std::string headerComments;  // comment lines before the first section

    // The root of that name (HKEY_CURRENT_USER, ...) or null; exact case.
    Key* root(const std::string& name) const;
    // Walks a path of key names below a root; null when a key is missing.
    Key* walk(Key* from, const std::vector<std::string>& path) const;

    // Moves every volatile key of `from` to the same place in this tree,
    // creating no key that is missing here (a volatile key whose parent is
    // gone is lost, as when its parent is deleted).
    void adoptVolatileKeys(const Tree& from);
};

// Splits "A\B\C" into its names; false when a name is empty or too long.
bool splitPath(const std::string& path, std::vector<std::string>& names);

}  // namespace kestrin::registry
