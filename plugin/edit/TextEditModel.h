// What the edit dialog does to the picked entity apart from its controls, so
// that its handlers only translate control events into calls here:
// - the string written into the entity by its class (a text's or an
//   attribute's string, a multiline text's contents, an attribute
//   definition's tag), with the drawing regenerated when the entity lies in
//   a block;
// - an attribute definition's tag in force: a refused tag puts it back, so
//   the partial tags written while typing do not stay; the refusal is said
//   once until a tag is taken again;
// - an entity left with an empty string is erased;
// - the next entity picked, and whether it lies in a block.
#pragma once

#include <string>

#include "plugin/edit/EditCommand.h"
#include "plugin/palette/TextProperties.h"

class TextEditModel {
public:
    TextEditModel(TextProperties& record, const EditPick& picked) : record_(record), inBlock_(picked.inBlock) {}

    // The picked entity's string, as the record holds it; from now on the
    // tag in force.
    const std::string& load();
    // `text` into the record and the entity; graphics flushed.
    void write(const std::string& text);
    // With `text` empty `entity` is erased (the record's text is left as it
    // is); otherwise only the record's text is emptied.
    void eraseIfEmpty(const std::string& text, const ads_name entity);
    // OK, once the entity holds `text`: the entity erased when it is empty,
    // and the next one picked (record.picked is set while it is asked for).
    // False when the user cancelled.
    bool finishAndPickNext(const std::string& text);

private:
    TextProperties& record_;
    bool inBlock_;
    std::string tagInForce_;
    bool tagRefused_ = false;
};
