#include "app/snapshot/snapshot_formats.h"

namespace app::clipformat {

bool ClipboardFormatHoldsData(std::uint32_t id) {
  switch (id) {
    case kBitmap:
    case kMetafilePict:
    case kPalette:
    case kEnhMetafile:
    case kOwnerDisplay:
    case kDspText:
    case kDspBitmap:
    case kDspMetafilePict:
    case kDspEnhMetafile:
      return false;
    default:
      break;
  }
  if (id >= kPrivateFirst && id <= kGdiObjLast) return false;  // the private and GDI-object ranges meet
  return id != 0 && id <= 0xFFFF;
}

bool SnapshotRecordRestorable(std::uint32_t id, bool has_name) {
  if (has_name) return true;
  return id < kRegisteredFirst && ClipboardFormatHoldsData(id);
}

}  // namespace app::clipformat
