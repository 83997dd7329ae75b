// The WMI client against Wine's real WMI service. Wine fills neither a
// disk's "Caption" nor a module's "Manufacturer", so the checks look at the
// fields it does fill.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <thread>

#include "Inventory.h"
#include "WmiClient.h"

namespace {

TEST(WmiClient, ListsDisksAndMemoryModules) {
    WmiClient client;
    const auto disks = client.QueryDisks();
    ASSERT_FALSE(disks.empty());
    EXPECT_FALSE(disks.front().deviceId.empty());
    EXPECT_FALSE(disks.front().interfaceType.empty());
    EXPECT_FALSE(disks.front().mediaType.empty());
    EXPECT_GT(disks.front().sizeGiB, 0u);
    EXPECT_FALSE(client.QueryMemoryModules().empty());
}

TEST(WmiClient, FailedQueryRaisesItsMessage) {
    WmiClient client;
    // "SELECT * FROM " alone is no valid query (WBEM_E_INVALID_QUERY).
    try {
        client.QueryObjects(L"");
        FAIL() << "no exception";
    } catch (const WMICException& failure) {
        EXPECT_STREQ(failure.what(), "Query for  failed. Error code = 0x80041017\n");
    }
    // The client stays usable after a failed query.
    EXPECT_FALSE(client.QueryDisks().empty());
}

TEST(WmiClient, LaterClientsAndOtherApartmentsConnectToo) {
    // Security is already set by the earlier clients: RPC_E_TOO_LATE.
    { WmiClient again; }
    // A thread already in a single-threaded apartment keeps it.
    bool connected = false;
    HRESULT afterwards = S_OK;
    std::thread sta([&] {
        CoInitialize(nullptr);
        try {
            WmiClient client;
            connected = !client.QueryDisks().empty();
        } catch (const WMICException&) {
        }
        afterwards = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        if (SUCCEEDED(afterwards)) CoUninitialize();
        CoUninitialize();
    });
    sta.join();
    EXPECT_TRUE(connected);
    EXPECT_EQ(afterwards, RPC_E_CHANGED_MODE);
}

TEST(WmiClient, InventoryStepFillsTheResults) {
    InventoryResults results;
    inventory::RunInventoryStep(true, results);
    EXPECT_GT(results.diskSizeGiB, 0.0f);
}

}  // namespace
