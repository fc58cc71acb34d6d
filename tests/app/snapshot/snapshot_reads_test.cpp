// What a snapshot keeps when its reads stopped early (a clipboard owner rendered too late):
// the formats read, in their order, and always the text.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "app/snapshot/snapshot_formats.h"
#include "app/snapshot/snapshot_reads.h"

namespace app {
namespace {

ReadFormat Format(std::int32_t id, std::string name, std::vector<std::uint8_t> data) {
  return ReadFormat{id, std::move(name), std::move(data)};
}

std::vector<std::int32_t> Ids(const SnapshotBytes& stream) {
  std::vector<std::int32_t> ids;
  for (const SnapshotFormat& format : DecodeSnapshot(stream).formats) ids.push_back(format.id);
  return ids;
}

constexpr std::int32_t kUnicode = static_cast<std::int32_t>(clipformat::kUnicodeText);
constexpr std::int32_t kLocale = 16;
constexpr std::int32_t kHtml = 0xC100;

TEST(SnapshotReads, TheTextIsKeptInItsPlaceOrAfterTheFormatsReadBeforeTheReadsStopped) {
  const ReadFormat text = Format(kUnicode, "", {'h', 0, 'i', 0, 0, 0});

  SnapshotReads stoppedEarly;
  stoppedEarly.SetText(text);
  stoppedEarly.Add(Format(kHtml, "HTML Format", {'<', 'b', '>'}));
  EXPECT_EQ(Ids(stoppedEarly.Kept()), (std::vector<std::int32_t>{kHtml, kUnicode}));
  const SnapshotBytes kept = stoppedEarly.Kept();
  EXPECT_EQ(UnicodeTextUpToZero(DecodeSnapshot(kept).formats.back().data), u"hi");

  SnapshotReads whole;
  whole.SetText(text);
  whole.Add(Format(kHtml, "HTML Format", {'<', 'b', '>'}));
  whole.AddText();
  whole.Add(Format(kLocale, "", {4, 8, 0, 0}));
  EXPECT_EQ(Ids(whole.Kept()), (std::vector<std::int32_t>{kHtml, kUnicode, kLocale}));

  // A clipboard without text keeps what was read; formats without data leave no record.
  SnapshotReads picture;
  picture.Add(Format(8, "", {1, 2, 3}));
  picture.Add(Format(kLocale, "", {}));
  EXPECT_EQ(Ids(picture.Kept()), (std::vector<std::int32_t>{8}));
}

}  // namespace
}  // namespace app
