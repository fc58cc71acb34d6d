// A drop-down combo box for tool bars: an edit part that can show any text (a prompt such as
// "字体名称" when nothing of the list is chosen), a list that may be sorted, and handlers for
// a change (a row chosen or the text typed) and for the list closing.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "gui/control.h"

namespace gui {

class ToolComboBox : public Control {
 public:
  // dropDownHeight: the height of the open list.
  void Create(HWND parent, const ControlSpec& desc, HFONT font, bool sorted, int dropDownHeight = 240);
  bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

  void Clear();
  void AddItem(std::u16string_view text);
  // Replaces the rows at once (sorted when the box sorts).
  void SetItems(const std::vector<std::u16string>& items);
  int Count() const;
  std::u16string Item(int index) const;
  int IndexOf(std::u16string_view text) const;  // exact match, -1 when absent
  int ItemIndex() const;
  void SetItemIndex(int index);  // -1 chooses nothing
  // The text the box shows (a row's, or any other).
  std::u16string Text() const;
  void SetText(std::u16string_view text);

  std::function<void()> OnChange;
  std::function<void()> OnCloseUp;
};

}  // namespace gui
