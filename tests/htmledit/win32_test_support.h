// What the Windows tests of the editor share: a message pump, scratch files, and a host
// that records the events of the control it hosts.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <thread>
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

// Answers the dialogs of this process in turn, from another thread: a file dialog gets a
// file name and OK, or Cancel; a message box OK (or Yes). The texts of the dialogs are kept.
struct DialogAnswer {
  enum Kind { kFile, kCancel, kOk } kind;
  std::u16string file;
  static DialogAnswer File(std::u16string f) { return {kFile, std::move(f)}; }
  static DialogAnswer Cancel() { return {kCancel, {}}; }
  static DialogAnswer Ok() { return {kOk, {}}; }
};

class DialogAnswerer {
 public:
  explicit DialogAnswerer(std::vector<DialogAnswer> answers) : answers_(std::move(answers)) {
    thread_ = std::thread([this] { Run(); });
  }
  ~DialogAnswerer() { Stop(); }
  const std::vector<std::wstring>& Texts() {
    Stop();
    return texts_;
  }

 private:
  static BOOL CALLBACK Find(HWND h, LPARAM p) {
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    wchar_t cls[16] = {};
    GetClassNameW(h, cls, 16);
    if (pid == GetCurrentProcessId() && std::wstring(cls) == L"#32770" && IsWindowVisible(h)) {
      *reinterpret_cast<HWND*>(p) = h;
      return FALSE;
    }
    return TRUE;
  }
  static HWND FileNameBox(HWND dialog) {
    if (HWND combo = GetDlgItem(dialog, 0x47C)) {  // cmb13
      if (HWND edit = FindWindowExW(combo, nullptr, L"Edit", nullptr)) return edit;
      return combo;
    }
    return GetDlgItem(dialog, 0x480);  // edt1
  }
  void Run() {
    for (size_t next = 0; next < answers_.size() && !stop_;) {
      Sleep(20);
      HWND box = nullptr;
      EnumWindows(Find, reinterpret_cast<LPARAM>(&box));
      if (!box || box == last_) continue;
      Sleep(50);  // let it finish its own set-up
      wchar_t text[512] = {};
      GetDlgItemTextW(box, 0xFFFF, text, 512);
      texts_.push_back(text);
      const DialogAnswer& a = answers_[next++];
      if (a.kind == DialogAnswer::kFile)
        SendMessageW(FileNameBox(box), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(a.file.c_str()));
      // OK, or Yes where a question has no OK (the save dialog's "replace?").
      int button = a.kind == DialogAnswer::kCancel ? IDCANCEL : GetDlgItem(box, IDOK) ? IDOK : IDYES;
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
      for (int i = 0; i < 250 && IsWindow(box); ++i) Sleep(20);
      last_ = box;
    }
  }
  void Stop() {
    if (!thread_.joinable()) return;
    // Let the last answer land before stopping the search.
    for (int i = 0; i < 250 && texts_.size() < answers_.size(); ++i) Sleep(20);
    stop_ = true;
    thread_.join();
  }
  std::vector<DialogAnswer> answers_;
  std::vector<std::wstring> texts_;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  HWND last_ = nullptr;
};

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
