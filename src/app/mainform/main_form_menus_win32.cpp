// TForm1: its menus and the handlers bound to their rows.
#include "app/mainform/main_form_win32.h"
#include "app/startup/secondary_windows_win32.h"
#include "app/mainform/main_menus.h"
#include "app/tray/tray_menu_layout.h"
#include "windows/about_box_win32.h"
#include "windows/celebration_form_win32.h"

namespace app {

void TForm1::BuildMenus() {
  MainMenu1.Build(gui::Menu::Kind::Bar, MainMenu1Rows(), 100);
  // The popup menus are built natively only when shown: nothing of them shows before, and
  // every native row made at start-up delays the main window.
  PopupMenu1.SetDeferred(true);
  PopupMenu1.Build(gui::Menu::Kind::Popup, PopupMenu1Rows(), 2000);
  // The tray menu has one row per history entry after its fixed rows (entry i at
  // TrayEntryBase + i), its entry rows made from the store, above 1000 entries in pages of
  // 1000 built as they open (app/tray/tray_menu_layout.h).
  PopupMenu2.SetDeferred(true);
  PopupMenu2.Build(gui::Menu::Kind::Popup, PopupMenu2Rows(), 4000);
  PopupMenu2.SetVirtualRows({[this] { return history_->store().size(); },
                             [this](int entry) { return TrayEntryCaption(entry); },
                             [this](int entry) { mytuopanClick(entry); }, 1, TrayPageSize, TrayPageCaption});
  // The window's menus and the tray menu share the design's image list.
  for (gui::Menu* menu : {&MainMenu1, &PopupMenu1, &PopupMenu2}) menu->SetHasImages(true);
  SetMenuBar(MainMenu1);
  AddPopupMenu(PopupMenu1);
  AddPopupMenu(PopupMenu2);
  BindMenuHandlers();
}

void TForm1::Bind(std::u16string_view handler, std::function<void()> action) {
  // A handler may serve rows of several menus (the tray repeats some of the bar's rows).
  for (gui::Menu* menu : {&MainMenu1, &PopupMenu1, &PopupMenu2}) menu->Bind(handler, action);
}

void TForm1::BindMenuHandlers() {
  Bind(u"congqidongClick", [this] { congqidongClick(); });
  // The routine scales the window it was last handed, the last secondary window once all are made.
  Bind(u"cuangtisuofangClick", [this] {
    NeedWindow(SecondaryWindow::Celebration);
    cuangtisuofangClick();
  });
  Bind(u"qidongduruzuceClick", [this] { qidongduruzuceClick(); });
  Bind(u"xiugailaodewenjianminClick", [this] { xiugailaodewenjianminClick(); });
  Bind(u"mu_geClick", [this] { mu_geClick(); });
  Bind(u"menutianbiaoClick", [this] { menutianbiaoClick(); });
  Bind(u"N39Click", [this] { N39Click(); });
  Bind(u"relieqinzuClick", [this] { relieqinzuClick(); });
  Bind(u"N56Click", [this] { N56Click(); });
  BindEncryptionCommands();
  BindPictureCommands();
  BindExplorerCommands();
  BindOtherCommands();
  BindFormattedViewCommands();
  // Switches that other commands only read: the click's own toggle is all they do.
  for (const char16_t* handler : {u"ziciwordhtmClick", u"danjihoucuxiantisiClick", u"zisexvkuangClick",
                                  u"qidongjiazaisangcibaocunClick", u"wusenClick", u"laosisenClick",
                                  u"WindowsminzongClick"}) {
    Bind(handler, [] {});
  }
}

void TForm1::relieqinzuClick() {
  if (!Form8) return;
  NeedWindow(SecondaryWindow::Celebration);
  Form8->Show();
  Form8->BringToFront();
  Form8->SetShowChecked(true);
  Form8->kaisifangyanhuaClick();
}

void TForm1::N56Click() {
  if (!AboutBox) return;
  NeedWindow(SecondaryWindow::AboutBox);
  AboutBox->Show();
  AboutBox->BringToFront();
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
