// The "Tarvenholm StartupTask" task of the Task Scheduler, which starts the
// program elevated and hidden at every logon, and the first-run step that
// turns it on once.
//
// Every call initialises and uninitialises COM on its own thread. Failures
// are written as one line each to the standard error stream ("... with
// HRESULT: 0x" and the code): narrow text for create, wide for delete and
// query.
#pragma once

#include <functional>
#include <string>

namespace autostart {

inline constexpr wchar_t kTaskName[] = L"Tarvenholm StartupTask";
inline constexpr wchar_t kProgramFile[] = L"Tarvenholm.exe";
inline constexpr wchar_t kTaskArguments[] = L"-hide";

// The folder of the running executable followed by "Tarvenholm.exe",
// whatever name the running file has.
std::wstring TaskActionPath();

// Creates or updates the task; always 1.
int CreateTask();
void DeleteTask();
// True when a task of that name exists in the root folder.
bool QueryTask();

// First half of worker command 1: create the task once (marked by
// AutoRunTask = "1" even if the creation failed), then report whether the
// task exists to `showPresence` (the autostart switch).
void RunAutostartStep(const std::function<void(bool present)>& showPresence);

}  // namespace autostart
