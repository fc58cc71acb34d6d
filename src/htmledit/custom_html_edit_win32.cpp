#include "htmledit/com_ref_win32.h"
#include "htmledit/custom_html_edit_win32.h"

#include "gui/application.h"
#include "gui/modal_loop.h"
#include "htmledit/document_edits.h"
#include "htmledit/editor_selection.h"
#include "htmledit/module_routines.h"

namespace htmledit {

// ---- THtmlEditChangeSink

STDMETHODIMP THtmlEditChangeSink::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IEngineChangeSink) {
    *out = static_cast<IEngineChangeSink*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) THtmlEditChangeSink::Release() {
  ULONG n = --refs_;
  if (n == 0) delete this;
  return n;
}

HRESULT THtmlEditChangeSink::Notify() {
  if (notifying_ || !editor_.OnChange) return S_OK;
  notifying_ = true;
  try {
    editor_.OnChange(editor_);
  } catch (...) {
  }
  notifying_ = false;
  return S_OK;
}

// ---- TCustomHtmlEdit

TCustomHtmlEdit::TCustomHtmlEdit()
    : tableAttrs_(std::make_unique<THtmlEditTableAttrs>()),
      tableCellAttrs_(std::make_unique<THtmlEditTableCellAttrs>()),
      tagsSubstitution_(std::make_unique<THtmlEditTagsSubstitution>()) {
  pending_.SetState(kCreating);
}

TCustomHtmlEdit::~TCustomHtmlEdit() {
  pending_.EndWait();
  changeSink_ = nullptr;
  ReleaseAndClear(changeLog_);
}

void TCustomHtmlEdit::ProcessMessages() { gui::Application::Instance().ProcessMessages(); }

void TCustomHtmlEdit::ShowMessage(const std::u16string& text) {
  HWND owner = ParentForm();
  const gui::ModalLoopScope modal;
  MessageBoxW(owner, reinterpret_cast<const wchar_t*>(text.c_str()),
              reinterpret_cast<const wchar_t*>(gui::Application::Instance().Title().c_str()), MB_OK);
}

SourceContext TCustomHtmlEdit::MakeSourceContext() {
  SourceContext ctx;
  ctx.options = SourceCodeOptions;
  ctx.doctype = DOCTYPE;
  GetPreservedSource(ctx.preservedSource);
  ctx.baseUrl = GetBaseURL();
  ctx.substitutions = *tagsSubstitution_;
  ctx.ansiCodePage = AnsiCodePageOf();
  return ctx;
}

std::u16string TCustomHtmlEdit::GetSource() {
  if (!GetReady()) return std::u16string(kBusyText);
  IEngineDocument* doc = nullptr;
  if (!GetDocument(&doc)) return std::u16string(kErrorText);
  std::u16string out;
  try {
    out = GetSourceText(doc->Dom(), true, GetSourceCodePreservation(), MakeSourceContext());
  } catch (...) {
    out = kErrorText;
  }
  doc->Release();
  return out;
}

TableSelection TCustomHtmlEdit::CurrentSelection(IEngineDocument* doc) {
  int start = 0, end = 0;
  doc->GetSelection(start, end);
  return SelectionAt(doc->Layout(), start, end);
}

std::u16string TCustomHtmlEdit::GetSelectionSource() {
  IEngineDocument* doc = nullptr;
  if (!GetDocument(&doc)) return {};
  std::u16string out;
  try {
    out = SelectionSource(doc->Dom(), CurrentSelection(doc), GetSourceCodePreservation(), MakeSourceContext());
  } catch (...) {
    out.clear();
  }
  doc->Release();
  return out;
}

void TCustomHtmlEdit::SetSelectionSource(const std::u16string& html) {
  IEngineDocument* doc = nullptr;
  if (!GetDocument(&doc)) return;
  if (htmledit::SetSelectionSource(doc->Dom(), CurrentSelection(doc), html)) doc->ContentChanged();
  doc->Release();
}

std::u16string TCustomHtmlEdit::BodyTextOfDocument() {
  IEngineDocument* doc = nullptr;
  if (!GetDocument(&doc)) return {};
  std::u16string text = doc->Layout().Text();
  doc->Release();
  return text;
}

bool TCustomHtmlEdit::PasteHTMLAtSelection(const std::u16string& html) {
  IEngineDocument* doc = nullptr;
  if (!GetDocument(&doc)) return false;
  // Browse mode shows the document; it is never edited there.
  const bool browsing = GetBrowseMode();
  if (!browsing) {
    TableSelection s = CurrentSelection(doc);
    const uint64_t before = doc->Dom().ChangeCount();
    if (s.control) ReplaceElementHtml(doc->Dom(), s.element, html);
    else PasteHtmlAtRange(doc->Dom(), s.start, s.end, html);
    if (doc->Dom().ChangeCount() != before) doc->ContentChanged();
  }
  doc->Release();
  return !browsing;
}

void TCustomHtmlEdit::AttachChangeSink() {
  if (IEVersion < 5.5) return;
  if (GetBrowseMode()) {
    changeSink_ = nullptr;
    ReleaseAndClear(changeLog_);
    return;
  }
  IEngineDocument* doc = nullptr;
  if (!GetDocument(&doc)) return;
  auto* sink = new THtmlEditChangeSink(*this);
  IUnknown* log = nullptr;
  if (SUCCEEDED(doc->CreateChangeLog(sink, true, true, &log))) {
    ReleaseAndClear(changeLog_);
    changeLog_ = log;
    changeSink_ = sink;
  }
  sink->Release();  // the change log holds it
  doc->Release();
}

HRESULT TCustomHtmlEdit::DocumentUpdateUI() {
  if (State() != kIdle) return S_FALSE;
  if (!GetBusy() && !GetBrowseMode()) {
    // Each flag is cleared before its repair runs: the repair changes the document, which
    // asks for a display update again.
    if (paragraphFixupPending_) {
      paragraphFixupPending_ = false;
      RunParagraphFixup();
    }
    if (divisionFixupPending_) {
      divisionFixupPending_ = false;
      RunDivisionFixup();
    }
    if (OnDisplayChanged) OnDisplayChanged(*this);
  }
  return S_OK;
}

bool TCustomHtmlEdit::Focused() {
  HWND focus = GetFocus();
  if (focus && focus == hwnd_) return true;
  IEngineDocument* doc = nullptr;
  if (!GetDocument(&doc)) return false;
  HWND w = doc->DocumentWindow();
  doc->Release();
  return focus && focus == w;
}

void TCustomHtmlEdit::FocusChanged(bool gotFocus) {
  TNotifyEvent& event = gotFocus ? OnEnter : OnExit;
  if (!event) return;
  try {
    event(*this);
  } catch (...) {
  }
}

LRESULT TCustomHtmlEdit::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_GETDLGCODE) {
    LRESULT code = THtmlOleControl::WndProc(msg, wp, lp) | DLGC_WANTARROWS | DLGC_WANTALLKEYS;
    if (WantTabs) {
      code |= DLGC_WANTTAB;
    } else {
      // Without WantTabs, Tab moves the focus on: the dialog navigation must see it.
      code &= ~DLGC_WANTTAB;
      if (wp == VK_TAB) code &= ~DLGC_WANTALLKEYS;
    }
    return code;
  }
  LRESULT handled = 0;
  if (HandleEditMessage(msg, wp, lp, handled) || HandleInputMessage(msg, wp, lp, handled)) return handled;
  if (msg == WM_CONTEXTMENU && DoContextPopup(POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))}))
    return 0;
  LRESULT result = THtmlOleControl::WndProc(msg, wp, lp);
  if (msg == WM_PAINT) AfterDocumentPaint();
  if (msg == WM_SETREDRAW && wp && IsWindowVisible(hwnd_)) {
    IEngineDocument* doc = nullptr;
    if (GetDocument(&doc)) {
      IOleWindow* window = nullptr;
      HWND w = nullptr;
      if (SUCCEEDED(doc->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(&window)))) {
        window->GetWindow(&w);
        window->Release();
      }
      if (w) InvalidateRect(w, nullptr, TRUE);
      doc->Release();
    }
  }
  return result;
}

}  // namespace htmledit
