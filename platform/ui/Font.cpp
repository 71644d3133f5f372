#include "platform/ui/Font.h"

#include <cmath>
#include <cstring>
#include <map>
#include <memory>

namespace {
struct Fonts {
    std::map<HFONT, LOGFONT> live;
    std::map<HFONT, std::unique_ptr<CFont>> wrappers;
    std::uintptr_t next = 0x1000;
};
Fonts& fonts() {
    static Fonts f;
    return f;
}
}  // namespace

LONG heightOfPoints(int points) { return -static_cast<LONG>(std::lround(points * 96.0 / 72.0)); }
int pointsOfHeight(LONG height) { return static_cast<int>(std::lround(std::abs(height) * 72.0 / 96.0)); }

namespace kestrin::ui {

bool fontDescription(HFONT font, LOGFONT& out) {
    const auto& live = fonts().live;
    const auto it = live.find(font);
    if (it == live.end()) return false;
    out = it->second;
    return true;
}

HFONT createFontHandle(const LOGFONT& lf) {
    auto& f = fonts();
    const HFONT h = reinterpret_cast<HFONT>(f.next);
    f.next += 0x10;
    f.live[h] = lf;
    f.live[h].lfFaceName[LF_FACESIZE - 1] = '\0';
    return h;
}

void deleteFontHandle(HFONT font) {
    auto& f = fonts();
    f.live.erase(font);
    if (auto it = f.wrappers.find(font); it != f.wrappers.end()) {
        it->second->m_hObject = nullptr;
        f.wrappers.erase(it);
    }
}

}  // namespace kestrin::ui

CFont::~CFont() {
    if (!temporary_) DeleteObject();
}

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
                       BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                       BYTE pitchAndFamily, const char* faceName) {
    LOGFONT lf;
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = weight;
    lf.lfItalic = italic;
    lf.lfUnderline = underline;
    lf.lfStrikeOut = strikeOut;
    lf.lfCharSet = charSet;
    lf.lfOutPrecision = outPrecision;
    lf.lfClipPrecision = clipPrecision;
    lf.lfQuality = quality;
    lf.lfPitchAndFamily = pitchAndFamily;
    if (faceName) std::strncpy(lf.lfFaceName, faceName, LF_FACESIZE - 1);
    return CreateFontIndirect(&lf);
}

BOOL CFont::CreatePointFont(int pointSizeTenths, const char* faceName, CDC*) {
    LOGFONT lf;
    lf.lfHeight = -static_cast<LONG>(std::lround(pointSizeTenths * 96.0 / 720.0));
    if (faceName) std::strncpy(lf.lfFaceName, faceName, LF_FACESIZE - 1);
    return CreateFontIndirect(&lf);
}

BOOL CFont::CreateFontIndirect(const LOGFONT* lf) {
    if (lf == nullptr || m_hObject != nullptr) return FALSE;
    m_hObject = kestrin::ui::createFontHandle(*lf);
    return TRUE;
}

int CFont::GetLogFont(LOGFONT* lf) const {
    if (lf == nullptr || !kestrin::ui::fontDescription(m_hObject, *lf)) return 0;
    return static_cast<int>(sizeof(LOGFONT));
}

BOOL CFont::DeleteObject() {
    if (m_hObject == nullptr) return FALSE;
    const HFONT h = m_hObject;
    m_hObject = nullptr;
    kestrin::ui::deleteFontHandle(h);
    return TRUE;
}

BOOL CFont::Attach(HFONT font) {
    if (m_hObject != nullptr || font == nullptr) return FALSE;
    m_hObject = font;
    return TRUE;
}

HFONT CFont::Detach() {
    const HFONT h = m_hObject;
    m_hObject = nullptr;
    return h;
}

CFont* CFont::FromHandle(HFONT font) {
    if (font == nullptr) return nullptr;
    auto& f = fonts();
    if (!f.live.count(font)) return nullptr;
    auto& slot = f.wrappers[font];
    if (!slot) {
        slot = std::make_unique<CFont>();
        slot->m_hObject = font;
        slot->temporary_ = true;
    }
    return slot.get();
}
