// MProgress: a horizontal progress bar that can also loop as an activity
// indicator. It draws from a background/foreground image pair, or from its
// own two-frame strip (empty bar, filled bar), or, without any image, as a
// baseline with dashes. All pictures are borrowed from the dialog's image
// cache; the bar owns its two brushes' colours only.
//
// While looping, the bar holds a window timer of the paint manager under its
// own key; the timer is armed when the mode starts (or when a bar set
// running before it had a manager gets one) and killed when it stops.
#pragma once

#include <atomic>

#include "MControlFont.h"

class HVUI_API MProgress : public MControlFont {
public:
    static constexpr int kDefaultTicksPerStep = 3;
    static constexpr int kDefaultImageMargin = 12;
    static constexpr int kDefaultStripHeight = 14;
    // The bar's own image: frame 0 the empty bar, frame 1 the filled bar.
    static constexpr int kImageFrames = 2;
    static constexpr int kStripBorder = 2;
    static constexpr Gdiplus::ARGB kDefaultLineColor = 0x64050505;
    static constexpr Gdiplus::ARGB kDefaultBarTextColor = 0xFF808080;
    // The dashes of the image-less bar.
    static constexpr int kDashPeriod = 9;
    static constexpr int kDashWidth = 6;
    static constexpr int kDashHeight = 3;
    // The percentage text box, centred at the top.
    static constexpr int kTextWidth = 60;
    static constexpr int kTextHeight = 20;
    // The looping mode's window timer: one step every kDefaultTicksPerStep ticks.
    static constexpr unsigned kLoopTimerKey = 1;
    static constexpr unsigned kLoopTickMs = 30;

    MProgress(MObject* parent, unsigned id, CRect rect, int visible, int enabled);
    ~MProgress() override;

    void DrawControl(HDC& dc, CRect clip) override;

    int SetProgress(int value);
    HVUI_INLINE_API int GetProgress() const { return m_progress; }
    HVUI_INLINE_API int GetMaxProgress() const { return m_maximum; }
    HVUI_INLINE_API void SetMaxProgress(int maximum) { m_maximum = maximum; }
    HVUI_INLINE_API void EnableShowText(int show) { m_showText = show ? 1 : 0; }
    // Looping activity mode; value becomes the progress when it is in range.
    int SetRun(int run, int value);
    HVUI_INLINE_API int IsRun() const { return m_running; }

    bool SetBackGroundImage(CString name);
    bool SetForeGroundImage(CString name);
    bool SetBackGroundImage(unsigned resourceId, CString resourceType);
    bool SetForeGroundImage(unsigned resourceId, CString resourceType);

    void InitControl(PaintManager* manager) override;

protected:
    int OnControlTimer() override;

private:
    struct Picture {
        Gdiplus::Image* image = nullptr;
        int width = 0;
        int height = 0;
    };

    void FollowRunningFlag();
    bool TakePicture(ImgResInfo* info, Picture& picture);
    int FilledWidth(int width) const;
    void PaintContent(HDC dc);
    void PaintImagePair(Gdiplus::Graphics& graphics, const Picture& background, const Picture& foreground,
                        int filled);
    void PaintStrip(Gdiplus::Graphics& graphics, const ImageFrame& strip, int filled);
    void PaintDashes(Gdiplus::Graphics& graphics, int filled);
    void PaintText(Gdiplus::Graphics& graphics);

    // Set by the worker (download progress) while the UI thread paints.
    std::atomic<int> m_progress{0};
    int m_maximum = 100;
    int m_tickCounter = 0;
    int m_ticksPerStep = kDefaultTicksPerStep;
    int m_imageMargin = kDefaultImageMargin;
    int m_showText = 0;
    int m_stripHeight = kDefaultStripHeight;
    Gdiplus::ARGB m_lineColor = kDefaultLineColor;
    Gdiplus::ARGB m_fillColor;
    Picture m_background;
    Picture m_foreground;
    std::atomic<int> m_running{0};
};
