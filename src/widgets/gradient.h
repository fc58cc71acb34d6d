// Colour gradients of a panel's client area, in each TGradientDirection. Colours run per
// channel in 16.16 fixed point over the pixels of a run, both ends exact; consecutive pixels
// of one colour are filled as one rectangle.
#pragma once

#include "widgets/canvas.h"

namespace widgets {

enum class TGradientDirection {
  gdDiagonalUp, gdDiagonalDown, gdHorizontalEnd, gdHorizontalCenter, gdHorizontalBox, gdVerticalEnd,
  gdVerticalCenter, gdVerticalBox, gdSquareBox, gdBigSquareBox
};

// The colour of pixel i of a run of n pixels from start to stop (RGB values). A step above 8
// merges 255 div step colour changes into one band.
TColor RunColor(TColor start, TColor stop, int i, int n, int step = 1);

// Paints r (nothing when it is empty); system colours are resolved first.
void PaintGradient(Canvas& canvas, const Rect& r, TGradientDirection direction, int step, TColor start,
                   TColor stop, const SystemColorSource& system);

}  // namespace widgets
