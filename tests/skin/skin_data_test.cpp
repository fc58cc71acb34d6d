// The skin component: its defaults, naming a skin file, switching on and off through the
// manager, and a refused file leaving the applied skin in place.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "skin/skin_data.h"
#include "skin_test_support.h"
#include "unicode/uni_file_stream.h"

using namespace skin;
using namespace skin_test;

namespace {

void WriteFile(const std::u16string& name, const Bytes& bytes) {
  unicode::TUniFileStream file(name, unicode::fmCreate);
  file.WriteBuffer(bytes.data(), bytes.size());
}

// Records what the component asks of the manager.
class RecordingManager : public SkinManagerLink {
 public:
  void SetSkinData(TSkinData&) override { calls.push_back("data"); }
  void PostAction(SkinAction action, int delayMs) override {
    calls.push_back("post " + std::to_string(static_cast<int>(action)) + " " + std::to_string(delayMs));
  }
  int Mode() const override { return mode; }
  void SetMode(int m) override {
    mode = m;
    calls.push_back("mode " + std::to_string(m));
  }
  void ReloadSkin(TSkinData&) override { calls.push_back("reload"); }
  int mode = 0;
  std::vector<std::string> calls;
};

Bytes NamedSkin(std::u16string_view name) {
  return SkinFromIni(u"[TitlebarSkin]\nSkinName=" + std::u16string(name) + u"\n[Colours]\nButtonFace=1,2,3\n");
}

}  // namespace

TEST(SkinData, PublishedDefaults) {
  TSkinData data;
  EXPECT_FALSE(data.Active());
  EXPECT_EQ(data.DisableTag, 99);
  EXPECT_TRUE(data.SkinControls.Has(xcMainMenu));
  EXPECT_TRUE(data.SkinControls.Has(xcSystemMenu));
  EXPECT_FALSE(data.SkinControls.Has(xcMenuItem));
  EXPECT_FALSE(data.SkinControls.Has(xcReportView));
  EXPECT_EQ(data.Options, (TSkinOptions{xoPreview, xoToolbarBK, xoCaptionButtonHint}));
  EXPECT_NE(std::find(data.Skin3rd.begin(), data.Skin3rd.end(), u"tfxbutton=button"), data.Skin3rd.end());
  EXPECT_EQ(data.SkinFile(), u"");
  EXPECT_EQ(data.SkinStore(), u"(none)");
  EXPECT_EQ(data.SkinFormtype, sfMainform);
  EXPECT_EQ(data.Version(), u"5.40.07.15");
  EXPECT_TRUE(data.MenuUpdate);
  EXPECT_FALSE(data.MenuMerge);
  EXPECT_FALSE(data.Loading());
}

TEST(SkinData, SwitchingOnWaitsForASkinAndOffAlwaysPosts) {
  TSkinData data;
  RecordingManager manager;
  data.SetManager(&manager);
  data.SetSkinFile(ScratchPath(u"没有这个皮肤.skn"));
  EXPECT_TRUE(data.Loading());  // a missing file leaves the loading mark set
  data.SetActive(true);
  EXPECT_TRUE(data.Active());
  EXPECT_TRUE(manager.calls.empty());
  data.SetActive(true);  // the same value: nothing
  data.SetActive(false);
  EXPECT_EQ(manager.calls, (std::vector<std::string>{"data", "post 2 250"}));

  manager.calls.clear();
  const std::u16string file = ScratchPath(u"新式绿皮.skn");
  WriteFile(file, NamedSkin(u"绿"));
  data.SetSkinFile(file);
  EXPECT_FALSE(data.Loading());
  EXPECT_EQ(data.Model().SkinName, u"绿");
  data.SetActive(true);
  EXPECT_EQ(manager.calls, (std::vector<std::string>{"data", "reload", "data", "post 1 250", "mode 1"}));

  // Once the manager runs on its timer, a newly read skin posts an update of all windows.
  manager.calls.clear();
  data.SetSkinFile(file);
  EXPECT_EQ(manager.calls, (std::vector<std::string>{"data", "reload", "post 3 250"}));
}

TEST(SkinData, OnlyThisFormAndDialogTypes) {
  RecordingManager manager;
  TSkinData one;
  one.SkinFormtype = sfOnlyThisForm;
  one.SetManager(&manager);
  one.SetActive(true);   // not loading: posts action 1 without touching the mode
  one.SetActive(false);
  EXPECT_EQ(manager.calls, (std::vector<std::string>{"data", "post 1 250", "data", "post 2 250"}));
  manager.calls.clear();
  TSkinData dialog;
  dialog.SkinFormtype = sfDialog;
  dialog.SetManager(&manager);
  dialog.SetActive(true);
  dialog.SetActive(false);
  EXPECT_TRUE(manager.calls.empty());
}

TEST(SkinData, ARefusedFileKeepsTheSkinAndSaysWhy) {
  TSkinData data;
  std::vector<std::u16string> messages;
  data.OnMessage = [&](const std::u16string& m) { messages.push_back(m); };
  const std::u16string good = ScratchPath(u"好.skn");
  WriteFile(good, NamedSkin(u"好"));
  data.SetSkinFile(good);
  ASSERT_EQ(data.Model().SkinName, u"好");

  const std::u16string older = ScratchPath(u"旧.skn");
  WriteFile(older, RawSkin(10000, "a.ini", {0}, "", 0));
  data.SetSkinFile(older);
  const std::u16string damaged = ScratchPath(u"坏.skn");
  Bytes bytes = NamedSkin(u"坏");
  bytes.resize(bytes.size() / 2);
  bytes[2] = 0x7F;  // claims far more than it holds
  WriteFile(damaged, bytes);
  data.SetSkinFile(damaged);

  EXPECT_EQ(data.Model().SkinName, u"好");
  EXPECT_EQ(data.Model().Colors[scButtonFace], RGBColor(1, 2, 3));
  EXPECT_TRUE(data.Loading());
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0], u"This is Older Skin File\rPlease update to new version !");
  EXPECT_EQ(messages[1].rfind(u"皮肤文件已损坏", 0), 0u);
  EXPECT_EQ(data.SkinFile(), damaged);
}

TEST(SkinData, SkinStreamReadDirectly) {
  TSkinData data;
  data.SkinStream = unicode::TMemoryStream(NamedSkin(u"流"));
  EXPECT_TRUE(data.ReadSkin());
  EXPECT_EQ(data.Model().SkinName, u"流");
  data.SkinStream = unicode::TMemoryStream();
  EXPECT_FALSE(data.ReadSkin());
  EXPECT_EQ(data.Model().SkinName, u"流");
}

TEST(SkinData, WindowVeto) {
  TSkinData data;
  EXPECT_FALSE(data.AllowsFormSkin(u"SysMonthCal32"));
  EXPECT_TRUE(data.AllowsFormSkin(u"TrvTree"));
  data.SkinControls.Include(xcReportView);
  EXPECT_FALSE(data.AllowsFormSkin(u"TrvTree"));
  EXPECT_TRUE(data.AllowsFormSkin(u"#32770"));
  data.OnFormSkin = [](TSkinData&, const std::u16string& name, bool& doSkin) { doSkin = name == u"SysMonthCal32"; };
  EXPECT_TRUE(data.AllowsFormSkin(u"SysMonthCal32"));
  EXPECT_FALSE(data.AllowsFormSkin(u"#32770"));
}
