// A hex editor model whose window effects are counted instead of carried out.
#pragma once

#include <string>

#include "hexedit/hex_editor_ex.h"

namespace hexedit {

class TestEditor : public THexEditorEx {
 public:
  int postedSelectionMessages = 0;
  int repaints = 0;
  using THexEditorEx::MoveCaret;

  // Delivers the posted selection-changed message, as the message loop would.
  void DeliverMessages() {
    if (postedSelectionMessages > delivered_) {
      delivered_ = postedSelectionMessages;
      SelectionMessageArrived();
    }
  }
  std::string Text() const {
    const Bytes& b = Data().Bytes();
    return std::string(b.begin(), b.end());
  }
  void Type(std::u16string_view text) {
    for (char16_t c : text) {
      KeyDown(c >= u'a' && c <= u'z' ? c - 32 : c, {});
      KeyPress(c);
    }
  }
  bool Key(int key, bool shift = false, bool ctrl = false) { return KeyDown(key, ShiftState{shift, ctrl, false}); }

 protected:
  void PostSelectionMessage() override { ++postedSelectionMessages; }
  void InvalidateView() override { ++repaints; }

 private:
  int delivered_ = 0;
};

inline Bytes BytesOf(std::string_view s) { return Bytes(s.begin(), s.end()); }

}  // namespace hexedit
