// MSlider: a horizontal value slider, a two-part track strip and a draggable
// thumb. The track and thumb pictures are borrowed from the dialog's image
// cache; the slider owns nothing else.
//
// Notifications to the parent: code 8 (wParam = the new value) whenever a
// press or drag changes the value, code 2 when the button is released and
// after each wheel step. Setting the value from code never notifies.
#pragma once

#include <atomic>

#include "MControlFont.h"

class HVUI_API MSlider : public MControlFont {
public:
    static constexpr unsigned kCodeValueChanging = 8;
    static constexpr unsigned kCodeCommitted = 2;
    static constexpr int kDefaultThumbSize = 36;
    // Where the track strip sits in the control.
    static constexpr int kTrackLeft = 18;
    static constexpr int kTrackTop = 14;
    static constexpr int kThumbFrameCount = 4;

    enum State { kNormal = 0, kHover = 1, kDragging = 2 };

    MSlider(MObject* parent, unsigned id, CRect rect, int visible, int enabled);
    ~MSlider() override;

    void DrawControl(HDC& dc, CRect clip) override;

    using MControlFont::SetImage;
    // The track strip: upper half filled, lower half empty, one frame.
    int SetImage(const wchar_t* name, int count) override;
    int SetThumbImage(const wchar_t* name);

    int SetProgress(int value);
    HVUI_INLINE_API int GetProgress() const { return m_progress; }
    HVUI_INLINE_API int GetMinProgress() const { return m_minimum; }
    HVUI_INLINE_API int GetMaxProgress() const { return m_maximum; }
    HVUI_INLINE_API void SetMinProgress(int minimum) { m_minimum = minimum; }
    HVUI_INLINE_API void SetMaxProgress(int maximum) { m_maximum = maximum; }
    // Whether the value is shown as text; kept for the callers that switch it off.
    HVUI_INLINE_API void SetShowText(int show) { m_showText = show ? 1 : 0; }
    HVUI_INLINE_API int IsShowText() const { return m_showText; }

    // Moves the thumb to the value under point.x and answers that value.
    int MoveThumbPos(CPoint point);

    HVUI_INLINE_API int GetState() const { return m_state; }
    CRect GetThumbRect() const;
    void SetThumbSize(int width, int height);

protected:
    void SetControlRect(CRect rect) override;
    int OnControlMouseMove(unsigned flags, CPoint point) override;
    int OnControlLButtonDown(unsigned flags, CPoint point) override;
    int OnControlLButtonUp(unsigned flags, CPoint point) override;
    int OnControlScroll(int kind, unsigned direction, CPoint point) override;

private:
    int Travel() const;
    int ThumbOffset(int value) const;
    void PlaceThumb();
    void FillThumbSizeFromImage();
    int ChangeState(int state);
    void PaintContent(HDC dc);

    std::atomic<int> m_state{kNormal};
    // Set by the worker (device initialisation) while the UI thread paints.
    std::atomic<int> m_progress{0};
    int m_minimum = 0;
    int m_maximum = 100;
    int m_thumbWidth = kDefaultThumbSize;
    int m_thumbHeight = kDefaultThumbSize;
    CRect m_thumbRect;
    Gdiplus::Image* m_thumbImage = nullptr;
    int m_thumbFrameWidth = 0;
    int m_thumbImageHeight = 0;
    int m_showText = 1;
};
