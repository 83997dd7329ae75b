// The custom menu: its width and layout, and what choosing an item posts to
// the owner window, through real window messages.
#include <gtest/gtest.h>

#include <memory>

#include "ControlsTestSupport.h"
#include "MRender.h"
#include "MenuItem.h"
#include "MenuWnd.h"

using namespace controls_test;
using hvui_test::PumpMessages;

namespace {

const auto* const kGdiplus = ::testing::AddGlobalTestEnvironment(new hvui_test::GdiplusEnvironment);

constexpr UINT kNotify = WM_APP + 7;
const wchar_t kFace[] = L"Tahoma";

// A plain top-level window that receives the menu's notify message.
struct Owner {
    HWND window = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ~Owner() { DestroyWindow(window); }
    // The notify message waiting in the queue, if any.
    bool TakeNotify(MSG& message) { return PeekMessageW(&message, window, kNotify, kNotify, PM_REMOVE) != 0; }
};

std::unique_ptr<MenuWnd> MakeMenu(Owner& owner) {
    auto menu = std::make_unique<MenuWnd>(nullptr);
    menu->SetMenuFont(kFace, 16, 0);
    EXPECT_EQ(menu->Create(owner.window, CPoint(100, 100), kNotify), 1);
    return menu;
}

int TitleWidth(const wchar_t* title) {
    Gdiplus::FontFamily family(kFace);
    Gdiplus::Font font(&family, 16, 0, Gdiplus::UnitPixel);
    Gdiplus::StringFormat format;
    format.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap);
    return MRender::GetTextBounds(font, format, title).Width;
}

void ClickAt(HWND window, CPoint point) {
    const LPARAM at = MAKELPARAM(point.x, point.y);
    SendMessageW(window, WM_MOUSEMOVE, 0, at);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(window, WM_LBUTTONUP, 0, at);
}

CPoint CentreOf(MControl* control) { return control->GetRect().CenterPoint(); }

}  // namespace

TEST(MenuWnd, GrowsToItsWidestTitle) {
    Owner owner;
    auto menu = MakeMenu(owner);
    menu->AddMenu(L"Short", 1, -1, 0, 0);
    EXPECT_EQ(menu->GetMenuWidth(), 300);

    const wchar_t wide[] = L"A title much wider than the menu's three hundred pixels, surely";
    ASSERT_GT(TitleWidth(wide), 291);
    menu->AddMenu(wide, 2, -1, 0, 0);
    EXPECT_EQ(menu->GetMenuWidth(), TitleWidth(wide) + 9);
    RECT window;
    GetWindowRect(menu->GetSafeHwnd(), &window);
    EXPECT_EQ(window.right - window.left, menu->GetMenuWidth());
    EXPECT_EQ(menu->GetControl(1)->GetRect().right, menu->GetMenuWidth() - 2);
}

TEST(MenuWnd, LaysOutItemsBetweenItsMargins) {
    struct Case {
        int margin;
        int firstTop;
    };
    for (const Case c : {Case{0, 2}, Case{6, 6}}) {
        SCOPED_TRACE(testing::Message() << "margin " << c.margin);
        Owner owner;
        auto menu = MakeMenu(owner);
        menu->SetMargins(c.margin, c.margin);
        menu->AddMenu(L"Open", 1, -1, 0, 0);
        menu->AddSeparator(2, L"");
        menu->AddMenu(L"Exit", 3, -1, 0, 0);
        EXPECT_EQ(menu->GetControl(1)->GetRect(), CRect(2, c.firstTop, 298, c.firstTop + 35));
        EXPECT_EQ(menu->GetControl(2)->GetRect(), CRect(6, c.firstTop + 36, 299, c.firstTop + 37));
        const CRect last = menu->GetControl(3)->GetRect();
        EXPECT_EQ(last.top, c.firstTop + 39);
        RECT client;
        GetClientRect(menu->GetSafeHwnd(), &client);
        EXPECT_EQ(client.bottom, last.bottom + c.firstTop);
    }
}

TEST(MenuWnd, ChoosingAnItemPostsItsIdAndCloses) {
    Owner owner;
    auto menu = MakeMenu(owner);
    menu->AddMenu(L"Open", 31, -1, 0, 0);
    menu->AddMenu(L"Exit", 32, -1, 0, 0);
    HWND window = menu->GetSafeHwnd();
    ClickAt(window, CentreOf(menu->GetControl(32)));
    MSG message;
    ASSERT_TRUE(owner.TakeNotify(message));
    EXPECT_EQ(message.wParam, 0u);
    EXPECT_EQ(message.lParam, 32);
    PumpMessages(20);
    EXPECT_FALSE(IsWindow(window));
}

TEST(MenuWnd, PressingACheckableItemPostsTheOldCheckAndStaysOpen) {
    Owner owner;
    auto menu = MakeMenu(owner);
    menu->AddMenu(L"Start with Windows", 41, -1, 0, 0);
    auto* item = static_cast<MenuItem*>(menu->GetControl(41));
    item->SetCheckable(1);
    item->SetGroupName(L"");
    HWND window = menu->GetSafeHwnd();

    ClickAt(window, CentreOf(item));
    MSG message;
    ASSERT_TRUE(owner.TakeNotify(message));
    EXPECT_EQ(message.wParam, 0u) << "the check before the press";
    EXPECT_EQ(message.lParam, 41);
    EXPECT_EQ(item->GetCheck(), 1);
    PumpMessages(20);
    EXPECT_TRUE(IsWindow(window));

    ClickAt(window, CentreOf(item));
    ASSERT_TRUE(owner.TakeNotify(message));
    EXPECT_EQ(message.wParam, 1u);
    EXPECT_EQ(item->GetCheck(), 0) << "outside a group a click toggles";
}

TEST(MenuItem, HoverFollowsThePointerAndPaintsTheHoverColour) {
    hvui_test::RecordingParent parent;
    MenuItem item(&parent, 5, CRect(0, 0, 100, 30), L"", 1, 1);
    EXPECT_STREQ(item.GetClassNameW(), L"MenuItem");
    item.SetHoverColor(kGreen);
    PixelSurface surface(100, 30);
    Render(item, surface);
    EXPECT_EQ(surface.Rgb(50, 15), kBackground);
    item.OnMouseMove(0, CPoint(50, 15));
    EXPECT_EQ(item.IsHover(), 1);
    ASSERT_FALSE(parent.updates.empty());
    EXPECT_EQ(parent.updates.back().code, 0);
    Render(item, surface);
    EXPECT_PRED3(Near, surface.Rgb(50, 15), Rgb(kGreen), 2);
    item.OnMouseMove(0, CPoint(150, 15));
    EXPECT_EQ(item.IsHover(), 0);
}
