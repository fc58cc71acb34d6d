// The document's side of input: whatever reaches the view (keys, characters, IME results,
// mouse, and the messages of other programs that would change its text) fires the
// document's event properties first and, unless an event handler cancels it, becomes an edit
// of the tree, which is then mirrored into the view. The view never changes its text itself.
#include <windows.h>
#include <imm.h>
#include <richedit.h>

#include <algorithm>

#include "htmledit/cf_html.h"
#include "htmledit/document_view_win32.h"
#include "htmledit/engine_document_win32.h"
#include "htmledit/formatting.h"
#include "htmledit/rtf_text.h"
#include "htmledit/text_editing.h"
#include "unicode/codepage.h"

namespace htmledit {

namespace {

// The browser's edit commands, as its context menu sends them.
enum : WORD { kIdmCopy = 15, kIdmCut = 16, kIdmDelete = 17, kIdmPaste = 26, kIdmSelectAll = 31, kIdmUndo = 43 };

constexpr size_t kMaxStreamIn = size_t{64} << 20;

bool KeyIsDown(int key) { return GetKeyState(key) < 0; }

// A key event with the modifier keys as they are now; a system key always has Alt down.
EngineEvent KeyEvent(const char16_t* type, WPARAM key, bool systemKey) {
  EngineEvent ev;
  ev.type = type;
  ev.keyCode = static_cast<int>(key);
  ev.altKey = systemKey || KeyIsDown(VK_MENU);
  ev.ctrlKey = KeyIsDown(VK_CONTROL);
  ev.shiftKey = KeyIsDown(VK_SHIFT);
  return ev;
}

// Whether [p, p + size) is memory of this process that can be read (a pointer that came with
// another program's message is not).
bool Readable(const void* p, size_t size) {
  if (!p) return false;
  MEMORY_BASIC_INFORMATION info{};
  if (!VirtualQuery(p, &info, sizeof info) || info.State != MEM_COMMIT) return false;
  if (info.Protect & (PAGE_NOACCESS | PAGE_GUARD)) return false;
  const auto* end = static_cast<const char*>(info.BaseAddress) + info.RegionSize;
  return static_cast<const char*>(p) + size <= end;
}

bool Executable(const void* p) {
  MEMORY_BASIC_INFORMATION info{};
  if (!p || !VirtualQuery(p, &info, sizeof info) || info.State != MEM_COMMIT) return false;
  return (info.Protect & (PAGE_EXECUTE | PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY)) != 0;
}

// A zero-terminated text of this process, read at most up to limit characters.
template <class Char>
bool ReadTerminated(const Char* p, size_t limit, std::basic_string<Char>& out) {
  out.clear();
  for (size_t i = 0; i < limit; ++i) {
    if ((reinterpret_cast<uintptr_t>(p + i) & 0xFFF) == 0 || i == 0)
      if (!Readable(p + i, sizeof(Char))) return false;
    if (p[i] == 0) return true;
    out += p[i];
  }
  return true;
}

struct StreamCookie {
  EDITSTREAM* stream;
};

}  // namespace

void EngineDocument::FireInput(const char16_t* property, EngineEvent& event) {
  EngineEvent* outer = event_;
  event_ = &event;
  FireEvent(property);
  event_ = outer;
}

int EngineDocument::Selection(int& start, int& end) {
  GetSelection(start, end);
  if (start > end) std::swap(start, end);
  return end - start;
}

void EngineDocument::Edit(std::u16string_view undoTitle, bool typing,
                          const std::function<DomPoint(const BodyText&)>& op) {
  if (!Editable()) return;
  int start = 0, end = 0;
  Selection(start, end);
  const bool continues = typing && typingCaret_ >= 0 && start == end && start == typingCaret_ && CanUndo();
  if (!continues) {
    BeginUndoUnit(undoTitle);
    EndUndoUnit();
  }
  DomPoint caret;
  dom_.SuppressNotifications(true);
  try {
    caret = op(layout_);
  } catch (...) {
    caret = {};  // what was done stays; the view shows it
  }
  dom_.SuppressNotifications(false);
  dom_.NoteChanged();  // one change for the whole edit
  modified_ = true;
  Relayout();
  const int pos = caret.node ? PositionOfPoint(layout_, caret) : layout_.Clamp(start);
  SetSelection(pos, pos);
  typingCaret_ = typing ? pos : -1;
  if (owner_) owner_->UpdateUI();
}

void EngineDocument::TypeText(std::u16string_view text) {
  int start = 0, end = 0;
  Selection(start, end);
  const bool styled = typingStyles_.Any() && start == end && typingStyles_.at == start;
  const TypingStyles styles = typingStyles_;
  // The length the text takes in the body text: a CR LF is one line break.
  int length = 0;
  for (size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == u'\n' && i > 0 && text[i - 1] == u'\r')) ++length;
  Edit(u"Typing", true, [&](const BodyText& layout) {
    DomPoint caret = InsertText(dom_, layout, start, end, text);
    if (!styled || !caret.node) return caret;
    const int to = PositionOfPoint(BodyText::Build(dom_), caret);
    ApplyTypingStyles(styles, std::max(0, to - length), to);
    return InsertionPoint(BodyText::Build(dom_), to);
  });
  typingStyles_ = {};
}

void EngineDocument::ApplyTypingStyles(const TypingStyles& s, int start, int end) {
  const int flags[3] = {s.bold, s.italic, s.underline};
  for (int i = 0; i < 3; ++i)
    if (flags[i] >= 0) SetInlineStyle(dom_, BodyText::Build(dom_), start, end, static_cast<InlineStyle>(i), flags[i] == 1);
  const std::pair<FontAttribute, const std::u16string*> fonts[3] = {
      {FontAttribute::Face, &s.face}, {FontAttribute::Size, &s.size}, {FontAttribute::Color, &s.color}};
  for (auto& [attribute, value] : fonts)
    if (!value->empty()) SetFontAttribute(dom_, BodyText::Build(dom_), start, end, attribute, *value == u"-" ? u"" : *value);
}

void EngineDocument::AfterViewMessage(HWND view, UINT msg) {
  if (msg == WM_LBUTTONUP && leftDownInView_) {
    // The view took the button up first (it ended its selection); then the click fires.
    leftDownInView_ = false;
    EngineEvent click;
    click.type = u"click";
    click.button = 1;
    FireInput(u"onclick", click);
  } else if (msg == WM_PAINT) {
    AfterViewPaint(view);
  }
}

void EngineDocument::SelectionChanged() {
  int start = 0, end = 0;
  Selection(start, end);
  if (!(start == end && start == typingCaret_)) typingCaret_ = -1;
  if (!(start == end && start == typingStyles_.at)) typingStyles_ = {};
}

bool EngineDocument::KeyDownDefault(int key, bool ctrl, bool shift, bool alt) {
  if (alt) return false;
  int start = 0, end = 0;
  Selection(start, end);
  switch (key) {
    case VK_BACK:
    case VK_DELETE: {
      if (key == VK_DELETE && shift) return CutSelection(), true;
      if (start == end) std::tie(start, end) = DeletionRange(layout_, start, key == VK_DELETE, ctrl);
      if (start == end) return true;
      Edit(u"Delete", false, [&](const BodyText& layout) { return DeleteContent(dom_, layout, start, end); });
      return true;
    }
    case VK_RETURN:
      if (shift) {
        Edit(u"Line Break", false, [&](const BodyText& layout) { return InsertLineBreak(dom_, layout, start, end); });
      } else {
        const int tag = (owner_ && (owner_->HostFlags() & 0x100)) ? TAGID_DIV : TAGID_P;  // DIV_BLOCKDEFAULT
        Edit(u"New Paragraph", false, [&](const BodyText& layout) { return SplitBlock(dom_, layout, start, end, tag); });
      }
      return true;
    case VK_INSERT:
      if (ctrl) return CopySelection(), true;
      if (shift) return PasteClipboard(), true;
      return false;
    default:
      break;
  }
  if (!ctrl) return false;
  switch (key) {
    case 'C': CopySelection(); return true;
    case 'X': CutSelection(); return true;
    case 'V': PasteClipboard(); return true;
    case 'Z': UndoStep(); return true;
    case 'A': SelectAll(); return true;
    case 'B': ToggleStyle(0); return true;
    case 'I': ToggleStyle(1); return true;
    case 'U': ToggleStyle(2); return true;
    default: return false;
  }
}

bool EngineDocument::SetTextFromOutside(std::u16string text, bool selection) {
  if (!Editable()) return false;
  if (!selection) SetSelection(0, layout_.Length());
  int start = 0, end = 0;
  Selection(start, end);
  Edit(u"Typing", false, [&](const BodyText& layout) { return InsertText(dom_, layout, start, end, text); });
  return true;
}

HRESULT EngineDocument::ReplaceSelection(std::u16string_view text) {
  if (!Editable()) return E_ACCESSDENIED;
  int start = 0, end = 0;
  Selection(start, end);
  Edit(u"Typing", false, [&](const BodyText& layout) { return InsertText(dom_, layout, start, end, text); });
  return S_OK;
}

bool EngineDocument::ReadStreamIn(WPARAM format, LPARAM lp, LRESULT& result) {
  result = 0;
  auto* es = reinterpret_cast<EDITSTREAM*>(lp);
  // Only a stream of this process can be read: a pointer from another one is not ours to call.
  if (!Readable(es, sizeof(EDITSTREAM)) || !Executable(reinterpret_cast<const void*>(es->pfnCallback))) return true;
  std::string bytes;
  std::vector<BYTE> buffer(65536);
  for (;;) {
    LONG got = 0;
    es->dwError = es->pfnCallback(es->dwCookie, buffer.data(), static_cast<LONG>(buffer.size()), &got);
    if (es->dwError != 0 || got <= 0) break;
    if (bytes.size() + static_cast<size_t>(got) > kMaxStreamIn) break;
    bytes.append(reinterpret_cast<const char*>(buffer.data()), static_cast<size_t>(got));
  }
  std::u16string text;
  if (format & SF_RTF) {
    text = RtfToText(bytes);
  } else if (format & SF_UNICODE) {
    text.assign(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2);
  } else if ((format & SF_USECODEPAGE) && HIWORD(format) == CP_UTF8) {
    text = unicode::Utf8ToUtf16(bytes);
  } else {
    text = unicode::AnsiToUtf16(bytes);
  }
  SetTextFromOutside(text, (format & SFF_SELECTION) != 0);
  result = static_cast<LRESULT>(text.size());
  return true;
}

bool EngineDocument::HandleViewMessage(HWND view, UINT msg, WPARAM& wp, LPARAM lp, LRESULT& result) {
  result = 0;
  switch (msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      EngineEvent ev = KeyEvent(u"keydown", wp, msg == WM_SYSKEYDOWN);
      FireInput(u"onkeydown", ev);
      if (!ev.returnValue || ev.keyCode == 0) return true;  // the handler swallowed the key
      wp = static_cast<WPARAM>(ev.keyCode);
      if (msg == WM_SYSKEYDOWN || !Editable()) return false;
      return KeyDownDefault(ev.keyCode, ev.ctrlKey, ev.shiftKey, ev.altKey);
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      EngineEvent ev = KeyEvent(u"keyup", wp, msg == WM_SYSKEYUP);
      FireInput(u"onkeyup", ev);
      if (!ev.returnValue || ev.keyCode == 0) return true;
      wp = static_cast<WPARAM>(ev.keyCode);
      return false;
    }
    case WM_CHAR:
    case WM_IME_CHAR: {
      EngineEvent ev = KeyEvent(u"keypress", wp, false);
      const bool half = wp >= 0xD800 && wp <= 0xDFFF;  // one half of a pair: the event comes with the pair
      if (!half) FireInput(u"onkeypress", ev);
      if (!ev.returnValue || ev.keyCode == 0) return true;
      if (!Editable()) return false;
      const auto c = static_cast<char16_t>(ev.keyCode);
      if (c >= 0xD800 && c <= 0xDBFF) {
        highSurrogate_ = c;
        return true;
      }
      if (c >= 0xDC00 && c <= 0xDFFF) {
        if (highSurrogate_) {
          const char16_t pair[2] = {highSurrogate_, c};
          EngineEvent pairEvent = ev;
          FireInput(u"onkeypress", pairEvent);
          if (pairEvent.returnValue && pairEvent.keyCode != 0) TypeText(std::u16string_view(pair, 2));
        }
        highSurrogate_ = 0;
        return true;
      }
      highSurrogate_ = 0;
      if (c >= 0x20 && c != 0x7F) TypeText(std::u16string_view(&c, 1));
      return true;  // control characters: their keys did the work
    }
    case WM_IME_COMPOSITION: {
      if (!(lp & GCS_RESULTSTR) || !Editable()) return false;
      HIMC imc = ImmGetContext(view);
      if (!imc) return false;
      const LONG bytes = ImmGetCompositionStringW(imc, GCS_RESULTSTR, nullptr, 0);
      std::u16string text(bytes > 0 ? static_cast<size_t>(bytes) / 2 : 0, u'\0');
      if (bytes > 0) ImmGetCompositionStringW(imc, GCS_RESULTSTR, text.data(), static_cast<DWORD>(bytes));
      ImmReleaseContext(view, imc);
      if (!text.empty()) TypeText(text);
      return true;
    }
    case WM_PASTE: PasteClipboard(); return true;
    case WM_CUT: CutSelection(); return true;
    case WM_CLEAR: DeleteSelection(); return true;
    case WM_UNDO:
    case EM_UNDO: result = UndoStep(); return true;
    case EM_CANUNDO: result = CanUndo(); return true;
    case EM_CANPASTE: result = QueryCommandEnabled(u"Paste"); return true;
    case EM_REPLACESEL: {
      std::u16string text;
      if (lp && !ReadTerminated(reinterpret_cast<const char16_t*>(lp), kMaxStreamIn / 2, text)) return true;
      ReplaceSelection(text);
      return true;
    }
    case WM_SETTEXT: {
      std::u16string text;
      if (lp && !ReadTerminated(reinterpret_cast<const char16_t*>(lp), kMaxStreamIn / 2, text)) return true;
      result = SetTextFromOutside(text, false);
      return true;
    }
    case EM_SETTEXTEX: {
      const auto* how = reinterpret_cast<const SETTEXTEX*>(wp);
      if (!Readable(how, sizeof(SETTEXTEX))) return true;
      std::u16string text;
      if (how->codepage == 1200) {
        if (lp && !ReadTerminated(reinterpret_cast<const char16_t*>(lp), kMaxStreamIn / 2, text)) return true;
      } else {
        std::string bytes;
        if (lp && !ReadTerminated(reinterpret_cast<const char*>(lp), kMaxStreamIn, bytes)) return true;
        text = how->codepage == CP_UTF8 ? unicode::Utf8ToUtf16(bytes) : unicode::AnsiToUtf16(bytes);
      }
      if (text.rfind(u"{\\rtf", 0) == 0) text = RtfToText(unicode::Utf16ToUtf8(text));
      result = SetTextFromOutside(text, (how->flags & ST_SELECTION) != 0);
      return true;
    }
    case EM_STREAMIN: {
      DocumentView* own = owner_ ? owner_->View() : nullptr;
      if (own && own->Streaming()) return false;  // the view's own mirroring
      return ReadStreamIn(wp, lp, result);
    }
    case EM_SETCHARFORMAT:
    case EM_SETPARAFORMAT:
    case EM_SETREADONLY: {
      // The view's formats and state come from the document alone.
      DocumentView* own = owner_ ? owner_->View() : nullptr;
      return !(own && own->Streaming());
    }
    case WM_COMMAND:
      if (lp != 0) return false;
      switch (LOWORD(wp)) {
        case kIdmUndo: UndoStep(); return true;
        case kIdmCut: CutSelection(); return true;
        case kIdmCopy: CopySelection(); return true;
        case kIdmPaste: PasteClipboard(); return true;
        case kIdmDelete: DeleteSelection(); return true;
        case kIdmSelectAll: SelectAll(); return true;
        default: return false;
      }
    case WM_GETDLGCODE: {
      HWND host = owner_ ? owner_->HostWindow() : nullptr;
      if (!host) return false;
      result = SendMessageW(host, WM_GETDLGCODE, wp, lp);
      return result != 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE: {
      EngineEvent ev;
      ev.clientX = static_cast<short>(LOWORD(lp));
      ev.clientY = static_cast<short>(HIWORD(lp));
      ev.shiftKey = (wp & MK_SHIFT) != 0;
      ev.ctrlKey = (wp & MK_CONTROL) != 0;
      ev.altKey = KeyIsDown(VK_MENU);
      ev.button = ((wp & MK_LBUTTON) ? 1 : 0) | ((wp & MK_RBUTTON) ? 2 : 0) | ((wp & MK_MBUTTON) ? 4 : 0);
      const char16_t* property = nullptr;
      switch (msg) {
        case WM_LBUTTONDOWN: ev.button = 1; property = u"onmousedown"; leftDownInView_ = true; break;
        case WM_RBUTTONDOWN: ev.button = 2; property = u"onmousedown"; break;
        case WM_MBUTTONDOWN: ev.button = 4; property = u"onmousedown"; break;
        case WM_LBUTTONUP: ev.button = 1; property = u"onmouseup"; break;
        case WM_RBUTTONUP: ev.button = 2; property = u"onmouseup"; break;
        case WM_MBUTTONUP: ev.button = 4; property = u"onmouseup"; break;
        case WM_LBUTTONDBLCLK: ev.button = 1; property = u"ondblclick"; break;
        default: property = u"onmousemove"; break;
      }
      if (msg == WM_MOUSEMOVE && !mouseInside_) {
        mouseInside_ = true;
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, view, 0};
        TrackMouseEvent(&track);
        EngineEvent over = ev;
        over.type = u"mouseover";
        FireInput(u"onmouseover", over);
      }
      ev.type = property + 2;
      FireInput(property, ev);
      if (!ev.returnValue) return true;
      return false;
    }
    case WM_MOUSELEAVE: {
      mouseInside_ = false;
      EngineEvent out;
      out.type = u"mouseout";
      FireInput(u"onmouseout", out);
      return false;
    }
    case WM_SETCURSOR:
      if (cursorOverride_ && LOWORD(lp) == HTCLIENT) {
        // The editor shows its own cursor: the parents are asked (the default procedure does).
        result = DefWindowProcW(view, msg, wp, lp);
        return true;
      }
      return false;
    default:
      return false;
  }
}

}  // namespace htmledit
