// MPanel: a container control whose content may be larger than its
// rectangle. Children keep coordinates of the unscrolled content; the panel
// moves mouse points into content coordinates, draws its children shifted
// by the scroll offsets and clipped to itself, scrolls with the wheel,
// passes its children's notifications on to its parent and carries the
// panel-level control factory.
//
// Owns its two scroll bars (members of its control list, ids 1 and 2) and,
// like every control, all its children.
#pragma once

#include "MControlFont.h"

class CScrollHorizontal;
class CScrollVertical;

class HVUI_API MPanel : public MControlFont {
public:
    static constexpr unsigned kVerticalScrollId = 1;
    static constexpr unsigned kHorizontalScrollId = 2;
    static constexpr int kScrollThickness = 5;
    // Content pixels scrolled by one wheel step.
    static constexpr int kRowPixels = 40;

    MPanel(MObject* parent, unsigned id, CRect rect, int visible);
    ~MPanel() override;

    // ---- overrides -----------------------------------------------------------------
    LRESULT OnBaseMessage(unsigned id, unsigned code, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnControlUpdate(CRect rect, int updateCode, MControl* control) override;
    void InitControl(PaintManager* manager) override;
    int IsDragDrop() override;
    void DrawControl(HDC& dc, CRect clip) override;
    int DrawSubControls(HDC& dc, CRect clip) override;
    int OnMousePointChange(CPoint& point) override;
    int OnCheckMouseResponse(unsigned flags, CPoint point) override;
    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnMessage(unsigned id, unsigned code, WPARAM wParam, LPARAM lParam) override;

    // ---- slots added by the panel ---------------------------------------------------
    virtual MControl* CreateArea(const wchar_t* className, unsigned id, CRect rect, const wchar_t* title, int visible,
                                 int enabled);
    virtual MControl* CreateControl(unsigned kind, MObject* parent, const wchar_t* className, unsigned id, CRect rect,
                                    const wchar_t* title, int visible, int enabled);
    virtual MControl* CreateControl(const wchar_t* className, unsigned id, CRect rect, const wchar_t* title,
                                    int visible, int enabled);
    virtual int OnControlKeyUp(unsigned key, unsigned repeat, unsigned modifiers);

    HVUI_INLINE_API CScrollVertical* GetScrollVertical() const { return m_vScroll; }
    HVUI_INLINE_API CScrollHorizontal* GetScrollHorizontal() const { return m_hScroll; }
    void SetVirtualHeight(int height);
    void SetVirtualWidth(int width);
    HVUI_INLINE_API int GetVirtualHeight() const { return m_virtualHeight; }
    HVUI_INLINE_API int GetVirtualWidth() const { return m_virtualWidth; }
    HVUI_INLINE_API void SetEnableScroll(int enable) { m_scrollEnabled = enable ? 1 : 0; }
    HVUI_INLINE_API int GetEnableScroll() const { return m_scrollEnabled; }
    // Content pixels hidden above and left of the panel.
    int GetVerticalOffset() const;
    int GetHorizontalOffset() const;
    HVUI_INLINE_API int IsInitialised() const { return m_initialised; }

protected:
    void SetControlRect(CRect rect) override;
    void SetControlVisible(int visible) override;
    void SetControlWndVisible(int visible) override;
    void SetControlEnabled(int enabled) override;
    int OnControlTimer() override;
    int OnControlMouseMove(unsigned flags, CPoint point) override;
    int OnControlSetCursor(unsigned flags, CPoint point) override;
    int OnControlLButtonDown(unsigned flags, CPoint point) override;
    int OnControlLButtonUp(unsigned flags, CPoint point) override;
    int OnControlLButtonDblClk(unsigned flags, CPoint point) override;
    int OnControlScroll(int kind, unsigned direction, CPoint point) override;
    int OnControlRButtonDown(unsigned flags, CPoint point) override;
    int OnControlRButtonUp(unsigned flags, CPoint point) override;
    int OnControlRButtonDblClk(unsigned flags, CPoint point) override;
    int OnControlKeyDown(unsigned key, unsigned repeat, unsigned modifiers) override;

    bool IsScrollBar(const MControl* control) const;
    void LayoutScrollBars();

    int m_initialised = 0;
    int m_virtualHeight = 0;
    int m_virtualWidth = 0;
    CScrollVertical* m_vScroll = nullptr;
    CScrollHorizontal* m_hScroll = nullptr;
    int m_scrollThickness = kScrollThickness;
    int m_listMetric = 0;
    int m_horizontalExtent = 0;
    int m_scrollEnabled = 1;
};
