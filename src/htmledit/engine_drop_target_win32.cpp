// Drops on the view: "HTML Format" or text dragged from another program (or from the view
// itself) goes into the document where it is dropped, as the document's own edit. Files and
// anything else are refused.
#include <windows.h>
#include <ole2.h>

#include <optional>

#include "htmledit/cf_html.h"
#include "htmledit/com_ref_win32.h"
#include "htmledit/engine_document_win32.h"
#include "unicode/codepage.h"

namespace htmledit {

namespace {

constexpr size_t kMaxDropBytes = size_t{64} << 20;

UINT HtmlFormat() {
  static const UINT format = RegisterClipboardFormatW(L"HTML Format");
  return format;
}

std::optional<std::string> DataBytes(IDataObject* data, UINT format) {
  FORMATETC f{static_cast<CLIPFORMAT>(format), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  if (FAILED(data->GetData(&f, &medium))) return std::nullopt;
  std::optional<std::string> bytes;
  if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
    const SIZE_T size = GlobalSize(medium.hGlobal);
    const void* p = size > 0 && size <= kMaxDropBytes ? GlobalLock(medium.hGlobal) : nullptr;
    if (p) {
      bytes.emplace(static_cast<const char*>(p), size);
      GlobalUnlock(medium.hGlobal);
    }
  }
  ReleaseStgMedium(&medium);
  return bytes;
}

bool Offers(IDataObject* data, UINT format) {
  FORMATETC f{static_cast<CLIPFORMAT>(format), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  return data && data->QueryGetData(&f) == S_OK;
}

}  // namespace

class ViewDropTarget final : public IDropTarget {
 public:
  explicit ViewDropTarget(EngineDocument& doc) : doc_(doc) {}
  ~ViewDropTarget() { ReleaseAndClear(data_); }
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDropTarget) {
      *out = static_cast<IDropTarget*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
  STDMETHODIMP_(ULONG) Release() override {
    ULONG n = --refs_;
    if (n == 0) delete this;
    return n;
  }
  STDMETHODIMP DragEnter(IDataObject* data, DWORD, POINTL screen, DWORD* effect) override {
    Hold(data);
    accepts_ = doc_.Editable() && (Offers(data, HtmlFormat()) || Offers(data, CF_UNICODETEXT) || Offers(data, CF_TEXT));
    Tell(screen, kEntered);
    *effect = accepts_ ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    return S_OK;
  }
  STDMETHODIMP DragOver(DWORD, POINTL screen, DWORD* effect) override {
    Tell(screen, kMoved);
    *effect = accepts_ ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    return S_OK;
  }
  STDMETHODIMP DragLeave() override {
    Tell(last_, kLeft);
    Hold(nullptr);
    return S_OK;
  }
  STDMETHODIMP Drop(IDataObject* data, DWORD, POINTL screen, DWORD* effect) override {
    *effect = DROPEFFECT_NONE;
    Hold(nullptr);
    if (!accepts_ || !data) return S_OK;
    accepts_ = false;
    if (doc_.Editable() && Insert(data, screen)) *effect = DROPEFFECT_COPY;
    if (doc_.drag_.dropped) {
      doc_.drag_.dropped(data, POINT{screen.x, screen.y});
      *effect = DROPEFFECT_COPY;  // the control's handler took it
    }
    return S_OK;
  }

 private:
  static constexpr int kEntered = 0, kLeft = 1, kMoved = 2;

  void Hold(IDataObject* data) {
    if (data) data->AddRef();
    ReleaseAndClear(data_);
    data_ = data;
  }
  // The control's handler hears of the drag and may refuse or accept it.
  void Tell(POINTL screen, int state) {
    last_ = screen;
    if (doc_.drag_.over && data_) doc_.drag_.over(data_, POINT{screen.x, screen.y}, state, accepts_);
  }
  // The dropped HTML or text goes into the document where it falls.
  bool Insert(IDataObject* data, POINTL screen) {
    std::optional<std::u16string> html, text;
    if (auto bytes = DataBytes(data, HtmlFormat()))
      if (auto cf = ReadCfHtml(*bytes)) html = cf->fragment;
    if (!html) {
      if (auto bytes = DataBytes(data, CF_UNICODETEXT)) {
        text.emplace(reinterpret_cast<const char16_t*>(bytes->data()), bytes->size() / 2);
      } else if (auto ansi = DataBytes(data, CF_TEXT)) {
        text = unicode::AnsiToUtf16(*ansi);
      }
      if (text) {
        const size_t zero = text->find(u'\0');
        if (zero != std::u16string::npos) text->resize(zero);
      }
    }
    if (!html && !text) return false;
    POINT at{screen.x, screen.y};
    ScreenToClient(doc_.DocumentWindow(), &at);
    return doc_.InsertAt(doc_.PositionFromPoint(at), html ? &*html : nullptr, text ? &*text : nullptr);
  }

  ULONG refs_ = 1;
  EngineDocument& doc_;
  bool accepts_ = false;
  IDataObject* data_ = nullptr;  // what is being dragged over the view
  POINTL last_{};
};

void EngineDocument::ViewCreated(HWND view) {
  // The view takes drops through the document, never by itself.
  RevokeDragDrop(view);
  if (!dropTarget_) dropTarget_ = new ViewDropTarget(*this);
  RegisterDragDrop(view, dropTarget_);
}

void EngineDocument::ViewDestroying(HWND view) { RevokeDragDrop(view); }

}  // namespace htmledit
