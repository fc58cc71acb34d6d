// TForm1: the data-box menus ("打开  我的数据盒>>>", "编辑 我的数据盒>>") and the program-shortcut
// menu ("打开 自定义程序快捷方式总集"), built at start-up from their folder trees, and the
// handlers of their rows. The rows are planned apart (app/databox/menu_plan.h); each row here
// keeps the full path of its file.
#include <windows.h>
#include <shellapi.h>

#include "app/databox/menu_plan.h"
#include "app/databox/shell_link_win32.h"
#include "app/mainform/main_form_win32.h"
#include "gui/dialogs.h"
#include "gui/wide.h"

namespace app {

namespace {
constexpr char16_t kMissingFile[] = u"文件不存在  ";
}  // namespace

void TForm1::AddPlannedRows(gui::Menu::Row* parent, int at, const std::vector<MenuPlanRow>& rows,
                            const RowHandlerFor& handler) {
  for (const MenuPlanRow& row : rows) {
    const int index = at < 0 ? -1 : at++;
    switch (row.kind) {
      case MenuPlanRow::Kind::Separator:
        MainMenu1.InsertRow(parent, index, u"-", nullptr);
        break;
      case MenuPlanRow::Kind::Folder: {
        gui::Menu::Row* sub = MainMenu1.InsertRow(parent, index, row.caption, nullptr, true, true);
        MainMenu1.SetRowImage(sub, 0);  // the folder picture; file rows have none
        AddPlannedRows(sub, -1, row.children, handler);
        break;
      }
      case MenuPlanRow::Kind::File:
        MainMenu1.InsertRow(parent, index, row.caption, handler(row.path), false, true);
        break;
    }
  }
}

// ---- The data box ----------------------------------------------------------------------------

std::function<void()> TForm1::DataBoxRowHandler(const std::u16string& path) {
  if (DataBoxMenuMode == 1) return [this, path] { MyClick(path); };
  return [this, path] { bianjiMyClick(path); };
}

void TForm1::BuildDataBoxMenus() {
  // One walk serves both menus: the open menu (mode 1) and the edit menu.
  const std::vector<MenuPlanRow> folders = PlanFolderRows(paths_.DataBoxDir, MenuFileKind::DataBoxText);
  const std::vector<MenuPlanRow> files = PlanFileRows(paths_.DataBoxDir, MenuFileKind::DataBoxText);
  const auto handler = [this](const std::u16string& path) { return DataBoxRowHandler(path); };
  DataBoxMenuMode = 1;
  liecukeyiexezi(folders, MainMenu1.Find(u"menudakaisujuhe"), handler);
  AddPlannedRows(MainMenu1.Find(u"menudakaisujuhe"), -1, files, handler);
  DataBoxMenuMode = 2;
  liecukeyiexezi(folders, MainMenu1.Find(u"bianjiwosu"), handler);
  AddPlannedRows(MainMenu1.Find(u"bianjiwosu"), -1, files, handler);
}

void TForm1::liecukeyiexezi(const std::vector<MenuPlanRow>& folders, gui::Menu::Row* parent,
                            const RowHandlerFor& handler) {
  // Sub-folders stand above the folder's own files.
  AddPlannedRows(parent, 0, folders, handler);
}

void TForm1::MyClick(const std::u16string& file) {
  if (!gui::FileExists(file)) {
    gui::ShowMessage(kMissingFile + file);
    return;
  }
  // The history view, both list modes off with the plain list font, then the file by its kind.
  OpenSampleTable(file, ListModeRequest::Off);
}

void TForm1::bianjiMyClick(const std::u16string& file) { OpenInEditor(file); }

// ---- Program shortcuts --------------------------------------------------------------------------

void TForm1::BuildShortcutMenus() {
  cenxvkuaijiedongtaiClick();
  ScanShortcutFolder(paths_.ShortcutDir, MainMenu1.Find(u"menu_cenxvkuaijie"));
}

void TForm1::cenxvkuaijiedongtaiClick() {
  AddPlannedRows(MainMenu1.Find(u"menu_cenxvkuaijie"), -1,
                 PlanFileRows(paths_.ShortcutDir, MenuFileKind::Shortcut),
                 [this](const std::u16string& link) { return [this, link] { ShortcutMenuItemClick(link); }; });
}

void TForm1::ScanShortcutFolder(const std::u16string& folder, gui::Menu::Row* parent) {
  AddPlannedRows(parent, 0, PlanFolderRows(folder, MenuFileKind::Shortcut),
                 [this](const std::u16string& link) { return [this, link] { ShortcutMenuItemClick(link); }; });
}

void TForm1::ShortcutMenuItemClick(const std::u16string& link) {
  // The link is checked before it is read: a link deleted since start-up is reported as such.
  if (!gui::FileExists(link)) {
    gui::ShowMessage(kMissingFile + link);
    return;
  }
  const std::optional<ShellLinkTarget> target = GetShellLinkTarget(link);
  if (!target) {
    gui::ShowMessage(u"无法解析快捷方式  " + link);
    return;
  }
  const HINSTANCE started = ShellExecuteW(
      Handle(), L"open", gui::W(target->path), target->arguments.empty() ? nullptr : gui::W(target->arguments),
      target->workingDirectory.empty() ? nullptr : gui::W(target->workingDirectory), SW_SHOWNORMAL);
  if (reinterpret_cast<INT_PTR>(started) <= 32) gui::ShowMessage(u"无法启动  " + target->path);
}

void TForm1::BindDataBoxCommands() {
  Bind(u"cenxvkuaijiedongtaiClick", [this] { cenxvkuaijiedongtaiClick(); });
  Bind(u"cakanqidongClick", [this] { OpenFolderInExplorer(paths_.BaseDir, SW_SHOWMAXIMIZED); });
  Bind(u"N167Click", [this] { OpenInEditor(paths_.HelpDir + u"\\如何添加和删除快捷方式.txt"); });
}

}  // namespace app
