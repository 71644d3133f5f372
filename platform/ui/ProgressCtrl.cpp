#include "platform/ui/ProgressCtrl.h"

#include <algorithm>

BOOL CProgressCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    if (!createOwned(kestrin::ui::WindowKind::ProgressBar, parent, id, style, {})) return FALSE;
    window()->rect = rect;
    return TRUE;
}

void CProgressCtrl::SetRange(short lower, short upper) { SetRange32(lower, upper); }

void CProgressCtrl::SetRange32(int lower, int upper) {
    if (auto* w = window()) {
        w->rangeLow = lower;
        w->rangeHigh = upper;
        w->pos = std::clamp(w->pos, std::min(lower, upper), std::max(lower, upper));
        ++w->paints;
    }
}

void CProgressCtrl::GetRange(int& lower, int& upper) const {
    const auto* w = window();
    lower = w ? w->rangeLow : 0;
    upper = w ? w->rangeHigh : 0;
}

int CProgressCtrl::SetPos(int pos) {
    auto* w = window();
    if (w == nullptr) return 0;
    const int old = w->pos;
    w->pos = std::clamp(pos, std::min(w->rangeLow, w->rangeHigh), std::max(w->rangeLow, w->rangeHigh));
    ++w->paints;
    return old;
}

int CProgressCtrl::GetPos() const {
    const auto* w = window();
    return w ? w->pos : 0;
}

int CProgressCtrl::OffsetPos(int delta) { return SetPos(GetPos() + delta); }

int CProgressCtrl::SetStep(int step) {
    auto* w = window();
    if (w == nullptr) return 0;
    const int old = w->step;
    w->step = step;
    return old;
}

int CProgressCtrl::StepIt() {
    auto* w = window();
    if (w == nullptr) return 0;
    const int old = w->pos;
    const int span = w->rangeHigh - w->rangeLow;
    int next = old + w->step;
    if (span > 0 && next > w->rangeHigh) next = w->rangeLow + (next - w->rangeLow) % span;
    if (span > 0 && next < w->rangeLow) next = w->rangeHigh - (w->rangeLow - next) % span;
    w->pos = next;
    ++w->paints;
    return old;
}
