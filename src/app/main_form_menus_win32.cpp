// TForm1: its menus and the handlers bound to their rows.
#include "app/main_form_win32.h"

namespace app {

void TForm1::BuildMenus() {
  MainMenu1.Build(gui::Menu::Kind::Bar, {}, 100);
  PopupMenu1.Build(gui::Menu::Kind::Popup, {}, 2000);
  PopupMenu2.Build(gui::Menu::Kind::Popup, {}, 4000);
  SetMenuBar(MainMenu1);
  AddPopupMenu(PopupMenu1);
  AddPopupMenu(PopupMenu2);
  BindMenuHandlers();
}

void TForm1::BindMenuHandlers() {
  MainMenu1.Bind(u"congqidongClick", [this] { congqidongClick(); });
  MainMenu1.Bind(u"cuangtisuofangClick", [this] { cuangtisuofangClick(); });
  MainMenu1.Bind(u"jiyicuangtidaxiaoClick", [this] { jiyicuangtidaxiaoClick(); });
  MainMenu1.Bind(u"qidongduruzuceClick", [this] { qidongduruzuceClick(); });
  MainMenu1.Bind(u"xiugailaodewenjianminClick", [this] { xiugailaodewenjianminClick(); });
  MainMenu1.Bind(u"mu_geClick", [this] { mu_geClick(); });
  MainMenu1.Bind(u"menutianbiaoClick", [this] { menutianbiaoClick(); });
}

bool TForm1::Checked(std::u16string_view row) const {
  for (const gui::Menu* menu : {&MainMenu1, &PopupMenu1, &PopupMenu2}) {
    if (menu->Find(row)) return menu->Checked(row);
  }
  return false;
}

void TForm1::SetChecked(std::u16string_view row, bool checked) {
  for (gui::Menu* menu : {&MainMenu1, &PopupMenu1, &PopupMenu2}) {
    if (menu->Find(row)) menu->SetChecked(row, checked);
  }
}

}  // namespace app
