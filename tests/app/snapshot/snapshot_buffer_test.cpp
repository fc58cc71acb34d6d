// The shared snapshot buffer: an exact, independent copy of the bytes it was made from, read
// through the same span interface as the codec's vectors.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "app/snapshot/snapshot_buffer.h"
#include "app/snapshot/snapshot_stream.h"

namespace app {
namespace {

TEST(SnapshotBuffer, HoldsAnExactIndependentCopy) {
  std::vector<std::uint8_t> source(70000);
  for (std::size_t i = 0; i < source.size(); ++i) source[i] = static_cast<std::uint8_t>(i * 7 + 3);
  const SharedSnapshot buffer = SnapshotBuffer::Make(source);
  const std::vector<std::uint8_t> expected = source;
  source.assign(source.size(), 0xEE);  // the caller's bytes change afterwards

  ASSERT_EQ(buffer->size(), expected.size());
  EXPECT_FALSE(buffer->empty());
  EXPECT_EQ(std::vector<std::uint8_t>(buffer->begin(), buffer->end()), expected);
  const std::span<const std::uint8_t> view = *buffer;
  EXPECT_EQ(view.data(), buffer->data());
  EXPECT_EQ(view.size(), expected.size());

  // Two buffers made from the same bytes do not share storage.
  const SharedSnapshot other = SnapshotBuffer::Make(expected);
  EXPECT_NE(other->data(), buffer->data());
  EXPECT_TRUE(std::equal(other->begin(), other->end(), buffer->begin(), buffer->end()));
}

TEST(SnapshotBuffer, EmptyBytesGiveAnEmptyBuffer) {
  const SharedSnapshot buffer = SnapshotBuffer::Make({});
  ASSERT_NE(buffer, nullptr);
  EXPECT_TRUE(buffer->empty());
  EXPECT_EQ(buffer->size(), 0u);
  EXPECT_EQ(buffer->begin(), buffer->end());
  EXPECT_TRUE(buffer->span().empty());
}

TEST(SnapshotBuffer, TheCodecReadsItAsAStream) {
  const std::vector<std::uint8_t> text{'h', 'i', 0};
  const SnapshotFormat record{13, "", text};
  const SharedSnapshot stream = SnapshotBuffer::Make(EncodeSnapshot({&record, 1}));
  const DecodedSnapshot decoded = DecodeSnapshot(*stream);
  ASSERT_EQ(decoded.formats.size(), 1u);
  EXPECT_EQ(decoded.formats[0].id, 13);
  EXPECT_EQ(decoded.formats[0].data.data(), stream->data() + (stream->size() - 1 - text.size()));
  EXPECT_EQ(decoded.length, stream->size());
  EXPECT_TRUE(ValidateSnapshot(*stream).valid);
}

TEST(SnapshotBuffer, BytesLiveAsLongAsAnyOwner) {
  std::weak_ptr<const SnapshotBuffer> watch;
  SharedSnapshot kept;
  {
    const std::vector<std::uint8_t> bytes(5000, 0x5A);
    SharedSnapshot first = SnapshotBuffer::Make(bytes);
    watch = first;
    kept = first;
  }
  ASSERT_FALSE(watch.expired());
  EXPECT_EQ(std::count(kept->begin(), kept->end(), 0x5A), 5000);
  kept.reset();
  EXPECT_TRUE(watch.expired());
}

}  // namespace
}  // namespace app
