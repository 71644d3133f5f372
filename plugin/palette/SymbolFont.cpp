#include "plugin/palette/SymbolFont.h"

#include <cstring>

bool applySymbolFont(CWnd& dialog, CFont& font) {
    CFont* dialogFont = dialog.GetFont();
    LOGFONT description;
    if (dialogFont == nullptr || dialogFont->GetLogFont(&description) == 0) return false;
    std::memset(description.lfFaceName, 0, sizeof description.lfFaceName);
    std::strncpy(description.lfFaceName, kSymbolFontFace, LF_FACESIZE - 1);
    font.DeleteObject();  // a second call replaces the font
    if (!font.CreateFontIndirect(&description)) return false;
    for (const int id : kSymbolFontButtons)
        if (CWnd* button = dialog.GetDlgItem(id)) button->SetFont(&font, TRUE);
    return true;
}
