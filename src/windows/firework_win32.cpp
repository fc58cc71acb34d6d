#include "windows/firework_win32.h"

#include "windows/dib24_win32.h"

namespace windows {

namespace {
constexpr UINT_PTR kTimerId = 1;
}

DibPixelStore::~DibPixelStore() { Release(); }

void DibPixelStore::Release() {
  if (dc_) {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
    dc_ = nullptr;
  }
  if (bitmap_) {
    DeleteObject(bitmap_);
    bitmap_ = nullptr;
  }
}

std::uint32_t* DibPixelStore::Allocate(int width, int height) {
  Release();
  void* bits = nullptr;
  if (!MakeTopDownDib(width, height, 32, bitmap_, dc_, old_, bits)) return nullptr;
  return static_cast<std::uint32_t*>(bits);
}

TFireWork::TFireWork() : screen_(0, 0, &store_) {}

TFireWork::~TFireWork() { Stop(); }

void TFireWork::Create(HWND parent, const gui::ControlSpec& desc) {
  gui::ControlSpec s = desc;
  if (s.width == 0 && s.height == 0) {
    s.width = 300;
    s.height = 200;
  }
  CreateWidget(L"TFireWork", parent, s);
  screen_.SetSize(Width(), Height());
}

void TFireWork::Start() {
  if (!hwnd_) return;
  SetTimer(hwnd_, kTimerId, delay_, nullptr);
  running_ = true;
}

void TFireWork::Stop() {
  if (hwnd_ && running_) KillTimer(hwnd_, kTimerId);
  running_ = false;
}

void TFireWork::SetDelay(unsigned ms) {
  const bool wasRunning = running_;
  Stop();
  delay_ = ms;
  if (wasRunning) Start();
}

void TFireWork::Tick() {
  particles_.MoveParticles(screen_);
  FireWorkParticles::Blur(screen_);
  // Drawn at once rather than invalidated: the picture changes on every tick.
  HDC dc = GetDC(hwnd_);
  Paint(dc);
  ReleaseDC(hwnd_, dc);
}

void TFireWork::Paint(HDC dc) {
  if (store_.dc()) {
    BitBlt(dc, 0, 0, screen_.Width(), screen_.Height(), store_.dc(), 0, 0, SRCCOPY);
  } else {
    RECT r{};
    GetClientRect(hwnd_, &r);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
}

void TFireWork::Resize() {
  // The picture takes the new size (cleared); a running show goes on, a stopped one stays stopped.
  const bool wasRunning = running_;
  Stop();
  RECT r{};
  GetClientRect(hwnd_, &r);
  if (r.right != screen_.Width() || r.bottom != screen_.Height()) screen_.SetSize(r.right, r.bottom);
  if (wasRunning) Start();
}

LRESULT TFireWork::WindowMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_TIMER:
      if (wp == kTimerId) {
        Tick();
        return 0;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      Burst(static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
      return 0;
    case WM_SIZE:
      Resize();
      break;
  }
  return WidgetWindow::WindowMessage(msg, wp, lp);
}

}  // namespace windows
