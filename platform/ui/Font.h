// CFont: fonts by face name and size. A font handle names a logical font
// description; windows keep the face and size they were given, so a view can
// show them.
#pragma once

#include <string>

#include "platform/win/Types.h"

inline constexpr int LF_FACESIZE = 32;
inline constexpr LONG FW_NORMAL = 400;
inline constexpr LONG FW_BOLD = 700;
inline constexpr BYTE DEFAULT_CHARSET = 1;
inline constexpr BYTE SYMBOL_CHARSET = 2;
inline constexpr BYTE RUSSIAN_CHARSET = 204;

struct LOGFONT {
    LONG lfHeight = 0;
    LONG lfWidth = 0;
    LONG lfEscapement = 0;
    LONG lfOrientation = 0;
    LONG lfWeight = FW_NORMAL;
    BYTE lfItalic = 0;
    BYTE lfUnderline = 0;
    BYTE lfStrikeOut = 0;
    BYTE lfCharSet = DEFAULT_CHARSET;
    BYTE lfOutPrecision = 0;
    BYTE lfClipPrecision = 0;
    BYTE lfQuality = 0;
    BYTE lfPitchAndFamily = 0;
    char lfFaceName[LF_FACESIZE] = {};
};
using LPLOGFONT = LOGFONT*;

// Character height in pixels of a point size on the 96-dpi screen, and back.
LONG heightOfPoints(int points);
int pointsOfHeight(LONG height);

class CDC;

class CFont {
public:
    CFont() = default;
    virtual ~CFont();
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;

    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
                    BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                    BYTE pitchAndFamily, const char* faceName);
    BOOL CreatePointFont(int pointSizeTenths, const char* faceName, CDC* dc = nullptr);
    BOOL CreateFontIndirect(const LOGFONT* lf);
    int GetLogFont(LOGFONT* lf) const;
    BOOL DeleteObject();
    void* GetSafeHandle() const { return m_hObject; }
    operator HFONT() const { return m_hObject; }
    BOOL Attach(HFONT font);
    HFONT Detach();

    // The framework's object for a font handle (not owning it).
    static CFont* FromHandle(HFONT font);

    HFONT m_hObject = nullptr;

private:
    bool temporary_ = false;  // a FromHandle object: does not own the handle
};

namespace kestrin::ui {
// The description of a live font handle; false for a deleted one.
bool fontDescription(HFONT font, LOGFONT& out);
// Creates a font owned by nobody (for dialog template fonts).
HFONT createFontHandle(const LOGFONT& lf);
void deleteFontHandle(HFONT font);
}  // namespace kestrin::ui
