// TForm1: the skins menu "皮肤" and the skin applied at start-up.
#include "app/mainform/main_form_win32.h"
#include "app/skins/skin_choices.h"
#include "app/skins/skins_menu_win32.h"
#include "gui/dialogs.h"

namespace app {

void TForm1::ApplySkinByNumber() {
  skins_ = std::make_unique<SkinsMenu>(paths_.BaseDir);
  skins_->OnError = [](const std::u16string& text) { gui::MessageBoxU(text, u"出错", MB_OK | MB_ICONERROR); };
  skins_->OnChecked = [this](int number) {
    settings_.SkinNumber = skins_->SkinNumber;
    if (const SkinChoice* choice = SkinChoiceFor(number)) SetChecked(choice->row, true);
  };
  for (const SkinChoice& choice : SkinChoices()) {
    const int number = choice.number;
    Bind(choice.handler, [this, number] {
      if (number == kClassicSkin) skins_->jindianClick();
      else skins_->ChooseSkin(number);
    });
  }
  // Start-up: 1 checks the classic row only; 2..14 check their row and run its handler.
  skins_->SkinNumber = settings_.SkinNumber;
  const int number = settings_.SkinNumber;
  if (number == kClassicSkin) {
    SetChecked(u"jindian", true);
  } else if (const SkinChoice* choice = SkinChoiceFor(number)) {
    SetChecked(choice->row, true);
    skins_->ChooseSkin(number);
  }
}

}  // namespace app
