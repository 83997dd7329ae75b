// Downloads, checks and the firmware package step against the simulated
// machine's update server, started by this test program on a free port.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "AppFolders.h"
#include "UpdateCheck.h"
#include "UpdateDownloader.h"
#include "UnixLink.h"
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
// ctest gives this program 2 s timeouts (TARVENHOLM_UPDATE_TIMEOUT_MS); the
// release's are 15 s to connect and 30 s without data.
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
        {L"huge-length", version.c_str(), UpdateDownloader::kFailed, nullptr},
        {L"no-length", version.c_str(), UpdateDownloader::kComplete, L"1.0.0.2\u00E4"},
        {L"silent", version.c_str(), UpdateDownloader::kFailed, nullptr},
        {L"stall", version.c_str(), UpdateDownloader::kFailed, nullptr},
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

// A version file is a few characters: a longer text is refused, with a
// length or without.
TEST_F(UpdateServerTest, TextsOverSixtyFourBytesFail) {
    struct Case {
        size_t size;
        const wchar_t* fault;
        int result;
    };
    const Case cases[] = {
        {64, L"none", UpdateDownloader::kComplete},  {65, L"none", UpdateDownloader::kFailed},
        {64, L"no-length", UpdateDownloader::kComplete}, {65, L"no-length", UpdateDownloader::kFailed},
        {100000, L"none", UpdateDownloader::kFailed},
    };
    for (const Case& c : cases) {
        UpdateServerProcess::WriteSiteFile(L"rk\\software\\version", std::string(c.size, '7'));
        ASSERT_TRUE(s_server->SetFault(c.fault));
        std::wstring text = L"untouched";
        EXPECT_EQ(m_downloader.DownloadText(update::SoftwareVersionUrl(m_locations), text), c.result)
            << c.size << " " << c.fault;
        EXPECT_EQ(text.size(), c.result == UpdateDownloader::kComplete ? c.size : 9u) << c.size << " " << c.fault;
    }
}

TEST_F(UpdateServerTest, RequestsCarryTheAgentHeaderAndNoCacheFlags) {
    UpdateServerProcess::WriteSiteFile(L"rk\\firmware\\version", "106");
    std::wstring text;
    ASSERT_EQ(m_downloader.DownloadText(update::FirmwareVersionUrl(m_locations), text), UpdateDownloader::kComplete);
    const std::wstring request = s_server->LastRequest();
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
    for (const wchar_t* fault :
         {L"not-found", L"cut-short", L"lying-length", L"huge-length", L"silent", L"stall"}) {
        ASSERT_TRUE(s_server->SetFault(fault));
        DeleteFileW(m_downloadPath.c_str());
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

// Without a Content-Length the bytes received are counted against the limit
// (256 MiB for packages; a small one here, so that no test sends that much).
TEST_F(UpdateServerTest, FilesOverTheLimitFailAndLeaveNoFile) {
    UpdateServerProcess::WriteSiteFile(L"rk\\firmware\\p20480.bin", Bytes(20480));
    struct Case {
        const wchar_t* fault;
        uint64_t limit;
        int result;
    };
    const Case cases[] = {
        {L"no-length", 20480, UpdateDownloader::kComplete}, {L"no-length", 20479, UpdateDownloader::kFailed},
        {L"none", 20480, UpdateDownloader::kComplete},      {L"none", 20479, UpdateDownloader::kFailed},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(s_server->SetFault(c.fault));
        DeleteFileW(m_downloadPath.c_str());
        EXPECT_EQ(m_downloader.DownloadFile(FirmwareUrl(L"p20480.bin"), m_downloadPath, nullptr, c.limit), c.result)
            << c.fault << " " << c.limit;
        EXPECT_EQ(Exists(m_downloadPath), c.result == UpdateDownloader::kComplete) << c.fault << " " << c.limit;
    }
}

// WinINet hands out no byte beyond the Content-Length: what a server sends
// past it is never taken for part of the file (a package cut so is no
// archive, see BrokenPackagesStartNothing).
TEST_F(UpdateServerTest, NothingPastTheAnnouncedLengthIsKept) {
    UpdateServerProcess::WriteSiteFile(L"rk\\firmware\\p20480.bin", Bytes(20480));
    ASSERT_TRUE(s_server->SetFault(L"long-body"));
    const int result = m_downloader.DownloadFile(FirmwareUrl(L"p20480.bin"), m_downloadPath, nullptr);
    EXPECT_TRUE(result == UpdateDownloader::kFailed || result == UpdateDownloader::kComplete) << result;
    if (result == UpdateDownloader::kComplete) {
        EXPECT_EQ(FileSize(m_downloadPath), 10240u);
    } else {
        EXPECT_FALSE(Exists(m_downloadPath));
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

using update::FirmwareUpdateResult;

// The installer, once unpacked, is held so that nobody can change, replace
// or remove it before it starts; reading it (as the system does to start
// it) stays possible.
TEST_F(UpdateServerTest, UnpackedInstallerIsHeldAgainstChange) {
    UpdateServerProcess::WriteSiteFile(L"rk\\firmware\\Tarvenholm-106.exe", "MZ installer 106");
    update::PreparedInstaller installer;
    ASSERT_EQ(update::DownloadAndUnpackFirmware(m_downloader, m_locations, L"106", m_posted.Window(), installer),
              FirmwareUpdateResult::kStarted);
    EXPECT_EQ(installer.path, update::TempPath(L"Tarvenholm-106.exe"));
    EXPECT_TRUE(installer.held.Valid());
    EXPECT_EQ(FileSize(installer.path), 16u);
    EXPECT_FALSE(Exists(update::TempPath(L"Tarvenholm-106.zip")));
    EXPECT_EQ(m_posted.Progress().back(), 100);

    const DWORD everything = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE writer = CreateFileW(installer.path.c_str(), GENERIC_WRITE, everything, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(writer, INVALID_HANDLE_VALUE) << "opened for writing";
    if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
    EXPECT_FALSE(DeleteFileW(installer.path.c_str())) << "deleted";
    EXPECT_FALSE(MoveFileW(installer.path.c_str(), update::TempPath(L"moved.exe").c_str())) << "renamed";
    HANDLE reader = CreateFileW(installer.path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(reader, INVALID_HANDLE_VALUE) << "the system could not read it to start it";
    if (reader != INVALID_HANDLE_VALUE) CloseHandle(reader);

    installer.held.Reset();
    EXPECT_TRUE(DeleteFileW(installer.path.c_str()));
    DeleteFileW(update::TempPath(L"moved.exe").c_str());
}

// Nothing known to be broken gets as far as a start: each package fault ends
// the update with its result and leaves no installer (not even a stale one
// from an earlier update) and no package behind.
TEST_F(UpdateServerTest, BrokenPackagesStartNothing) {
    UpdateServerProcess::WriteSiteFile(L"rk\\firmware\\Tarvenholm-109.exe", std::string(40000, 'M'));
    // Served as it is: no zip file at all.
    UpdateServerProcess::WriteSiteFile(L"rk\\firmware\\Tarvenholm-107.zip", "no archive");
    struct Case {
        const wchar_t* fault;
        const wchar_t* version;
        FirmwareUpdateResult result;
        FirmwareUpdateResult alsoAccepted = FirmwareUpdateResult::kStarted;  // kStarted: none
    };
    const Case cases[] = {
        {L"none", L"107", FirmwareUpdateResult::kBrokenPackage},
        {L"bad-crc", L"109", FirmwareUpdateResult::kNoInstaller},
        {L"no-installer", L"109", FirmwareUpdateResult::kNoInstaller},
        // WinINet either fails the read or hands out the announced half.
        {L"long-body", L"109", FirmwareUpdateResult::kBrokenPackage, FirmwareUpdateResult::kNoPackage},
        {L"cut-short", L"109", FirmwareUpdateResult::kNoPackage},
        {L"silent", L"109", FirmwareUpdateResult::kNoPackage},
        {L"stall", L"109", FirmwareUpdateResult::kNoPackage},
        {L"huge-length", L"109", FirmwareUpdateResult::kNoPackage},
        {L"not-found", L"109", FirmwareUpdateResult::kNoPackage},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(s_server->SetFault(c.fault));
        const std::wstring stale = update::TempPath(update::InstallerName(c.version));
        HANDLE file = CreateFileW(stale.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_READONLY, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        CloseHandle(file);
        update::PreparedInstaller installer;
        const FirmwareUpdateResult result =
            update::DownloadAndUnpackFirmware(m_downloader, m_locations, c.version, nullptr, installer);
        EXPECT_TRUE(result == c.result || (result == c.alsoAccepted && result != FirmwareUpdateResult::kStarted))
            << c.fault << ": " << static_cast<int>(result);
        EXPECT_FALSE(installer.held.Valid()) << c.fault;
        // A download that never got going leaves the stale one: nothing starts it.
        if (result != FirmwareUpdateResult::kNoPackage) {
            EXPECT_FALSE(Exists(stale)) << c.fault;
        }
        EXPECT_FALSE(Exists(update::TempPath(update::PackageName(c.version)))) << c.fault;
        SetFileAttributesW(stale.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(stale.c_str());
    }
}

// A temp folder that leads elsewhere (here a link, which the system reports
// as a reparse point) is refused before anything is downloaded into it.
TEST_F(UpdateServerTest, ReparsePointTempFolderIsRefused) {
    UpdateServerProcess::WriteSiteFile(L"rk\\firmware\\Tarvenholm-106.exe", "MZ installer 106");
    const std::wstring temp = update::TempFolder();
    const std::wstring elsewhere = folders::DataFolder() + L"elsewhere\\";
    folders::CreateFolderPath(elsewhere);
    unix_link::RemoveFolderTree(temp);
    ASSERT_TRUE(unix_link::Link(temp, elsewhere)) << "no link could be made";
    ASSERT_NE(GetFileAttributesW(temp.substr(0, temp.size() - 1).c_str()) & FILE_ATTRIBUTE_REPARSE_POINT, 0u);

    update::PreparedInstaller installer;
    EXPECT_EQ(update::DownloadAndUnpackFirmware(m_downloader, m_locations, L"106", nullptr, installer),
              FirmwareUpdateResult::kUnsafeFolder);
    EXPECT_FALSE(installer.held.Valid());
    EXPECT_FALSE(Exists(elsewhere + L"Tarvenholm-106.zip"));
    EXPECT_FALSE(Exists(elsewhere + L"Tarvenholm-106.exe"));

    unix_link::Unlink(temp);
    unix_link::RemoveFolderTree(elsewhere);
    folders::CreateFolderPath(temp);
}

TEST_F(UpdateServerTest, UnusableVersionsDownloadNothing) {
    update::PreparedInstaller installer;
    for (const wchar_t* version : {L"", L"..\\106", L"106\r\n"}) {
        EXPECT_EQ(update::DownloadAndUnpackFirmware(m_downloader, m_locations, version, m_posted.Window(), installer),
                  FirmwareUpdateResult::kNoPackage);
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
    // The program's own end runs first when there is one. (The child of this
    // second death test runs the lines above again, the deletion included.)
    ASSERT_TRUE(CopyFileW((std::wstring(system) + L"\\hostname.exe").c_str(),
                          (UpdateServerProcess::SiteFolder() + L"rk\\firmware\\Tarvenholm-111.exe").c_str(), FALSE));
    EXPECT_EXIT(update::RunFirmwareUpdate(m_downloader, m_locations, L"111", nullptr, [] { ExitProcess(7); }),
                testing::ExitedWithCode(7), "");
    EXPECT_TRUE(Exists(update::TempPath(L"Tarvenholm-111.exe")));
    Sleep(500);  // the started installer may still hold its file
    DeleteFileW(installer.c_str());
    DeleteFileW(update::TempPath(L"Tarvenholm-111.exe").c_str());
}

// A start that fails comes back as a failure and the program goes on; were
// the junk started, the child would end with 0 and the test fail.
TEST_F(UpdateServerTest, InstallerThatCannotStartComesBack) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    ASSERT_TRUE(s_server->SetFault(L"bad-installer"));
    UpdateServerProcess::WriteSiteFile(L"rk\\firmware\\Tarvenholm-110.exe", "MZ");
    EXPECT_EXIT(
        {
            const auto result = update::RunFirmwareUpdate(m_downloader, m_locations, L"110", nullptr, [] {});
            ExitProcess(result == FirmwareUpdateResult::kStartFailed ? 5 : 6);
        },
        testing::ExitedWithCode(5), "");
    Sleep(300);
    DeleteFileW(update::TempPath(L"Tarvenholm-110.exe").c_str());
}

}  // namespace
