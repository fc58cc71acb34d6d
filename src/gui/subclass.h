// Layers of window procedures over one window, each with its own id and data, called from the
// top down: what comctl32's SetWindowSubclass offers, without its price under Wine. comctl32
// finds a window's layers through a window property, and every GetPropW is a round trip to the
// Wine server: a window subclassed so paid about 75 µs for each message it received (the main
// window for every clipboard change, a skinned list for every row it draws). Here the layers
// are found in a table of this process. Windows and their layers belong to the UI thread.
#pragma once

#include <windows.h>

namespace gui {

using SubclassProcedure = LRESULT(CALLBACK*)(HWND, UINT, WPARAM, LPARAM, UINT_PTR id, DWORD_PTR data);

// Puts a layer on top of the window's procedure; the same procedure and id again only take the
// new data. False when the window's procedure could not be replaced.
bool InstallSubclass(HWND window, SubclassProcedure procedure, UINT_PTR id, DWORD_PTR data);
// Takes the layer away (also from within its own call); false when the window has no such layer.
// With the last layer gone the window gets its own procedure back, unless another procedure
// was put over ours meanwhile.
bool RemoveSubclass(HWND window, SubclassProcedure procedure, UINT_PTR id);
// From within a layer's procedure: the layer below it, or the window's own procedure.
LRESULT CallNextSubclass(HWND window, UINT msg, WPARAM wp, LPARAM lp);

}  // namespace gui
