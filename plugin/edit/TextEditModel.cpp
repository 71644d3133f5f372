#include "plugin/edit/TextEditModel.h"

#include "base/Cp1251.h"
#include "host/api/Arx.h"
#include "plugin/frame/ObjectAccess.h"
#include "plugin/frame/TextPlacement.h"

using namespace kestrin::literals;

const std::string& TextEditModel::load() {
    tagInForce_ = record_.text;
    tagRefused_ = false;
    return record_.text;
}

void TextEditModel::write(const std::string& text) {
    record_.text = text;
    if (AcDbEntity* entity = openForWrite<AcDbEntity>(record_.entity)) {
        const AcRxClass* kind = entity->isA();
        const bool isTag = kind == AcDbAttributeDefinition::desc();
        Acad::ErrorStatus es = Acad::eOk;
        bool reportTag = false;
        if (isTag) {
            AcDbAttributeDefinition* definition = AcDbAttributeDefinition::cast(entity);
            es = definition->setTag(text.c_str());
            // An empty tag is only a passing state: an empty field erases the entity.
            if (es != Acad::eOk && !text.empty()) {
                definition->setTag(tagInForce_.c_str());
                reportTag = !tagRefused_;
                tagRefused_ = true;
            } else if (es == Acad::eOk) {
                tagRefused_ = false;
            }
        } else if (kind == AcDbText::desc() || kind == AcDbAttribute::desc()) {
            es = AcDbText::cast(entity)->setTextString(text.c_str());
        } else if (AcDbMText* mtext = AcDbMText::cast(entity)) {
            es = mtext->setContents(text.c_str());
        }
        closeOrAbort(entity);
        if (reportTag)
            acutPrintf("%s%s\"\n", "\nТег атрибута не может содержать пробелы, оставлен прежний: \""_cp,
                       tagInForce_.c_str());
        if (es != Acad::eOk && !isTag)
            acutPrintf("\nТекст \"%s\" не записан (ошибка %d), оставлен прежний.\n"_cp, text.c_str(),
                       static_cast<int>(es));
    }
    if (inBlock_) acedCommand(RTSTR, "_regen", 0);
    flushDrawingGraphics();
}

void TextEditModel::eraseIfEmpty(const std::string& text, const ads_name entity) {
    if (!text.empty()) {
        record_.text.clear();
        return;
    }
    if (AcDbEntity* opened = openForWrite<AcDbEntity>(entity)) {
        opened->erase();
        closeOrAbort(opened);
    }
}

bool TextEditModel::finishAndPickNext(const std::string& text) {
    record_.picked = 1;
    record_.text = text;
    eraseIfEmpty(text, record_.entity);
    const EditPick pick = pickEditableEntityUntilDone();
    inBlock_ = pick.inBlock;  // the last pick, until the next one
    record_.picked = 0;
    return pick.answer != kPickCancelled;
}
