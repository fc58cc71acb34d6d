// Tagged little-endian values of the clipboard snapshot stream: integers that take the
// shortest of three widths, and strings in one of four forms.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace app {

enum SnapshotTag : std::uint8_t {
  kTagInt8 = 0x02,        // 1 byte, signed
  kTagInt16 = 0x03,       // 2 bytes, signed
  kTagInt32 = 0x04,       // 4 bytes, signed
  kTagString = 0x06,      // 1-byte length, then ANSI bytes (plain ASCII up to 255 bytes)
  kTagLongString = 0x0C,  // 4-byte length, then ANSI bytes (plain ASCII above 255 bytes)
  kTagWideString = 0x12,  // 4-byte count of UTF-16 units, then UTF-16LE (read only)
  kTagInt64 = 0x13,       // 8 bytes: a count above 2147483647; never written, never accepted
  kTagUtf8String = 0x14,  // 4-byte length, then UTF-8 (text with characters outside ASCII)
};

// The two ways a stream can be unreadable, with the texts the program has always shown.
inline constexpr char kInvalidPropertyValue[] = "Invalid property value";
inline constexpr char kStreamReadError[] = "Stream read error";

class SnapshotReadError : public std::runtime_error {
 public:
  enum class Kind { kInvalidValue, kReadPastEnd };
  explicit SnapshotReadError(Kind kind)
      : std::runtime_error(kind == Kind::kInvalidValue ? kInvalidPropertyValue : kStreamReadError), kind_(kind) {}
  Kind kind() const { return kind_; }

 private:
  Kind kind_;
};

// Appends `value` with the shortest integer tag that holds it.
void AppendTaggedInteger(std::vector<std::uint8_t>& out, std::int32_t value);

// Appends a code page 936 string: as it is when plain ASCII, else as UTF-8.
void AppendTaggedString(std::vector<std::uint8_t>& out, std::string_view ansi);

// Reads tagged values from a byte span, bounds-checked: reading past the end throws
// kReadPastEnd, an unexpected tag or an impossible value throws kInvalidValue.
class SnapshotValueReader {
 public:
  explicit SnapshotValueReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::uint8_t ReadByte();
  std::uint8_t PeekByte() const;
  // Tags 0x02, 0x03 and 0x04 only.
  std::int32_t ReadInteger();
  // Any string form, returned in code page 936.
  std::string ReadString();
  // The same checks as ReadString without converting or keeping the text.
  void SkipString();
  // A view of the next `count` bytes.
  std::span<const std::uint8_t> ReadBytes(std::size_t count);

  std::size_t position() const { return pos_; }
  std::size_t remaining() const { return bytes_.size() - pos_; }

 private:
  std::uint32_t ReadLittleEndian(std::size_t width);
  // Reads a string's tag and length; returns the raw bytes and whether they are UTF-16LE
  // (else ANSI or UTF-8, told apart by `utf8`).
  std::span<const std::uint8_t> ReadStringBytes(bool& utf16, bool& utf8);

  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
};

}  // namespace app
