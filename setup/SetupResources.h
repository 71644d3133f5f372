// The setup program's own resources: its dialogs, string table and icon.
#pragma once

#include "platform/ui/ResourceTable.h"

const kestrin::ui::ResourceTable& setupResources();
