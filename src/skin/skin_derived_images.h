// Images the model makes itself rather than finding them in a skin.
#pragma once

#include "skin/skin_model.h"

namespace skin {

// The track-bar channel used when a skin has no "Track" (or "TRACKVERT"): a sunken groove
// with margins of 3, tiled middle, one frame.
TDataSkinObject BuiltInTrack(bool vertical);

// The caption colour: the top border's pixel at a third of its width and a third of one
// frame's height; the face colour when the skin has no top border image.
TColor SampleCaptionColor(const TDataSkinObject& top, TColor face);

// The tool-bar background: a vertical gradient from a light end (the face colour blended
// towards white) to a dark end made from the caption colour (towards white when the caption
// colour is strongly saturated, else blended with grey). One frame.
TDataSkinObject MakeToolbarBackground(TColor face, TColor caption);

// The derived objects of a freshly read model: the caption colour, the tool-bar background,
// the combo arrow (the combo button's glyph with magenta in the face colour, the combo
// button's frame count) and the scroll-bar parts (the 23 frames of "Scrollbar").
void DeriveImages(TSkinModel& model);

}  // namespace skin
