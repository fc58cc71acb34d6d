// TAboutBox: the program's name and contact lines. Double-clicking the name or the author
// line copies it; clicking the e-mail line copies the address, double-clicking writes a mail;
// clicking the web line opens the page. Never scaled.
#pragma once

#include <functional>

#include "gui/control.h"
#include "gui/gdi.h"
#include "windows/secondary_forms_win32.h"

namespace windows {

// A text label that reports clicks and double clicks, in a colour of its own.
class ClickableLabel : public gui::Label {
 public:
  void Create(HWND parent, const gui::ControlSpec& desc, HFONT font);
  bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  std::function<void()> OnClick, OnDblClick;
  COLORREF color = GetSysColor(COLOR_BTNTEXT);
};

// The about box's lines and addresses (reserved example domains).
struct AboutTexts {
  static constexpr char16_t kProductName[] = u"Quillora12.6";
  static constexpr char16_t kVersion[] = u"作者：Quillora 开发组（双击复制）";
  static constexpr char16_t kEmail[] = u"quillora@example.com";
  static constexpr char16_t kComments[] = u"电子邮件：quillora@example.com（双击打开，单击复制）";
  static constexpr char16_t kWebPage[] = u"https://www.example.com/quillora/";
};

// Opens a document or address through the shell ("open", normal window).
void ShellOpen(std::u16string_view target);

class TAboutBox : public SecondaryForm {
 public:
  TAboutBox();

  void ProductNameDblClick();
  void VersionDblClick();
  void CommentsClick();
  void CommentsDblClick();
  void Label1Click();
  void OKButtonClick();

  gui::Image ProgramIcon;
  ClickableLabel ProductName;
  ClickableLabel Version;
  ClickableLabel Comments;
  ClickableLabel Label1;
  gui::Button OKButton;

 protected:
  void CreateControls() override;

 private:
  gui::UniqueFont nameFont_, linkFont_;
};

}  // namespace windows
