// Reads a skin's INI text into the model, its images taken from the skin's archive.
#pragma once

#include <string_view>

#include "skin/skin_model.h"

namespace skin {

class TQuickIni;
class TSkinReader;

// The steps in order: sections, name, borders, colours, caption buttons, push buttons,
// title text, progress bar, the object sections, built-in track pictures, the fixed frame
// counts and the derived images. Missing sections and keys give defaults; nothing fails.
TSkinModel ReadSkinModel(const TQuickIni& ini, const TSkinReader& archive);

// An image key's value: loaded from the archive entry of that name when it ends in exactly
// ".bmp" and the name before it is not empty; an empty picture in every other case.
Bitmap24 LoadSkinImage(const TSkinReader& archive, std::u16string_view value);

}  // namespace skin
