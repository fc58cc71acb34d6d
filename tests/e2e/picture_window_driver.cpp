#include "picture_window_driver.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace e2e {

std::string MakeDib(int width, int height, int seed) {
  const int stride = (width * 3 + 3) / 4 * 4;
  BITMAPINFOHEADER header{sizeof header};
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  header.biSizeImage = static_cast<DWORD>(stride * height);
  std::string dib(reinterpret_cast<const char*>(&header), sizeof header);
  for (int y = 0; y < height; ++y) {
    std::string row(static_cast<size_t>(stride), '\0');
    for (int x = 0; x < width; ++x) {
      row[x * 3] = static_cast<char>((x * 7 + seed) & 0xFF);
      row[x * 3 + 1] = static_cast<char>((y * 5 + seed * 3) & 0xFF);
      row[x * 3 + 2] = static_cast<char>((x + y + seed * 11) & 0xFF);
    }
    dib += row;
  }
  return dib;
}

namespace {
struct ChildSearch {
  HWND parent;
  std::wstring windowClass;
  std::vector<HWND> found;
};
BOOL CALLBACK CollectChild(HWND hwnd, LPARAM lp) {
  auto* search = reinterpret_cast<ChildSearch*>(lp);
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  if (GetParent(hwnd) == search->parent && _wcsicmp(name, search->windowClass.c_str()) == 0) {
    search->found.push_back(hwnd);
  }
  return TRUE;
}
}  // namespace

std::vector<HWND> ChildrenByPosition(HWND parent, const std::wstring& windowClass) {
  ChildSearch search{parent, windowClass, {}};
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&search));
  std::sort(search.found.begin(), search.found.end(), [](HWND a, HWND b) {
    RECT ra{}, rb{};
    GetWindowRect(a, &ra);
    GetWindowRect(b, &rb);
    return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
  });
  return search.found;
}

std::vector<std::wstring> SlotLabels(HWND form5) {
  std::vector<std::wstring> texts;
  for (HWND label : ChildrenByPosition(form5, L"Static")) {
    wchar_t text[32] = {};
    SendMessageW(label, WM_GETTEXT, 32, reinterpret_cast<LPARAM>(text));
    texts.push_back(text);
  }
  return texts;
}

int CountLabels(HWND form5, const std::wstring& text) {
  const auto labels = SlotLabels(form5);
  return static_cast<int>(std::count(labels.begin(), labels.end(), text));
}

namespace {
struct DecodeError {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};
void OnDecodeError(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<DecodeError*>(cinfo->err)->jump, 1); }
}  // namespace

JpegSize DecodeJpegSize(const std::string& bytes) {
  JpegSize size;
  jpeg_decompress_struct cinfo;
  DecodeError error{};
  cinfo.err = jpeg_std_error(&error.base);
  error.base.error_exit = OnDecodeError;
  if (setjmp(error.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return JpegSize{};
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&cinfo, TRUE);
  jpeg_start_decompress(&cinfo);
  std::vector<unsigned char> row(static_cast<size_t>(cinfo.output_width) * cinfo.output_components);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW rows[1] = {row.data()};
    jpeg_read_scanlines(&cinfo, rows, 1);
  }
  size.width = static_cast<int>(cinfo.output_width);
  size.height = static_cast<int>(cinfo.output_height);
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  size.ok = true;
  return size;
}

}  // namespace e2e
