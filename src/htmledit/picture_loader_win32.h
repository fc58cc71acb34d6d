// The pictures the view shows in place of IMG placeholders: a local file or a data: address
// (never anything from a network), checked by its header, decoded by the system's imaging
// component (PNG, JPEG, GIF and BMP; the first frame), sized as the page asks, as the view's
// RTF picture group. Pictures are remembered by address until Clear, failures included, so
// that each is read and decoded once per document.
#pragma once

#include <string>
#include <unordered_map>

#include "htmledit/body_text.h"

struct IWICImagingFactory;

namespace htmledit {

class PictureLoader {
 public:
  PictureLoader() = default;
  ~PictureLoader();
  PictureLoader(const PictureLoader&) = delete;
  PictureLoader& operator=(const PictureLoader&) = delete;

  // The picture's RTF group; empty when the placeholder stays (no such file, a damaged or
  // unknown picture, a network address). base: the address relative ones start from.
  const std::string& Rtf(const PictureRef& picture, const std::u16string& base);
  void Clear();

 private:
  std::string Load(const PictureRef& picture, const std::u16string& base);

  IWICImagingFactory* factory_ = nullptr;
  std::unordered_map<std::u16string, std::string> cache_;
  size_t cachedBytes_ = 0;
};

}  // namespace htmledit
