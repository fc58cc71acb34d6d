#include "windows/pictures/picture_files.h"

namespace windows {

NumberedSave SaveUnderFirstFreeNumber(const std::function<bool(int)>& exists,
                                      const std::function<PlaceOutcome(int)>& place) {
  NumberedSave save;
  for (int n = 1; n <= kMaxPictureNumber; ++n) {
    if (exists(n)) continue;
    switch (place(n)) {
      case PlaceOutcome::Placed:
        save.number = n;
        return save;
      case PlaceOutcome::Failed:
        save.failed = true;
        return save;
      case PlaceOutcome::Taken:
        break;  // taken meanwhile: the next number
    }
  }
  save.full = true;
  return save;
}

std::u16string WithPictureExtension(std::u16string_view name, int filterIndex) {
  const std::u16string_view ext = IsJpegFilter(filterIndex) ? u".jpg" : u".bmp";
  std::u16string result(name);
  if (result.size() >= ext.size()) {
    bool same = true;
    for (std::size_t i = 0; i < ext.size(); ++i) {
      char16_t c = result[result.size() - ext.size() + i];
      if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
      same = same && c == ext[i];
    }
    if (same) return result;
  }
  return result + std::u16string(ext);
}

std::u16string ReplaceQuestion(std::u16string_view file) {
  return std::u16string(file) + u" 文件已经存在。\r\n是否替换？";
}

}  // namespace windows
