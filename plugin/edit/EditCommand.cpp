#include "plugin/edit/EditCommand.h"

#include <cstdlib>
#include <string>

#include "base/Cp1251.h"
#include "host/api/Arx.h"
#include "host/ui/HostWindow.h"
#include "plugin/edit/TextEditDlg.h"
#include "plugin/frame/ObjectAccess.h"
#include "plugin/frame/TextPlacement.h"
#include "plugin/palette/TextProperties.h"

using namespace kestrin::literals;

namespace {

// The string an entity offers for editing; false for an entity without one.
bool editableString(AcDbEntity* entity, std::string& out) {
    if (AcDbText* text = AcDbText::cast(entity)) {
        if (entity->isA() == AcDbAttributeDefinition::desc())
            out = AcDbAttributeDefinition::cast(entity)->tagConst();
        else
            out = text->textStringConst();
        return true;
    }
    if (AcDbMText* mtext = AcDbMText::cast(entity)) {
        char* contents = mtext->contents();
        out = contents ? contents : "";
        std::free(contents);
        return true;
    }
    return false;
}

}  // namespace

void editTextCommand() {
    // No pick from an open edit dialog is under way when the command starts.
    g_textProperties.picked = 0;
    const EditPick pick = pickEditableEntityUntilDone();
    if (pick.answer == kPickDone) runEditDialog(pick);
}

EditPick pickEditableEntityUntilDone() {
    EditPick pick;
    pickUntilDone([&pick] {
        pick = pickEditableEntity();
        return pick.answer;
    });
    return pick;
}

EditPick pickEditableEntity() {
    EditPick pick;
    ads_point pickPoint = {0, 0, 0};
    ads_matrix transform = {};
    resbuf* containers = nullptr;
    const int rc = acedNEntSelP("\nВыберите примитив"_cp, g_textProperties.entity, pickPoint, 0, transform,
                                &containers);
    pick.inBlock = containers != nullptr;
    if (containers != nullptr) acutRelRb(containers);
    if (rc == RTCAN) return {kPickCancelled, pick.inBlock};
    if (rc != RTNORM) return pick;

    AcDbEntity* entity = openForWrite<AcDbEntity>(g_textProperties.entity);
    if (entity == nullptr) return pick;
    std::string taken;
    if (!editableString(entity, taken)) {
        const std::string className = entity->isA()->name();
        closeOrAbort(entity);
        acutPrintf("%s%s", "\nОшибка вы выбрали..."_cp, className.c_str());
        return pick;
    }
    g_textProperties.text = taken;
    closeOrAbort(entity);
    pick.answer = kPickDone;
    return pick;
}

void runEditDialog(const EditPick& picked) {
    CTextEditDlg dialog(CWnd::FromHandle(adsw_acadMainWnd()), picked);
    dialog.DoModal();
}
