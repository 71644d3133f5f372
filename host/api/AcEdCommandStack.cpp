#include "host/api/AcEdCommandStack.h"

#include <algorithm>
#include <cstring>

#include "host/db/RecordTags.h"

using kestrin::db::sameName;

ACRX_DEFINE_MEMBERS(AcEdCommand, AcRxObject)
ACRX_DEFINE_MEMBERS(AcEdCommandStack, AcRxObject)

namespace {
bool validName(const char* name) {
    if (name == nullptr || *name == '\0') return false;
    for (const char* c = name; *c != '\0'; ++c)
        if (static_cast<unsigned char>(*c) <= ' ') return false;
    return true;
}
}  // namespace

AcEdCommandStack::~AcEdCommandStack() = default;

Acad::ErrorStatus AcEdCommandStack::addCommand(const char* groupName, const char* globalName, const char* localName,
                                               Adesk::Int32 flags, AcRxFunctionPtr function, AcEdUIContext* context,
                                               int functionCode, HINSTANCE resourceHandle, AcEdCommand** command) {
    if (command != nullptr) *command = nullptr;
    if (!validName(groupName) || !validName(globalName) || function == nullptr) return Acad::eInvalidInput;
    if (localName == nullptr || *localName == '\0') localName = globalName;
    if (!validName(localName)) return Acad::eInvalidInput;
    auto group = std::find_if(groups_.begin(), groups_.end(), [&](const Group& g) { return sameName(g.name, groupName); });
    if (group == groups_.end()) {
        groups_.push_back(Group{groupName, {}});
        group = groups_.end() - 1;
    }
    for (const auto& c : group->commands)
        if (sameName(c->globalName(), globalName)) return Acad::eDuplicateKey;
    group->commands.push_back(std::make_unique<AcEdCommand>(group->name, globalName, localName, flags, function,
                                                            context, functionCode, resourceHandle));
    if (command != nullptr) *command = group->commands.back().get();
    return Acad::eOk;
}

Acad::ErrorStatus AcEdCommandStack::removeCmd(const char* groupName, const char* globalName) {
    if (groupName == nullptr || globalName == nullptr) return Acad::eInvalidInput;
    for (auto g = groups_.begin(); g != groups_.end(); ++g) {
        if (!sameName(g->name, groupName)) continue;
        auto& commands = g->commands;
        const auto it = std::find_if(commands.begin(), commands.end(),
                                     [&](const auto& c) { return sameName(c->globalName(), globalName); });
        if (it == commands.end()) return Acad::eKeyNotFound;
        commands.erase(it);
        if (commands.empty()) groups_.erase(g);
        return Acad::eOk;
    }
    return Acad::eKeyNotFound;
}

Acad::ErrorStatus AcEdCommandStack::removeGroup(const char* groupName) {
    if (groupName == nullptr) return Acad::eInvalidInput;
    const auto it = std::find_if(groups_.begin(), groups_.end(), [&](const Group& g) { return sameName(g.name, groupName); });
    if (it == groups_.end()) return Acad::eKeyNotFound;
    groups_.erase(it);
    return Acad::eOk;
}

AcEdCommand* AcEdCommandStack::lookupCmd(const char* name, bool globalFlag) const {
    if (name == nullptr) return nullptr;
    for (auto g = groups_.rbegin(); g != groups_.rend(); ++g)
        for (const auto& c : g->commands)
            if (sameName(globalFlag ? c->globalName() : c->localName(), name)) return c.get();
    return nullptr;
}

AcEdCommand* AcEdCommandStack::lookupGlobalCmd(const char* name) const { return lookupCmd(name, true); }
AcEdCommand* AcEdCommandStack::lookupLocalCmd(const char* name) const { return lookupCmd(name, false); }

std::vector<std::string> AcEdCommandStack::groupNames() const {
    std::vector<std::string> names;
    for (const Group& g : groups_) names.push_back(g.name);
    return names;
}

std::vector<std::string> AcEdCommandStack::commandsOf(const char* groupName) const {
    std::vector<std::string> names;
    for (const Group& g : groups_)
        if (groupName != nullptr && sameName(g.name, groupName))
            for (const auto& c : g.commands) names.emplace_back(c->globalName());
    return names;
}

void AcEdCommandStack::removeAll() { groups_.clear(); }

namespace kestrin::host {
AcEdCommandStack& commandStack() {
    static AcEdCommandStack stack;
    return stack;
}
}  // namespace kestrin::host
