#include "htmledit/com_ref_win32.h"
#include "htmledit/html_edit2_win32.h"

#include <array>

#include "htmledit/editor_module_win32.h"
#include "htmledit/glyph_table.h"
#include "htmledit/html_edit2_host_ui_win32.h"
#include "htmledit/module_routines.h"
#include "htmledit/preserved_source.h"

namespace htmledit {

namespace {

// The browser events handled, in the order of the event methods.
constexpr std::array<DISPID, 35> kEventDispIDs{102, 108, 105, 106, 104, 113, 112, 250, 251, 252, 259, 253,
                                               254, 255, 256, 257, 258, 260, 262, 264, 265, 266, 267, 263,
                                               268, 269, 270, 271, 225, 226, 227, 272, 273, 282, 283};
constexpr size_t kBeforeNavigate2 = 7, kNavigateComplete2 = 9, kDocumentComplete = 10, kNavigateError = 27;

constexpr WPARAM kCmdBrowseMode = 2126, kCmdEditMode = 2127, kCmdFollowLink = 2137;
constexpr DWORD kCmdSetDirty = 2342, kCmdReplaceGlyphContents = 2339, kCmdShowGlyphs = 2326,
                kCmdEmptyGlyphTable = 2336, kCmdShowZeroBorders = 2328;



}  // namespace

// ---- THtmlEdit2EventHandler

STDMETHODIMP THtmlEdit2EventHandler::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IDispatch) {
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) THtmlEdit2EventHandler::Release() {
  ULONG n = --refs_;
  if (n == 0) delete this;
  return n;
}

STDMETHODIMP THtmlEdit2EventHandler::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
  editor_.DispatchDocumentEvent(index_);
  return S_OK;
}

// ---- THtmlEdit2: creation and the browser's events

TControlData& THtmlEdit2::InitControlData() {
  static TControlData data = [] {
    TControlData d;
    d.ClassID = CLSID_HtmlEngine;  // our own engine in place of the system's browser
    d.EventIID = DIID_BrowserEvents2;
    d.EventCount = static_cast<uint32_t>(kEventDispIDs.size());
    d.EventDispIDs = kEventDispIDs.data();
    d.Flags = 0;
    d.Version = 401;
    d.FirstEventOfs = 0;
    return d;
  }();
  return data;
}

void THtmlEdit2::Create(HWND parent, const gui::ControlSpec& place) {
  StartEditorModule();
  // Step A.1: the event methods; only four of the 35 do anything.
  EventMethods().assign(kEventDispIDs.size(), nullptr);
  EventMethods()[kBeforeNavigate2] = [this](DISPPARAMS& p) { OnBeforeNavigate2(p); };
  EventMethods()[kNavigateComplete2] = [](DISPPARAMS&) {};  // the state stays as it is
  EventMethods()[kDocumentComplete] = [this](DISPPARAMS& p) { OnDocumentComplete(p); };
  EventMethods()[kNavigateError] = [this](DISPPARAMS&) { pending_.NavigateError(); };
  // A.2 and A.3
  THtmlOleControl::Create(parent, place);
  if (FAILED(OleObject()->QueryInterface(IID_IEngineBrowser, reinterpret_cast<void**>(&browser_))))
    throw EOleError("The hosted control is not the editor's browser.", E_NOINTERFACE);
  browser_->SetRegisterAsDropTarget(false);
  browser_->SetSilent(true);
  // The word marks go at every paint of the document window.
  if (IEngineDocument* doc = RawDocument()) {
    paintListener_ = new PaintListener(*this);
    doc->SetPaintListener(paintListener_);
    EngineDragListener drag;
    drag.over = [this](IDataObject* data, POINT screen, int state, bool& accept) {
      NotifyDragOver(data, screen, state == 0 ? TDragState::dsDragEnter : state == 1 ? TDragState::dsDragLeave : TDragState::dsDragMove, accept);
    };
    drag.dropped = [this](IDataObject* data, POINT screen) { NotifyDragDrop(data, screen); };
    doc->SetDragListener(std::move(drag));
    doc->Release();
  }
  // A.4
  EditorNavigate(u"about:blank");
}

void THtmlEdit2::EditorNavigate(const std::u16string& url) {
  pending_.AllowNextNavigation();
  if (browser_) browser_->Navigate(url);
}

IEngineDocument* THtmlEdit2::RawDocument() {
  if (!browser_) return nullptr;
  IDispatch* disp = nullptr;
  IEngineDocument* doc = nullptr;
  if (browser_->GetDocument(&disp) == S_OK && disp) {
    disp->QueryInterface(IID_IEngineDocument, reinterpret_cast<void**>(&doc));
    disp->Release();
  }
  return doc;
}

bool THtmlEdit2::GetDocument(IEngineDocument** doc) {
  *doc = nullptr;
  if (GetBusy()) return false;
  *doc = RawDocument();
  return *doc != nullptr;
}

void THtmlEdit2::GetDocumentDispatch(IDispatch** doc) {
  *doc = nullptr;
  if (browser_) browser_->GetDocument(doc);
}

void THtmlEdit2::OnBeforeNavigate2(DISPPARAMS& params) {
  bool sendCommand = false;
  if (!pending_.BeforeNavigate2(GetBrowseMode(), sendCommand)) return;
  if (params.cArgs >= 1 && params.rgvarg[0].vt == (VT_BOOL | VT_BYREF)) *params.rgvarg[0].pboolVal = VARIANT_TRUE;
  if (sendCommand) {
    if (IEngineDocument* doc = RawDocument()) {
      if (HWND w = doc->DocumentWindow()) SendMessageW(w, WM_COMMAND, kCmdFollowLink, 0);
      doc->Release();
    }
  }
}

void THtmlEdit2::OnDocumentComplete(DISPPARAMS&) {
  IEngineDocument* doc = RawDocument();
  for (CompletionStep step : pending_.DocumentComplete()) {
    switch (step) {
      case CompletionStep::SetIdle: pending_.SetState(kIdle); break;
      case CompletionStep::CreationStep: CreationStep(); break;
      case CompletionStep::Glyphs:
        if (showDetails_) UpdateGlyphTable(true);
        break;
      case CompletionStep::Reattach: Reattach(); break;
      case CompletionStep::EndWait: pending_.EndWait(); break;
      case CompletionStep::Focus: FocusDocumentIfFocused(doc); break;
      case CompletionStep::FireLoadUrl: Fire(OnLoadURL); break;
      case CompletionStep::FireLoadFromFile: Fire(OnLoadFromFile); break;
      case CompletionStep::FireStop: Fire(OnStop); break;
      case CompletionStep::FireOpenDialog: Fire(OnOpenDialog); break;
      case CompletionStep::FireLoadUrlError: Fire(OnLoadURLError); break;
    }
  }
  if (doc) doc->Release();
}

void THtmlEdit2::Fire(TNotifyEvent& event) {
  if (!event) return;
  try {
    event(*this);
  } catch (...) {
    // a handler's failure does not end the completion
  }
}

bool THtmlEdit2::HasFocus(IEngineDocument* doc) {
  HWND focus = GetFocus();
  if (!focus) return false;
  if (focus == hwnd_) return true;
  return doc && focus == doc->DocumentWindow();
}

void THtmlEdit2::FocusDocumentIfFocused(IEngineDocument* doc) {
  if (doc && HasFocus(doc)) doc->FocusWindow();
}

// Step C: the first document is complete.
void THtmlEdit2::CreationStep() {
  IEngineDocument* doc = RawDocument();
  if (!doc) return;
  IEVersion = GetIEVersion(doc->UserAgent());
  if (!storedBrowseMode_) {
    doc->SetDesignMode(u"On");  // reloads; readystatechange "complete" ends the creation (step D)
    FocusDocumentIfFocused(doc);
    AttachDocumentEvents();
  } else {
    pending_.SetState(kIdle);
    FocusDocumentIfFocused(doc);
    if (showDetails_) UpdateGlyphTable(true);
    if (Flat) doc->SetDesignMode(u"Off");
    AttachDocumentEvents();
    Fire(OnCreate);
  }
  doc->Release();
}

// Step D.
void THtmlEdit2::CheckDocumentReady() {
  if (State() != kCreating) return;
  IEngineDocument* doc = RawDocument();
  if (!doc) return;
  const bool complete = doc->ReadyState() == u"complete";
  doc->Release();
  if (!complete) return;
  pending_.SetState(kIdle);
  if (showDetails_) UpdateGlyphTable(true);
  AttachPasteEvents();
  AttachChangeSink();
  Fire(OnCreate);
}

void THtmlEdit2::Reattach() {
  AttachDocumentEvents();
  AttachPasteEvents();
  AttachChangeSink();
}

namespace {
struct EventRow {
  uint8_t index;
  const char16_t* property;
};
constexpr EventRow kDocumentEvents[] = {
    {3, u"onafterupdate"}, {12, u"onbeforeupdate"}, {17, u"onclick"},     {25, u"ondblclick"},
    {32, u"ondragstart"},  {35, u"onerrorupdate"},  {41, u"onhelp"},      {42, u"onkeydown"},
    {43, u"onkeypress"},   {44, u"onkeyup"},        {48, u"onmousedown"}, {51, u"onmousemove"},
    {52, u"onmouseout"},   {53, u"onmouseover"},    {54, u"onmouseup"},   {61, u"onreadystatechange"},
    {66, u"onrowenter"},   {67, u"onrowexit"},      {73, u"onselectstart"},
};
constexpr EventRow kPasteEvents[] = {{9, u"body.onbeforepaste"}, {59, u"body.onpaste"}};
}  // namespace

void THtmlEdit2::AttachDocumentEvents() {
  IEngineDocument* doc = RawDocument();
  if (!doc) return;
  for (const EventRow& row : kDocumentEvents) {
    auto* handler = new THtmlEdit2EventHandler(*this, row.index);
    doc->SetEventHandler(row.property, handler);
    handler->Release();
  }
  doc->Release();
  if (GetModified()) SetModified(false);  // attaching never leaves the document modified
}

void THtmlEdit2::AttachPasteEvents() {
  IEngineDocument* doc = RawDocument();
  if (!doc) return;
  for (const EventRow& row : kPasteEvents) {
    auto* handler = new THtmlEdit2EventHandler(*this, row.index);
    doc->SetEventHandler(row.property, handler);
    handler->Release();
  }
  doc->Release();
  if (GetModified()) SetModified(false);
}

void THtmlEdit2::DispatchDocumentEvent(uint8_t index) {
  switch (index) {
    case 25: DocDblClick(); break;
    case 42: DocKeyDown(); break;
    case 43: DocKeyPress(); break;
    case 44: DocKeyUp(); break;
    case 48: DocMouseDown(); break;
    case 51: DocMouseMove(); break;
    case 52: DocMouseLeave(); break;
    case 53: DocMouseEnter(); break;
    case 54: DocMouseUp(); break;
    case 61: CheckDocumentReady(); break;
    case 9: Fire(OnBeforePaste); break;
    case 59: Fire(OnPaste); break;
    default: break;  // the others are attached and do nothing
  }
}

// ---- the wait

bool THtmlEdit2::ExecuteAndWait(std::shared_ptr<void> obj, uint8_t state, const std::u16string& arg,
                                const std::function<bool(const std::u16string&)>& proc) {
  pending_.SetIEVersion(IEVersion);
  return pending_.ExecuteAndWait(std::move(obj), state, [&] { return proc(arg); });
}

bool THtmlEdit2::ResetDocument() {
  IEngineDocument* doc = RawDocument();
  if (!doc) return false;
  IPersistStreamInit* persist = nullptr;
  HRESULT hr = doc->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist));
  if (SUCCEEDED(hr)) {
    hr = persist->InitNew();
    persist->Release();
  }
  doc->Release();
  return hr == S_OK;
}

void THtmlEdit2::OnTimedOut() {
  if (OnTimeout) Fire(OnTimeout);
  else ShowMessage(u"The operation timed out.");
  if (showDetails_) UpdateGlyphTable(true);
  Reattach();
}

// Step E.
bool THtmlEdit2::DoTimeout() {
  if (!ResetDocument()) return false;
  pending_.SetState(kIdle);
  OnTimedOut();
  return true;
}

bool THtmlEdit2::OpenURL(const std::u16string& url) {
  IEngineDocument* doc = RawDocument();
  auto held = HoldReference(doc);
  if (doc) doc->Release();
  return ExecuteAndWait(held, kLoadingUrl, url, [this](const std::u16string& u) { return LoadURL(u); });
}

bool THtmlEdit2::OpenFile(const std::u16string& fileName) {
  IEngineDocument* doc = RawDocument();
  auto held = HoldReference(doc);
  if (doc) doc->Release();
  return ExecuteAndWait(held, kLoadingFile, fileName, [this](const std::u16string& f) { return LoadFromFile(f); });
}

// ---- operations on the document

HRESULT THtmlEdit2::Exec(IEngineDocument* doc, DWORD command, VARIANT* in) {
  IOleCommandTarget* target = nullptr;
  HRESULT hr = doc->QueryInterface(IID_IOleCommandTarget, reinterpret_cast<void**>(&target));
  if (FAILED(hr)) return hr;
  hr = target->Exec(&CGID_EditorCommands, command, OLECMDEXECOPT_DODEFAULT, in, nullptr);
  target->Release();
  return hr;
}

void THtmlEdit2::SetModified(bool value) {
  IEngineDocument* doc = RawDocument();
  if (!doc) return;
  IOleCommandTarget* target = nullptr;
  if (SUCCEEDED(doc->QueryInterface(IID_IOleCommandTarget, reinterpret_cast<void**>(&target)))) {
    OLECMD cmd{kCmdSetDirty, 0};
    target->QueryStatus(&CGID_EditorCommands, 1, &cmd, nullptr);  // asked, its answer changes nothing
    VARIANT in;
    VariantInit(&in);
    in.vt = VT_BOOL;
    in.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    target->Exec(&CGID_EditorCommands, kCmdSetDirty, OLECMDEXECOPT_DODEFAULT, &in, nullptr);
    target->Release();
  }
  doc->Release();
}

bool THtmlEdit2::GetModified() {
  IEngineDocument* doc = RawDocument();
  if (!doc) return false;
  IPersistStreamInit* persist = nullptr;
  bool dirty = false;
  if (SUCCEEDED(doc->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist)))) {
    dirty = persist->IsDirty() == S_OK;
    persist->Release();
  }
  doc->Release();
  return dirty;
}

bool THtmlEdit2::ResetDesignMode() {
  IEngineDocument* doc = nullptr;
  if (!GetDocument(&doc)) return false;
  int start = 0, end = 0;
  doc->GetSelection(start, end);
  bool ok = SUCCEEDED(doc->SetDesignMode(u"off")) && SUCCEEDED(doc->SetDesignMode(u"on"));
  doc->SetSelection(start, start);
  if (end != start) doc->SetSelection(start, end);
  doc->Release();
  return ok;
}

std::u16string THtmlEdit2::GetAbout() { return u"v2.0.3.7 (Quillora, own document engine)"; }

bool THtmlEdit2::GetBrowseMode() {
  IEngineDocument* doc = RawDocument();
  if (!doc) return storedBrowseMode_;
  std::u16string mode = doc->DesignMode();
  doc->Release();
  if (HtmlSameText(mode, u"on")) return false;
  if (HtmlSameText(mode, u"off")) return true;
  return storedBrowseMode_;
}

bool THtmlEdit2::LoadURL(const std::u16string& url) {
  if (GetModified()) SetModified(false);
  EditorNavigate(url);
  return true;
}

void THtmlEdit2::WithPersistFile(const char* failure, const std::function<HRESULT(IPersistFile*)>& fn) {
  IEngineDocument* doc = RawDocument();
  if (!doc) throw EOleError("There is no document.", E_UNEXPECTED);
  IPersistFile* file = nullptr;
  HRESULT hr = doc->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  doc->Release();
  if (SUCCEEDED(hr)) {
    hr = fn(file);
    file->Release();
  }
  if (FAILED(hr)) throw EOleError(failure, hr);
}

bool THtmlEdit2::LoadFromFile(const std::u16string& fileName) {
  WithPersistFile("The file could not be loaded.",
                  [&](IPersistFile* f) { return f->Load(reinterpret_cast<LPCOLESTR>(fileName.c_str()), 0); });
  return true;
}

void THtmlEdit2::SaveToFile(const std::u16string& fileName) {
  WithPersistFile("The file could not be saved.",
                  [&](IPersistFile* f) { return f->Save(reinterpret_cast<LPCOLESTR>(fileName.c_str()), TRUE); });
}

std::u16string THtmlEdit2::GetDocumentURL() {
  IEngineDocument* doc = RawDocument();
  if (!doc) return {};
  std::u16string result;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(doc->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    LPOLESTR name = nullptr;
    if (file->GetCurFile(&name) == S_OK && name) result = reinterpret_cast<const char16_t*>(name);
    if (name) CoTaskMemFree(name);
    file->Release();
  }
  if (result.empty()) result = doc->Url();
  doc->Release();
  if (HtmlSameText(result, u"about:blank")) result.clear();
  return result;
}

std::u16string THtmlEdit2::GetBaseURL() {
  IEngineDocument* doc = RawDocument();
  if (!doc) return {};
  std::u16string href;
  std::vector<Node*> bases = doc->Dom().ElementsByTagId(TAGID_BASE);
  if (!bases.empty())
    if (const std::u16string* v = bases.front()->GetAttribute(u"href")) href = *v;
  doc->Release();
  return href;
}

std::u16string THtmlEdit2::GetTitle() {
  IEngineDocument* doc = RawDocument();
  if (!doc) return {};
  std::u16string title = doc->Title();
  doc->Release();
  return title;
}

// Step F.
void THtmlEdit2::ReadPreservedSource(std::u16string& value) {
  value.clear();
  IEngineDocument* doc = RawDocument();
  if (!doc) return;
  IPersistStreamInit* persist = nullptr;
  IStream* stream = nullptr;
  if (SUCCEEDED(doc->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist))) &&
      SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)) &&
      SUCCEEDED(persist->Save(stream, GetModified() ? FALSE : TRUE))) {
    STATSTG stat{};
    HGLOBAL mem = nullptr;
    if (SUCCEEDED(stream->Stat(&stat, STATFLAG_NONAME)) && SUCCEEDED(GetHGlobalFromStream(stream, &mem))) {
      const char* bytes = static_cast<const char*>(GlobalLock(mem));
      if (bytes) value = DecodePreservedSource(std::string_view(bytes, static_cast<size_t>(stat.cbSize.QuadPart)));
      GlobalUnlock(mem);
    }
  }
  if (stream) stream->Release();
  if (persist) persist->Release();
  doc->Release();
}

bool THtmlEdit2::NewDocument() {
  if (State() == kCreating) return false;
  if (!ResetDocument()) return false;
  pending_.SetState(kIdle);
  if (showDetails_) UpdateGlyphTable(true);
  Reattach();
  Fire(OnNewDocument);
  return true;
}

bool THtmlEdit2::RewriteDocument(IEngineDocument* doc, const std::u16string& source) {
  if (source == kBusyText || source == kErrorText) return false;
  return SUCCEEDED(doc->Write(source)) && SUCCEEDED(doc->Close());
}

// Step I.
void THtmlEdit2::SetSource(const std::u16string& value) {
  IEngineDocument* doc = nullptr;
  if (!GetDocument(&doc)) return;
  doc->Write(value);
  doc->Close();
  doc->Release();
  if (showDetails_) UpdateGlyphTable(true);
  Reattach();
  Fire(OnSetSource);
}

// Step J. Both rewrites keep the BASE element and every address as it is: written back
// under HideBaseElement the document would lose the BASE that holds the new address.
void THtmlEdit2::SetBaseURL(const std::u16string& value) {
  IEngineDocument* doc = nullptr;
  if (!GetDocument(&doc)) return;
  if (value == GetBaseURL()) {
    doc->Release();
    return;
  }
  {
    SwitchOptions switchOptions(*this, false);
    RewriteDocument(doc, GetSource());
    Document& dom = doc->Dom();
    std::vector<Node*> bases = dom.ElementsByTagId(TAGID_BASE);
    if (!bases.empty()) {
      dom.SetAttribute(bases.front(), u"href", value);
    } else if (Node* head = dom.Head()) {
      Node* base = dom.CreateElement(u"BASE");
      base->attributes.push_back({u"href", value});
      dom.InsertBefore(head, base, head->firstChild);  // "afterBegin"
    }
    doc->ContentChanged();
    RewriteDocument(doc, GetSource());
  }
  doc->Release();
  Reattach();
  Fire(OnSetBaseURL);
}

// Step L.
void THtmlEdit2::SetBrowseMode(bool value) {
  if (State() == kCreating) {
    storedBrowseMode_ = value;
    return;
  }
  if (State() != kIdle) return;
  if (GetBrowseMode() == value) return;
  IEngineDocument* doc = RawDocument();
  if (!doc) return;
  LRESULT answer = 1;
  {
    SwitchOptions switchOptions(*this);
    RewriteDocument(doc, GetSource());
    if (HWND w = doc->DocumentWindow()) answer = SendMessageW(w, WM_COMMAND, value ? kCmdBrowseMode : kCmdEditMode, 0);
    else answer = doc->SetDesignMode(value ? u"Off" : u"On") == S_OK ? 0 : 1;
  }
  doc->Release();
  Reattach();
  if (answer == 0) Fire(OnSetBrowseMode);
}

// ---- display switches

void THtmlEdit2::UpdateGlyphTable(bool show) {
  IEngineDocument* doc = nullptr;
  if (!GetDocument(&doc) && !(doc = RawDocument())) return;
  if (show) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    VARIANT text;
    VariantInit(&text);
    std::u16string table = GlyphTableText(reinterpret_cast<const char16_t*>(path));
    text.vt = VT_BSTR;
    text.bstrVal = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(table.data()), static_cast<UINT>(table.size()));
    Exec(doc, kCmdReplaceGlyphContents, &text);
    VariantClear(&text);
    VARIANT on;
    VariantInit(&on);
    on.vt = VT_BOOL;
    on.boolVal = VARIANT_TRUE;
    Exec(doc, kCmdShowGlyphs, &on);
  } else {
    Exec(doc, kCmdEmptyGlyphTable, nullptr);
  }
  doc->Release();
}

void THtmlEdit2::SetShowDetails(bool value) {
  showDetails_ = value;
  if (browser_) UpdateGlyphTable(value);
}

void THtmlEdit2::SetShowBorders(bool value) {
  if (!browser_ || value == showBorders_) {
    if (!browser_) showBorders_ = value;
    return;
  }
  IEngineDocument* doc = nullptr;
  if (!GetDocument(&doc)) return;
  VARIANT in;
  VariantInit(&in);
  in.vt = VT_BOOL;
  in.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  if (SUCCEEDED(Exec(doc, kCmdShowZeroBorders, &in))) showBorders_ = value;
  doc->Release();
}

// ---- the window: keys offered to the browser, focus

LRESULT THtmlEdit2::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = TCustomHtmlEdit::WndProc(msg, wp, lp);
  if (msg >= CN_KEYDOWN && msg <= CN_KEYDOWN + 8 && result == 0 && InPlaceActiveObject()) {
    MSG m{};
    m.hwnd = hwnd_;
    m.message = msg - CN_BASE;
    m.wParam = wp;
    m.lParam = lp;
    m.time = static_cast<DWORD>(GetMessageTime());
    m.pt.x = m.pt.y = 0x115DE1F1;
    if (InPlaceActiveObject()->TranslateAccelerator(&m) == S_OK) result = 1;
  }
  return result;
}

HRESULT THtmlEdit2::OnFocus(BOOL gotFocus) {
  HWND form = ParentForm();
  if (!gotFocus || !form || !hwnd_) return S_OK;
  HWND focus = GetFocus();
  if (focus != hwnd_ && !IsChild(hwnd_, focus)) ::SetFocus(hwnd_);
  // Forms without a border or with a dialog border keep the focus where it is.
  const LONG_PTR style = GetWindowLongPtrW(form, GWL_STYLE), exStyle = GetWindowLongPtrW(form, GWL_EXSTYLE);
  const bool noBorder = !(style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER));
  const bool dialogBorder = (exStyle & WS_EX_DLGMODALFRAME) != 0;
  if (!noBorder && !dialogBorder) {
    if (IEngineDocument* doc = RawDocument()) {
      doc->FocusWindow();
      doc->Release();
    }
  }
  return S_OK;
}

THtmlEdit2::THtmlEdit2() : uiHandler_(std::make_unique<HostUIHandler>(*this)) { ScrollBars = true; }

THtmlEdit2::~THtmlEdit2() {
  if (IEngineDocument* doc = RawDocument()) {
    doc->SetPaintListener(nullptr);
    doc->SetDragListener({});
    doc->Release();
  }
  ReleaseAndClear(paintListener_);
  // The browser is closed while the handler objects it calls still exist.
  ReleaseAndClear(browser_);
  DestroyControl();
}

}  // namespace htmledit
