// MButton: a push button whose four-frame image strip (normal, hover,
// pressed, disabled) is nine-sliced and whose title is drawn centred. All
// four states are painted once into one cached surface; a state change only
// composites another slot of it. Owns its icon image (drawn by
// CImageButton); borrows its frame strip from the dialog's image cache.
#pragma once

#include <memory>

#include "MControlFont.h"

class HVUI_API MButton : public MControlFont {
public:
    enum State { kNormal = 0, kHover = 1, kPressed = 2, kDisabled = 3 };
    // Notification codes: pressed inside, clicked.
    static constexpr unsigned kCodePressed = 1;
    static constexpr unsigned kCodeClicked = 2;
    static constexpr int kDefaultFrameSize = 8;
    static constexpr int kDefaultIconCount = 4;

    MButton(MObject* parent, unsigned id, CRect rect, const wchar_t* title, int visible, int enabled);
    ~MButton() override;

    void DrawControl(HDC& dc, CRect clip) override;

    int SetIconImage(const wchar_t* name, int count);
    HVUI_INLINE_API void SetFrameSize(int size) { m_frameSize = size; }
    HVUI_INLINE_API void SetTextRect(CRect rect) { m_textRect = rect; }
    HVUI_INLINE_API int GetState() const { return m_state; }

protected:
    void SetControlEnabled(int enabled) override;
    int OnControlMouseMove(unsigned flags, CPoint point) override;
    int OnControlLButtonDown(unsigned flags, CPoint point) override;
    int OnControlLButtonUp(unsigned flags, CPoint point) override;
    int OnControlKeyDown(unsigned key, unsigned repeat, unsigned modifiers) override;

    // Stores state; answers 1 and asks for a composite when it changed.
    int ChangeState(int state);
    // The hover/normal state a move to point gives; the cursor follows.
    int TrackHover(CPoint point);
    void PaintTitle(Gdiplus::Graphics& graphics, int slot);

    // The icon with its frame size, copied under the state lock; shared so
    // that a paint can draw it after the lock while SetIconImage replaces it.
    struct IconFrame {
        std::shared_ptr<Gdiplus::Image> image;
        int frameWidth = 0;
        int height = 0;
    };
    IconFrame GetIconFrame() const;

    int m_state = kNormal;
    std::shared_ptr<Gdiplus::Image> m_icon;
    int m_iconFrameWidth = 0;
    int m_iconHeight = 0;
    int m_iconCount = kDefaultIconCount;
    int m_frameSize = kDefaultFrameSize;
    CRect m_textRect;
};
