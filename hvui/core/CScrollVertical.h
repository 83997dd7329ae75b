// CScrollVertical: the vertical scroll bar of a panel (id 1).
#pragma once

#include "MScroll.h"

class HVUI_API CScrollVertical : public MScroll {
public:
    HVUI_INLINE_API CScrollVertical(MObject* parent, unsigned id, CRect rect, int visible) : MScroll(parent, id, rect, visible, true) {}
};
