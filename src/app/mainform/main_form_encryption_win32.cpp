// TForm1: the encryption commands "加密当前文件" and "解密当前文件". The window asks for the
// password, shows the hourglass and the messages, and commits what the portable decision
// computed (app/encryption/).
#include <windows.h>

#include "app/encryption/encryption_commands.h"
#include "app/mainform/main_form_win32.h"
#include "gui/dialogs.h"

namespace app {

namespace {

// One password dialog: the trimmed answer, or empty for Cancel and for blanks only.
std::u16string AskPassword(const PasswordDialog& dialog) {
  std::u16string typed;
  if (!gui::InputQuery(dialog.caption, dialog.prompt, typed)) return {};
  return TrimmedPassword(typed);
}

void ShowCipherError(std::u16string_view message) {
  gui::MessageBoxU(message, kCipherErrorCaption, MB_OK | MB_ICONERROR);
}

}  // namespace

void TForm1::BindEncryptionCommands() {
  Bind(u"jiamiClick", [this] { jiamiClick(); });
  Bind(u"jiemiClick", [this] { jiemiClick(); });
}

void TForm1::jiamiClick() {
  if (history_->rowCount() == 0) return;
  const std::u16string password = AskPassword(kEncryptPasswordDialog);
  if (password.empty()) return;
  const std::u16string repeated = AskPassword(kRepeatPasswordDialog);
  if (repeated.empty()) return;
  if (const std::u16string problem = EncryptionPasswordProblem(password, repeated); !problem.empty()) {
    ShowCipherError(problem);
    return;
  }
  RunCipherCommand(password, true);
}

void TForm1::jiemiClick() {
  if (history_->rowCount() == 0) return;
  const std::u16string password = AskPassword(kDecryptPasswordDialog);
  if (password.empty()) return;
  RunCipherCommand(password, false);
}

void TForm1::RunCipherCommand(std::u16string_view password, bool encrypt) {
  CipherOutcome outcome;
  {
    gui::WaitCursor hourglass;
    const BusyScope busy(listBusy_);
    const std::vector<std::u16string_view> texts = EntryTextViews(*history_);
    outcome = encrypt ? EncryptEntryTexts(Cph_3des1, texts, password) : DecryptEntryTexts(Cph_3des1, texts, password);
    // The key is needed no longer than the command.
    Cph_3des1.Burn();
    if (outcome.ok) {
      CommitCipherTexts(*history_, std::move(outcome.texts));
      if (!encrypt) NothingDecrypted = false;
    }
  }
  if (!outcome.ok) {
    ShowCipherError(outcome.message);
    return;
  }
  PlaySoundFile(kCipherDoneSound);
}

}  // namespace app
