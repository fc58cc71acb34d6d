#include "windows/celebration_form_win32.h"

#include <algorithm>
#include <string>

#include "gui/gdi.h"
#include "windows/celebration_menus.h"
#include "windows/random_source.h"

namespace windows {

namespace {
constexpr int kPanelWidth = 361, kPanelHeight = 89, kPanelTop = 45;
constexpr int kFireWorkWidth = 273, kFireWorkHeight = 161;
constexpr int kRippleInterval = 50, kFirstRocketDelay = 200, kRocketInterval = 2500;
}  // namespace

LRESULT StretchedImage::WindowMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_MOUSEMOVE && OnMouseMove) OnMouseMove(static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
  return WidgetWindow::WindowMessage(msg, wp, lp);
}

void StretchedImage::Paint(HDC dc) {
  RECT r{};
  GetClientRect(hwnd_, &r);
  if (!picture_.dc()) {
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    return;
  }
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, 0, 0, r.right, r.bottom, picture_.dc(), 0, 0, picture_.Width(), picture_.Height(), SRCCOPY);
}

Tform8::Tform8()
    : SecondaryForm(gui::FormSpec{u"Tform8", u"热烈庆祝（烟花表演）", 527, 423, WS_OVERLAPPEDWINDOW}, true) {}

void Tform8::CreateControls() {
  MainMenu1.Build(gui::Menu::Kind::Bar, CelebrationMenuRows(), 100);
  MainMenu1.Bind(u"kaisifangyanhuaClick", [this] { kaisifangyanhuaClick(); });
  MainMenu1.Bind(u"monisubiaozuojianClick", [this] { monisubiaozuojianClick(); });
  SetMenuBar(MainMenu1);

  RECT client{};
  GetClientRect(hwnd_, &client);
  img1.Create(hwnd_, gui::ControlSpec{1, 0, 0, client.right, client.bottom, u""});
  HBITMAP background = static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), L"CELEBRATION_BACKGROUND", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (background) {
    img1.Picture().CopyFrom(background);
    DeleteObject(background);
  }
  img1.OnMouseMove = [this](int x, int y) { img1MouseMove(x, y); };

  FireWork1.Create(hwnd_, gui::ControlSpec{2, 123, 120, kFireWorkWidth, kFireWorkHeight, u""});
  FireWork1.SetDelay(25);
  FireWork1.SetMaxPackCount(2000);
  FireWork1.SetParticleCount(10000);

  FxPanel1.Create(hwnd_, gui::ControlSpec{3, 79, kPanelTop, kPanelWidth, kPanelHeight, u""});
  FxPanel1.SetBorderWidth(1);
  FxPanel1.SetBorderColor(widgets::clMaroon);
  FxPanel1.SetBorderShadow(widgets::clMaroon);
  FxPanel1.SetFlatColor(widgets::clMaroon);
  FxPanel1.SetGradientColorStart(widgets::clMaroon);
  FxPanel1.SetGradientColorStop(widgets::clMaroon);

  FxLabel1.Create(FxPanel1.Handle(), gui::ControlSpec{4, 0, 0, kPanelWidth, kPanelHeight, u""});
  FxLabel1.BeginLoading();
  FxLabel1.SetAutoSize(false);
  FxLabel1.SetColor(widgets::clMaroon);
  widgets::WidgetFont font;
  font.name = u"宋体";
  font.height = 20;
  font.color = widgets::clAqua;
  FxLabel1.SetFont(font);
  FxLabel1.SetTextStyle(widgets::TTextStyle::tsRaised);
  FxLabel1.SetCaption(kCelebrationBanner);
  FxLabel1.Loaded();
  FxPanel1.AlignToClient(FxLabel1.Handle());

  // The picture lies under everything else.
  SetWindowPos(img1.Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  tmr1.OnTimer = [this] { tmr1Timer(); };
  Timer1.OnTimer = [this] { Timer1Timer(); };
  AddTimer(tmr1, kRippleInterval, false);
  AddTimer(Timer1, kFirstRocketDelay, false);
}

void Tform8::FormCreate() {
  SecondaryForm::FormCreate();  // scaling
  MainMenu1.SetVisible(u"qidongyincang", false);
  // The work bitmap keeps the picture; img1 shows a rippled copy of the same size.
  if (workBitmap_.CopyFrom(img1.Picture())) {
    img1.Picture().Make(workBitmap_.Width(), workBitmap_.Height());
  }
  ripple_.SetSize(workBitmap_.Width(), workBitmap_.Height());
  FormResize();
}

void Tform8::FormResize() {
  if (!img1.Handle()) return;
  const int w = ClientWidth(), h = ClientHeight();
  img1.SetBounds(0, 0, w, h);
  // The banner below the picture's white line (10 pixels from the picture's top, stretched).
  const int top = std::max(kPanelTop, h * 12 / 100);
  FxPanel1.SetBounds((w - kPanelWidth) / 2, top, kPanelWidth, kPanelHeight);
  const int below = top + kPanelHeight;
  FireWork1.SetBounds((w - kFireWorkWidth) / 2, below + std::max(0, (h - below - kFireWorkHeight) / 2), kFireWorkWidth,
                      kFireWorkHeight);
}

void Tform8::FormShow() {
  // The fireworks animate only while the window shows.
  FireWork1.Start();
}

void Tform8::FormClose(gui::CloseAction& action) {
  SetShowChecked(false);
  kaisifangyanhuaClick();
  FireWork1.Stop();
}

void Tform8::kaisifangyanhuaClick() {
  const bool on = ShowChecked();
  if (on) img1.Invalidate();
  tmr1.SetEnabled(on);
  Timer1.SetEnabled(on);
}

void Tform8::monisubiaozuojianClick() {
  RandomSource& random = ProcessRandom();
  random.Reseed(GetTickCount());
  const int x = static_cast<int>(random.Random(FireWork1.Width()));
  const int y = static_cast<int>(random.Random(FireWork1.Height() / 2));
  SendMessageW(FireWork1.Handle(), WM_LBUTTONDOWN, 0, MAKELPARAM(x, y));
  SendMessageW(FireWork1.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  Timer1.SetInterval(kRocketInterval);
}

void Tform8::tmr1Timer() {
  RandomSource& random = ProcessRandom();
  if (random.Random(8) == 1) ripple_.Blob(-1, -1, 1, static_cast<int>(random.Random(500)) + 50);
  GdiFlush();  // the text of the last tick is in the pixels before they are read
  ripple_.Render(workBitmap_.View(), img1.Picture().View());
  WriteCaptionLine();
  InvalidateRect(img1.Handle(), nullptr, FALSE);
}

void Tform8::WriteCaptionLine() {
  HDC dc = img1.Picture().dc();
  if (!dc) return;
  const int height = -MulDiv(12, GetDeviceCaps(dc, LOGPIXELSY), 72);  // 12 points
  gui::UniqueFont font = gui::MakeFont(u"宋体", height);
  gui::SelectedObject selected(dc, font.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  const auto* text = reinterpret_cast<const wchar_t*>(kCelebrationPictureLine);
  const int length = static_cast<int>(std::char_traits<char16_t>::length(kCelebrationPictureLine));
  SIZE extent{};
  GetTextExtentPoint32W(dc, text, length, &extent);
  TextOutW(dc, (workBitmap_.Width() - extent.cx) / 2 + 2, 10, text, length);
}

void Tform8::img1MouseMove(int x, int y) {
  // img1 stretches the picture: the pointer's place in the picture, so the ripple starts under it.
  const int w = img1.Width(), h = img1.Height();
  if (w <= 0 || h <= 0) return;
  ripple_.Blob(x * ripple_.Width() / w, y * ripple_.Height() / h, 1, 100);
}

}  // namespace windows
