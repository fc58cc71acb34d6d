// TFireWork: a control that shows particle fireworks. Its pixels live in a DIB section; a
// timer of its own (Delay ms) moves the particles, blurs the picture and draws it at once.
// A mouse-button press bursts a rocket toward the pointer.
#pragma once

#include <windows.h>

#include "widgets/widget_window_win32.h"
#include "windows/draw_screen.h"
#include "windows/firework_particles.h"

namespace windows {

// Pixels of a TDrawScreen in a top-down 32-bit DIB section selected into a memory DC.
class DibPixelStore : public PixelStore {
 public:
  ~DibPixelStore() override;
  std::uint32_t* Allocate(int width, int height) override;
  HDC dc() const { return dc_; }

 private:
  void Release();
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

class TFireWork : public widgets::WidgetWindow {
 public:
  TFireWork();
  ~TFireWork() override;
  // Created at the default size 300 x 200 unless desc says otherwise; the timer is not started.
  void Create(HWND parent, const gui::ControlSpec& desc);

  void Start();
  void Stop();
  bool Running() const { return running_; }

  unsigned Delay() const { return delay_; }
  void SetDelay(unsigned ms);
  int MaxPackCount() const { return particles_.MaxPackCount; }
  void SetMaxPackCount(int count) { particles_.MaxPackCount = count; }
  int ParticleCount() const { return particles_.ParticleCount(); }
  void SetParticleCount(int count) { particles_.SetParticleCount(count); }

  void Burst(int x, int y) { particles_.Burst(x, y, Height()); }
  void Tick();
  const TDrawScreen& Screen() const { return screen_; }
  FireWorkParticles& Particles() { return particles_; }

 protected:
  LRESULT WindowMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void Paint(HDC dc) override;

 private:
  void Resize();

  DibPixelStore store_;
  TDrawScreen screen_;
  FireWorkParticles particles_;
  unsigned delay_ = 50;
  bool running_ = false;
};

}  // namespace windows
