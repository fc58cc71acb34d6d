// What the options dialog needs of the main window: the settings variables, the menu rows
// that show them, the switch handlers, the application's title and icon, the tray icon, the
// paste position and the open dialog. The main window implements it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "windows/options_rules.h"

namespace windows {

// The main window's menu rows that the dialog reads, checks or renames.
enum class OptionsRow {
  kaiqigudinkuaijie, lianxvniantie, lianxvfuzi, zidongtiaodao, xiansituopan,
  menucangdu, menurejiandinyi, menutiaogeseziwei, xiayistep,
};

class OptionsHost {
 public:
  virtual ~OptionsHost() = default;

  virtual OptionsValues OptionValues() const = 0;
  virtual void SetOptionValues(const OptionsValues& values) = 0;
  virtual std::u16string BaseDirectory() const = 0;

  virtual bool RowChecked(OptionsRow row) const = 0;
  virtual void SetRowChecked(OptionsRow row, bool checked) = 0;
  virtual void SetRowCaption(OptionsRow row, std::u16string_view caption) = 0;

  virtual void kaiqigudinkuaijieClick() = 0;
  virtual void lianxvniantieClick() = 0;
  virtual void lianxvfuziClick() = 0;
  virtual void zidongtiaodaoClick() = 0;

  // The application title and the main window's caption.
  virtual void SetApplicationTitle(std::u16string_view title) = 0;
  // The application's and the main window's icon from an icon file (already checked to load).
  virtual void SetApplicationIcon(const std::u16string& iconFile) = 0;

  // The tray icon (TTrayIcon's ShowIcon, HideIcon, Hint, UseAppIcon, AutoHide).
  virtual void TrayShowIcon() = 0;
  virtual void TrayHideIcon() = 0;
  virtual void TraySetHint(std::u16string_view hint) = 0;
  virtual void TraySetUseAppIcon(bool use) = 0;
  virtual void TraySetAutoHide(bool autoHide) = 0;

  // The history list's selected row (-1: none) and the row the next continuous paste sends.
  virtual int SelectedListRow() const = 0;
  virtual int CurrentPastePosition() const = 0;
  virtual void SetPastePosition(int position) = 0;

  // The main window's open dialog with this filter ("name|pattern") and folder; the chosen
  // file, or nullopt. Afterwards the dialog is back at its folder and filter for lists.
  virtual std::optional<std::u16string> BrowseForFile(std::u16string_view filter, std::u16string_view folder) = 0;
};

}  // namespace windows
