// The simulated firmware installer, run as the update would run it: under
// the package's installer name, from another folder, with the simulated
// machine named in the environment. The program then reads the new release
// from the controller.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "HidDeviceManager.h"
#include "ScopedSimFolder.h"
#include "TestProcess.h"

namespace ts = testing_support;

namespace {

DWORD RunInstallerAs(const std::wstring& folder, const wchar_t* name) {
    const std::wstring path = folder + name;
    CopyFileW((ts::BinFolder() + L"FirmwareInstaller.exe").c_str(), path.c_str(), FALSE);
    ts::ChildProcess installer;
    if (!installer.Start(path, L"")) return 0xFFFFFFFF;
    return installer.WaitForExit(10000);
}

std::string ReadWhole(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "";
    char buffer[4096] = {};
    DWORD read = 0;
    ReadFile(file, buffer, sizeof(buffer) - 1, &read, nullptr);
    CloseHandle(file);
    return std::string(buffer, read);
}

unsigned short ReleaseSeenByTheProgram() {
    HidDeviceManager& devices = HidDeviceManager::Get();
    devices.Close();
    devices.Open();
    const unsigned short release = devices.ReleaseNumber();
    devices.Close();
    return release;
}

}  // namespace

TEST(FirmwareInstaller, FlashesTheVersionOfItsName) {
    ScopedSimFolder sim;
    const std::wstring temp = ts::MakeTempFolder(L"update-temp");
    EXPECT_EQ(ReleaseSeenByTheProgram(), 0x0105);  // the controller's factory release

    EXPECT_EQ(RunInstallerAs(temp, L"Tarvenholm-106.exe"), 0u);
    EXPECT_EQ(ReleaseSeenByTheProgram(), 0x0106);
    EXPECT_NE(ReadWhole(sim.Path(L"update.log")).find("installed firmware 106"), std::string::npos);
    ts::RemoveFolderTree(temp);
}

TEST(FirmwareInstaller, NameWithoutAVersionChangesNothing) {
    ScopedSimFolder sim;
    const std::wstring temp = ts::MakeTempFolder(L"update-temp");
    for (const wchar_t* name : {L"Tarvenholm-.exe", L"Tarvenholm-1a6.exe", L"Setup.exe", L"Tarvenholm-10600.exe"})
        EXPECT_EQ(RunInstallerAs(temp, name), 2u);
    EXPECT_EQ(ReleaseSeenByTheProgram(), 0x0105);
    ts::RemoveFolderTree(temp);
}
