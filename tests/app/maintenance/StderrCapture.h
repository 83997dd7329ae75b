// StderrCapture: points the C runtime's standard error (descriptor 2, which
// std::cerr and std::wcerr write through) at a temporary file while it
// lives; Text() flushes and returns what was written so far.
#pragma once

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

class StderrCapture {
public:
    StderrCapture() {
        wchar_t folder[MAX_PATH], file[MAX_PATH];
        GetTempPathW(MAX_PATH, folder);
        GetTempFileNameW(folder, L"err", 0, file);
        m_path = file;
        std::cerr.flush();
        std::wcerr.flush();
        fflush(stderr);
        m_saved = _dup(2);
        const int fd = _wopen(m_path.c_str(), _O_WRONLY | _O_TRUNC | _O_BINARY, _S_IREAD | _S_IWRITE);
        _dup2(fd, 2);
        _close(fd);
    }
    ~StderrCapture() {
        Restore();
        DeleteFileW(m_path.c_str());
    }
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;

    std::string Text() {
        std::cerr.flush();
        std::wcerr.flush();
        fflush(stderr);
        std::ifstream in(m_path.c_str(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    void Restore() {
        if (m_saved < 0) return;
        fflush(stderr);
        _dup2(m_saved, 2);
        _close(m_saved);
        m_saved = -1;
    }

    std::wstring m_path;
    int m_saved = -1;
};
