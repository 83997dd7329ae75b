// MTabLayout: a tab page. A container with no look of its own that only
// shows the controls created inside it, and lets the mouse through its
// empty parts. Owns its children like any container.
//
// TODO: derive from MPanel (scrollable container) once the framework has
// it; until then the page is a plain container control.
#pragma once

#include "MControlFont.h"

class HVUI_API MTabLayout : public MControlFont {
public:
    MTabLayout(MObject* parent, unsigned id, CRect rect, int visible);
    ~MTabLayout() override;

    void DrawControl(HDC& dc, CRect clip) override;
    int DrawSubControls(HDC& dc, CRect clip) override;
    int OnCheckMouseResponse(unsigned flags, CPoint point) override;

    // Redraw requests of the page's children pass on to the page's parent.
    LRESULT OnControlUpdate(CRect rect, int updateCode, MControl* control) override;
    // So do the children's notifications: the dialog hears them.
    LRESULT OnBaseMessage(unsigned id, unsigned code, WPARAM wParam, LPARAM lParam) override;
};
