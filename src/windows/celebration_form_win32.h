// Tform8, the celebration window: a banner over a rippling picture and fireworks that fire
// by themselves while the show ("开始放烟花") is on. Created at start-up, shown by the main
// window's "热烈庆祝（烟花表演）".
#pragma once

#include "gui/menu.h"
#include "gui/timer.h"
#include "widgets/fx_label_win32.h"
#include "widgets/fx_panel_win32.h"
#include "windows/dib24_win32.h"
#include "windows/firework_win32.h"
#include "windows/secondary_forms_win32.h"
#include "windows/water_effect.h"

namespace windows {

// img1: a picture stretched over its control; mouse moves are reported in control coordinates.
class StretchedImage : public widgets::WidgetWindow {
 public:
  void Create(HWND parent, const gui::ControlSpec& desc) { CreateWidget(L"TImage", parent, desc); }
  Dib24& Picture() { return picture_; }
  std::function<void(int x, int y)> OnMouseMove;

 protected:
  LRESULT WindowMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void Paint(HDC dc) override;

 private:
  Dib24 picture_;
};

class Tform8 : public SecondaryForm {
 public:
  Tform8();

  void kaisifangyanhuaClick();
  void monisubiaozuojianClick();
  // Checked or not, the show's switch in the window's own menu.
  void SetShowChecked(bool checked) { MainMenu1.SetChecked(u"kaisifangyanhua", checked); }
  bool ShowChecked() const { return MainMenu1.Checked(u"kaisifangyanhua"); }

  StretchedImage img1;
  TFireWork FireWork1;
  widgets::TFxPanel FxPanel1;
  widgets::TFxLabel FxLabel1;
  gui::Timer tmr1;
  gui::Timer Timer1;
  gui::Menu MainMenu1;

 protected:
  void CreateControls() override;
  void FormCreate() override;
  void FormShow() override;
  void FormClose(gui::CloseAction& action) override;
  void FormResize() override;

 private:
  void tmr1Timer();
  void Timer1Timer() { monisubiaozuojianClick(); }
  void img1MouseMove(int x, int y);
  void WriteCaptionLine();

  Dib24 workBitmap_;  // the picture without ripples
  TWaterEffect ripple_;
};

}  // namespace windows
