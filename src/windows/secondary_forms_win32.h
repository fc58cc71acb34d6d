// The secondary windows, created after the main window (app/startup/secondary_windows_win32.h)
// and living for the whole run. Each hands itself to the main window's scaling routine while
// it is created (all but the about box). Their contents are built by the features that use them.
#pragma once

#include <functional>

#include "gui/form.h"

namespace windows {

// The main window's scaling routine, handed to every window that scales itself.
using ScaleRoutine = std::function<void(gui::Form&)>;

// A secondary window: a form of its own class whose creation runs the scaling routine.
class SecondaryForm : public gui::Form {
 public:
  SecondaryForm(gui::FormSpec desc, bool scaled) : desc_(std::move(desc)), scaled_(scaled) {}
  void Create(const ScaleRoutine& scale) {
    scale_ = scale;
    gui::Form::Create(desc_);
  }

 protected:
  void FormCreate() override {
    if (scaled_ && scale_) scale_(*this);
  }

 private:
  gui::FormSpec desc_;
  bool scaled_;
  ScaleRoutine scale_;
};

}  // namespace windows
