// The command stack: groups of named commands. A command is found by its
// global or local name without regard to case; the group added last wins.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/db/AcRxObject.h"
#include "host/db/AcadTypes.h"
#include "platform/win/Types.h"

class AcEdUIContext;
using AcRxFunctionPtr = void (*)();

inline constexpr Adesk::Int32 ACRX_CMD_MODAL = 0;
inline constexpr Adesk::Int32 ACRX_CMD_TRANSPARENT = 1;
inline constexpr Adesk::Int32 ACRX_CMD_USEPICKSET = 2;
inline constexpr Adesk::Int32 ACRX_CMD_REDRAW = 4;

class AcEdCommand : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcEdCommand)
    AcEdCommand(std::string group, std::string globalName, std::string localName, Adesk::Int32 flags,
                AcRxFunctionPtr function, AcEdUIContext* context, int functionCode, HINSTANCE resourceHandle)
        : group_(std::move(group)), globalName_(std::move(globalName)), localName_(std::move(localName)),
          flags_(flags), function_(function), context_(context), functionCode_(functionCode),
          resourceHandle_(resourceHandle) {}

    const char* groupName() const { return group_.c_str(); }
    const char* globalName() const { return globalName_.c_str(); }
    const char* localName() const { return localName_.c_str(); }
    Adesk::Int32 commandFlags() const { return flags_; }
    AcRxFunctionPtr functionAddr() const { return function_; }
    AcEdUIContext* UIContext() const { return context_; }
    int functionCode() const { return functionCode_; }
    HINSTANCE resourceHandle() const { return resourceHandle_; }

private:
    std::string group_, globalName_, localName_;
    Adesk::Int32 flags_;
    AcRxFunctionPtr function_;
    AcEdUIContext* context_;
    int functionCode_;
    HINSTANCE resourceHandle_;
};

class AcEdCommandStack : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcEdCommandStack)
    ~AcEdCommandStack() override;

    // eInvalidInput for a missing or blank name or function; eDuplicateKey
    // when the group has a command of that global name already.
    Acad::ErrorStatus addCommand(const char* groupName, const char* globalName, const char* localName,
                                 Adesk::Int32 flags, AcRxFunctionPtr function, AcEdUIContext* context = nullptr,
                                 int functionCode = -1, HINSTANCE resourceHandle = nullptr,
                                 AcEdCommand** command = nullptr);
    // eKeyNotFound when there is no such command or group.
    Acad::ErrorStatus removeCmd(const char* groupName, const char* globalName);
    Acad::ErrorStatus removeGroup(const char* groupName);

    AcEdCommand* lookupGlobalCmd(const char* name) const;
    AcEdCommand* lookupLocalCmd(const char* name) const;
    AcEdCommand* lookupCmd(const char* name, bool globalFlag) const;

    // Global names of a group's commands in the order they were added (empty
    // when there is no such group).
    std::vector<std::string> commandsOf(const char* groupName) const;
    // The groups' names in the order they were first added.
    std::vector<std::string> groupNames() const;
    void removeAll();

private:
    struct Group {
        std::string name;
        std::vector<std::unique_ptr<AcEdCommand>> commands;
    };
    std::vector<Group> groups_;
};

namespace kestrin::host {
AcEdCommandStack& commandStack();
}
