#include <gtest/gtest.h>

#include "CString.h"
#include "Manager.h"

TEST(Manager, KeepsInstanceAndLanguage) {
    EXPECT_EQ(Manager::GetLanguage(), 1033);  // before the program sets it
    Manager::SetLanguage(2052);
    Manager::SetInstance(GetModuleHandleW(nullptr));
    EXPECT_EQ(Manager::GetLanguage(), 2052);
    EXPECT_EQ(Manager::GetInstance(), GetModuleHandleW(nullptr));
}

TEST(Manager, StartsWithTheFrameworkDefaults) {
    EXPECT_EQ(Manager::GetScaleValue(), 1.0f);
    EXPECT_STREQ(Manager::GetFontName(), L"Segoe UI");
    EXPECT_EQ(Manager::GetFontWidth(), 16);
    EXPECT_EQ(Manager::GetSelectColor().GetValue(), 0xFF1BFFFFu);
    EXPECT_STREQ(Manager::GetTheme(), L"theme1\\");
}

TEST(Manager, ScaledValuesAreTruncatedInSinglePrecision) {
    struct Case {
        float scale;
        int value;
        int expected;
    };
    const Case cases[] = {
        {1.25f, 15, 18}, {1.5f, 15, 22}, {1.0f, 15, 15}, {1.75f, 3, 5}, {1.25f, -15, -18}, {0.5f, 1, 0},
    };
    for (const Case& c : cases) {
        Manager::SetScaleValue(c.scale);
        EXPECT_EQ(Manager::GetScaleValue(c.value), c.expected) << c.scale << " x " << c.value;
    }
    Manager::SetScaleValue(1.0f);
}

TEST(Manager, SetFontChangesBothDefaults) {
    Manager::SetFont(L"Tahoma", 12);
    EXPECT_STREQ(Manager::GetFontName(), L"Tahoma");
    EXPECT_EQ(Manager::GetFontWidth(), 12);
    Manager::SetFont(L"Segoe UI", 16);
}

TEST(Manager, SkinFilesLiveBesideTheExecutableNotTheLibrary) {
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring folder(exe);
    folder.erase(folder.find_last_of(L'\\') + 1);

    EXPECT_EQ(Manager::GetAppPath().Str(), folder);
    EXPECT_EQ(Manager::GetSkinFile(L"img_tip_bk.png").Str(), folder + L"skins\\theme1\\img_tip_bk.png");
    EXPECT_EQ(Manager::GetSkinFile(L"sub\\img_a.png").Str(), folder + L"skins\\theme1\\sub\\img_a.png");
    EXPECT_NE(Manager::GetLibraryInstance(), GetModuleHandleW(nullptr));
    EXPECT_EQ(Manager::GetLibraryInstance(), GetModuleHandleW(L"HVUI.dll"));
}

TEST(Manager, NamedCursorsAreTheSystemCursorsOfTheTable) {
    struct Case {
        const wchar_t* name;
        const wchar_t* system;  // null: not a name of the table
    };
    const Case cases[] = {
        {L"arrow", IDC_ARROW},   {L"wait", IDC_WAIT}, {L"cross", IDC_CROSS}, {L"sizewe", IDC_SIZEWE},
        {L"sizens", IDC_SIZENS}, {L"hand", IDC_HAND}, {L"help", IDC_HELP},   {L"HAND", nullptr},
        {L"pointer", nullptr},   {L"", nullptr},
    };
    for (const Case& c : cases) {
        HCURSOR expected = c.system ? LoadCursorW(nullptr, c.system) : nullptr;
        EXPECT_EQ(Manager::LoadNamedCursor(c.name), expected) << static_cast<const void*>(c.name);
    }
    EXPECT_EQ(Manager::LoadNamedCursor(nullptr), nullptr);
}

TEST(Manager, AltF4IsDroppedOnlyWhileBothKeysAreDown) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    MSG message = {};
    keys[VK_MENU] = 0;
    keys[VK_F4] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(Manager::PreTranslateMessage(&message), 0);
    keys[VK_MENU] = 0x80;
    SetKeyboardState(keys);
    EXPECT_EQ(Manager::PreTranslateMessage(&message), 0);
    keys[VK_F4] = 0x80;
    SetKeyboardState(keys);
    EXPECT_EQ(Manager::PreTranslateMessage(&message), 1);
    keys[VK_MENU] = 0;
    keys[VK_F4] = 0;
    SetKeyboardState(keys);
}

TEST(CString, FormatsWideStringsWithPercentS) {
    CString path;
    path.Format(L"%s\\font\\%s", L"C:\\prog\\", L"Arial.ttf");
    EXPECT_STREQ(path, L"C:\\prog\\\\font\\Arial.ttf");
    CString number;
    number.Format(L"%d%%, %u", -5, 7u);
    number.AppendFormat(L" %s", L"end");
    EXPECT_STREQ(number, L"-5%, 7 end");
    EXPECT_EQ(number.GetLength(), 10);
}

TEST(CString, ComparesAndSlices) {
    const CString text(L"Open Sans");
    EXPECT_TRUE(text == L"Open Sans");
    EXPECT_TRUE(text != CString(L"open sans"));
    EXPECT_EQ(text.CompareNoCase(L"OPEN SANS"), 0);
    EXPECT_EQ(text.Find(L"Sans"), 5);
    EXPECT_EQ(text.Find(L"x"), -1);
    EXPECT_STREQ(text.Left(4), L"Open");
    EXPECT_STREQ(text.Mid(5), L"Sans");
    EXPECT_STREQ(text.Right(2), L"ns");
    EXPECT_STREQ(text.Mid(50), L"");
    EXPECT_TRUE(CString(nullptr).IsEmpty());
    EXPECT_STREQ(CString(L"a") + L"b" + CString(L"c"), L"abc");
}
