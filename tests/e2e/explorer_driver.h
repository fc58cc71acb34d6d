// The Explorer processes the program starts, as the end-to-end tests see them: the command line
// each was given (read from the process itself, so a test sees exactly what Explorer parses),
// and the folder windows they open.
#pragma once

#include <windows.h>

#include <chrono>
#include <set>
#include <string>

namespace e2e {

// The ids of the running Explorer processes (not the desktop's).
std::set<DWORD> ExplorerProcesses();
// Waits for an Explorer process that is not among `known` and returns the arguments it was
// started with (its command line after the program's name); the process is added to `known`.
// Empty when none started in time.
std::wstring WaitForNewExplorerArguments(std::set<DWORD>& known, std::chrono::milliseconds timeout);
// Closes the folder windows Explorer opened: their processes would outlive the test otherwise.
void CloseFolderWindows();

}  // namespace e2e
