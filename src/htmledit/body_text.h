// The body text: what the view shows and what every position counts in. Positions are
// UTF-16 units of this text: a block end or a BR is one line break ("\r"; inside a table
// cell "\v", which keeps the row one paragraph), a cell boundary one tab, an image or
// another embedded object one U+FFFC; whitespace collapses as a browser shows it. The
// layout maps each position to a point of the tree and back.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "htmledit/dom.h"

namespace htmledit {

inline constexpr char16_t kParagraphBreak = u'\r';
inline constexpr char16_t kCellLineBreak = u'\v';
inline constexpr char16_t kCellSeparator = u'\t';
inline constexpr char16_t kObjectPlaceholder = 0xFFFC;

struct CharFormat {
  std::u16string face;     // empty: the view's default face
  int halfPoints = 0;      // 0: default size
  int32_t color = -1;      // 0x00BBGGRR, -1: default
  bool bold = false, italic = false, underline = false;
  bool operator==(const CharFormat&) const = default;
};

enum class ParaAlign : uint8_t { Left, Center, Right, Justify };
enum class ListKind : uint8_t { None, Bullet, Number };

struct ParaFormat {
  ParaAlign align = ParaAlign::Left;
  ListKind list = ListKind::None;
  int listNumber = 0;       // 1-based for numbered items
  int indentLevel = 0;      // nesting of lists and block quotes
  std::vector<int> tabStops;  // table rows: the cell boundaries, in twips from the left
  bool operator==(const ParaFormat&) const = default;
};

// An IMG of the layout: the attributes its picture is taken from (the view shows the picture
// in place of the element's U+FFFC when it can have it).
struct PictureRef {
  std::u16string src, width, height;
  bool operator==(const PictureRef&) const = default;
};

struct TextRun {
  enum Kind : uint8_t { Text, Break, CellTab, Object };
  int start = 0;       // position in the body text
  int length = 0;
  Kind kind = Text;
  Node* node = nullptr;  // Text: the text node; Break: the BR or the block it ends; CellTab: the cell it starts; Object: the element
  int nodeOffset = 0;    // Text: index in node->data of the first unit
  bool collapsed = false;  // Text: one space standing for a whitespace run
  int format = 0;        // index into Formats()
  int picture = -1;      // Object: index into Pictures() for an IMG
};

struct Paragraph {
  int start = 0, end = 0;  // [start, end) without its break
  int format = 0;          // index into ParaFormats()
};

// A point of the tree: a text node and an offset into its data, or an element and a child index.
struct DomPoint {
  Node* node = nullptr;
  int offset = 0;
};

class BodyText {
 public:
  // Lays out doc's body. viewWidthTwips sizes table cells without widths.
  static BodyText Build(const Document& doc, int viewWidthTwips = 9000);

  const std::u16string& Text() const { return text_; }
  int Length() const { return static_cast<int>(text_.size()); }
  const std::vector<TextRun>& Runs() const { return runs_; }
  const std::vector<Paragraph>& Paragraphs() const { return paragraphs_; }
  const std::vector<CharFormat>& Formats() const { return formats_; }
  const std::vector<ParaFormat>& ParaFormats() const { return paraFormats_; }
  const std::vector<PictureRef>& Pictures() const { return pictures_; }

  // pos clamped to [0, Length()] and moved off the second half of a surrogate pair.
  int Clamp(int pos) const;
  // The tree point of a position (the start of the run holding it).
  DomPoint PointAt(int pos) const;
  // The position of a tree point; text nodes map exactly, elements to their first position.
  int PositionOf(const Node* node, int offset = 0) const;
  // The span [first, last) of the positions of an element's content.
  std::pair<int, int> SpanOf(const Node* element) const;
  // The span of an element that the layout entered (hidden elements have none).
  const std::pair<int, int>* FindSpan(const Node* element) const {
    auto it = spans_.find(element);
    return it == spans_.end() ? nullptr : &it->second;
  }
  // The innermost element that holds both positions.
  Node* CommonElement(int start, int end) const;
  // The run index holding pos (the last run starting at or before it), -1 when there is none.
  int RunAt(int pos) const;

 private:
  std::u16string text_;
  std::vector<TextRun> runs_;
  std::vector<Paragraph> paragraphs_;
  std::vector<CharFormat> formats_;
  std::vector<ParaFormat> paraFormats_;
  std::vector<PictureRef> pictures_;
  Node* body_ = nullptr;
  std::unordered_map<const Node*, std::pair<int, int>> spans_;
  friend class LayoutBuilder;
};

}  // namespace htmledit
