#include "app/databox/shell_link_win32.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

namespace app {

namespace {
template <class T>
struct ComPtr {
  T* p = nullptr;
  ~ComPtr() {
    if (p) p->Release();
  }
};

std::u16string Text(const wchar_t* buffer) { return std::u16string(reinterpret_cast<const char16_t*>(buffer)); }
}  // namespace

std::optional<ShellLinkTarget> GetShellLinkTarget(const std::u16string& linkFile) {
  ComPtr<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link.p)))) {
    return std::nullopt;
  }
  ComPtr<IPersistFile> file;
  if (FAILED(link.p->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p)))) return std::nullopt;
  if (FAILED(file.p->Load(reinterpret_cast<const wchar_t*>(linkFile.c_str()), STGM_READ))) return std::nullopt;
  // No dialog and no search that could keep the menu click waiting; the link is not rewritten.
  link.p->Resolve(nullptr, SLR_NO_UI | SLR_NOUPDATE | (1000u << 16));
  wchar_t buffer[MAX_PATH * 4] = {};
  if (FAILED(link.p->GetPath(buffer, static_cast<int>(std::size(buffer)), nullptr, SLGP_UNCPRIORITY)) || !buffer[0]) {
    return std::nullopt;
  }
  ShellLinkTarget target;
  target.path = Text(buffer);
  buffer[0] = 0;
  if (SUCCEEDED(link.p->GetArguments(buffer, static_cast<int>(std::size(buffer))))) target.arguments = Text(buffer);
  buffer[0] = 0;
  if (SUCCEEDED(link.p->GetWorkingDirectory(buffer, static_cast<int>(std::size(buffer))))) {
    target.workingDirectory = Text(buffer);
  }
  return target;
}

}  // namespace app
