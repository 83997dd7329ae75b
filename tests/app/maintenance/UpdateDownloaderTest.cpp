// Downloads, checks and the firmware package step against the simulated
// machine's update server, started by this test program on a free port.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "AppFolders.h"
#include "UpdateCheck.h"
#include "UpdateDownloader.h"
#include "UpdateServerProcess.h"
#include "WindowMessages.h"

namespace {

// A message-only window that collects what the downloads and checks post.
class PostedMessages {
public:
    PostedMessages() { m_window = CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr); }
    ~PostedMessages() { DestroyWindow(m_window); }
    HWND Window() const { return m_window; }

    std::vector<LPARAM> Progress() { return Take(message::kDownloadProgress); }
    std::vector<WPARAM> UpdateResults() {
        std::vector<WPARAM> results;
        MSG msg;
        while (PeekMessageW(&msg, m_window, message::kUpdateResult, message::kUpdateResult, PM_REMOVE)) {
            EXPECT_EQ(msg.lParam, 1);
            results.push_back(msg.wParam);
        }
        return results;
    }

private:
    std::vector<LPARAM> Take(UINT code) {
        std::vector<LPARAM> values;
        MSG msg;
        while (PeekMessageW(&msg, m_window, code, code, PM_REMOVE)) values.push_back(msg.lParam);
        return values;
    }
    HWND m_window;
};

std::string Bytes(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 13);
    return bytes;
}

uint64_t FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A fault must end a download, never leave the worker waiting on the server.
constexpr DWORD kFaultEndsWithinMs = 10000;

class UpdateServerTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_server = new UpdateServerProcess;
        ASSERT_TRUE(s_server->Start()) << "the update server did not start";
    }
    static void TearDownTestSuite() {
        s_server->Quit();
        delete s_server;
        s_server = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(s_server->SetFault(L"none"));
        m_locations = update::LocationsFor(s_server->BaseUrl());
        m_downloadPath = update::TempPath(L"download-test.bin");
        folders::CreateFolderPath(update::TempFolder());
    }
    void TearDown() override { DeleteFileW(m_downloadPath.c_str()); }

    std::wstring FirmwareUrl(const wchar_t* file) const { return m_locations.firmwareBaseUrl + file; }

    static UpdateServerProcess* s_server;
    update::UpdateLocations m_locations;
    std::wstring m_downloadPath;
    UpdateDownloader m_downloader;
    PostedMessages m_posted;
};
UpdateServerProcess* UpdateServerTest::s_server = nullptr;

TEST_F(UpdateServerTest, TextDownloads) {
    UpdateServerProcess::WriteSiteFile(L"rk\\software\\version", "1.0.0.2\xC3\xA4");
    struct Case {
        const wchar_t* fault;
        const wchar_t* url;
        int result;
        const wchar_t* text;  // null: the output stays untouched
    };
    const std::wstring version = update::SoftwareVersionUrl(m_locations);
    const Case cases[] = {
        {L"none", version.c_str(), UpdateDownloader::kComplete, L"1.0.0.2\u00E4"},
        {L"slow", version.c_str(), UpdateDownloader::kComplete, L"1.0.0.2\u00E4"},
        {L"not-found", version.c_str(), UpdateDownloader::kFailed, nullptr},
        {L"cut-short", version.c_str(), UpdateDownloader::kFailed, nullptr},
        {L"lying-length", version.c_str(), UpdateDownloader::kFailed, nullptr},
        {L"big-package", version.c_str(), UpdateDownloader::kComplete, L"1.0.0.2\u00E4"},
        {L"none", L"http://127.0.0.1:1/rk/software/version", UpdateDownloader::kFailed, nullptr},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(s_server->SetFault(c.fault));
        std::wstring text = L"untouched";
        const DWORD start = GetTickCount();
        EXPECT_EQ(m_downloader.DownloadText(c.url, text), c.result) << c.fault;
        EXPECT_LT(GetTickCount() - start, kFaultEndsWithinMs) << c.fault;
        EXPECT_EQ(text, c.text ? c.text : L"untouched") << c.fault;
    }
}

TEST_F(UpdateServerTest, RequestsCarryTheAgentHeaderAndNoCacheFlags) {
    UpdateServerProcess::WriteSiteFile(L"rk\\firmware\\version", "106");
    std::wstring text, request;
    ASSERT_EQ(m_downloader.DownloadText(update::FirmwareVersionUrl(m_locations), text), UpdateDownloader::kComplete);
    ASSERT_EQ(m_downloader.DownloadText(s_server->BaseUrl() + L"_control/last-request", request),
              UpdateDownloader::kComplete);
    for (const wchar_t* expected : {L"GET /rk/firmware//version HTTP/1.1\r\n", L"User-Agent: IIC2.0/PC 5.5.0000\n",
                                    L"Accept: */*\n", L"Pragma: no-cache\n"}) {
        EXPECT_NE(request.find(expected), std::wstring::npos) << expected << " in\n" << request;
    }
}

TEST_F(UpdateServerTest, ProgressIsPostedOnlyOnChange) {
    UpdateServerProcess::WriteSiteFile(L"rk\\firmware\\p20480.bin", Bytes(20480));
    UpdateServerProcess::WriteSiteFile(L"rk\\firmware\\p5000.bin", Bytes(5000));
    struct Case {
        const wchar_t* file;
        std::vector<LPARAM> posted;
        uint64_t size;
    };
    // The second download starts from the last value posted, 100.
    const Case cases[] = {
        {L"p20480.bin", {2, 8, 10, 55, 100}, 20480},
        {L"p5000.bin", {0, 2, 8, 10, 100}, 5000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(m_downloader.DownloadFile(FirmwareUrl(c.file), m_downloadPath, m_posted.Window()),
                  UpdateDownloader::kComplete);
        EXPECT_EQ(m_posted.Progress(), c.posted) << c.file;
        EXPECT_EQ(FileSize(m_downloadPath), c.size) << c.file;
    }
}

TEST_F(UpdateServerTest, FailedFileDownloadsLeaveNoFile) {
    UpdateServerProcess::WriteSiteFile(L"rk\\firmware\\p20480.bin", Bytes(20480));
    for (const wchar_t* fault : {L"not-found", L"cut-short", L"lying-length"}) {
        ASSERT_TRUE(s_server->SetFault(fault));
        const DWORD start = GetTickCount();
        EXPECT_EQ(m_downloader.DownloadFile(FirmwareUrl(L"p20480.bin"), m_downloadPath, m_posted.Window()),
                  UpdateDownloader::kFailed)
            << fault;
        EXPECT_LT(GetTickCount() - start, kFaultEndsWithinMs) << fault;
        EXPECT_FALSE(Exists(m_downloadPath)) << fault;
        const auto posted = m_posted.Progress();
        EXPECT_TRUE(posted.empty() || posted.back() != 100) << fault;
    }
}

TEST_F(UpdateServerTest, SlowBodiesArriveWhole) {
    UpdateServerProcess::WriteSiteFile(L"rk\\firmware\\p20480.bin", Bytes(20480));
    ASSERT_TRUE(s_server->SetFault(L"slow"));
    EXPECT_EQ(m_downloader.DownloadFile(FirmwareUrl(L"p20480.bin"), m_downloadPath, nullptr), UpdateDownloader::kComplete);
    EXPECT_EQ(FileSize(m_downloadPath), 20480u);
}

TEST_F(UpdateServerTest, LargePackagesArriveWithRisingProgress) {
    UpdateServerProcess::WriteSiteFile(L"rk\\firmware\\Tarvenholm-900.exe", "MZ big");
    ASSERT_TRUE(s_server->SetFault(L"big-package"));
    EXPECT_EQ(m_downloader.DownloadFile(update::PackageUrl(m_locations, L"900"), m_downloadPath, m_posted.Window()),
              UpdateDownloader::kComplete);
    EXPECT_GT(FileSize(m_downloadPath), 32u * 1024 * 1024);
    const auto posted = m_posted.Progress();
    ASSERT_FALSE(posted.empty());
    EXPECT_EQ(posted.back(), 100);
    for (size_t i = 1; i < posted.size(); ++i) EXPECT_GT(posted[i], posted[i - 1]) << "at " << i;
}

TEST_F(UpdateServerTest, SoftwareCheckPostsNewerOrFailed) {
    struct Case {
        const char* served;  // null: not found
        bool posted;
    };
    const Case cases[] = {
        {"1.0.0.2", true},      {"1.0.0.1", false}, {"1.0.0.0", false}, {"1.0.1", true},
        {"1.0.0.10", true},     {"1.0.0.2\r\n", true}, {"12345678901", true}, {"", true},
        {nullptr, true},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(s_server->SetFault(c.served ? L"none" : L"not-found"));
        if (c.served) UpdateServerProcess::WriteSiteFile(L"rk\\software\\version", c.served);
        update::UpdateState state;
        update::RunSoftwareCheck(m_downloader, m_locations, state, m_posted.Window());
        const auto results = m_posted.UpdateResults();
        EXPECT_EQ(results, c.posted ? std::vector<WPARAM>{update::kSoftwareResult} : std::vector<WPARAM>{})
            << (c.served ? c.served : "not found");
    }
}

TEST_F(UpdateServerTest, FirmwareCheckOffersNewerFirmware) {
    struct Case {
        unsigned release;
        const char* served;  // null: not found
        bool posted;
        const wchar_t* latest;
    };
    const Case cases[] = {
        {0x0105, "106", true, L"106"},      {0x0105, "105", false, L"105"},   {0x0105, "104", false, L"104"},
        {0, "106", false, L""},             {0x0105, "106\r\n", true, L"106"}, {0x0105, "1/06", false, L""},
        {0x0105, "..\\107", false, L""},    {0x0105, nullptr, false, L""},    {0x0110, "111", true, L"111"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(s_server->SetFault(c.served ? L"none" : L"not-found"));
        if (c.served) UpdateServerProcess::WriteSiteFile(L"rk\\firmware\\version", c.served);
        update::UpdateState state;
        state.latestFirmwareVersion = L"stale";
        update::RunFirmwareCheck(m_downloader, m_locations, c.release, state, m_posted.Window());
        const auto results = m_posted.UpdateResults();
        const char* what = c.served ? c.served : "not found";
        EXPECT_EQ(results, c.posted ? std::vector<WPARAM>{update::kFirmwareResult} : std::vector<WPARAM>{}) << what;
        EXPECT_EQ(state.latestFirmwareVersion, c.latest) << what;
    }
}

TEST_F(UpdateServerTest, FirmwarePackageIsUnpackedIntoTheTempFolder) {
    UpdateServerProcess::WriteSiteFile(L"rk\\firmware\\Tarvenholm-106.exe", "MZ installer 106");
    std::wstring installer;
    ASSERT_TRUE(update::DownloadAndUnpackFirmware(m_downloader, m_locations, L"106", m_posted.Window(), installer));
    EXPECT_EQ(installer, update::TempPath(L"Tarvenholm-106.exe"));
    EXPECT_EQ(FileSize(installer), 16u);
    EXPECT_FALSE(Exists(update::TempPath(L"Tarvenholm-106.zip")));
    EXPECT_EQ(m_posted.Progress().back(), 100);
    DeleteFileW(installer.c_str());
}

TEST_F(UpdateServerTest, NoStaleInstallerSurvivesAFailedPackage) {
    struct Case {
        const wchar_t* fault;
        bool goesOn;     // an archive arrived, so the installer start follows
        bool keptArchive;
    };
    // The served package is no zip file at all.
    UpdateServerProcess::WriteSiteFile(L"rk\\firmware\\Tarvenholm-107.zip", "no archive");
    const Case cases[] = {{L"none", true, true}, {L"cut-short", false, false}, {L"not-found", false, false}};
    for (const Case& c : cases) {
        ASSERT_TRUE(s_server->SetFault(c.fault));
        const std::wstring stale = update::TempPath(L"Tarvenholm-107.exe");
        {
            HANDLE file = CreateFileW(stale.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_READONLY, nullptr);
            ASSERT_NE(file, INVALID_HANDLE_VALUE);
            CloseHandle(file);
        }
        std::wstring installer;
        EXPECT_EQ(update::DownloadAndUnpackFirmware(m_downloader, m_locations, L"107", nullptr, installer), c.goesOn)
            << c.fault;
        if (c.goesOn) {
            EXPECT_FALSE(Exists(installer)) << c.fault;
        }
        EXPECT_EQ(Exists(update::TempPath(L"Tarvenholm-107.zip")), c.keptArchive) << c.fault;
        SetFileAttributesW(stale.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(stale.c_str());
        DeleteFileW(update::TempPath(L"Tarvenholm-107.zip").c_str());
    }
}

TEST_F(UpdateServerTest, UnusableVersionsDownloadNothing) {
    std::wstring installer;
    for (const wchar_t* version : {L"", L"..\\106", L"106\r\n"}) {
        EXPECT_FALSE(update::DownloadAndUnpackFirmware(m_downloader, m_locations, version, m_posted.Window(), installer));
        EXPECT_TRUE(m_posted.Progress().empty());
    }
}

}  // namespace

namespace {

// The whole of command 25 in a child process, since it ends the process:
// the package arrives, is unpacked and deleted, its installer starts, and the
// program ends with 0.
TEST_F(UpdateServerTest, FirmwareUpdateStartsTheInstallerAndEnds) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    ASSERT_TRUE(CopyFileW((std::wstring(system) + L"\\hostname.exe").c_str(),
                          (UpdateServerProcess::SiteFolder() + L"rk\\firmware\\Tarvenholm-108.exe").c_str(), FALSE));
    const std::wstring installer = update::TempPath(L"Tarvenholm-108.exe");
    DeleteFileW(installer.c_str());
    EXPECT_EXIT(update::RunFirmwareUpdate(m_downloader, m_locations, L"108", nullptr), testing::ExitedWithCode(0), "");
    EXPECT_TRUE(Exists(installer));
    EXPECT_FALSE(Exists(update::TempPath(L"Tarvenholm-108.zip")));
    Sleep(500);  // the started installer may still hold its file
    DeleteFileW(installer.c_str());
}

}  // namespace
