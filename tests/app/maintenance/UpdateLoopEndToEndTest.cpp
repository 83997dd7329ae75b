// The whole online update as a user meets it, in the real program on the
// simulated machine: the lighting controller reports release 0x0105, the
// simulated update server offers 106, the offer appears at start, the user
// confirms it, the progress dialog advances while the package arrives, the
// installer from the package runs and the program ends with 0; the controller
// then reports 0x0106 and the next start offers nothing. A download that
// fails must close the dialog and give the user the program back.
//
// With TARVENHOLM_SCREENSHOT_DIR set, pictures of the offer and of the
// progress dialog are saved there (update-offer.png, update-progress.png).
#include <gtest/gtest.h>

#include <windows.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "AppFolders.h"
#include "ModalDialogDriver.h"
#include "ScopedSimFolder.h"
#include "TestProcess.h"
#include "UpdateCheck.h"
#include "UpdateServerProcess.h"
#include "WindowMessages.h"

namespace ts = testing_support;
using modal_test::Capture;

namespace {

[[maybe_unused]] const ::testing::Environment* const kUi =
    ::testing::AddGlobalTestEnvironment(new modal_test::UiEnvironment);

constexpr wchar_t kServedFirmware[] = L"106";
constexpr wchar_t kOfferWindow[] = L"MessageBox";
constexpr wchar_t kProgressWindow[] = L"UpdateProcessDlg";
constexpr SIZE kOfferSize = {500, 230};
constexpr POINT kOfferFirstButton = {150, 188};  // centre of (70, 170, 230, 206)
constexpr POINT kNoticeButton = {250, 188};      // centre of the one button (100, 170, 400, 206)
const RECT kBarRect = {50, 130, 493, 150};       // client rectangle of the progress bar

// Start to offer: inventory, device initialisation and the firmware check
// run before it, slower under a busy Wine.
constexpr DWORD kOfferWithinMs = 30000;
constexpr DWORD kDialogWithinMs = 10000;
// The package is sent in 512-byte pieces 50 ms apart (the "slow" fault).
constexpr DWORD kUpdateEndsWithinMs = 60000;
constexpr DWORD kInstallerWithinMs = 15000;
constexpr DWORD kCheckWithinMs = 30000;
// After the firmware check a posted offer would show well within this.
constexpr DWORD kNoOfferQuietMs = 3000;
// The program's download timeouts in the tests of a server that stops
// answering (the release waits 15 s to connect, 30 s without data).
constexpr wchar_t kShortTimeoutMs[] = L"3000";
constexpr DWORD kFailureNoticeWithinMs = 20000;

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The visible top-level window of that name belonging to the process.
HWND FindProgramWindow(const wchar_t* name, DWORD processId) {
    for (HWND window = FindWindowExW(nullptr, nullptr, nullptr, name); window;
         window = FindWindowExW(nullptr, window, nullptr, name)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && IsWindowVisible(window)) return window;
    }
    return nullptr;
}

HWND WaitForProgramWindow(const wchar_t* name, DWORD processId, DWORD timeoutMs) {
    HWND found = nullptr;
    ts::WaitUntil([&] { return (found = FindProgramWindow(name, processId)) != nullptr; }, timeoutMs);
    return found;
}

HWND MainWindowOf(DWORD processId) {
    HWND found = nullptr;
    ts::WaitUntil(
        [&] {
            found = ts::FindWindowWithProperty(L"Tarvenholm");
            DWORD owner = 0;
            if (found) GetWindowThreadProcessId(found, &owner);
            return found && owner == processId;
        },
        20000);
    return found;
}

std::wstring ControllerRelease(const ScopedSimFolder& sim) {
    wchar_t text[64] = {};
    GetPrivateProfileStringW(L"device", L"release", L"", text, 64, sim.Path(L"lighting.ini").c_str());
    return text;
}

// The screen around the main window and the dialog, as a PNG, when asked for.
void SaveScreenshot(HWND mainWindow, HWND dialog, const wchar_t* fileName) {
    const char* folder = std::getenv("TARVENHOLM_SCREENSHOT_DIR");
    if (!folder || !*folder) return;
    RECT area = {}, dialogRect = {};
    GetWindowRect(mainWindow, &area);
    GetWindowRect(dialog, &dialogRect);
    UnionRect(&area, &area, &dialogRect);
    InflateRect(&area, 20, 20);
    area.left = std::max(area.left, 0L);
    area.top = std::max(area.top, 0L);
    const int width = area.right - area.left, height = area.bottom - area.top;

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    SelectObject(memory, old);
    {
        Gdiplus::Bitmap picture(bitmap, nullptr);
        // The PNG encoder of GDI+.
        const CLSID png = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
        wchar_t wide[MAX_PATH] = {};
        MultiByteToWideChar(CP_UTF8, 0, folder, -1, wide, MAX_PATH);
        const std::wstring path = std::wstring(wide) + L"\\" + fileName;
        EXPECT_EQ(picture.Save(path.c_str(), &png, nullptr), Gdiplus::Ok) << "screenshot " << fileName;
    }
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

// How far from the bar's left edge its filled part reaches: the skin draws
// it in the accent colour, the empty track in a dark grey.
int FilledReach(const Capture& dialog) {
    if (dialog.width < kBarRect.right || dialog.height < kBarRect.bottom) return 0;
    const auto accent = [](uint32_t p) { return ((p >> 16) & 0xFF) < 0x80 && ((p >> 8) & 0xFF) > 0xC0 && (p & 0xFF) > 0xC0; };
    int reach = 0;
    for (int x = kBarRect.left; x < kBarRect.right; ++x)
        for (int y = kBarRect.top; y < kBarRect.bottom; ++y)
            if (accent(dialog.At(x, y))) {
                reach = x - kBarRect.left + 1;
                break;
            }
    return reach;
}

class UpdateLoopEndToEnd : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_server = new UpdateServerProcess(L"update-site", L"update-loop-server");
        ASSERT_TRUE(s_server->Start()) << "the update server did not start";
    }
    static void TearDownTestSuite() {
        s_server->Quit();
        delete s_server;
        s_server = nullptr;
    }

    void SetUp() override {
        // The controller as shipped: release 0x0105, a firmware of 105.
        m_sim.Write(L"lighting.ini", "[device]\r\npresent=1\r\nrelease=0x0105\r\n");
        RemoveUpdateFiles();
    }
    void TearDown() override {
        SetFileAttributesW(Installer().c_str(), FILE_ATTRIBUTE_NORMAL);
        RemoveUpdateFiles();
    }

    static std::wstring Installer() { return update::TempPath(update::InstallerName(kServedFirmware)); }
    static std::wstring Package() { return update::TempPath(update::PackageName(kServedFirmware)); }
    static void RemoveUpdateFiles() {
        DeleteFileW(Installer().c_str());
        DeleteFileW(Package().c_str());
    }

    bool StartProgram(ts::ChildProcess& program, const wchar_t* timeoutMs = nullptr) {
        std::vector<std::wstring> environment = {std::wstring(update::kServerUrlVariable) + L"=" + s_server->BaseUrl()};
        if (timeoutMs) environment.push_back(std::wstring(update::kTimeoutVariable) + L"=" + timeoutMs);
        return program.Start(ts::BinFolder() + L"Tarvenholm.exe", L"", environment);
    }

    // The offer confirmed with `fault` switched on just before: the progress
    // dialog goes, the notice that the update could not be completed comes,
    // and once it is dismissed the program is there and answers, with
    // nothing installed.
    void ExpectFailedUpdateLeavesTheProgramRunning(const wchar_t* fault, const wchar_t* timeoutMs = nullptr) {
        SCOPED_TRACE(fault);
        ASSERT_TRUE(s_server->SetFault(L"none"));
        ts::ChildProcess program;
        ASSERT_TRUE(StartProgram(program, timeoutMs));
        HWND mainWindow = MainWindowOf(program.Id());
        ASSERT_NE(mainWindow, nullptr);
        // Only the package fails: the check before it must find the offer.
        HWND offer = WaitForProgramWindow(kOfferWindow, program.Id(), kOfferWithinMs);
        ASSERT_NE(offer, nullptr) << "no firmware offer at start";
        ASSERT_TRUE(s_server->SetFault(fault));
        Sleep(700);
        modal_test::ClickAt(offer, kOfferFirstButton);
        const DWORD confirmed = GetTickCount();

        // The dialog may be gone again before this sees it; what matters is
        // that none stays and the notice follows it.
        WaitForProgramWindow(kProgressWindow, program.Id(), 3000);
        EXPECT_TRUE(ts::WaitUntil([&] { return FindProgramWindow(kProgressWindow, program.Id()) == nullptr; },
                                  kFailureNoticeWithinMs))
            << "the progress dialog stays after a failed update";
        HWND notice = WaitForProgramWindow(kOfferWindow, program.Id(), kFailureNoticeWithinMs);
        EXPECT_NE(notice, nullptr) << "no notice that the update could not be completed";
        EXPECT_LT(GetTickCount() - confirmed, kFailureNoticeWithinMs + 3000) << "the failure took too long";
        EXPECT_TRUE(program.Running()) << "the program ended on a failed update";
        if (notice) {
            Sleep(700);  // painted
            modal_test::ClickAt(notice, kNoticeButton);
            EXPECT_TRUE(ts::WaitUntil([&] { return FindProgramWindow(kOfferWindow, program.Id()) == nullptr; }, 5000))
                << "the notice does not close";
        }
        EXPECT_TRUE(ts::WaitUntil([&] { return IsWindowEnabled(mainWindow) != FALSE; }, 3000))
            << "the main window stays disabled";
        DWORD_PTR answer = 0;
        EXPECT_NE(SendMessageTimeoutW(mainWindow, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 3000, &answer), 0)
            << "the main window does not answer";
        EXPECT_TRUE(m_sim.Lines(L"update.log").empty());
        EXPECT_EQ(ControllerRelease(m_sim), L"0x0105");
        EXPECT_FALSE(Exists(Installer()));

        PostMessageW(mainWindow, message::kExitRequest, 0, message::kExitRequestCode);
        EXPECT_EQ(program.WaitForExit(10000), 0u);
    }

    // The offer at start, checked and confirmed with its first button.
    HWND ConfirmOffer(const ts::ChildProcess& program) {
        HWND offer = WaitForProgramWindow(kOfferWindow, program.Id(), kOfferWithinMs);
        if (!offer) return nullptr;
        RECT rect = {};
        GetWindowRect(offer, &rect);
        EXPECT_EQ(rect.right - rect.left, kOfferSize.cx);
        EXPECT_EQ(rect.bottom - rect.top, kOfferSize.cy);
        Sleep(700);  // painted
        SaveScreenshot(MainWindowOf(program.Id()), offer, L"update-offer.png");
        modal_test::ClickAt(offer, kOfferFirstButton);
        return offer;
    }

    static UpdateServerProcess* s_server;
    ScopedSimFolder m_sim;
};
UpdateServerProcess* UpdateLoopEndToEnd::s_server = nullptr;

TEST_F(UpdateLoopEndToEnd, ConfirmedOfferInstallsTheFirmwareAndTheNextStartOffersNothing) {
    ASSERT_TRUE(s_server->SetFault(L"slow"));
    ts::ChildProcess program;
    ASSERT_TRUE(StartProgram(program));
    HWND mainWindow = MainWindowOf(program.Id());
    ASSERT_NE(mainWindow, nullptr);
    HWND offer = ConfirmOffer(program);
    ASSERT_NE(offer, nullptr) << "no firmware offer at start";

    HWND dialog = WaitForProgramWindow(kProgressWindow, program.Id(), kDialogWithinMs);
    ASSERT_NE(dialog, nullptr) << "no progress dialog after the offer was confirmed";
    EXPECT_FALSE(IsWindow(offer) && IsWindowVisible(offer)) << "the offer stays open";

    // The bar, watched until the program ends: it must grow in steps.
    const int barWidth = kBarRect.right - kBarRect.left;
    std::vector<int> reaches;
    bool pictured = false;
    while (program.Running() && IsWindow(dialog)) {
        Sleep(200);
        if (!IsWindow(dialog)) break;
        const int reach = FilledReach(modal_test::CaptureWindow(dialog));
        // The picture may show it going: the program's exit hides its
        // windows before they are destroyed.
        if (!IsWindow(dialog) || !IsWindowVisible(dialog) || !program.Running()) break;
        if (reaches.empty() || reach != reaches.back()) reaches.push_back(reach);
        if (!pictured && reach > barWidth * 2 / 5) {
            SaveScreenshot(mainWindow, dialog, L"update-progress.png");
            pictured = true;
        }
    }
    EXPECT_TRUE(std::is_sorted(reaches.begin(), reaches.end())) << "the bar went back: " << testing::PrintToString(reaches);
    EXPECT_GE(reaches.size(), 3u) << "the bar did not advance in steps: " << testing::PrintToString(reaches);
    EXPECT_GT(reaches.empty() ? 0 : reaches.back(), barWidth / 2);

    EXPECT_EQ(program.WaitForExit(kUpdateEndsWithinMs), 0u) << "the update did not end the program with 0";
    EXPECT_TRUE(ts::WaitUntil([&] { return !m_sim.Lines(L"update.log").empty(); }, kInstallerWithinMs));
    EXPECT_EQ(m_sim.Lines(L"update.log"), std::vector<std::string>{"installed firmware 106"});
    EXPECT_EQ(ControllerRelease(m_sim), L"0x0106");
    EXPECT_TRUE(Exists(Installer()));
    EXPECT_FALSE(Exists(Package())) << "the unpacked package stays";

    // The next start checks again and finds the controller up to date.
    ASSERT_TRUE(s_server->SetFault(L"none"));
    ts::ChildProcess again;
    ASSERT_TRUE(StartProgram(again));
    HWND againWindow = MainWindowOf(again.Id());
    ASSERT_NE(againWindow, nullptr);
    EXPECT_TRUE(ts::WaitUntil([&] { return s_server->LastRequest().rfind(L"GET /rk/firmware//version ", 0) == 0; },
                              kCheckWithinMs))
        << "no firmware check on the second start";
    Sleep(kNoOfferQuietMs);
    EXPECT_EQ(FindProgramWindow(kOfferWindow, again.Id()), nullptr) << "an offer for the installed firmware";
    PostMessageW(againWindow, message::kExitRequest, 0, message::kExitRequestCode);
    EXPECT_EQ(again.WaitForExit(10000), 0u);
}

// The package never arrives: the dialog closes, the user is told, the
// program stays and answers, nothing is installed.
TEST_F(UpdateLoopEndToEnd, FailedDownloadClosesTheDialogAndTheProgramGoesOn) {
    for (const wchar_t* fault : {L"not-found", L"cut-short"}) ExpectFailedUpdateLeavesTheProgramRunning(fault);
}

// A server that accepts and never answers, or stops in the middle of the
// package, ends the update after the download timeout, not never.
TEST_F(UpdateLoopEndToEnd, ServerThatStopsAnsweringFailsTheUpdateInTime) {
    for (const wchar_t* fault : {L"silent", L"stall"}) ExpectFailedUpdateLeavesTheProgramRunning(fault, kShortTimeoutMs);
}

// A package whose installer fails its CRC, or is no program, starts nothing.
TEST_F(UpdateLoopEndToEnd, BrokenPackageIsNeverStarted) {
    for (const wchar_t* fault : {L"bad-crc", L"bad-installer"}) ExpectFailedUpdateLeavesTheProgramRunning(fault);
}

}  // namespace
