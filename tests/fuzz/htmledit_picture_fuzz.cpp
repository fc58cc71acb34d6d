// Pictures of the view as hostile input: the same bytes read as a picture header and, as
// UTF-16, as an IMG's src and size attributes. Declared sizes stay in bounds, data: addresses
// never decode beyond their limit, and no address resolves to a network path.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "htmledit/picture_source.h"
#include "htmledit/rtf_view.h"

using namespace htmledit;

namespace {
void Require(bool condition) {
  if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (const auto header = ReadPictureHeader(bytes)) {
    Require(header->width >= 1 && header->width <= 65535 && header->height >= 1 && header->height <= 65535);
    Require(header->decodedPixels >= uint64_t(header->width) * uint64_t(header->height));
  }
  std::u16string text(size / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  const size_t cut = text.find(u'\n');
  const std::u16string_view src = std::u16string_view(text).substr(0, cut);
  const std::u16string_view base = cut == std::u16string::npos ? std::u16string_view() : std::u16string_view(text).substr(cut + 1);
  const PictureSource source = ResolvePictureSource(src, base);
  if (source.kind == PictureSource::Kind::File)
    Require(source.path.size() >= 3 && source.path[1] == u':' && source.path[2] == u'\\');
  Require(source.bytes.size() <= kMaxPictureBytes);
  if (const auto decoded = DecodeDataUrl(src, 64)) Require(decoded->size() <= 64);

  const int naturalWidth = size ? 1 + data[0] * 300 : 1;
  const int naturalHeight = static_cast<int>(1 + size % 1000 * 97);
  const PictureSize shown = ShownPictureSize(src, base, naturalWidth, naturalHeight);
  Require(shown.width >= 1 && shown.height >= 1 && shown.width <= kMaxShownSide && shown.height <= kMaxShownSide);
  Require(int64_t(shown.width) * shown.height <= kMaxShownPixels);
  if (size >= 2 && shown.width <= 64 && shown.height <= 64) {
    std::string pixels(size_t(shown.width) * shown.height * 4, char(data[1]));
    const ViewPicture p = PictureOnWhite(shown.width, shown.height, reinterpret_cast<const uint8_t*>(pixels.data()));
    Require(p.bits.size() == size_t((shown.width * 3 + 3) & ~3) * shown.height);
    Require(!PictureRtf(p).empty());
  }
  return 0;
}
