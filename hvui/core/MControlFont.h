// MControlFont: a control with a title, a text style and an image strip.
// Owns its text brush, its cached GDI font and the clone of its last font
// family; borrows its image from the dialog's image cache.
#pragma once

#include <memory>
#include <mutex>

#include "GdiplusFwd.h"
#include "MControl.h"

struct ImgResInfo;

class HVUI_API MControlFont : public MControl {
public:
    static constexpr Gdiplus::ARGB kDefaultTextColor = 0xFFF2F2F2;
    static constexpr int kDefaultFrameCount = 4;

    MControlFont(MObject* parent, unsigned id, CRect rect, const wchar_t* title, int visible, int enabled,
                 int response);
    ~MControlFont() override;

    // ---- virtual operations added here, in slot order ------------------------
    virtual void SetTextFont(CString face);
    virtual void SetTextColor(Gdiplus::Color colour);
    virtual int SetImage(unsigned resourceId, CString resourceType, int count);
    virtual int SetImage(const wchar_t* name, int count);

protected:
    virtual void SetControlTitle(const wchar_t* title);
    virtual CString GetControlTitle();

public:
    void SetTitle(const wchar_t* title);
    CString GetTitle();
    void SetAlignment(unsigned horizontal);
    void SetVAlignment(unsigned vertical);
    void SetAlignment(unsigned horizontal, unsigned vertical);
    void GetAlignment(unsigned& horizontal, unsigned& vertical) const;
    void SetFont(const wchar_t* face, int size, Gdiplus::FontStyle style);
    HVUI_INLINE_API void SetFontStyle(int style) { m_fontStyle = style; }
    HVUI_INLINE_API int GetFontStyle() const { return m_fontStyle; }
    HVUI_INLINE_API void SetFontWidth(int size) { m_fontSize = size; }
    HVUI_INLINE_API int GetFontWidth() const { return m_fontSize; }
    CString GetTextFont() const;
    CString GetImagePath() const;
    HVUI_INLINE_API CSize GetImageSize() const { return CSize(m_frameWidth, m_imageHeight); }
    HVUI_INLINE_API void SetImageCount(int count) { m_frameCount = count; }
    HVUI_INLINE_API int GetImageCount() const { return m_frameCount; }
    HVUI_INLINE_API void SetTextRenderingHint(int hint) { m_renderingHint = hint; }
    HVUI_INLINE_API int GetTextRenderingHint() const { return m_renderingHint; }
    Gdiplus::Color GetTextColor() const;
    HVUI_INLINE_API Gdiplus::Image* GetImage() const { return m_image; }

    // The image strip as one consistent view. The image is an entry of the
    // dialog's image cache and outlives the control, so a paint may draw it
    // after the state lock is let go.
    struct ImageFrame {
        Gdiplus::Image* image = nullptr;
        int frameWidth = 0;
        int height = 0;
        int count = 0;
    };
    ImageFrame GetImageFrame() const;
    // The text fields as one consistent copy, for a paint that draws after
    // the state lock is let go.
    struct TextStyle {
        CString face;
        int size = 0;
        int style = 0;
        int renderingHint = 0;
    };
    TextStyle GetTextStyle() const;

    // The family named face from the dialog's font table (a clone this
    // control keeps until the next call); null without a manager or face.
    Gdiplus::FontFamily* GetFontFamily(const wchar_t* face);
    // The control's GDI font, made from the framework's default face.
    HFONT GetGDIFont();
    void ClearGDIFont();

protected:
    // Paints text with a brush of the control's text colour. The brush is the
    // paint's own: no lock is held while GDI+ draws.
    template <class Paint>
    void WithTextBrush(Paint paint) {
        Gdiplus::SolidBrush brush(GetTextColor());
        paint(brush);
    }
    // Paints with the cached GDI font while no other thread can discard it.
    template <class Paint>
    void WithGDIFont(Paint paint) {
        std::lock_guard<CriticalSection> lock(m_stateLock);
        paint(GetGDIFont());
    }

    CString m_title;
    CString m_fontFace;
    CString m_imagePath;
    int m_fontSize;
    Gdiplus::Color m_textColor;
    std::unique_ptr<Gdiplus::SolidBrush> m_textBrush;
    int m_fontStyle = 0;
    std::unique_ptr<Gdiplus::FontFamily> m_fontFamily;
    unsigned m_hAlign = 0;
    unsigned m_vAlign = 4;
    int m_renderingHint = Gdiplus::TextRenderingHintClearTypeGridFit;
    HFONT m_gdiFont = nullptr;
    Gdiplus::Image* m_image = nullptr;
    int m_frameWidth = 0;
    int m_imageHeight = 0;
    int m_frameCount = kDefaultFrameCount;

private:
    int TakeImage(ImgResInfo* info, const wchar_t* name);
};
