#include "gui/menu.h"

#include <stdexcept>

#include "gui/wide.h"
#include "unicode/codepage.h"

namespace gui {

namespace {
HMENU NewMenu(bool bar) {
  HMENU menu = bar ? CreateMenu() : CreatePopupMenu();
  MENUINFO info{sizeof info};
  info.fMask = MIM_STYLE;
  info.dwStyle = MNS_NOTIFYBYPOS;
  SetMenuInfo(menu, &info);
  return menu;
}
bool IsSeparator(const std::u16string& caption) { return caption == u"-"; }
}  // namespace

UINT MenuChangedMessage() {
  static const UINT message = RegisterWindowMessageW(L"Quillora.MenuChanged");
  return message;
}

UINT Menu::TypeOf(const Row* row) const {
  UINT type = IsSeparator(row->caption) ? MFT_SEPARATOR : MFT_STRING;
  const bool barItem = kind_ == Kind::Bar && row->parent == &root_;
  if (owner_draw_ && !barItem) type |= MFT_OWNERDRAW;
  return type;
}

void Menu::SetOwnerDraw(bool ownerDraw) {
  if (owner_draw_ == ownerDraw) return;
  owner_draw_ = ownerDraw;
  if (deferred_) {
    dirty_ = true;
    return;
  }
  std::function<void(Row*)> retype = [&](Row* parent) {
    for (auto& child : parent->children) {
      if (child->visible) {
        MENUITEMINFOW info{sizeof info};
        info.fMask = MIIM_FTYPE;
        info.fType = TypeOf(child.get());
        SetMenuItemInfoW(parent->subMenu, static_cast<UINT>(PositionOf(child.get(), true)), TRUE, &info);
      }
      retype(child.get());
    }
  };
  retype(&root_);
}

Menu::~Menu() {
  // A menu bar attached to a window is destroyed with the window; anything else is ours.
  if (root_menu_ && !(owner_ && IsWindow(owner_) && GetMenu(owner_) == root_menu_)) DestroyMenu(root_menu_);
}

void Menu::Build(Kind kind, std::span<const MenuRowSpec> rows, int firstCommandId) {
  kind_ = kind;
  root_menu_ = NewMenu(kind == Kind::Bar);
  root_.subMenu = root_menu_;
  by_menu_[root_menu_] = &root_;

  std::vector<Row*> parents{&root_};
  int next_id = firstCommandId;
  for (size_t i = 0; i < rows.size(); ++i) {
    const MenuRowSpec& desc = rows[i];
    const int level = desc.level < 0 ? 0 : desc.level;
    while (static_cast<int>(parents.size()) > level + 1) parents.pop_back();
    Row* parent = parents.back();
    auto row = std::make_unique<Row>();
    row->name = std::u16string(desc.name);
    row->caption = std::u16string(desc.caption);
    row->handler = std::u16string(desc.handler);
    row->flags = desc.flags;
    row->checked = (desc.flags & kMenuChecked) != 0;
    row->designEnabled = (desc.flags & kMenuDisabled) == 0;
    row->visible = (desc.flags & kMenuHidden) == 0;
    row->parent = parent;
    row->id = IsSeparator(row->caption) ? 0 : next_id++;
    const bool opensSubMenu = (desc.flags & kMenuSubmenu) || (i + 1 < rows.size() && rows[i + 1].level > level);
    if (opensSubMenu) {
      row->subMenu = NewMenu(false);
      by_menu_[row->subMenu] = row.get();
    }
    Row* raw = row.get();
    parent->children.push_back(std::move(row));
    if (!raw->name.empty()) by_name_[raw->name] = raw;
    if (raw->id) by_id_[raw->id] = raw;
    if (opensSubMenu) parents.push_back(raw);
  }
  InsertAllNative(&root_);
}

void Menu::InsertAllNative(Row* parent) {
  // In table order: every row's earlier siblings exist before it is inserted.
  for (auto& child : parent->children) {
    if (child->visible) InsertNative(child.get());
    InsertAllNative(child.get());
  }
}

HMENU Menu::MenuOf(const Row* parent) const { return parent ? parent->subMenu : root_menu_; }

bool Menu::IsRowEnabled(const Row* row) const {
  if (!row->designEnabled || !row->enabled) return false;
  if (row->action || row->subMenu || IsSeparator(row->caption)) return true;
  return !row->handler.empty() && handlers_.count(row->handler) != 0;
}

int Menu::PositionOf(const Row* row, bool inNativeMenu) const {
  // The native position counts the visible rows before this one; appending is the common
  // case (tray rows, recent files) and is answered without walking the siblings.
  const Row* parent = row->parent;
  if (!parent->children.empty() && parent->children.back().get() == row) {
    return GetMenuItemCount(parent->subMenu) - (inNativeMenu ? 1 : 0);
  }
  int position = 0;
  for (const auto& sibling : parent->children) {
    if (sibling.get() == row) break;
    if (sibling->visible) ++position;
  }
  return position;
}

bool Menu::SkipNative() {
  if (!deferred_ || materializing_) return false;
  dirty_ = true;
  return true;
}

void Menu::SetDeferred(bool deferred) {
  deferred_ = deferred;
  dirty_ = true;
  if (!deferred) Materialize();
}

void Menu::Materialize() {
  materializing_ = true;
  for (const auto& [menu, row] : by_menu_) {
    (void)row;
    for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i) RemoveMenu(menu, static_cast<UINT>(i), MF_BYPOSITION);
  }
  InsertAllNative(&root_);
  InsertVirtualRows();
  dirty_ = false;
  materializing_ = false;
}

void Menu::SetVirtualRows(VirtualRows rows) {
  virtual_ = std::move(rows);
  dirty_ = true;
}

// A virtual row carries its index in the item data, marked by the low bit (rows of our own
// carry a Row pointer there, which is never odd).
void Menu::InsertVirtualRows() {
  if (!virtual_.count || !virtual_.caption) return;
  const int count = virtual_.count();
  int position = GetMenuItemCount(root_menu_);
  for (int i = 0; i < count; ++i) {
    const std::u16string caption = virtual_.caption(i);
    MENUITEMINFOW info{sizeof info};
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_DATA | MIIM_STRING;
    info.fType = owner_draw_ ? MFT_STRING | MFT_OWNERDRAW : MFT_STRING;
    info.fState = MFS_ENABLED;
    info.dwItemData = (static_cast<ULONG_PTR>(i) << 1) | 1;
    info.dwTypeData = const_cast<wchar_t*>(W(caption));
    InsertMenuItemW(root_menu_, static_cast<UINT>(position++), TRUE, &info);
  }
}

void Menu::InsertNative(Row* row) {
  if (SkipNative()) return;
  // The row is already in its parent's list; its native position counts visible rows before it.
  const int position = PositionOf(row, false);
  MENUITEMINFOW info{sizeof info};
  info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_DATA | MIIM_STRING | MIIM_SUBMENU;
  info.fType = TypeOf(row);
  info.wID = static_cast<UINT>(row->id);
  info.fState = (row->checked ? MFS_CHECKED : 0) | (IsRowEnabled(row) ? MFS_ENABLED : MFS_GRAYED);
  info.dwItemData = reinterpret_cast<ULONG_PTR>(row);
  info.hSubMenu = row->subMenu;
  info.dwTypeData = const_cast<wchar_t*>(W(row->caption));
  InsertMenuItemW(row->parent->subMenu, static_cast<UINT>(position), TRUE, &info);
}

void Menu::RemoveNative(Row* row) {
  if (SkipNative()) return;
  const int position = PositionOf(row, true);
  // RemoveMenu keeps the sub-menu handle alive: it is destroyed (or re-inserted) by us.
  RemoveMenu(row->parent->subMenu, static_cast<UINT>(position), MF_BYPOSITION);
}

void Menu::UpdateNative(Row* row) {
  if (!row->visible || SkipNative()) return;
  MENUITEMINFOW info{sizeof info};
  info.fMask = MIIM_STATE | MIIM_STRING | MIIM_FTYPE;
  info.fType = TypeOf(row);
  info.fState = (row->checked ? MFS_CHECKED : 0) | (IsRowEnabled(row) ? MFS_ENABLED : MFS_GRAYED);
  info.dwTypeData = const_cast<wchar_t*>(W(row->caption));
  SetMenuItemInfoW(row->parent->subMenu, static_cast<UINT>(PositionOf(row, true)), TRUE, &info);
  if (row->parent == &root_) Redraw();
}

void Menu::Redraw() {
  if (kind_ != Kind::Bar || !owner_ || !IsWindow(owner_)) return;
  if (GetMenu(owner_) == root_menu_) DrawMenuBar(owner_);
  else SendMessageW(owner_, MenuChangedMessage(), 0, reinterpret_cast<LPARAM>(root_menu_));
}

void Menu::Bind(std::u16string_view handler, std::function<void()> action) {
  handlers_[std::u16string(handler)] = std::move(action);
  RefreshBindings();
}

bool Menu::IsBound(std::u16string_view handler) const { return handlers_.count(std::u16string(handler)) != 0; }

void Menu::RefreshBindings() {
  for (auto& [name, row] : by_id_) {
    (void)name;
    if (!row->handler.empty()) UpdateNative(row);
  }
  Redraw();
}

Menu::Row* Menu::Find(std::u16string_view name) const {
  auto it = by_name_.find(std::u16string(name));
  return it == by_name_.end() ? nullptr : it->second;
}

Menu::Row& Menu::At(std::u16string_view name) const {
  Row* row = Find(name);
  if (!row) throw std::out_of_range("no menu row named " + unicode::Utf16ToUtf8(name));
  return *row;
}

bool Menu::Checked(std::u16string_view name) const { return At(name).checked; }
void Menu::SetChecked(std::u16string_view name, bool checked) { SetRowChecked(&At(name), checked); }
bool Menu::Enabled(std::u16string_view name) const { return IsRowEnabled(&At(name)); }
void Menu::SetEnabled(std::u16string_view name, bool enabled) { SetRowEnabled(&At(name), enabled); }
bool Menu::Visible(std::u16string_view name) const { return At(name).visible; }
std::u16string Menu::Caption(std::u16string_view name) const { return At(name).caption; }
void Menu::SetCaption(std::u16string_view name, std::u16string_view caption) { SetRowCaption(&At(name), caption); }

void Menu::SetVisible(std::u16string_view name, bool visible) {
  Row& row = At(name);
  if (row.visible == visible) return;
  if (visible) {
    row.visible = true;
    InsertNative(&row);
  } else {
    RemoveNative(&row);
    row.visible = false;
  }
  if (row.parent == &root_) Redraw();
}

void Menu::SetRowCaption(Row* row, std::u16string_view caption) {
  row->caption = std::u16string(caption);
  UpdateNative(row);
}
void Menu::SetRowChecked(Row* row, bool checked) {
  // One row of a radio group is checked: checking a row unchecks the others.
  if (checked && (row->flags & kMenuRadio)) {
    for (auto& sibling : row->parent->children) {
      if ((sibling->flags & kMenuRadio) && sibling.get() != row && sibling->checked) {
        sibling->checked = false;
        UpdateNative(sibling.get());
      }
    }
  }
  row->checked = checked;
  UpdateNative(row);
}
void Menu::SetRowEnabled(Row* row, bool enabled) {
  row->enabled = enabled;
  UpdateNative(row);
}
void Menu::SetRowTag(Row* row, int tag) { row->tag = tag; }
int Menu::RowTag(const Row* row) const { return row->tag; }
std::u16string Menu::RowCaption(const Row* row) const { return row->caption; }

Menu::Row* Menu::InsertRow(Row* parent, int index, std::u16string_view caption, std::function<void()> action,
                           bool subMenu) {
  Row* p = parent ? parent : &root_;
  if (!p->subMenu) {
    p->subMenu = NewMenu(false);
    by_menu_[p->subMenu] = p;
    UpdateNative(p);
    if (p->visible && p->parent && !SkipNative()) {
      MENUITEMINFOW info{sizeof info};
      info.fMask = MIIM_SUBMENU;
      info.hSubMenu = p->subMenu;
      SetMenuItemInfoW(p->parent->subMenu, static_cast<UINT>(PositionOf(p, true)), TRUE, &info);
    }
  }
  auto row = std::make_unique<Row>();
  row->caption = std::u16string(caption);
  row->action = std::move(action);
  row->parent = p;
  if (subMenu) {
    row->subMenu = NewMenu(false);
    by_menu_[row->subMenu] = row.get();
  }
  Row* raw = row.get();
  const size_t at = (index < 0 || static_cast<size_t>(index) > p->children.size()) ? p->children.size()
                                                                                    : static_cast<size_t>(index);
  p->children.insert(p->children.begin() + static_cast<std::ptrdiff_t>(at), std::move(row));
  InsertNative(raw);
  if (p == &root_) Redraw();
  return raw;
}

void Menu::RemoveRow(Row* row) {
  Row* parent = row->parent;
  if (row->visible) RemoveNative(row);
  std::function<void(Row*)> forget = [&](Row* r) {
    for (auto& child : r->children) forget(child.get());
    if (r->subMenu) by_menu_.erase(r->subMenu);
    if (!r->name.empty()) by_name_.erase(r->name);
    if (r->id) by_id_.erase(r->id);
  };
  forget(row);
  if (row->subMenu) DestroyMenu(row->subMenu);  // destroys the nested native sub-menus with it
  for (auto it = parent->children.begin(); it != parent->children.end(); ++it) {
    if (it->get() == row) {
      parent->children.erase(it);
      break;
    }
  }
  if (parent == &root_) Redraw();
}

void Menu::RemoveRows(Row* parent, int first, int count) {
  Row* p = parent ? parent : &root_;
  const int total = static_cast<int>(p->children.size());
  const int last = count < 0 ? total : std::min(total, first + count);
  // From the end, so that every removal is at the end of the native menu as well.
  for (int i = last - 1; i >= first && i >= 0; --i) RemoveRow(p->children[static_cast<size_t>(i)].get());
}

int Menu::RowCount(Row* parent) const {
  const Row* p = parent ? parent : &root_;
  return static_cast<int>(p->children.size());
}

Menu::Row* Menu::RowAt(Row* parent, int index) const {
  const Row* p = parent ? parent : &root_;
  if (index < 0 || static_cast<size_t>(index) >= p->children.size()) return nullptr;
  return p->children[static_cast<size_t>(index)].get();
}

int Menu::IndexOf(Row* row) const {
  const Row* p = row->parent;
  for (size_t i = 0; i < p->children.size(); ++i) {
    if (p->children[i].get() == row) return static_cast<int>(i);
  }
  return -1;
}

bool Menu::Run(Row* row) {
  if (!row || !IsRowEnabled(row)) return row != nullptr;
  // Switches change their mark before their handler runs, which reads the new state; rows
  // whose handler sets the mark itself (buttons call the same handler) are left alone.
  if (row->flags & kMenuRadio) {
    SetRowChecked(row, true);
  } else if ((row->flags & kMenuCheckable) && !(row->flags & kMenuHandlerChecks)) {
    SetRowChecked(row, !row->checked);
  }
  if (row->action) {
    auto action = row->action;  // the action may remove its own row
    action();
    return true;
  }
  auto it = handlers_.find(row->handler);
  if (it == handlers_.end()) return true;
  auto handler = it->second;
  handler();
  return true;
}

bool Menu::DispatchMenuCommand(HMENU menu, int position) {
  if (by_menu_.count(menu) == 0) return false;
  MENUITEMINFOW info{sizeof info};
  info.fMask = MIIM_DATA;
  if (!GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info)) return true;
  if (info.dwItemData & 1) {
    if (virtual_.choose) {
      auto choose = virtual_.choose;
      choose(static_cast<int>(info.dwItemData >> 1));
    }
    return true;
  }
  return Run(reinterpret_cast<Row*>(info.dwItemData));
}

bool Menu::DispatchCommand(int commandId) {
  auto it = by_id_.find(commandId);
  if (it == by_id_.end()) return false;
  return Run(it->second);
}

void Menu::Popup(HWND owner, int x, int y) {
  if (deferred_ && dirty_) Materialize();
  // The owner must be in the foreground, or the menu does not close when the user clicks elsewhere.
  SetForegroundWindow(owner);
  TrackPopupMenuEx(root_menu_, TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, owner, nullptr);
  PostMessageW(owner, WM_NULL, 0, 0);
}

}  // namespace gui
