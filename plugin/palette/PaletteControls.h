// What the composition palette holds of its window: the values exchanged
// with its controls (stored as typed), the controls it addresses directly,
// its tooltips and its images. The palette dialog inherits it privately, so
// only the dialog reaches these members.
#pragma once

#include <string>

#include "platform/ui/Framework.h"
#include "plugin/palette/FilterEdit.h"

struct PaletteControls {
    std::string m_strText;       // 8019
    std::string m_strHeight;     // 8003
    std::string m_strRotation = "0";  // 8006
    std::string m_strStyle;      // 8002
    std::string m_strOblique = "0";   // 8005
    std::string m_strWidth = "0.6";   // 8004
    std::string m_strOffsetX;    // 8015
    std::string m_strOffsetY;    // 8016
    int m_modeStates[4] = {0, 0, 0, 0};  // 8029..8032
    std::string m_strRoman;      // 8038
    std::string m_strLanguage;   // 8056

    CButton m_btnCut, m_btnCopy, m_btnPaste;                 // 8008 8007 8011
    CButton m_btnLeft, m_btnCenter, m_btnRight;              // 8021 8022 8023
    CButton m_btnCase, m_btnLayout;                          // 8046 8048
    CButton m_btnOwnFont, m_btnUndo, m_btnEditText;          // 8013 8044 8043
    CButton m_btnHelp, m_btnAbout, m_btnExit;                // 4 3 2
    CButton m_btnPickOffset, m_btnMove, m_btnPickPoint, m_btnNewLine;  // 8017 8018 8020 8024
    CButton m_btnRomanOut;                                   // 8041
    CButton m_btnModes[4];                                   // 8029..8032
    CComboBox m_cmbStyle, m_cmbHeight, m_cmbWidth, m_cmbOblique, m_cmbRotation;  // 8002..8006
    CStatic m_stcIndicator1, m_stcIndicator2, m_stcLanguage;  // 8053 8057 8056
    // Filtered edit fields (their character filters are set in OnInitDialog).
    CFilterEdit m_edtOffsetX, m_edtOffsetY, m_edtRoman, m_edtText;  // 8015 8016 8038 8019

    CToolTipCtrl* m_pToolTip = nullptr;  // built anew after each hand-over
    HICON m_hIcon = nullptr;
    CBitmap m_bitmaps[42];  // the buttons' images, in the order of kButtonBitmaps
    CFont m_fontSymbol;     // the Greek letter buttons' font; outlives them
};
