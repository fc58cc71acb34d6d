// TForm5, the picture slot window: ten slots in two rows of five, each an image with a label
// under it ("空", "已用", "已锁定"). It locks, unlocks, deletes and swaps the slots, copies a
// slot's picture to the clipboard when a drag starts, and saves a picture as a bitmap or
// JPEG file. The slots themselves are windows::PictureSlots; the main window fills them.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "gui/control.h"
#include "gui/menu.h"
#include "windows/pictures/picture_slots.h"
#include "windows/secondary_forms_win32.h"

namespace windows {

// What the picture window needs from the main window.
struct PictureWindowHooks {
  std::function<void()> windowCreated;            // PictureWindowPending := 0 (at Start)
  // Runs the picture's copy to the clipboard as the program's own write (its change is no new
  // picture), and keeps the check timer from posting it (PictureRetryArmed := 0).
  std::function<void(const std::function<void()>& write)> pictureGoesToClipboard;
  std::function<void(std::u16string_view wave)> playSound;  // a wave of the sound folder, when it exists
  std::u16string pictureFolder;                   // BaseDir + "\图片保存"
};

class SlotImage;

class TForm5 : public SecondaryForm {
 public:
  TForm5();
  ~TForm5() override;

  void SetHooks(PictureWindowHooks hooks) { hooks_ = std::move(hooks); }
  // What its creation does at start-up: the slots emptied, the main window told that pictures
  // may be stored from now on. The slots take pictures before the window is made (Create).
  void Start();

  PictureSlots& Slots() { return slots_; }
  // The main window's picture command: the picture goes to the slot the rules choose; the
  // slot number, or 0 when every slot is locked.
  int StorePicture(Picture picture);

  // Commands of the menus (by their design names).
  void tupiandangesancuClick();
  void suodinClick();
  void jiesuoClick();
  void tupianquanbusuodinClick();
  void tupianquanbujiesuoClick();
  void tupianquanbusancuClick();
  void N6Click();
  void tupianlincunweiClick();

  // Events of the slot images.
  void myimagesContextPopup(int slot, int screenX, int screenY);
  void myimagesStartDrag(int slot);
  bool myimagesDragOver(int source, int target) const;
  void myimagesDragDrop(int source, int target);

 protected:
  void CreateControls() override;
  void FormCreate() override;
  bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  void ShowSlot(int slot);
  void ShowAllSlots();
  bool CopyToClipboard(const Picture& picture);
  void CopyToClipboardOwn(const Picture& picture);  // through the main window's own write

  PictureWindowHooks hooks_;
  PictureSlots slots_;
  gui::Menu MainMenu1;
  gui::Menu PopupMenu1;
  gui::Button ToolButton1;
  std::array<std::unique_ptr<SlotImage>, PictureSlots::kSlots + 1> Images;
  std::array<gui::Label, PictureSlots::kSlots + 1> Labels;
  int CurrentPictureSlot = 0;
  int DragSourceSlot = 0;
  int DragTargetSlot = 0;
  DWORD dragCopySequence_ = 0;  // the clipboard's sequence number after the drag start's copy
};

}  // namespace windows
