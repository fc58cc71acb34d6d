#include "htmledit/engine_document_win32.h"

#include <richedit.h>

#include <algorithm>

#include "htmledit/document_view_win32.h"
#include "htmledit/file_replace_win32.h"
#include "htmledit/html_parser.h"
#include "htmledit/module_routines.h"
#include "htmledit/preserved_source.h"
#include "htmledit/url_paths.h"
#include "unicode/codepage.h"

namespace htmledit {

namespace {

// The editing commands of the command group that the editor sends.
enum : DWORD {
  kCmdSetDirty = 2342,
  kCmdReplaceGlyphContents = 2339,
  kCmdShowGlyphs = 2326,
  kCmdEmptyGlyphTable = 2336,
  kCmdShowZeroBorders = 2328,
  kCmdOverrideCursor = 2420,
};
bool KnownCommand(DWORD id) {
  return id == kCmdSetDirty || id == kCmdReplaceGlyphContents || id == kCmdShowGlyphs || id == kCmdEmptyGlyphTable ||
         id == kCmdShowZeroBorders || id == kCmdOverrideCursor;
}
// Copy, cut, delete, paste, select all, undo, bold, italic, underline, the block formats.
bool KnownEditCommand(DWORD id) {
  return id == 15 || id == 16 || id == 17 || id == 26 || id == 31 || id == 43 || id == 52 || id == 56 || id == 63 ||
         id == 2233;
}

constexpr size_t kMaxSourceBytes = size_t{128} << 20;

bool BoolOf(const VARIANT* v, bool fallback) {
  if (!v) return fallback;
  VARIANT b;
  VariantInit(&b);
  if (FAILED(VariantChangeType(&b, const_cast<VARIANT*>(v), 0, VT_BOOL))) return fallback;
  return b.boolVal != VARIANT_FALSE;
}


}  // namespace

// A change log: calls its sink on every change of the document while both live. A
// document that is replaced disconnects its logs.
class ChangeLog final : public IUnknown {
 public:
  ChangeLog(Document& doc, IEngineChangeSink* sink, std::vector<ChangeLog*>& registry)
      : doc_(&doc), sink_(sink), registry_(&registry) {
    sink_->AddRef();
    cookie_ = doc.AddChangeSink([this] {
      if (sink_) sink_->Notify();
    });
    registry.push_back(this);
  }
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown) {
      *out = this;
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
  STDMETHODIMP_(ULONG) Release() override {
    ULONG n = --refs_;
    if (n == 0) {
      Disconnect();
      delete this;
    }
    return n;
  }
  void Disconnect() {
    if (!doc_) return;
    doc_->RemoveChangeSink(cookie_);
    std::erase(*registry_, this);
    doc_ = nullptr;
    IEngineChangeSink* sink = sink_;
    sink_ = nullptr;
    sink->Release();
  }

 private:
  ULONG refs_ = 1;
  Document* doc_;
  IEngineChangeSink* sink_;
  std::vector<ChangeLog*>* registry_;
  int cookie_ = 0;
};

namespace {
void DisconnectAll(std::vector<ChangeLog*>& logs) {
  auto copy = logs;
  for (ChangeLog* log : copy) log->Disconnect();
}
}  // namespace

EngineDocument::EngineDocument(EngineDocumentOwner* owner) : owner_(owner) {
  ParseDocument(dom_, u"");
  changesAtLoad_ = dom_.ChangeCount();
  layout_ = BodyText::Build(dom_);
}

EngineDocument::~EngineDocument() {
  DisconnectAll(logs_);
  for (auto& h : handlers_) h.second->Release();
  if (paintListener_) paintListener_->Release();
  if (dropTarget_) dropTarget_->Release();
}

void EngineDocument::SetPaintListener(IEngineChangeSink* listener) {
  if (listener) listener->AddRef();
  if (paintListener_) paintListener_->Release();
  paintListener_ = listener;
}

STDMETHODIMP EngineDocument::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (riid == IID_IUnknown || riid == IID_IDispatch) *out = static_cast<IDispatch*>(this);
  else if (riid == IID_IEngineDocument) *out = static_cast<IEngineDocument*>(this);
  else if (riid == IID_IOleCommandTarget) *out = static_cast<IOleCommandTarget*>(this);
  else if (riid == IID_IPersistStreamInit || riid == IID_IPersist) *out = static_cast<IPersistStreamInit*>(this);
  else if (riid == IID_IPersistFile) *out = static_cast<IPersistFile*>(this);
  else if (riid == IID_IOleWindow) *out = static_cast<IOleWindow*>(this);
  else return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) EngineDocument::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }

STDMETHODIMP_(ULONG) EngineDocument::Release() {
  LONG n = InterlockedDecrement(&refs_);
  if (n == 0) delete this;
  return static_cast<ULONG>(n);
}

STDMETHODIMP EngineDocument::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

STDMETHODIMP EngineDocument::GetTypeInfo(UINT, LCID, ITypeInfo** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

HRESULT EngineDocument::SetDesignMode(std::u16string_view mode) {
  std::u16string value;
  if (HtmlSameText(mode, u"on")) value = u"On";
  else if (HtmlSameText(mode, u"off")) value = u"Off";
  else if (HtmlSameText(mode, u"inherit")) value = u"Inherit";
  else return E_INVALIDARG;
  const bool wasEditing = designMode_ == u"On";
  designMode_ = value;
  // Entering or leaving design mode reloads the document.
  if (wasEditing != (value == u"On") && owner_) {
    readyState_ = u"loading";
    owner_->StartLoad(EngineLoadKind::DesignReload, url_);
  }
  return S_OK;
}

HRESULT EngineDocument::Write(std::u16string_view html) {
  if (!writeOpen_) {
    writeOpen_ = true;
    written_.clear();
  }
  if (written_.size() + html.size() > kMaxSourceBytes / 2) return E_OUTOFMEMORY;
  written_.append(html);
  return S_OK;
}

HRESULT EngineDocument::Close() {
  if (!writeOpen_) return S_OK;
  writeOpen_ = false;
  std::u16string text = std::move(written_);
  written_.clear();
  DisconnectAll(logs_);  // a written document is a new one
  typingCaret_ = -1;
  typingStyles_ = {};
  undo_.clear();
  undoDepth_ = 0;
  highlights_.clear();
  pictures_.Clear();
  ParseDocument(dom_, text);
  loadedBytes_ = EncodeUtf16LeWithMark(text);
  changesAtLoad_ = dom_.ChangeCount();
  modified_ = true;
  Relayout();
  SetReadyState(u"complete");
  if (owner_) owner_->UpdateUI();
  return S_OK;
}

HRESULT EngineDocument::FocusWindow() {
  HWND w = DocumentWindow();
  if (!w) return E_FAIL;
  SetFocus(w);
  return S_OK;
}

HWND EngineDocument::DocumentWindow() {
  DocumentView* view = owner_ ? owner_->View() : nullptr;
  return view ? view->Handle() : nullptr;
}

HRESULT EngineDocument::SetEventHandler(std::u16string_view name, IDispatch* handler) {
  std::u16string key = HtmlLowerCase(name);
  auto it = handlers_.find(key);
  if (it != handlers_.end()) {
    it->second->Release();
    handlers_.erase(it);
  }
  if (handler) {
    handler->AddRef();
    handlers_[key] = handler;
  }
  return S_OK;
}

void EngineDocument::FireEvent(const std::u16string& name) {
  auto it = handlers_.find(name);
  if (it == handlers_.end()) return;
  IDispatch* handler = it->second;
  handler->AddRef();
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  handler->Invoke(DISPID_VALUE, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr);
  handler->Release();
}

void EngineDocument::GetSelection(int& start, int& end) {
  start = end = 0;
  if (DocumentView* view = owner_ ? owner_->View() : nullptr) view->GetSelection(start, end);
  start = layout_.Clamp(start);
  end = layout_.Clamp(end);
}

void EngineDocument::SetSelection(int start, int end) {
  if (DocumentView* view = owner_ ? owner_->View() : nullptr) view->SetSelection(layout_.Clamp(start), layout_.Clamp(end));
}

void EngineDocument::ContentChanged() {
  modified_ = true;
  Relayout();
  if (owner_) owner_->UpdateUI();
}

void EngineDocument::Relayout() {
  DocumentView* view = owner_ ? owner_->View() : nullptr;
  layoutWidth_ = view && view->Handle() ? view->WidthTwips() : 9000;
  BodyText next = BodyText::Build(dom_, layoutWidth_);
  // Relative picture addresses start from the BASE, else from the document's own address;
  // when that moves, every picture may be another one.
  std::u16string base = url_;
  for (const Node* b : dom_.ElementsByTagId(TAGID_BASE))
    if (const std::u16string* href = b->GetAttribute(u"href")) {
      base = *href;
      break;
    }
  const bool baseMoved = base != pictureBase_;
  pictureBase_ = std::move(base);
  if (view && view->Handle()) {
    if (baseMoved && !next.Pictures().empty()) view->Mirror(next);
    else view->Update(layout_, next);
  }
  layout_ = std::move(next);
}

void EngineDocument::ViewResized() {
  DocumentView* view = owner_ ? owner_->View() : nullptr;
  if (!view || !view->Handle()) return;
  const int width = view->WidthTwips();
  if (width <= 0 || width == layoutWidth_) return;
  // Only table rows take their cell boundaries from the view's width.
  const auto& formats = layout_.ParaFormats();
  if (std::none_of(formats.begin(), formats.end(), [](const ParaFormat& f) { return !f.tabStops.empty(); })) {
    layoutWidth_ = width;
    return;
  }
  Relayout();
}

HRESULT EngineDocument::CreateChangeLog(IEngineChangeSink* sink, bool, bool, IUnknown** log) {
  if (!log) return E_POINTER;
  *log = nullptr;
  if (!sink) return E_INVALIDARG;
  *log = new ChangeLog(dom_, sink, logs_);
  return S_OK;
}

namespace {
// Whether bytes without a mark are UTF-8 text that is not plain ASCII.
bool LooksLikeUtf8(const std::string& bytes) {
  bool wide = false;
  for (size_t i = 0; i < bytes.size();) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > bytes.size()) return false;
    for (size_t k = 1; k < n; ++k)
      if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
    wide |= n > 1;
    i += n;
  }
  return wide;
}
}  // namespace

namespace {
constexpr size_t kMaxUndoUnits = 100;

// A copy of every child of the document node (doctype, comments, the html element).
std::unique_ptr<Document> CopyOf(const Document& doc) {
  auto copy = std::make_unique<Document>();
  copy->SuppressNotifications(true);
  for (const Node* c = doc.Root()->firstChild; c; c = c->next) copy->AppendChild(copy->Root(), CloneTree(*copy, c));
  return copy;
}
}  // namespace

HRESULT EngineDocument::BeginUndoUnit(std::u16string_view title) {
  if (undoDepth_++ > 0) return S_OK;  // only the outermost unit keeps the tree
  if (undo_.size() >= kMaxUndoUnits) undo_.erase(undo_.begin());
  int start = 0, end = 0;
  GetSelection(start, end);
  undo_.push_back({std::u16string(title), CopyOf(dom_), start, end});
  return S_OK;
}

HRESULT EngineDocument::EndUndoUnit() {
  if (undoDepth_ == 0) return E_UNEXPECTED;
  --undoDepth_;
  return S_OK;
}

HRESULT EngineDocument::Undo() {
  if (undo_.empty() || undoDepth_ > 0) return S_FALSE;
  std::unique_ptr<Document> before = std::move(undo_.back().before);
  const int selStart = undo_.back().selStart, selEnd = undo_.back().selEnd;
  undo_.pop_back();
  typingCaret_ = -1;
  dom_.SuppressNotifications(true);
  dom_.RemoveChildren(dom_.Root());
  for (const Node* c = before->Root()->firstChild; c; c = c->next) dom_.AppendChild(dom_.Root(), CloneTree(dom_, c));
  dom_.SuppressNotifications(false);
  dom_.NoteChanged();  // one change for the whole step back
  ContentChanged();
  SetSelection(selStart, selEnd);
  return S_OK;
}

int EngineDocument::LineCount() {
  if (HWND v = DocumentWindow()) return static_cast<int>(SendMessageW(v, EM_GETLINECOUNT, 0, 0));
  return std::max<int>(1, static_cast<int>(layout_.Paragraphs().size()));
}

int EngineDocument::LineIndex(int line) {
  if (line < 0) return -1;
  if (HWND v = DocumentWindow()) return static_cast<int>(SendMessageW(v, EM_LINEINDEX, static_cast<WPARAM>(line), 0));
  const auto& paras = layout_.Paragraphs();
  return line < static_cast<int>(paras.size()) ? paras[static_cast<size_t>(line)].start : (line == 0 ? 0 : -1);
}

int EngineDocument::LineFromPosition(int pos) {
  pos = layout_.Clamp(pos);
  if (HWND v = DocumentWindow()) return static_cast<int>(SendMessageW(v, EM_EXLINEFROMCHAR, 0, pos));
  const auto& paras = layout_.Paragraphs();
  for (size_t i = 0; i < paras.size(); ++i)
    if (pos <= paras[i].end) return static_cast<int>(i);
  return paras.empty() ? 0 : static_cast<int>(paras.size()) - 1;
}

int EngineDocument::AddHighlight(int start, int end, COLORREF color) {
  start = layout_.Clamp(start);
  end = layout_.Clamp(end);
  if (start > end) std::swap(start, end);
  if (start == end) return 0;
  highlights_.push_back({nextHighlight_, start, end, color});
  if (HWND v = DocumentWindow()) InvalidateRect(v, nullptr, FALSE);
  return nextHighlight_++;
}

HRESULT EngineDocument::RemoveHighlight(int id) {
  auto it = std::find_if(highlights_.begin(), highlights_.end(), [id](const Highlight& h) { return h.id == id; });
  if (it == highlights_.end()) return S_FALSE;
  highlights_.erase(it);
  // Taken away while the view paints, the mark stays on the screen until the next paint.
  if (!painting_)
    if (HWND v = DocumentWindow()) InvalidateRect(v, nullptr, TRUE);
  return S_OK;
}

void EngineDocument::LoadSource(const std::string& rawBytes, const std::u16string& url, const std::u16string& file) {
  // A file in UTF-8 without a mark is read as UTF-8; the kept source carries the mark, so
  // that whoever reads the kept source reads it alike.
  const bool hasMark = rawBytes.size() >= 2 && ((rawBytes[0] == '\xFF' && rawBytes[1] == '\xFE') ||
                                                (rawBytes.size() >= 3 && rawBytes.compare(0, 3, "\xEF\xBB\xBF") == 0));
  const std::string bytes = !hasMark && LooksLikeUtf8(rawBytes) ? "\xEF\xBB\xBF" + rawBytes : rawBytes;
  writeOpen_ = false;
  written_.clear();
  // A new document: the event properties of the old one go with it.
  for (auto& h : handlers_) h.second->Release();
  handlers_.clear();
  DisconnectAll(logs_);
  typingCaret_ = -1;
  typingStyles_ = {};
  undo_.clear();
  undoDepth_ = 0;
  highlights_.clear();
  pictures_.Clear();
  ParseDocument(dom_, DecodePreservedSource(bytes));
  loadedBytes_ = bytes;
  changesAtLoad_ = dom_.ChangeCount();
  url_ = url;
  file_ = file;
  modified_ = false;
  Relayout();
}

void EngineDocument::SetReadyState(const std::u16string& state) {
  readyState_ = state;
  FireEvent(u"onreadystatechange");
}

STDMETHODIMP EngineDocument::QueryStatus(const GUID* group, ULONG count, OLECMD* cmds, OLECMDTEXT*) {
  if (group && *group != CGID_EditorCommands) return OLECMDERR_E_UNKNOWNGROUP;
  if (!cmds) return E_POINTER;
  for (ULONG i = 0; i < count; ++i) {
    const DWORD id = cmds[i].cmdID;
    bool known = false;
    if (!group) known = id == OLECMDID_COPY || id == OLECMDID_CUT || id == OLECMDID_PASTE ||
                        id == OLECMDID_DELETE || id == OLECMDID_SELECTALL || id == OLECMDID_UNDO;
    else known = KnownCommand(id) || KnownEditCommand(id);
    cmds[i].cmdf = known ? OLECMDF_SUPPORTED | OLECMDF_ENABLED : 0;
    if (group && id == kCmdShowGlyphs && glyphsShown_) cmds[i].cmdf |= OLECMDF_LATCHED;
    if (group && id == kCmdShowZeroBorders && zeroBorders_) cmds[i].cmdf |= OLECMDF_LATCHED;
  }
  return S_OK;
}

HRESULT EngineDocument::ExecDisplayCommand(DWORD id, VARIANT* in) {
  switch (id) {
    case kCmdSetDirty: modified_ = BoolOf(in, true); return S_OK;
    case kCmdReplaceGlyphContents:
      if (!in || in->vt != VT_BSTR) return E_INVALIDARG;
      glyphTable_.assign(reinterpret_cast<const char16_t*>(in->bstrVal), SysStringLen(in->bstrVal));
      InvalidateView();
      return S_OK;
    case kCmdShowGlyphs: glyphsShown_ = BoolOf(in, true); InvalidateView(); return S_OK;
    case kCmdEmptyGlyphTable:
      glyphTable_.clear();
      glyphsShown_ = false;
      InvalidateView();
      return S_OK;
    case kCmdShowZeroBorders: zeroBorders_ = BoolOf(in, !zeroBorders_); InvalidateView(); return S_OK;
    case kCmdOverrideCursor: cursorOverride_ = BoolOf(in, false); return S_OK;
    default: return OLECMDERR_E_NOTSUPPORTED;
  }
}

void EngineDocument::InvalidateView() {
  if (HWND v = DocumentWindow()) InvalidateRect(v, nullptr, TRUE);
}

STDMETHODIMP EngineDocument::GetClassID(CLSID* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = CLSID_HtmlEngineDocument;
  return S_OK;
}

std::string EngineDocument::SourceBytes() const {
  if (dom_.ChangeCount() == changesAtLoad_) return loadedBytes_;
  return EncodeUtf16LeWithMark(InnerHTML(dom_.Root()));
}

STDMETHODIMP EngineDocument::Load(LPSTREAM stream) {
  if (!stream) return E_POINTER;
  std::string bytes;
  char buf[65536];
  for (;;) {
    ULONG got = 0;
    HRESULT hr = stream->Read(buf, sizeof buf, &got);
    if (FAILED(hr)) return hr;
    if (got == 0) break;
    if (bytes.size() + got > kMaxSourceBytes) return E_OUTOFMEMORY;
    bytes.append(buf, got);
  }
  if (owner_) owner_->CancelLoads();
  LoadSource(bytes, u"about:blank", u"");
  SetReadyState(u"complete");
  return S_OK;
}

STDMETHODIMP EngineDocument::Save(LPSTREAM stream, BOOL clearDirty) {
  if (!stream) return E_POINTER;
  std::string bytes = SourceBytes();
  ULONG written = 0;
  HRESULT hr = bytes.empty() ? S_OK : stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
  if (FAILED(hr)) return hr;
  if (clearDirty) modified_ = false;
  return S_OK;
}

STDMETHODIMP EngineDocument::GetSizeMax(ULARGE_INTEGER* size) {
  if (!size) return E_POINTER;
  size->QuadPart = SourceBytes().size();
  return S_OK;
}

STDMETHODIMP EngineDocument::InitNew() {
  if (owner_) owner_->CancelLoads();
  LoadSource(std::string(), u"about:blank", u"");
  SetReadyState(u"complete");
  if (owner_) owner_->UpdateUI();
  return S_OK;
}

STDMETHODIMP EngineDocument::Load(LPCOLESTR fileName, DWORD) {
  if (!fileName || !*fileName) return E_INVALIDARG;
  if (!owner_) return E_UNEXPECTED;
  // A file that is not there fails now; its content is read when the load completes.
  if (GetFileAttributesW(fileName) == INVALID_FILE_ATTRIBUTES) return HRESULT_FROM_WIN32(GetLastError());
  readyState_ = u"loading";
  owner_->StartLoad(EngineLoadKind::File, reinterpret_cast<const char16_t*>(fileName));
  return S_OK;
}

STDMETHODIMP EngineDocument::Save(LPCOLESTR fileName, BOOL remember) {
  std::u16string path = fileName ? std::u16string(reinterpret_cast<const char16_t*>(fileName)) : file_;
  if (path.empty()) return E_INVALIDARG;
  if (!WriteFileReplacing(path, SourceBytes())) return HRESULT_FROM_WIN32(GetLastError() ? GetLastError() : ERROR_WRITE_FAULT);
  if (remember || !fileName) {
    file_ = path;
    url_ = CanonicalUrl(path);
    modified_ = false;
  }
  return S_OK;
}

STDMETHODIMP EngineDocument::GetCurFile(LPOLESTR* fileName) {
  if (!fileName) return E_POINTER;
  const std::u16string& name = file_;
  *fileName = static_cast<LPOLESTR>(CoTaskMemAlloc((name.size() + 1) * sizeof(wchar_t)));
  if (!*fileName) return E_OUTOFMEMORY;
  std::copy(name.begin(), name.end(), reinterpret_cast<char16_t*>(*fileName));
  (*fileName)[name.size()] = 0;
  return name.empty() ? S_FALSE : S_OK;
}

STDMETHODIMP EngineDocument::GetWindow(HWND* out) {
  if (!out) return E_POINTER;
  *out = DocumentWindow();
  return *out ? S_OK : E_FAIL;
}

}  // namespace htmledit
