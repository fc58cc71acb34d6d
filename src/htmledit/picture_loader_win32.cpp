#include "htmledit/picture_loader_win32.h"

#include <windows.h>
#include <wincodec.h>

#include <optional>
#include <vector>

#include "htmledit/com_ref_win32.h"
#include "htmledit/file_replace_win32.h"
#include "htmledit/picture_source.h"
#include "htmledit/rtf_view.h"

namespace htmledit {

namespace {

// What the remembered pictures may take together; beyond it the oldest set is forgotten.
constexpr size_t kMaxCachedBytes = size_t{96} << 20;

// Releases a COM reference at the end of its scope.
template <class T>
struct Held {
  T* p = nullptr;
  ~Held() { ReleaseAndClear(p); }
  T** Out() { return &p; }
  T* operator->() const { return p; }
};

std::optional<ViewPicture> Decode(IWICImagingFactory* factory, const std::string& bytes, const PictureRef& ref) {
  // The header first: a picture that declares more pixels than the bound is never decoded.
  const std::optional<PictureHeader> header = ReadPictureHeader(bytes);
  if (!header || header->decodedPixels > kMaxDecodedPixels) return std::nullopt;
  Held<IWICStream> stream;
  if (FAILED(factory->CreateStream(stream.Out())) ||
      FAILED(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())),
                                          static_cast<DWORD>(bytes.size()))))
    return std::nullopt;
  Held<IWICBitmapDecoder> decoder;
  if (FAILED(factory->CreateDecoderFromStream(stream.p, nullptr, WICDecodeMetadataCacheOnDemand, decoder.Out())))
    return std::nullopt;
  Held<IWICBitmapFrameDecode> frame;
  UINT w = 0, h = 0;
  if (FAILED(decoder->GetFrame(0, frame.Out())) || FAILED(frame->GetSize(&w, &h))) return std::nullopt;
  if (w < 1 || h < 1 || uint64_t{w} * h > kMaxDecodedPixels) return std::nullopt;
  const PictureSize shown = ShownPictureSize(ref.width, ref.height, static_cast<int>(w), static_cast<int>(h));
  IWICBitmapSource* source = frame.p;
  Held<IWICBitmapScaler> scaler;
  if (shown.width != static_cast<int>(w) || shown.height != static_cast<int>(h)) {
    if (FAILED(factory->CreateBitmapScaler(scaler.Out()))) return std::nullopt;
    const UINT sw = static_cast<UINT>(shown.width), sh = static_cast<UINT>(shown.height);
    if (FAILED(scaler->Initialize(frame.p, sw, sh, WICBitmapInterpolationModeFant)) &&
        FAILED(scaler->Initialize(frame.p, sw, sh, WICBitmapInterpolationModeNearestNeighbor)))
      return std::nullopt;
    source = scaler.p;
  }
  Held<IWICFormatConverter> converter;
  if (FAILED(factory->CreateFormatConverter(converter.Out())) ||
      FAILED(converter->Initialize(source, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0,
                                   WICBitmapPaletteTypeCustom)))
    return std::nullopt;
  const UINT stride = static_cast<UINT>(shown.width) * 4;
  std::vector<uint8_t> pixels(static_cast<size_t>(stride) * static_cast<size_t>(shown.height));
  if (FAILED(converter->CopyPixels(nullptr, stride, static_cast<UINT>(pixels.size()), pixels.data())))
    return std::nullopt;
  return PictureOnWhite(shown.width, shown.height, pixels.data());
}

}  // namespace

PictureLoader::~PictureLoader() { ReleaseAndClear(factory_); }

void PictureLoader::Clear() {
  cache_.clear();
  cachedBytes_ = 0;
}

const std::string& PictureLoader::Rtf(const PictureRef& picture, const std::u16string& base) {
  std::u16string key = picture.src;
  key += u'\n';
  key += picture.width;
  key += u'\n';
  key += picture.height;
  key += u'\n';
  key += base;
  auto found = cache_.find(key);
  if (found != cache_.end()) return found->second;
  std::string rtf = Load(picture, base);
  const size_t cost = rtf.size() + key.size() * sizeof(char16_t);
  if (cachedBytes_ + cost > kMaxCachedBytes) Clear();
  cachedBytes_ += cost;
  return cache_.emplace(std::move(key), std::move(rtf)).first->second;
}

std::string PictureLoader::Load(const PictureRef& picture, const std::u16string& base) {
  PictureSource source = ResolvePictureSource(picture.src, base);
  if (source.kind == PictureSource::Kind::None) return {};
  if (source.kind == PictureSource::Kind::File && !ReadWholeFile(source.path, source.bytes, kMaxPictureBytes))
    return {};
  if (!factory_ && FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_IWICImagingFactory, reinterpret_cast<void**>(&factory_))))
    return {};
  const std::optional<ViewPicture> decoded = Decode(factory_, source.bytes, picture);
  return decoded ? PictureRtf(*decoded) : std::string();
}

}  // namespace htmledit
