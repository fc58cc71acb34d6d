#include "gui/menu.h"

#include <algorithm>
#include <stdexcept>

#include "gui/menu_glyphs.h"
#include "gui/menu_pages.h"
#include "gui/menu_row_painter.h"
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

// Item data of the rows that are no Row of their own: (row << 2) | 1 for a virtual row,
// (page << 2) | 3 for the row that opens a page. Row pointers are never odd.
constexpr ULONG_PTR kVirtualMark = 1;
constexpr ULONG_PTR kPageMark = 3;
ULONG_PTR VirtualData(int row) { return (static_cast<ULONG_PTR>(row) << 2) | kVirtualMark; }
ULONG_PTR PageData(int page) { return (static_cast<ULONG_PTR>(page) << 2) | kPageMark; }
bool IsVirtualData(ULONG_PTR data) { return (data & 1) != 0; }
bool IsPageData(ULONG_PTR data) { return (data & 3) == kPageMark; }
int IndexOfData(ULONG_PTR data) { return static_cast<int>(data >> 2); }

// Text taken from outside (history entries) is shown as typed: "&" is no mnemonic marker.
std::u16string EscapeAmpersands(std::u16string_view text) {
  std::u16string escaped;
  escaped.reserve(text.size());
  for (char16_t c : text) {
    escaped += c;
    if (c == u'&') escaped += u'&';
  }
  return escaped;
}

unicode::KeyboardLayoutNames LayoutNames(HKL layout) {
  unicode::KeyboardLayoutNames names;
  names.keyCharacter = [layout](uint8_t key) -> char16_t {
    const UINT c = MapVirtualKeyExW(key, MAPVK_VK_TO_CHAR, layout);
    if (c & 0x80000000u) return 0;  // a dead key
    return static_cast<char16_t>(c & 0xFFFF);
  };
  names.keyName = [layout](uint8_t key) -> std::u16string {
    const UINT scan = MapVirtualKeyExW(key, MAPVK_VK_TO_VSC, layout);
    wchar_t text[64] = {};
    const int length = GetKeyNameTextW(static_cast<LONG>(scan << 16), text, 64);
    return length > 0 ? U(std::wstring(text, static_cast<size_t>(length))) : std::u16string();
  };
  return names;
}

// A DC to measure rows on (WM_MEASUREITEM brings none).
HDC MeasureDC() {
  static HDC dc = CreateCompatibleDC(nullptr);
  return dc;
}

bool IsSeparator(const Menu::Row* row) { return !(row->flags & kMenuTextCaption) && IsSeparator(row->caption); }
// What the native menu shows: a text caption has its "&" doubled, so none marks an accelerator.
std::u16string NativeCaption(const Menu::Row* row) {
  return (row->flags & kMenuTextCaption) ? EscapeAmpersands(row->caption) : row->caption;
}
}  // namespace

UINT MenuChangedMessage() {
  static const UINT message = RegisterWindowMessageW(L"Quillora.MenuChanged");
  return message;
}

Menu::~Menu() {
  // A menu bar attached to a window is destroyed with the window; anything else is ours.
  if (root_menu_ && !(owner_ && IsWindow(owner_) && GetMenu(owner_) == root_menu_)) DestroyMenu(root_menu_);
  // Pages not in the native menu now are not destroyed with it; destroying one twice fails harmlessly.
  for (Page& page : pages_) {
    if (page.menu && IsMenu(page.menu)) DestroyMenu(page.menu);
  }
}

void Menu::Build(Kind kind, std::span<const MenuRowSpec> rows, int firstCommandId) {
  kind_ = kind;
  layout_ = GetKeyboardLayout(0);
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
    rows_.insert(raw);
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
  if (row->action || row->subMenu || IsSeparator(row)) return true;
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
  virtual_native_ = 0;  // the page rows went with the rest; the pages themselves are kept
  InsertAllNative(&root_);
  RefreshVirtualRows();
  dirty_ = false;
  materializing_ = false;
}

void Menu::SetVirtualRows(VirtualRows rows) {
  virtual_ = std::move(rows);
  dirty_ = true;
  stale_from_page_ = 0;
}

void Menu::InvalidateVirtualRows() {
  virtual_dirty_ = true;
  stale_from_page_ = 0;
}

void Menu::InvalidateVirtualRow(int row, bool shifted) {
  virtual_dirty_ = true;
  const int page = PageOfRow(std::max(row, 0), virtual_.pageSize);
  if (shifted) {
    stale_from_page_ = stale_from_page_ < 0 ? page : std::min(stale_from_page_, page);
  } else {
    stale_pages_.insert(page);
  }
}

int Menu::BuiltPageCount() const {
  return static_cast<int>(std::count_if(pages_.begin(), pages_.end(), [](const Page& p) { return p.built; }));
}

void Menu::MarkStalePages() {
  if (stale_from_page_ >= 0) {
    for (size_t p = static_cast<size_t>(stale_from_page_); p < pages_.size(); ++p) pages_[p].built = false;
  }
  for (int p : stale_pages_) {
    if (p >= 0 && static_cast<size_t>(p) < pages_.size()) pages_[static_cast<size_t>(p)].built = false;
  }
  stale_from_page_ = -1;
  stale_pages_.clear();
}

std::u16string Menu::VirtualText(int row) const { return EscapeAmpersands(virtual_.caption(row)); }

void Menu::InsertVirtualRow(HMENU menu, int position, int row) {
  const std::u16string text = VirtualText(row);
  MENUITEMINFOW info{sizeof info};
  info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_DATA | MIIM_STRING;
  info.fType = MFT_OWNERDRAW;
  info.fState = MFS_ENABLED;
  info.dwItemData = VirtualData(row);
  info.dwTypeData = const_cast<wchar_t*>(W(text));
  InsertMenuItemW(menu, static_cast<UINT>(position), TRUE, &info);
}

void Menu::InsertPageRow(int page, int count) {
  Page& p = pages_[static_cast<size_t>(page)];
  p.caption = virtual_.pageCaption ? virtual_.pageCaption(page, count) : std::u16string();
  MENUITEMINFOW info{sizeof info};
  info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_DATA | MIIM_STRING | MIIM_SUBMENU;
  info.fType = MFT_OWNERDRAW;
  info.fState = MFS_ENABLED;
  info.dwItemData = PageData(page);
  info.hSubMenu = p.menu;
  info.dwTypeData = const_cast<wchar_t*>(W(p.caption));
  InsertMenuItemW(root_menu_, static_cast<UINT>(GetMenuItemCount(root_menu_)), TRUE, &info);
  ++virtual_native_;
}

void Menu::RemoveVirtualNative() {
  // The virtual rows are the root menu's last items.
  for (; virtual_native_ > 0; --virtual_native_) {
    RemoveMenu(root_menu_, static_cast<UINT>(GetMenuItemCount(root_menu_) - 1), MF_BYPOSITION);
  }
}

// Brings the root menu's virtual part up to date with the source: flat rows are made anew
// (there are at most one page of them); in pages only the page rows that appear, go or change
// their caption are touched, and the pages that changed are marked to be built when they open.
void Menu::RefreshVirtualRows() {
  virtual_dirty_ = false;
  if (!virtual_.count || !virtual_.caption) return;
  const int count = virtual_.count();
  const bool paged = RowsArePaged(count, virtual_.pageSize);
  MarkStalePages();
  if (!paged) {
    RemoveVirtualNative();
    for (Page& page : pages_) DestroyMenu(page.menu);
    pages_.clear();
    int position = GetMenuItemCount(root_menu_);
    for (int i = 0; i < count; ++i) InsertVirtualRow(root_menu_, position++, i);
    virtual_native_ = count;
  } else {
    if (!shown_paged_) RemoveVirtualNative();
    const int pages = PageCount(count, virtual_.pageSize);
    while (virtual_native_ > pages) {
      RemoveMenu(root_menu_, static_cast<UINT>(GetMenuItemCount(root_menu_) - 1), MF_BYPOSITION);
      --virtual_native_;
    }
    while (static_cast<int>(pages_.size()) > pages) {
      DestroyMenu(pages_.back().menu);
      pages_.pop_back();
    }
    while (static_cast<int>(pages_.size()) < pages) pages_.push_back(Page{NewMenu(false), {}, false});
    const int firstPageRow = GetMenuItemCount(root_menu_) - virtual_native_;
    for (int p = 0; p < virtual_native_; ++p) {
      // Only the last page's range changes with the count; its row is renamed in place.
      std::u16string caption = virtual_.pageCaption ? virtual_.pageCaption(p, count) : std::u16string();
      Page& page = pages_[static_cast<size_t>(p)];
      if (caption == page.caption) continue;
      page.caption = std::move(caption);
      MENUITEMINFOW info{sizeof info};
      info.fMask = MIIM_STRING;
      info.dwTypeData = const_cast<wchar_t*>(W(page.caption));
      SetMenuItemInfoW(root_menu_, static_cast<UINT>(firstPageRow + p), TRUE, &info);
    }
    for (int p = virtual_native_; p < pages; ++p) InsertPageRow(p, count);
  }
  shown_count_ = count;
  shown_paged_ = paged;
}

void Menu::BuildPage(int page) {
  Page& p = pages_[static_cast<size_t>(page)];
  for (int i = GetMenuItemCount(p.menu) - 1; i >= 0; --i) RemoveMenu(p.menu, static_cast<UINT>(i), MF_BYPOSITION);
  // The rows the root menu promised, as far as the source still has them.
  const int count = std::min(shown_count_, virtual_.count());
  const int first = FirstRowOfPage(page, virtual_.pageSize);
  const int end = EndRowOfPage(page, count, virtual_.pageSize);
  for (int row = first; row < end; ++row) InsertVirtualRow(p.menu, row - first, row);
  p.built = true;
}

int Menu::PageOfMenu(HMENU menu) const {
  for (size_t p = 0; p < pages_.size(); ++p) {
    if (pages_[p].menu == menu) return static_cast<int>(p);
  }
  return -1;
}

// Every row of a popup menu, separators too, so that a skin draws them all; the bar's own items
// are drawn by the system, and its drop-downs' separators until a skin takes the drop-down.
bool Menu::OwnerDrawn(const Row* row) const {
  if (kind_ == Kind::Bar) return row->parent != &root_ && !IsSeparator(row);
  return true;
}

std::u16string Menu::NativeText(const Row* row) const {
  const bool barItem = kind_ == Kind::Bar && row->parent == &root_;
  const std::u16string shortcut = row->shortcut ? unicode::ShortCutToText(row->shortcut, LayoutNames(layout_)) : u"";
  return unicode::MenuRowText(NativeCaption(row), shortcut, row->subMenu != nullptr, barItem);
}

// What the native item says of the row; `text` must outlive the use of the result.
MENUITEMINFOW Menu::NativeInfo(Row* row, const std::u16string& text) const {
  MENUITEMINFOW info{sizeof info};
  info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
  info.fType = (IsSeparator(row) ? MFT_SEPARATOR : MFT_STRING) | (OwnerDrawn(row) ? MFT_OWNERDRAW : 0);
  if (row->flags & kMenuRadio) info.fType |= MFT_RADIOCHECK;
  info.fState = (row->checked ? MFS_CHECKED : 0) | (IsRowEnabled(row) ? MFS_ENABLED : MFS_GRAYED) |
                (row->isDefault ? MFS_DEFAULT : 0);
  info.dwTypeData = const_cast<wchar_t*>(W(text));
  return info;
}

void Menu::InsertNative(Row* row) {
  if (SkipNative()) return;
  // The row is already in its parent's list; its native position counts visible rows before it.
  const int position = PositionOf(row, false);
  const std::u16string text = NativeText(row);
  MENUITEMINFOW info = NativeInfo(row, text);
  info.fMask |= MIIM_ID | MIIM_DATA | MIIM_SUBMENU;
  info.wID = static_cast<UINT>(row->id);
  info.dwItemData = reinterpret_cast<ULONG_PTR>(row);
  info.hSubMenu = row->subMenu;
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
  const std::u16string text = NativeText(row);
  MENUITEMINFOW info = NativeInfo(row, text);
  SetMenuItemInfoW(row->parent->subMenu, static_cast<UINT>(PositionOf(row, true)), TRUE, &info);
  if (row->parent == &root_) Redraw();
}

void Menu::Redraw() {
  if (kind_ != Kind::Bar || !owner_ || !IsWindow(owner_)) return;
  if (GetMenu(owner_) == root_menu_) DrawMenuBar(owner_);
  else SendMessageW(owner_, MenuChangedMessage(), 0, reinterpret_cast<LPARAM>(root_menu_));
}

void Menu::Bind(std::u16string_view handler, std::function<void()> action) {
  const bool wasBound = IsBound(handler);
  handlers_[std::u16string(handler)] = std::move(action);
  if (!wasBound) RefreshRowsOf(handler);
}

bool Menu::IsBound(std::u16string_view handler) const { return handlers_.count(std::u16string(handler)) != 0; }

// Only the rows of the handler change their look, and the bar is drawn again only when one
// of its own items changed (UpdateNative): a window binds hundreds of handlers at its
// creation, and every redraw of a menu bar costs a frame change under Wine.
void Menu::RefreshRowsOf(std::u16string_view handler) {
  for (auto& [id, row] : by_id_) {
    (void)id;
    if (row->handler == handler) UpdateNative(row);
  }
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
                           bool subMenu, bool textCaption) {
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
  if (textCaption) row->flags |= kMenuTextCaption;
  if (subMenu) {
    row->subMenu = NewMenu(false);
    by_menu_[row->subMenu] = row.get();
  }
  Row* raw = row.get();
  rows_.insert(raw);
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
    rows_.erase(r);
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
  if (by_menu_.count(menu) == 0 && PageOfMenu(menu) < 0) return false;
  MENUITEMINFOW info{sizeof info};
  info.fMask = MIIM_DATA;
  if (!GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info)) return true;
  if (IsVirtualData(info.dwItemData)) {
    if (!IsPageData(info.dwItemData) && virtual_.choose) {
      auto choose = virtual_.choose;
      choose(IndexOfData(info.dwItemData));
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

void Menu::PrepareToShow() {
  if (deferred_ && dirty_) Materialize();
  else if (virtual_dirty_) RefreshVirtualRows();
}

void Menu::Popup(HWND owner, int x, int y) {
  PrepareToShow();
  // The owner must be in the foreground, or the menu does not close when the user clicks elsewhere.
  SetForegroundWindow(owner);
  tracking_ = true;
  TrackPopupMenuEx(root_menu_, TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, owner, nullptr);
  tracking_ = false;
  PostMessageW(owner, WM_NULL, 0, 0);
}

// ---- Owner drawing, shortcuts, the default row ------------------------------------------------

bool Menu::OwnsItemData(ULONG_PTR data) const {
  // Virtual rows are measured only while this menu is shown: no other menu can be open then.
  if (IsVirtualData(data)) return tracking_ && virtual_.caption != nullptr;
  return rows_.count(reinterpret_cast<const Row*>(data)) != 0;
}

void Menu::MeasureRow(MEASUREITEMSTRUCT& item) {
  MenuRowLook look;
  std::u16string caption, shortcut;
  if (IsPageData(item.itemData)) {
    caption = pages_.at(static_cast<size_t>(IndexOfData(item.itemData))).caption;
    look.opensSubMenu = true;
  } else if (IsVirtualData(item.itemData)) {
    caption = VirtualText(IndexOfData(item.itemData));
    look.imageIndex = virtual_.imageIndex;
  } else {
    const Row* row = reinterpret_cast<const Row*>(item.itemData);
    caption = NativeCaption(row);
    if (row->shortcut && !row->subMenu) shortcut = unicode::ShortCutToText(row->shortcut, LayoutNames(layout_));
    look.imageIndex = row->imageIndex;
    look.isDefault = row->isDefault;
    look.separator = IsSeparator(row);
    look.opensSubMenu = row->subMenu != nullptr;
  }
  look.caption = caption;
  look.shortcutText = shortcut;
  look.menuHasImages = has_images_;
  const SIZE size = CurrentMenuRowPainter().Measure(MeasureDC(), look);
  item.itemWidth = static_cast<UINT>(size.cx);
  item.itemHeight = static_cast<UINT>(size.cy);
}

void Menu::DrawRow(const DRAWITEMSTRUCT& item) {
  MenuRowLook look;
  std::u16string caption, shortcut;
  if (IsPageData(item.itemData)) {
    const int page = IndexOfData(item.itemData);
    if (page < 0 || static_cast<size_t>(page) >= pages_.size()) return;
    caption = pages_[static_cast<size_t>(page)].caption;
    look.opensSubMenu = true;
  } else if (IsVirtualData(item.itemData)) {
    const int row = IndexOfData(item.itemData);
    if (!virtual_.count || row >= virtual_.count()) return;
    caption = VirtualText(row);
    look.imageIndex = virtual_.imageIndex;
  } else {
    const Row* row = reinterpret_cast<const Row*>(item.itemData);
    if (!rows_.count(row)) return;
    caption = NativeCaption(row);
    if (row->shortcut && !row->subMenu) shortcut = unicode::ShortCutToText(row->shortcut, LayoutNames(layout_));
    look.imageIndex = row->imageIndex;
    look.radio = (row->flags & kMenuRadio) != 0;
    look.opensSubMenu = row->subMenu != nullptr;
    look.separator = IsSeparator(row);
  }
  look.caption = caption;
  look.shortcutText = shortcut;
  look.checked = (item.itemState & ODS_CHECKED) != 0;
  look.isDefault = (item.itemState & ODS_DEFAULT) != 0;
  look.grayed = (item.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
  look.selected = (item.itemState & ODS_SELECTED) != 0;
  look.hidePrefix = (item.itemState & ODS_NOACCEL) != 0;
  CurrentMenuRowPainter().Draw(item.hDC, item.rcItem, look);
}

// A menu about to open under another keyboard layout than its shortcut texts were made for
// gets them anew.
void Menu::FollowKeyboardLayout() {
  const HKL now = GetKeyboardLayout(0);
  if (now == layout_) return;
  layout_ = now;
  for (const Row* row : rows_) {
    if (row->shortcut) UpdateNative(const_cast<Row*>(row));
  }
}

bool Menu::HandleOwnerMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_MENUCOMMAND:
      if (!DispatchMenuCommand(reinterpret_cast<HMENU>(lp), static_cast<int>(wp))) return false;
      result = 0;
      return true;
    case WM_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      if (item->CtlType != ODT_MENU || !OwnsItemData(item->itemData)) return false;
      MeasureRow(*item);
      result = TRUE;
      return true;
    }
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      const HMENU menu = reinterpret_cast<HMENU>(item->hwndItem);
      if (item->CtlType != ODT_MENU || (by_menu_.count(menu) == 0 && PageOfMenu(menu) < 0)) return false;
      DrawRow(*item);
      result = TRUE;
      return true;
    }
    case WM_INITMENUPOPUP: {
      const HMENU menu = reinterpret_cast<HMENU>(wp);
      const int page = PageOfMenu(menu);
      if (by_menu_.count(menu) == 0 && page < 0) return false;
      FollowKeyboardLayout();
      if (page >= 0 && !pages_[static_cast<size_t>(page)].built) BuildPage(page);
      result = 0;
      return true;
    }
    default:
      return false;
  }
}

void Menu::SetRowImage(Row* row, int imageIndex) {
  row->imageIndex = imageIndex;
  UpdateNative(row);
}

void Menu::SetShortCut(std::u16string_view name, unicode::TShortCut shortcut) {
  Row& row = At(name);
  row.shortcut = shortcut;
  UpdateNative(&row);
}

std::u16string Menu::ShortCutText(std::u16string_view name) const {
  const Row& row = At(name);
  return row.shortcut ? unicode::ShortCutToText(row.shortcut, LayoutNames(layout_)) : u"";
}

void Menu::SetDefault(std::u16string_view name) {
  Row& row = At(name);
  for (auto& sibling : row.parent->children) {
    if (sibling->isDefault && sibling.get() != &row) {
      sibling->isDefault = false;
      UpdateNative(sibling.get());
    }
  }
  row.isDefault = true;
  UpdateNative(&row);
}

bool Menu::ClickDefaultRow() {
  for (auto& row : root_.children) {
    if (row->isDefault && row->visible && IsRowEnabled(row.get())) return Run(row.get());
  }
  return false;
}

}  // namespace gui
