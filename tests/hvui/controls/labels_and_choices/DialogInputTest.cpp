// Buttons, the switch, the combo box and the tab bar on a real dialog,
// driven by window messages posted to it: the paint manager's routing
// (hover tracking, capture, press and release) decides what the controls
// hear, as in the program.
#include <gtest/gtest.h>

#include "../../core/DialogTestSupport.h"
#include "CComboBoxList.h"
#include "CComboBoxWnd.h"
#include "CSwitchButton.h"
#include "ControlsTestSupport.h"
#include "MButton.h"
#include "MComboBox.h"
#include "MTabLayout.h"
#include "TabCtrlEx.h"

using namespace controls_test;
using hvui_test::DialogSuite;

namespace {

const auto* const kGdiplus = ::testing::AddGlobalTestEnvironment(new hvui_test::GdiplusEnvironment);

constexpr unsigned kId = 40;
const CRect kButtonRect(20, 20, 100, 50);
const CPoint kInside(60, 35);
const CPoint kOutside(200, 200);
// Four 80 × 30 frames: red, green, blue, grey (disabled).
const wchar_t* StateStrip() { return StripFile(L"dialog-states4.png", 320, 30, {kRed, kGreen, kBlue, kGrey}); }
const wchar_t* SwitchStrip() { return StripFile(L"dialog-switch2.png", 160, 30, {kRed, kGreen}); }
const wchar_t* BoxStrip() { return StripFile(L"dialog-combo4.png", 600, 30, {kRed, kGreen, kBlue, kGrey}); }
const wchar_t* NavStrip() { return StripFile(L"dialog-navtab.png", 940, 274, {kRed, kGreen, kBlue, kGrey}); }

class DialogInput : public DialogSuite {
protected:
    static void Move(CPoint p, WPARAM keys = 0) { Post(WM_MOUSEMOVE, keys, p.x, p.y); }
    static void Down(CPoint p) { Post(WM_LBUTTONDOWN, MK_LBUTTON, p.x, p.y); }
    static void Up(CPoint p) { Post(WM_LBUTTONUP, 0, p.x, p.y); }
    static void Click(CPoint p) {
        Move(p);
        Down(p);
        Up(p);
    }
    static std::vector<unsigned> CodesOf(unsigned id) {
        std::vector<unsigned> codes;
        for (const auto& n : dialog->notifications)
            if (n.id == id) codes.push_back(n.code);
        return codes;
    }
    // The dialog's own picture of the point, as it would reach the screen.
    static uint32_t WindowPixel(CPoint p) {
        CRect client;
        manager()->GetClientRect(client);
        unsigned char* bits = nullptr;
        HBITMAP frame = manager()->RenderFrame(client, &bits);
        if (!frame || !bits) return 0;
        const int row = client.Height() - 1 - p.y;  // bottom-up
        const unsigned char* px = bits + (static_cast<size_t>(row) * client.Width() + p.x) * 4;
        const uint32_t rgb = (px[2] << 16) | (px[1] << 8) | px[0];
        DeleteObject(frame);
        return rgb;
    }
    MButton* AddButton() {
        auto* button = dynamic_cast<MButton*>(dialog->CreateControl(L"MButton", kId, kButtonRect, L"", 1, 1));
        EXPECT_NE(button, nullptr);
        if (button) {
            EXPECT_EQ(button->SetImage(StateStrip(), 4), 1);
        }
        return button;
    }
};

}  // namespace

TEST_F(DialogInput, ButtonNotifiesTheReleaseOnlyWhenItEndsInside) {
    struct Case {
        const char* name;
        std::vector<CPoint> dragThrough;
        CPoint release;
        std::vector<unsigned> codes;
    };
    const Case cases[] = {
        {"press and release inside", {}, kInside, {1, 2}},
        {"release outside", {kOutside}, kOutside, {1}},
        {"out and back in", {kOutside, kInside}, kInside, {1, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        manager()->ClearAllControls();
        dialog->notifications.clear();
        ASSERT_NE(AddButton(), nullptr);
        Move(kInside);
        Down(kInside);
        for (CPoint p : c.dragThrough) Move(p, MK_LBUTTON);
        Up(c.release);
        EXPECT_EQ(CodesOf(kId), c.codes);
        EXPECT_EQ(manager()->IsCaptured(), 0) << "the release gives the mouse back";
    }
}

TEST_F(DialogInput, DisabledButtonIgnoresInputAndShowsItsDisabledFrame) {
    MButton* button = AddButton();
    ASSERT_NE(button, nullptr);
    button->SetEnabled(0);
    Click(kInside);
    EXPECT_TRUE(CodesOf(kId).empty());
    EXPECT_PRED3(Near, WindowPixel(CPoint(25, 25)), Rgb(kGrey), 2);

    button->SetEnabled(1);
    EXPECT_PRED3(Near, WindowPixel(CPoint(25, 25)), Rgb(kRed), 2) << "enabled again: the normal frame";
    Click(kInside);
    EXPECT_EQ(CodesOf(kId), (std::vector<unsigned>{1, 2}));
}

TEST_F(DialogInput, SwitchTogglesAndReportsItsNewState) {
    auto* sw = dynamic_cast<CSwitchButton*>(dialog->CreateControl(L"CSwitchButton", kId, kButtonRect, L"", 1, 1));
    ASSERT_NE(sw, nullptr);
    ASSERT_EQ(sw->SetImage(SwitchStrip(), 2), 1);
    for (int expected : {1, 0, 1}) {
        dialog->notifications.clear();
        Click(kInside);
        ASSERT_EQ(dialog->notifications.size(), 1u);
        EXPECT_EQ(dialog->notifications[0].code, 2u);
        EXPECT_EQ(dialog->notifications[0].lParam, expected);
        EXPECT_EQ(sw->GetCheck(), expected);
        EXPECT_PRED3(Near, WindowPixel(CPoint(25, 25)), Rgb(expected ? kGreen : kRed), 2);
    }
}

namespace {

struct Language {
    const wchar_t* name;
    long data;
};
const Language kLanguages[] = {{L"English", 1033}, {L"Deutsch", 1031}, {L"Français", 1036}};
const CRect kBoxRect(20, 20, 170, 50);
const CPoint kOnBox(90, 35);

MComboBox* AddBox(hvui_test::TestDialog& dialog) {
    auto* box = dynamic_cast<MComboBox*>(dialog.CreateControl(L"MComboBox", kId, kBoxRect, L"", 1, 1));
    if (!box) return nullptr;
    box->SetImage(BoxStrip(), 4);
    for (const Language& l : kLanguages) box->AddItem(l.name, l.data, L"", Gdiplus::Color(0));
    box->SelectData(1033);
    return box;
}

// Where row r of the open list is, in the popup's client coordinates.
LPARAM RowPoint(CComboBoxList& list, int row) {
    const CRect rect = list.GetRect();
    return MAKELPARAM(rect.left + 20, rect.top + row * list.GetRowHeight() + list.GetRowHeight() / 2);
}

}  // namespace

TEST_F(DialogInput, ComboBoxOpensAndAClickOnAnItemSelectsNotifiesAndCloses) {
    MComboBox* box = AddBox(*dialog);
    ASSERT_NE(box, nullptr);
    Click(kOnBox);
    ASSERT_NE(box->GetPopup(), nullptr);
    HWND popup = box->GetPopup()->GetSafeHwnd();
    ASSERT_TRUE(IsWindow(popup));
    EXPECT_EQ(box->IsOpen(), 1);

    CComboBoxList& list = *box->GetPopup()->GetList();
    PostMessageW(popup, WM_MOUSEMOVE, 0, RowPoint(list, 1));
    PostMessageW(popup, WM_LBUTTONDOWN, MK_LBUTTON, RowPoint(list, 1));
    PostMessageW(popup, WM_LBUTTONUP, 0, RowPoint(list, 1));
    hvui_test::PumpDialog(*dialog, 50);

    EXPECT_FALSE(IsWindow(popup));
    EXPECT_EQ(box->IsOpen(), 0);
    ASSERT_EQ(CodesOf(kId), (std::vector<unsigned>{2}));
    EXPECT_EQ(dialog->notifications[0].wParam, 1u);
    EXPECT_EQ(box->GetCurData(), 1031);
    EXPECT_EQ(box->GetCurSel(), 1) << "the selection is set when the notification arrives";
}

TEST_F(DialogInput, ComboBoxClosesWithoutAChangeWhenTheDialogIsClickedElsewhere) {
    MComboBox* box = AddBox(*dialog);
    ASSERT_NE(box, nullptr);
    Click(kOnBox);
    ASSERT_NE(box->GetPopup(), nullptr);
    HWND popup = box->GetPopup()->GetSafeHwnd();
    ASSERT_TRUE(IsWindow(popup));

    // A click on the dialog takes the activation away from the drop-down.
    SetActiveWindow(window());
    Click(kOutside);
    hvui_test::PumpDialog(*dialog, 50);
    EXPECT_FALSE(IsWindow(popup));
    EXPECT_EQ(box->IsOpen(), 0);
    EXPECT_TRUE(CodesOf(kId).empty());
    EXPECT_EQ(box->GetCurData(), 1033);
}

TEST_F(DialogInput, TabClicksSwitchPagesAndNotifyWhileSetSelectItemDoesNot) {
    // A navigation column is taller than the shared dialog.
    constexpr int kTallHeight = 760;
    SetWindowPos(window(), nullptr, 0, 0, kWidth, kTallHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    hvui_test::PumpDialog(*dialog, 20);
    const CRect pageRect(240, 0, kWidth, kHeight);
    auto* systemPage = dynamic_cast<MTabLayout*>(dialog->CreateControl(L"MTabLayout", 37, pageRect, L"", 1, 1));
    auto* lightPage = dynamic_cast<MTabLayout*>(dialog->CreateControl(L"MTabLayout", 38, pageRect, L"", 0, 1));
    ASSERT_TRUE(systemPage && lightPage);
    // The page's own child shows the page's factory at work.
    ASSERT_NE(lightPage->CreateControl(L"MButton", 50, CRect(260, 20, 340, 50), L"", 1, 1), nullptr);
    auto* bar = dynamic_cast<TabCtrlEx*>(dialog->CreateControl(L"TabCtrlEx", 36, CRect(0, 0, 235, kTallHeight), L"", 1, 1));
    ASSERT_NE(bar, nullptr);
    bar->AddItem(L"System", 11, NavStrip(), systemPage);
    bar->AddItem(L"Light", 12, NavStrip(), lightPage);
    bar->SetSelectItem(0);
    EXPECT_TRUE(dialog->notifications.empty()) << "a selection from code";
    WindowPixel(CPoint(0, 0));  // the bar learns its tab rectangles while painting

    Click(CPoint(100, TabCtrlEx::kTabPitch + 50));
    ASSERT_EQ(CodesOf(36), (std::vector<unsigned>{2}));
    EXPECT_EQ(dialog->notifications[0].wParam, 1u);
    EXPECT_EQ(lightPage->IsVisible(), 1);
    EXPECT_EQ(systemPage->IsVisible(), 0);

    dialog->notifications.clear();
    bar->SetSelectItem(0);
    EXPECT_TRUE(dialog->notifications.empty());
    EXPECT_EQ(systemPage->IsVisible(), 1);
    EXPECT_EQ(lightPage->IsVisible(), 0);
    SetWindowPos(window(), nullptr, 0, 0, kWidth, kHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
