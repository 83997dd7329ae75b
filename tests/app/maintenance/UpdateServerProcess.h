// UpdateServerProcess: the simulated machine's update server for one test
// program. It is a Unix process that Wine starts but cannot wait for or end,
// so it announces its port through a file, ends on a quit request, and ends
// by itself after a lifetime in case a test crashes first.
#pragma once

#include <windows.h>

#include <fstream>
#include <string>

#include "AppFolders.h"
#include "UpdateDownloader.h"

class UpdateServerProcess {
public:
    static constexpr int kLifetimeSeconds = 300;

    // The served folder, as the test writes it (Windows path).
    static std::wstring SiteFolder() { return folders::ProgramFolder() + L"testdata\\update-site\\"; }

    // A death test's child process uses the server of its parent.
    static bool InDeathTestChild() { return wcsstr(GetCommandLineW(), L"gtest_internal_run_death_test") != nullptr; }

    bool Start() {
        folders::CreateFolderPath(SiteFolder() + L"rk\\software");
        folders::CreateFolderPath(SiteFolder() + L"rk\\firmware");
        const std::wstring portFile = folders::ProgramFolder() + L"testdata\\update-server.port";
        if (InDeathTestChild()) return ReadPort(portFile);
        DeleteFileW(portFile.c_str());
        std::wstring command = std::wstring(L"\"") + TARVENHOLM_PYTHON_PATH + L"\" \"" + TARVENHOLM_UPDATE_SERVER +
                               L"\" --root \"" + TARVENHOLM_UPDATE_SITE_UNIX + L"\" --port 0 --port-file \"" +
                               TARVENHOLM_UPDATE_SITE_UNIX + L"/../update-server.port\" --log \"" +
                               TARVENHOLM_UPDATE_SITE_UNIX + L"/../update-server.log\" --lifetime " +
                               std::to_wstring(kLifetimeSeconds);
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

    int m_port = 0;
};
