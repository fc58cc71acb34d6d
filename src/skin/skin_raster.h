// Skin pictures drawn in memory: the nine-part rule applied to a frame of a skin object,
// copies that leave the transparent colour out, and the opaque runs that a window region
// is made of. The Windows side only blits the result and turns runs into regions.
#pragma once

#include <optional>
#include <vector>

#include "skin/bitmap24.h"
#include "skin/skin_layout.h"
#include "skin/skin_model.h"

namespace skin {

inline constexpr TColor kTransparentColour = clMagenta;

// Copies source part s of src into part d of dst: stretched (nearest pixel, as COLORONCOLOR
// does) or tiled (repeated from the part's top-left, the last row and column clipped).
// Both rectangles are clipped to their bitmaps.
void StretchPart(const Bitmap24& src, const TRect& s, Bitmap24& dst, const TRect& d);
void TilePart(const Bitmap24& src, const TRect& s, Bitmap24& dst, const TRect& d);

// A new picture of width x height painted from frame `frame` of bitmap by the nine-part rule.
Bitmap24 DrawSkinImage(const Bitmap24& bitmap, const TMargins& margins, bool stackedFrames, bool tile, int frameCount,
                       int frame, int width, int height);
// The same for a skin object (its margins, tile setting and frame count). Objects keep their
// "Tile" key in Stretch (1: the centre is tiled); border pieces keep their "Stretch" key
// there (1: stretched, otherwise tiled).
Bitmap24 DrawSkinObject(const TDataSkinObject& object, bool stackedFrames, int frame, int width, int height);
Bitmap24 DrawBorderImage(const TDataSkinObject& piece, bool stackedFrames, int frame, int width, int height);

// Draws src at (x, y) into dst, leaving out magenta pixels when transparent; clipped to dst.
void DrawOver(Bitmap24& dst, int x, int y, const Bitmap24& src, bool transparent);

// One rectangle per run of pixels of a row whose colour lies outside colour .. colour +
// tolerance (per channel, upper bounds capped at 255), offset by (dx, dy).
std::vector<TRect> OpaqueRuns(const Bitmap24& bitmap, int dx, int dy, int toleranceR, int toleranceG, int toleranceB,
                              TColor colour);

// The rectangles whose union is the region of a skinned window of width x height, or nothing
// when no border piece is shaped (the region is then the whole window). Shaped pieces at
// least 2 pixels thick give their opaque runs (active frame, tolerance 1), the others their
// rectangle; the inner rectangle is always part of it.
std::optional<std::vector<TRect>> WindowRegionRects(const TSkinModel& model, const FrameBorders& borders, int width,
                                                    int height);
// Border piece places in a window of width x height: 1 left and 2 right (below the caption),
// 3 top (the caption strip), 4 bottom (between the sides).
TRect BorderPieceRect(int piece, const FrameBorders& borders, int width, int height);
const TDataSkinObject& BorderPiece(const TSkinModel& model, int piece);

}  // namespace skin
