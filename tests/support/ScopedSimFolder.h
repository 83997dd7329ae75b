// ScopedSimFolder: a fresh, empty sim folder for one test, named to this
// process through TARVENHOLM_SIM_DIR for as long as the object lives. The
// stand-ins resolve the folder on every call, so each test starts from a
// clean simulated machine without reloading any DLL.
#pragma once

#include <windows.h>

#include <atomic>
#include <sstream>
#include <string>
#include <vector>

class ScopedSimFolder {
public:
    ScopedSimFolder() {
        static std::atomic<int> counter{0};
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        m_folder = std::wstring(temp) + L"tarvenholm-sim-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                   std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(counter++) + L"\\";
        CreateDirectoryW(m_folder.c_str(), nullptr);
        SetEnvironmentVariableW(L"TARVENHOLM_SIM_DIR", m_folder.c_str());
    }
    ~ScopedSimFolder() {
        SetEnvironmentVariableW(L"TARVENHOLM_SIM_DIR", nullptr);
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((m_folder + L"*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                DeleteFileW((m_folder + found.cFileName).c_str());
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
        RemoveDirectoryW(m_folder.c_str());
    }
    ScopedSimFolder(const ScopedSimFolder&) = delete;
    ScopedSimFolder& operator=(const ScopedSimFolder&) = delete;

    const std::wstring& Folder() const { return m_folder; }
    std::wstring Path(const wchar_t* name) const { return m_folder + name; }

    void Write(const wchar_t* name, const std::string& text) const {
        HANDLE file = CreateFileW(Path(name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return;
        DWORD written = 0;
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        CloseHandle(file);
    }

    // Empty when the file does not exist.
    std::string Read(const wchar_t* name) const {
        HANDLE file = CreateFileW(Path(name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return {};
        std::string text;
        char chunk[4096];
        DWORD read = 0;
        while (ReadFile(file, chunk, sizeof(chunk), &read, nullptr) && read > 0) text.append(chunk, read);
        CloseHandle(file);
        return text;
    }

    // Lines without their CR LF.
    std::vector<std::string> Lines(const wchar_t* name) const {
        std::vector<std::string> lines;
        std::istringstream text(Read(name));
        std::string line;
        while (std::getline(text, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
        }
        return lines;
    }

private:
    std::wstring m_folder;
};
