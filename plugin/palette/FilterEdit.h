// CFilterEdit: an edit control that refuses typed characters by a character
// list and paints itself black on white. Only typed characters are filtered;
// text put in by the program or by pasting is taken as it is.
#pragma once

#include <string>

#include "platform/ui/Framework.h"

// Answer of filterChar for a refused character.
inline constexpr int kCharRefused = -1;

// Decides a typed character: backspace (8) and blank (32) always pass. With
// a non-empty list, mode 1 accepts exactly the listed characters and any
// other mode refuses exactly them; with an empty list, mode 1 accepts all
// and any other mode refuses all. Blanks in the list only separate entries.
// Answers the character, or kCharRefused.
int filterChar(UINT c, const std::string& characters, BYTE listMode);

class CFilterEdit : public CEdit {
public:
    CFilterEdit();
    ~CFilterEdit() override;

    // The characters the list mode accepts (mode 1) or refuses (any other).
    void setCharacterList(const std::string& characters, BYTE listMode = 1);
    const std::string& characterList() const { return m_strCharacters; }
    BYTE listMode() const { return m_nListMode; }

    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    // Colour request reflected from the parent dialog.
    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);

    COLORREF m_crText;
    COLORREF m_crBackground;
    CBrush m_brBackground;

protected:
    DECLARE_MESSAGE_MAP()

private:
    std::string m_strCharacters;
    BYTE m_nListMode = 1;
};
