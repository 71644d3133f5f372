// CProgressCtrl: a range, a position and a step. StepIt past the upper end
// wraps around to the lower end, as the real control does.
#pragma once

#include "platform/ui/Wnd.h"

class CProgressCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    void SetRange(short lower, short upper);
    void SetRange32(int lower, int upper);
    void GetRange(int& lower, int& upper) const;
    int SetPos(int pos);  // answers the previous position
    int GetPos() const;
    int OffsetPos(int delta);
    int SetStep(int step);  // answers the previous step
    int StepIt();           // answers the previous position

    bool fitsKind(kestrin::ui::WindowKind k) const override { return k == kestrin::ui::WindowKind::ProgressBar; }
};
