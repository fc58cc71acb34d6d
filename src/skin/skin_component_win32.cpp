// The skin component's Windows side: joining the manager after the form is read, the
// system's menu font, wide text drawing and the caption-button hint.
#include "gui/wide.h"
#include "skin/skin_engine_win32.h"

namespace skin {

void LoadedSkinData(TSkinData& data) {
  // Without GetScrollBarInfo the scroll-bar painters cannot work.
  if (!GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetScrollBarInfo")) data.SkinControls.Exclude(xcScrollbar);
  TSkinManage& manager = TSkinManage::Instance();
  manager.AddSkinData(data);
  if (data.SkinFormtype != sfMainform) return;
  manager.InstallHook();
  if (data.Active()) {
    if (data.Loading()) data.SetActive(false);
    else manager.PostAction(SkinAction::SkinAll, kSkinActionDelayMs);
  }
  // A skinned bar draws its drop-downs' rows itself; otherwise the system menu is not skinned.
  if (data.SkinControls.Has(xcMainMenu)) data.SkinControls.Exclude(xcMenuItem);
  else data.SkinControls.Exclude(xcSystemMenu);
}

HFONT SystemMenuFont() {
  static HFONT font = [] {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    return CreateFontIndirectW(&metrics.lfMenuFont);
  }();
  return font;
}

int DrawTextWide(HDC dc, const std::u16string& text, RECT& rect, UINT flags) {
  return DrawTextW(dc, gui::W(text), static_cast<int>(text.size()), &rect, flags);
}

unicode::TUniCustomHintWindow& CaptionHint() {
  static unicode::TUniCustomHintWindow hint;
  return hint;
}

}  // namespace skin
