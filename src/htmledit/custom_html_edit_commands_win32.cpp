// TCustomHtmlEdit's editing and formatting commands: each is one command to the document,
// through its command target or its command methods, guarded so that a failure of the
// document gives the command's failure value and nothing else.
#include "htmledit/custom_html_edit_win32.h"

#include <docobj.h>
#include <oleauto.h>

namespace htmledit {

namespace {

enum : DWORD { kIdmSelectAll = 31, kIdmBold = 52, kIdmItalic = 56, kIdmUnderline = 63, kIdmGetBlockFormats = 2233 };

// Runs fn with the document; the failure value when there is none or anything raises.
template <class T, class Fn>
T WithDocument(TCustomHtmlEdit& editor, T failure, Fn fn) {
  IEngineDocument* doc = nullptr;
  if (!editor.GetDocument(&doc)) return failure;
  T result = failure;
  try {
    result = fn(doc);
  } catch (...) {
    result = failure;
  }
  doc->Release();
  return result;
}

// queryCommandValue as a variant the caller clears.
struct CommandValue {
  VARIANT v;
  CommandValue(IEngineDocument* doc, std::u16string_view name) {
    VariantInit(&v);
    if (FAILED(doc->QueryCommandValue(name, &v))) VariantClear(&v);
  }
  ~CommandValue() { VariantClear(&v); }
  std::u16string Text() const {
    if (v.vt != VT_BSTR || !v.bstrVal) return {};
    return std::u16string(reinterpret_cast<const char16_t*>(v.bstrVal), SysStringLen(v.bstrVal));
  }
};

}  // namespace

HRESULT TCustomHtmlEdit::ExecDocumentCommand(IEngineDocument* doc, const GUID* group, DWORD id, VARIANT* in,
                                             VARIANT* out) {
  IOleCommandTarget* target = nullptr;
  HRESULT hr = doc->QueryInterface(IID_IOleCommandTarget, reinterpret_cast<void**>(&target));
  if (FAILED(hr)) return hr;
  hr = target->Exec(group, id, OLECMDEXECOPT_DODEFAULT, in, out);
  target->Release();
  return hr;
}

bool TCustomHtmlEdit::SelectAll() {
  return WithDocument(*this, false, [&](IEngineDocument* doc) {
    return SUCCEEDED(ExecDocumentCommand(doc, &CGID_EditorCommands, kIdmSelectAll, nullptr, nullptr));
  });
}

bool TCustomHtmlEdit::Copy() {
  return WithDocument(*this, false, [&](IEngineDocument* doc) {
    return ExecDocumentCommand(doc, nullptr, OLECMDID_COPY, nullptr, nullptr) == S_OK;
  });
}

bool TCustomHtmlEdit::Paste() {
  return WithDocument(*this, false, [&](IEngineDocument* doc) {
    if (!doc->QueryCommandEnabled(u"Paste")) return false;
    return ExecDocumentCommand(doc, nullptr, OLECMDID_PASTE, nullptr, nullptr) == S_OK;
  });
}

namespace {
// Both routes toggle the style: the command method for True, the command target for False.
template <class Exec>
bool SetStyle(TCustomHtmlEdit& editor, bool value, const char16_t* name, DWORD command, Exec exec) {
  return WithDocument(editor, false, [&](IEngineDocument* doc) {
    if (value) return doc->ExecCommand(name, nullptr);
    return SUCCEEDED(exec(doc, command));
  });
}
}  // namespace

bool TCustomHtmlEdit::SetBold(bool value) {
  return SetStyle(*this, value, u"Bold", kIdmBold,
                  [&](IEngineDocument* d, DWORD c) { return ExecDocumentCommand(d, &CGID_EditorCommands, c, nullptr, nullptr); });
}

bool TCustomHtmlEdit::SetItalic(bool value) {
  return SetStyle(*this, value, u"Italic", kIdmItalic,
                  [&](IEngineDocument* d, DWORD c) { return ExecDocumentCommand(d, &CGID_EditorCommands, c, nullptr, nullptr); });
}

bool TCustomHtmlEdit::SetUnderline(bool value) {
  return SetStyle(*this, value, u"Underline", kIdmUnderline,
                  [&](IEngineDocument* d, DWORD c) { return ExecDocumentCommand(d, &CGID_EditorCommands, c, nullptr, nullptr); });
}

void TCustomHtmlEdit::SetForeColor(TColor color) {
  WithDocument(*this, false, [&](IEngineDocument* doc) {
    VARIANT v;
    VariantInit(&v);
    if (color == clNone || color == clDefault) {
      v.vt = VT_NULL;
    } else {
      // A system colour is the colour the system uses for it now.
      const uint32_t rgb = (static_cast<uint32_t>(color) & 0x80000000u) ? GetSysColor(color & 0xFF) : static_cast<uint32_t>(color);
      v.vt = VT_I4;
      v.lVal = static_cast<LONG>(rgb & 0xFFFFFF);
    }
    return doc->ExecCommand(u"ForeColor", &v);
  });
}

void TCustomHtmlEdit::SetFontName(const std::u16string& name) {
  WithDocument(*this, false, [&](IEngineDocument* doc) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(name.data()), static_cast<UINT>(name.size()));
    const bool done = doc->ExecCommand(u"FontName", &v);
    VariantClear(&v);
    return done;
  });
}

std::u16string TCustomHtmlEdit::GetFontName() {
  return WithDocument(*this, std::u16string(), [&](IEngineDocument* doc) { return CommandValue(doc, u"FontName").Text(); });
}

void TCustomHtmlEdit::SetFontSize(uint8_t size) {
  WithDocument(*this, false, [&](IEngineDocument* doc) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = size;
    return doc->ExecCommand(u"FontSize", &v);
  });
}

uint8_t TCustomHtmlEdit::GetFontSize() {
  return WithDocument(*this, uint8_t{0}, [&](IEngineDocument* doc) {
    CommandValue value(doc, u"FontSize");
    if (value.v.vt != VT_I4 && value.v.vt != VT_I2 && value.v.vt != VT_INT) return uint8_t{0};
    return static_cast<uint8_t>(value.v.vt == VT_I2 ? value.v.iVal : value.v.lVal);
  });
}

void TCustomHtmlEdit::GetBlockFormat(std::u16string& name) {
  name = WithDocument(*this, std::u16string(), [&](IEngineDocument* doc) { return CommandValue(doc, u"FormatBlock").Text(); });
}

bool TCustomHtmlEdit::GetBlockFormats(std::vector<std::u16string>& list) {
  if (blockFormats_.empty()) {
    const bool filled = WithDocument(*this, false, [&](IEngineDocument* doc) {
      VARIANT out;
      VariantInit(&out);
      if (FAILED(ExecDocumentCommand(doc, &CGID_EditorCommands, kIdmGetBlockFormats, nullptr, &out)) ||
          out.vt != (VT_ARRAY | VT_BSTR) || !out.parray) {
        VariantClear(&out);
        return false;
      }
      LONG low = 0, high = -1;
      SafeArrayGetLBound(out.parray, 1, &low);
      SafeArrayGetUBound(out.parray, 1, &high);
      BSTR* names = nullptr;
      if (SUCCEEDED(SafeArrayAccessData(out.parray, reinterpret_cast<void**>(&names)))) {
        for (LONG i = 0; i <= high - low; ++i)
          blockFormats_.emplace_back(reinterpret_cast<const char16_t*>(names[i]), names[i] ? SysStringLen(names[i]) : 0);
        SafeArrayUnaccessData(out.parray);
      }
      VariantClear(&out);
      return !blockFormats_.empty();
    });
    if (!filled) {
      blockFormats_.clear();
      return false;
    }
  }
  list = blockFormats_;
  return true;
}

bool TCustomHtmlEdit::IsNormalBlock() {
  std::vector<std::u16string> formats;
  if (!GetBlockFormats(formats) || formats.empty()) return false;
  std::u16string name;
  GetBlockFormat(name);
  return name == formats.front();
}

bool TCustomHtmlEdit::IsUnorderedList() {
  return WithDocument(*this, false, [&](IEngineDocument* doc) {
    CommandValue value(doc, u"InsertUnorderedList");
    return value.v.vt == VT_BOOL && value.v.boolVal != VARIANT_FALSE;
  });
}

bool TCustomHtmlEdit::IsOrderedList() {
  return WithDocument(*this, false, [&](IEngineDocument* doc) {
    CommandValue value(doc, u"InsertOrderedList");
    return value.v.vt == VT_BOOL && value.v.boolVal != VARIANT_FALSE;
  });
}

}  // namespace htmledit
