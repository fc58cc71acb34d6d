// TForm6, "用带格式的浏览器查看当前文本": one history entry with its formatting in the HTML
// editor, to format (font, size, colour, bold, italic, underline) and write back into the
// entry as text plus a clipboard snapshot; HTML files and ".liu" files (a snapshot stream)
// are opened and saved from here. Everything between the editor and the history goes
// through the clipboard, each write the program's own.
#pragma once

#include <optional>
#include <vector>
#include <string>

#include "gui/color_dialog.h"
#include "gui/control.h"
#include "gui/menu.h"
#include "gui/tool_combo_box.h"
#include "htmledit/html_edit2_win32.h"
#include "windows/formatted_view_host.h"
#include "windows/secondary_forms_win32.h"

namespace windows {

class TForm6 : public SecondaryForm {
 public:
  TForm6();
  ~TForm6() override;

  void SetHost(FormattedViewHost* host) { host_ = host; }
  htmledit::THtmlEdit2& Editor() { return HtmlEdit21; }

  // TForm1.N152Click, after it put the entry on the clipboard: stay on top, shown, the boxes'
  // prompts where nothing is chosen, the editor emptied and pasted into, focused.
  // When the paste does not come (another program keeps the clipboard open), the view is
  // hidden again and a box says why: never an empty view without a word.
  void ShowEntry(const ViewedEntry& entry);
  // TForm1.N152Click when the entry could not be put on the clipboard: the box that says why
  // the view does not open.
  void ReportEntryNotOnClipboard();
  // TForm1.cakansoucijiesaoClick with the introduction's stream read: the size box on its
  // first row, saving and the file menu off until the window closes, the stream pasted in
  // through the clipboard (which then holds the current entry again), the caret at the start.
  // False (nothing changed) when the stream is none.
  bool ShowIntroduction(std::span<const std::uint8_t> stream, const std::optional<ViewedEntry>& current);

  // Handlers of the design.
  void ToolButton1Click();
  void ComboBoxFontNameChange(const std::u16string& name);
  void ComboBoxFontHTMLSizeChange(const std::u16string& item);
  void ToolButton5Click();
  void ToolButton7Click();
  void ToolButton8Click();
  void ToolButton9Click();
  void dakaiClick();
  void lincunweiClick();
  void baocunliuClick();
  void dakailiuwenjianClick();

 protected:
  void CreateControls() override;
  void FormCreate() override;
  void FormClose(gui::CloseAction& action) override;
  void FormResize() override;
  bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  std::u16string SaveFolder() const;
  // Select all, copy, caret back to the start, as one write of the program's own: the
  // clipboard's sequence number right after the copy, or nothing when the copy did not happen.
  std::optional<DWORD> CopyWholeContent();
  // The whole content as the clipboard's snapshot of it: copied, then read back. Nothing, and the
  // user told why, when either did not work or another program wrote in between.
  std::optional<std::vector<std::uint8_t>> ContentThroughClipboard();
  void SetIntroductionMode(bool on);
  void ShowPrompts();
  void Complain(std::u16string_view text);
  // Empties the view and pastes the clipboard into it; when the paste does not come within
  // its retry, the message that says why (empty when it came, or the clipboard is empty).
  std::u16string_view ShowClipboardContent();
  // The paste did not come: the view is hidden without its entry, and a box says why.
  void GiveUpShowing(std::u16string_view why);

  FormattedViewHost* host_ = nullptr;
  std::optional<ViewedEntry> entry_;  // the view's own entry, checked on save
  bool introduction_ = false;
  bool editorReady_ = false;

  gui::Menu MainMenu1;
  gui::Panel ToolBar1;
  gui::Button ToolButton1;
  gui::ToolComboBox ComboBoxFontName;
  gui::ToolComboBox ComboBoxFontHTMLSize;
  gui::Button ToolButton5;
  gui::SpeedButton ToolButton7, ToolButton8, ToolButton9;
  htmledit::THtmlEdit2 HtmlEdit21;
  gui::ColorDialog ColorDialog1;
};

}  // namespace windows
