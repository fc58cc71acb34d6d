// What the Windows tests of the editor share: a message pump, scratch files, and a host
// that records the events of the control it hosts.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "htmledit/ole_control_host_win32.h"

namespace htmledit::testing {

inline void Pump(DWORD ms) {
  const DWORD start = GetTickCount();
  MSG msg;
  do {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(5);
  } while (GetTickCount() - start < ms);
}

inline std::u16string Scratch(const char16_t* name) { return std::u16string(u"" QUILL_SCRATCH_DIR) + u"\\" + name; }

inline std::string ReadBytes(const std::u16string& path) {
  HANDLE f = CreateFileW(reinterpret_cast<const wchar_t*>(path.c_str()), GENERIC_READ, FILE_SHARE_READ, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return "<missing>";
  std::string out(GetFileSize(f, nullptr), '\0');
  DWORD got = 0;
  ReadFile(f, out.data(), static_cast<DWORD>(out.size()), &got, nullptr);
  CloseHandle(f);
  return out;
}

inline void WriteBytes(const std::u16string& path, const std::string& bytes) {
  HANDLE f = CreateFileW(reinterpret_cast<const wchar_t*>(path.c_str()), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                         nullptr);
  DWORD put = 0;
  WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
  CloseHandle(f);
}

// A host of any control class: every event of the record is noted by its DISPID and then
// handed to onEvent.
class RecordingHost : public THtmlOleControl {
 public:
  explicit RecordingHost(TControlData& data) : data_(data) {
    EventMethods().resize(data.EventCount);
    for (uint32_t i = 0; i < data.EventCount; ++i)
      EventMethods()[i] = [this, i](DISPPARAMS& p) {
        seen.push_back(data_.EventDispIDs[i]);
        if (onEvent) onEvent(data_.EventDispIDs[i], p);
      };
  }
  ~RecordingHost() override { DestroyControl(); }

  std::vector<DISPID> seen;
  std::function<void(DISPID, DISPPARAMS&)> onEvent;

 protected:
  TControlData& InitControlData() override { return data_; }

 private:
  TControlData& data_;
};

}  // namespace htmledit::testing
