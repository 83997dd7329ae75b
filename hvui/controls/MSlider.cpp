#include "MSlider.h"

#include <algorithm>
#include <mutex>

#include "ImgResInfo.h"
#include "PaintManager.h"

using namespace Gdiplus;

namespace {
using Lock = std::lock_guard<CriticalSection>;
}  // namespace

MSlider::MSlider(MObject* parent, unsigned id, CRect rect, int visible, int enabled)
    : MControlFont(parent, id, rect, L"", visible, enabled, 1) {
    PlaceThumb();
}

MSlider::~MSlider() = default;

// ---- geometry ------------------------------------------------------------------

int MSlider::Travel() const { return m_rect.Width() - m_thumbWidth; }

int MSlider::ThumbOffset(int value) const {
    const int travel = Travel();
    if (m_maximum == m_minimum || travel <= 0) return 0;
    const int offset = travel * (value - m_minimum) / (m_maximum - m_minimum);
    return std::clamp(offset, 0, travel);
}

void MSlider::PlaceThumb() {
    const int offset = ThumbOffset(m_progress);
    Lock lock(m_stateLock);
    m_thumbRect = CRect(m_rect.left + offset, m_rect.top, m_rect.left + offset + m_thumbWidth,
                        m_rect.top + m_thumbHeight);
}

CRect MSlider::GetThumbRect() const {
    Lock lock(m_stateLock);
    return m_thumbRect;
}

void MSlider::SetThumbSize(int width, int height) {
    m_thumbWidth = width;
    m_thumbHeight = height;
    FillThumbSizeFromImage();
    PlaceThumb();
}

void MSlider::FillThumbSizeFromImage() {
    if (m_thumbWidth == 0) m_thumbWidth = m_thumbFrameWidth;
    if (m_thumbHeight == 0) m_thumbHeight = m_thumbImageHeight;
}

void MSlider::SetControlRect(CRect rect) {
    MControlFont::SetControlRect(rect);
    FillThumbSizeFromImage();
    PlaceThumb();
}

// ---- images ----------------------------------------------------------------------

int MSlider::SetImage(const wchar_t* name, int count) {
    if (!m_manager || !name) return 0;
    // One frame whatever the caller's count: the halves are the two parts.
    ImgResInfo* info = m_manager->AddImgResInfo(name, 1);
    if (!info || !info->image) return 0;
    {
        Lock lock(m_stateLock);
        m_image = info->image;
        m_frameCount = count;
        m_frameWidth = static_cast<int>(info->image->GetWidth());
        m_imageHeight = static_cast<int>(info->image->GetHeight()) / 2;
        m_imagePath = name;
    }
    UpdateControl(1, 0);
    return 1;
}

int MSlider::SetThumbImage(const wchar_t* name) {
    if (!m_manager || !name) return 0;
    ImgResInfo* info = m_manager->AddImgResInfo(name, kThumbFrameCount);
    if (!info || !info->image) return 0;
    {
        Lock lock(m_stateLock);
        m_thumbImage = info->image;
        m_thumbFrameWidth = info->frameWidth;
        m_thumbImageHeight = info->height;
    }
    FillThumbSizeFromImage();
    PlaceThumb();
    return 1;
}

// ---- value -------------------------------------------------------------------------

int MSlider::SetProgress(int value) {
    value = std::min(value, m_maximum);
    if (value < 0 || value == m_progress) return m_progress;
    m_progress = value;
    PlaceThumb();
    UpdateControl(1, 0);
    return m_progress;
}

int MSlider::MoveThumbPos(CPoint point) {
    const int travel = Travel();
    // The way there uses the range plus one, the way back the range, so the
    // maximum is reached just before the right end of the travel.
    int value = travel > 0 ? (point.x - m_rect.left) * (m_maximum - m_minimum + 1) / travel : 0;
    value = std::clamp(m_minimum + value, m_minimum, std::max(m_minimum, m_maximum));
    if (value == m_progress) return value;
    m_progress = value;
    PlaceThumb();
    UpdateControl(1, 0);
    SendMessageW(kCodeValueChanging, static_cast<WPARAM>(value), 0);
    return value;
}

// ---- input ---------------------------------------------------------------------------

int MSlider::ChangeState(int state) {
    const int changed = state != m_state ? 1 : 0;
    m_state = state;
    return changed;
}

int MSlider::OnControlMouseMove(unsigned, CPoint point) {
    if (!m_enabled) return 0;
    if (m_state == kDragging) {
        MoveThumbPos(point);
        UpdateControl(1, 0);
        return 1;
    }
    int changed = 0;
    if (!m_pressedInside) {
        const bool over = m_rect.PtInRect(point) && GetThumbRect().PtInRect(point);
        changed = ChangeState(over ? kHover : kNormal);
    }
    if (changed || !m_update) UpdateControl(1, 0);
    return changed;
}

int MSlider::OnControlLButtonDown(unsigned, CPoint point) {
    if (!m_enabled) return 0;
    int state = m_state;
    if (GetThumbRect().PtInRect(point)) {
        state = kDragging;
        MoveThumbPos(point);
    } else {
        // A press beside the thumb jumps it there; the thumb then usually
        // lies under the pointer and the drag goes on from it.
        MoveThumbPos(point);
        if (GetThumbRect().PtInRect(point)) state = kDragging;
    }
    const int changed = ChangeState(state);
    UpdateControl(1, 0);
    return changed;
}

int MSlider::OnControlLButtonUp(unsigned, CPoint point) {
    if (!m_enabled) return 0;
    const int changed = ChangeState(GetThumbRect().PtInRect(point) ? kHover : kNormal);
    UpdateControl(1, 0);
    SendMessageW(kCodeCommitted, 0, 0);
    return changed;
}

int MSlider::OnControlScroll(int, unsigned direction, CPoint) {
    if (!m_enabled) return 0;
    // Direction 1 is the wheel turned toward the user.
    const int step = direction == 1 ? -1 : 1;
    const int value = std::clamp(m_progress + step, m_minimum, std::max(m_minimum, m_maximum));
    if (value != m_progress) {
        SetProgress(value);
        SendMessageW(kCodeCommitted, 0, 0);
    }
    return 1;
}

// ---- painting ----------------------------------------------------------------------------

void MSlider::DrawControl(HDC& dc, CRect) {
    if (PrepareMemDC(dc)) PaintContent(GetMemDC());
    PresentMemDC(dc);
}

void MSlider::PaintContent(HDC dc) {
    Graphics graphics(dc);
    graphics.SetSmoothingMode(SmoothingModeHighQuality);
    const int offset = ThumbOffset(m_progress);
    // Both images are image cache entries: copied under the lock, drawn after it.
    const ImageFrame track = GetImageFrame();
    ImageFrame thumb;
    {
        Lock lock(m_stateLock);
        thumb = ImageFrame{m_thumbImage, m_thumbFrameWidth, m_thumbImageHeight, 1};
    }
    if (track.image) {
        const int half = track.height;
        graphics.DrawImage(track.image, Rect(kTrackLeft, kTrackTop, Travel(), half), 0, half, track.frameWidth, half,
                           UnitPixel);
        if (offset > 0)
            graphics.DrawImage(track.image, Rect(kTrackLeft, kTrackTop, offset, half), 0, 0, offset, half, UnitPixel);
    }
    if (thumb.image)
        graphics.DrawImage(thumb.image, Rect(offset, 0, thumb.frameWidth, thumb.height), 0, 0, thumb.frameWidth,
                           thumb.height, UnitPixel);
}
