// The host's own module handle and main window, as modules see them.
#pragma once

#include "platform/win/Types.h"

// The host's main window: the parent of the dialogs modules open. Created on
// first use; shown, with no parent.
HWND adsw_acadMainWnd();

// The host's own resource instance: what a module makes the framework's
// current resource source again after it loaded its own resources.
HINSTANCE acedGetAcadResourceInstance();
