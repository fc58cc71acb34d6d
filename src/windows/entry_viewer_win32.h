// TForm3, "查看/修改（单条记录，无格式）": one history entry as plain text to edit and write
// back, and a read-only hex view of the same text (code page 936 bytes).
#pragma once

#include <optional>
#include <string>

#include "gui/control.h"
#include "gui/gdi.h"
#include "gui/menu.h"
#include "hexedit/hex_editor_control_win32.h"
#include "unicode/uni_memo_win32.h"
#include "windows/entry_viewer_host.h"
#include "windows/secondary_forms_win32.h"

namespace windows {

class TForm3 : public SecondaryForm {
 public:
  TForm3();
  ~TForm3() override;

  void SetHost(EntryViewerHost* host) { host_ = host; }
  // TForm1.N39Click: shows the form with the selected row's entry in the memo, focused.
  void ShowEntryOfSelectedRow();

  // Handlers of the design.
  void ToolButton1Click();
  void siliujinzisituClick();
  void wenbensituClick();
  void ToolButtonsiliujinzisituClick();
  void kaobeisiliujinzisujuClick();
  void xiansisujuwenbenClick();

 protected:
  void CreateControls() override;
  void FormCreate() override;
  void FormClose(gui::CloseAction& action) override;
  void FormResize() override;

 private:
  void BindHandlers();
  void FocusVisibleView();
  void FocusVisibleViewIfFocusIsHere();
  void Bind(std::u16string_view handler, std::function<void()> action);

  EntryViewerHost* host_ = nullptr;
  std::optional<ViewedEntry> entry_;  // the viewer's own entry, checked on save

  gui::Menu MainMenu1;
  gui::Menu PopupMenu1;
  gui::Panel ToolBar1;
  gui::Button ToolButton1;
  gui::SpeedButton ToolButtonsiliujinzisitu;
  unicode::TUniMemo Memo1;
  hexedit::HexEditorControl HexEditorEx1;
  gui::UniqueFont memoFont_;
};

}  // namespace windows
