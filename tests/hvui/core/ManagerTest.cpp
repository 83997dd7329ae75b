#include <gtest/gtest.h>

#include "Manager.h"

TEST(Manager, KeepsInstanceAndLanguage) {
    EXPECT_EQ(Manager::GetLanguage(), 1033);  // before the program sets it
    Manager::SetLanguage(2052);
    Manager::SetInstance(GetModuleHandleW(nullptr));
    EXPECT_EQ(Manager::GetLanguage(), 2052);
    EXPECT_EQ(Manager::GetInstance(), GetModuleHandleW(nullptr));
}
