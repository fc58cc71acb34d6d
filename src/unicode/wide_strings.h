// Lists of UTF-16 strings: the abstract TWideStrings, and TUniStrings with text files and
// streams that carry a byte-order mark. Every Unicode control's lines and items are one.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "unicode/stream.h"

namespace unicode {

enum class TStreamCharSet : uint8_t { scAnsi = 0, scUtf16Le = 1, scUtf16Be = 2, scUtf8 = 3 };

// Looks for a byte-order mark at the stream's position: FF FE (UTF-16LE) and FE FF (UTF-16BE)
// and EF BB BF (UTF-8) are consumed; with no mark the position is unchanged and the result
// is scAnsi.
TStreamCharSet DetectStreamCharSet(TStream& stream);

// Texts above this many bytes are refused when loading (WideException), before any
// memory is taken for them: a text list of this program never comes near it.
inline constexpr int64_t kMaxTextStreamBytes = int64_t{1} << 28;

class TWideStrings {
 public:
  TWideStrings() = default;
  TWideStrings(const TWideStrings&) = delete;
  TWideStrings& operator=(const TWideStrings&) = delete;
  virtual ~TWideStrings() = default;

  // Supplied by the descendants.
  virtual std::u16string Get(int index) const = 0;
  virtual int GetCount() const = 0;
  virtual void Insert(int index, std::u16string_view s) = 0;
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;

  // The object of a line (the Objects property; nullptr in the base).
  virtual void* Objects(int index) const { return nullptr; }
  // Keeps the line's object: deletes the line and inserts s with that object.
  virtual void Put(int index, std::u16string_view s);
  virtual void PutObject(int index, void* object) {}
  virtual int GetCapacity() const { return GetCount(); }
  virtual void SetCapacity(int capacity) {}
  // Every line followed by CR LF, the last one too; empty for an empty list.
  virtual std::u16string GetTextStr() const;
  // Replaces the lines by the lines of text (breaks: CR LF, CR, LF, each optionally
  // followed by U+2028, or U+2028 alone). Zero characters are kept inside their line.
  virtual void SetTextStr(std::u16string_view text);
  // Called with true when the update count leaves 0 and with false when it returns to 0.
  virtual void SetUpdateState(bool updating) {}
  virtual int CompareStrings(std::u16string_view a, std::u16string_view b) const;

  virtual int Add(std::u16string_view s);
  virtual int AddObject(std::u16string_view s, void* object);
  virtual void AddStrings(const TWideStrings& strings);
  virtual void Assign(const TWideStrings& source);
  virtual void Exchange(int index1, int index2);
  virtual int IndexOf(std::u16string_view s) const;
  // The first line of the form name=value whose name matches.
  virtual int IndexOfName(std::u16string_view name) const;
  virtual int IndexOfObject(const void* object) const;
  virtual void InsertObject(int index, std::u16string_view s, void* object);
  // Reads the file as UTF-16LE without a mark (TUniStrings reads marks).
  virtual void LoadFromFile(const std::u16string& fileName);
  virtual void LoadFromStream(TStream& stream);
  virtual void Move(int curIndex, int newIndex);
  // Writes the text as UTF-16LE without a mark, through a temporary file.
  virtual void SaveToFile(const std::u16string& fileName);
  virtual void SaveToStream(TStream& stream);

  void BeginUpdate();
  void EndUpdate();

  int Count() const { return GetCount(); }
  std::u16string Text() const { return GetTextStr(); }
  void SetText(std::u16string_view text) { SetTextStr(text); }
  std::u16string operator[](int index) const { return Get(index); }

 protected:
  int UpdateCount() const { return updateCount_; }

 private:
  int updateCount_ = 0;
};

// BeginUpdate for the lifetime of the scope, EndUpdate however it is left.
class TUpdateScope {
 public:
  explicit TUpdateScope(TWideStrings& strings) : strings_(strings) { strings_.BeginUpdate(); }
  ~TUpdateScope() { strings_.EndUpdate(); }
  TUpdateScope(const TUpdateScope&) = delete;
  TUpdateScope& operator=(const TUpdateScope&) = delete;

 private:
  TWideStrings& strings_;
};

class TUniStrings : public TWideStrings {
 public:
  // The character set the last LoadFromFile found.
  TStreamCharSet LastFileCharSet = TStreamCharSet::scUtf16Le;

  void LoadFromFile(const std::u16string& fileName) override;
  void LoadFromStream(TStream& stream) override { LoadFromStreamBom(stream, true); }
  // SaveToFile (inherited) therefore writes UTF-16LE with the FF FE mark.
  void SaveToStream(TStream& stream) override { SaveToStreamBom(stream, true); }

  // With withBom the character set comes from the mark (none: ANSI code page 936);
  // without, the stream is UTF-16LE. An odd last byte of UTF-16 is ignored.
  virtual void LoadFromStreamBom(TStream& stream, bool withBom);
  // Always UTF-16LE; withBom puts FF FE in front.
  virtual void SaveToStreamBom(TStream& stream, bool withBom);
};

// The text of a stream's remaining bytes in the given character set (no mark expected).
std::u16string DecodeStreamText(TStream& stream, TStreamCharSet charSet);

}  // namespace unicode
