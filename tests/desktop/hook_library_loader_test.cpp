// The shared, reference-counted load of the hook library, against a fake platform that
// records what was loaded and freed.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

#include "desktop/hook_error_text.h"
#include "desktop/hook_library_loader.h"
#include "desktop/hook_protocol.h"

using namespace desktop;

namespace {

class FakeLibraries : public HookLibraryApi {
 public:
  // Names that load, each with the entry points it exports.
  std::map<std::u16string, std::set<std::string>> available;
  std::vector<std::u16string> opened;  // every name tried
  int openCount = 0;
  int closeCount = 0;
  int32_t attachResult = 0;

  void* Open(const std::u16string& name, int32_t& systemError) override {
    opened.push_back(name);
    auto it = available.find(name);
    if (it == available.end()) {
      systemError = 126;
      return nullptr;
    }
    ++openCount;
    return &it->second;
  }
  void* Find(void* module, const char* entryName) override {
    auto* entries = static_cast<std::set<std::string>*>(module);
    return entries->count(entryName) ? module : nullptr;
  }
  void Close(void*) override { ++closeCount; }
  int32_t CallAttachReceiver(void*, int32_t, uintptr_t, bool) override { return attachResult; }
  int32_t CallDetachReceiver(void*, int32_t, uintptr_t) override { return 0; }
};

const std::set<std::string> kAllEntries = {"AttachReceiver", "DetachReceiver", "LastError"};

}  // namespace

TEST(HookLibraryLoader, RetriesWithTheDllExtensionOnlyWhenItDiffers) {
  FakeLibraries api;
  api.available[u"C:\\app.v2\\SysHookDLL.dll"] = kAllEntries;
  HookLibraryLoader loader(api);

  EXPECT_EQ(loader.LoadHookDLL(u"C:\\app.v2\\SysHookDLL.hook"), 0);
  EXPECT_EQ(api.opened, (std::vector<std::u16string>{u"C:\\app.v2\\SysHookDLL.hook", u"C:\\app.v2\\SysHookDLL.dll"}));
  loader.UnloadHookDLL();

  api.opened.clear();
  EXPECT_EQ(loader.LoadHookDLL(u"C:\\app.v2\\SysHookDLL"), 0);  // the dot of the folder is no extension
  EXPECT_EQ(api.opened.back(), u"C:\\app.v2\\SysHookDLL.dll");
  loader.UnloadHookDLL();

  api.opened.clear();
  EXPECT_EQ(loader.LoadHookDLL(u"Missing.DLL"), 126);  // already ".dll": no second try
  EXPECT_EQ(api.opened, std::vector<std::u16string>{u"Missing.DLL"});
  EXPECT_FALSE(loader.Loaded());
}

TEST(HookLibraryLoader, MissingEntryPointLeavesNothingLoaded) {
  FakeLibraries api;
  api.available[u"partial.dll"] = {"AttachReceiver", "LastError"};
  HookLibraryLoader loader(api);
  EXPECT_EQ(loader.LoadHookDLL(u"partial.dll"), kHookMissingExports);
  EXPECT_FALSE(loader.Loaded());
  EXPECT_EQ(loader.References(), 0);
  EXPECT_EQ(api.openCount, api.closeCount);
  EXPECT_EQ(loader.AttachReceiver(kKeyboardHookType, 1, false), kHookMissingExports);
}

TEST(HookLibraryLoader, ReferencesAreCountedAcrossNames) {
  FakeLibraries api;
  api.available[u"SysHookDLL.dll"] = kAllEntries;
  HookLibraryLoader loader(api);
  EXPECT_EQ(loader.LoadHookDLL(u"SysHookDLL.dll"), 0);
  // A second load does not even look at its name: it shares the library already loaded.
  EXPECT_EQ(loader.LoadHookDLL(u"other.dll"), 0);
  EXPECT_EQ(loader.References(), 2);
  EXPECT_EQ(api.openCount, 1);
  loader.UnloadHookDLL();
  EXPECT_TRUE(loader.Loaded());
  EXPECT_EQ(api.closeCount, 0);
  loader.UnloadHookDLL();
  EXPECT_FALSE(loader.Loaded());
  EXPECT_EQ(api.closeCount, 1);
  loader.UnloadHookDLL();  // one too many: nothing happens
  EXPECT_EQ(api.closeCount, 1);
  EXPECT_EQ(loader.References(), 0);
}

TEST(HookLibraryLoader, DllExtensionIsRecognisedInAnyCase) {
  EXPECT_TRUE(HasDllExtension(u"a.DlL"));
  EXPECT_FALSE(HasDllExtension(u"a.dll2"));
  EXPECT_FALSE(HasDllExtension(u"dll"));
  EXPECT_FALSE(HasDllExtension(u"dir.dll\\name"));
  EXPECT_EQ(WithDllExtension(u"name."), u"name.dll");
  EXPECT_EQ(WithDllExtension(u"a/b.c/name"), u"a/b.c/name.dll");
}

TEST(HookErrorText, TableAndSystemCodes) {
  auto system = [](uint32_t code) { return u"system " + std::u16string(1, char16_t(u'0' + code % 10)); };
  EXPECT_EQ(HookErrorText(0, system), u"No error.");
  EXPECT_EQ(HookErrorText(-1, system), u"DLL doesn't export all required functions.");
  EXPECT_EQ(HookErrorText(-2, system), u"Receiver already registered.");
  EXPECT_EQ(HookErrorText(-3, system), u"Receiver not registered.");
  EXPECT_EQ(HookErrorText(-4, system), u"Too many receivers.");
  EXPECT_EQ(HookErrorText(-5, system), u"System hook already installed.");
  EXPECT_EQ(HookErrorText(-6, system), u"Unknown error -6");
  EXPECT_EQ(HookErrorText(INT32_MIN, system), u"Unknown error -2147483648");
  EXPECT_EQ(HookErrorText(126, system), u"system 6");
}
