// A one-line edit box of the system's EDIT class. OnKeyPress sees every typed character
// before the box does and may drop it (set it to 0); OnChange runs after each change of the
// text, typed or set.
#pragma once

#include <functional>

#include "gui/control.h"

namespace gui {

class Edit : public Control {
 public:
  void Create(HWND parent, const ControlSpec& desc, HFONT font);
  bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  // Characters the box takes at most (0: no limit of ours).
  void SetMaxLength(int length);

  std::function<void(char16_t& key)> OnKeyPress;
  std::function<void()> OnChange;

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data);
};

// The key filter of the number fields: Backspace and the digits pass, any other character
// is dropped.
void DigitsOnly(char16_t& key);

}  // namespace gui
