#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "SettingsStore.h"
#include "TestProcess.h"

namespace ts = testing_support;

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override { ts::DeleteSettingsKey(); }
    void TearDown() override { ts::DeleteSettingsKey(); }
};

TEST_F(SettingsStoreTest, FirstReadCreatesTheKeyAndAnswersZero) {
    ASSERT_FALSE(ts::SettingsKeyExists());
    EXPECT_EQ(settings::LoadLanguageId(), 0);
    EXPECT_TRUE(ts::SettingsKeyExists());
    EXPECT_EQ(settings::LoadLanguageId(), 0);  // the value is still absent
}

TEST_F(SettingsStoreTest, ReadsTextTheWayWtoiDoes) {
    struct Case { std::wstring stored; int expected; };
    const Case cases[] = {
        {L" 7x", 7}, {L"x7", 0}, {L"", 0}, {L"\t-12", -12}, {L"+5", 5},
        {L"16744448", 16744448}, {L"2052 ", 2052}, {L"- 3", 0},
        {std::wstring(127, L'1'), 0},  // 256 bytes with the terminator: over the limit
        {std::wstring(126, L'0') + L"9", 0},
        {L"0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000042", 42},
    };
    for (const Case& c : cases) {
        ts::WriteSettingsText(L"lightSpeed", c.stored);
        EXPECT_EQ(settings::ReadInteger(L"lightSpeed"), c.expected) << "stored \"" << std::string(c.stored.begin(), c.stored.end()) << "\"";
    }
}

TEST_F(SettingsStoreTest, ValueExistsOnlyForValuesWithinTheLimit) {
    settings::ReadInteger(L"any");  // creates the key
    EXPECT_FALSE(settings::ValueExists(L"lightMode"));
    ts::WriteSettingsText(L"lightMode", L"3");
    EXPECT_TRUE(settings::ValueExists(L"lightMode"));
    ts::WriteSettingsText(L"lightMode", std::wstring(200, L'3'));
    EXPECT_FALSE(settings::ValueExists(L"lightMode"));
}

TEST_F(SettingsStoreTest, WriteStoresDecimalTextWithItsTerminator) {
    settings::ReadInteger(L"any");
    settings::WriteInteger(L"lightColor", 16744448);
    DWORD type = 0, size = 0;
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"SOFTWARE\\Tarvenholm", L"lightColor", RRF_RT_ANY, &type, nullptr, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, (8u + 1u) * 2u);
    EXPECT_EQ(ts::ReadSettingsText(L"lightColor"), L"16744448");
    EXPECT_EQ(settings::ReadIntegerOr(L"lightColor", 5), 16744448);
    EXPECT_EQ(settings::ReadIntegerOr(L"lightSpeed", 9), 9);
}

TEST_F(SettingsStoreTest, WriteWithoutTheKeyWritesNothing) {
    settings::WriteText(L"perfMode", L"2");
    EXPECT_FALSE(ts::SettingsKeyExists());
    settings::StoreLanguageId(2052);
    EXPECT_FALSE(ts::SettingsKeyExists());
}

TEST_F(SettingsStoreTest, LanguageRoundTripsAndNonNumbersReadAsAbsent) {
    settings::LoadLanguageId();
    settings::StoreLanguageId(1031);
    EXPECT_EQ(settings::LoadLanguageId(), 1031);
    ts::WriteSettingsText(L"LCID", L"zh-CN");
    EXPECT_EQ(settings::LoadLanguageId(), 0);
}

TEST_F(SettingsStoreTest, ValueOfAnotherTypeIsReadAsText) {
    settings::ReadInteger(L"any");
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Tarvenholm", 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    const DWORD asText = 0x00000037;  // the bytes 37 00 00 00 spell L"7"
    RegSetValueExW(key, L"lightMode", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&asText), sizeof(asText));
    RegCloseKey(key);
    EXPECT_EQ(settings::ReadInteger(L"lightMode"), 7);
}
