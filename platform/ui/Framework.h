// The class framework in one include, as a program of the real platform
// includes its framework header.
#pragma once

#include <string>
#include <vector>

#include "platform/clipboard/Clipboard.h"
#include "platform/keyboard/Keyboard.h"
#include "platform/ui/App.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/Button.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/Dc.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Font.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/Menu.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/MessageMap.h"
#include "platform/ui/ResourceChain.h"
#include "platform/ui/ProgressCtrl.h"
#include "platform/ui/SessionBinding.h"
#include "platform/ui/Static.h"
#include "platform/ui/ToolTipCtrl.h"
#include "platform/ui/View.h"
#include "platform/ui/Wnd.h"

// The framework's string class: CP1251 text in a standard string.
using CString = std::string;

// The framework's root object class.
class CObject {
public:
    virtual ~CObject() = default;
};

// A growing array of strings.
class CStringArray : public CObject {
public:
    INT_PTR GetSize() const { return static_cast<INT_PTR>(items_.size()); }
    INT_PTR GetCount() const { return GetSize(); }
    BOOL IsEmpty() const { return items_.empty(); }
    const CString& GetAt(INT_PTR i) const { return items_.at(static_cast<std::size_t>(i)); }
    CString& operator[](INT_PTR i) { return items_.at(static_cast<std::size_t>(i)); }
    const CString& operator[](INT_PTR i) const { return GetAt(i); }
    INT_PTR Add(const CString& s) {
        items_.push_back(s);
        return GetSize() - 1;
    }
    void RemoveAll() { items_.clear(); }

private:
    std::vector<CString> items_;
};
