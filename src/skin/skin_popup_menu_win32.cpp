// TWinSkinPopMenu: a popup menu window ("#32768") with the skin's "MenuBackground" frame.
// Under Wine a popup menu has no non-client area: it draws its raised edge inside its client
// area in WM_PAINT, so the skin's frame is painted over that edge after the menu's own paint.
#include "gui/guard.h"
#include "gui/subclass.h"
#include "skin/skin_engine_win32.h"
#include "skin/skin_raster.h"

namespace skin {

namespace {
constexpr UINT_PTR kSubclassId = 0x534B4E50;  // "SKNP"
constexpr int kFrame = 3;
}  // namespace

TWinSkinPopMenu::TWinSkinPopMenu(HWND handle, TSkinData& data, int menuKind)
    : Handle(handle), SkinData(&data), MenuKind(menuKind) {
  installed_ = gui::InstallSubclass(Handle, &TWinSkinPopMenu::Proc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

TWinSkinPopMenu::~TWinSkinPopMenu() { Restore(); }

void TWinSkinPopMenu::Restore() {
  if (installed_ && IsWindow(Handle)) gui::RemoveSubclass(Handle, &TWinSkinPopMenu::Proc, kSubclassId);
  installed_ = false;
  BackBuffer.Clear();
}

void TWinSkinPopMenu::PaintFrame(HDC given) {
  const TSkinModel& model = SkinData->Model();
  RECT r{};
  GetWindowRect(Handle, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 2 * kFrame || h <= 2 * kFrame) return;
  HDC dc = given ? given : GetWindowDC(Handle);
  Offscreen buffer(w, h);
  buffer.Put(BackBuffer, 0, 0);
  BitBlt(dc, 0, 0, w, kFrame, buffer.dc(), 0, 0, SRCCOPY);
  BitBlt(dc, 0, h - kFrame, w, kFrame, buffer.dc(), 0, h - kFrame, SRCCOPY);
  BitBlt(dc, 0, 0, kFrame, h, buffer.dc(), 0, 0, SRCCOPY);
  BitBlt(dc, w - kFrame, 0, kFrame, h, buffer.dc(), w - kFrame, 0, SRCCOPY);
  // A thin outline in the skin's shadow colour keeps the menu apart from what lies beneath.
  HBRUSH outline = CreateSolidBrush(ToColorRef(model.Colors[scButtonShadow]));
  RECT all{0, 0, w, h};
  FrameRect(dc, &all, outline);
  DeleteObject(outline);
  if (!given) ReleaseDC(Handle, dc);
}

LRESULT CALLBACK TWinSkinPopMenu::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
  auto* self = reinterpret_cast<TWinSkinPopMenu*>(ref);
  return gui::Guarded("skinned popup menu", LRESULT{0}, [&]() -> LRESULT {
    if (msg == kMsgIsSkinned) return 1;
    TSkinManage* manager = TSkinManage::Existing();
    if (!manager || !manager->Active()) return gui::CallNextSubclass(hwnd, msg, wp, lp);
    const TSkinModel& model = self->SkinData->Model();
    const bool background = !self->SkinData->Loading() && model.MenuBackground && !model.MenuBackground->Bitmap.Empty();
    auto render = [&] {
      RECT r{};
      GetWindowRect(hwnd, &r);
      const int w = r.right - r.left, h = r.bottom - r.top;
      if (self->BackBuffer.Width() != w || self->BackBuffer.Height() != h) {
        self->BackBuffer = DrawSkinObject(*model.MenuBackground, false, 1, w, h);
      }
    };
    switch (msg) {
      case WM_DESTROY: {
        self->Restore();
        return gui::CallNextSubclass(hwnd, msg, wp, lp);
      }
      case WM_ERASEBKGND:
        if (!self->SkinData->Options.Has(xoMenuBG)) gui::CallNextSubclass(hwnd, msg, wp, lp);
        return 1;
      case WM_NCPAINT:
        if (!background) return gui::CallNextSubclass(hwnd, msg, wp, lp);
        render();
        gui::CallNextSubclass(hwnd, msg, wp, lp);
        self->PaintFrame(nullptr);
        return 0;
      case WM_PAINT: {
        if (!background) return gui::CallNextSubclass(hwnd, msg, wp, lp);
        render();
        const LRESULT result = gui::CallNextSubclass(hwnd, msg, wp, lp);
        self->PaintFrame(nullptr);
        return result;
      }
      default:
        return gui::CallNextSubclass(hwnd, msg, wp, lp);
    }
  });
}

}  // namespace skin
