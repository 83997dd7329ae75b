// The rules of the online update that need no server.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AppFolders.h"
#include "UpdateCheck.h"

namespace {

TEST(UpdateCheck, VersionComparison) {
    struct Case {
        const wchar_t* latest;
        int expected;
    };
    const Case cases[] = {
        {L"1.0.0.2", 1},   {L"1.0.0.1", 0},     {L"1.0.0.0", -1},   {L"1.0.1", 2},
        {L"1.0.0.10", 1},  {L"1.0.0.2\r\n", 1}, {L"2.0.0.0", 1},    {L"0.9.9.9", -1},
        {L"1..0.1", 0},   {L"", 2},            {L"1.0.0.1.0", 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(update::CompareVersions(update::kCurrentSoftwareVersion, c.latest), c.expected) << c.latest;
    }
}

TEST(UpdateCheck, ReleaseNumberReadsAsDecimalDigits) {
    const std::pair<unsigned, int> cases[] = {{0x0105, 105}, {0x0110, 110}, {0x0106, 106}, {0x1A, 1}, {0, 0}};
    for (const auto& [release, number] : cases) EXPECT_EQ(update::ReleaseAsVersionNumber(release), number) << release;
}

TEST(UpdateCheck, OnlyDigitFirmwareVersionsNameFiles) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"106", L"106"},   {L"106\r\n", L"106"}, {L"106 \t", L"106"}, {L"", L""},        {L"\r\n", L""},
        {L" 106", L""},     {L"1\\06", L""},      {L"1/06", L""},      {L"10:6", L""},    {L"..\\..\\x", L""},
        {L"106a", L""},
    };
    for (const auto& [text, usable] : cases) EXPECT_EQ(update::UsableFirmwareVersion(text), usable) << text;
}

TEST(UpdateCheck, UrlsNamesAndFolders) {
    const update::UpdateLocations at = update::LocationsFor(L"http://127.0.0.1:8765/");
    EXPECT_EQ(at.softwareBaseUrl, L"http://127.0.0.1:8765/rk/software/");
    EXPECT_EQ(update::SoftwareVersionUrl(at), L"http://127.0.0.1:8765/rk/software/version");
    EXPECT_EQ(update::FirmwareVersionUrl(at), L"http://127.0.0.1:8765/rk/firmware//version");
    EXPECT_EQ(update::PackageUrl(at, L"106"), L"http://127.0.0.1:8765/rk/firmware///Tarvenholm-106.zip");
    EXPECT_EQ(update::PackageName(L"106"), L"Tarvenholm-106.zip");
    EXPECT_EQ(update::InstallerName(L"106"), L"Tarvenholm-106.exe");
    EXPECT_EQ(update::TempPath(L"Tarvenholm-106.exe"), folders::DataFolder() + L"\\temp\\Tarvenholm-106.exe");
}

TEST(UpdateCheck, ServerFromTheEnvironment) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {nullptr, update::kBuiltInServerUrl},
        {L"http://127.0.0.1:9/", L"http://127.0.0.1:9/"},
        {L"http://127.0.0.1:9", L"http://127.0.0.1:9/"},
    };
    for (const auto& [value, url] : cases) {
        SetEnvironmentVariableW(update::kServerUrlVariable, value);
        EXPECT_EQ(update::ServerBaseUrl(), url);
    }
    SetEnvironmentVariableW(update::kServerUrlVariable, nullptr);
}

}  // namespace

// The version resource of each deliverable, as Windows and installers read it.
TEST(VersionResourceTest, BothDeliverablesCarryTheVersionTheUpdateCheckCompares) {
    for (const wchar_t* file : {L"Tarvenholm.exe", L"HVUI.dll"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(file)));
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(file, &ignored);
        ASSERT_GT(size, 0u);
        std::vector<BYTE> block(size);
        ASSERT_TRUE(GetFileVersionInfoW(file, 0, size, block.data()));
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
        const std::wstring numbers = std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." +
                                     std::to_wstring(LOWORD(fixed->dwFileVersionMS)) + L"." +
                                     std::to_wstring(HIWORD(fixed->dwFileVersionLS)) + L"." +
                                     std::to_wstring(LOWORD(fixed->dwFileVersionLS));
        EXPECT_EQ(numbers, update::kCurrentSoftwareVersion);
        EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
        EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
        auto text = [&](const wchar_t* name) {
            wchar_t* value = nullptr;
            UINT chars = 0;
            const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
            if (!VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &chars)) return std::wstring();
            return std::wstring(value);
        };
        EXPECT_EQ(text(L"ProductName"), L"Tarvenholm");
        EXPECT_EQ(text(L"ProductVersion"), update::kCurrentSoftwareVersion);
        EXPECT_EQ(text(L"OriginalFilename"), file);
    }
}
