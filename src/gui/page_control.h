// Tabbed pages on the system's tab control: each page is a panel inside the tab control,
// shown while its tab is chosen. OnChange runs after the user chose another tab; an
// image list gives tabs an icon.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>
#include <commctrl.h>

#include "gui/control.h"

namespace gui {

class PageControl : public Control {
 public:
  ~PageControl() override;
  void Create(HWND parent, const ControlSpec& desc, HFONT font);
  bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

  // Adds a tab with its page; returns the page, the parent of the page's controls.
  Panel& AddPage(std::u16string_view caption);
  int PageCount() const { return static_cast<int>(pages_.size()); }
  Panel& Page(int index) { return *pages_[static_cast<size_t>(index)]; }
  int ActivePageIndex() const;
  // Chooses a tab without running OnChange (as a program does).
  void SetActivePageIndex(int index);

  // The icons tabs can show (one image list, 16 x 16), and the icon of one tab (-1: none).
  void AddImage(HICON icon);
  void SetTabImage(int tab, int image);
  int TabImage(int tab) const;

  // After the control changed its size: the pages fill its display area again.
  void FitPages();

  std::function<void()> OnChange;

 private:
  RECT PageArea() const;
  void ShowActivePage();
  std::vector<std::unique_ptr<Panel>> pages_;
  HIMAGELIST images_ = nullptr;
};

}  // namespace gui
