#include "desktop/sys_hook_platform_win32.h"

#include <windows.h>

#include "gui/guard.h"
#include "gui/modal_loop.h"
#include "gui/wide.h"
#include "unicode/system_error_text.h"

namespace desktop {

namespace {

// The hook library's entry points: standard calls. The filtering flag is a one-byte
// Boolean on the library's side.
using AttachReceiverProc = int32_t(WINAPI*)(int32_t hookType, HWND receiver, unsigned char allowFiltering);
using DetachReceiverProc = int32_t(WINAPI*)(int32_t hookType, HWND receiver);

const wchar_t kListenerClass[] = L"QuilloraSysHookListener";

class Win32LibraryApi : public HookLibraryApi {
 public:
  void* Open(const std::u16string& name, int32_t& systemError) override {
    HMODULE module = LoadLibraryW(gui::W(name));
    if (!module) systemError = static_cast<int32_t>(GetLastError());
    return module;
  }
  void* Find(void* module, const char* entryName) override {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), entryName));
  }
  void Close(void* module) override { FreeLibrary(static_cast<HMODULE>(module)); }
  int32_t CallAttachReceiver(void* entry, int32_t hookType, uintptr_t receiver, bool allowFiltering) override {
    return reinterpret_cast<AttachReceiverProc>(entry)(hookType, reinterpret_cast<HWND>(receiver),
                                                       allowFiltering ? 1 : 0);
  }
  int32_t CallDetachReceiver(void* entry, int32_t hookType, uintptr_t receiver) override {
    return reinterpret_cast<DetachReceiverProc>(entry)(hookType, reinterpret_cast<HWND>(receiver));
  }
};

LRESULT CALLBACK ListenerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  if (message < WM_USER) return DefWindowProcW(window, message, wParam, lParam);
  auto* hook = reinterpret_cast<TSysHook*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!hook) return 0;
  // An event handler's failure must neither cross into the system nor stall the event
  // in the other program: it is reported and the event passes.
  return gui::Guarded("hook event", LRESULT{0}, [&] { return hook->ProcessHookMessage(message, wParam, lParam); });
}

class Win32Platform : public HookPlatform {
 public:
  Win32Platform() : loader_(api_) {}
  ~Win32Platform() override {
    const gui::ModalLoopScope modal;
    if (loader_.Loaded()) MessageBoxW(nullptr, L"SysHook DLL was not unloaded!", L"SysHookLoader", MB_ICONWARNING);
  }

  HookLibraryLoader& Loader() override { return loader_; }

  uintptr_t AllocateListener(TSysHook& hook) override {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!classRegistered_) {
      WNDCLASSEXW wc{};
      wc.cbSize = sizeof wc;
      wc.lpfnWndProc = ListenerProc;
      wc.hInstance = instance;
      wc.lpszClassName = kListenerClass;
      if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return 0;
      classRegistered_ = true;
    }
    HWND window = CreateWindowExW(0, kListenerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, &hook);
    return reinterpret_cast<uintptr_t>(window);
  }

  void FreeListener(uintptr_t listener) override {
    HWND window = reinterpret_cast<HWND>(listener);
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
  }

  std::u16string SystemErrorText(uint32_t code) override {
    // An empty text would read as success to the caller of Start.
    return unicode::SystemErrorText(static_cast<int>(code), u"System error %d");
  }

  void ShowErrorBox(const std::u16string& caption, const std::u16string& text) override {
    const gui::ModalLoopScope modal;
    MessageBoxW(nullptr, gui::W(text), gui::W(caption), MB_ICONERROR);
  }

 private:
  Win32LibraryApi api_;
  HookLibraryLoader loader_;
  bool classRegistered_ = false;
};

}  // namespace

HookPlatform& Win32HookPlatform() {
  static Win32Platform platform;
  return platform;
}

}  // namespace desktop
