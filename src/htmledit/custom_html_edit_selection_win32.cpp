// TCustomHtmlEdit's caret and selection in characters of the body text, the selected text,
// and the browser's own edit context menu.
#include "htmledit/custom_html_edit_win32.h"
#include "htmledit/editing_fixups.h"
#include "htmledit/editor_selection.h"
#include "htmledit/range_html.h"

namespace htmledit {

namespace {

constexpr int kContextMenuResource = 24641;
constexpr int kEditSubmenu = 2;
constexpr int kRemovedItem = 6;
enum : UINT { kIdmCopy = 15, kIdmCut = 16, kIdmDelete = 17, kIdmPaste = 26, kIdmUndo = 43 };

}  // namespace

int TCustomHtmlEdit::GetSelStart() {
  IEngineDocument* doc = nullptr;
  if (!GetDocument(&doc)) return 0;
  const TableSelection s = CurrentSelection(doc);
  int result = s.start;
  if (s.control) {
    result = -1;
  } else if (result > 0 && doc->Dom().Body() && SelStartCountsOneLess(InnerHTML(doc->Dom().Body()))) {
    --result;
  }
  doc->Release();
  return result;
}

void TCustomHtmlEdit::SetSelStart(int pos) {
  if (pos < 0) pos = 0;
  IEngineDocument* doc = nullptr;
  if (!GetDocument(&doc)) return;
  doc->SetSelection(pos, pos);
  doc->Release();
  // The count may come out one off (an empty paragraph): one character further or back.
  const int now = GetSelStart();
  if (now == pos - 1 || now == pos + 1) {
    if (GetDocument(&doc)) {
      int start = 0, end = 0;
      doc->GetSelection(start, end);
      const int fixed = now == pos - 1 ? start + 1 : start - 1;
      doc->SetSelection(fixed, fixed);
      doc->Release();
    }
  }
}

int TCustomHtmlEdit::GetSelLength() {
  IEngineDocument* doc = nullptr;
  if (!GetDocument(&doc)) return 0;
  const TableSelection s = CurrentSelection(doc);
  doc->Release();
  return s.control ? 0 : s.end - s.start;
}

void TCustomHtmlEdit::SetSelLength(int length) {
  if (length < 0) length = 0;
  IEngineDocument* doc = nullptr;
  if (!GetDocument(&doc)) return;
  int start = 0, end = 0;
  doc->GetSelection(start, end);
  start = std::min(start, end);
  doc->SetSelection(start, start + length);
  doc->Release();
}

void TCustomHtmlEdit::GetSelText(std::u16string& text) {
  text.clear();
  IEngineDocument* doc = nullptr;
  if (!GetDocument(&doc)) return;
  const TableSelection s = CurrentSelection(doc);
  if (!s.control) text = RangeText(doc->Layout(), s.start, s.end);
  doc->Release();
}

void TCustomHtmlEdit::ReplaceSel(const std::u16string& text) {
  IEngineDocument* doc = nullptr;
  if (!GetDocument(&doc)) return;
  doc->ReplaceSelection(text);
  doc->Release();
}

bool TCustomHtmlEdit::ShowContextMenu(int x, int y) {
  IEngineDocument* doc = nullptr;
  if (!GetDocument(&doc)) return false;
  HWND target = doc->DocumentWindow();
  // Greyed where the command would do nothing now.
  const bool canUndo = doc->QueryCommandEnabled(u"Undo"), canCut = doc->QueryCommandEnabled(u"Cut"),
             canCopy = doc->QueryCommandEnabled(u"Copy"), canPaste = doc->QueryCommandEnabled(u"Paste");
  doc->Release();
  if (!target) return false;
  OSVERSIONINFOW version{sizeof version};
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  GetVersionExW(&version);
#pragma GCC diagnostic pop
  // The library the system's version names first; when it has no such menu, the other one.
  const wchar_t* libraries[2] = {L"ieframe.dll", L"shdoclc.dll"};
  if (version.dwMajorVersion <= 5) std::swap(libraries[0], libraries[1]);
  for (const wchar_t* name : libraries) {
    HMODULE library = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!library) continue;
    HMENU menu = LoadMenuW(library, MAKEINTRESOURCEW(kContextMenuResource));
    HMENU edit = menu ? GetSubMenu(menu, kEditSubmenu) : nullptr;
    if (!edit) {
      if (menu) DestroyMenu(menu);
      FreeLibrary(library);
      continue;
    }
    DeleteMenu(edit, kRemovedItem, MF_BYPOSITION);
    EnableMenuItem(edit, kIdmUndo, MF_BYCOMMAND | (canUndo ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(edit, kIdmCut, MF_BYCOMMAND | (canCut ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(edit, kIdmDelete, MF_BYCOMMAND | (canCut ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(edit, kIdmCopy, MF_BYCOMMAND | (canCopy ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(edit, kIdmPaste, MF_BYCOMMAND | (canPaste ? MF_ENABLED : MF_GRAYED));
    POINT at{x, y};
    ClientToScreen(hwnd_, &at);
    const UINT command = TrackPopupMenu(edit, TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y, 0, target, nullptr);
    if (command) SendMessageW(target, WM_COMMAND, command, 0);
    DestroyMenu(menu);
    FreeLibrary(library);
    return true;
  }
  return false;
}

}  // namespace htmledit
