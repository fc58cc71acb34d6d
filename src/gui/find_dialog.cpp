#include "gui/find_dialog.h"

#include "gui/application.h"
#include "gui/guard.h"

namespace gui {

namespace {
UINT FindMessage() {
  static const UINT id = RegisterWindowMessageW(FINDMSGSTRINGW);
  return id;
}
}  // namespace

FindDialog::FindDialog() = default;

FindDialog::~FindDialog() {
  if (dialog_) {
    Application::Instance().RemoveModelessDialog(dialog_);
    DestroyWindow(dialog_);
  }
}

void FindDialog::Execute(HWND owner) {
  if (dialog_ && IsWindow(dialog_)) {
    ShowWindow(dialog_, SW_SHOW);
    SetForegroundWindow(dialog_);
    return;
  }
  fr_ = FINDREPLACEW{};
  fr_.lStructSize = sizeof fr_;
  fr_.hwndOwner = owner;
  fr_.lpstrFindWhat = text_;
  fr_.wFindWhatLen = static_cast<WORD>(sizeof text_);
  fr_.Flags = FR_DOWN | (hideMatchCase ? FR_HIDEMATCHCASE : 0) | (hideDirection ? FR_HIDEUPDOWN : 0);
  FindMessage();
  dialog_ = ::FindTextW(&fr_);
  if (dialog_) Application::Instance().AddModelessDialog(dialog_);
}

void FindDialog::CloseDialog() {
  if (dialog_ && IsWindow(dialog_)) SendMessageW(dialog_, WM_COMMAND, IDCANCEL, 0);
}

std::u16string FindDialog::FindWhat() const { return reinterpret_cast<const char16_t*>(text_); }

bool FindDialog::HandleOwnerMessage(UINT msg, WPARAM, LPARAM lp) {
  if (msg != FindMessage() || reinterpret_cast<FINDREPLACEW*>(lp) != &fr_) return false;
  if (fr_.Flags & FR_DIALOGTERM) {
    Application::Instance().RemoveModelessDialog(dialog_);
    dialog_ = nullptr;
    if (OnClose) Guarded("FindDialog.OnClose", [&] { OnClose(); });
  } else if (fr_.Flags & FR_FINDNEXT) {
    if (OnFind) Guarded("FindDialog.OnFind", [&] { OnFind(); });
  }
  return true;
}

}  // namespace gui
