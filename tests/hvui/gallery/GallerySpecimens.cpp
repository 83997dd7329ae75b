// The gallery's specimen sheet: the picture in each placement mode, texts in
// each alignment and over several lines, filled and fading areas, every push
// button and the switch in each state, tabs, closed combo boxes and an open
// menu, each with its caption.
//   hvui_gallery.exe --specimens [--test-skin] [--seconds N]
#include "GallerySpecimens.h"

#include <cstdio>
#include <memory>
#include <vector>

#include "CArea.h"
#include "CImageButton.h"
#include "CSwitchButton.h"
#include "CTabCtrl5.h"
#include "CTextButton.h"
#include "GallerySupport.h"
#include "GalleryTestSkin.h"
#include "MButton.h"
#include "MComboBox.h"
#include "MDialog.h"
#include "MPicture.h"
#include "MText.h"
#include "MenuWnd.h"

namespace gallery {
namespace {

constexpr int kWidth = 1400;
constexpr int kHeight = 760;
constexpr unsigned kAnimationPeriodMs = 16;
constexpr Gdiplus::ARGB kHeadingColour = 0xFFF2F2F2;
constexpr Gdiplus::ARGB kCaptionColour = 0xFF9AA3AF;
constexpr COLORREF kCellColour = RGB(0x19, 0x1D, 0x25);
constexpr Gdiplus::ARGB kCellFrame = 0xFF2A303B;
constexpr UINT kMenuNotify = WM_APP + 20;
constexpr COLORREF kScreen = RGB(0, 0, 0);

class SpecimenSheet : public MDialog {
public:
    void InitUI(CRect client) override {
        // Under the rounded corners of the background picture.
        SetBackColor(kScreen, kScreen);
        if (auto* back = Make<MPicture>(*this, L"MPicture", 1, client, L"", true)) {
            back->SetImage(SkinImage(L"main_bkg.png"), 1);
            back->SetShowModeMID(36, 36, 36, 36);
        }
        BuildPictures();
        BuildTexts();
        BuildAreas();
        BuildButtons();
        BuildTabsAndBoxes();
    }

    LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_KEYDOWN && wParam == VK_ESCAPE) DoCancel();
        return MDialog::OnWindowMessage(msg, wParam, lParam);
    }

    // The states the pointer would give; called once the sheet is painted,
    // as tabs learn their places when painted.
    void DriveStates() {
        for (MControl* c : m_hovered) Hover(c);
        for (MControl* c : m_pressed) Press(c);
        // The pointer on the second tab.
        if (m_tabs) m_tabs->OnMouseMove(0, CPoint(m_tabs->GetRect().left + 280, m_tabs->GetRect().top + 20));
    }

    void OpenMenu() {
        m_menu = std::make_unique<MenuWnd>(nullptr);
        m_menu->SetMenuFont(L"Segoe UI", 16, 0);
        m_menu->SetTextIndent(16);
        m_menu->SetHoverColor(0xFF2A313D);
        POINT at = {1120, 560};
        ::ClientToScreen(GetSafeHwnd(), &at);
        if (!m_menu->Create(GetSafeHwnd(), CPoint(at.x, at.y), kMenuNotify, SkinImage(L"img_gallery_popup.png"), 6, 200,
                            BackModeNineSlice))
            return;
        m_menu->AddMenu(L"Open the window", 1, -1, 0, 0);
        m_menu->AddMenu(L"Check for updates", 2, -1, 0, 0);
        m_menu->AddSeparator(3, L"");
        m_menu->AddMenu(L"Exit", 4, -1, 0, 0);
        m_menu->ShowWindow(SW_SHOW);
        Pump(100);
        // The pointer on the second item.
        if (MControl* item = m_menu->GetControl(2)) {
            const CPoint centre = item->GetRect().CenterPoint();
            ::PostMessageW(m_menu->GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(centre.x, centre.y));
        }
    }

private:
    unsigned NextId() { return m_nextId++; }

    MText* Label(const wchar_t* text, CRect rect, Gdiplus::ARGB colour, int size, int style, unsigned align = 0) {
        auto* label = Make<MText>(*this, L"MText", NextId(), rect, text, true);
        if (!label) return nullptr;
        label->SetFont(L"Segoe UI", size, static_cast<Gdiplus::FontStyle>(style));
        label->SetTextColor(Gdiplus::Color(colour));
        label->SetAlignment(align);
        return label;
    }
    void Heading(const wchar_t* text, int x, int y) { Label(text, CRect(x, y, x + 400, y + 26), kHeadingColour, 17, 1); }
    void Caption(const wchar_t* text, CRect rect, unsigned align = 1) { Label(text, rect, kCaptionColour, 13, 0, align); }

    CArea* Cell(CRect rect) {
        auto* cell = Make<CArea>(*this, L"CArea", NextId(), rect, L"", true);
        if (!cell) return nullptr;
        cell->SetTransparent(0, 0, kCellColour);
        cell->SetFrame(1, Gdiplus::Color(kCellFrame), 1);
        return cell;
    }

    // The same 60 × 44 picture, with marked corners, in all six modes.
    void BuildPictures() {
        Heading(L"Pictures: the six placement modes", 30, 24);
        const struct {
            const wchar_t* caption;
            enumShowMode mode;
            int border;
        } modes[] = {{L"Normal, centred", ShowNormal, 0},   {L"Tile", ShowTile, 0},
                     {L"Stretch", ShowStretch, 0},          {L"Frame, 8 px", ShowFrame, 8},
                     {L"Nine-slice 14/14/14/14", ShowFrameMID, 0}, {L"Custom rectangle", ShowCustomRect, 0}};
        for (int i = 0; i < 6; ++i) {
            const CRect cell(30 + i * 220, 60, 230 + i * 220, 170);
            Cell(cell);
            auto* picture = Make<MPicture>(*this, L"MPicture", NextId(), CRect(cell.left + 10, cell.top + 10,
                                                                                cell.right - 10, cell.bottom - 10),
                                           L"", true);
            if (picture) {
                picture->SetImage(SkinImage(L"img_gallery_specimen.png"), 1);
                picture->SetAlignment(1, 4);
                if (modes[i].mode == ShowFrameMID) picture->SetShowModeMID(14, 14, 14, 14);
                else picture->SetShowMode(modes[i].mode, modes[i].border);
                if (modes[i].mode == ShowCustomRect) picture->SetCustomRect(CRect(0, 0, 30, 22));
            }
            Caption(modes[i].caption, CRect(cell.left, cell.bottom + 6, cell.right, cell.bottom + 28));
        }
    }

    void BuildTexts() {
        Heading(L"Texts: alignments, lines, background", 30, 222);
        const wchar_t* horizontal[] = {L"Left", L"Centre", L"Right"};
        const wchar_t* vertical[] = {L"top", L"middle", L"bottom"};
        const unsigned vertFlags[] = {0, 4, 8};
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 3; ++column) {
                const CRect cell(30 + column * 140, 256 + row * 50, 160 + column * 140, 300 + row * 50);
                Cell(cell);
                wchar_t text[32];
                swprintf(text, 32, L"%ls %ls", horizontal[column], vertical[row]);
                if (auto* t = Label(text, CRect(cell.left + 8, cell.top + 4, cell.right - 8, cell.bottom - 4),
                                    kHeadingColour, 14, 0, static_cast<unsigned>(column)))
                    t->SetVAlignment(vertFlags[row]);
            }
        }
        const CRect many(460, 256, 700, 350);
        Cell(many);
        if (auto* t = Label(L"A longer text wraps at the width of its rectangle and stays centred on the middle line.",
                            CRect(many.left + 10, many.top + 4, many.right - 10, many.bottom - 4), kHeadingColour, 14,
                            0, 1)) {
            t->EnableMultiLine(1);
            t->EnableVCenter(1);
        }
        if (auto* t = Label(L"On its own background", CRect(460, 360, 700, 400), 0xFF0B1A1F, 14, 1, 1))
            t->EnableTextBack(1, Gdiplus::Color(0xFF1BFFFF));
    }

    void BuildAreas() {
        Heading(L"Areas: fills, frame and fades", 740, 222);
        const struct {
            const wchar_t* caption;
            int start;
            int end;
            int vertical;
            bool frame;
        } areas[] = {{L"Solid", 0, 0, 1, false},          {L"Framed", 0, 0, 1, true}, {L"Fade 0 to 100 %", 0, 100, 1, false},
                     {L"Fade across", 0, 100, 0, false}, {L"Cover 40 %", 40, 40, 1, false}};
        for (int i = 0; i < 5; ++i) {
            const CRect rect(740 + i * 118, 256, 840 + i * 118, 346);
            if (i == 4) {
                // The cover is seen over something: the specimen picture.
                if (auto* under = Make<MPicture>(*this, L"MPicture", NextId(), rect, L"", true)) {
                    under->SetImage(SkinImage(L"img_gallery_specimen.png"), 1);
                    under->SetShowMode(ShowStretch, 0);
                }
            }
            auto* area = Make<CArea>(*this, L"CArea", NextId(), rect, L"", true);
            if (area) {
                area->SetDirection(areas[i].vertical);
                area->SetTransparent(areas[i].start, areas[i].end, i == 4 ? 0x3C3C3C : RGB(0x1B, 0xC8, 0xD8));
                if (areas[i].frame) area->SetFrame(1, Gdiplus::Color(0xFFF2F2F2), 1);
            }
            Caption(areas[i].caption, CRect(rect.left - 8, rect.bottom + 6, rect.right + 8, rect.bottom + 28));
        }
    }

    // One row per button class, one column per state.
    void BuildButtons() {
        Heading(L"Buttons in their four states", 30, 430);
        const wchar_t* states[] = {L"Normal", L"Hover", L"Pressed", L"Disabled"};
        for (int s = 0; s < 4; ++s) Caption(states[s], CRect(210 + s * 125, 462, 325 + s * 125, 484));
        const wchar_t* rows[] = {L"MButton", L"CImageButton", L"CTextButton", L"CSwitchButton"};
        for (int r = 0; r < 4; ++r) {
            const int top = 494 + r * 56;
            Label(rows[r], CRect(30, top, 200, top + 36), kCaptionColour, 14, 1);
            for (int s = 0; s < 4; ++s) AddButton(r, s, 210 + s * 125, top);
        }
        Caption(L"(the switch shows its check: off, on, off, on)", CRect(210, 718, 710, 740), 0);
    }

    void AddButton(int kind, int state, int left, int top) {
        MControl* control = nullptr;
        if (kind == 0) {
            auto* b = Make<MButton>(*this, L"MButton", NextId(), CRect(left + 7, top, left + 107, top + 36), L"Apply");
            if (b) b->SetImage(SkinImage(L"img_button.png"), 4);
            control = b;
        } else if (kind == 1) {
            auto* b = Make<CImageButton>(*this, L"CImageButton", NextId(), CRect(left + 41, top + 2, left + 73, top + 34));
            if (b) b->SetImage(SkinImage(L"img_btn_update.png"), 4);
            control = b;
        } else if (kind == 2) {
            auto* b = Make<CTextButton>(*this, L"CTextButton", NextId(), CRect(left, top + 3, left + 115, top + 33),
                                        L"Restore");
            if (b) b->SetFontWidth(16);
            control = b;
        } else {
            auto* b = Make<CSwitchButton>(*this, L"CSwitchButton", NextId(), CRect(left + 17, top + 2, left + 97, top + 34));
            if (b) {
                b->SetImage(SkinImage(L"img_btn_switch.png"), 2);
                b->SetCheck(state % 2);
            }
            control = b;
        }
        if (!control) return;
        if (state == 1) m_hovered.push_back(control);
        if (state == 2) m_pressed.push_back(control);
        if (state == 3) control->SetEnabled(0);
    }

    void BuildTabsAndBoxes() {
        Heading(L"Horizontal tabs: selected, hovered", 740, 430);
        if (auto* tabs = Make<CTabCtrl5>(*this, L"CTabCtrl5", NextId(), CRect(740, 462, 1300, 504))) {
            tabs->SetFontWidth(16);
            tabs->AddItem(L"Quiet", 1, SkinImage(L"img_btn_permode1.png"));
            tabs->AddItem(L"Balanced", 2, SkinImage(L"img_btn_permode2.png"));
            tabs->AddItem(L"Performance", 3, SkinImage(L"img_btn_permode3.png"));
            tabs->SetSelectItem(0);
            m_tabs = tabs;
        }
        Heading(L"Combo boxes and a menu", 740, 530);
        const wchar_t* states[] = {L"Normal", L"Hover", L"Disabled"};
        for (int i = 0; i < 3; ++i) {
            const CRect rect(740, 562 + i * 50, 890, 597 + i * 50);
            auto* box = Make<MComboBox>(*this, L"MComboBox", NextId(), rect);
            if (!box) continue;
            box->SetFontWidth(16);
            box->SetImage(SkinImage(L"img_combox.png"), 4);
            box->AddItem(L"English", 1033, L"", Gdiplus::Color(0));
            box->AddItem(L"Deutsch", 1031, L"", Gdiplus::Color(0));
            box->SelectData(i == 1 ? 1031 : 1033);
            if (i == 1) m_hovered.push_back(box);
            if (i == 2) box->SetEnabled(0);
            Caption(states[i], CRect(900, rect.top, 1000, rect.bottom), 0);
        }
    }

    unsigned m_nextId = 100;
    std::vector<MControl*> m_hovered;
    std::vector<MControl*> m_pressed;
    CTabCtrl5* m_tabs = nullptr;
    std::unique_ptr<MenuWnd> m_menu;
};

}  // namespace

bool RunSpecimenSheet(int argc, char** argv, int& result) {
    if (!Flag(argc, argv, "--specimens")) return false;
    Manager::SetInstance(GetModuleHandleW(nullptr));
    Manager::InitGdiplus();
    UseTestSkin(Flag(argc, argv, "--test-skin"));
    result = WriteTestSkin() ? 0 : 1;
    {
        SpecimenSheet sheet;
        sheet.Create(nullptr, L"HVUI gallery: specimens", WS_POPUP, 0, CRect(0, 0, kWidth, kHeight));
        sheet.SetMTimer(kAnimationPeriodMs);
        sheet.ShowWindow(SW_SHOW);
        Pump(300);
        sheet.DriveStates();
        sheet.OpenMenu();
        const int seconds = std::atoi(Option(argc, argv, "--seconds", "0"));
        if (seconds > 0) {
            Pump(static_cast<DWORD>(seconds) * 1000);
            sheet.DestroyWindow();
        } else {
            sheet.ShowModal(SW_SHOW);
        }
    }
    Manager::UnInitGdiplus();
    return true;
}

}  // namespace gallery
