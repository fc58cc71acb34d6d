// The hex editor's own exception class; its messages are English, as every component
// library's are. The windows that use the editor report them in Chinese.
#pragma once

#include <stdexcept>
#include <string>

namespace hexedit {

class EHexEditor : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The message texts, used by several files.
inline constexpr const char* kOutOfBounds = "Data position/length out of data bounds";
inline constexpr const char* kCannotUpdateUndo = "Cannot update undo storage";

}  // namespace hexedit
