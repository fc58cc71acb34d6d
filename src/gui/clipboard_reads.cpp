#include "gui/clipboard_reads.h"

#include <atomic>

#include "gui/dialogs.h"
#include "gui/subclass.h"
#include "gui/wide.h"

namespace gui {

namespace {

std::atomic<bool> readsHeld{false};
std::function<PastedText()>& PasteTextReader() {
  static std::function<PastedText()> reader;
  return reader;
}

constexpr UINT_PTR kPasteLayer = 0x5073;  // "Ps"

// As the edit box's own paste: a single-line box takes the first line only.
std::u16string FitForEdit(HWND edit, std::u16string text) {
  if (GetWindowLongW(edit, GWL_STYLE) & ES_MULTILINE) return text;
  const size_t lineEnd = text.find(u'\n');
  if (lineEnd == std::u16string::npos) return text;
  text.resize(lineEnd);
  if (!text.empty() && text.back() == u'\r') text.pop_back();
  return text;
}

}  // namespace

bool IsShiftInsert(UINT msg, WPARAM wp) {
  return msg == WM_KEYDOWN && wp == VK_INSERT && (GetKeyState(VK_SHIFT) & 0x8000) && !(GetKeyState(VK_CONTROL) & 0x8000);
}

void PasteIntoEdit(HWND edit) {
  const LONG style = GetWindowLongW(edit, GWL_STYLE);
  if (style & ES_READONLY) return;
  PastedText pasted;
  if (ClipboardReadsHeld() || !PasteTextReader()) {
    pasted.status = PastedText::Status::Held;
  } else {
    pasted = PasteTextReader()();
  }
  switch (pasted.status) {
    case PastedText::Status::Text: {
      const std::u16string text = FitForEdit(edit, std::move(pasted.text));
      SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(W(text)));
      return;
    }
    case PastedText::Status::NoText:
      // A password box loses its selection also to an empty clipboard, as its own paste does.
      if (style & ES_PASSWORD) SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L""));
      return;
    case PastedText::Status::Held:
      ReportClipboardReadsHeld();
      return;
    case PastedText::Status::Busy:
      MessageBoxU(u"剪切板被其他程序占用，无法粘贴。", u"出错", MB_OK | MB_ICONERROR);
      return;
  }
}

namespace {
LRESULT CALLBACK PasteLayer(HWND edit, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  if ((msg == WM_PASTE || IsShiftInsert(msg, wp)) && (PasteTextReader() || ClipboardReadsHeld())) {
    PasteIntoEdit(edit);
    return 0;
  }
  return CallNextSubclass(edit, msg, wp, lp);
}
}  // namespace

bool ClipboardReadsHeld() { return readsHeld.load(); }
void SetClipboardReadsHeld(bool held) { readsHeld.store(held); }

void ReportClipboardReadsHeld() {
  MessageBoxU(u"复制这份内容的程序没有响应，现在无法粘贴。", u"出错", MB_OK | MB_ICONERROR);
}

void SetPasteTextReader(std::function<PastedText()> reader) { PasteTextReader() = std::move(reader); }

void RoutePasteThroughReader(HWND edit) {
  if (edit) InstallSubclass(edit, &PasteLayer, kPasteLayer, 0);
}

namespace {
// Told of every window made on the thread before its first message: an edit box gets the layer
// then, whoever makes it.
LRESULT CALLBACK WindowCreationHook(int code, WPARAM wp, LPARAM lp) {
  if (code == HCBT_CREATEWND) {
    const HWND window = reinterpret_cast<HWND>(wp);
    wchar_t name[8] = {};
    if (GetClassNameW(window, name, 8) == 4 && _wcsicmp(name, L"Edit") == 0) RoutePasteThroughReader(window);
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}
}  // namespace

void RoutePasteOfEveryEditBox() {
  thread_local HHOOK hook = nullptr;
  if (!hook) hook = SetWindowsHookExW(WH_CBT, WindowCreationHook, nullptr, GetCurrentThreadId());
}

}  // namespace gui
