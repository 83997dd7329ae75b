#include "MImageList.h"

#include <memory>
#include <mutex>

#include "MRender.h"

using Lock = std::lock_guard<CriticalSection>;

MImageList::MImageList() = default;

MImageList::~MImageList() { DelAllImages(); }

int MImageList::AddImage(const wchar_t* path, int id, int count) { return InsertImage(-1, path, id, count); }

int MImageList::InsertImage(int index, const wchar_t* path, int id, int count) {
    if (!path) return -1;
    {
        Lock lock(m_lock);
        const int size = static_cast<int>(m_images.size());
        if (index < -1 || index >= size) return -1;
    }
    // Loaded before the lock is taken (GDI+); the index is checked again
    // under it.
    std::unique_ptr<Gdiplus::Image> image(MRender::LoadImageFromFile(path));
    Lock lock(m_lock);
    const int size = static_cast<int>(m_images.size());
    if (index < -1 || index >= size) return -1;

    auto* entry = new _M_IAMGELIST;
    entry->image = image.release();
    entry->id = id;
    entry->frameCount = count < 1 ? 1 : count;  // guards the division below
    entry->path = path;
    if (entry->image) {
        entry->frameWidth = static_cast<int>(entry->image->GetWidth()) / entry->frameCount;
        entry->height = static_cast<int>(entry->image->GetHeight());
    }
    if (index == -1) {
        m_images.push_back(entry);
        return size;
    }
    m_images.insert(m_images.begin() + index, entry);
    return -1;
}

_M_IAMGELIST* MImageList::GetItemImageData(int index) {
    Lock lock(m_lock);
    if (index < 0 || index >= static_cast<int>(m_images.size())) return nullptr;
    return m_images[static_cast<size_t>(index)];
}

_M_IAMGELIST* MImageList::FindById(int id) {
    for (_M_IAMGELIST* entry : m_images) {
        if (entry->id == id) return entry;
    }
    return nullptr;
}

_M_IAMGELIST* MImageList::GetImageDataByID(int id) {
    Lock lock(m_lock);
    return FindById(id);
}

CString MImageList::GetImagePath(int index) {
    Lock lock(m_lock);
    _M_IAMGELIST* entry = GetItemImageData(index);
    return entry ? entry->path : CString();
}

CString MImageList::GetImagePathByID(int id) {
    Lock lock(m_lock);
    _M_IAMGELIST* entry = FindById(id);
    return entry ? entry->path : CString();
}

int MImageList::GetImageCount() {
    Lock lock(m_lock);
    return static_cast<int>(m_images.size());
}

void MImageList::SetDrawImgSize(int width, int height) { m_drawSize = CSize(width, height); }
CSize MImageList::GetIconSize() { return m_drawSize; }

void MImageList::DrawFrame(Gdiplus::Graphics& graphics, const CRect& rect, int index, int state) {
    Lock lock(m_lock);
    _M_IAMGELIST* entry = GetItemImageData(index);
    if (!entry || !entry->image) return;
    const int frame = std::min(std::max(state, 0), entry->frameCount - 1);
    graphics.DrawImage(entry->image, Gdiplus::Rect(rect.left, rect.top, rect.Width(), rect.Height()),
                       frame * entry->frameWidth, 0, entry->frameWidth, entry->height, Gdiplus::UnitPixel);
}

void MImageList::DrawItemIcon(Gdiplus::Graphics& graphics, CRect rect, int index) {
    DrawFrame(graphics, rect, index, 0);
}

void MImageList::DrawItemIcon(Gdiplus::Graphics& graphics, CRect rect, int index, int state) {
    DrawFrame(graphics, rect, index, state);
}

void MImageList::DelAllImages() {
    Lock lock(m_lock);
    for (_M_IAMGELIST* entry : m_images) {
        delete entry->image;
        delete entry;
    }
    m_images.clear();
}
