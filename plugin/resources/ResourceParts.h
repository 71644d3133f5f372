// The parts of the module's resource table, each built in its own file.
#pragma once

#include <vector>

#include "platform/ui/ResourceTable.h"

kestrin::ui::MenuTemplate textMenuTemplate();          // 8001
kestrin::ui::DialogTemplate textPaletteTemplate();     // 8002
kestrin::ui::DialogTemplate textEditTemplate();        // 100
kestrin::ui::DialogTemplate aboutTemplate();           // 8053
std::vector<kestrin::ui::ImageResource> buttonBitmaps();  // the 42 button faces
kestrin::ui::ImageResource kestrinIcon();              // 8052
