// Clipboard format numbers the snapshot code reasons about, as plain numbers so that the
// decisions stay portable (they equal the system's CF_* values).
#pragma once

#include <cstdint>

namespace app::clipformat {

inline constexpr std::uint32_t kText = 1;             // CF_TEXT
inline constexpr std::uint32_t kBitmap = 2;           // CF_BITMAP
inline constexpr std::uint32_t kMetafilePict = 3;     // CF_METAFILEPICT
inline constexpr std::uint32_t kOemText = 7;          // CF_OEMTEXT
inline constexpr std::uint32_t kPalette = 9;          // CF_PALETTE
inline constexpr std::uint32_t kUnicodeText = 13;     // CF_UNICODETEXT
inline constexpr std::uint32_t kEnhMetafile = 14;     // CF_ENHMETAFILE
inline constexpr std::uint32_t kOwnerDisplay = 0x80;  // CF_OWNERDISPLAY
inline constexpr std::uint32_t kDspText = 0x81;       // CF_DSPTEXT
inline constexpr std::uint32_t kDspBitmap = 0x82;     // CF_DSPBITMAP
inline constexpr std::uint32_t kDspMetafilePict = 0x83;
inline constexpr std::uint32_t kDspEnhMetafile = 0x8E;
inline constexpr std::uint32_t kPrivateFirst = 0x200;  // CF_PRIVATEFIRST..LAST: handles private to the owner
inline constexpr std::uint32_t kPrivateLast = 0x2FF;
inline constexpr std::uint32_t kGdiObjFirst = 0x300;   // CF_GDIOBJFIRST..LAST: GDI objects
inline constexpr std::uint32_t kGdiObjLast = 0x3FF;
inline constexpr std::uint32_t kRegisteredFirst = 0xC000;  // RegisterClipboardFormat numbers start here

// Whether a format's clipboard handle is a global memory block whose bytes mean the same
// after a restore. Bitmaps, palettes, metafiles, owner-display and private formats hold
// handles (or blocks that embed handles), which are dead once their owner lets them go.
bool ClipboardFormatHoldsData(std::uint32_t id);

// Whether a snapshot record can go back on the clipboard: a named record always can (its
// number is looked up again by name); an unnamed one only when it is a predefined data
// format. A registered number without a name would mean some other format today.
bool SnapshotRecordRestorable(std::uint32_t id, bool has_name);

}  // namespace app::clipformat
