// The view's content as RTF: exactly the body text, with face, size, colour, bold, italic,
// underline, alignment, list marks (paragraph numbering, not text) and, for table rows, tab
// stops at the cell boundaries. The whole text in one stream, or the paragraphs that changed
// between two layouts, so that an edit replaces only them in the view.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "htmledit/body_text.h"

namespace htmledit {

inline constexpr char16_t kViewDefaultFace[] = u"SimSun";
inline constexpr int kViewDefaultHalfPoints = 21;

// A picture as the view shows it: the bits of a DIB of width x height pixels (24-bit, rows
// bottom-up, each padded to four bytes).
struct ViewPicture {
  int width = 0, height = 0;
  std::string bits;
};

// A picture of straight-alpha BGRA rows (top-down), laid on white, the view's background.
ViewPicture PictureOnWhite(int width, int height, const uint8_t* bgra);

// The RTF group that shows a picture at its size in pixels (empty for an empty picture).
std::string PictureRtf(const ViewPicture& picture);

// The RTF group of an IMG's picture, empty when the view shows the placeholder instead.
using PictureRtfLookup = std::function<std::string(const PictureRef&)>;

std::string BodyTextToRtf(const BodyText& layout, const PictureRtfLookup& pictures = {},
                          std::u16string_view defaultFace = kViewDefaultFace,
                          int defaultHalfPoints = kViewDefaultHalfPoints);

// Paragraphs [first, first + count) of a layout; each but the layout's last ends in \par.
std::string ParagraphsToRtf(const BodyText& layout, size_t first, size_t count, const PictureRtfLookup& pictures = {},
                            std::u16string_view defaultFace = kViewDefaultFace,
                            int defaultHalfPoints = kViewDefaultHalfPoints);

// What changed from one layout to the next, in whole paragraphs: from `first` on, oldCount
// paragraphs of the old layout became newCount of the new one; the rest are the same (text,
// character and paragraph formats, pictures). When the change reaches the end, it starts one paragraph
// earlier, so that the paragraph mark before it is replaced too.
struct ParagraphChange {
  size_t first = 0;
  size_t oldCount = 0;
  size_t newCount = 0;
  bool None() const { return oldCount == 0 && newCount == 0; }
};
ParagraphChange DiffParagraphs(const BodyText& before, const BodyText& after);

// The body-text range of a layout that paragraphs [first, first + count) take, with the mark
// after the last one unless it is the layout's last paragraph.
std::pair<int, int> ParagraphRange(const BodyText& layout, size_t first, size_t count);

}  // namespace htmledit
