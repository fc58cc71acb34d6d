// A drop-down list of the system's COMBOBOX class (the user picks, never types). OnSelect
// runs when the user picks an item; SetItemIndex changes the choice without running it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "gui/control.h"

namespace gui {

class ComboBox : public Control {
 public:
  // The list part drops down below the box by dropHeight pixels.
  void Create(HWND parent, const ControlSpec& desc, HFONT font, int dropHeight = 200);
  bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  void SetItems(const std::vector<std::u16string>& items);
  int ItemCount() const;
  std::u16string ItemText(int index) const;
  // -1: nothing chosen.
  int ItemIndex() const;
  void SetItemIndex(int index);
  std::function<void()> OnSelect;
};

}  // namespace gui
