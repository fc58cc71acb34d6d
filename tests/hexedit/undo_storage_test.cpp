// The undo storage: the record layout byte for byte, groups, the redo record, trimming.
#include <gtest/gtest.h>

#include "hexedit/hx_errors.h"
#include "hexedit/hx_undo_storage.h"

using namespace hexedit;

namespace {
Bytes U32(std::uint32_t v) {
  return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v >> 16),
          static_cast<std::uint8_t>(v >> 24)};
}
Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}
UndoRecord Record(UndoKind kind, std::uint32_t position, Bytes saved = {}) {
  UndoRecord r;
  r.kind = kind;
  r.position = position;
  r.count = static_cast<std::uint32_t>(saved.size());
  r.saved = std::move(saved);
  return r;
}
}  // namespace

TEST(UndoRecordLayout, AnEmptyRecordIsThirtyBytes) {
  for (int k = 0; k < kUndoKinds; ++k) {
    const Bytes bytes = EncodeUndoRecord(Record(static_cast<UndoKind>(k), 7));
    EXPECT_EQ(bytes, Concat({U32(30), U32(1u << k), U32(0), U32(7), U32(0), U32(0), {0, 1}, U32(30)}));
  }
}

TEST(UndoRecordLayout, EveryFieldInItsPlace) {
  UndoRecord r = Record(UndoKind::Replace, 0x10, {0xAA, 0xBB});
  r.furtherCount = 5;
  r.description = "Paste from Clipboard";
  UndoEditorState& s = r.state;
  s.caret = 0x12;
  s.secondNibble = s.charField = s.modified = s.insertMode = s.markedAtPos = s.markedAfter = true;
  s.unicode = s.bigEndian = true;
  s.translation = THxTranslationKind::tkBCD;
  s.bytesPerUnit = 2;
  s.hasSelection = true;
  s.selAnchor = 3;
  s.selStart = 3;
  s.selEnd = 9;
  const std::uint32_t size = 30 + 2 + 20 + 4 + 12;
  const std::uint32_t flags = (1u << 3) | 0x800 | 0x1000 | 0x2000 | 0x4000 | 0x8000 | 0x10000 | 0x20000 | 0x40000 |
                              0x80000 | 0x100000;
  const std::string d = r.description;
  const Bytes expected = Concat({U32(size), U32(flags), U32(0x12), U32(0x10), U32(2), U32(5), {4, 2}, {0xAA, 0xBB},
                                 Bytes(d.begin(), d.end()), U32(20), U32(3), U32(3), U32(9), U32(size)});
  const Bytes encoded = EncodeUndoRecord(r);
  EXPECT_EQ(encoded, expected);

  const UndoRecord back = DecodeUndoRecord(encoded.data(), encoded.size());
  EXPECT_EQ(back.kind, UndoKind::Replace);
  EXPECT_EQ(back.saved, (Bytes{0xAA, 0xBB}));
  EXPECT_EQ(back.description, d);
  EXPECT_EQ(back.furtherCount, 5u);
  EXPECT_EQ(back.state.selEnd, 9u);
  EXPECT_EQ(back.state.translation, THxTranslationKind::tkBCD);
  EXPECT_TRUE(back.state.bigEndian && back.state.secondNibble && back.state.markedAfter);
}

TEST(UndoRecordLayout, MalformedRecordsAreRefused) {
  Bytes bytes = EncodeUndoRecord(Record(UndoKind::ChangeBytes, 0, {1}));
  bytes.back() = 0x7F;  // the trailing size disagrees
  EXPECT_THROW(DecodeUndoRecord(bytes.data(), bytes.size()), EHexEditor);
  const Bytes shortRecord = Concat({U32(20), U32(1), U32(0), U32(0), U32(20)});
  EXPECT_THROW(DecodeUndoRecord(shortRecord.data(), shortRecord.size()), EHexEditor);
  Bytes noKind = EncodeUndoRecord(Record(UndoKind::ChangeBytes, 0));
  noKind[4] = 0;
  EXPECT_THROW(DecodeUndoRecord(noKind.data(), noKind.size()), EHexEditor);
}

TEST(UndoKinds, TheirTexts) {
  const char* texts[] = {"Change Byte(s)", "Remove Data", "Insert Buffer", "Replace", "Append Buffer", "Insert Nibble",
                         "Delete Nibble", "Convert", "Cursor movement", "Multiple Modification", "All data saved"};
  for (int k = 0; k < kUndoKinds; ++k) EXPECT_EQ(UndoKindText(static_cast<UndoKind>(k)), texts[k]);
}

TEST(UndoStorage, RecordsAreAppendedAndTakenNewestFirst) {
  THxUndoStorage storage;
  storage.Add(Record(UndoKind::ChangeBytes, 1, {0x11}));
  UndoRecord removal = Record(UndoKind::RemoveData, 2, {0x22, 0x33});
  removal.description = "Cut to Clipboard";
  storage.Add(removal);
  EXPECT_EQ(storage.Count(), 2);
  EXPECT_EQ(storage.StorageSize(), 31u + 32u + 16u + 4u);
  EXPECT_EQ(storage.Description(), "Cut to Clipboard");
  const Bytes first = EncodeUndoRecord(Record(UndoKind::ChangeBytes, 1, {0x11}));
  EXPECT_TRUE(std::equal(first.begin(), first.end(), storage.StoredBytes().begin()));

  std::vector<UndoRecord> step = storage.TakeLast();
  ASSERT_EQ(step.size(), 1u);
  EXPECT_EQ(step[0].kind, UndoKind::RemoveData);
  EXPECT_EQ(storage.Description(), "Change Byte(s)");
  step = storage.TakeLast();
  EXPECT_EQ(step[0].position, 1u);
  EXPECT_FALSE(storage.CanUndo());
  EXPECT_EQ(storage.Description(), "");
}

TEST(UndoStorage, AGroupIsOneStepWithItsRecordLast) {
  THxUndoStorage storage;
  storage.Add(Record(UndoKind::ChangeBytes, 0, {1}));
  UndoEditorState before;
  before.caret = 42;
  storage.BeginGroup(before, "Data Moved");
  storage.BeginGroup(before, "inner");  // nesting: one group
  storage.Add(Record(UndoKind::RemoveData, 5, {9}));
  storage.EndGroup();
  EXPECT_FALSE(storage.CanUndo());  // not while the group is open
  storage.Add(Record(UndoKind::InsertBuffer, 1));
  storage.EndGroup();
  EXPECT_EQ(storage.Count(), 4);
  EXPECT_EQ(storage.Description(), "Data Moved");
  const std::vector<UndoRecord> step = storage.TakeLast();
  ASSERT_EQ(step.size(), 3u);
  EXPECT_EQ(step[0].kind, UndoKind::InsertBuffer);
  EXPECT_EQ(step[1].kind, UndoKind::RemoveData);
  EXPECT_EQ(step[2].kind, UndoKind::Group);
  EXPECT_EQ(step[2].count, 2u);
  EXPECT_EQ(step[2].state.caret, 42u);
  EXPECT_EQ(storage.Count(), 1);
}

TEST(UndoStorage, AnUnusedGroupLeavesNothing) {
  THxUndoStorage storage;
  storage.BeginGroup({}, "nothing");
  storage.EndGroup();
  EXPECT_EQ(storage.Count(), 0);
  EXPECT_FALSE(storage.CanUndo());
}

TEST(UndoStorage, TrimsTheOldestToStayWithinMaxUndo) {
  THxUndoStorage storage(100);
  for (std::uint32_t i = 0; i < 10; ++i) storage.Add(Record(UndoKind::ChangeBytes, i, {0}));  // 31 bytes each
  EXPECT_LE(storage.StorageSize(), 100u);
  EXPECT_EQ(storage.Count(), 3);
  EXPECT_EQ(storage.TakeLast()[0].position, 9u);
  EXPECT_EQ(storage.TakeLast()[0].position, 8u);
  EXPECT_EQ(storage.TakeLast()[0].position, 7u);
  // A record larger than the whole storage cannot be kept.
  storage.Add(Record(UndoKind::ChangeBytes, 0, Bytes(200, 1)));
  EXPECT_EQ(storage.Count(), 0);
  // Lowering MaxUndo trims at once.
  THxUndoStorage big;
  for (std::uint32_t i = 0; i < 10; ++i) big.Add(Record(UndoKind::ChangeBytes, i, {0}));
  big.SetMaxUndo(62);
  EXPECT_EQ(big.Count(), 2);
}

TEST(UndoStorage, TrimmingDropsAGroupWhole) {
  THxUndoStorage storage(150);
  storage.BeginGroup({}, "g");
  storage.Add(Record(UndoKind::ChangeBytes, 0, {0}));
  storage.Add(Record(UndoKind::ChangeBytes, 1, {0}));
  storage.EndGroup();  // 31 + 31 + 31 (the group record with its description "g": 30 + 1 + 4)
  storage.Add(Record(UndoKind::ChangeBytes, 2, {0}));
  storage.Add(Record(UndoKind::ChangeBytes, 3, {0}));  // now above 150: the whole group goes
  EXPECT_EQ(storage.Count(), 2);
  EXPECT_EQ(storage.TakeLast()[0].position, 3u);
  EXPECT_EQ(storage.TakeLast()[0].position, 2u);
}

TEST(UndoStorage, ANewRecordForgetsTheRedoStep) {
  THxUndoStorage storage;
  THxUndoStorage::RedoStep step;
  step.records.push_back(Record(UndoKind::ChangeBytes, 0, {1}));
  storage.SetRedo(step);
  EXPECT_TRUE(storage.CanRedo());
  storage.Add(Record(UndoKind::ChangeBytes, 0, {1}));
  EXPECT_FALSE(storage.CanRedo());
}
