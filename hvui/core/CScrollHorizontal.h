// CScrollHorizontal: the horizontal scroll bar of a panel (id 2).
#pragma once

#include "MScroll.h"

class HVUI_API CScrollHorizontal : public MScroll {
public:
    HVUI_INLINE_API CScrollHorizontal(MObject* parent, unsigned id, CRect rect, int visible)
        : MScroll(parent, id, rect, visible, false) {}
};
