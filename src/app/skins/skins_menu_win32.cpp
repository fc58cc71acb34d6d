#include "app/skins/skins_menu_win32.h"

#include "app/skins/skin_choices.h"
#include "gui/wide.h"
#include "skin/skin_engine_win32.h"

namespace app {

namespace {
// How long a switch waits for the old skin to come off: the 21 steps of 100 ms of the design.
constexpr DWORD kUnskinWaitMs = 2100;
}  // namespace

SkinsMenu::SkinsMenu(std::u16string baseDir) : baseDir_(std::move(baseDir)) {
  using namespace skin;
  SkinData1.SkinControls = {xcMainMenu, xcPopupMenu, xcCheckBox, xcRadioButton, xcButton,    xcBitBtn,
                            xcSpin,     xcPanel,     xcGroupBox, xcStatusBar,   xcSystemMenu};
  SkinData1.Options = {xoToolbarBK, xoToolbarButton, xoCaptionButtonHint};
  SkinData1.DisableTag = 99;
  SkinData1.SkinFormtype = sfMainform;
  SkinData1.OnMessage = [this](const std::u16string& message) { refusal_ = message; };
  LoadedSkinData(SkinData1);
}

SkinsMenu::~SkinsMenu() {
  if (skin::TSkinManage* manager = skin::TSkinManage::Existing()) {
    manager->RemoveSkinData(SkinData1);
    skin::TSkinManage::Shutdown();
  }
}

void SkinsMenu::jindianClick() {
  SkinNumber = kClassicSkin;
  ActiveSkinNumber = kClassicSkin;
  SkinData1.SetActive(false);
  if (OnChecked) OnChecked(kClassicSkin);
}

void SkinsMenu::ChooseSkin(int number) {
  const std::u16string path = SkinFilePath(baseDir_, number);
  if (path.empty()) return;
  if (ActiveSkinNumber > kClassicSkin) {
    jindianClick();
    // Only the engine's own timer and paints are served meanwhile: no other skin row, no
    // close and no command can run inside the switch.
    if (skin::TSkinManage* manager = skin::TSkinManage::Existing()) manager->WaitForPendingAction(kUnskinWaitMs);
  }
  if (!gui::FileExists(path)) {
    jindianClick();
    if (OnError) OnError(MissingSkinText(path));
    return;
  }
  refusal_.clear();
  SkinData1.SetSkinFile(path);
  if (SkinData1.Loading()) {
    jindianClick();
    if (OnError) OnError(RefusedSkinText(path, refusal_.empty() ? u"皮肤文件读不出来" : refusal_));
    return;
  }
  SkinNumber = number;
  ActiveSkinNumber = number;
  SkinData1.SetActive(true);
  if (OnChecked) OnChecked(number);
}

}  // namespace app
