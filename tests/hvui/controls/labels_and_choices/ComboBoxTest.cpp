// The combo box: items selected by data, the closed look, and the drop-down
// window driven through real window messages.
#include <gtest/gtest.h>

#include "CScrollVertical.h"

#include "CComboBoxList.h"
#include "CComboBoxWnd.h"
#include "ControlsTestSupport.h"
#include "MComboBox.h"
#include "PaintManager.h"
#include "TestProcess.h"

using namespace controls_test;
using hvui_test::PumpMessages;
using hvui_test::RecordingParent;

namespace {

const auto* const kGdiplus = ::testing::AddGlobalTestEnvironment(new hvui_test::GdiplusEnvironment);

// The tests run on an X server without a window manager. Wine's X driver
// hands activated windows to the window manager and, on closing one, waits
// two seconds for a manager that never answers. The driver reads whether it
// should, per program, when a process starts: the long test runs in a child
// process of this program, started after the setting is made.
constexpr wchar_t kChildVariable[] = L"HVUI_CONTROLS1_CHILD";

std::wstring ThisProgram() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

bool DeclareWindowsUnmanaged() {
    const std::wstring path = ThisProgram();
    const size_t slash = path.rfind(L'\\');
    const std::wstring key =
        L"Software\\Wine\\AppDefaults\\" + path.substr(slash == std::wstring::npos ? 0 : slash + 1) + L"\\X11 Driver";
    const wchar_t value[] = L"N";
    return RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"Managed", REG_SZ, value, sizeof(value)) ==
           ERROR_SUCCESS;
}

bool IsChild() { return GetEnvironmentVariableW(kChildVariable, nullptr, 0) != 0; }

constexpr unsigned kBoxId = 61;
const CRect kBoxRect(20, 20, 170, 55);  // 150 × 35, the language selector's size
const CPoint kOnBox(100, 37);

struct Language {
    const wchar_t* name;
    long lcid;
};
const Language kLanguages[] = {{L"English", 1033}, {L"Deutsch", 1031}, {L"Polski", 1045}};

// Four 150 × 35 frames: red, green, blue, grey.
const wchar_t* BoxStrip() { return StripFile(L"combo4.png", 600, 35, {kRed, kGreen, kBlue, kGrey}); }

struct Box {
    RecordingParent parent;
    MComboBox box{&parent, kBoxId, kBoxRect, 1, 1};

    explicit Box(int count = 3) {
        for (int i = 0; i < count; ++i) {
            const Language& l = kLanguages[i % 3];
            box.AddItem(l.name, l.lcid + 100 * (i / 3), L"", Gdiplus::Color(0));
        }
    }
    ~Box() { PumpMessages(); }
    void Open() {
        box.OnMouseMove(0, kOnBox);
        box.OnLButtonDown(MK_LBUTTON, kOnBox);
        box.OnLButtonUp(0, kOnBox);
    }
    HWND PopupWindow() const { return box.GetPopup() ? box.GetPopup()->GetSafeHwnd() : nullptr; }
};

// Where row r of the open list is, in the popup's client coordinates.
LPARAM RowPoint(CComboBoxList& list, int row) {
    const CRect rect = list.GetRect();
    return MAKELPARAM(rect.left + 20, rect.top + row * list.GetRowHeight() + list.GetRowHeight() / 2);
}

int CountThreadWindows() {
    int count = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND, LPARAM counter) -> BOOL {
            ++*reinterpret_cast<int*>(counter);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

// A plain top-level window to take the activation away from a popup.
struct OtherWindow {
    HWND window = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 400, 400, 50, 50, nullptr, nullptr,
                                  nullptr, nullptr);
    ~OtherWindow() { DestroyWindow(window); }
    void Activate() const {
        SetActiveWindow(window);
        PumpMessages(20);
    }
};

}  // namespace

TEST(MComboBox, SelectsByDataWithoutNotifying) {
    Box b;
    struct Step {
        const char* what;
        long data;
        int answer;
        int selection;
        const wchar_t* title;
    };
    const Step steps[] = {
        {"present", 1031, 1, 1, L"Deutsch"},
        {"absent keeps selection and text", 9999, 0, 1, L"Deutsch"},
        {"another", 1045, 1, 2, L"Polski"},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        EXPECT_EQ(b.box.SelectData(s.data), s.answer);
        EXPECT_EQ(b.box.GetCurSel(), s.selection);
        EXPECT_STREQ(b.box.GetTitle(), s.title);
    }
    EXPECT_EQ(b.box.GetCurData(), 1045);
    EXPECT_TRUE(b.parent.notifications.empty());
}

TEST(MComboBox, SelectionEdges) {
    Box b;
    EXPECT_EQ(b.box.SetCurSel(3), 0);
    EXPECT_EQ(b.box.SetCurSel(-2), 0);
    EXPECT_EQ(b.box.SetCurSel(-1), 1);
    EXPECT_STREQ(b.box.GetTitle(), L"");
    EXPECT_EQ(b.box.GetCurData(), 0);

    EXPECT_EQ(b.box.InsertItem(5, L"x", 1, L"", Gdiplus::Color(0)), -1);
    EXPECT_EQ(b.box.InsertItem(0, L"Français", 1036, L"", Gdiplus::Color(0)), 3);
    EXPECT_EQ(b.box.FindData(1036), 0);
    EXPECT_EQ(b.box.FindData(1033), 1);

    // Deleting the selected item leaves its text and the index in place.
    b.box.SetCurSel(1);
    EXPECT_EQ(b.box.DeleteItem(1), 1);
    EXPECT_STREQ(b.box.GetTitle(), L"English");
    EXPECT_EQ(b.box.GetCurData(), 1031);
    EXPECT_EQ(b.box.DeleteItem(7), 0);
    EXPECT_EQ(b.box.GetItemData(-1), 0);
    EXPECT_EQ(b.box.SetItemData(9, 1), 0);

    EXPECT_EQ(b.box.SetItemText(0, L"Français (FR)"), 1);
    EXPECT_STREQ(b.box.GetTitle(), L"English") << "not the selected item";
    EXPECT_EQ(b.box.SetItemText(1, L"Deutsch (DE)"), 1);
    EXPECT_STREQ(b.box.GetTitle(), L"Deutsch (DE)");
    b.box.DelAllItems();
    EXPECT_EQ(b.box.GetCurSel(), -1);
    EXPECT_EQ(b.box.GetItemCount(), 0);
}

TEST(MComboBox, TextRectFollowsTheControlRect) {
    Box b;
    EXPECT_EQ(b.box.GetTextRect(), CRect(30, 3, 120, 32));
    b.box.SetTextRect(CRect(1, 1, 2, 2));
    b.box.SetRect(CRect(0, 0, 200, 40));
    EXPECT_EQ(b.box.GetTextRect(), CRect(30, 3, 170, 37));
}

TEST(MComboBox, AbsentDataShowsAnEmptyBox) {
    PaintManager manager;
    Box b;
    b.box.SetManager(&manager);
    b.box.SetTextColor(Gdiplus::Color(0xFFFFFFFF));
    PixelSurface surface(200, 80);
    const CRect text(kBoxRect.left + 30, kBoxRect.top + 3, kBoxRect.right - 30, kBoxRect.bottom - 3);

    b.box.SelectData(1033);
    b.box.SetUpdate(0, 0);
    Render(b.box, surface);
    EXPECT_GT(FindInk(surface, text, 0x636363).count, 10) << "shows English";

    b.box.SetCurSel(-1);
    b.box.SelectData(4242);
    b.box.SetUpdate(0, 0);
    Render(b.box, surface);
    EXPECT_EQ(FindInk(surface, text, 0x636363).count, 0) << "an empty face";
    b.box.SetManager(nullptr);
}

TEST(MComboBox, OpenBoxShowsItsPressedFrameUntilThePopupCloses) {
    PaintManager manager;
    Box b;
    b.box.SetManager(&manager);
    ASSERT_EQ(b.box.SetImage(BoxStrip(), 4), 1);
    // With a text shown: each slot's text must not take the next frame away.
    b.box.SelectData(1033);
    PixelSurface surface(200, 80);
    Render(b.box, surface);
    EXPECT_PRED3(Near, surface.Rgb(160, 37), Rgb(kRed), 2);

    b.Open();
    ASSERT_TRUE(IsWindow(b.PopupWindow()));
    EXPECT_EQ(b.box.IsOpen(), 1);
    Render(b.box, surface);
    EXPECT_PRED3(Near, surface.Rgb(160, 37), Rgb(kBlue), 2);

    SendMessageW(b.PopupWindow(), WM_CLOSE, 0, 0);
    EXPECT_EQ(b.box.IsOpen(), 0);
    b.box.OnMouseMove(0, CPoint(300, 300));
    Render(b.box, surface);
    EXPECT_PRED3(Near, surface.Rgb(160, 37), Rgb(kRed), 2);
    b.box.SetManager(nullptr);
}

TEST(MComboBox, PopupIsAtMostTenRowsHigh) {
    struct Case {
        int items;
        int height;
        int scrollBar;
    };
    const Case cases[] = {{3, 3 * 30 + 12, 0}, {12, 10 * 30 + 12, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.items << " items");
        Box b(c.items);
        b.Open();
        ASSERT_TRUE(IsWindow(b.PopupWindow()));
        RECT window;
        GetWindowRect(b.PopupWindow(), &window);
        EXPECT_EQ(window.bottom - window.top, c.height);
        EXPECT_EQ(window.right - window.left, kBoxRect.Width());
        EXPECT_EQ(window.top, kBoxRect.bottom + 2);
        CComboBoxList* list = b.box.GetPopup()->GetList();
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->GetItemCount(), c.items);
        EXPECT_EQ(list->IsScrollBarShown(), c.scrollBar);
        EXPECT_EQ(list->GetRect(), CRect(3, 6, kBoxRect.Width() - 3, c.height - 6));
    }
}

TEST(MComboBox, ClickOnAnItemSelectsItNotifiesAndClosesThePopup) {
    Box b;
    b.box.SelectData(1033);
    b.Open();
    HWND popup = b.PopupWindow();
    ASSERT_TRUE(IsWindow(popup));
    UpdateWindow(popup);  // the list's rows get their places when painted
    CComboBoxList& list = *b.box.GetPopup()->GetList();

    SendMessageW(popup, WM_MOUSEMOVE, 0, RowPoint(list, 2));
    EXPECT_EQ(list.GetHoverItem(), 2);
    SendMessageW(popup, WM_LBUTTONDOWN, MK_LBUTTON, RowPoint(list, 2));
    // Released over another row: the pressed row counts.
    SendMessageW(popup, WM_MOUSEMOVE, MK_LBUTTON, RowPoint(list, 1));
    SendMessageW(popup, WM_LBUTTONUP, 0, RowPoint(list, 1));
    PumpMessages(20);

    ASSERT_EQ(b.parent.notifications.size(), 1u);
    EXPECT_EQ(b.parent.notifications[0].id, kBoxId);
    EXPECT_EQ(b.parent.notifications[0].code, 2u);
    EXPECT_EQ(b.parent.notifications[0].wParam, 2u);
    EXPECT_EQ(b.parent.notifications[0].lParam, 0);
    EXPECT_EQ(b.box.GetCurData(), 1045);
    EXPECT_STREQ(b.box.GetTitle(), L"Polski");
    EXPECT_FALSE(IsWindow(popup));
    EXPECT_EQ(b.box.IsOpen(), 0);

    // Choosing the selected item again notifies again.
    b.Open();
    popup = b.PopupWindow();
    UpdateWindow(popup);
    CComboBoxList& again = *b.box.GetPopup()->GetList();
    SendMessageW(popup, WM_MOUSEMOVE, 0, RowPoint(again, 2));
    SendMessageW(popup, WM_LBUTTONDOWN, MK_LBUTTON, RowPoint(again, 2));
    SendMessageW(popup, WM_LBUTTONUP, 0, RowPoint(again, 2));
    PumpMessages(20);
    EXPECT_EQ(b.parent.notifications.size(), 2u);
}

TEST(MComboBox, ReleaseWithNoRowPressedSendsNothing) {
    Box b;
    b.Open();
    HWND popup = b.PopupWindow();
    UpdateWindow(popup);
    CComboBoxList& list = *b.box.GetPopup()->GetList();
    SendMessageW(popup, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));  // the frame, no row
    SendMessageW(popup, WM_LBUTTONUP, 0, RowPoint(list, 0));
    PumpMessages(20);
    EXPECT_TRUE(b.parent.notifications.empty());
    EXPECT_TRUE(IsWindow(popup));
}

TEST(MComboBox, ClickingElsewhereClosesWithoutAChange) {
    OtherWindow other;
    Box b;
    b.box.SelectData(1031);
    b.Open();
    HWND popup = b.PopupWindow();
    ASSERT_TRUE(IsWindow(popup));
    ASSERT_EQ(GetActiveWindow(), popup);
    other.Activate();
    EXPECT_FALSE(IsWindow(popup));
    EXPECT_EQ(b.box.IsOpen(), 0);
    EXPECT_TRUE(b.parent.notifications.empty());
    EXPECT_EQ(b.box.GetCurData(), 1031);
}

TEST(MComboBox, WheelScrollsALongList) {
    Box b(12);
    b.Open();
    HWND popup = b.PopupWindow();
    UpdateWindow(popup);
    CComboBoxList& list = *b.box.GetPopup()->GetList();
    RECT window;
    GetWindowRect(popup, &window);
    const LPARAM at = MAKELPARAM(window.left + 40, window.top + 40);
    for (int i = 0; i < 4; ++i) SendMessageW(popup, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), at);
    EXPECT_GT(list.GetFirstVisible(), 0);
    EXPECT_GT(list.GetScrollVertical()->GetPosition(), 0) << "the panel's bar carries the position";
    for (int i = 0; i < 20; ++i) SendMessageW(popup, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), at);
    EXPECT_EQ(list.GetFirstVisible(), 0);
    EXPECT_TRUE(b.parent.notifications.empty()) << "scrolling chooses nothing";
}

// The bar of a long list follows the pointer while the button is held, and
// neither the press nor the release on it chooses a row.
TEST(MComboBox, DraggingTheScrollBarScrollsALongList) {
    Box b(12);
    b.Open();
    HWND popup = b.PopupWindow();
    ASSERT_TRUE(IsWindow(popup));
    UpdateWindow(popup);
    CComboBoxList& list = *b.box.GetPopup()->GetList();
    MScroll& bar = *list.GetScrollVertical();
    ASSERT_EQ(list.IsScrollBarShown(), 1);
    const CRect thumb = bar.GetThumbRect();
    ASSERT_FALSE(thumb.IsRectEmpty());
    const int x = (thumb.left + thumb.right) / 2;
    const CRect track = bar.GetRect();

    SendMessageW(popup, WM_MOUSEMOVE, 0, MAKELPARAM(x, thumb.top + 2));
    SendMessageW(popup, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, thumb.top + 2));
    SendMessageW(popup, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, (track.top + track.bottom) / 2));
    PumpMessages(20);
    EXPECT_GT(bar.GetPosition(), 0);
    EXPECT_LT(bar.GetPosition(), bar.GetRange());
    // Dragged past the end of the track: the last rows show.
    SendMessageW(popup, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, track.bottom + 40));
    PumpMessages(20);
    EXPECT_EQ(bar.GetPosition(), bar.GetRange());
    EXPECT_EQ(list.GetFirstVisible(), 12 - 10);
    const CRect endThumb = bar.GetThumbRect();
    EXPECT_EQ(endThumb.bottom, track.bottom) << "the thumb sits at the end of the track";
    SendMessageW(popup, WM_LBUTTONUP, 0, MAKELPARAM(x, track.bottom + 40));
    // After the release, moves no longer drag.
    SendMessageW(popup, WM_MOUSEMOVE, 0, MAKELPARAM(x, track.top + 2));
    PumpMessages(20);
    EXPECT_EQ(bar.GetPosition(), bar.GetRange());

    // And back up to the start.
    const CRect upper = bar.GetThumbRect();
    SendMessageW(popup, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, upper.top + 2));
    SendMessageW(popup, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, track.top - 30));
    SendMessageW(popup, WM_LBUTTONUP, 0, MAKELPARAM(x, track.top - 30));
    PumpMessages(20);
    EXPECT_EQ(bar.GetPosition(), 0);
    EXPECT_EQ(list.GetFirstVisible(), 0);

    EXPECT_TRUE(b.parent.notifications.empty()) << "dragging chooses nothing";
    EXPECT_EQ(list.GetChosenItem(), -1);
    EXPECT_TRUE(IsWindow(popup));
}

TEST(MComboBox, OpeningAndClosingAThousandTimesLeaksNothing) {
    if (!IsChild()) {
        ASSERT_TRUE(DeclareWindowsUnmanaged());
        testing_support::ChildProcess child;
        ASSERT_TRUE(child.Start(ThisProgram(), L"--gtest_filter=MComboBox.OpeningAndClosingAThousandTimesLeaksNothing",
                                {std::wstring(kChildVariable) + L"=1"}));
        EXPECT_EQ(child.WaitForExit(200000), 0u);
        return;
    }
    OtherWindow other;
    Box b;
    auto cycle = [&] {
        b.Open();
        UpdateWindow(b.PopupWindow());
        other.Activate();
    };

    cycle();
    const int gdiBefore = hvui_test::CountGdiObjects();
    const int windowsBefore = CountThreadWindows();
    for (int i = 0; i < 1000; ++i) cycle();
    EXPECT_EQ(CountThreadWindows(), windowsBefore);
    EXPECT_EQ(hvui_test::CountGdiObjects(), gdiBefore);
    EXPECT_EQ(b.box.IsOpen(), 0);
}

TEST(MComboBox, DisabledBoxDoesNotOpenAndADeletedBoxTakesItsDropDownAlong) {
    auto b = std::make_unique<Box>();
    b->box.SetEnabled(0);
    EXPECT_EQ(b->box.GetState(), MComboBox::kDisabled);
    b->Open();
    EXPECT_EQ(b->box.GetPopup(), nullptr);

    b->box.SetEnabled(1);
    b->Open();
    HWND popup = b->PopupWindow();
    ASSERT_TRUE(IsWindow(popup));
    b.reset();
    EXPECT_FALSE(IsWindow(popup));
}
