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
        w->progress().low = lower;
        w->progress().high = upper;
        w->progress().pos = std::clamp(w->progress().pos, std::min(lower, upper), std::max(lower, upper));
        ++w->paints;
    }
}

void CProgressCtrl::GetRange(int& lower, int& upper) const {
    const auto* w = window();
    lower = w ? w->progress().low : 0;
    upper = w ? w->progress().high : 0;
}

int CProgressCtrl::SetPos(int pos) {
    auto* w = window();
    if (w == nullptr) return 0;
    const int old = w->progress().pos;
    w->progress().pos = std::clamp(pos, std::min(w->progress().low, w->progress().high), std::max(w->progress().low, w->progress().high));
    ++w->paints;
    return old;
}

int CProgressCtrl::GetPos() const {
    const auto* w = window();
    return w ? w->progress().pos : 0;
}

int CProgressCtrl::OffsetPos(int delta) { return SetPos(GetPos() + delta); }

int CProgressCtrl::SetStep(int step) {
    auto* w = window();
    if (w == nullptr) return 0;
    const int old = w->progress().step;
    w->progress().step = step;
    return old;
}

int CProgressCtrl::StepIt() {
    auto* w = window();
    if (w == nullptr) return 0;
    const int old = w->progress().pos;
    const int span = w->progress().high - w->progress().low;
    int next = old + w->progress().step;
    if (span > 0 && next > w->progress().high) next = w->progress().low + (next - w->progress().low) % span;
    if (span > 0 && next < w->progress().low) next = w->progress().high - (w->progress().low - next) % span;
    w->progress().pos = next;
    ++w->paints;
    return old;
}
