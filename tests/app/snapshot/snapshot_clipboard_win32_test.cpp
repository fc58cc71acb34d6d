// Snapshots of the real clipboard under Wine: save, change, restore, read back byte for byte.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/capture/clipboard_session_win32.h"
#include "app/snapshot/snapshot_clipboard_win32.h"
#include "app/snapshot/snapshot_formats.h"
#include "app/snapshot/snapshot_handlers_win32.h"
#include "app/snapshot/snapshot_stream.h"
#include "app/snapshot/snapshot_values.h"

namespace app {
namespace {

using Bytes = std::vector<std::uint8_t>;
using FormatData = std::pair<UINT, Bytes>;

Bytes Text(std::string_view s) { return Bytes(s.begin(), s.end()); }

Bytes Wide(std::u16string_view s) {
  Bytes out;
  for (char16_t c : s) {
    out.push_back(static_cast<std::uint8_t>(c & 0xFF));
    out.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return out;
}

class SnapshotClipboard : public ::testing::Test {
 protected:
  void SetUp() override {
    owner_ = CreateWindowExW(0, L"STATIC", L"snapshot test", 0, 0, 0, 10, 10, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(owner_, nullptr);
  }
  void TearDown() override { DestroyWindow(owner_); }

  void Put(const std::vector<FormatData>& formats) {
    ClipboardSession session(owner_, ClipboardWait{});
    ASSERT_TRUE(EmptyClipboard());
    for (const auto& [format, bytes] : formats) Clipboardbaocun::CopyStreamToClipboardFormat(format, bytes);
  }

  std::optional<Bytes> Read(UINT format) {
    ClipboardSession session(owner_, ClipboardWait{});
    return Clipboardbaocun::CopyClipboardFormatToStream(format);
  }

  static int FormatCount() {
    return CountClipboardFormats();
  }

  HWND owner_ = nullptr;
};

const SnapshotFormat* Find(const DecodedSnapshot& decoded, std::int32_t id) {
  for (const auto& f : decoded.formats)
    if (f.id == id) return &f;
  return nullptr;
}

Bytes AsBytes(std::span<const std::uint8_t> span) { return Bytes(span.begin(), span.end()); }

bool StartsWith(const Bytes& whole, const Bytes& prefix) {
  return whole.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), whole.begin());
}

TEST_F(SnapshotClipboard, EveryFormatComesBackByteForByte) {
  const UINT binary_format = RegisterClipboardFormatA("Quillora Test Binary");
  const UINT html_format = RegisterClipboardFormatA("HTML Format");
  ASSERT_GE(binary_format, clipformat::kRegisteredFirst);
  const Bytes text = Text(std::string("plain text\0", 11));
  const Bytes wide = Wide(std::u16string(u"中文 wide\0", 8));
  Bytes binary = {0x00, 0x00, 0x01, 0x00, 0xFF, 0xFE, 0x00, 0x7F};
  for (int i = 0; i < 3000; ++i) binary.push_back(static_cast<std::uint8_t>(i % 7 == 0 ? 0 : i));
  const Bytes html = Text(std::string(
      "Version:0.9\r\nStartHTML:00000097\r\nEndHTML:00000170\r\nStartFragment:00000131\r\nEndFragment:00000134\r\n"
      "<html><body><!--StartFragment--><b>x</b><!--EndFragment--></body></html>\0", 171));
  const std::vector<FormatData> original = {
      {CF_TEXT, text}, {CF_UNICODETEXT, wide}, {binary_format, binary}, {html_format, html}};
  Put(original);

  const SnapshotBytes snapshot = Clipboardbaocun::SaveClipboard(owner_);
  const DecodedSnapshot decoded = DecodeSnapshot(snapshot);
  EXPECT_EQ(decoded.length, snapshot.size());  // exactly its own bytes
  for (const auto& [format, bytes] : original) {
    const SnapshotFormat* record = Find(decoded, static_cast<std::int32_t>(format));
    ASSERT_NE(record, nullptr) << format;
    EXPECT_TRUE(StartsWith(AsBytes(record->data), bytes)) << format;
  }
  EXPECT_EQ(Find(decoded, binary_format)->name, "Quillora Test Binary");
  EXPECT_EQ(Find(decoded, html_format)->name, "HTML Format");
  EXPECT_EQ(Find(decoded, CF_TEXT)->name, "");

  Put({{CF_TEXT, Text(std::string("changed\0", 8))}});
  ASSERT_FALSE(IsClipboardFormatAvailable(binary_format));

  EXPECT_GE(Clipboardbaocun::LoadClipboard(owner_, snapshot), original.size());
  for (const auto& record : decoded.formats) {
    const UINT now = record.name.empty() ? record.id : RegisterClipboardFormatA(record.name.c_str());
    const auto back = Read(now);
    ASSERT_TRUE(back.has_value()) << record.id;
    EXPECT_EQ(*back, AsBytes(record.data)) << record.id;
  }
  for (const auto& [format, bytes] : original) EXPECT_TRUE(StartsWith(*Read(format), bytes)) << format;
}

TEST_F(SnapshotClipboard, TextRecordAsDescribed) {
  Put({{CF_TEXT, Text(std::string("abc\0", 4))}});
  const SnapshotBytes snapshot = Clipboardbaocun::SaveClipboard(owner_);
  ASSERT_GE(snapshot.size(), 12u);
  EXPECT_EQ(snapshot.front(), kSnapshotListStart);
  EXPECT_EQ(snapshot.back(), kSnapshotListEnd);
  // The first record is CF_TEXT: 02 01, 06 00, 02 n, then "abc" and a zero.
  const Bytes head(snapshot.begin() + 1, snapshot.begin() + 5);
  EXPECT_EQ(head, (Bytes{0x02, 0x01, 0x06, 0x00}));
  EXPECT_EQ(snapshot[5], kTagInt8);
  EXPECT_GE(snapshot[6], 4);
  EXPECT_EQ(Bytes(snapshot.begin() + 7, snapshot.begin() + 11), Text(std::string("abc\0", 4)));
  // The formats the system derives from the text are kept too.
  const DecodedSnapshot decoded = DecodeSnapshot(snapshot);
  EXPECT_EQ(decoded.formats.size(), static_cast<std::size_t>(FormatCount()));
  EXPECT_EQ(*SnapshotUnicodeText(snapshot), u"abc");
}

TEST_F(SnapshotClipboard, EmptyClipboardGivesStartAndEndAndLoadsBackEmpty) {
  Put({});
  const SnapshotBytes snapshot = Clipboardbaocun::SaveClipboard(owner_);
  EXPECT_EQ(snapshot, (Bytes{0x01, 0x00}));
  Put({{CF_TEXT, Text(std::string("x\0", 2))}});
  EXPECT_EQ(Clipboardbaocun::LoadClipboard(owner_, snapshot), 0u);
  EXPECT_EQ(FormatCount(), 0);
}

TEST_F(SnapshotClipboard, MalformedSnapshotLeavesTheClipboardUntouched) {
  Put({{CF_TEXT, Text(std::string("first\0", 6))}, {RegisterClipboardFormatA("Quillora Test Binary"), Bytes(64, 0)}});
  const SnapshotBytes good = Clipboardbaocun::SaveClipboard(owner_);
  const Bytes kept = Text(std::string("keep me\0", 8));
  Put({{CF_TEXT, kept}});

  const Bytes truncated(good.begin(), good.end() - 2);
  try {
    Clipboardbaocun::LoadClipboard(owner_, truncated);
    ADD_FAILURE() << "loaded";
  } catch (const SnapshotReadError& e) {
    EXPECT_STREQ(e.what(), kStreamReadError);
  }
  Bytes bad_tag = good;
  bad_tag[1] = 0x07;
  EXPECT_THROW(Clipboardbaocun::LoadClipboard(owner_, bad_tag), SnapshotReadError);
  EXPECT_TRUE(StartsWith(*Read(CF_TEXT), kept));
  EXPECT_FALSE(IsClipboardFormatAvailable(RegisterClipboardFormatA("Quillora Test Binary")));
}

TEST_F(SnapshotClipboard, NamedFormatGoesBackUnderItsNumberOfToday) {
  const Bytes data = {0x00, 0x10, 0x00, 0x20};
  // A number from another session, most likely not this name's number here.
  const SnapshotFormat record{0xC001, "Quillora Renumbered", data};
  const SnapshotBytes snapshot = EncodeSnapshot({&record, 1});
  Clipboardbaocun::LoadClipboard(owner_, snapshot);
  const UINT now = RegisterClipboardFormatA("Quillora Renumbered");
  EXPECT_EQ(*Read(now), data);
  if (now != 0xC001) {
    EXPECT_FALSE(IsClipboardFormatAvailable(0xC001));
  }
}

TEST_F(SnapshotClipboard, HandleFormatsAreSkippedNotFatal) {
  // Saving: a bitmap beside text leaves no bitmap record but keeps the text.
  HBITMAP bitmap = CreateBitmap(4, 4, 1, 32, nullptr);
  ASSERT_NE(bitmap, nullptr);
  {
    ClipboardSession session(owner_, ClipboardWait{});
    ASSERT_TRUE(EmptyClipboard());
    ASSERT_NE(SetClipboardData(CF_BITMAP, bitmap), nullptr);
    Clipboardbaocun::CopyStreamToClipboardFormat(CF_TEXT, Text(std::string("with picture\0", 13)));
  }
  const SnapshotBytes saved = Clipboardbaocun::SaveClipboard(owner_);
  const DecodedSnapshot decoded = DecodeSnapshot(saved);
  EXPECT_EQ(Find(decoded, CF_BITMAP), nullptr);
  EXPECT_NE(Find(decoded, CF_TEXT), nullptr);

  // Loading: records of handle formats (as older snapshots may hold) are passed over.
  const Bytes junk(16, 0x5A);
  const Bytes text = Text(std::string("only text\0", 10));
  const SnapshotFormat records[] = {{CF_BITMAP, "", junk}, {CF_METAFILEPICT, "", junk}, {CF_ENHMETAFILE, "", junk},
                                    {0x200, "", junk}, {0xC0DE, "", junk}, {CF_TEXT, "", text}};
  EXPECT_EQ(Clipboardbaocun::LoadClipboard(owner_, EncodeSnapshot(records)), 1u);
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_BITMAP));
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_METAFILEPICT));
  EXPECT_FALSE(IsClipboardFormatAvailable(0x200));
  EXPECT_EQ(*Read(CF_TEXT), text);
}

TEST_F(SnapshotClipboard, EachCaptureIsAFreshExactBuffer) {
  Bytes long_text(5000, 'L');
  long_text.back() = 0;
  Put({{CF_TEXT, long_text}, {RegisterClipboardFormatA("Quillora Test Binary"), Bytes(3000, 0)}});
  SharedSnapshot ClipSnapshot;
  huodejianqiebaoClick(owner_, ClipSnapshot);
  const SharedSnapshot entry = ClipSnapshot;  // what a history entry keeps
  const Bytes entry_bytes(entry->begin(), entry->end());

  Put({{CF_TEXT, Text(std::string("s\0", 2))}});
  huodejianqiebaoClick(owner_, ClipSnapshot);
  EXPECT_NE(ClipSnapshot, entry);
  EXPECT_EQ(Bytes(entry->begin(), entry->end()), entry_bytes);
  EXPECT_EQ(ValidateSnapshot(*ClipSnapshot).length, ClipSnapshot->size());
  EXPECT_LT(ClipSnapshot->size(), entry->size());

  jianqiebaohuifuClick(owner_, SharedSnapshot{});  // no snapshot: nothing changes
  EXPECT_EQ(*SnapshotUnicodeText(*ClipSnapshot), u"s");
  EXPECT_TRUE(StartsWith(*Read(CF_TEXT), Text(std::string("s\0", 2))));

  jianqiebaohuifuClick(owner_, entry);
  EXPECT_EQ(*Read(CF_TEXT), long_text);
  EXPECT_TRUE(IsClipboardFormatAvailable(RegisterClipboardFormatA("Quillora Test Binary")));
}

TEST_F(SnapshotClipboard, WaitForABusyClipboardIsBounded) {
  std::atomic<bool> opened{false};
  std::atomic<bool> release{false};
  std::thread holder([&] {
    if (OpenClipboard(nullptr)) {
      opened = true;
      while (!release) Sleep(5);
      CloseClipboard();
    }
    opened = true;
  });
  while (!opened) Sleep(1);

  int pauses = 0;
  const ClipboardWait wait{3, 10, [&] { ++pauses; }};
  const auto start = std::chrono::steady_clock::now();
  try {
    Clipboardbaocun::SaveClipboard(owner_, wait);
    ADD_FAILURE() << "opened a clipboard held by another thread";
  } catch (const ClipboardError& e) {
    EXPECT_STREQ(e.what(), kCannotOpenClipboard);
  }
  EXPECT_EQ(pauses, 2);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  release = true;
  holder.join();
  EXPECT_NO_THROW(Clipboardbaocun::SaveClipboard(owner_, wait));
}

}  // namespace
}  // namespace app
