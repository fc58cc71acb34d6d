#include "explorer_driver.h"

#include <tlhelp32.h>  // after windows.h, which it needs
#include <winternl.h>

#include <optional>
#include <vector>

#include "program_driver.h"

namespace e2e {

namespace {

// The command line of another process, read from its process parameters (this Wine does not
// answer the query for the command line itself).
std::optional<std::wstring> CommandLineOf(DWORD processId) {
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
  if (!process) return std::nullopt;
  std::optional<std::wstring> result;
  PROCESS_BASIC_INFORMATION basic{};
  ULONG length = 0;
  PEB peb{};
  RTL_USER_PROCESS_PARAMETERS parameters{};
  SIZE_T read = 0;
  if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, &length) == 0 &&
      ReadProcessMemory(process, basic.PebBaseAddress, &peb, sizeof peb, &read) &&
      ReadProcessMemory(process, peb.ProcessParameters, &parameters, sizeof parameters, &read)) {
    std::wstring line(parameters.CommandLine.Length / sizeof(wchar_t), L'\0');
    if (ReadProcessMemory(process, parameters.CommandLine.Buffer, line.data(), parameters.CommandLine.Length, &read)) {
      result = line;
    }
  }
  CloseHandle(process);
  return result;
}

// The command line without the program's name (quoted or not) and the blanks after it.
std::wstring ArgumentsOf(const std::wstring& commandLine) {
  size_t end = 0;
  if (!commandLine.empty() && commandLine[0] == L'"') {
    end = commandLine.find(L'"', 1);
    end = end == std::wstring::npos ? commandLine.size() : end + 1;
  } else {
    end = commandLine.find(L' ');
    if (end == std::wstring::npos) end = commandLine.size();
  }
  while (end < commandLine.size() && commandLine[end] == L' ') ++end;
  return commandLine.substr(end);
}

}  // namespace

std::set<DWORD> ExplorerProcesses() {
  std::set<DWORD> ids;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return ids;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    if (lstrcmpiW(entry.szExeFile, L"explorer.exe") != 0) continue;
    const std::optional<std::wstring> line = CommandLineOf(entry.th32ProcessID);
    if (line && ArgumentsOf(*line) != L"/desktop") ids.insert(entry.th32ProcessID);
  }
  CloseHandle(snapshot);
  return ids;
}

std::wstring WaitForNewExplorerArguments(std::set<DWORD>& known, std::chrono::milliseconds timeout) {
  std::wstring arguments;
  WaitUntil([&] {
    for (DWORD id : ExplorerProcesses()) {
      if (known.count(id)) continue;
      const std::optional<std::wstring> line = CommandLineOf(id);
      if (!line) continue;
      known.insert(id);
      arguments = ArgumentsOf(*line);
      return true;
    }
    return false;
  }, timeout);
  return arguments;
}

void CloseFolderWindows() {
  std::vector<HWND> windows;
  for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT)) {
    if (WindowClass(h) == L"ExplorerWClass" || WindowClass(h) == L"CabinetWClass") windows.push_back(h);
  }
  for (HWND h : windows) PostMessageW(h, WM_CLOSE, 0, 0);
  WaitUntil([&] {
    for (HWND h : windows) {
      if (IsWindow(h)) return false;
    }
    return true;
  }, std::chrono::seconds(10));
}

}  // namespace e2e
