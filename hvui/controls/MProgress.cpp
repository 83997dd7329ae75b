#include "MProgress.h"

#include <algorithm>
#include <mutex>

#include "ControlText.h"
#include "ImgResInfo.h"
#include "MRender.h"
#include "Manager.h"
#include "PaintManager.h"

using namespace Gdiplus;

namespace {
using Lock = std::lock_guard<CriticalSection>;
const wchar_t kPercent[] = L"%";
}  // namespace

MProgress::MProgress(MObject* parent, unsigned id, CRect rect, int visible, int enabled)
    : MControlFont(parent, id, rect, L"", visible, enabled, 1), m_fillColor(Manager::GetSelectColor().GetValue()) {
    SetTextColor(Color(kDefaultBarTextColor));
    m_frameCount = kImageFrames;
    m_hAlign = 1;
    m_vAlign = 4;
}

MProgress::~MProgress() {
    if (m_manager) m_manager->KillTimer(this, kLoopTimerKey);
}

void MProgress::InitControl(PaintManager*) { FollowRunningFlag(); }

void MProgress::FollowRunningFlag() {
    if (!m_manager) return;
    // Arming a running timer again answers 0 and changes nothing.
    if (m_running) m_manager->SetTimer(this, kLoopTimerKey, kLoopTickMs);
    else m_manager->KillTimer(this, kLoopTimerKey);
}

// ---- value and running mode ----------------------------------------------------------

int MProgress::SetProgress(int value) {
    if (!m_enabled) return m_progress;
    value = std::min(value, m_maximum);
    if (value < 0 || value == m_progress) return m_progress;
    m_progress = value;
    UpdateControl(1, 0);
    return m_progress;
}

int MProgress::SetRun(int run, int value) {
    if (!m_enabled) return m_running;
    bool changed = (run ? 1 : 0) != m_running;
    m_running = run ? 1 : 0;
    if (value >= 0 && value <= m_maximum && value != m_progress) {
        m_progress = value;
        changed = true;
    }
    FollowRunningFlag();
    if (changed) UpdateControl(1, 0);
    return m_running;
}

int MProgress::OnControlTimer() {
    if (!m_running || !m_visible) return 0;
    if (++m_tickCounter < m_ticksPerStep) return 0;
    m_tickCounter = 0;
    const int next = m_progress + 1;
    m_progress = next >= m_maximum ? 0 : next;
    UpdateControl(1, 0);
    return 1;
}

// ---- images ---------------------------------------------------------------------------------

bool MProgress::TakePicture(ImgResInfo* info, Picture& picture) {
    if (!info || !info->image) return false;
    {
        Lock lock(m_stateLock);
        picture.image = info->image;
        picture.width = info->frameWidth;
        picture.height = info->height;
    }
    UpdateControl(1, 0);
    return true;
}

bool MProgress::SetBackGroundImage(CString name) {
    return m_manager && TakePicture(m_manager->AddImgResInfo(name, 1), m_background);
}

bool MProgress::SetForeGroundImage(CString name) {
    return m_manager && TakePicture(m_manager->AddImgResInfo(name, 1), m_foreground);
}

bool MProgress::SetBackGroundImage(unsigned resourceId, CString resourceType) {
    return m_manager && TakePicture(m_manager->AddImgResInfo(resourceId, resourceType, 1, 0), m_background);
}

bool MProgress::SetForeGroundImage(unsigned resourceId, CString resourceType) {
    return m_manager && TakePicture(m_manager->AddImgResInfo(resourceId, resourceType, 1, 0), m_foreground);
}

// ---- painting -----------------------------------------------------------------------------------

int MProgress::FilledWidth(int width) const {
    // A bar without a range has nothing to fill.
    if (m_maximum <= 0) return 0;
    return width * m_progress / m_maximum;
}

void MProgress::DrawControl(HDC& dc, CRect) {
    if (PrepareMemDC(dc)) PaintContent(GetMemDC());
    PresentMemDC(dc);
}

void MProgress::PaintContent(HDC dc) {
    Graphics graphics(dc);
    const int filled = FilledWidth(m_rect.Width());
    // The pictures are image cache entries: copied under the lock, drawn
    // after it.
    Picture background;
    Picture foreground;
    {
        Lock lock(m_stateLock);
        background = m_background;
        foreground = m_foreground;
    }
    const ImageFrame strip = GetImageFrame();
    if (foreground.image) PaintImagePair(graphics, background, foreground, filled);
    else if (strip.image) PaintStrip(graphics, strip, filled);
    else PaintDashes(graphics, filled);
    if (m_showText) PaintText(graphics);
}

void MProgress::PaintImagePair(Graphics& graphics, const Picture& background, const Picture& foreground,
                               int filled) {
    const int width = m_rect.Width();
    const int height = m_rect.Height();
    const int margin = m_imageMargin;
    if (background.image)
        MRender::DrawImageFrameMID(graphics, background.image, CRect(0, 0, width, height), 0, 0, background.width,
                                   background.height, margin, 0, margin, 0);
    if (m_progress == 0) return;
    if (filled < margin) {
        // Too short for two margins: the bar's left end, squeezed.
        graphics.DrawImage(foreground.image, Rect(0, 0, filled, height), 0, 0, filled, foreground.height, UnitPixel);
        return;
    }
    MRender::DrawImageFrameMID(graphics, foreground.image, CRect(0, 0, filled, height), 0, 0, foreground.width,
                               foreground.height, margin, 0, margin, 0);
}

void MProgress::PaintStrip(Graphics& graphics, const ImageFrame& strip, int filled) {
    MRender::DrawImageFrame(graphics, strip.image, CRect(0, 0, m_rect.Width(), m_stripHeight), 0, 0,
                            strip.frameWidth, strip.height, kStripBorder);
    if (m_progress == 0) return;
    MRender::DrawImageFrame(graphics, strip.image, CRect(0, 0, filled, m_stripHeight), strip.frameWidth, 0,
                            strip.frameWidth, strip.height, kStripBorder);
}

void MProgress::PaintDashes(Graphics& graphics, int filled) {
    const int width = m_rect.Width();
    const int height = m_rect.Height();
    Pen line(Color(m_lineColor), 1.0f);
    graphics.DrawLine(&line, 1, height - 2, width, height - 2);
    SolidBrush dash{Color(m_fillColor)};
    for (int x = 0; x < filled; x += kDashPeriod) {
        const int rest = filled - x;
        graphics.FillRectangle(&dash, x, height - kDashHeight, rest <= kDashWidth ? rest : kDashWidth, kDashHeight);
    }
}

void MProgress::PaintText(Graphics& graphics) {
    CString text;
    const CString title = GetTitle();
    text.Format(L"%s%d%s", title.GetString(), static_cast<int>(m_progress), m_maximum == 100 ? kPercent : L"");
    const TextStyle style = GetTextStyle();
    graphics.SetTextRenderingHint(static_cast<TextRenderingHint>(style.renderingHint));
    auto family = hvui_text::MakeFamily(m_manager ? m_manager->FindTempFont(style.face) : nullptr, style.face);
    StringFormat format(StringFormatFlagsNoWrap);
    hvui_text::Align(format, StringAlignmentCenter, StringAlignmentCenter);
    const RectF box(static_cast<REAL>((m_rect.Width() - kTextWidth) / 2), 0.0f, static_cast<REAL>(kTextWidth),
                    static_cast<REAL>(kTextHeight));
    WithTextBrush([&](SolidBrush& brush) {
        hvui_text::DrawString(graphics, family.get(), static_cast<REAL>(style.size), style.style, text, box, format,
                              brush);
    });
}
