// The message box opened modally over an owner window and driven from a
// second thread with real clicks and system commands, as a user would.
#include "CUIMessageBox.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "LanguageTexts.h"
#include "MControlFont.h"
#include "MDialog.h"
#include "ModalDialogDriver.h"

namespace {

using modal_test::Capture;

[[maybe_unused]] const ::testing::Environment* const kUi = ::testing::AddGlobalTestEnvironment(new modal_test::UiEnvironment);

constexpr RECT kOwnerRect = {40, 30, 1040, 730};
constexpr int kTextFloor = 235;  // the texts are white; the skin's background is dark

// What the driver saw of an open box.
struct Seen {
    bool found = false;
    RECT window = {};
    DWORD exStyle = 0;
    bool ownerEnabled = true;
    bool hasControl[4] = {};  // ids 31 to 34
    CRect rect[4];
    std::wstring text[4];
    Capture capture;
};

MControlFont* ControlOf(HWND window, unsigned id) {
    auto* object = reinterpret_cast<MWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    auto* dialog = dynamic_cast<MDialog*>(object);
    return dialog ? dynamic_cast<MControlFont*>(dialog->GetControl(id)) : nullptr;
}

class MessageBoxTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { owner = new modal_test::OwnerWindow(kOwnerRect); }
    static void TearDownTestSuite() {
        delete owner;
        owner = nullptr;
    }

    // Opens the box and, once it is painted, lets act drive it; answers the
    // box's answer. seen holds what the driver found before acting.
    unsigned Run(const wchar_t* message, const wchar_t* title, int style, const std::function<void(HWND)>& act) {
        std::thread driver([&] {
            HWND box = modal_test::WaitForWindow(CUIMessageBox::kWindowName);
            if (!box) return;
            Sleep(400);  // the first paint
            Observe(box);
            modal_test::HoldForScreenshot();
            act(box);
            // A box the action failed to end must not hang the test.
            if (!modal_test::WaitUntil([box] { return !IsWindow(box); }, 3000)) PostMessageW(box, WM_CLOSE, 0, 0);
        });
        const unsigned answer = CUIMessageBox::ShowMessageBox(owner->Handle(), message, title, style);
        driver.join();
        return answer;
    }

    void Observe(HWND box) {
        seen.found = true;
        GetWindowRect(box, &seen.window);
        seen.exStyle = static_cast<DWORD>(GetWindowLongW(box, GWL_EXSTYLE));
        seen.ownerEnabled = IsWindowEnabled(owner->Handle()) != 0;
        for (unsigned i = 0; i < 4; ++i) {
            MControlFont* control = ControlOf(box, CUIMessageBox::kTitleId + i);
            seen.hasControl[i] = control != nullptr;
            if (!control) continue;
            seen.rect[i] = control->GetRect();
            seen.text[i] = control->GetTitle().Str();
        }
        seen.capture = modal_test::CaptureWindow(box);
    }

    static POINT CentreOf(const CRect& rect) {
        return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }
    static void Click(HWND box, unsigned id) {
        MControlFont* button = ControlOf(box, id);
        ASSERT_NE(button, nullptr) << id;
        modal_test::ClickAt(box, CentreOf(button->GetRect()));
    }
    static void SystemClose(HWND box) { PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0); }

    static modal_test::OwnerWindow* owner;
    Seen seen;
};

modal_test::OwnerWindow* MessageBoxTest::owner = nullptr;

std::wstring Text(int key) { return language::GetText(key); }

TEST_F(MessageBoxTest, OneButtonBoxIsCentredTopmostAndAnswersOne) {
    const unsigned answer =
        Run(L"The check is done.", L"Notice", CUIMessageBox::kStyleOneButton, [](HWND box) { Click(box, 33); });
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(answer, CUIMessageBox::kAnswerFirst);

    EXPECT_EQ(seen.window.right - seen.window.left, CUIMessageBox::kWidth);
    EXPECT_EQ(seen.window.bottom - seen.window.top, CUIMessageBox::kHeight);
    EXPECT_NEAR((seen.window.left + seen.window.right) / 2, (kOwnerRect.left + kOwnerRect.right) / 2, 1);
    EXPECT_NEAR((seen.window.top + seen.window.bottom) / 2, (kOwnerRect.top + kOwnerRect.bottom) / 2, 1);
    EXPECT_TRUE(seen.exStyle & WS_EX_TOPMOST);
    EXPECT_TRUE(seen.exStyle & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(seen.ownerEnabled) << "the owner must be disabled while the box runs";
    EXPECT_TRUE(IsWindowEnabled(owner->Handle())) << "and enabled again afterwards";

    EXPECT_EQ(seen.text[0], L"Notice");
    EXPECT_EQ(seen.text[1], L"The check is done.");
    EXPECT_EQ(seen.rect[0], CRect(20, 15, 480, 40));
    EXPECT_EQ(seen.rect[1], CRect(60, 85, 440, 145));
    ASSERT_TRUE(seen.hasControl[2]);
    EXPECT_EQ(seen.rect[2], CRect(100, 170, 400, 206));
    EXPECT_EQ(seen.text[2], Text(language::key::kMessageBoxOk));
    EXPECT_FALSE(seen.hasControl[3]);

    // White text in the title and message bands and on the button, drawn
    // over the skin's background.
    EXPECT_GT(seen.capture.CountBright({20, 15, 480, 40}, kTextFloor), 20);
    EXPECT_GT(seen.capture.CountBright({60, 85, 440, 145}, kTextFloor), 20);
    EXPECT_GT(seen.capture.CountBright({100, 170, 400, 206}, kTextFloor), 10);
    EXPECT_LT(seen.capture.CountBright({0, 45, 55, 160}, kTextFloor), 5) << "the background is not white";
}

struct Answering {
    const char* name;
    int style;
    unsigned button;  // 0: the system close command instead of a click
    unsigned answer;
};

class MessageBoxAnswerTest : public MessageBoxTest, public ::testing::WithParamInterface<Answering> {};

TEST_P(MessageBoxAnswerTest, AnswersWhatWasPressed) {
    const Answering& c = GetParam();
    const unsigned answer = Run(L"Reset every setting?", L"Reset", c.style, [&c](HWND box) {
        if (c.button) Click(box, c.button);
        else SystemClose(box);
    });
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(answer, c.answer);
}

INSTANTIATE_TEST_SUITE_P(Buttons, MessageBoxAnswerTest,
                         ::testing::Values(Answering{"TwoButtonsFirst", 4, 33, 1},
                                           Answering{"TwoButtonsSecond", 4, 34, 2},
                                           Answering{"TwoButtonsClosed", 4, 0, 0},
                                           Answering{"OneButtonClosed", 0, 0, 0},
                                           Answering{"NoButtonClosed", 2, 0, 0}),
                         [](const ::testing::TestParamInfo<Answering>& info) { return info.param.name; });

TEST_F(MessageBoxTest, TwoButtonsSitAroundTheMiddleWithTheirTexts) {
    Run(L"Reset every setting?", L"Reset", CUIMessageBox::kStyleTwoButtons, SystemClose);
    ASSERT_TRUE(seen.found);
    ASSERT_TRUE(seen.hasControl[2] && seen.hasControl[3]);
    EXPECT_EQ(seen.rect[2], CRect(70, 170, 230, 206));
    EXPECT_EQ(seen.rect[3], CRect(270, 170, 430, 206));
    EXPECT_EQ(seen.text[2], Text(language::key::kMessageBoxConfirm));
    EXPECT_EQ(seen.text[3], Text(language::key::kMessageBoxDecline));
    EXPECT_GT(seen.capture.CountBright({70, 170, 230, 206}, kTextFloor), 10);
    EXPECT_GT(seen.capture.CountBright({270, 170, 430, 206}, kTextFloor), 10);
    EXPECT_LT(seen.capture.CountBright({235, 170, 265, 206}, kTextFloor), 3) << "the gap between the buttons";
    // The buttons' frames stand out from the box's background.
    EXPECT_NE(seen.capture.At(75, 188), seen.capture.At(250, 188));
    EXPECT_NE(seen.capture.At(425, 188), seen.capture.At(250, 188));
}

TEST_F(MessageBoxTest, OtherStylesHaveNoButtonAndNullTextsAreEmpty) {
    Run(nullptr, nullptr, 2, SystemClose);
    ASSERT_TRUE(seen.found);
    EXPECT_FALSE(seen.hasControl[2]);
    EXPECT_FALSE(seen.hasControl[3]);
    EXPECT_EQ(seen.text[0], L"");
    EXPECT_EQ(seen.text[1], L"");
    EXPECT_LT(seen.capture.CountBright({20, 15, 480, 206}, kTextFloor), 5);
}

// The rows of the message band that hold white text.
std::pair<int, int> TextRows(const Capture& capture, const CRect& band) {
    int first = -1;
    int last = -1;
    for (int y = band.top; y < band.bottom; ++y) {
        if (capture.CountBright({band.left, y, band.right, y + 1}, kTextFloor) == 0) continue;
        if (first < 0) first = y;
        last = y;
    }
    return {first, last};
}

TEST_F(MessageBoxTest, LongMessageWrapsAndStaysCentredInItsBand) {
    const wchar_t* kShort = L"One line.";
    const wchar_t* kLong =
        L"A newer firmware is available for the lighting controller; download and install it now?";
    const CRect band(60, 85, 440, 145);
    const int middle = (band.top + band.bottom) / 2;

    Run(kShort, L"Update", 0, SystemClose);
    ASSERT_TRUE(seen.found);
    const auto oneLine = TextRows(seen.capture, band);
    Run(kLong, L"Update", 0, SystemClose);
    ASSERT_TRUE(seen.found);
    const auto twoLines = TextRows(seen.capture, band);

    ASSERT_GE(oneLine.first, 0);
    ASSERT_GE(twoLines.first, 0);
    const int lineHeight = oneLine.second - oneLine.first + 1;
    EXPECT_GT(twoLines.second - twoLines.first + 1, lineHeight * 2) << "the long message takes two lines";
    EXPECT_NEAR((oneLine.first + oneLine.second) / 2, middle, 4);
    EXPECT_NEAR((twoLines.first + twoLines.second) / 2, middle, 4) << "both lines centred on the band";
}

TEST(MessageBoxWithoutWindowTest, AnswersAllBitsWhenNoWindowCanBeMade) {
    // An owner that no longer exists: the system refuses the window.
    HWND gone = CreateWindowExW(0, L"STATIC", L"gone", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(gone, nullptr);
    DestroyWindow(gone);
    EXPECT_EQ(CUIMessageBox::ShowMessageBox(gone, L"message", L"title", 0), CUIMessageBox::kAnswerNoWindow);
    EXPECT_EQ(FindWindowW(nullptr, CUIMessageBox::kWindowName), nullptr);
}

}  // namespace
