// MPicture: one image in one of six placement modes. Unlike the other
// controls it loads and owns its image (the image cache is not used), so a
// new image or the picture's end deletes the old one.
#pragma once

#include <memory>

#include "MControlFont.h"

enum enumShowMode {
    ShowNormal = 0,      // natural size, placed by the alignment
    ShowTile = 1,        // repeated from the top-left corner
    ShowStretch = 2,     // scaled to the control
    ShowFrame = 3,       // nine-slice, one border width
    ShowFrameMID = 4,    // nine-slice, four margins
    ShowCustomRect = 5,  // a source rectangle scaled to the control
};

class HVUI_API MPicture : public MControlFont {
public:
    static constexpr int kDefaultFrameBorder = 4;

    MPicture(MObject* parent, unsigned id, CRect rect, int visible, int enabled);
    ~MPicture() override;

    void DrawControl(HDC& dc, CRect clip) override;
    int SetImage(unsigned resourceId, CString resourceType, int count) override;
    int SetImage(const wchar_t* name, int count) override;

    int SetShowMode(enumShowMode mode, int border);
    int SetShowModeMID(int left, int top, int right, int bottom);
    void SetCustomRect(CRect rect);
    HVUI_INLINE_API enumShowMode GetShowMode() const { return m_showMode; }
    HVUI_INLINE_API int GetFrameBorder() const { return m_frameBorder; }

private:
    // Replaces the owned image; frame sizes change only when there is one.
    void TakeImage(Gdiplus::Image* image, int count);
    // What one paint draws, copied under the state lock so that GDI+ runs
    // after it; the image is shared so a SetImage from the worker cannot
    // delete it under the paint.
    struct Look {
        std::shared_ptr<Gdiplus::Image> image;
        int frameWidth = 0;
        int height = 0;
        enumShowMode mode = ShowNormal;
        int border = 0;
        int marginLeft = 0;
        int marginTop = 0;
        int marginRight = 0;
        int marginBottom = 0;
        CRect customRect;
        unsigned hAlign = 0;
        unsigned vAlign = 0;
    };
    Look CurrentLook() const;
    void DrawImage(Gdiplus::Graphics& graphics, const Look& look);
    static void DrawTiles(Gdiplus::Graphics& graphics, const Look& look, int width, int height);

    std::shared_ptr<Gdiplus::Image> m_ownedImage;
    enumShowMode m_showMode = ShowNormal;
    int m_frameBorder = kDefaultFrameBorder;
    int m_marginLeft = 0;
    int m_marginTop = 0;
    int m_marginRight = 0;
    int m_marginBottom = 0;
    CRect m_customRect;

    // What the surface was last drawn from. An opaque picture that covers
    // its whole surface hides what lies under it, so a stale surface drawn
    // from the same picture, size and mode is already right.
    struct Drawn {
        std::shared_ptr<Gdiplus::Image> image;
        int values[14] = {};
        bool operator==(const Drawn& other) const;
    };
    Drawn DrawnOf(const Look& look) const;
    bool CoversOpaquely(const Look& look) const;
    // UI thread only, like painting.
    Drawn m_drawn;
    std::shared_ptr<Gdiplus::Image> m_opacityOf;
    bool m_opaque = false;
};
