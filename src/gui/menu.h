// Menus built from tables (gui/menu_spec.h). A Menu owns a tree of rows that mirrors the
// Win32 menu: rows can be checked, greyed, hidden, renamed, added and removed at run time,
// and each row runs the handler bound to its handler name. Rows whose handler nobody bound
// are greyed, so a command that does not exist yet cannot be chosen.
//
// Menus are built with MNS_NOTIFYBYPOS, so a choice arrives as WM_MENUCOMMAND (menu handle
// and position): that reaches rows added at run time in any number. Rows from the tables
// also have a command id, so WM_COMMAND with that id (from other programs, or accelerators)
// works too.
//
// Every row of a popup menu (separators included) and of a bar's drop-downs (separators not) is
// owner-drawn by the current MenuRowPainter (gui/menu_row_painter.h), with its glyph and
// shortcut; the bar's own items are the system's. The caption stays the native item's text as
// well, for mnemonics, screen readers and other programs that read it.
// The owner window hands its menu messages to HandleOwnerMessage.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "gui/menu_spec.h"
#include "unicode/uni_menu_text.h"

namespace gui {

// Sent to the window of a menu bar that it no longer carries (a skin draws the bar) when the
// bar's items changed; lParam is the bar's menu handle.
UINT MenuChangedMessage();

class Menu {
 public:
  enum class Kind { Bar, Popup };
  struct Row;
  using RowRef = Row*;

  Menu() = default;
  ~Menu();
  Menu(const Menu&) = delete;
  Menu& operator=(const Menu&) = delete;

  // Builds the menu from a table; command ids of table rows start at firstCommandId.
  void Build(Kind kind, std::span<const MenuRowSpec> rows, int firstCommandId);
  HMENU Handle() const { return root_menu_; }
  Kind kind() const { return kind_; }

  // Binds a handler name; every row naming it becomes enabled (unless the design greys it).
  void Bind(std::u16string_view handler, std::function<void()> action);
  bool IsBound(std::u16string_view handler) const;

  // Rows by name. Find returns nullptr for an unknown name; the other calls throw std::out_of_range.
  Row* Find(std::u16string_view name) const;
  Row& At(std::u16string_view name) const;
  bool Checked(std::u16string_view name) const;
  void SetChecked(std::u16string_view name, bool checked);
  void SetEnabled(std::u16string_view name, bool enabled);
  bool Enabled(std::u16string_view name) const;
  void SetVisible(std::u16string_view name, bool visible);
  bool Visible(std::u16string_view name) const;
  void SetCaption(std::u16string_view name, std::u16string_view caption);
  std::u16string Caption(std::u16string_view name) const;

  // Rows added at run time below a sub-menu row (or below the menu itself when parent is nullptr).
  // index counts the parent's rows, visible or not; -1 appends. Returns the new row.
  // textCaption: the caption is a name shown as it stands (kMenuTextCaption).
  Row* InsertRow(Row* parent, int index, std::u16string_view caption, std::function<void()> action,
                 bool subMenu = false, bool textCaption = false);
  void RemoveRow(Row* row);
  // Removes the parent's rows from index first on (all of them when count is -1).
  void RemoveRows(Row* parent, int first, int count = -1);
  int RowCount(Row* parent) const;
  Row* RowAt(Row* parent, int index) const;
  int IndexOf(Row* row) const;
  void SetRowCaption(Row* row, std::u16string_view caption);
  void SetRowChecked(Row* row, bool checked);
  void SetRowEnabled(Row* row, bool enabled);
  void SetRowTag(Row* row, int tag);
  int RowTag(const Row* row) const;
  std::u16string RowCaption(const Row* row) const;

  // Runs the row chosen by WM_MENUCOMMAND / WM_COMMAND; false when the choice is not in this menu.
  bool DispatchMenuCommand(HMENU menu, int position);
  bool DispatchCommand(int commandId);

  // Shows the menu as a popup at screen coordinates; the choice is dispatched through owner,
  // which hands its menu messages to HandleOwnerMessage.
  void Popup(HWND owner, int x, int y);
  // Brings the native menu up to date with the rows (what Popup does before it shows it).
  void PrepareToShow();
  // Whether a right click on the control that owns this menu pops it up (on by default).
  bool AutoPopup() const { return auto_popup_; }
  void SetAutoPopup(bool on) { auto_popup_ = on; }

  // WM_MENUCOMMAND, WM_MEASUREITEM, WM_DRAWITEM and WM_INITMENUPOPUP of this menu's rows, as
  // the window that owns the menu receives them; false when the message is not this menu's.
  bool HandleOwnerMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

  // The picture in front of a row's caption (gui/menu_glyphs.h; -1 for none).
  void SetRowImage(Row* row, int imageIndex);
  // Whether the menu keeps pictures for its rows (an image list of the design); a skin's rows
  // leave less room in front of the caption for a menu that has them.
  void SetHasImages(bool hasImages) { has_images_ = hasImages; }
  // The row's shortcut, shown after a tab in the keyboard layout of the moment.
  void SetShortCut(std::u16string_view name, unicode::TShortCut shortcut);
  std::u16string ShortCutText(std::u16string_view name) const;
  // The default row (drawn bold; a double click on the tray icon runs it). One at most.
  void SetDefault(std::u16string_view name);
  // Runs the first row that is both the default and enabled; false when there is none.
  bool ClickDefaultRow();
  // The row's text as the native menu holds it (caption, tab, shortcut).
  std::u16string NativeText(const Row* row) const;

  // A deferred menu keeps its rows only as data and builds the native menu when it is shown.
  // Under Wine every native insertion copies the whole item array, so a menu that takes one
  // row per history entry (up to 100000) could not be kept up to date natively.
  void SetDeferred(bool deferred);

  // Rows of a deferred menu that are no data of their own: appended after the menu's own rows
  // when it is built, their count and captions asked of a source then, the choice handed back
  // by index. A menu with one row per history entry costs nothing per entry this way.
  // Above pageSize rows (0: never) the rows stand in sub-menus of pageSize rows each, captioned
  // by pageCaption; a page's native rows are built when it opens.
  struct VirtualRows {
    std::function<int()> count;
    std::function<std::u16string(int)> caption;
    std::function<void(int)> choose;
    int imageIndex = -1;
    int pageSize = 0;
    std::function<std::u16string(int page, int count)> pageCaption;
  };
  void SetVirtualRows(VirtualRows rows);
  // The source changed as a whole: the rows are built anew at the next show.
  void InvalidateVirtualRows();
  // One row of the source changed (shifted: rows were inserted or removed there, so every
  // row after it moved too): only the pages it touches are built anew.
  void InvalidateVirtualRow(int row, bool shifted);
  // Pages whose native rows exist now (for tests and measurements).
  int BuiltPageCount() const;

  struct Row {
    std::u16string name;
    std::u16string caption;
    std::u16string handler;
    unsigned flags = 0;
    int id = 0;
    int tag = 0;
    bool checked = false;
    bool designEnabled = true;
    bool enabled = true;
    bool visible = true;
    Row* parent = nullptr;
    HMENU subMenu = nullptr;  // for rows that open a sub-menu
    std::vector<std::unique_ptr<Row>> children;
    std::function<void()> action;  // rows added at run time
    int imageIndex = -1;
    unicode::TShortCut shortcut = 0;
    bool isDefault = false;
  };

 private:
  HMENU MenuOf(const Row* parent) const;
  int PositionOf(const Row* row, bool inNativeMenu) const;
  void InsertNative(Row* row);
  void RemoveNative(Row* row);
  void UpdateNative(Row* row);
  void RefreshRowsOf(std::u16string_view handler);
  bool IsRowEnabled(const Row* row) const;
  bool Run(Row* row);
  void Redraw();
  void Materialize();
  void InsertAllNative(Row* parent);
  bool SkipNative();
  bool OwnerDrawn(const Row* row) const;
  MENUITEMINFOW NativeInfo(Row* row, const std::u16string& text) const;
  void RemoveVirtualNative();
  void RefreshVirtualRows();
  void InsertVirtualRow(HMENU menu, int position, int row);
  void InsertPageRow(int page, int count);
  void BuildPage(int page);
  void MarkStalePages();
  int PageOfMenu(HMENU menu) const;
  bool OwnsItemData(ULONG_PTR data) const;
  std::u16string VirtualText(int row) const;
  void MeasureRow(MEASUREITEMSTRUCT& item);
  void DrawRow(const DRAWITEMSTRUCT& item);
  void FollowKeyboardLayout();

  Kind kind_ = Kind::Popup;
  Row root_;
  HMENU root_menu_ = nullptr;
  HWND owner_ = nullptr;
  bool deferred_ = false;
  bool dirty_ = false;
  bool materializing_ = false;
  VirtualRows virtual_;
  // The virtual rows the native menu shows: their count, whether in pages, how many native
  // items they take in the root menu, and the pages (built or not).
  struct Page {
    HMENU menu = nullptr;
    std::u16string caption;
    bool built = false;
  };
  int shown_count_ = 0;
  bool shown_paged_ = false;
  int virtual_native_ = 0;
  std::vector<Page> pages_;
  bool virtual_dirty_ = false;
  int stale_from_page_ = -1;          // pages from here on are out of date (-1: none)
  std::unordered_set<int> stale_pages_;
  bool tracking_ = false;             // shown by Popup now
  bool auto_popup_ = true;
  bool has_images_ = false;
  HKL layout_ = nullptr;              // the keyboard layout the shortcut texts were made for
  std::unordered_set<const Row*> rows_;
  std::unordered_map<std::u16string, Row*> by_name_;
  std::unordered_map<int, Row*> by_id_;
  std::map<HMENU, Row*> by_menu_;
  std::unordered_map<std::u16string, std::function<void()>> handlers_;

 public:
  // The window whose menu bar this is (DrawMenuBar after changes).
  void SetOwner(HWND owner) { owner_ = owner; }
};

}  // namespace gui
