// The update progress dialog opened modally over an owner window that, like
// the main window, passes the download's progress messages on to it; the
// worker's side is a second thread that posts them and finally ends the
// dialog with DoOK.
#include "UpdateProcessDlg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "LanguageTexts.h"
#include "MProgress.h"
#include "MText.h"
#include "ModalDialogDriver.h"
#include "WindowMessages.h"

namespace {

using modal_test::Capture;

[[maybe_unused]] const ::testing::Environment* const kUi =
    ::testing::AddGlobalTestEnvironment(new modal_test::UiEnvironment);

constexpr RECT kOwnerRect = {40, 30, 1040, 730};
constexpr uint32_t kOwnerGrey = 0x808080;  // the owner window's stock grey brush
const CRect kStatusRect(50, 100, 493, 120);
const CRect kBarRect(50, 130, 493, 150);

TEST(UpdateProgressFormatTest, FillsTheFirstIntegerAndKeepsEverythingElse) {
    struct Case {
        const wchar_t* pattern;
        int value;
        const wchar_t* line;
    };
    const Case cases[] = {
        {L"Downloading\u2026 %d%%", 55, L"Downloading\u2026 55%"},
        {L"%d", 0, L"0"},
        {L"%d of %d", 8, L"8 of %d"},
        {L"no placeholder", 10, L"no placeholder"},
        {L"%s %d %n %", 100, L"%s 100 %n %"},  // a broken file reads no arguments
        {L"", 2, L""},
    };
    for (const Case& c : cases) EXPECT_EQ(UpdateProcessDlg::FormatPercentage(c.pattern, c.value), c.line) << c.pattern;
}

// What the driver saw after each progress message.
struct Step {
    int posted;
    int bar;
    std::wstring status;
    int filledReach;  // pixels from the bar's left edge that differ from the empty bar
};

class UpdateProgressModalTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { owner = new modal_test::OwnerWindow(kOwnerRect); }
    static void TearDownTestSuite() {
        delete owner;
        owner = nullptr;
    }

    static modal_test::OwnerWindow* owner;
};

modal_test::OwnerWindow* UpdateProgressModalTest::owner = nullptr;

// How far from the bar's left edge the picture differs from the empty bar:
// the filled part's reach (the image-less bar is drawn as dashes, so not
// every column inside it changes).
int FilledReach(const Capture& now, const Capture& empty) {
    int reach = 0;
    for (int x = kBarRect.left; x < kBarRect.right; ++x)
        for (int y = kBarRect.top; y < kBarRect.bottom; ++y)
            if (now.At(x, y) != empty.At(x, y)) {
                reach = x - kBarRect.left + 1;
                break;
            }
    return reach;
}

TEST_F(UpdateProgressModalTest, ProgressMessagesReachBarAndLineUntilTheWorkerEndsIt) {
    UpdateProcessDlg dialog;
    owner->onMessage = [&dialog](UINT msg, WPARAM, LPARAM lParam) {
        if (msg == message::kDownloadProgress) dialog.SetProgress(static_cast<int>(lParam));
    };

    bool found = false;
    RECT window = {};
    DWORD exStyle = 0;
    bool ownerEnabled = true;
    std::wstring title;
    std::wstring statusBefore;
    int seeThrough = -1;  // interior pixels of one row that show the owner
    std::vector<Step> steps;
    HWND shown = nullptr;

    std::thread worker([&] {
        HWND hwnd = modal_test::WaitForWindow(UpdateProcessDlg::kWindowName);
        if (!hwnd) return;
        shown = hwnd;
        found = true;
        Sleep(400);
        GetWindowRect(hwnd, &window);
        exStyle = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE));
        ownerEnabled = IsWindowEnabled(owner->Handle()) != 0;
        auto* titleText = dynamic_cast<MText*>(dialog.GetControl(UpdateProcessDlg::kTitleId));
        auto* statusText = dynamic_cast<MText*>(dialog.GetControl(UpdateProcessDlg::kStatusId));
        auto* bar = dynamic_cast<MProgress*>(dialog.GetControl(UpdateProcessDlg::kProgressId));
        if (!titleText || !statusText || !bar) {
            dialog.DoOK();
            return;
        }
        title = titleText->GetTitle().Str();
        statusBefore = statusText->GetTitle().Str();
        const Capture empty = modal_test::CaptureWindow(hwnd);
        seeThrough = 0;
        for (int x = 4; x < empty.width - 4; ++x) seeThrough += empty.At(x, 180) == kOwnerGrey ? 1 : 0;
        for (int value : {2, 8, 10, 55, 100, 130}) {
            PostMessageW(owner->Handle(), message::kDownloadProgress, 0, value);
            modal_test::WaitUntil([&] { return bar->GetProgress() == std::min(value, 100); }, 2000);
            Sleep(150);  // painted
            steps.push_back({value, bar->GetProgress(), statusText->GetTitle().Str(),
                             FilledReach(modal_test::CaptureWindow(hwnd), empty)});
            if (value == 55) modal_test::HoldForScreenshot();
        }
        // The update failed: the worker closes the dialog after command 25.
        Sleep(100);
        dialog.DoOK();
    });
    const unsigned result = dialog.Show(owner->Handle());
    worker.join();
    owner->onMessage = nullptr;

    ASSERT_TRUE(found);
    EXPECT_EQ(result, unsigned{MDialog::kResultOK});
    EXPECT_FALSE(IsWindow(shown));
    EXPECT_EQ(window.right - window.left, UpdateProcessDlg::kWidth);
    EXPECT_EQ(window.bottom - window.top, UpdateProcessDlg::kHeight);
    EXPECT_NEAR((window.left + window.right) / 2, (kOwnerRect.left + kOwnerRect.right) / 2, 1);
    EXPECT_NEAR((window.top + window.bottom) / 2, (kOwnerRect.top + kOwnerRect.bottom) / 2, 1);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(owner->Handle()));
    EXPECT_EQ(title, language::GetText(language::key::kUpdateProgressText));
    EXPECT_EQ(statusBefore, L"");
    EXPECT_EQ(seeThrough, 0) << "the background covers the whole dialog";

    const std::wstring pattern = language::GetText(language::key::kUpdateProgressFormat);
    ASSERT_EQ(steps.size(), 6u);
    int lastReach = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.posted);
        EXPECT_EQ(step.bar, std::min(step.posted, 100));
        EXPECT_EQ(step.status, UpdateProcessDlg::FormatPercentage(pattern, step.posted));
        EXPECT_NE(step.status.find(std::to_wstring(step.posted) + L"%"), std::wstring::npos);
        EXPECT_GE(step.filledReach, lastReach) << "the bar only grows";
        lastReach = step.filledReach;
    }
    // 55 % of the bar's width is drawn filled, give or take the line's ends;
    // 100 % fills it.
    EXPECT_NEAR(steps[3].filledReach, kBarRect.Width() * 55 / 100, kBarRect.Width() / 10);
    EXPECT_GT(steps[4].filledReach, kBarRect.Width() * 9 / 10);

    // After the close the controls are gone; a late progress message must
    // not reach them.
    dialog.SetProgress(70);
    EXPECT_EQ(dialog.GetControl(UpdateProcessDlg::kProgressId), nullptr);
}

}  // namespace
