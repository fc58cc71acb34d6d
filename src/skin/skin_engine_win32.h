// The skin engine on Windows: the manager (TSkinManage) that picks windows as they are
// created and activated, the skinned top-level window (TWinSkinForm) with its frame,
// caption buttons and menu bar (TWinSkinMenu), the skinned popup menus (TWinSkinPopMenu)
// and the painters of child controls (TSkinControl and its family).
//
// Every window is subclassed with SetWindowSubclass, so that unskinning removes exactly our
// procedure and keeps any subclass installed after it.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "gui/control.h"
#include "gui/form.h"
#include "skin/skin_data.h"
#include "skin/skin_gdi_win32.h"
#include "skin/skin_layout.h"
#include "skin/skin_messages.h"
#include "skin/skin_rules.h"
#include "unicode/uni_hint_window_win32.h"

namespace skin {

class TWinSkinForm;
class TSkinManage;

// ---- Child controls ------------------------------------------------------------------------

class TSkinControl {
 public:
  TSkinControl() = default;
  virtual ~TSkinControl();
  TSkinControl(const TSkinControl&) = delete;
  TSkinControl& operator=(const TSkinControl&) = delete;

  // A control of the program's framework (recoloured when changeColor) or a foreign window.
  void InitFromControl(TWinSkinForm& form, TSkinData& data, gui::Control& control, bool changeColor, int kind);
  void Subclass(HWND handle, TSkinData& data, TWinSkinForm& form, int kind);
  virtual void Unskin();
  virtual void Refresh();

  HWND Handle = nullptr;
  gui::Control* Control = nullptr;
  TSkinData* SkinData = nullptr;
  TWinSkinForm* SkinForm = nullptr;
  bool IsForeign = false;
  bool SkinOn = true;
  int State = 0;  // 1 once initialised, 6 after WM_NCDESTROY
  int Kind = 0;
  bool ChangeColor = false;
  std::u16string WindowText;

 protected:
  virtual bool Subclasses() const { return true; }
  virtual void Attached() {}
  // true: go on with the control's own procedure and AfterMessage.
  virtual bool BeforeMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  virtual void AfterMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  virtual void Paint(HDC dc, const RECT& rect) {}
  void PaintNC(HDC dc);
  LRESULT CallDefault(UINT msg, WPARAM wp, LPARAM lp);
  void Repaint();
  // Hides the window from drawing while the control's own procedure would paint its native
  // look; undone at once after (and by Unskin, so a control is never left hidden).
  void SetRedraw(bool allow);
  // Paints the whole control off screen through Paint and copies it in one BitBlt.
  void PaintBuffered(HDC dc);
  void FillParentColor(HDC dc, const RECT& r);
  HFONT ControlFont() const;
  std::u16string Caption() const;
  const TSkinModel& Model() const { return SkinData->Model(); }
  void TrackLeave();

  bool Hot = false, Pressed = false;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref);
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
  void Attach(HWND handle, TSkinData& data, TWinSkinForm& form, int kind);
  void Detach();
  bool subclassed_ = false;
  bool hiddenBySkin_ = false;
  COLORREF savedColor_ = CLR_INVALID;
};

// The painter object for a kind; nullptr for kinds this engine leaves native.
std::unique_ptr<TSkinControl> MakeSkinControl(PainterKind kind);

// ---- Popup menus ---------------------------------------------------------------------------

class TWinSkinPopMenu {
 public:
  TWinSkinPopMenu(HWND handle, TSkinData& data, int menuKind);
  ~TWinSkinPopMenu();
  TWinSkinPopMenu(const TWinSkinPopMenu&) = delete;
  TWinSkinPopMenu& operator=(const TWinSkinPopMenu&) = delete;
  void Restore();

  HWND Handle;
  TSkinData* SkinData;
  int MenuKind;
  bool MenuFlag = false;
  // The "MenuBackground" picture at the window's size, once painted (rows draw on it).
  Bitmap24 BackBuffer;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref);
  void PaintFrame(HDC dc);
  bool installed_ = false;
};

// ---- Menu rows --------------------------------------------------------------------------------

// What the row painters know of an owner-drawn row: its text, read from the native menu
// when the menu opens (owner-drawn rows keep their text), found again by item data and id.
struct MenuRowText {
  std::u16string caption;
  bool separator = false;
};
void RememberMenuRows(HMENU menu, bool recursive);
void ForgetMenuRows();
const MenuRowText* FindMenuRow(ULONG_PTR itemData, UINT itemId);
// Makes every row of a menu owner-drawn (recursively), keeping its type otherwise.
void MakeRowsOwnerDrawn(HMENU menu);

// A row of a skinned window's menu: the form's own menus (gui::Menu) describe their rows to
// the skin's row painter; other rows are rebuilt from their remembered text.
void MeasureMenuRow(TSkinData& data, MenuRowKind kind, const gui::Form* form, MEASUREITEMSTRUCT& mis);
void DrawMenuRow(TSkinData& data, MenuRowKind kind, const gui::Form* form, const DRAWITEMSTRUCT& dis);
// The skinned system menu's pictures: the one of a system command (-1 for none), drawn 16 x 16.
int SystemMenuImage(UINT command);
void DrawSystemMenuImage(HDC dc, int image, int x, int y, COLORREF ink);

// ---- The menu bar -----------------------------------------------------------------------------

struct TMenuBtn {
  std::u16string Caption;
  bool Visible = true, Enabled = true;
  HMENU SubMenu = nullptr;
  UINT Command = 0;
  TRect Rect;   // window coordinates
  int State = 1;  // 1 normal, 2 pressed (open), 3 hot
};

class TWinSkinMenu {
 public:
  explicit TWinSkinMenu(TWinSkinForm& form) : form_(form) {}
  // Takes the items of menu (the window's own when nullptr) and removes the native bar.
  void Build(HMENU menu);
  void Layout();
  void Paint(HDC dc);
  int ItemAt(POINT windowPoint) const;
  int FindByAccel(wchar_t key) const;
  int Next(int from, bool forward) const;
  HMENU Menu() const { return menu_; }
  std::vector<TMenuBtn> Items;

 private:
  TWinSkinForm& form_;
  HMENU menu_ = nullptr;
};

// ---- Skinned top-level windows -----------------------------------------------------------------

struct TWinSysButton {
  size_t DataIndex = 0;  // in the model's SysButtons
  TRect Rect;
  bool Visible = false, Enabled = true;
  int State = 1;
};

class TWinSkinForm {
 public:
  TWinSkinForm(TSkinManage& manager, TSkinData& data, HWND handle, gui::Form* form);
  ~TWinSkinForm();
  TWinSkinForm(const TWinSkinForm&) = delete;
  TWinSkinForm& operator=(const TWinSkinForm&) = delete;

  void InitWindow();
  void StartSkin();
  // Gives the window back its own procedure, frame, menu, style, colours and region.
  void Unskin();
  // A new skin: controls refresh, the frame is measured and sized again, all repaints.
  void ReloadSkin();
  void PaintNC(HDC dc);

  // Opens a bar item's drop-down and follows the user from item to item.
  void OpenMenuItem(int index);

  HWND Handle;
  gui::Form* FormObject;
  TSkinData* SkinData;
  int State = 0;  // 0 created, 1 skinned, 3 reskinning, 4 being destroyed, 5 resizing, 6 destroyed
  bool FrameSkinned = true;
  FrameBorders Border;
  int MenuBarHeight = 0;
  std::unique_ptr<TWinSkinMenu> MenuBar;
  bool Active = true;
  int ShowState = 0;  // 0 normal, 1 maximised, 2 minimised
  bool MenuLoop = false;
  bool BarMenuOpen = false;  // a drop-down of the skinned bar is open
  bool SkinBarRows = false;    // the rows of the bar's drop-downs are painted by the skin
  bool SkinPopupRows = false;  // the rows of the window's popup menus are painted by the skin
  std::u16string ClassName;

  TSkinControl* FindControl(HWND handle) const;
  const TSkinModel& Model() const { return SkinData->Model(); }
  bool HasFrame() const { return borderKind_ != 2; }
  bool IsDialogBorder() const { return borderKind_ == 3; }
  HFONT MenuFont() const;
  void PaintMenuBar();

 private:
  friend class TWinSkinMenu;
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref);
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
  bool Stage1(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  bool Stage2(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result, bool& passOn);
  bool Stage3(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  bool FrameworkMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  bool SysCommand(WPARAM wp, LPARAM lp, LRESULT& result);
  bool MenuMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  LRESULT CallOld(UINT msg, WPARAM wp, LPARAM lp);
  // Calls the old procedure with WS_CAPTION not complete, so that it cannot paint the
  // native caption (DefWindowProc does on WM_SETTEXT and WM_SETICON).
  LRESULT CallOldWithoutCaption(UINT msg, WPARAM wp, LPARAM lp);
  void Detach();

  // Children.
  void SkinFormChildren();
  void SkinForeignChildren(HWND parent);
  void SkinChild(HWND child, PainterKind kind, gui::Control* control);
  void SkinMenus(bool on);

  // Frame and caption.
  void Measure();
  void ResizeFrame(bool fromClient);
  // The window takes the size that gives its client the size it had before the skin.
  void KeepSavedClientSize();
  void BuildRegion();
  void RemoveRegion();
  CaptionFacts Facts() const;
  void LayoutCaption(HDC measureDc, int windowWidth, TRect& textRect);
  void PaintCaption(HDC dc, int width, bool minimized, int height);
  void PaintBorders(HDC dc, int width, int height);
  const Bitmap24& Piece(int piece, int frame, int width, int height);
  void RepaintButton(TWinSysButton& button);
  void MakeCaptionFont();
  std::u16string WindowTextW() const;

  // Non-client input.
  POINT ToWindow(LPARAM screenPoint) const;
  bool PaintsMenuRow(ULONG_PTR itemData) const;
  MenuRowKind RowKind(ULONG_PTR itemData) const;
  TWinSysButton* ButtonAt(POINT p);
  void SetHover(TWinSysButton* button, int menuItem, int state);
  void LeaveHover();
  void RunButtonAction(TWinSysButton& button, POINT screen);
  // Maximise or minimise (command), or restore when the window is shown so already.
  void ToggleShowState(bool shownSo, int state, UINT command);
  void ShowSystemMenu(POINT screen);
  void TimerTick();

  TSkinManage& manager_;
  bool subclassed_ = false;
  DWORD style_ = 0, exStyle_ = 0;
  int borderKind_ = 0;   // 0 sizeable, 1 single, 2 none, 3 dialog
  bool maxBox_ = false, minBox_ = false, helpBox_ = false, sysMenuBox_ = false, taskbar_ = false;
  bool isChild_ = false, isDialog_ = false, isPopup_ = false;
  bool removedSysMenu_ = false;
  SIZE savedClient_{};
  HMENU nativeMenu_ = nullptr;
  HMENU sysMenu_ = nullptr;
  std::vector<TWinSysButton> buttons_;
  TWinSysButton* hoverButton_ = nullptr;
  int hoverMenuItem_ = -1;
  TRect textRect_;
  HRGN region_ = nullptr;
  SIZE regionSize_{-1, -1};
  HFONT captionFont_ = nullptr;
  UINT_PTR timer_ = 0;
  int hintCounter_ = 0;
  DWORD lastSysMenuTick_ = 0;
  COLORREF savedFormColor_ = CLR_INVALID;
  struct CachedPiece {
    int frame = 0, width = 0, height = 0;
    Bitmap24 picture;
  };
  CachedPiece pieces_[5];
  std::vector<std::unique_ptr<TSkinControl>> controls_;
};

// ---- The manager --------------------------------------------------------------------------------

class TSkinManage final : public SkinManagerLink {
 public:
  // The one manager of the process, made on first use.
  static TSkinManage& Instance();
  static TSkinManage* Existing();
  // Unskins everything, removes the hooks and frees the manager.
  static void Shutdown();
  ~TSkinManage() override;

  void SetSkinData(TSkinData& data) override;
  void PostAction(SkinAction action, int delayMs) override;
  int Mode() const override { return mode_; }
  void SetMode(int mode) override { mode_ = mode; }
  void ReloadSkin(TSkinData& data) override;

  void AddSkinData(TSkinData& data);
  void RemoveSkinData(TSkinData& data);
  void InstallHook();

  // Action 7 for one window: unskinned and skinned anew after delayMs.
  void PostReskin(HWND target, int delayMs);
  bool CheckWindow(HWND handle);
  void CheckForm(gui::Form& form);
  TWinSkinForm* FindSkinForm(HWND handle) const;
  void SkinPopupMenu(HWND handle);
  void UnskinPopupMenu(HWND handle);
  TWinSkinPopMenu* FindPopup(HWND handle) const;
  void Purge();
  bool Active() const { return active_; }
  // Runs the pending action once it is due, handling only the manager's own messages and
  // paints meanwhile (no command of the program can run); false when none was pending or
  // it did not come within maxWaitMs.
  bool WaitForPendingAction(DWORD maxWaitMs);
  bool ActionPending() const { return timerOn_; }
  const std::vector<std::unique_ptr<TWinSkinForm>>& Forms() const { return forms_; }
  TSkinData* DefaultSkinData() const { return defaultData_; }

  int MenuKind = 0;   // the menu about to open: 0 popup, 1 a bar's drop-down, 2 the system menu
  bool MenuFlag = false;

 private:
  TSkinManage();
  static LRESULT CALLBACK CbtProc(int code, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK TimerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void TimerTimer();
  void UnskinAll();
  TSkinData* PickSkinDataFor(HWND handle, const std::u16string& className) const;

  HWND timerWindow_ = nullptr;
  bool timerOn_ = false;
  HHOOK hook_ = nullptr;
  bool active_ = false;
  bool checkingAll_ = false;
  int mode_ = 0;
  SkinAction action_ = SkinAction::SkinAll;
  TSkinData* actionData_ = nullptr;
  HWND targetWindow_ = nullptr;
  TSkinData* defaultData_ = nullptr;
  std::vector<TSkinData*> datas_;
  std::vector<std::unique_ptr<TWinSkinForm>> forms_;
  std::vector<std::unique_ptr<TWinSkinPopMenu>> popups_;
};

// ---- The component's Windows side --------------------------------------------------------------

// After the form is read: joins the manager, installs its hook for a main-form component,
// drops xcMenuItem (or xcSystemMenu) as the menu rule says, and posts action 1 when active.
void LoadedSkinData(TSkinData& data);
// The menu font of the system (made once).
HFONT SystemMenuFont();
// DrawTextW of a wide text.
int DrawTextWide(HDC dc, const std::u16string& text, RECT& rect, UINT flags);

// The caption-button hint, one for the process.
unicode::TUniCustomHintWindow& CaptionHint();

}  // namespace skin
