#include "gui/page_control.h"

#include <commctrl.h>

#include "gui/wide.h"

namespace gui {

PageControl::~PageControl() {
  pages_.clear();
  if (images_) ImageList_Destroy(images_);
}

void PageControl::Create(HWND parent, const ControlSpec& desc, HFONT font) {
  ControlSpec s = desc;
  s.style |= WS_TABSTOP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | TCS_FOCUSONBUTTONDOWN;
  CreateAs(WC_TABCONTROLW, parent, s, font);
}

bool PageControl::OnReflected(UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
  if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lp)->code == TCN_SELCHANGE) {
    ShowActivePage();
    if (OnChange) OnChange();
    result = 0;
    return true;
  }
  return false;
}

Panel& PageControl::AddPage(std::u16string_view caption) {
  const std::u16string text(caption);
  TCITEMW item{};
  item.mask = TCIF_TEXT | TCIF_IMAGE;
  item.pszText = const_cast<wchar_t*>(W(text));
  item.iImage = -1;
  const int index = static_cast<int>(pages_.size());
  SendMessageW(hwnd_, TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));

  const RECT area = PageArea();
  auto page = std::make_unique<Panel>();
  ControlSpec place;
  place.left = area.left;
  place.top = area.top;
  place.width = area.right - area.left;
  place.height = area.bottom - area.top;
  page->Create(hwnd_, place, reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0)));
  pages_.push_back(std::move(page));
  ShowActivePage();
  return *pages_.back();
}

RECT PageControl::PageArea() const {
  RECT area{};
  GetClientRect(hwnd_, &area);
  SendMessageW(hwnd_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  return area;
}

void PageControl::FitPages() {
  const RECT area = PageArea();
  for (auto& page : pages_) page->SetBounds(area.left, area.top, area.right - area.left, area.bottom - area.top);
}

int PageControl::ActivePageIndex() const { return static_cast<int>(SendMessageW(hwnd_, TCM_GETCURSEL, 0, 0)); }

void PageControl::SetActivePageIndex(int index) {
  SendMessageW(hwnd_, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  ShowActivePage();
}

void PageControl::ShowActivePage() {
  const int active = ActivePageIndex();
  for (size_t i = 0; i < pages_.size(); ++i) pages_[i]->SetVisible(static_cast<int>(i) == active);
}

void PageControl::AddImage(HICON icon) {
  if (!images_) {
    images_ = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1);
    SendMessageW(hwnd_, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_));
  }
  ImageList_AddIcon(images_, icon);
}

void PageControl::SetTabImage(int tab, int image) {
  TCITEMW item{};
  item.mask = TCIF_IMAGE;
  item.iImage = image;
  SendMessageW(hwnd_, TCM_SETITEMW, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&item));
}

int PageControl::TabImage(int tab) const {
  TCITEMW item{};
  item.mask = TCIF_IMAGE;
  if (!SendMessageW(hwnd_, TCM_GETITEMW, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&item))) return -1;
  return item.iImage;
}

}  // namespace gui
