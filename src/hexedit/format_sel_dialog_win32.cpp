#include "hexedit/format_sel_dialog_win32.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "gui/guard.h"
#include "gui/modal_loop.h"
#include "gui/wide.h"

namespace hexedit {

namespace {

constexpr int kListId = 100;
constexpr int kHexTextId = 101;

struct DialogState {
  const std::vector<OfferedFormat>* formats;
  const RegisteredFormats* registered;
  FormatSelection result;
  HWND owner;
};

// An in-memory dialog template: the frame and four controls, placed in WM_INITDIALOG.
class TemplateWriter {
 public:
  void Align() {
    while (bytes_.size() % 4) bytes_.push_back(0);
  }
  void Word(WORD w) { Append(&w, sizeof w); }
  void Dword(DWORD d) { Append(&d, sizeof d); }
  void Text(const wchar_t* s) { Append(s, (wcslen(s) + 1) * sizeof(wchar_t)); }
  void Item(DWORD style, WORD id, WORD classAtom, const wchar_t* text) {
    Align();
    Dword(style | WS_CHILD | WS_VISIBLE);
    Dword(0);
    for (int i = 0; i < 4; ++i) Word(10);  // x, y, cx, cy: placed later
    Word(id);
    Word(0xFFFF);
    Word(classAtom);
    Text(text);
    Word(0);  // no creation data
  }
  const DLGTEMPLATE* Get() {
    Align();
    return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data());
  }

 private:
  void Append(const void* p, size_t n) {
    const auto* b = static_cast<const unsigned char*>(p);
    bytes_.insert(bytes_.end(), b, b + n);
  }
  std::vector<unsigned char> bytes_;
};

void UpdateHexOption(HWND dialog, const DialogState& state) {
  const int index = static_cast<int>(SendDlgItemMessageW(dialog, kListId, LB_GETCURSEL, 0, 0));
  bool text = false;
  if (index >= 0 && index < static_cast<int>(state.formats->size())) {
    text = IsTextFormat((*state.formats)[static_cast<size_t>(index)].id, *state.registered);
  }
  EnableWindow(GetDlgItem(dialog, kHexTextId), text);
  EnableWindow(GetDlgItem(dialog, IDOK), index >= 0);
}

void Layout(HWND dialog, HWND owner) {
  const int width = GetSystemMetrics(SM_CXSCREEN) / 4;
  const int height = GetSystemMetrics(SM_CYSCREEN) / 4;
  RECT ownerRect{};
  if (owner) GetWindowRect(owner, &ownerRect);
  else SetRect(&ownerRect, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  const int x = (ownerRect.left + ownerRect.right - width) / 2;
  const int y = (ownerRect.top + ownerRect.bottom - height) / 2;
  SetWindowPos(dialog, nullptr, std::max(0, x), std::max(0, y), width, height, SWP_NOZORDER);
  RECT client{};
  GetClientRect(dialog, &client);
  const int margin = 8, buttonW = 80, buttonH = 24;
  const int bottom = client.bottom - margin - buttonH;
  MoveWindow(GetDlgItem(dialog, kListId), margin, margin, client.right - 2 * margin, bottom - 2 * margin, TRUE);
  MoveWindow(GetDlgItem(dialog, kHexTextId), margin, bottom, client.right / 2 - margin, buttonH, TRUE);
  MoveWindow(GetDlgItem(dialog, IDOK), client.right - 2 * (buttonW + margin), bottom, buttonW, buttonH, TRUE);
  MoveWindow(GetDlgItem(dialog, IDCANCEL), client.right - (buttonW + margin), bottom, buttonW, buttonH, TRUE);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  return gui::Guarded("TFormatSelDialog", INT_PTR{FALSE}, [&]() -> INT_PTR {
    auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (msg) {
      case WM_INITDIALOG: {
        state = reinterpret_cast<DialogState*>(lp);
        SetWindowLongPtrW(dialog, DWLP_USER, lp);
        Layout(dialog, state->owner);
        HWND list = GetDlgItem(dialog, kListId);
        for (const OfferedFormat& f : *state->formats) {
          const std::wstring name = gui::Wstr(FormatDisplayName(f));
          SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        }
        SendMessageW(list, LB_SETCURSEL, 0, 0);
        UpdateHexOption(dialog, *state);
        return TRUE;
      }
      case WM_COMMAND:
        switch (LOWORD(wp)) {
          case kListId:
            if (HIWORD(wp) == LBN_SELCHANGE) UpdateHexOption(dialog, *state);
            if (HIWORD(wp) == LBN_DBLCLK) PostMessageW(dialog, WM_COMMAND, IDOK, 0);
            return TRUE;
          case IDOK: {
            const int index = static_cast<int>(SendDlgItemMessageW(dialog, kListId, LB_GETCURSEL, 0, 0));
            if (index < 0) return TRUE;
            state->result.format = (*state->formats)[static_cast<size_t>(index)].id;
            state->result.hexText = IsWindowEnabled(GetDlgItem(dialog, kHexTextId)) &&
                                    IsDlgButtonChecked(dialog, kHexTextId) == BST_CHECKED;
            EndDialog(dialog, IDOK);
            return TRUE;
          }
          case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
          default:
            break;
        }
        break;
      default:
        break;
    }
    return FALSE;
  });
}

}  // namespace

std::optional<FormatSelection> TFormatSelDialog::Execute(HWND owner, const std::vector<OfferedFormat>& formats,
                                                          const RegisteredFormats& registered) {
  if (formats.empty()) return std::nullopt;
  TemplateWriter t;
  t.Dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT);
  t.Dword(0);
  t.Word(4);  // items
  for (int i = 0; i < 4; ++i) t.Word(0);
  t.Word(0);  // no menu
  t.Word(0);  // the default class
  t.Text(L"Select Data Format");
  t.Word(9);
  t.Text(L"MS Shell Dlg");
  t.Item(WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY, kListId, 0x0083, L"");
  t.Item(BS_AUTOCHECKBOX | WS_TABSTOP, kHexTextId, 0x0080, L"Hex Text");
  t.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, 0x0080, L"OK");
  t.Item(BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL, 0x0080, L"Cancel");
  DialogState state{&formats, &registered, {}, owner};
  const gui::ModalLoopScope modal;
  const INT_PTR answer = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), t.Get(), owner, DialogProc,
                                                 reinterpret_cast<LPARAM>(&state));
  if (answer != IDOK || state.result.format == 0) return std::nullopt;
  return state.result;
}

}  // namespace hexedit
