// TWinSkinForm: taking a window over (procedure, frame, menu bar, region, child painters)
// and giving it back.
#include "gui/application.h"
#include "gui/control.h"
#include "gui/guard.h"
#include "gui/menu.h"
#include "gui/subclass.h"
#include "gui/wide.h"
#include "skin/skin_engine_win32.h"
#include "skin/skin_raster.h"

namespace skin {

namespace {
constexpr UINT_PTR kSubclassId = 0x534B4E46;  // "SKNF"
constexpr UINT_PTR kHintTimer = 0x5348;

std::u16string ClassOf(HWND hwnd) {
  wchar_t name[101] = {};
  GetClassNameW(hwnd, name, 100);
  return gui::U(name);
}

BOOL CALLBACK CollectChild(HWND child, LPARAM lp) {
  reinterpret_cast<std::vector<HWND>*>(lp)->push_back(child);
  return TRUE;
}

// A control's design kind in the terms of the classification.
DesignKind KindOf(gui::ControlKind kind) {
  switch (kind) {
    case gui::ControlKind::Button: return DesignKind::Button;
    case gui::ControlKind::BitBtn: return DesignKind::BitBtn;
    case gui::ControlKind::SpeedButton: return DesignKind::SpeedButton;
    case gui::ControlKind::Panel: return DesignKind::Panel;
    case gui::ControlKind::CheckBox: return DesignKind::CheckBox;
    case gui::ControlKind::RadioButton: return DesignKind::RadioButton;
    case gui::ControlKind::GroupBox: return DesignKind::GroupBox;
    case gui::ControlKind::SpinButton: return DesignKind::SpinButton;
    case gui::ControlKind::ProgressBar: return DesignKind::ProgressBar;
    case gui::ControlKind::ComboBox: return DesignKind::ComboBox;
    case gui::ControlKind::Edit: return DesignKind::Edit;
    case gui::ControlKind::Memo: return DesignKind::Memo;
    case gui::ControlKind::ListBox: return DesignKind::ListBox;
    case gui::ControlKind::Label: return DesignKind::Label;
    case gui::ControlKind::Image: return DesignKind::Image;
    default: return DesignKind::Other;
  }
}
}  // namespace

TWinSkinForm::TWinSkinForm(TSkinManage& manager, TSkinData& data, HWND handle, gui::Form* form)
    : Handle(handle), FormObject(form), SkinData(&data), manager_(manager) {
  MakeCaptionFont();
}

TWinSkinForm::~TWinSkinForm() {
  if (State != 6 && IsWindow(Handle)) Detach();
  controls_.clear();
  if (region_) DeleteObject(region_);
  if (captionFont_) DeleteObject(captionFont_);
}

void TWinSkinForm::MakeCaptionFont() {
  if (captionFont_) DeleteObject(captionFont_);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  captionFont_ = CreateFontIndirectW(&metrics.lfCaptionFont);
}

HFONT TWinSkinForm::MenuFont() const { return SystemMenuFont(); }

void TWinSkinForm::InitWindow() {
  if (subclassed_) return;
  // The client size the window has now, kept under the skin's frame.
  RECT client{};
  GetClientRect(Handle, &client);
  savedClient_ = {client.right, client.bottom};

  FrameSkinned = SkinData->SkinControls.Has(xcMainMenu);
  style_ = static_cast<DWORD>(GetWindowLongW(Handle, GWL_STYLE));
  exStyle_ = static_cast<DWORD>(GetWindowLongW(Handle, GWL_EXSTYLE));
  isChild_ = (style_ & WS_CHILD) != 0;
  isPopup_ = (style_ & WS_POPUP) != 0;
  ClassName = ClassOf(Handle);
  isDialog_ = ClassName == u"#32770" || ClassName == u"TMessageForm";
  maxBox_ = (style_ & WS_MAXIMIZEBOX) != 0;
  minBox_ = (style_ & WS_MINIMIZEBOX) != 0;
  helpBox_ = (exStyle_ & WS_EX_CONTEXTHELP) != 0;
  sysMenuBox_ = (style_ & WS_SYSMENU) != 0;
  taskbar_ = (exStyle_ & WS_EX_APPWINDOW) || (!GetWindow(Handle, GW_OWNER) && !(exStyle_ & WS_EX_MDICHILD));
  if ((style_ & WS_CAPTION) != WS_CAPTION) borderKind_ = 2;
  else if ((style_ & DS_MODALFRAME) || (exStyle_ & WS_EX_DLGMODALFRAME) || isDialog_) borderKind_ = 3;
  else if (style_ & WS_THICKFRAME) borderKind_ = 0;
  else borderKind_ = 1;

  gui::InstallSubclass(Handle, &TWinSkinForm::Proc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  subclassed_ = true;

  if (FrameSkinned) {
    Border = HasFrame() ? BordersOf(Model()) : FrameBorders{};
    nativeMenu_ = GetMenu(Handle);
    if (nativeMenu_ && !(exStyle_ & WS_EX_MDICHILD)) {
      // The native bar leaves the window; the skin's bar takes its place on the frame once the
      // skin starts. Until then the window gives up the bar's room, so that the client keeps
      // its size throughout and the controls are not placed anew (a memo would wrap all its
      // text again for each size).
      // Neither frame change is drawn: each would paint the whole window and its controls
      // (under Wine about 30 ms each for the main window), and a window shown just now is not
      // painted yet (its first paint comes after the activation that skins it). It is painted
      // once afterwards, in its new frame.
      const LONG visible = GetWindowLongW(Handle, GWL_STYLE) & WS_VISIBLE;
      if (visible) SetWindowLongW(Handle, GWL_STYLE, GetWindowLongW(Handle, GWL_STYLE) & ~WS_VISIBLE);
      {
        gui::LayoutFreeze freeze(FormObject);
        MenuBar = std::make_unique<TWinSkinMenu>(*this);
        MenuBarHeight = GetSystemMetrics(SM_CYMENU);
        MenuBar->Build(nativeMenu_);
        KeepSavedClientSize();
      }
      if (visible) {
        SetWindowLongW(Handle, GWL_STYLE, GetWindowLongW(Handle, GWL_STYLE) | WS_VISIBLE);
        RedrawWindow(Handle, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN);
      }
    }
    for (size_t i = 0; i < Model().SysButtons.size(); ++i) {
      const TDataSkinSysButton& data = Model().SysButtons[i];
      if (data.Action >= 7 && data.Action <= 9 && data.Align == 100) continue;  // MDI child buttons: no MDI here
      buttons_.push_back({i});
    }
  } else {
    State = 1;
  }
}

void TWinSkinForm::StartSkin() {
  sysMenu_ = GetSystemMenu(Handle, FALSE);
  if (FrameSkinned) Border = HasFrame() ? BordersOf(Model()) : FrameBorders{};
  if (FormObject) {
    SkinFormChildren();
    savedFormColor_ = FormObject->Color();
    FormObject->SetColor(ToColorRef(Model().Colors[scButtonFace]));
  } else {
    SkinForeignChildren(Handle);
  }
  if (FrameSkinned && HasFrame() && !isChild_ && !IsIconic(Handle)) {
    // The caption buttons are the skin's: the system draws none of its own.
    if (sysMenuBox_ && !taskbar_) {
      SetWindowLongW(Handle, GWL_STYLE, GetWindowLongW(Handle, GWL_STYLE) & ~WS_SYSMENU);
      removedSysMenu_ = true;
    }
    State = 5;
    ResizeFrame(false);
    State = 1;
    BuildRegion();
  }
  State = 1;
  SendMessageW(Handle, kMsgAfterSkin, 0, kSkinMagic);
  timer_ = SetTimer(Handle, kHintTimer, 250, nullptr);
  RedrawWindow(Handle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TWinSkinForm::SkinFormChildren() {
  std::erase_if(controls_, [](const std::unique_ptr<TSkinControl>& c) { return c->State == 6; });
  // Every child window in tab order (z-order), depth first.
  std::vector<HWND> children;
  EnumChildWindows(Handle, &CollectChild, reinterpret_cast<LPARAM>(&children));
  for (HWND child : children) {
    gui::Control* control = gui::FindControl(child);
    if (!control || control->tag == SkinData->DisableTag) continue;
    if (SendMessageW(child, kMsgIsSkinned, 0, 0) == 1 || FindControl(child)) continue;
    ControlFacts facts;
    facts.Kind = KindOf(control->kind);
    facts.ClassName = ClassOf(child);
    facts.Tag = control->tag;
    facts.HasScrollBars = (GetWindowLongW(child, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL)) != 0;
    SkinChild(child, ClassifyControl(facts, *SkinData), control);
  }
  SkinMenus(true);
}

void TWinSkinForm::SkinForeignChildren(HWND parent) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const DWORD style = static_cast<DWORD>(GetWindowLongW(child, GWL_STYLE));
    if (!(style & WS_CHILD)) continue;
    const PainterKind kind = ClassifyForeignChild(LowerAscii(ClassOf(child)), style, SkinData->SkinControls);
    if (kind == PainterKind::Children) SkinForeignChildren(child);
    else SkinChild(child, kind, nullptr);
  }
}

void TWinSkinForm::SkinChild(HWND child, PainterKind kind, gui::Control* control) {
  std::unique_ptr<TSkinControl> painter = MakeSkinControl(kind);
  if (!painter) return;
  TSkinControl* raw = painter.get();
  controls_.push_back(std::move(painter));
  if (control) raw->InitFromControl(*this, *SkinData, *control, PainterRecolours(kind), static_cast<int>(kind));
  else raw->Subclass(child, *SkinData, *this, static_cast<int>(kind));
}

void TWinSkinForm::SkinMenus(bool on) {
  if (!FormObject) return;
  // The window's menu rows are owner-drawn always (the gui layer paints them); while skinned,
  // this form paints those of the bar's drop-downs and, when the settings say so, of popups.
  SkinBarRows = on && FrameSkinned;
  SkinPopupRows = on && SkinData->SkinControls.Has(xcPopupMenu);
}

TSkinControl* TWinSkinForm::FindControl(HWND handle) const {
  for (const auto& control : controls_) {
    if (control->Handle == handle && control->State != 6) return control.get();
  }
  return nullptr;
}

void TWinSkinForm::Detach() {
  if (timer_) KillTimer(Handle, timer_);
  timer_ = 0;
  for (auto& control : controls_) control->Unskin();
  controls_.clear();
  if (subclassed_) gui::RemoveSubclass(Handle, &TWinSkinForm::Proc, kSubclassId);
  subclassed_ = false;
  LeaveHover();
  ForgetMenuRows();
}

void TWinSkinForm::Unskin() {
  if (State == 6) return;
  const bool destroying = State == 4;
  // The native bar comes back and the frame is sized for it in steps: the controls are placed
  // once, for the client size kept.
  gui::LayoutFreeze freeze(destroying ? nullptr : FormObject);
  Detach();
  SkinMenus(false);
  if (FormObject && !destroying) FormObject->SetColor(savedFormColor_);
  if (!FrameSkinned) {
    RedrawWindow(Handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    State = 6;
    return;
  }
  if (removedSysMenu_) SetWindowLongW(Handle, GWL_STYLE, GetWindowLongW(Handle, GWL_STYLE) | WS_SYSMENU);
  removedSysMenu_ = false;
  RECT client{};
  GetClientRect(Handle, &client);
  if (MenuBar) {
    SetMenu(Handle, MenuBar->Menu() ? MenuBar->Menu() : nativeMenu_);
    MenuBar.reset();
  }
  RemoveRegion();
  if (!destroying && !isChild_ && HasFrame() && !IsZoomed(Handle) && !IsIconic(Handle)) {
    RECT outer = client;
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongW(Handle, GWL_STYLE)), GetMenu(Handle) != nullptr,
                       static_cast<DWORD>(GetWindowLongW(Handle, GWL_EXSTYLE)));
    SetWindowPos(Handle, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    // A menu bar that wraps onto a second line under the native frame takes client room:
    // the client keeps its size.
    RECT now{};
    GetClientRect(Handle, &now);
    if (now.bottom != client.bottom) {
      RECT window{};
      GetWindowRect(Handle, &window);
      SetWindowPos(Handle, nullptr, 0, 0, window.right - window.left,
                   window.bottom - window.top + client.bottom - now.bottom,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  } else if (!destroying) {
    SetWindowPos(Handle, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  if (!destroying) RedrawWindow(Handle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  State = 6;
}

void TWinSkinForm::ReloadSkin() {
  if (State == 0 || State == 6) return;  // not started yet: StartSkin measures with the new skin
  State = 3;
  MakeCaptionFont();
  for (CachedPiece& piece : pieces_) piece = {};
  for (auto& control : controls_) control->Refresh();
  if (FormObject) FormObject->SetColor(ToColorRef(Model().Colors[scButtonFace]));
  if (FrameSkinned) {
    Border = HasFrame() ? BordersOf(Model()) : FrameBorders{};
    buttons_.clear();
    hoverButton_ = nullptr;
    for (size_t i = 0; i < Model().SysButtons.size(); ++i) {
      const TDataSkinSysButton& data = Model().SysButtons[i];
      if (data.Action >= 7 && data.Action <= 9 && data.Align == 100) continue;
      buttons_.push_back({i});
    }
    if (HasFrame() && !isChild_) ResizeFrame(true);
    regionSize_ = {-1, -1};
    BuildRegion();
  }
  State = 1;
  SendMessageW(Handle, kMsgAfterSkin, 0, kSkinMagic);
  RedrawWindow(Handle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TWinSkinForm::ResizeFrame(bool fromClient) {
  if (IsZoomed(Handle)) {
    SetWindowPos(Handle, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return;
  }
  SIZE client = savedClient_;
  if (fromClient || State == 3) {
    RECT r{};
    GetClientRect(Handle, &r);
    client = {r.right, r.bottom};
  }
  SizeWH size = SkinnedWindowSize(client.cx, client.cy, Border, MenuBarHeight);
  if (IsDialogBorder() && !fromClient) {
    // A dialog is made wide enough for its caption; its controls move to stay centred.
    HDC dc = GetDC(Handle);
    HGDIOBJ old = SelectObject(dc, captionFont_);
    SIZE text{};
    const std::u16string caption = WindowTextW();
    GetTextExtentPoint32W(dc, gui::W(caption), static_cast<int>(caption.size()), &text);
    SelectObject(dc, old);
    ReleaseDC(Handle, dc);
    const int need = text.cx + Model().Title.Margins.Left + Model().Title.Margins.Right;
    if (size.Width < need) {
      const int shift = (need - size.Width) / 2;
      for (HWND child = GetWindow(Handle, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const RECT at = gui::BoundsInParent(child);
        SetWindowPos(child, nullptr, at.left + shift, at.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
      size.Width = need;
    }
  }
  SetWindowPos(Handle, nullptr, 0, 0, size.Width, size.Height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TWinSkinForm::KeepSavedClientSize() {
  if (IsZoomed(Handle) || IsIconic(Handle)) return;
  RECT client{}, window{};
  GetClientRect(Handle, &client);
  if (client.right == savedClient_.cx && client.bottom == savedClient_.cy) return;
  GetWindowRect(Handle, &window);
  SetWindowPos(Handle, nullptr, 0, 0, window.right - window.left - (client.right - savedClient_.cx),
               window.bottom - window.top - (client.bottom - savedClient_.cy),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinSkinForm::BuildRegion() {
  if (State == 6 || !FrameSkinned || !HasFrame() || isChild_) return;
  RECT r{};
  GetWindowRect(Handle, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  if (w == regionSize_.cx && h == regionSize_.cy && State != 3) return;
  const auto rects = WindowRegionRects(Model(), Border, w, h);
  HRGN region = rects ? RegionFromRects(*rects) : CreateRectRgn(0, 0, w, h);
  // The system owns the region once it is set; ours is only the handle to compare.
  if (SetWindowRgn(Handle, region, TRUE)) {
    region_ = nullptr;
    regionSize_ = {w, h};
  } else {
    DeleteObject(region);
  }
}

void TWinSkinForm::RemoveRegion() {
  SetWindowRgn(Handle, nullptr, FALSE);
  regionSize_ = {-1, -1};
}

std::u16string TWinSkinForm::WindowTextW() const { return gui::GetWindowTextU(Handle); }

LRESULT CALLBACK TWinSkinForm::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
  auto* self = reinterpret_cast<TWinSkinForm*>(ref);
  return gui::Guarded("skinned window", LRESULT{0}, [&] { return self->WndProc(msg, wp, lp); });
}

LRESULT TWinSkinForm::CallOld(UINT msg, WPARAM wp, LPARAM lp) { return gui::CallNextSubclass(Handle, msg, wp, lp); }

LRESULT TWinSkinForm::CallOldWithoutCaption(UINT msg, WPARAM wp, LPARAM lp) {
  const LONG style = GetWindowLongW(Handle, GWL_STYLE);
  if ((style & WS_CAPTION) != WS_CAPTION || State == 0) return CallOld(msg, wp, lp);
  SetWindowLongW(Handle, GWL_STYLE, style & ~WS_BORDER);
  const LRESULT result = CallOld(msg, wp, lp);
  SetWindowLongW(Handle, GWL_STYLE, GetWindowLongW(Handle, GWL_STYLE) | WS_BORDER);
  return result;
}

}  // namespace skin
