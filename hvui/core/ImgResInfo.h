// ImgResInfo: one entry of a dialog's image cache. Owns its decoded image;
// the controls that show it only borrow the pointer.
#pragma once

#include <memory>

#include "CString.h"
#include "GdiplusFwd.h"
#include "HvuiExport.h"

struct HVUI_API ImgResInfo {
    ImgResInfo(Gdiplus::Image* decoded, int count);
    ~ImgResInfo();
    ImgResInfo(const ImgResInfo&) = delete;
    ImgResInfo& operator=(const ImgResInfo&) = delete;

    Gdiplus::Image* image = nullptr;
    int frameWidth = 0;  // image width / frame count
    int height = 0;
    int frameCount = 1;
    CString name;            // file entries: the name exactly as asked for
    unsigned resourceId = 0; // resource entries
};
