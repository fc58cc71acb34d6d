#include "gui/dialogs.h"

#include <cstdint>
#include <vector>

#include "gui/application.h"
#include "gui/form.h"
#include "gui/modal_loop.h"
#include "gui/wide.h"

namespace gui {

namespace {
HWND OwnerWindow() {
  HWND active = GetActiveWindow();
  if (active) return active;
  Form* main = Application::Instance().MainForm();
  return main ? main->Handle() : nullptr;
}
}  // namespace

int MessageBoxU(std::u16string_view text, std::u16string_view caption, UINT flags) {
  const std::u16string t(text), c(caption);
  const ModalLoopScope modal;
  return MessageBoxW(OwnerWindow(), W(t), W(c), flags);
}

void ShowMessage(std::u16string_view text) { MessageBoxU(text, Application::Instance().Title(), MB_OK); }

bool Confirm(std::u16string_view text, std::u16string_view caption) {
  constexpr UINT kConfirmFlags = MB_OKCANCEL | MB_ICONQUESTION | MB_SYSTEMMODAL;  // 4129
  static_assert(kConfirmFlags == 4129);
  return MessageBoxU(text, caption, kConfirmFlags) == IDOK;
}

namespace {

// An in-memory dialog template: a prompt, an edit field, OK and Cancel.
class DialogTemplate {
 public:
  void Align() {
    while (bytes_.size() % 4) bytes_.push_back(0);
  }
  void Word(uint16_t w) {
    bytes_.push_back(static_cast<uint8_t>(w));
    bytes_.push_back(static_cast<uint8_t>(w >> 8));
  }
  void Dword(uint32_t d) {
    Word(static_cast<uint16_t>(d));
    Word(static_cast<uint16_t>(d >> 16));
  }
  void Text(std::u16string_view s) {
    for (char16_t c : s) Word(c);
    Word(0);
  }
  void Item(uint32_t style, int16_t x, int16_t y, int16_t cx, int16_t cy, uint16_t id, uint16_t atom,
            std::u16string_view text) {
    Align();
    Dword(style | WS_CHILD | WS_VISIBLE);
    Dword(0);
    Word(x), Word(y), Word(cx), Word(cy);
    Word(id);
    Word(0xFFFF), Word(atom);
    Text(text);
    Word(0);
  }
  const void* data() const { return bytes_.data(); }
  std::vector<uint8_t> bytes_;
};

constexpr int kEditId = 100;
constexpr int kPromptId = 0xFFFF;

// The prompt wraps within its width, as long as it needs: the edit box and the buttons move
// down below it and the dialog grows with them.
void FitPrompt(HWND dlg) {
  HWND prompt = GetDlgItem(dlg, kPromptId);
  if (!prompt) return;
  RECT shown;
  GetClientRect(prompt, &shown);
  const std::u16string text = GetWindowTextU(prompt);
  RECT needed{0, 0, shown.right, 0};
  HDC dc = GetDC(prompt);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(prompt, WM_GETFONT, 0, 0)));
  DrawTextW(dc, W(text), -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
  SelectObject(dc, old);
  ReleaseDC(prompt, dc);
  const int grow = needed.bottom - shown.bottom;
  if (grow <= 0) return;
  SetWindowPos(prompt, nullptr, 0, 0, shown.right, needed.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (HWND child = GetWindow(dlg, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (child == prompt) continue;
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&r), 2);
    SetWindowPos(child, nullptr, r.left, r.top + grow, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  RECT frame;
  GetWindowRect(dlg, &frame);
  SetWindowPos(dlg, nullptr, frame.left, frame.top - grow / 2, frame.right - frame.left,
               frame.bottom - frame.top + grow, SWP_NOZORDER | SWP_NOACTIVATE);
}

struct InputState {
  std::u16string* value;
};

INT_PTR CALLBACK InputProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG: {
      auto* state = reinterpret_cast<InputState*>(lp);
      SetWindowLongPtrW(dlg, DWLP_USER, lp);
      FitPrompt(dlg);
      HWND edit = GetDlgItem(dlg, kEditId);
      SetWindowTextW(edit, W(*state->value));
      SendMessageW(edit, EM_SETSEL, 0, -1);
      SetFocus(edit);
      return FALSE;
    }
    case WM_COMMAND:
      if (LOWORD(wp) == IDOK) {
        auto* state = reinterpret_cast<InputState*>(GetWindowLongPtrW(dlg, DWLP_USER));
        *state->value = GetWindowTextU(GetDlgItem(dlg, kEditId));
        EndDialog(dlg, IDOK);
        return TRUE;
      }
      if (LOWORD(wp) == IDCANCEL) {
        EndDialog(dlg, IDCANCEL);
        return TRUE;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

}  // namespace

bool InputQuery(std::u16string_view caption, std::u16string_view prompt, std::u16string& value) {
  DialogTemplate t;
  t.Dword(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
  t.Dword(0);
  t.Word(4);                      // items
  t.Word(0), t.Word(0), t.Word(200), t.Word(70);
  t.Word(0);                      // no menu
  t.Word(0);                      // standard class
  t.Text(caption);
  t.Word(9);
  t.Text(u"宋体");
  t.Item(SS_LEFT, 7, 7, 186, 10, kPromptId, 0x0082, prompt);
  t.Item(WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 7, 20, 186, 12, kEditId, 0x0081, u"");
  t.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 86, 46, 50, 14, IDOK, 0x0080, u"确定");
  t.Item(BS_PUSHBUTTON | WS_TABSTOP, 143, 46, 50, 14, IDCANCEL, 0x0080, u"取消");
  std::u16string answer = value;
  InputState state{&answer};
  const ModalLoopScope modal;
  const INT_PTR rc = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), static_cast<LPCDLGTEMPLATEW>(t.data()),
                                             OwnerWindow(), InputProc, reinterpret_cast<LPARAM>(&state));
  if (rc != IDOK) return false;
  value = answer;
  return true;
}

}  // namespace gui
