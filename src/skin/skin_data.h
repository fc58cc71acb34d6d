// TSkinData: the component that holds one skin. Its settings say which windows and which
// kinds of control are skinned; at run time it loads a .skn file into SkinStream, reads it
// into the model (skin_model.h) and hands itself to the skin manager, which skins the
// windows. The manager lives on the Windows side and is reached through SkinManagerLink.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "skin/skin_model.h"
#include "unicode/stream.h"

namespace skin {

enum TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog, sfDLL };

enum TSkinControlType {
  xcMainMenu, xcPopupMenu, xcMenuItem, xcToolbar, xcControlbar, xcCombo, xcCheckBox, xcRadioButton, xcProgress,
  xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcSpin, xcPanel, xcGroupBox, xcStatusBar, xcTab,
  xcTrackBar, xcSystemMenu, xcReportView
};

enum TSkinOption {
  xoMDIScrollbar, xoMenuMerge, xoTransparent, xoPreview, xoParentBackGround, xoNoFocusRect, xoToolbarBK,
  xoToolbarButton, xoMDIChildBorder, xoMenuBG, xoCaptionButtonHint, xoFormScrollbar
};

// A set of enumeration values (bit n for value n).
template <typename E>
class EnumSet {
 public:
  constexpr EnumSet() = default;
  constexpr EnumSet(std::initializer_list<E> values) {
    for (E v : values) Include(v);
  }
  constexpr bool Has(E v) const { return (bits_ >> static_cast<int>(v)) & 1u; }
  constexpr void Include(E v) { bits_ |= 1u << static_cast<int>(v); }
  constexpr void Exclude(E v) { bits_ &= ~(1u << static_cast<int>(v)); }
  constexpr uint32_t Bits() const { return bits_; }
  constexpr bool operator==(const EnumSet&) const = default;

 private:
  uint32_t bits_ = 0;
};
using TSkinControlTypes = EnumSet<TSkinControlType>;
using TSkinOptions = EnumSet<TSkinOption>;

// The skin manager's actions, posted to run on its timer: 6 frees the skinned forms of
// destroyed windows, 7 skins one window anew.
enum class SkinAction { SkinAll = 1, UnskinAll = 2, UpdateAll = 3, FreeDestroyed = 6, ReskinWindow = 7 };
inline constexpr int kSkinActionDelayMs = 250;

class TSkinData;

// What the component asks of the skin manager (built with the skinned windows).
class SkinManagerLink {
 public:
  virtual ~SkinManagerLink() = default;
  virtual void SetSkinData(TSkinData& data) = 0;                  // the manager's SkinData := data
  virtual void PostAction(SkinAction action, int delayMs) = 0;    // run action on the timer after delayMs
  virtual int Mode() const = 0;                                   // 1 once skinning runs on the timer
  virtual void SetMode(int mode) = 0;
  virtual void ReloadSkin(TSkinData& data) = 0;                   // every window skinned with data reloads
};

inline constexpr uint64_t kMaxSkinFileSize = 64u << 20;

class TSkinData {
 public:
  TSkinData();

  // Published settings, with their defaults.
  bool Active() const { return active_; }
  void SetActive(bool value);
  int DisableTag = 99;  // a window or control with this Tag is never skinned
  TSkinControlTypes SkinControls;
  TSkinOptions Options{xoPreview, xoToolbarBK, xoCaptionButtonHint};
  std::vector<std::u16string> Skin3rd;  // "class name=kind": foreign control classes and their painter
  const std::u16string& SkinFile() const { return skinFile_; }
  void SetSkinFile(const std::u16string& name);
  std::u16string SkinStore() const { return u"(none)"; }  // a design-time indicator only
  TSkinFormType SkinFormtype = sfMainform;
  std::u16string Version() const { return u"5.40.07.15"; }
  bool MenuUpdate = true;
  bool MenuMerge = false;

  // Events. OnFormSkin may veto skinning a window by its class name (DoSkin comes in true).
  std::function<void(TSkinData& sender, const std::u16string& className, bool& doSkin)> OnFormSkin;
  std::function<void(TSkinData& sender)> OnSkinChanged;
  // A skin file refused: "This is Older Skin File..." for an unknown version, else a Chinese
  // text naming the damage. The Windows side shows it in a message box.
  std::function<void(const std::u16string& message)> OnMessage;

  // The raw skin file.
  unicode::TMemoryStream SkinStream;

  // Reads SkinStream into the model. A file the reader refuses leaves the model as it was
  // (and the loading mark set) and answers false after passing its message to OnMessage.
  bool ReadSkin();
  // Hands a freshly read skin to the manager: windows reload it, and when the manager
  // already runs on its timer an update of all windows is posted.
  void ApplySkin();

  // Asked by the manager for each top-level window (by class name).
  bool AllowsFormSkin(const std::u16string& className);
  // Fires OnSkinChanged; the manager calls it once the windows show a new skin.
  void SkinChanged() {
    if (OnSkinChanged) OnSkinChanged(*this);
  }

  const TSkinModel& Model() const { return model_; }
  // Set while a skin is being named or read, cleared once one has been read whole.
  bool Loading() const { return loading_; }

  void SetManager(SkinManagerLink* manager) { manager_ = manager; }
  SkinManagerLink* Manager() const { return manager_; }

 private:
  bool active_ = false;
  bool loading_ = false;
  std::u16string skinFile_;
  TSkinModel model_;
  SkinManagerLink* manager_ = nullptr;
};

}  // namespace skin
