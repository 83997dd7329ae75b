// The autostart task against Wine's real Task Scheduler. Wine answers
// E_NOTIMPL for a logon trigger, so creation is checked up to that step and
// its error line; query and delete are checked against a task that Wine's own
// schtasks registers under the task's name.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <optional>
#include <string>

#include "AppFolders.h"
#include "AutostartTask.h"
#include "SettingsStore.h"
#include "StderrCapture.h"

namespace {

constexpr char kTriggerNotImplemented[] = "Failed to create trigger with HRESULT: 0x80004001\n";

constexpr wchar_t kTaskXml[] =
    L"\xFEFF<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n"
    L"<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\r\n"
    L"  <RegistrationInfo><Description>registered by the autostart test</Description></RegistrationInfo>\r\n"
    L"  <Settings><AllowStartOnDemand>true</AllowStartOnDemand><Enabled>true</Enabled></Settings>\r\n"
    L"  <Actions><Exec><Command>C:\\windows\\notepad.exe</Command><Arguments>-hide</Arguments></Exec></Actions>\r\n"
    L"</Task>\r\n";

DWORD RunAndWait(std::wstring commandLine) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &process))
        return static_cast<DWORD>(-1);
    WaitForSingleObject(process.hProcess, 30000);
    DWORD code = static_cast<DWORD>(-1);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

void RegisterTaskWithSchtasks() {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::wstring xml = std::wstring(folder) + L"tarvenholm-startup-task.xml";
    {
        std::ofstream out(xml.c_str(), std::ios::binary);
        out.write(reinterpret_cast<const char*>(kTaskXml), sizeof(kTaskXml) - sizeof(wchar_t));
    }
    const DWORD code = RunAndWait(L"schtasks.exe /create /xml \"" + xml + L"\" /tn \"" + autostart::kTaskName + L"\" /f");
    DeleteFileW(xml.c_str());
    ASSERT_EQ(code, 0u) << "schtasks /create";
}

void RemoveMarker() { RegDeleteKeyValueW(HKEY_CURRENT_USER, settings::KeyPath().c_str(), settings::kAutoRunTask); }

// Every test starts and ends with neither the task nor the marker.
class AutostartTaskTest : public testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    static void Clean() {
        RunAndWait(std::wstring(L"schtasks.exe /delete /tn \"") + autostart::kTaskName + L"\" /f");
        RemoveMarker();
    }
};

TEST_F(AutostartTaskTest, CreationStopsAtTheLogonTriggerUnderWine) {
    StderrCapture errors;
    EXPECT_EQ(autostart::CreateTask(), 1);
    EXPECT_EQ(errors.Text(), kTriggerNotImplemented);
    EXPECT_FALSE(autostart::QueryTask());
}

TEST_F(AutostartTaskTest, QueryAndDeleteARegisteredTask) {
    EXPECT_FALSE(autostart::QueryTask());
    RegisterTaskWithSchtasks();
    StderrCapture errors;
    EXPECT_TRUE(autostart::QueryTask());
    autostart::DeleteTask();
    EXPECT_FALSE(autostart::QueryTask());
    // Deleting what is gone is quiet too.
    autostart::DeleteTask();
    EXPECT_EQ(errors.Text(), "");
}

TEST_F(AutostartTaskTest, FirstRunCreatesOnceAndTheSwitchShowsPresence) {
    struct Case {
        const char* what;
        bool markerSet;
        bool taskRegistered;
        const char* errorLines;
        bool switchShown;
    };
    const Case cases[] = {
        {"first run", false, false, kTriggerNotImplemented, false},
        {"later run, task deleted by the user", true, false, "", false},
        {"later run, task present", true, true, "", true},
    };
    for (const Case& c : cases) {
        Clean();
        if (c.markerSet) settings::WriteText(settings::kAutoRunTask, L"1");
        if (c.taskRegistered) RegisterTaskWithSchtasks();
        std::optional<bool> shown;
        StderrCapture errors;
        autostart::RunAutostartStep([&](bool present) { shown = present; });
        EXPECT_EQ(errors.Text(), c.errorLines) << c.what;
        EXPECT_EQ(shown, std::optional<bool>(c.switchShown)) << c.what;
        EXPECT_EQ(settings::ReadInteger(settings::kAutoRunTask), 1) << c.what;
    }
}

TEST(AutostartTask, ActionPointsAtTheProgramWhateverThisFileIsCalled) {
    EXPECT_EQ(autostart::TaskActionPath(), folders::ProgramFolder() + L"Tarvenholm.exe");
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    EXPECT_NE(std::wstring(self), autostart::TaskActionPath());
}

}  // namespace
