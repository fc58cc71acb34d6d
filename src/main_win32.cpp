// Program entry: hands over to the application object.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  MessageBoxW(nullptr, L"Quillora12.6", L"Quillora12.6", MB_OK);
  return 0;
}
