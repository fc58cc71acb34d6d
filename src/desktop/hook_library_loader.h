// The reference-counted load of the hook library, shared by every hook component of the
// process: the first Start loads it, the last Stop frees it.
#pragma once

#include <cstdint>
#include <string>

namespace desktop {

// The platform's side of loading a library and calling its entry points.
class HookLibraryApi {
 public:
  virtual ~HookLibraryApi() = default;
  // nullptr when the library cannot be loaded; systemError then holds the reason.
  virtual void* Open(const std::u16string& name, int32_t& systemError) = 0;
  virtual void* Find(void* module, const char* entryName) = 0;
  virtual void Close(void* module) = 0;
  virtual int32_t CallAttachReceiver(void* entry, int32_t hookType, uintptr_t receiver, bool allowFiltering) = 0;
  virtual int32_t CallDetachReceiver(void* entry, int32_t hookType, uintptr_t receiver) = 0;
};

class HookLibraryLoader {
 public:
  explicit HookLibraryLoader(HookLibraryApi& api) : api_(api) {}
  HookLibraryLoader(const HookLibraryLoader&) = delete;
  HookLibraryLoader& operator=(const HookLibraryLoader&) = delete;

  // 0 on success (one more reference), a system error code when the library cannot be
  // loaded, kHookMissingExports when it lacks an entry point (then nothing stays loaded).
  // While loaded, any name just adds a reference to the library already loaded.
  int32_t LoadHookDLL(const std::u16string& name);
  // Drops one reference; the last one frees the library.
  void UnloadHookDLL();

  bool Loaded() const { return module_ != nullptr; }
  int References() const { return references_; }

  // Calls into the loaded library; kHookMissingExports when nothing is loaded.
  int32_t AttachReceiver(int32_t hookType, uintptr_t receiver, bool allowFiltering);
  int32_t DetachReceiver(int32_t hookType, uintptr_t receiver);

 private:
  HookLibraryApi& api_;
  void* module_ = nullptr;
  int references_ = 0;
  void* attachReceiver_ = nullptr;
  void* detachReceiver_ = nullptr;
  void* lastError_ = nullptr;
};

// True when the file name's extension is ".dll" in any case.
bool HasDllExtension(const std::u16string& name);
// The name with its extension replaced by ".dll", or ".dll" appended when it has none.
std::u16string WithDllExtension(const std::u16string& name);

}  // namespace desktop
