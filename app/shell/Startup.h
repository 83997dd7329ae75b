// Process start-up and teardown of Tarvenholm.exe, step by step. Run() is the
// whole sequence; the steps are exposed so that each can be tested alone.
#pragma once

#include <windows.h>

namespace startup {

// Walks the top-level windows and brings forward the first that carries the
// product property. False when no such window was found.
bool ActivateRunningCopy();

// Makes the process DPI-aware on screens below 1400 × 800.
void ApplyDpiRule();

bool EnableDebugPrivilege();

// Ends the first process whose executable name matches (any letter case).
// False only when the process list could not be read.
bool TerminateProcessByName(const wchar_t* name);

// The first-start rules: the stored language, or the UI language for this run
// (storing 2052, 1028 or else 1033 for later runs).
int ChooseCurrentLanguage();

void CreateDataSubfolders();

// True when "-hide" occurs anywhere in the command line (case-sensitive).
bool HasHideFlag(const wchar_t* commandLine);

// The whole start-up, main window run and teardown; the process's result.
int Run(HINSTANCE instance, const wchar_t* commandLine);

}  // namespace startup
