// The whole skin load chain as hostile input. The first byte picks where the rest enters:
// 0 a .skn file (LZHUF, archive, INI, model, bitmaps), 1 an unpacked archive (packed here,
// so that the fuzzer reaches the archive, INI and bitmap readers without fighting the
// compressor), 2 a bitmap file. Whatever comes in, loading answers, never crashes, and a
// refused file leaves the model that was there.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "skin/bmp_reader.h"
#include "skin/skin_archive_writer.h"
#include "skin/skin_data.h"

namespace {
void Require(bool condition) {
  if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::vector<uint8_t> rest(data + 1, data + size);
  if (data[0] == 2) {
    const skin::Bitmap24 b = skin::ReadBmp(rest.data(), rest.size());
    Require(b.Empty() || static_cast<int64_t>(b.Width()) * b.Height() <= skin::kMaxBmpPixels);
    return 0;
  }
  skin::TSkinData data_;
  data_.SkinStream = unicode::TMemoryStream(data[0] == 1 ? skin::PackSkinFile(rest) : rest);
  const bool read = data_.ReadSkin();
  Require(read != data_.Loading());
  if (!read) Require(data_.Model().SkinName.empty() && data_.Model().SysButtons.empty());
  for (const skin::TDataSkinObject* o : skin::AllObjects(data_.Model())) {
    Require(o->FrameCount >= 1);
    Require(o->Margins.Left >= 0 && o->Margins.Top >= 0 && o->Margins.Right >= 0 && o->Margins.Bottom >= 0);
  }
  return 0;
}
