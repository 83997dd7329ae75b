#include <gtest/gtest.h>

#include <windows.h>
#include <shlwapi.h>

#include <string>

#include "AppFolders.h"
#include "TestProcess.h"

namespace ts = testing_support;

namespace {
bool IsFolder(const std::wstring& path) { return PathIsDirectoryW(path.c_str()) != FALSE; }
bool EndsWith(const std::wstring& text, const std::wstring& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}
}  // namespace

TEST(AppFolders, CreateFolderPathCreatesEveryMissingLevel) {
    const std::wstring root = ts::MakeTempFolder(L"folders");
    struct Case { std::wstring path; std::wstring deepest; };
    const Case cases[] = {
        {root + L"A\\B\\C\\", root + L"A\\B\\C"},  // trailing backslash
        {root + L"X\\Y\\Z", root + L"X\\Y\\Z"},    // none
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(folders::CreateFolderPath(c.path));
        EXPECT_TRUE(IsFolder(c.deepest));
        EXPECT_TRUE(folders::CreateFolderPath(c.path));  // already there
    }
    EXPECT_TRUE(IsFolder(root + L"A\\B"));
    ts::RemoveFolderTree(root);
}

TEST(AppFolders, CreateFolderPathFailsBelowAFile) {
    const std::wstring root = ts::MakeTempFolder(L"folders");
    HANDLE file = CreateFileW((root + L"file").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    EXPECT_FALSE(folders::CreateFolderPath(root + L"file\\sub"));
    ts::RemoveFolderTree(root);
}

TEST(AppFolders, ProgramAndDataFoldersEndWithBackslash) {
    EXPECT_EQ(folders::ProgramFolder(), ts::BinFolder());
    const std::wstring data = folders::DataFolder();
    EXPECT_TRUE(EndsWith(data, L"\\Tarvenholm Files\\datav1\\"));
    // The whole data folder is the local application data folder, the
    // product's folder and datav1; an empty variable would match anything.
    wchar_t local[MAX_PATH] = {};
    ASSERT_GT(GetEnvironmentVariableW(L"LOCALAPPDATA", local, MAX_PATH), 0u);
    EXPECT_EQ(data, std::wstring(local) + L"\\Tarvenholm Files\\datav1\\");
}

TEST(AppFolders, IniTextIsCutAt511Characters) {
    const std::wstring root = ts::MakeTempFolder(L"ini");
    const std::wstring file = root + L"1033.lan";
    WritePrivateProfileStringW(L"LAN", L"300", std::wstring(600, L'w').c_str(), file.c_str());
    WritePrivateProfileStringW(L"LAN", L"301", L"Performance", file.c_str());
    EXPECT_EQ(folders::ReadIniText(L"LAN", L"301", file), L"Performance");
    EXPECT_EQ(folders::ReadIniText(L"LAN", L"300", file).size(), 511u);
    EXPECT_EQ(folders::ReadIniText(L"LAN", L"999", file), L"");
    EXPECT_EQ(folders::ReadIniText(L"LAN", L"301", root + L"missing.lan"), L"");
    ts::RemoveFolderTree(root);
}
