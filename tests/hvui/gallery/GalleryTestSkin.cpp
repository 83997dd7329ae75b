// The gallery's test pictures: flat shapes on the half-pixel grid in one dark
// palette with one accent, each strip in the frame order the controls expect
// (normal, hover, pressed or selected, disabled; off, on for the switch).
#include "GalleryTestSkin.h"

#include <windows.h>

#include <cmath>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "GdiplusFwd.h"
#include "Manager.h"

using namespace Gdiplus;

namespace gallery {
namespace {

constexpr wchar_t kFolder[] = L"gallery\\";
bool g_useTestSkin = false;

// Palette.
constexpr ARGB kWindow = 0xFF13161C;
constexpr ARGB kCard = 0xFF191D25;
constexpr ARGB kCardBorder = 0xFF2A303B;
constexpr ARGB kField = 0xFF20252F;
constexpr ARGB kFieldBorder = 0xFF3B4452;
constexpr ARGB kHover = 0xFF2A313D;
constexpr ARGB kHoverBorder = 0xFF5C6878;
constexpr ARGB kPressed = 0xFF0D2329;
constexpr ARGB kAccent = 0xFF1BFFFF;
constexpr ARGB kAccentDeep = 0xFF0A8E9C;
constexpr ARGB kGlyph = 0xFFC8C8C8;
constexpr ARGB kDisabled = 0xFF4A505A;
constexpr ARGB kDanger = 0xFFE5484D;

enum Frame { kNormal = 0, kHot = 1, kDown = 2, kOff = 3 };

// Fill, border and glyph colours of a push frame.
struct Look {
    ARGB fill;
    ARGB border;
    ARGB glyph;
};
Look PushLook(int frame) {
    switch (frame) {
        case kHot: return {kHover, kHoverBorder, 0xFFFFFFFF};
        case kDown: return {kPressed, kAccent, kAccent};
        case kOff: return {kCard, kCardBorder, kDisabled};
        default: return {kField, kFieldBorder, kGlyph};
    }
}

GraphicsPath* RoundedPath(GraphicsPath& path, RectF r, float radius) {
    const float d = radius * 2.0f;
    path.AddArc(r.X, r.Y, d, d, 180.0f, 90.0f);
    path.AddArc(r.X + r.Width - d, r.Y, d, d, 270.0f, 90.0f);
    path.AddArc(r.X + r.Width - d, r.Y + r.Height - d, d, d, 0.0f, 90.0f);
    path.AddArc(r.X, r.Y + r.Height - d, d, d, 90.0f, 90.0f);
    path.CloseFigure();
    return &path;
}

// A rounded card whose one-pixel border sits on the half-pixel grid.
void Card(Graphics& g, RectF frame, float radius, ARGB fill, ARGB border) {
    RectF r(frame.X + 0.5f, frame.Y + 0.5f, frame.Width - 1.0f, frame.Height - 1.0f);
    GraphicsPath path;
    SolidBrush brush{Color(fill)};
    g.FillPath(&brush, RoundedPath(path, r, radius));
    Pen pen(Color(border), 1.0f);
    g.DrawPath(&pen, &path);
}

void Line(Graphics& g, ARGB colour, float width, float x1, float y1, float x2, float y2) {
    Pen pen(Color(colour), width);
    pen.SetStartCap(LineCapRound);
    pen.SetEndCap(LineCapRound);
    g.DrawLine(&pen, x1, y1, x2, y2);
}

void Ring(Graphics& g, ARGB colour, float width, float cx, float cy, float radius, float start, float sweep) {
    Pen pen(Color(colour), width);
    pen.SetStartCap(LineCapRound);
    pen.SetEndCap(LineCapRound);
    g.DrawArc(&pen, cx - radius, cy - radius, radius * 2.0f, radius * 2.0f, start, sweep);
}

void Disc(Graphics& g, ARGB colour, float cx, float cy, float radius) {
    SolidBrush brush{Color(colour)};
    g.FillEllipse(&brush, cx - radius, cy - radius, radius * 2.0f, radius * 2.0f);
}

// ---- the pictures ---------------------------------------------------------------------

using Painter = std::function<void(Graphics&, int frame, RectF)>;

struct Picture {
    const wchar_t* name;
    int width;  // of one frame
    int height;
    int frames;
    Painter paint;
};

void WindowBackground(Graphics& g, int, RectF r) { Card(g, r, 10.0f, kWindow, kCardBorder); }

void TitleButton(Graphics& g, int frame, RectF r, bool danger, const std::function<void(Graphics&, ARGB)>& glyph) {
    Look look = PushLook(frame);
    if (danger && frame == kHot) look = {kDanger, kDanger, 0xFFFFFFFF};
    if (frame != kNormal && frame != kOff) Card(g, r, 6.0f, look.fill, look.border);
    glyph(g, look.glyph);
}

void CloseButton(Graphics& g, int frame, RectF r) {
    TitleButton(g, frame, r, true, [&](Graphics& gg, ARGB c) {
        Line(gg, c, 1.6f, r.X + 10, r.Y + 10, r.X + 20, r.Y + 20);
        Line(gg, c, 1.6f, r.X + 20, r.Y + 10, r.X + 10, r.Y + 20);
    });
}

void MinimiseButton(Graphics& g, int frame, RectF r) {
    TitleButton(g, frame, r, false,
                [&](Graphics& gg, ARGB c) { Line(gg, c, 1.6f, r.X + 9, r.Y + 15.5f, r.X + 21, r.Y + 15.5f); });
}

void SettingsButton(Graphics& g, int frame, RectF r) {
    TitleButton(g, frame, r, false, [&](Graphics& gg, ARGB c) {
        const float cx = r.X + 15, cy = r.Y + 15;
        for (int i = 0; i < 8; ++i) {
            const double a = i * 3.14159265 / 4.0;
            Line(gg, c, 2.4f, cx + 5.0f * static_cast<float>(std::cos(a)), cy + 5.0f * static_cast<float>(std::sin(a)),
                 cx + 8.0f * static_cast<float>(std::cos(a)), cy + 8.0f * static_cast<float>(std::sin(a)));
        }
        Ring(gg, c, 1.8f, cx, cy, 5.0f, 0, 360);
    });
}

void ComboFace(Graphics& g, int frame, RectF r) {
    const Look look = PushLook(frame);
    // Opaque to the edge: the box fills its left part grey before the frame.
    SolidBrush under{Color(kWindow)};
    g.FillRectangle(&under, r);
    Card(g, r, 6.0f, look.fill, look.border);
    // A globe left of the text.
    const float gx = r.X + 16, gy = r.Y + r.Height / 2;
    Ring(g, look.glyph, 1.2f, gx, gy, 6.5f, 0, 360);
    Pen pen(Color(look.glyph), 1.2f);
    g.DrawEllipse(&pen, gx - 3.0f, gy - 6.5f, 6.0f, 13.0f);
    Line(g, look.glyph, 1.2f, gx - 6.5f, gy, gx + 6.5f, gy);
    // The chevron in the right 32 pixels, which the box never stretches.
    const float cx = r.X + r.Width - 17, cy = r.Y + r.Height / 2;
    const float dy = frame == kDown ? -2.0f : 2.0f;
    Line(g, look.glyph, 1.6f, cx - 5, cy - dy, cx, cy + dy);
    Line(g, look.glyph, 1.6f, cx, cy + dy, cx + 5, cy - dy);
    Line(g, kCardBorder, 1.0f, r.X + r.Width - 32.5f, r.Y + 8, r.X + r.Width - 32.5f, r.Y + r.Height - 8);
}

void NavigationTab(Graphics& g, int frame, RectF r, const std::function<void(Graphics&, ARGB, float, float)>& icon) {
    Look look = PushLook(frame);
    if (frame == kNormal) look = {kCard, kCardBorder, 0xFF9AA3AF};
    Card(g, RectF(r.X, r.Y, r.Width, r.Height), 14.0f, look.fill, look.border);
    if (frame == kDown) Line(g, kAccent, 3.0f, r.X + 70, r.Y + r.Height - 12, r.X + r.Width - 70, r.Y + r.Height - 12);
    icon(g, look.glyph, r.X + r.Width / 2, r.Y + 110);
}

void SystemTab(Graphics& g, int frame, RectF r) {
    NavigationTab(g, frame, r, [](Graphics& gg, ARGB c, float cx, float cy) {
        // A chip with its pins.
        Pen pen(Color(c), 2.0f);
        gg.DrawRectangle(&pen, cx - 26, cy - 26, 52.0f, 52.0f);
        gg.DrawRectangle(&pen, cx - 12, cy - 12, 24.0f, 24.0f);
        for (int i = -1; i <= 1; ++i) {
            const float o = 14.0f * static_cast<float>(i);
            Line(gg, c, 2.0f, cx + o, cy - 34, cx + o, cy - 28);
            Line(gg, c, 2.0f, cx + o, cy + 28, cx + o, cy + 34);
            Line(gg, c, 2.0f, cx - 34, cy + o, cx - 28, cy + o);
            Line(gg, c, 2.0f, cx + 28, cy + o, cx + 34, cy + o);
        }
    });
}

void LightTab(Graphics& g, int frame, RectF r) {
    NavigationTab(g, frame, r, [](Graphics& gg, ARGB c, float cx, float cy) {
        // A sun: a disc with rays.
        Ring(gg, c, 2.0f, cx, cy, 16.0f, 0, 360);
        for (int i = 0; i < 8; ++i) {
            const double a = i * 3.14159265 / 4.0;
            const float ca = static_cast<float>(std::cos(a)), sa = static_cast<float>(std::sin(a));
            Line(gg, c, 2.0f, cx + 24 * ca, cy + 24 * sa, cx + 34 * ca, cy + 34 * sa);
        }
    });
}

void PageBackground(Graphics& g, int, RectF r) {
    // A soft light behind the mode dial and a hairline beside the tabs.
    GraphicsPath glow;
    glow.AddEllipse(687.0f - 330.0f, 307.0f - 330.0f, 660.0f, 660.0f);
    PathGradientBrush brush(&glow);
    brush.SetCenterColor(Color(0x301BFFFF));
    Color edge(0x001BFFFF);
    INT count = 1;
    brush.SetSurroundColors(&edge, &count);
    g.FillPath(&brush, &glow);
    Line(g, kCardBorder, 1.0f, r.X + 275.5f, r.Y + 20, r.X + 275.5f, r.Y + r.Height - 20);
}

void ModeTab(Graphics& g, int frame, RectF r) {
    const Look look = PushLook(frame);
    if (frame == kDown) {
        RectF inner(r.X + 0.5f, r.Y + 0.5f, r.Width - 1, r.Height - 1);
        GraphicsPath path;
        LinearGradientBrush brush(PointF(r.X, r.Y), PointF(r.X, r.Y + r.Height), Color(0xFF16B9C6), Color(0xFF0B6F7C));
        g.FillPath(&brush, RoundedPath(path, inner, r.Height / 2 - 1));
        Pen pen(Color(kAccent), 1.0f);
        g.DrawPath(&pen, &path);
        return;
    }
    Card(g, r, r.Height / 2 - 1, look.fill, look.border);
}

void ModeDial(Graphics& g, RectF r, int lit) {
    const float cx = r.X + r.Width / 2, cy = r.Y + r.Height / 2;
    Disc(g, kCard, cx, cy, 170.0f);
    Ring(g, kCardBorder, 1.0f, cx, cy, 170.0f, 0, 360);
    Ring(g, 0xFF262C36, 16.0f, cx, cy, 140.0f, 135.0f, 270.0f);
    Ring(g, kAccent, 16.0f, cx, cy, 140.0f, 135.0f, 90.0f * static_cast<float>(lit));
    for (int i = 0; i < 3; ++i) {
        const float x = cx - 30 + 30.0f * static_cast<float>(i);
        const float h = 24.0f + 18.0f * static_cast<float>(i);
        SolidBrush bar{Color(i < lit ? kAccent : kDisabled)};
        g.FillRectangle(&bar, x - 8, cy + 30 - h, 16.0f, h);
    }
}

void Pill(Graphics& g, int, RectF r) { Card(g, r, r.Height / 2 - 1, kField, kFieldBorder); }

void CardPicture(Graphics& g, int, RectF r) { Card(g, r, 12.0f, kCard, kCardBorder); }

void SettingsCard(Graphics& g, int, RectF r) {
    // The window clips the last 25 pixels: the card ends before them.
    Card(g, RectF(r.X, r.Y + 8, r.Width - 35, r.Height - 8), 12.0f, kField, kFieldBorder);
}

void Machine(Graphics& g, int, RectF r) {
    const float cx = r.X + r.Width / 2;
    Card(g, RectF(cx - 110, r.Y + 10, 220, r.Height - 40), 18.0f, kField, kFieldBorder);
    Ring(g, kAccent, 6.0f, cx, r.Y + 180, 64.0f, 0, 360);
    Ring(g, kAccentDeep, 2.0f, cx, r.Y + 180, 76.0f, 0, 360);
    Line(g, kFieldBorder, 2.0f, cx - 60, r.Y + 320, cx + 60, r.Y + 320);
    SolidBrush foot{Color(kCardBorder)};
    g.FillRectangle(&foot, cx - 90, r.Y + r.Height - 30, 180.0f, 6.0f);
}

void Switch(Graphics& g, int frame, RectF r) {
    const bool on = frame == 1;
    RectF track(r.X + 2.5f, r.Y + 4.5f, r.Width - 5, r.Height - 9);
    GraphicsPath path;
    RoundedPath(path, track, track.Height / 2);
    SolidBrush fill{Color(on ? kAccentDeep : kHover)};
    g.FillPath(&fill, &path);
    Pen pen(Color(on ? kAccent : kFieldBorder), 1.0f);
    g.DrawPath(&pen, &path);
    const float knob = track.Height / 2 - 3;
    Disc(g, on ? 0xFFFFFFFF : 0xFF9AA3AF, on ? track.X + track.Width - knob - 4 : track.X + knob + 4,
         track.Y + track.Height / 2, knob);
}

void UpdateButton(Graphics& g, int frame, RectF r) {
    const Look look = PushLook(frame);
    Card(g, r, 6.0f, look.fill, look.border);
    const float cx = r.X + 16, cy = r.Y + 16;
    Ring(g, look.glyph, 2.0f, cx, cy, 8.0f, -60.0f, 300.0f);
    Line(g, look.glyph, 2.0f, cx + 4, cy - 7, cx + 9, cy - 11);
    Line(g, look.glyph, 2.0f, cx + 4, cy - 7, cx + 9, cy - 2);
}

void PushButton(Graphics& g, int frame, RectF r) {
    const Look look = PushLook(frame);
    Card(g, r, 6.0f, look.fill, look.border);
}

// The picture of the placement modes: distinct corners, edges and centre,
// so that every mode shows what it does with them.
void Specimen(Graphics& g, int, RectF r) {
    LinearGradientBrush brush(PointF(r.X, r.Y), PointF(r.X, r.Y + r.Height), Color(0xFF24507A), Color(0xFF12263C));
    g.FillRectangle(&brush, r);
    Pen edge(Color(kAccent), 2.0f);
    g.DrawRectangle(&edge, r.X + 1, r.Y + 1, r.Width - 2, r.Height - 2);
    for (float x : {r.X + 6, r.X + r.Width - 12})
        for (float y : {r.Y + 6, r.Y + r.Height - 12}) {
            SolidBrush corner{Color(0xFFFFB020)};
            g.FillRectangle(&corner, x, y, 6.0f, 6.0f);
        }
    Ring(g, 0xFFFFFFFF, 2.0f, r.X + r.Width / 2, r.Y + r.Height / 2, 10.0f, 0, 360);
    Disc(g, 0xFFFFFFFF, r.X + r.Width / 2, r.Y + r.Height / 2, 4.0f);
}

void PopupBackground(Graphics& g, int, RectF r) { Card(g, r, 6.0f, kField, kFieldBorder); }

const std::vector<Picture>& Pictures() {
    static const std::vector<Picture> pictures = {
        {L"main_bkg.png", 120, 120, 1, WindowBackground},
        {L"sysbtn_close.png", 30, 30, 4, CloseButton},
        {L"sysbtn_min.png", 30, 30, 4, MinimiseButton},
        {L"sysbtn_set.png", 30, 30, 4, SettingsButton},
        {L"img_combox.png", 150, 35, 4, ComboFace},
        {L"img_gallery_popup.png", 40, 40, 1, PopupBackground},
        {L"tab_system_mode.png", 195, 274, 4, SystemTab},
        {L"tab_light.png", 195, 274, 4, LightTab},
        {L"img_perf_bkg.png", 1500, 688, 1, PageBackground},
        {L"img_btn_permode1.png", 160, 42, 4, ModeTab},
        {L"img_btn_permode2.png", 160, 42, 4, ModeTab},
        {L"img_btn_permode3.png", 160, 42, 4, ModeTab},
        {L"img_permode1.png", 395, 395, 1, [](Graphics& g, int, RectF r) { ModeDial(g, r, 1); }},
        {L"img_permode2.png", 395, 395, 1, [](Graphics& g, int, RectF r) { ModeDial(g, r, 2); }},
        {L"img_permode3.png", 395, 395, 1, [](Graphics& g, int, RectF r) { ModeDial(g, r, 3); }},
        {L"img_area_lightmode.png", 156, 42, 1, Pill},
        {L"img_device.png", 300, 390, 1, Machine},
        {L"img_btn_switch.png", 80, 32, 2, Switch},
        {L"img_area_light1.png", 335, 239, 1, CardPicture},
        {L"img_area_light2.png", 336, 418, 1, CardPicture},
        {L"light_set_bg.png", 335, 190, 1, SettingsCard},
        {L"img_btn_update.png", 32, 32, 4, UpdateButton},
        {L"img_button.png", 80, 36, 4, PushButton},
        {L"img_gallery_specimen.png", 80, 56, 1, Specimen},
    };
    return pictures;
}

bool PngEncoder(CLSID& clsid) {
    UINT count = 0, size = 0;
    GetImageEncodersSize(&count, &size);
    std::vector<BYTE> buffer(size);
    auto* codecs = reinterpret_cast<ImageCodecInfo*>(buffer.data());
    if (GetImageEncoders(count, size, codecs) != Ok) return false;
    for (UINT i = 0; i < count; ++i) {
        if (wcscmp(codecs[i].MimeType, L"image/png") == 0) {
            clsid = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

bool Write(const Picture& picture, const CLSID& png, const std::wstring& folder) {
    Bitmap bitmap(picture.width * picture.frames, picture.height, PixelFormat32bppARGB);
    {
        Graphics g(&bitmap);
        g.Clear(Color(0));
        g.SetSmoothingMode(SmoothingModeAntiAlias);
        // Pixel centres on pixel corners: lines on the half-pixel grid
        // cover whole pixels.
        g.SetPixelOffsetMode(PixelOffsetModeHalf);
        for (int frame = 0; frame < picture.frames; ++frame) {
            const RectF r(static_cast<REAL>(frame * picture.width), 0, static_cast<REAL>(picture.width),
                          static_cast<REAL>(picture.height));
            g.SetClip(r);
            picture.paint(g, frame, r);
        }
    }
    const std::wstring path = folder + picture.name;
    return bitmap.Save(path.c_str(), &png, nullptr) == Ok;
}

}  // namespace

bool WriteTestSkin() {
    CLSID png;
    if (!PngEncoder(png)) return false;
    const std::wstring folder = Manager::GetSkinFile(kFolder).Str();
    CreateDirectoryW(folder.c_str(), nullptr);
    bool all = true;
    for (const Picture& picture : Pictures()) all = Write(picture, png, folder) && all;
    return all;
}

void UseTestSkin(bool on) { g_useTestSkin = on; }

CString SkinImage(const wchar_t* name) {
    for (const Picture& picture : Pictures()) {
        if (wcscmp(picture.name, name) != 0) continue;
        // The gallery's own specimens have no shipped counterpart.
        const bool galleryOnly = wcsncmp(name, L"img_gallery_", 12) == 0;
        if (g_useTestSkin || galleryOnly) return CString(kFolder) + name;
    }
    return name;
}

}  // namespace gallery
