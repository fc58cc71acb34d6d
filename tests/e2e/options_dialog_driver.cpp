#include "options_dialog_driver.h"

#include <commctrl.h>

#include <vector>

namespace e2e {

using namespace std::chrono_literals;

namespace {
struct ChildSearch {
  int id;
  HWND found;
};
BOOL CALLBACK FindChild(HWND hwnd, LPARAM lp) {
  auto* search = reinterpret_cast<ChildSearch*>(lp);
  if (GetDlgCtrlID(hwnd) == search->id) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}
POINT Center(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
void Settle() { WaitUntil([] { return false; }, 150ms); }
}  // namespace

void TypeText(const std::wstring& text) {
  for (wchar_t c : text) {
    INPUT in[2] = {};
    for (INPUT& i : in) {
      i.type = INPUT_KEYBOARD;
      i.ki.wScan = c;
      i.ki.dwFlags = KEYEVENTF_UNICODE;
    }
    in[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof in[0]);
  }
  Settle();
}

HWND OptionsDialog::Window() const { return FindProcessWindow(pid_, L"TForm2", L"属性设置"); }

bool OptionsDialog::Visible() const {
  const HWND w = Window();
  return w && IsWindowVisible(w);
}

bool OptionsDialog::WaitShown(std::chrono::milliseconds timeout) {
  return WaitUntil([&] { return Visible(); }, timeout);
}

bool OptionsDialog::WaitHidden(std::chrono::milliseconds timeout) {
  return WaitUntil([&] { return !Visible(); }, timeout);
}

HWND OptionsDialog::Control(int id) const {
  ChildSearch search{id, nullptr};
  if (HWND w = Window()) EnumChildWindows(w, FindChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

int OptionsDialog::ActiveTab() const {
  // The tab control is the first control of the dialog.
  return static_cast<int>(SendMessageW(Control(3001), TCM_GETCURSEL, 0, 0));
}

std::optional<RECT> OptionsDialog::TabRect(int tab) const {
  // The tab control answers in the program's memory: the rectangle is read from there, as
  // accessibility tools do.
  const HWND tabs = Control(3001);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid_);
  if (!process) return std::nullopt;
  std::optional<RECT> result;
  if (void* remote = VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE)) {
    RECT r{};
    SIZE_T read = 0;
    if (SendMessageW(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(remote)) &&
        ReadProcessMemory(process, remote, &r, sizeof r, &read) && read == sizeof r) {
      MapWindowPoints(tabs, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
      result = r;
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  }
  CloseHandle(process);
  return result;
}

bool OptionsDialog::ChooseTab(int tab) {
  const std::optional<RECT> r = TabRect(tab);
  if (!r) return false;
  ClickAt(POINT{(r->left + r->right) / 2, (r->top + r->bottom) / 2});
  WaitUntil([&] { return ActiveTab() == tab; }, 5s);
  Settle();
  return ActiveTab() == tab;
}

bool OptionsDialog::Checked(int id) const {
  return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

int OptionsDialog::ComboIndex(int id) const { return static_cast<int>(SendMessageW(Control(id), CB_GETCURSEL, 0, 0)); }

bool OptionsDialog::Click(int id) {
  const HWND control = Control(id);
  // A control of a tab not shown would be a click on whatever lies there.
  if (!control || !IsWindowVisible(control)) return false;
  ClickAt(Center(control));
  Settle();
  return true;
}

void OptionsDialog::TypeInto(int id, const std::wstring& text) {
  const HWND field = Control(id);
  ClickAt(Center(field));
  Settle();
  PressKey(VK_END);
  for (size_t i = WindowText(field).size(); i > 0; --i) PressKey(VK_BACK);
  Settle();
  TypeText(text);
}

void OptionsDialog::ChooseComboItem(int id, int index) {
  const HWND combo = Control(id);
  ClickAt(Center(combo));
  Settle();
  PressKey(VK_HOME);
  for (int i = 0; i < index; ++i) PressKey(VK_DOWN);
  PressKey(VK_RETURN);
  WaitUntil([&] { return ComboIndex(id) == index; }, 5s);
  Settle();
}

void OptionsDialog::ClickArrow(int id, bool up) {
  RECT r{};
  GetWindowRect(Control(id), &r);
  const int height = r.bottom - r.top;
  ClickAt(POINT{(r.left + r.right) / 2, up ? r.top + height / 4 : r.bottom - height / 4});
  Settle();
}

bool OptionsDialog::WaitText(int id, const std::wstring& text) const {
  return WaitUntil([&] { return Text(id) == text; }, 5s);
}

}  // namespace e2e
