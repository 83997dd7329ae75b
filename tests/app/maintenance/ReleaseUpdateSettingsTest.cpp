// The update settings as the release program is built (without the
// simulated machine): whatever an unprivileged process puts into the
// environment, the program talks to its built-in server with the fixed
// timeouts.
#include <gtest/gtest.h>

#include <windows.h>

#include "UpdateSettings.h"

namespace {

TEST(ReleaseUpdateSettings, TheEnvironmentChangesNothing) {
    ASSERT_TRUE(SetEnvironmentVariableW(L"TARVENHOLM_UPDATE_URL", L"http://127.0.0.1:9/"));
    ASSERT_TRUE(SetEnvironmentVariableW(L"TARVENHOLM_UPDATE_TIMEOUT_MS", L"100"));
    EXPECT_EQ(update::ServerBaseUrl(), update::kBuiltInServerUrl);
    const update::DownloadTimeouts timeouts = update::ConfiguredTimeouts();
    EXPECT_EQ(timeouts.connectMs, update::kReleaseTimeouts.connectMs);
    EXPECT_EQ(timeouts.dataMs, update::kReleaseTimeouts.dataMs);
    SetEnvironmentVariableW(L"TARVENHOLM_UPDATE_URL", nullptr);
    SetEnvironmentVariableW(L"TARVENHOLM_UPDATE_TIMEOUT_MS", nullptr);
}

}  // namespace
