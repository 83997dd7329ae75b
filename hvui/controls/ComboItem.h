// The record of one combo box entry, shared by the box and its drop-down
// list. Internal to the library.
#pragma once

#include "CRect.h"
#include "CString.h"
#include "GdiplusFwd.h"

struct ComboItem {
    CString text;
    CString iconName;     // kept with the item, not drawn
    Gdiplus::ARGB colour = 0;  // kept with the item, not drawn
    long data = 0;
    CRect rect;
};
