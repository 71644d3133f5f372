#include "host/cadhost/SessionAttach.h"

#include "host/api/HostSession.h"
#include "host/ui/HostWindow.h"
#include "platform/ui/ResourceChain.h"
#include "platform/ui/SessionBinding.h"

namespace kestrin::cadhost {

void attachStandIns() {
    ui::attachToSession();  // with the keyboard and message boxes
    host::attachToSession();
    ui::setApplicationInstance(acedGetAcadResourceInstance());
}

}  // namespace kestrin::cadhost
