#include "TabBar.h"

namespace tab_bar {

int HitTest(const std::vector<CRect>& rects, CPoint origin, CPoint point) {
    for (size_t i = 0; i < rects.size(); ++i) {
        CRect rect = rects[i];
        rect.OffsetRect(origin.x, origin.y);
        if (rect.PtInRect(point)) return static_cast<int>(i);
    }
    return -1;
}

int FrameOf(int index, int hovered, int selected) {
    if (index == hovered) return kFrameHover;
    if (index == selected) return kFrameSelected;
    return kFrameNormal;
}

}  // namespace tab_bar
