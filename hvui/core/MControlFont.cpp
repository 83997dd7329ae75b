#include "MControlFont.h"

#include <mutex>

#include "Manager.h"
#include "PaintManager.h"

using namespace Gdiplus;

namespace {

using Lock = std::lock_guard<CriticalSection>;

constexpr int kBoldWeightIncrease = 700;
constexpr BYTE kDefaultCharset = 1;

}  // namespace

MControlFont::MControlFont(MObject* parent, unsigned id, CRect rect, const wchar_t* title, int visible, int enabled,
                           int response)
    : MControl(parent, id, rect, visible, enabled, response), m_title(title), m_fontFace(Manager::GetFontName()),
      m_fontSize(Manager::GetFontWidth()), m_textColor(kDefaultTextColor),
      m_textBrush(std::make_unique<SolidBrush>(m_textColor)) {}

MControlFont::~MControlFont() { ClearGDIFont(); }

void MControlFont::SetTextFont(CString face) {
    Lock lock(m_stateLock);
    m_fontFace = face;
}

void MControlFont::SetTextColor(Color colour) {
    auto brush = std::make_unique<SolidBrush>(colour);
    Lock lock(m_stateLock);
    m_textColor = colour;
    m_textBrush.swap(brush);
}

Color MControlFont::GetTextColor() const {
    Lock lock(m_stateLock);
    return m_textColor;
}

int MControlFont::TakeImage(ImgResInfo* info, const wchar_t* name) {
    if (!info) return 0;
    {
        Lock lock(m_stateLock);
        m_image = info->image;
        m_frameWidth = info->frameWidth;
        m_imageHeight = info->height;
        m_frameCount = info->frameCount;
        if (name) m_imagePath = name;
    }
    if (m_visible) RequestRedraw(m_rect, 1);
    return 1;
}

int MControlFont::SetImage(unsigned resourceId, CString resourceType, int count) {
    if (!m_manager) return 0;
    return TakeImage(m_manager->AddImgResInfo(resourceId, resourceType, count, 1), nullptr);
}

int MControlFont::SetImage(const wchar_t* name, int count) {
    if (!m_manager || !name) return 0;
    return TakeImage(m_manager->AddImgResInfo(name, count), name);
}

void MControlFont::SetControlTitle(const wchar_t* title) {
    Lock lock(m_stateLock);
    m_title = title;
}

CString MControlFont::GetControlTitle() {
    Lock lock(m_stateLock);
    return m_title;
}

void MControlFont::SetTitle(const wchar_t* title) {
    ClearGDIFont();
    SetControlTitle(title);
    if (m_visible) RequestRedraw(m_rect, 1);
}

CString MControlFont::GetTitle() { return GetControlTitle(); }

void MControlFont::SetAlignment(unsigned horizontal) { SetAlignment(horizontal, m_vAlign); }

void MControlFont::SetVAlignment(unsigned vertical) { SetAlignment(m_hAlign, vertical); }

void MControlFont::SetAlignment(unsigned horizontal, unsigned vertical) {
    if (horizontal == m_hAlign && vertical == m_vAlign) return;
    m_hAlign = horizontal;
    m_vAlign = vertical;
    if (m_visible) RequestRedraw(m_rect, 1);
}

void MControlFont::GetAlignment(unsigned& horizontal, unsigned& vertical) const {
    horizontal = m_hAlign;
    vertical = m_vAlign;
}

void MControlFont::SetFont(const wchar_t* face, int size, FontStyle style) {
    Lock lock(m_stateLock);
    m_fontFace = face;
    m_fontSize = size;
    m_fontStyle = style;
}

CString MControlFont::GetTextFont() const {
    Lock lock(m_stateLock);
    return m_fontFace;
}

CString MControlFont::GetImagePath() const {
    Lock lock(m_stateLock);
    return m_imagePath;
}

MControlFont::ImageFrame MControlFont::GetImageFrame() const {
    Lock lock(m_stateLock);
    return ImageFrame{m_image, m_frameWidth, m_imageHeight, m_frameCount};
}

MControlFont::TextStyle MControlFont::GetTextStyle() const {
    Lock lock(m_stateLock);
    return TextStyle{m_fontFace, m_fontSize, m_fontStyle, m_renderingHint};
}

FontFamily* MControlFont::GetFontFamily(const wchar_t* face) {
    if (!m_manager) return nullptr;
    // Looked up and cloned outside the state lock: both are GDI+ calls.
    FontFamily* shared = m_manager->FindTempFont(face);
    std::unique_ptr<FontFamily> clone(shared ? shared->Clone() : nullptr);
    Lock lock(m_stateLock);
    m_fontFamily = std::move(clone);
    return m_fontFamily.get();
}

HFONT MControlFont::GetGDIFont() {
    Lock lock(m_stateLock);
    if (m_gdiFont) return m_gdiFont;
    LOGFONTW description = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(description), &description);
    const CString face = Manager::GetFontName();
    wcsncpy_s(description.lfFaceName, LF_FACESIZE, face, _TRUNCATE);
    description.lfCharSet = kDefaultCharset;
    description.lfHeight = -m_fontSize;
    // Added to the stock weight, as the framework always drew its bold text.
    if (m_fontStyle & FontStyleBold) description.lfWeight += kBoldWeightIncrease;
    description.lfUnderline = (m_fontStyle & FontStyleUnderline) ? TRUE : FALSE;
    description.lfItalic = (m_fontStyle & FontStyleItalic) ? TRUE : FALSE;
    m_gdiFont = ::CreateFontIndirectW(&description);
    return m_gdiFont;
}

void MControlFont::ClearGDIFont() {
    Lock lock(m_stateLock);
    if (m_gdiFont) ::DeleteObject(m_gdiFont);
    m_gdiFont = nullptr;
}
