// An up-down arrow pair of the system's class, attached to an edit box beside it (its
// buddy), which shows the position as a number. OnClick runs after an arrow moved it.
#pragma once

#include <functional>

#include "gui/control.h"

namespace gui {

class UpDown : public Control {
 public:
  // Created at the right edge of buddy, which it takes the height of.
  void Create(HWND parent, int id, HWND buddy, int min, int max);
  bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  int Min() const { return min_; }
  int Max() const { return max_; }
  // The position; the number the buddy shows, when it shows one within Min..Max.
  int Position() const;
  void SetPosition(int position);
  std::function<void()> OnClick;

 private:
  int min_ = 0, max_ = 100;
};

}  // namespace gui
