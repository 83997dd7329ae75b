// UpdateServerProcess: the simulated machine's update server for one test
// program. It is a Unix process that Wine starts but cannot wait for or end,
// so it announces its port through a file, ends on a quit request, and ends
// by itself after a lifetime in case a test crashes first.
#pragma once

#include <windows.h>

#include <fstream>
#include <string>
#include <utility>

#include "AppFolders.h"
#include "UpdateDownloader.h"

class UpdateServerProcess {
public:
    static constexpr int kLifetimeSeconds = 300;
    // The request line and headers the server echoes.
    static constexpr uint64_t kMaxRequestText = 64 * 1024;
    // The folder the download tests fill, below the bin folder.
    static constexpr wchar_t kTestSite[] = L"testdata/update-site";

    // site: the served folder, relative to the bin folder with "/"; name:
    // of the port file and the request log in testdata, so that test
    // programs running side by side do not meet.
    explicit UpdateServerProcess(std::wstring site = kTestSite, std::wstring name = L"update-server")
        : m_site(std::move(site)), m_name(std::move(name)) {}

    // The download tests' site, as they write it (Windows path).
    static std::wstring SiteFolder() { return folders::ProgramFolder() + L"testdata\\update-site\\"; }

    // A death test's child process uses the server of its parent.
    static bool InDeathTestChild() { return wcsstr(GetCommandLineW(), L"gtest_internal_run_death_test") != nullptr; }

    bool Start() {
        folders::CreateFolderPath(folders::ProgramFolder() + L"testdata");
        if (m_site == kTestSite) {
            folders::CreateFolderPath(SiteFolder() + L"rk\\software");
            folders::CreateFolderPath(SiteFolder() + L"rk\\firmware");
        }
        const std::wstring portFile = folders::ProgramFolder() + L"testdata\\" + m_name + L".port";
        if (InDeathTestChild()) return ReadPort(portFile);
        DeleteFileW(portFile.c_str());
        const std::wstring bin = TARVENHOLM_BIN_DIR_UNIX;
        std::wstring command = std::wstring(L"\"") + TARVENHOLM_PYTHON_PATH + L"\" \"" + TARVENHOLM_UPDATE_SERVER +
                               L"\" --root \"" + bin + L"/" + m_site + L"\" --port 0 --port-file \"" + bin +
                               L"/testdata/" + m_name + L".port\" --log \"" + bin + L"/testdata/" + m_name +
                               L".log\" --lifetime " + std::to_wstring(kLifetimeSeconds);
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process = {};
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
            return false;
        if (process.hThread) CloseHandle(process.hThread);
        if (process.hProcess) CloseHandle(process.hProcess);
        for (int i = 0; i < 100 && !ReadPort(portFile); ++i) Sleep(100);
        return m_port != 0;
    }

    void Quit() {
        if (m_port == 0 || InDeathTestChild()) return;
        std::wstring ignored;
        UpdateDownloader().DownloadText(BaseUrl() + L"_control/quit", ignored);
        m_port = 0;
    }

    bool SetFault(const wchar_t* fault) {
        std::wstring answer;
        return UpdateDownloader().DownloadText(BaseUrl() + L"_control/fault/" + fault, answer) ==
                   UpdateDownloader::kComplete &&
               answer == fault;
    }

    // The request line and headers of the last request that was no control
    // request; empty before the first.
    std::wstring LastRequest() const {
        std::wstring request;
        UpdateDownloader().DownloadText(BaseUrl() + L"_control/last-request", request, kMaxRequestText);
        return request;
    }

    std::wstring BaseUrl() const { return L"http://127.0.0.1:" + std::to_wstring(m_port) + L"/"; }

    static void WriteSiteFile(const std::wstring& relative, const std::string& bytes) {
        std::ofstream out((SiteFolder() + relative).c_str(), std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

private:
    bool ReadPort(const std::wstring& portFile) {
        std::ifstream in(portFile.c_str());
        in >> m_port;
        return m_port != 0;
    }

    std::wstring m_site;
    std::wstring m_name;
    int m_port = 0;
};
