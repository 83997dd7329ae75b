// MObject: the root of every framework object that can be a parent. A parent
// hears from its children through two entries: notifications
// (OnBaseMessage) and redraw requests (OnControlUpdate).
#pragma once

#include <windows.h>

#include "CRect.h"
#include "HvuiExport.h"

class MControl;

class HVUI_API MObject {
public:
    MObject();
    virtual ~MObject();

    // 1 when GetClassNameW() equals name exactly (case-sensitive), else 0.
    virtual int IsClass(const wchar_t* name);
    virtual const wchar_t* GetClassNameW() const;
    virtual const wchar_t* GetObjectClass();
    virtual const wchar_t* BaseObjectClassName();
    virtual LRESULT OnBaseMessage(unsigned id, unsigned code, WPARAM wParam, LPARAM lParam);
    // updateCode 1: the control's content changed and its cached surface must
    // be repainted; 0: composite the existing surface again.
    virtual LRESULT OnControlUpdate(CRect rect, int updateCode, MControl* control);
};
