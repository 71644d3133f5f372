#include "plugin/palette/KeyboardIndicators.h"

#include <cstring>

#include "plugin/resources/ResourceIds.h"

namespace {

void showToggle(CWnd& dialog, int field, int virtualKey, const char* onText) {
    BYTE state[256] = {};
    GetKeyboardState(state);
    dialog.SetDlgItemText(field, state[virtualKey] == 1 ? onText : "");
}

}  // namespace

void updateCapsIndicator(CWnd& dialog) { showToggle(dialog, IDC_CAPS_LOCK, VK_CAPITAL, "CAP"); }

void updateNumIndicator(CWnd& dialog) { showToggle(dialog, IDC_NUM_LOCK, VK_NUMLOCK, "NUM"); }

void updateLanguageIndicator(CWnd& dialog) {
    char name[KL_NAMELENGTH] = {};
    GetKeyboardLayoutName(name);
    const std::size_t length = std::strlen(name);
    const bool russian = length >= 3 && std::strcmp(name + length - 3, "419") == 0;
    dialog.SetDlgItemText(IDC_LANGUAGE, russian ? "RUS" : "LAT");
}

void updateKeyboardIndicators(CWnd& dialog) {
    updateCapsIndicator(dialog);
    updateNumIndicator(dialog);
    updateLanguageIndicator(dialog);
}

bool switchKeyboardLayout() {
    HKL layouts[100] = {};
    const int count = GetKeyboardLayoutList(100, layouts);
    return count >= 2 && ActivateKeyboardLayout(layouts[1], KLF_REORDER) != nullptr;
}
