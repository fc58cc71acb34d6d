// TSkinManage: the one skin manager of the process. A CBT hook on the GUI thread tells it
// about windows being created, activated and destroyed; the rules of skin_rules.h pick the
// windows; a timer of its own window runs the deferred actions.
#include <algorithm>

#include "gui/application.h"
#include "gui/control.h"
#include "gui/guard.h"
#include "gui/wide.h"
#include "skin/skin_engine_win32.h"

namespace skin {

namespace {
TSkinManage* g_manager = nullptr;
bool g_hookDisabled = false;
constexpr UINT_PTR kActionTimer = 1;

std::u16string ClassOf(HWND hwnd) {
  wchar_t name[101] = {};
  GetClassNameW(hwnd, name, 100);
  return gui::U(name);
}
}  // namespace

TSkinManage& TSkinManage::Instance() {
  if (!g_manager) {
    g_manager = new TSkinManage();
    g_hookDisabled = false;
  }
  return *g_manager;
}

TSkinManage* TSkinManage::Existing() { return g_manager; }

void TSkinManage::Shutdown() {
  delete g_manager;
  g_manager = nullptr;
}

TSkinManage::TSkinManage() {
  UseSystemColours();
  WNDCLASSW wc{};
  wc.lpfnWndProc = &TSkinManage::TimerProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QuilloraSkinManager";
  RegisterClassW(&wc);
  timerWindow_ = CreateWindowW(L"QuilloraSkinManager", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
}

TSkinManage::~TSkinManage() {
  mode_ = 4;
  active_ = false;
  if (timerWindow_) {
    KillTimer(timerWindow_, kActionTimer);
    DestroyWindow(timerWindow_);
  }
  // Windows go back to their own look before the objects that subclass them go.
  for (auto& form : forms_) {
    if (form->State != 6) form->Unskin();
  }
  forms_.clear();
  popups_.clear();
  for (TSkinData* data : datas_) data->SetManager(nullptr);
  if (hook_) UnhookWindowsHookEx(hook_);
  g_hookDisabled = true;
}

void TSkinManage::AddSkinData(TSkinData& data) {
  if (std::find(datas_.begin(), datas_.end(), &data) == datas_.end()) datas_.push_back(&data);
  if (!defaultData_ && data.SkinFormtype == sfMainform) defaultData_ = &data;
  data.SetManager(this);
}

void TSkinManage::RemoveSkinData(TSkinData& data) {
  std::erase(datas_, &data);
  if (defaultData_ == &data) defaultData_ = nullptr;
  if (actionData_ == &data) actionData_ = nullptr;
  data.SetManager(nullptr);
}

void TSkinManage::InstallHook() {
  if (!hook_) hook_ = SetWindowsHookExW(WH_CBT, &TSkinManage::CbtProc, nullptr, GetCurrentThreadId());
}

LRESULT CALLBACK TSkinManage::CbtProc(int code, WPARAM wp, LPARAM lp) {
  TSkinManage* manager = g_manager;
  if (!g_hookDisabled && manager) {
    gui::Guarded("skin hook", [&] {
      HWND hwnd = reinterpret_cast<HWND>(wp);
      switch (code) {
        case HCBT_CREATEWND: {
          const auto* cbt = reinterpret_cast<const CBT_CREATEWNDW*>(lp);
          const DWORD style = static_cast<DWORD>(cbt->lpcs->style);
          if (!(style & WS_CHILD) && ClassOf(hwnd) == u"#32768") manager->SkinPopupMenu(hwnd);
          else if (cbt->lpcs->dwExStyle & WS_EX_MDICHILD) manager->CheckWindow(hwnd);
          break;
        }
        case HCBT_DESTROYWND:
          manager->UnskinPopupMenu(hwnd);
          break;
        case HCBT_ACTIVATE:
          if (manager->mode_ == 0) manager->mode_ = 1;
          manager->CheckWindow(hwnd);
          break;
        default:
          break;
      }
    });
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

void TSkinManage::SetSkinData(TSkinData& data) { actionData_ = &data; }

void TSkinManage::PostAction(SkinAction action, int delayMs) {
  action_ = action;
  if (mode_ == 0) {
    // No window has been activated yet: the windows are skinned one by one as they are.
    if (action == SkinAction::SkinAll) active_ = true;
    if (action == SkinAction::UnskinAll) active_ = false;
    return;
  }
  SetTimer(timerWindow_, kActionTimer, static_cast<UINT>(std::max(delayMs, 1)), nullptr);
  timerOn_ = true;
}

LRESULT CALLBACK TSkinManage::TimerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER && wp == kActionTimer && g_manager) {
    gui::Guarded("skin action", [] { g_manager->TimerTimer(); });
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

bool TSkinManage::WaitForPendingAction(DWORD maxWaitMs) {
  if (!timerOn_) return false;
  const DWORD start = GetTickCount();
  while (timerOn_ && GetTickCount() - start < maxWaitMs) {
    MSG msg;
    while (PeekMessageW(&msg, timerWindow_, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    gui::Application::Instance().ProcessPaintMessages();
    if (timerOn_) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_TIMER | QS_PAINT | QS_SENDMESSAGE);
  }
  return !timerOn_;
}

void TSkinManage::PostReskin(HWND target, int delayMs) {
  targetWindow_ = target;
  PostAction(SkinAction::ReskinWindow, delayMs);
}

void TSkinManage::TimerTimer() {
  KillTimer(timerWindow_, kActionTimer);
  timerOn_ = false;
  TSkinData* data = actionData_;
  if (!data) return;
  switch (action_) {
    case SkinAction::ReskinWindow: {
      // No event, and the component stays for what comes next.
      const auto it = std::find_if(forms_.begin(), forms_.end(),
                                   [&](const auto& form) { return form->Handle == targetWindow_ && form->State != 6; });
      if (it == forms_.end()) return;
      (*it)->Unskin();
      Purge();
      CheckWindow(targetWindow_);
      return;
    }
    case SkinAction::FreeDestroyed:
      Purge();
      break;
    case SkinAction::SkinAll: {
      active_ = true;
      checkingAll_ = true;
      Purge();
      const auto forms = gui::Application::Instance().Forms();  // a copy: skinning may create forms
      for (auto it = forms.rbegin(); it != forms.rend(); ++it) CheckForm(**it);
      checkingAll_ = false;
      break;
    }
    case SkinAction::UnskinAll:
      active_ = false;
      Purge();
      UnskinAll();
      break;
    case SkinAction::UpdateAll:
      Purge();
      for (auto& form : forms_) {
        if (form->SkinData == data && form->State != 6) form->ReloadSkin();
      }
      break;
  }
  data->SkinChanged();
  actionData_ = nullptr;
}

void TSkinManage::UnskinAll() {
  while (!forms_.empty()) {
    std::unique_ptr<TWinSkinForm> form = std::move(forms_.front());
    forms_.erase(forms_.begin());
    if (form->State != 6) form->Unskin();
  }
}

void TSkinManage::ReloadSkin(TSkinData& data) {
  for (auto& form : forms_) {
    if (form->SkinData == &data && form->State != 6) form->ReloadSkin();
  }
}

void TSkinManage::Purge() {
  if (mode_ == 4) return;
  // Windows destroyed since: their skinned forms detached on WM_NCDESTROY and are freed here.
  std::erase_if(forms_, [](const std::unique_ptr<TWinSkinForm>& form) { return form->State == 6; });
}

TWinSkinForm* TSkinManage::FindSkinForm(HWND handle) const {
  for (const auto& form : forms_) {
    if (form->Handle == handle && form->State != 6) return form.get();
  }
  return nullptr;
}

TSkinData* TSkinManage::PickSkinDataFor(HWND handle, const std::u16string& className) const {
  std::vector<SkinDataEntry> entries;
  for (TSkinData* data : datas_) entries.push_back({data->SkinFormtype, nullptr});
  const int index = PickSkinData(entries, handle, className);
  return index < 0 ? nullptr : datas_[static_cast<size_t>(index)];
}

bool TSkinManage::CheckWindow(HWND handle) {
  if (!active_ || !IsWindow(handle)) return false;
  Purge();
  WindowFacts facts;
  facts.ClassName = ClassOf(handle);
  facts.AnswersSkinned = SendMessageW(handle, kMsgIsSkinned, 0, 0) == 1;
  facts.AlreadyListed = FindSkinForm(handle) != nullptr;
  gui::Form* form = gui::Application::Instance().FindForm(handle);
  gui::Control* control = form ? nullptr : gui::FindControl(handle);
  facts.HasControl = form || control;
  facts.ControlTag = form ? form->tag : control ? control->tag : 0;
  facts.Style = static_cast<uint32_t>(GetWindowLongW(handle, GWL_STYLE));
  facts.IsChild = (facts.Style & WS_CHILD) != 0;
  facts.IsMdiChild = (GetWindowLongW(handle, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0;
  if (HWND parent = GetParent(handle)) facts.ParentClass = ClassOf(parent);
  facts.OwnInstance =
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(handle, GWLP_HINSTANCE)) == GetModuleHandleW(nullptr);
  RECT r{};
  GetWindowRect(handle, &r);
  facts.Width = r.right - r.left;
  facts.Height = r.bottom - r.top;

  TSkinData* picked = nullptr;
  CheckContext context;
  context.Active = active_;
  context.CheckingAll = checkingAll_;
  context.DisableTag = defaultData_ ? defaultData_->DisableTag : 99;
  context.CanSkin = [&] { return CanSkinForm(defaultData_, facts.ClassName, facts.Style); };
  context.Pick = [&] {
    picked = PickSkinDataFor(handle, facts.ClassName);
    return picked ? 0 : -1;
  };
  context.PickedLoading = [&](int) { return picked->Loading(); };
  if (CheckWindowRules(facts, context) != WindowVerdict::Skin) return false;

  auto skinned = std::make_unique<TWinSkinForm>(*this, *picked, handle, form);
  TWinSkinForm* raw = skinned.get();
  forms_.push_back(std::move(skinned));
  raw->InitWindow();
  PostMessageW(handle, kMsgStartSkin, 0, 1000);
  return true;
}

void TSkinManage::CheckForm(gui::Form& form) {
  HWND hwnd = form.Handle();
  if (!hwnd || !IsWindowVisible(hwnd) || (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD)) return;
  CheckWindow(hwnd);
}

void TSkinManage::SkinPopupMenu(HWND handle) {
  if (!active_ || FindPopup(handle)) return;
  TSkinData* data = PickSkinDataFor(handle, u"#32768");
  if (!data || data->Loading() || !PopupMenuAllowed(MenuKind, data->SkinControls)) return;
  auto popup = std::make_unique<TWinSkinPopMenu>(handle, *data, MenuKind);
  popup->MenuFlag = MenuFlag;
  popups_.push_back(std::move(popup));
}

void TSkinManage::UnskinPopupMenu(HWND handle) {
  const auto it = std::find_if(popups_.begin(), popups_.end(), [&](const auto& p) { return p->Handle == handle; });
  if (it == popups_.end()) return;
  (*it)->Restore();
  popups_.erase(it);
  if (popups_.empty()) {
    MenuKind = 0;
    MenuFlag = false;
  }
}

TWinSkinPopMenu* TSkinManage::FindPopup(HWND handle) const {
  for (const auto& popup : popups_) {
    if (popup->Handle == handle) return popup.get();
  }
  return nullptr;
}

}  // namespace skin
