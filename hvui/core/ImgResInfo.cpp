#include "ImgResInfo.h"

ImgResInfo::ImgResInfo(Gdiplus::Image* decoded, int count)
    : image(decoded), frameCount(count < 1 ? 1 : count) {
    // A count below one would divide by zero; such a strip is one frame.
    if (!image) return;
    frameWidth = static_cast<int>(image->GetWidth()) / frameCount;
    height = static_cast<int>(image->GetHeight());
}

ImgResInfo::~ImgResInfo() { delete image; }
