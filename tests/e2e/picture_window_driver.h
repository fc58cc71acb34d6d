// The picture window (TForm5) as other programs see it: its slot labels and images, bitmaps
// put on the clipboard, JPEG files decoded to their size.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

// A 24-bit bottom-up DIB of the given size with a pattern of its own (seed varies it).
std::string MakeDib(int width, int height, int seed);

// The window's children of a class, ordered by rows then columns.
std::vector<HWND> ChildrenByPosition(HWND parent, const std::wstring& windowClass);
// The ten slot labels' texts ("空", "已用", "已锁定"), slot 1 first.
std::vector<std::wstring> SlotLabels(HWND form5);
int CountLabels(HWND form5, const std::wstring& text);

struct JpegSize {
  bool ok = false;
  int width = 0, height = 0;
};
// Decodes a JPEG file through libjpeg.
JpegSize DecodeJpegSize(const std::string& bytes);

}  // namespace e2e
