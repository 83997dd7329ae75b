// MTabLayout: a tab page. A panel with no look of its own that only shows
// the controls created inside it (through the panel's factory), and lets the
// mouse through its empty parts. Owns its children like any container.
#pragma once

#include "MPanel.h"

class HVUI_API MTabLayout : public MPanel {
public:
    MTabLayout(MObject* parent, unsigned id, CRect rect, int visible);
    ~MTabLayout() override;

    void DrawControl(HDC& dc, CRect clip) override;
    int DrawSubControls(HDC& dc, CRect clip) override;
    int OnCheckMouseResponse(unsigned flags, CPoint point) override;

protected:
    // A hidden page keeps no surfaces: they are made again when it shows.
    void SetControlVisible(int visible) override;
};
