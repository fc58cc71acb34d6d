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

// A frame with a caption around other controls (which are children of the same window and
// lie above it). It paints its own background, which the window beneath leaves out.
class GroupBox : public Control {
 public:
  void Create(HWND parent, const ControlSpec& desc, HFONT font);
  bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data);
};

}  // namespace gui
