// MImageList: a stand-alone list of image strips, each loaded from a path as
// given (not through the skin folder). Owns its entries and their images;
// every operation takes the list's lock.
#pragma once

#include <memory>
#include <vector>

#include "CRect.h"
#include "CString.h"
#include "CriticalSection.h"
#include "GdiplusFwd.h"
#include "HvuiExport.h"

struct HVUI_API _M_IAMGELIST {
    Gdiplus::Image* image = nullptr;  // owned; null when the file did not load
    int frameWidth = 0;
    int height = 0;
    int id = 0;
    int frameCount = 1;
    CString path;
};

class HVUI_API MImageList {
public:
    MImageList();
    ~MImageList();
    MImageList(const MImageList&) = delete;
    MImageList& operator=(const MImageList&) = delete;

    int AddImage(const wchar_t* path, int id, int count);
    // index −1 appends and answers the new index; a valid index inserts
    // before it and answers −1; anything else answers −1 and adds nothing.
    int InsertImage(int index, const wchar_t* path, int id, int count);

    _M_IAMGELIST* GetItemImageData(int index);
    _M_IAMGELIST* GetImageDataByID(int id);
    CString GetImagePath(int index);
    CString GetImagePathByID(int id);
    int GetImageCount();

    void SetDrawImgSize(int width, int height);
    CSize GetIconSize();

    void DrawItemIcon(Gdiplus::Graphics& graphics, CRect rect, int index);
    void DrawItemIcon(Gdiplus::Graphics& graphics, CRect rect, int index, int state);

    void DelAllImages();

private:
    _M_IAMGELIST* FindById(int id);
    void DrawFrame(Gdiplus::Graphics& graphics, const CRect& rect, int index, int state);

    std::vector<_M_IAMGELIST*> m_images;
    CriticalSection m_lock;
    CSize m_drawSize;
};
