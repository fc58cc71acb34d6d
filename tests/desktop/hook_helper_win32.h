// The test program doubles as the "other program" of the hook tests: started with
// --hook-helper it opens a window of its own and types or clicks into it, or registers a
// receiver with the hook library, so that the hooks are seen working across processes.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace hooktest {

// Runs the helper named by argv[2]; the result is the process's exit code.
int RunHookHelper(int argc, char** argv);

// A helper process started from a test.
class HelperProcess {
 public:
  explicit HelperProcess(const std::string& arguments);
  ~HelperProcess();
  HelperProcess(const HelperProcess&) = delete;
  HelperProcess& operator=(const HelperProcess&) = delete;

  bool Started() const { return process_ != nullptr; }
  DWORD Id() const { return id_; }
  bool Exited() const;
  // The exit code as the helper returned it (a hook result may be negative).
  int32_t ExitCode() const;
  void Kill();

 private:
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

// Handles this thread's messages until done() holds or the time is up; returns done().
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
void PumpFor(DWORD ms);

// The hook library of the runtime folder, and a scratch file path.
std::string HookLibraryPath();
// The same library built with the classic injected hooks, to compare with.
std::string InjectedHookLibraryPath();
std::string ScratchFile(const char* name);
std::string ReadFileText(const std::string& path);

// Where the click helper puts its window and clicks.
inline constexpr int kClickX = 400;
inline constexpr int kClickY = 300;

}  // namespace hooktest
