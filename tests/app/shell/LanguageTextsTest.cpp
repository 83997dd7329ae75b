// Language texts: the file of the current language, the lookup rules, the
// language selector's items and what a language change sets on the window.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "LanguageTexts.h"
#include "MainWindowIds.h"
#include "Manager.h"
#include "TestProcess.h"

namespace ts = testing_support;

namespace {

// Languages with no shipped file, so the test may own theirs in the
// program folder's language folder.
constexpr int kFirstTestLanguage = 1050;
constexpr int kSecondTestLanguage = 1051;

// A language file as the shipped ones are written: UTF-16 little-endian with
// a byte-order mark, so texts outside the code page survive.
void WriteUnicodeFile(const std::wstring& path, const std::wstring& text) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const std::wstring content = L"\xFEFF" + text;
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);
}

// Files of the test languages in the program folder, removed afterwards
// together with the folder if the test made it.
class ProgramLanguageFiles {
public:
    ProgramLanguageFiles() : m_folder(ts::BinFolder() + L"language\\") {
        m_madeFolder = CreateDirectoryW(m_folder.c_str(), nullptr) != FALSE;
    }
    ~ProgramLanguageFiles() {
        for (const std::wstring& file : m_files) DeleteFileW(file.c_str());
        if (m_madeFolder) RemoveDirectoryW(m_folder.c_str());
        Manager::SetLanguage(m_previousLanguage);
    }
    void Write(int language, const std::wstring& text) {
        m_files.push_back(language::FilePath(ts::BinFolder(), language));
        WriteUnicodeFile(m_files.back(), text);
    }

private:
    std::wstring m_folder;
    bool m_madeFolder = false;
    std::vector<std::wstring> m_files;
    int m_previousLanguage = Manager::GetLanguage();
};

TEST(LanguageTexts, FilePathIsTheLanguageFolderOfTheProgram) {
    EXPECT_EQ(language::FilePath(L"C:\\Program Files\\Tarvenholm\\", 2052),
              L"C:\\Program Files\\Tarvenholm\\language\\2052.lan");
    EXPECT_EQ(language::FilePath(L"D:\\x\\", 1033), L"D:\\x\\language\\1033.lan");
    Manager::SetLanguage(1041);
    EXPECT_EQ(language::CurrentFilePath(), ts::BinFolder() + L"language\\1041.lan");
}

TEST(LanguageTexts, LookupRules) {
    const std::wstring root = ts::MakeTempFolder(L"lan");
    const std::wstring file = root + L"2052.lan";
    const std::wstring longText(600, L'x');
    WriteUnicodeFile(file,
                     L"[LAN]\r\n"
                     L"01=leading zero\r\n"
                     L"60=\u7CFB\u7EDF\u6A21\u5F0F\r\n"
                     L"300=" + longText + L"\r\n"
                     L"[OTHER]\r\n"
                     L"2=other section\r\n");
    struct Case {
        int key;
        const wchar_t* section;
        std::wstring expected;
    };
    const Case cases[] = {
        {60, language::kSection, L"\u7CFB\u7EDF\u6A21\u5F0F"},  // read as Unicode
        {300, language::kSection, longText.substr(0, 511)},     // cut at 511
        {1, language::kSection, L""},                           // only "01" is in the file
        {2, language::kSection, L""},                           // in another section
        {2, L"OTHER", L"other section"},
        {99, language::kSection, L""},
    };
    for (const Case& c : cases) EXPECT_EQ(language::ReadText(file, c.key, c.section), c.expected) << c.key;
    EXPECT_EQ(language::ReadText(root + L"1049.lan", 60), L"");  // no file, no fallback
    ts::RemoveFolderTree(root);
}

TEST(LanguageTexts, EveryLookupReadsTheLanguageCurrentAtThatMoment) {
    ProgramLanguageFiles files;
    files.Write(kFirstTestLanguage, L"[LAN]\r\n1=First close\r\n");
    files.Write(kSecondTestLanguage, L"[LAN]\r\n1=Second close\r\n");
    Manager::SetLanguage(kFirstTestLanguage);
    EXPECT_EQ(language::GetText(language::key::kCloseTooltip), L"First close");
    Manager::SetLanguage(kSecondTestLanguage);
    EXPECT_EQ(language::GetText(language::key::kCloseTooltip), L"Second close");
    files.Write(kSecondTestLanguage, L"[LAN]\r\n1=Edited close\r\n");  // no cache either
    EXPECT_EQ(language::GetText(language::key::kCloseTooltip), L"Edited close");
}

TEST(LanguageTexts, SelectorShowsOnlyItsTenLanguages) {
    struct Case {
        int language;
        int index;
    };
    const Case cases[] = {{1033, 0}, {2052, 1}, {1031, 2}, {1028, 7}, {1045, 9},
                          {1049, -1},  // a first start under another UI language: empty box
                          {0, -1}};
    for (const Case& c : cases) EXPECT_EQ(language::SelectorIndexOf(c.language), c.index) << c.language;
    EXPECT_STREQ(language::kSelectorItems[1].text, L"\u7B80\u4F53\u4E2D\u6587");
    EXPECT_STREQ(language::kSelectorItems[9].text, L"j\u0119zyk polski");
}

// What the window was asked to do, one line per call.
class RecordingWindow : public language::MainWindowTexts {
public:
    void SetTooltip(int id, const std::wstring& text) override { Add(L"tooltip", id, -1, text); }
    void SetItemText(int id, int item, const std::wstring& text) override { Add(L"item", id, item, text); }
    void SetTitle(int id, const std::wstring& text) override { Add(L"title", id, -1, text); }
    void Redraw(int id) override { Add(L"redraw", id, -1, L""); }
    std::vector<std::wstring> calls;

private:
    void Add(const wchar_t* what, int id, int item, const std::wstring& text) {
        std::wstring line = std::wstring(what) + L" " + std::to_wstring(id);
        if (item >= 0) line += L"[" + std::to_wstring(item) + L"]";
        if (!text.empty()) line += L" " + text;
        calls.push_back(line);
    }
};

TEST(LanguageTexts, LanguageChangeSetsEachTextOnceInOrder) {
    // The text of key k is "k" plus the current language; the file holds
    // every key, the settings tooltip's (10) included, so an extra step
    // would show.
    ProgramLanguageFiles files;
    std::wstring content = L"[LAN]\r\n";
    for (int key = 1; key <= 110; ++key) content += std::to_wstring(key) + L"=" + std::to_wstring(key) + L"e\r\n";
    files.Write(kFirstTestLanguage, content);
    Manager::SetLanguage(kFirstTestLanguage);

    RecordingWindow window;
    language::ApplyTexts(window);
    const std::vector<std::wstring> expected = {
        L"tooltip 33 1e",    L"tooltip 34 2e",    L"item 36[0] 60e",   L"item 36[1] 61e",   L"redraw 36",
        L"item 41[0] 63e",   L"item 41[1] 64e",   L"item 41[2] 65e",   L"title 42 66e",     L"title 45 67e",
        L"title 46 68e",     L"item 60[0] 70e",   L"item 60[1] 71e",   L"item 60[2] 72e",   L"item 60[3] 73e",
        L"item 60[4] 74e",   L"item 60[5] 75e",   L"item 60[6] 76e",   L"title 56 61e",     L"title 62 84e",
        L"title 63 85e",     L"title 65 86e",     L"title 68 87e",     L"title 69 88e",     L"redraw 78",
        L"title 88 101e",    L"title 90 102e",    L"title 93 103e",
    };
    EXPECT_EQ(window.calls, expected);
}

}  // namespace
