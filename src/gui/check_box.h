// A check box of the system's BUTTON class. OnClick runs when the user flips it; SetChecked
// changes the mark without running anything.
#pragma once

#include <functional>

#include "gui/control.h"

namespace gui {

class CheckBox : public Control {
 public:
  void Create(HWND parent, const ControlSpec& desc, HFONT font);
  bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  bool Checked() const;
  void SetChecked(bool checked);
  std::function<void()> OnClick;
};

// A frame with a caption around other controls (which are children of the same window).
class GroupBox : public Control {
 public:
  void Create(HWND parent, const ControlSpec& desc, HFONT font);
};

}  // namespace gui
