// Pictures of the view: where a picture's bytes come from (a local file or a data: address,
// never a network), what its header says about its size, and the size it is shown at. All
// of it reads outside data and is bounded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace htmledit {

// The most bytes a picture may have (a file or a data: address's content).
inline constexpr size_t kMaxPictureBytes = size_t{16} << 20;
// The most pixels a picture's frames may hold together before anything decodes them.
inline constexpr uint64_t kMaxDecodedPixels = uint64_t{4096} * 4096;
// The largest picture shown: bigger ones are scaled down, keeping their proportions.
inline constexpr int kMaxShownSide = 4096;
inline constexpr int64_t kMaxShownPixels = int64_t{2048} * 1024;

struct PictureSource {
  enum class Kind { None, File, Bytes };
  Kind kind = Kind::None;
  std::u16string path;  // File: a local path (never a network path)
  std::string bytes;    // Bytes: the content of a data: address
};

// Where the picture of an IMG's src comes from. Relative addresses are resolved against
// base (a file URL or a local path; one that ends with a separator names a folder);
// network addresses, network paths, other schemes and undecodable data: addresses give None.
PictureSource ResolvePictureSource(std::u16string_view src, std::u16string_view base);

// The content of a data: address ("data:[type][;base64],data"), percent escapes decoded;
// nullopt when it is none or would exceed maxBytes.
std::optional<std::string> DecodeDataUrl(std::u16string_view url, size_t maxBytes = kMaxPictureBytes);

enum class PictureFormat { Png, Jpeg, Gif, Bmp };

struct PictureHeader {
  PictureFormat format = PictureFormat::Png;
  int width = 0, height = 0;
  uint64_t decodedPixels = 0;  // what decoding every frame takes (GIF: all frames and the screen)
};

// The format and size a picture's header declares: PNG, JPEG, GIF and BMP only; nullopt for
// anything else, a cut header or a size of 0 or beyond 65535 pixels a side.
std::optional<PictureHeader> ReadPictureHeader(std::string_view bytes);

struct PictureSize {
  int width = 0, height = 0;
  bool operator==(const PictureSize&) const = default;
};

// The size a picture of natural size w × h is shown at: its width and height attributes in
// pixels (one of them alone keeps the proportions; percentages and other text are ignored),
// else its own size; never above kMaxShownSide a side or kMaxShownPixels, never below 1.
PictureSize ShownPictureSize(std::u16string_view widthAttr, std::u16string_view heightAttr, int w, int h);

}  // namespace htmledit
