// The document's commands: clipboard (copy as "HTML Format" and Unicode text, paste from
// either), delete, select all, undo, the formatting commands by name and by command number,
// their queries, and where things are in the view.
#include <windows.h>
#include <richedit.h>

#include <algorithm>
#include <optional>

#include "gui/clipboard_reads.h"
#include "htmledit/cf_html.h"
#include "htmledit/document_view_win32.h"
#include "htmledit/engine_document_win32.h"
#include "htmledit/formatting.h"
#include "htmledit/module_routines.h"
#include "htmledit/range_html.h"
#include "htmledit/text_editing.h"
#include "gui/sent_message_pause.h"
#include "unicode/codepage.h"

namespace htmledit {

namespace {

constexpr size_t kMaxClipboardBytes = size_t{64} << 20;

// The command numbers of the editing group that name edits.
enum : DWORD {
  kIdmCopy = 15, kIdmCut = 16, kIdmDelete = 17, kIdmPaste = 26, kIdmSelectAll = 31, kIdmUndo = 43,
  kIdmBold = 52, kIdmItalic = 56, kIdmUnderline = 63, kIdmGetBlockFormats = 2233,
};

UINT HtmlFormat() {
  static const UINT format = RegisterClipboardFormatW(L"HTML Format");
  return format;
}

// The clipboard, opened as other programs may hold it for a moment.
class OpenedClipboard {
 public:
  explicit OpenedClipboard(HWND owner) {
    for (int attempt = 0; attempt < 20 && !open_; ++attempt) {
      open_ = OpenClipboard(owner) != FALSE;
      if (!open_) gui::PauseAnsweringSentMessages(25);
    }
  }
  ~OpenedClipboard() {
    if (open_) CloseClipboard();
  }
  bool IsOpen() const { return open_; }

 private:
  bool open_ = false;
};

std::optional<std::string> ClipboardBytes(UINT format) {
  HANDLE h = GetClipboardData(format);
  if (!h) return std::nullopt;
  const SIZE_T size = GlobalSize(h);
  if (size == 0 || size > kMaxClipboardBytes) return std::nullopt;
  const void* p = GlobalLock(h);
  if (!p) return std::nullopt;
  std::string bytes(static_cast<const char*>(p), size);
  GlobalUnlock(h);
  return bytes;
}

bool SetClipboardBytes(UINT format, const void* data, size_t size) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!block) return false;
  void* p = GlobalLock(block);
  if (!p) {
    GlobalFree(block);
    return false;
  }
  memcpy(p, data, size);
  GlobalUnlock(block);
  if (!SetClipboardData(format, block)) {
    GlobalFree(block);
    return false;
  }
  return true;
}

std::u16string TextUpToZero(const std::string& bytes) {
  std::u16string text(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2);
  const size_t zero = text.find(u'\0');
  if (zero != std::u16string::npos) text.resize(zero);
  return text;
}

std::u16string VariantText(const VARIANT* v) {
  if (!v) return {};
  VARIANT t;
  VariantInit(&t);
  std::u16string out;
  if (SUCCEEDED(VariantChangeType(&t, const_cast<VARIANT*>(v), 0, VT_BSTR)) && t.bstrVal)
    out.assign(reinterpret_cast<const char16_t*>(t.bstrVal), SysStringLen(t.bstrVal));
  VariantClear(&t);
  return out;
}

void SetBstr(VARIANT* out, std::u16string_view s) {
  VariantInit(out);
  out->vt = VT_BSTR;
  out->bstrVal = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(s.data()), static_cast<UINT>(s.size()));
}

}  // namespace

bool EngineDocument::CopySelection() {
  int start = 0, end = 0;
  if (Selection(start, end) == 0) return false;
  const std::string html = WriteCfHtml(RangeHtml(dom_, layout_, start, end), url_ == u"about:blank" ? u"" : url_);
  const std::u16string text = RangeText(layout_, start, end);
  OpenedClipboard clipboard(DocumentWindow());
  if (!clipboard.IsOpen() || !EmptyClipboard()) return false;
  const bool htmlSet = SetClipboardBytes(HtmlFormat(), html.c_str(), html.size() + 1);
  const bool textSet = SetClipboardBytes(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(char16_t));
  return htmlSet && textSet;
}

bool EngineDocument::CutSelection() {
  if (!Editable() || !CopySelection()) return false;
  return DeleteSelection();
}

bool EngineDocument::DeleteSelection() {
  int start = 0, end = 0;
  if (!Editable() || Selection(start, end) == 0) return false;
  Edit(u"Delete", false, [&](const BodyText& layout) { return DeleteContent(dom_, layout, start, end); });
  return true;
}

void EngineDocument::SelectAll() { SetSelection(0, layout_.Length()); }

bool EngineDocument::UndoStep() { return Editable() && Undo() == S_OK; }

bool EngineDocument::PasteClipboard() {
  if (!Editable()) return false;
  EngineEvent before;
  before.type = u"beforepaste";
  FireInput(u"body.onbeforepaste", before);
  EngineEvent paste;
  paste.type = u"paste";
  FireInput(u"body.onpaste", paste);
  if (!paste.returnValue) return true;  // the handler took the paste over
  // A read the program gave up is still inside its owner: any read would wait for it for good.
  if (gui::ClipboardReadsHeld()) {
    gui::ReportClipboardReadsHeld();
    return false;
  }
  std::optional<std::u16string> html, text;
  {
    OpenedClipboard clipboard(DocumentWindow());
    if (!clipboard.IsOpen()) return false;
    if (auto bytes = ClipboardBytes(HtmlFormat())) {
      if (auto cf = ReadCfHtml(*bytes)) html = cf->fragment;
    }
    if (!html) {
      if (auto bytes = ClipboardBytes(CF_UNICODETEXT)) text = TextUpToZero(*bytes);
      else if (auto ansi = ClipboardBytes(CF_TEXT)) text = unicode::AnsiToUtf16(ansi->c_str());
    }
  }
  if (!html && !text) return false;
  return InsertAt(-1, html ? &*html : nullptr, text ? &*text : nullptr);
}

bool EngineDocument::InsertAt(int pos, const std::u16string* html, const std::u16string* text) {
  if (!Editable()) return false;
  int start = 0, end = 0;
  Selection(start, end);
  if (pos >= 0) start = end = layout_.Clamp(pos);
  Edit(u"Paste", false, [&](const BodyText& layout) {
    if (html) {
      DomPoint caret = PasteFragment(dom_, layout, start, end, *html);
      if (caret.node) return caret;
    }
    return InsertText(dom_, layout, start, end, text ? *text : std::u16string());
  });
  return true;
}

bool EngineDocument::ToggleStyle(int style) {
  if (!Editable()) return false;
  const auto s = static_cast<InlineStyle>(style);
  int start = 0, end = 0;
  if (Selection(start, end) == 0) {
    // Nothing selected: what is typed next at the caret takes (or loses) the style.
    if (typingStyles_.at != start) {
      typingStyles_ = TypingStyles();
      typingStyles_.at = start;
    }
    int& flag = style == 0 ? typingStyles_.bold : style == 1 ? typingStyles_.italic : typingStyles_.underline;
    const bool has = flag >= 0 ? flag == 1 : HasInlineStyle(layout_, start, start, s);
    flag = has ? 0 : 1;
    return true;
  }
  const bool on = !HasInlineStyle(layout_, start, end, s);
  Edit(u"Format", false, [&](const BodyText& layout) {
    SetInlineStyle(dom_, layout, start, end, s, on);
    return DomPoint{};
  });
  SetSelection(start, end);
  return true;
}

bool EngineDocument::SetFont(int attribute, std::u16string value) {
  if (!Editable()) return false;
  int start = 0, end = 0;
  if (Selection(start, end) == 0) {
    if (typingStyles_.at != start) {
      typingStyles_ = TypingStyles();
      typingStyles_.at = start;
    }
    std::u16string& slot = attribute == 0 ? typingStyles_.face : attribute == 1 ? typingStyles_.size : typingStyles_.color;
    slot = value.empty() ? u"-" : value;
    return true;
  }
  Edit(u"Format", false, [&](const BodyText& layout) {
    SetFontAttribute(dom_, layout, start, end, static_cast<FontAttribute>(attribute), value);
    return DomPoint{};
  });
  SetSelection(start, end);
  return true;
}

bool EngineDocument::ExecCommand(std::u16string_view name, const VARIANT* value) {
  try {
    if (HtmlSameText(name, u"Bold")) return ToggleStyle(0);
    if (HtmlSameText(name, u"Italic")) return ToggleStyle(1);
    if (HtmlSameText(name, u"Underline")) return ToggleStyle(2);
    if (HtmlSameText(name, u"FontName")) return SetFont(0, VariantText(value));
    if (HtmlSameText(name, u"FontSize")) {
      const std::u16string size = VariantText(value);
      if (size.size() != 1 || size[0] < u'1' || size[0] > u'7') return false;
      return SetFont(1, size);
    }
    if (HtmlSameText(name, u"ForeColor")) {
      std::u16string color;
      if (value && value->vt != VT_NULL && value->vt != VT_EMPTY) {
        if (value->vt == VT_BSTR) {
          color = VariantText(value);
        } else {
          VARIANT n;
          VariantInit(&n);
          if (FAILED(VariantChangeType(&n, const_cast<VARIANT*>(value), 0, VT_I4))) return false;
          color = ColorToHTML(static_cast<uint32_t>(n.lVal), [](int) { return 0u; });
        }
      }
      return SetFont(2, color);
    }
    int start = 0, end = 0;
    Selection(start, end);
    auto blockEdit = [&](auto fn) {
      if (!Editable()) return false;
      bool done = true;
      Edit(u"Format", false, [&](const BodyText& layout) {
        done = fn(layout);
        return DomPoint{};
      });
      SetSelection(start, end);
      return done;
    };
    if (HtmlSameText(name, u"FormatBlock")) {
      const std::u16string format = VariantText(value);
      return blockEdit([&](const BodyText& l) { return SetBlockFormat(dom_, l, start, end, format); });
    }
    if (HtmlSameText(name, u"InsertUnorderedList") || HtmlSameText(name, u"InsertOrderedList")) {
      const bool ordered = HtmlSameText(name, u"InsertOrderedList");
      return blockEdit([&](const BodyText& l) { return ToggleList(dom_, l, start, end, ordered), true; });
    }
    static constexpr std::pair<std::u16string_view, std::u16string_view> kJustify[] = {
        {u"JustifyNone", u""}, {u"JustifyLeft", u"left"}, {u"JustifyCenter", u"center"},
        {u"JustifyRight", u"right"}, {u"JustifyFull", u"justify"}};
    for (auto& [command, align] : kJustify)
      if (HtmlSameText(name, command))
        return blockEdit([&](const BodyText& l) { return SetAlignment(dom_, l, start, end, align), true; });
    if (HtmlSameText(name, u"Copy")) return CopySelection();
    if (HtmlSameText(name, u"Cut")) return CutSelection();
    if (HtmlSameText(name, u"Paste")) return PasteClipboard();
    if (HtmlSameText(name, u"Delete")) return DeleteSelection();
    if (HtmlSameText(name, u"Undo")) return UndoStep();
    if (HtmlSameText(name, u"SelectAll")) return SelectAll(), true;
  } catch (...) {
    return false;
  }
  return false;
}

HRESULT EngineDocument::QueryCommandValue(std::u16string_view name, VARIANT* out) {
  if (!out) return E_POINTER;
  VariantInit(out);
  int start = 0, end = 0;
  Selection(start, end);
  auto setBool = [&](bool b) {
    out->vt = VT_BOOL;
    out->boolVal = b ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  };
  if (HtmlSameText(name, u"FontName")) {
    std::optional<std::u16string> face = CommonFace(layout_, start, end);
    if (!face) return out->vt = VT_NULL, S_OK;
    SetBstr(out, face->empty() ? DefaultFontName() : *face);
    return S_OK;
  }
  if (HtmlSameText(name, u"FontSize")) {
    std::optional<int> size = CommonFontSize(layout_, start, end);
    if (!size) return out->vt = VT_NULL, S_OK;
    out->vt = VT_I4;
    out->lVal = *size;
    return S_OK;
  }
  if (HtmlSameText(name, u"FormatBlock")) return SetBstr(out, BlockFormatAt(layout_, start)), S_OK;
  if (HtmlSameText(name, u"InsertUnorderedList")) return setBool(IsInList(layout_, start, false));
  if (HtmlSameText(name, u"InsertOrderedList")) return setBool(IsInList(layout_, start, true));
  if (HtmlSameText(name, u"Bold")) return setBool(HasInlineStyle(layout_, start, end, InlineStyle::Bold));
  if (HtmlSameText(name, u"Italic")) return setBool(HasInlineStyle(layout_, start, end, InlineStyle::Italic));
  if (HtmlSameText(name, u"Underline")) return setBool(HasInlineStyle(layout_, start, end, InlineStyle::Underline));
  return E_INVALIDARG;
}

bool EngineDocument::QueryCommandEnabled(std::u16string_view name) {
  int start = 0, end = 0;
  const bool selected = Selection(start, end) > 0;
  if (HtmlSameText(name, u"Paste")) {
    if (!Editable() || gui::ClipboardReadsHeld()) return false;
    return IsClipboardFormatAvailable(HtmlFormat()) || IsClipboardFormatAvailable(CF_UNICODETEXT) ||
           IsClipboardFormatAvailable(CF_TEXT);
  }
  if (HtmlSameText(name, u"Copy")) return selected;
  if (HtmlSameText(name, u"Cut") || HtmlSameText(name, u"Delete")) return selected && Editable();
  if (HtmlSameText(name, u"Undo")) return Editable() && CanUndo();
  return Editable();
}

std::u16string EngineDocument::DefaultFontName() { return u"\u5B8B\u4F53"; }  // 宋体, the view's SimSun

int EngineDocument::PositionFromPoint(POINT point) {
  HWND v = DocumentWindow();
  if (!v) return 0;
  POINTL p{point.x, point.y};
  return layout_.Clamp(static_cast<int>(SendMessageW(v, EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&p))));
}

Node* EngineDocument::ElementFromPoint(POINT point) {
  if (layout_.Length() == 0) return dom_.Body();
  int pos = PositionFromPoint(point);
  if (pos >= layout_.Length()) pos = layout_.Length() - 1;
  const int i = layout_.RunAt(pos);
  if (i < 0) return dom_.Body();
  Node* n = layout_.Runs()[static_cast<size_t>(i)].node;
  return n && n->IsText() ? n->parent : n;
}

bool EngineDocument::ElementRect(const Node* element, RECT* rect) {
  HWND v = DocumentWindow();
  const std::pair<int, int>* span = element ? layout_.FindSpan(element) : nullptr;
  if (!v || !span || !rect) return false;
  auto at = [&](int pos) {
    POINTL pt{0, 0};
    SendMessageW(v, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&pt), std::clamp(pos, 0, layout_.Length()));
    return pt;
  };
  // A line's height: from this line to the next one, or the view font's height at the end.
  auto lineBottom = [&](int pos, LONG top) {
    const int line = static_cast<int>(SendMessageW(v, EM_EXLINEFROMCHAR, 0, pos));
    const int next = static_cast<int>(SendMessageW(v, EM_LINEINDEX, static_cast<WPARAM>(line + 1), 0));
    if (next > pos && next <= layout_.Length()) {
      const POINTL n = at(next);
      if (n.y > top) return static_cast<LONG>(n.y);
    }
    return top + 18;
  };
  RECT client{};
  GetClientRect(v, &client);
  if (element->Is(TAGID_TD) || element->Is(TAGID_TH)) {
    const Node* row = element->parent;
    const std::pair<int, int>* rowSpan = row ? layout_.FindSpan(row) : nullptr;
    const POINTL first = at(span->first);
    rect->left = first.x;
    rect->top = at(rowSpan ? rowSpan->first : span->first).y;
    rect->bottom = lineBottom(rowSpan ? std::max(rowSpan->first, rowSpan->second - 1) : span->first, rect->top);
    rect->right = client.right;
    for (const Node* n = element->next; n; n = n->next) {
      if (!(n->Is(TAGID_TD) || n->Is(TAGID_TH))) continue;
      if (const std::pair<int, int>* next = layout_.FindSpan(n)) rect->right = at(next->first).x;
      break;
    }
    return true;
  }
  const POINTL a = at(span->first), b = at(std::max(span->first, span->second));
  rect->left = std::min(a.x, b.x);
  rect->top = a.y;
  rect->right = std::max(a.x, b.x) + 1;
  rect->bottom = lineBottom(std::max(span->first, span->second - 1), b.y);
  if (b.y > a.y) {
    rect->left = 0;
    rect->right = client.right;
  }
  return true;
}

STDMETHODIMP EngineDocument::Exec(const GUID* group, DWORD id, DWORD, VARIANT* in, VARIANT* out) {
  if (!group) {
    // The standard command group.
    switch (id) {
      case OLECMDID_COPY: return CopySelection() ? S_OK : OLECMDERR_E_DISABLED;
      case OLECMDID_CUT: return CutSelection() ? S_OK : OLECMDERR_E_DISABLED;
      case OLECMDID_PASTE: return PasteClipboard() ? S_OK : OLECMDERR_E_DISABLED;
      case OLECMDID_DELETE: return DeleteSelection() ? S_OK : OLECMDERR_E_DISABLED;
      case OLECMDID_SELECTALL: return SelectAll(), S_OK;
      case OLECMDID_UNDO: return UndoStep() ? S_OK : OLECMDERR_E_DISABLED;
      default: return OLECMDERR_E_NOTSUPPORTED;
    }
  }
  if (*group != CGID_EditorCommands) return OLECMDERR_E_UNKNOWNGROUP;
  switch (id) {
    case kIdmSelectAll: return SelectAll(), S_OK;
    case kIdmBold: return ToggleStyle(0) ? S_OK : OLECMDERR_E_DISABLED;
    case kIdmItalic: return ToggleStyle(1) ? S_OK : OLECMDERR_E_DISABLED;
    case kIdmUnderline: return ToggleStyle(2) ? S_OK : OLECMDERR_E_DISABLED;
    case kIdmCopy: return CopySelection() ? S_OK : OLECMDERR_E_DISABLED;
    case kIdmCut: return CutSelection() ? S_OK : OLECMDERR_E_DISABLED;
    case kIdmPaste: return PasteClipboard() ? S_OK : OLECMDERR_E_DISABLED;
    case kIdmDelete: return DeleteSelection() ? S_OK : OLECMDERR_E_DISABLED;
    case kIdmUndo: return UndoStep() ? S_OK : OLECMDERR_E_DISABLED;
    case kIdmGetBlockFormats: {
      if (!out) return E_INVALIDARG;
      const std::vector<std::u16string>& names = BlockFormatNames();
      SAFEARRAY* array = SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(names.size()));
      if (!array) return E_OUTOFMEMORY;
      for (LONG i = 0; i < static_cast<LONG>(names.size()); ++i) {
        BSTR b = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(names[static_cast<size_t>(i)].data()),
                                   static_cast<UINT>(names[static_cast<size_t>(i)].size()));
        SafeArrayPutElement(array, &i, b);
        SysFreeString(b);
      }
      VariantInit(out);
      out->vt = VT_ARRAY | VT_BSTR;
      out->parray = array;
      return S_OK;
    }
    default:
      return ExecDisplayCommand(id, in);
  }
}

}  // namespace htmledit
