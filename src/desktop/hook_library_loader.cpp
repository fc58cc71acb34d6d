#include "desktop/hook_library_loader.h"

#include "desktop/hook_protocol.h"

namespace desktop {

namespace {
// Where the extension starts, or npos: the last dot after the last path separator.
size_t ExtensionStart(const std::u16string& name) {
  const size_t dot = name.find_last_of(u'.');
  const size_t separator = name.find_last_of(u"\\/:");
  if (dot == std::u16string::npos) return std::u16string::npos;
  if (separator != std::u16string::npos && separator > dot) return std::u16string::npos;
  return dot;
}

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }
}  // namespace

bool HasDllExtension(const std::u16string& name) {
  const size_t start = ExtensionStart(name);
  if (start == std::u16string::npos || name.size() - start != 4) return false;
  return Lower(name[start + 1]) == u'd' && Lower(name[start + 2]) == u'l' && Lower(name[start + 3]) == u'l';
}

std::u16string WithDllExtension(const std::u16string& name) {
  const size_t start = ExtensionStart(name);
  return (start == std::u16string::npos ? name : name.substr(0, start)) + u".dll";
}

int32_t HookLibraryLoader::LoadHookDLL(const std::u16string& name) {
  if (module_) {
    ++references_;
    return kHookNoError;
  }
  int32_t error = 0;
  void* module = api_.Open(name, error);
  if (!module && !HasDllExtension(name)) module = api_.Open(WithDllExtension(name), error);
  if (!module) return error;

  module_ = module;
  references_ = 1;
  attachReceiver_ = api_.Find(module_, "AttachReceiver");
  detachReceiver_ = api_.Find(module_, "DetachReceiver");
  lastError_ = api_.Find(module_, "LastError");
  if (!attachReceiver_ || !detachReceiver_ || !lastError_) {
    UnloadHookDLL();
    return kHookMissingExports;
  }
  return kHookNoError;
}

void HookLibraryLoader::UnloadHookDLL() {
  if (!module_) return;
  if (--references_ > 0) return;
  api_.Close(module_);
  module_ = nullptr;
  references_ = 0;
  attachReceiver_ = detachReceiver_ = lastError_ = nullptr;
}

int32_t HookLibraryLoader::AttachReceiver(int32_t hookType, uintptr_t receiver, bool allowFiltering) {
  if (!attachReceiver_) return kHookMissingExports;
  return api_.CallAttachReceiver(attachReceiver_, hookType, receiver, allowFiltering);
}

int32_t HookLibraryLoader::DetachReceiver(int32_t hookType, uintptr_t receiver) {
  if (!detachReceiver_) return kHookMissingExports;
  return api_.CallDetachReceiver(detachReceiver_, hookType, receiver);
}

}  // namespace desktop
