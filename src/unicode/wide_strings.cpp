#include "unicode/wide_strings.h"

#include <algorithm>
#include <vector>

#include "unicode/codepage.h"
#include "unicode/compare_strings.h"
#include "unicode/uni_file_stream.h"
#include "unicode/wide_exceptions.h"

namespace unicode {

namespace {

constexpr char16_t kCr = 0x000D;
constexpr char16_t kLf = 0x000A;
constexpr char16_t kLineSeparator = 0x2028;

// The stream's remaining bytes. Read in pieces, so that a stream promising more than it
// holds costs only what it delivers; a short stream gives a shorter result, not an error.
std::string ReadRemaining(TStream& stream) {
  const int64_t remaining = stream.Size() - stream.Position();
  if (remaining <= 0) return {};
  if (remaining > kMaxTextStreamBytes) {
    throw WideException(u"Text too large to load (" + IntToText(remaining) + u" bytes)");
  }
  std::string bytes;
  const size_t want = static_cast<size_t>(remaining);
  constexpr size_t kPiece = size_t{1} << 20;
  while (bytes.size() < want) {
    const size_t old = bytes.size();
    const size_t piece = std::min(kPiece, want - old);
    bytes.resize(old + piece);
    const size_t got = stream.Read(bytes.data() + old, piece);
    bytes.resize(old + got);
    if (got < piece) break;
  }
  return bytes;
}

std::u16string FromUtf16Bytes(const std::string& bytes, bool bigEndian) {
  std::u16string text(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i) {
    const auto b0 = static_cast<unsigned char>(bytes[2 * i]);
    const auto b1 = static_cast<unsigned char>(bytes[2 * i + 1]);
    text[i] = static_cast<char16_t>(bigEndian ? (b0 << 8 | b1) : (b1 << 8 | b0));
  }
  return text;
}

std::string ToUtf16LeBytes(std::u16string_view text, bool withBom) {
  std::string bytes;
  bytes.reserve(text.size() * 2 + 2);
  if (withBom) bytes += "\xFF\xFE";
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

// Both operations on lines are bounded by the list; a bad index is the caller's error.
void CheckIndex(const TWideStrings& list, int index) {
  if (index < 0 || index >= list.GetCount()) throw EListError::IndexOutOfBounds(index);
}

}  // namespace

TStreamCharSet DetectStreamCharSet(TStream& stream) {
  int64_t remaining = stream.Size() - stream.Position();
  if (remaining < 2) return TStreamCharSet::scAnsi;
  unsigned char mark[3] = {0, 0, 0};
  const size_t got2 = stream.Read(mark, 2);
  if (got2 == 2 && mark[0] == 0xFF && mark[1] == 0xFE) return TStreamCharSet::scUtf16Le;
  if (got2 == 2 && mark[0] == 0xFE && mark[1] == 0xFF) return TStreamCharSet::scUtf16Be;
  stream.Seek(-static_cast<int64_t>(got2), TSeekOrigin::soCurrent);
  remaining = stream.Size() - stream.Position();
  if (remaining >= 3) {
    const size_t got3 = stream.Read(mark, 3);
    if (got3 == 3 && mark[0] == 0xEF && mark[1] == 0xBB && mark[2] == 0xBF) return TStreamCharSet::scUtf8;
    stream.Seek(-static_cast<int64_t>(got3), TSeekOrigin::soCurrent);
  }
  return TStreamCharSet::scAnsi;
}

std::u16string DecodeStreamText(TStream& stream, TStreamCharSet charSet) {
  const std::string bytes = ReadRemaining(stream);
  switch (charSet) {
    case TStreamCharSet::scUtf16Le: return FromUtf16Bytes(bytes, false);
    // Every character is swapped, also those after a zero character: the whole file is text.
    case TStreamCharSet::scUtf16Be: return FromUtf16Bytes(bytes, true);
    case TStreamCharSet::scUtf8: return Utf8ToUtf16(bytes);
    case TStreamCharSet::scAnsi: break;
  }
  return AnsiToUtf16(bytes);
}

// --- TWideStrings -----------------------------------------------------------------------

void TWideStrings::Put(int index, std::u16string_view s) {
  CheckIndex(*this, index);
  void* object = Objects(index);
  BeginUpdate();
  Delete(index);
  InsertObject(index, s, object);
  EndUpdate();
}

std::u16string TWideStrings::GetTextStr() const {
  const int count = GetCount();
  std::vector<std::u16string> lines;
  lines.reserve(count);
  size_t size = 0;
  for (int i = 0; i < count; ++i) {
    lines.push_back(Get(i));
    size += lines.back().size() + 2;
  }
  std::u16string text;
  text.reserve(size);
  for (const auto& line : lines) {
    text += line;
    text += kCr;
    text += kLf;
  }
  return text;
}

void TWideStrings::SetTextStr(std::u16string_view text) {
  const TUpdateScope update(*this);
  Clear();
  size_t p = 0;
  const size_t n = text.size();
  while (p < n) {
    size_t end = p;
    while (end < n && text[end] != kCr && text[end] != kLf && text[end] != kLineSeparator) ++end;
    Add(text.substr(p, end - p));
    p = end;
    if (p < n && text[p] == kCr) ++p;
    if (p < n && text[p] == kLf) ++p;
    if (p < n && text[p] == kLineSeparator) ++p;
  }
}

int TWideStrings::CompareStrings(std::u16string_view a, std::u16string_view b) const {
  return CompareStringsIgnoreCase(a, b);
}

int TWideStrings::Add(std::u16string_view s) {
  const int index = GetCount();
  Insert(index, s);
  return index;
}

int TWideStrings::AddObject(std::u16string_view s, void* object) {
  const int index = Add(s);
  PutObject(index, object);
  return index;
}

void TWideStrings::AddStrings(const TWideStrings& strings) {
  if (&strings == this) {
    // Adding a list to itself doubles it; take the lines first.
    const int count = GetCount();
    BeginUpdate();
    for (int i = 0; i < count; ++i) AddObject(Get(i), Objects(i));
    EndUpdate();
    return;
  }
  const TUpdateScope update(*this);
  for (int i = 0; i < strings.GetCount(); ++i) AddObject(strings.Get(i), strings.Objects(i));
}

void TWideStrings::Assign(const TWideStrings& source) {
  if (&source == this) return;
  const TUpdateScope update(*this);
  Clear();
  AddStrings(source);
}

void TWideStrings::Exchange(int index1, int index2) {
  CheckIndex(*this, index1);
  CheckIndex(*this, index2);
  if (index1 == index2) return;
  BeginUpdate();
  const std::u16string s1 = Get(index1);
  void* o1 = Objects(index1);
  Put(index1, Get(index2));
  PutObject(index1, Objects(index2));
  Put(index2, s1);
  PutObject(index2, o1);
  EndUpdate();
}

int TWideStrings::IndexOf(std::u16string_view s) const {
  for (int i = 0; i < GetCount(); ++i) {
    if (CompareStrings(Get(i), s) == 0) return i;
  }
  return -1;
}

int TWideStrings::IndexOfName(std::u16string_view name) const {
  for (int i = 0; i < GetCount(); ++i) {
    const std::u16string line = Get(i);
    const size_t eq = line.find(u'=');
    if (eq != std::u16string::npos && CompareStrings(std::u16string_view(line).substr(0, eq), name) == 0) return i;
  }
  return -1;
}

int TWideStrings::IndexOfObject(const void* object) const {
  for (int i = 0; i < GetCount(); ++i) {
    if (Objects(i) == object) return i;
  }
  return -1;
}

void TWideStrings::InsertObject(int index, std::u16string_view s, void* object) {
  Insert(index, s);
  PutObject(index, object);
}

void TWideStrings::LoadFromFile(const std::u16string& fileName) {
  TUniFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(stream);
}

void TWideStrings::LoadFromStream(TStream& stream) {
  // The text is read whole before the list changes: a failure leaves the lines as they were.
  const std::u16string text = DecodeStreamText(stream, TStreamCharSet::scUtf16Le);
  const TUpdateScope update(*this);
  SetTextStr(text);
}

void TWideStrings::Move(int curIndex, int newIndex) {
  if (curIndex == newIndex) return;
  CheckIndex(*this, curIndex);
  BeginUpdate();
  const std::u16string s = Get(curIndex);
  void* object = Objects(curIndex);
  Delete(curIndex);
  InsertObject(newIndex, s, object);
  EndUpdate();
}

void TWideStrings::SaveToFile(const std::u16string& fileName) {
  TReplacingFile file(fileName);
  SaveToStream(file.Stream());
  file.Commit();
}

void TWideStrings::SaveToStream(TStream& stream) {
  const std::string bytes = ToUtf16LeBytes(GetTextStr(), false);
  stream.WriteBuffer(bytes.data(), bytes.size());
}

void TWideStrings::BeginUpdate() {
  // Called while the count is still 0, as EndUpdate calls it after the count returned to 0.
  if (updateCount_ == 0) SetUpdateState(true);
  ++updateCount_;
}

void TWideStrings::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) SetUpdateState(false);
}

// --- TUniStrings ------------------------------------------------------------------------

void TUniStrings::LoadFromFile(const std::u16string& fileName) {
  TUniFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
  const TStreamCharSet found = DetectStreamCharSet(stream);
  stream.SetPosition(0);
  LoadFromStream(stream);
  LastFileCharSet = found;
}

void TUniStrings::LoadFromStreamBom(TStream& stream, bool withBom) {
  const TStreamCharSet charSet = withBom ? DetectStreamCharSet(stream) : TStreamCharSet::scUtf16Le;
  const std::u16string text = DecodeStreamText(stream, charSet);
  const TUpdateScope update(*this);
  SetTextStr(text);
}

void TUniStrings::SaveToStreamBom(TStream& stream, bool withBom) {
  const std::string bytes = ToUtf16LeBytes(GetTextStr(), withBom);
  stream.WriteBuffer(bytes.data(), bytes.size());
}

}  // namespace unicode
