#include "MPicture.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <mutex>

#include "ControlPaint.h"
#include "MRender.h"
#include "Manager.h"

using namespace Gdiplus;

namespace {

// No pixel of the picture lets anything under it through.
bool IsOpaque(Image* image) {
    if (image->GetType() != ImageTypeBitmap) return false;
    const PixelFormat format = image->GetPixelFormat();
    if (format == PixelFormat24bppRGB || format == PixelFormat32bppRGB || format == PixelFormat48bppRGB) return true;
    const int width = static_cast<int>(image->GetWidth());
    const int height = static_cast<int>(image->GetHeight());
    if (width <= 0 || height <= 0) return false;
    Rect all(0, 0, width, height);
    BitmapData data;
    auto* bitmap = static_cast<Bitmap*>(image);
    if (bitmap->LockBits(&all, ImageLockModeRead, PixelFormat32bppARGB, &data) != Ok) return false;
    bool opaque = true;
    const auto* rows = static_cast<const unsigned char*>(data.Scan0);
    for (int y = 0; opaque && y < height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(rows + static_cast<ptrdiff_t>(y) * data.Stride);
        for (int x = 0; x < width; ++x) {
            if ((row[x] >> 24) != 0xFF) {
                opaque = false;
                break;
            }
        }
    }
    bitmap->UnlockBits(&data);
    return opaque;
}

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
    std::unique_ptr<Image> previous;
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

bool MPicture::Drawn::operator==(const Drawn& other) const {
    return image == other.image && std::equal(std::begin(values), std::end(values), std::begin(other.values));
}

MPicture::Drawn MPicture::DrawnNow() const {
    Drawn drawn;
    drawn.image = m_image;
    const int values[] = {m_rect.Width(),  m_rect.Height(),     static_cast<int>(m_showMode),
                          m_frameWidth,    m_imageHeight,       m_frameBorder,
                          m_marginLeft,    m_marginTop,         m_marginRight,
                          m_marginBottom,  m_customRect.left,   m_customRect.top,
                          m_customRect.Width(), m_customRect.Height()};
    std::copy(std::begin(values), std::end(values), std::begin(drawn.values));
    return drawn;
}

// Every mode but the plain one fills the whole control; the picture must
// have no pixel that lets the background through.
bool MPicture::CoversOpaquely() const {
    if (!m_image || m_showMode == ShowNormal) return false;
    if (m_showMode == ShowFrameMID &&
        (m_frameWidth <= m_marginLeft + m_marginRight || m_imageHeight <= m_marginTop + m_marginBottom))
        return false;
    if (m_showMode == ShowFrame && (m_frameWidth <= 2 * m_frameBorder || m_imageHeight <= 2 * m_frameBorder))
        return false;
    return m_opaque && m_opacityOf == m_image;
}

void MPicture::DrawControl(HDC& dc, CRect) {
    {
        Lock lock(m_stateLock);
        if (m_image && m_opacityOf != m_image) {
            m_opacityOf = m_image;
            m_opaque = IsOpaque(m_image);
        }
        if (!GetUpdate() && GetMemDC() && m_surfaceWidth == m_rect.Width() && m_surfaceHeight == m_rect.Height() &&
            CoversOpaquely() && m_drawn == DrawnNow()) {
            m_update = 1;
        }
    }
    if (PrepareMemDC(dc)) {
        Graphics graphics(GetMemDC());
        graphics.SetPageUnit(UnitPixel);
        Lock lock(m_stateLock);
        if (m_image) DrawImage(graphics);
        m_drawn = DrawnNow();
    }
    PresentMemDC(dc);
}

void MPicture::DrawTiles(Graphics& graphics, int width, int height) {
    const int w = m_frameWidth;
    const int h = m_imageHeight;
    if (w <= 0 || h <= 0) return;
    for (int c = 0; c <= width / w; ++c) {
        for (int r = 0; r <= height / h; ++r) {
            const int tileW = std::min(w, width - c * w);
            const int tileH = std::min(h, height - r * h);
            if (tileW <= 0 || tileH <= 0) continue;
            graphics.DrawImage(m_image, Rect(c * w, r * h, tileW, tileH), 0, 0, tileW, tileH, UnitPixel);
        }
    }
}

void MPicture::DrawImage(Graphics& graphics) {
    const int width = m_rect.Width();
    const int height = m_rect.Height();
    const int w = m_frameWidth;
    const int h = m_imageHeight;
    const CRect whole(0, 0, width, height);
    switch (m_showMode) {
    case ShowNormal: {
        const int x = m_hAlign == 0 ? 0 : m_hAlign == 2 ? width - w : (width - w) / 2;
        const int y = m_vAlign == 0 ? 0 : m_vAlign == 8 ? height - h : (height - h) / 2;
        graphics.DrawImage(m_image, Rect(x, y, w, h), 0, 0, w, h, UnitPixel);
        break;
    }
    case ShowTile:
        DrawTiles(graphics, width, height);
        break;
    case ShowStretch:
        graphics.DrawImage(m_image, Rect(0, 0, width, height), 0, 0, w, h, UnitPixel);
        break;
    case ShowFrame:
        MRender::DrawImageFrame(graphics, m_image, whole, 0, 0, w, h, m_frameBorder);
        break;
    case ShowFrameMID:
        MRender::DrawImageFrameMID(graphics, m_image, whole, 0, 0, w, h, m_marginLeft, m_marginTop, m_marginRight,
                                   m_marginBottom);
        break;
    case ShowCustomRect:
        graphics.DrawImage(m_image, Rect(0, 0, width, height), m_customRect.left, m_customRect.top,
                           m_customRect.Width(), m_customRect.Height(), UnitPixel);
        break;
    }
}
