#include "host/cadhost/SessionAttach.h"

#include "host/api/HostSession.h"
#include "host/ui/HostWindow.h"
#include "platform/keyboard/Keyboard.h"
#include "platform/ui/ModuleResources.h"

namespace kestrin::cadhost {

void attachStandIns() {
    keyboard::attachToSession();
    host::attachToSession();
    ui::setApplicationInstance(acedGetAcadResourceInstance());
}

}  // namespace kestrin::cadhost
