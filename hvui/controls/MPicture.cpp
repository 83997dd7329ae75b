#include "MPicture.h"

#include <mutex>

#include "ControlPaint.h"
#include "MRender.h"
#include "Manager.h"

using namespace Gdiplus;

namespace {

using Lock = std::lock_guard<CriticalSection>;

// A picture shows one image; strips are cut into frames of which only the
// first is ever drawn.
constexpr int kPictureFrameCount = 1;

}  // namespace

MPicture::MPicture(MObject* parent, unsigned id, CRect rect, int visible, int enabled)
    : MControlFont(parent, id, rect, L"", visible, enabled, 1) {
    m_frameCount = kPictureFrameCount;
}

MPicture::~MPicture() {
    Lock lock(m_stateLock);
    m_image = nullptr;
}

void MPicture::TakeImage(Image* image, int count) {
    // The previous image goes when its last paint is done, outside the lock.
    std::shared_ptr<Image> previous;
    Lock lock(m_stateLock);
    previous.swap(m_ownedImage);
    m_ownedImage.reset(image);
    m_image = image;
    if (!image || count <= 0) return;
    m_frameWidth = static_cast<int>(image->GetWidth()) / count;
    m_imageHeight = static_cast<int>(image->GetHeight());
    m_frameCount = count;
}

int MPicture::SetImage(const wchar_t* name, int count) {
    Image* image = name ? MRender::LoadImageFromFile(Manager::GetSkinFile(name)) : nullptr;
    TakeImage(image, count);
    {
        Lock lock(m_stateLock);
        m_imagePath = image ? name : L"";
    }
    UpdateControl(1, 0);
    return image ? 1 : 0;
}

int MPicture::SetImage(unsigned resourceId, CString resourceType, int count) {
    Image* image = MRender::LoadImageFromIDResource(resourceId, resourceType, Manager::GetInstance());
    TakeImage(image, count);
    if (!image) return 0;
    UpdateControl(1, 0);
    return 1;
}

int MPicture::SetShowMode(enumShowMode mode, int border) {
    {
        Lock lock(m_stateLock);
        if (mode == m_showMode && (mode != ShowFrame || border == m_frameBorder)) return 0;
        m_showMode = mode;
        m_frameBorder = border;
    }
    UpdateControl(1, 0);
    return 1;
}

int MPicture::SetShowModeMID(int left, int top, int right, int bottom) {
    {
        Lock lock(m_stateLock);
        m_marginLeft = left;
        m_marginTop = top;
        m_marginRight = right;
        m_marginBottom = bottom;
        m_showMode = ShowFrameMID;
    }
    UpdateControl(1, 0);
    return 1;
}

void MPicture::SetCustomRect(CRect rect) {
    Lock lock(m_stateLock);
    m_customRect = rect;
}

void MPicture::DrawControl(HDC& dc, CRect) {
    if (PrepareMemDC(dc)) {
        const Look look = CurrentLook();
        Graphics graphics(GetMemDC());
        graphics.SetPageUnit(UnitPixel);
        if (look.image) DrawImage(graphics, look);
    }
    PresentMemDC(dc);
}

MPicture::Look MPicture::CurrentLook() const {
    Lock lock(m_stateLock);
    return Look{m_ownedImage, m_frameWidth, m_imageHeight, m_showMode, m_frameBorder, m_marginLeft, m_marginTop,
                m_marginRight, m_marginBottom, m_customRect, m_hAlign, m_vAlign};
}

void MPicture::DrawTiles(Graphics& graphics, const Look& look, int width, int height) {
    const int w = look.frameWidth;
    const int h = look.height;
    if (w <= 0 || h <= 0) return;
    for (int c = 0; c <= width / w; ++c) {
        for (int r = 0; r <= height / h; ++r) {
            const int tileW = std::min(w, width - c * w);
            const int tileH = std::min(h, height - r * h);
            if (tileW <= 0 || tileH <= 0) continue;
            graphics.DrawImage(look.image.get(), Rect(c * w, r * h, tileW, tileH), 0, 0, tileW, tileH, UnitPixel);
        }
    }
}

void MPicture::DrawImage(Graphics& graphics, const Look& look) {
    const int width = m_rect.Width();
    const int height = m_rect.Height();
    const int w = look.frameWidth;
    const int h = look.height;
    const CRect whole(0, 0, width, height);
    Image* image = look.image.get();
    switch (look.mode) {
    case ShowNormal: {
        const int x = look.hAlign == 0 ? 0 : look.hAlign == 2 ? width - w : (width - w) / 2;
        const int y = look.vAlign == 0 ? 0 : look.vAlign == 8 ? height - h : (height - h) / 2;
        graphics.DrawImage(image, Rect(x, y, w, h), 0, 0, w, h, UnitPixel);
        break;
    }
    case ShowTile:
        DrawTiles(graphics, look, width, height);
        break;
    case ShowStretch:
        graphics.DrawImage(image, Rect(0, 0, width, height), 0, 0, w, h, UnitPixel);
        break;
    case ShowFrame:
        MRender::DrawImageFrame(graphics, image, whole, 0, 0, w, h, look.border);
        break;
    case ShowFrameMID:
        MRender::DrawImageFrameMID(graphics, image, whole, 0, 0, w, h, look.marginLeft, look.marginTop,
                                   look.marginRight, look.marginBottom);
        break;
    case ShowCustomRect:
        graphics.DrawImage(image, Rect(0, 0, width, height), look.customRect.left, look.customRect.top,
                           look.customRect.Width(), look.customRect.Height(), UnitPixel);
        break;
    }
}
