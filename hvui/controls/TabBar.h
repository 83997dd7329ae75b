// The hover and click rules both tab bars share (TabCtrlEx, CTabCtrl5):
// which tab a point is over, given the hit rectangles set at the last paint.
// Internal to the library.
#pragma once

#include <vector>

#include "CRect.h"

namespace tab_bar {

// Index of the first rectangle (control coordinates, offset by origin) that
// contains point; −1 for none.
int HitTest(const std::vector<CRect>& rects, CPoint origin, CPoint point);

// Frame of the strip a tab shows: hover, else selected, else normal.
int FrameOf(int index, int hovered, int selected);

constexpr int kFrameNormal = 0;
constexpr int kFrameHover = 1;
constexpr int kFrameSelected = 2;
constexpr int kStripFrames = 4;
constexpr unsigned kCodeChosen = 2;
// Tab captions are always in this face, whatever the control's face field.
constexpr wchar_t kCaptionFace[] = L"Arial";

}  // namespace tab_bar
