// The engine's browser control: an in-place window holding the RichEdit view, the
// browser's events through a connection point, and loads that complete later through a
// message posted to the control's own queue window. Only about:blank and local files
// load; any other address ends in NavigateError and a local error page.
#include <windows.h>
#include <mshtmhst.h>
#include <richedit.h>

#include <atomic>
#include <deque>
#include <optional>
#include <vector>

#include "htmledit/document_view_win32.h"
#include "htmledit/engine_document_win32.h"
#include "htmledit/engine_interfaces_win32.h"
#include "htmledit/file_replace_win32.h"
#include "htmledit/module_routines.h"
#include "htmledit/ole_object_base_win32.h"
#include "htmledit/url_paths.h"
#include "unicode/codepage.h"

namespace htmledit {

namespace {

constexpr size_t kMaxLoadBytes = size_t{64} << 20;
constexpr DISPID kDispBeforeNavigate2 = 250, kDispNavigateComplete2 = 252, kDispDocumentComplete = 259,
                 kDispNavigateError = 271;
constexpr WPARAM kCmdBrowseMode = 2126, kCmdEditMode = 2127, kCmdFollowLink = 2137;
constexpr HRESULT kResourceNotFound = static_cast<HRESULT>(0x800C0005L);  // INET_E_RESOURCE_NOT_FOUND
constexpr HRESULT kUnknownProtocol = static_cast<HRESULT>(0x800C000DL);   // INET_E_UNKNOWN_PROTOCOL

UINT LoadMessage() {
  static UINT msg = RegisterWindowMessageW(kEngineLoadMessage);
  return msg;
}

const wchar_t* W(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }

BSTR Bstr(std::u16string_view s) {
  return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(s.data()), static_cast<UINT>(s.size()));
}

// The local path an address names: a file URL or a path with a drive or a server.
std::optional<std::u16string> LocalPathOf(const std::u16string& address) {
  if (auto p = PathFromFileUrl(address)) return p;
  if (address.size() >= 3 && ((address[0] | 0x20) >= u'a' && (address[0] | 0x20) <= u'z') && address[1] == u':' &&
      (address[2] == u'\\' || address[2] == u'/'))
    return address;
  if (address.size() > 2 && address[0] == u'\\' && address[1] == u'\\') return address;
  return std::nullopt;
}

std::u16string ErrorPage(const std::u16string& url) {
  std::u16string escaped;
  for (char16_t c : url) {
    if (c == u'<') escaped += u"&lt;";
    else if (c == u'>') escaped += u"&gt;";
    else if (c == u'&') escaped += u"&amp;";
    else escaped += c;
  }
  return u"<HTML><HEAD><TITLE>\u65E0\u6CD5\u663E\u793A\u7F51\u9875</TITLE></HEAD><BODY><P>\u65E0\u6CD5\u663E\u793A"
         u"\u7F51\u9875\uFF1A" + escaped + u"</P></BODY></HTML>";
}

// The parameters of one browser event, given first to last: the object itself, then
// values passed by reference (as the browser passes them), the last one maybe Cancel.
class EventParams {
 public:
  EventParams() = default;
  EventParams(const EventParams&) = delete;
  EventParams& operator=(const EventParams&) = delete;
  ~EventParams() {
    for (VARIANT& v : values_) VariantClear(&v);
  }
  void Dispatch(IDispatch* d) {
    VARIANT a;
    VariantInit(&a);
    a.vt = VT_DISPATCH;
    a.pdispVal = d;
    args_.push_back(a);
  }
  void Text(std::u16string_view s) {
    VARIANT& v = ByReference();
    v.vt = VT_BSTR;
    v.bstrVal = Bstr(s);
  }
  void Int(LONG n) {
    VARIANT& v = ByReference();
    v.vt = VT_I4;
    v.lVal = n;
  }
  void Empty() { ByReference(); }
  VARIANT_BOOL* Cancel() {
    VARIANT a;
    VariantInit(&a);
    a.vt = VT_BOOL | VT_BYREF;
    a.pboolVal = &cancel_;
    args_.push_back(a);
    return &cancel_;
  }
  // DISPPARAMS hold the arguments last to first.
  DISPPARAMS& Params() {
    reversed_.assign(args_.rbegin(), args_.rend());
    params_ = DISPPARAMS{reversed_.data(), nullptr, static_cast<UINT>(reversed_.size()), 0};
    return params_;
  }

 private:
  VARIANT& ByReference() {
    values_.emplace_back();
    VariantInit(&values_.back());
    VARIANT a;
    VariantInit(&a);
    a.vt = VT_VARIANT | VT_BYREF;
    a.pvarVal = &values_.back();
    args_.push_back(a);
    return values_.back();
  }
  std::deque<VARIANT> values_;  // stable addresses for the references
  std::vector<VARIANT> args_, reversed_;
  VARIANT_BOOL cancel_ = VARIANT_FALSE;
  DISPPARAMS params_{};
};

struct PendingLoad {
  WPARAM id;
  EngineLoadKind kind;
  std::u16string url;
};

class EngineBrowser : public OleControlObject, public IEngineBrowser, public IDispatch, public EngineDocumentOwner {
 public:
  EngineBrowser() : OleControlObject(CLSID_HtmlEngine, DIID_BrowserEvents2) {
    queue_ = CreateWindowExW(0, QueueClass(), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                             this);
    extent_ = SIZEL{10583, 7938};  // 400 × 300 pixels at 96 per inch
  }
  ~EngineBrowser() override {
    if (document_) {
      document_->Detach();
      document_->Release();
    }
    if (uiHandler_) uiHandler_->Release();
    if (queue_) DestroyWindow(queue_);
  }

  STDMETHODIMP QueryInterface(REFIID riid, void** out) override { return OleControlObject::QueryInterface(riid, out); }
  STDMETHODIMP_(ULONG) AddRef() override { return OleControlObject::AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return OleControlObject::Release(); }

  // IDispatch: the browser object as events name it (no members by name).
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** out) override {
    if (out) *out = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return DISP_E_MEMBERNOTFOUND;
  }

  // IEngineBrowser
  HRESULT STDMETHODCALLTYPE Navigate(const std::u16string& url) override {
    if (FireBeforeNavigate2(url)) return S_OK;
    StartLoad(EngineLoadKind::Navigation, url);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDocument(IDispatch** doc) override {
    if (!doc) return E_POINTER;
    *doc = document_ ? static_cast<IDispatch*>(document_) : nullptr;
    if (*doc) (*doc)->AddRef();
    return *doc ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE SetSilent(bool silent) override {
    silent_ = silent;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetRegisterAsDropTarget(bool value) override {
    dropTarget_ = value;
    return S_OK;
  }
  bool STDMETHODCALLTYPE Busy() override {
    for (auto& l : pending_)
      if (l.kind != EngineLoadKind::DesignReload) return true;
    return false;
  }
  std::u16string STDMETHODCALLTYPE LocationURL() override { return document_ ? document_->Url() : u""; }

  // EngineDocumentOwner
  void StartLoad(EngineLoadKind kind, const std::u16string& url) override {
    if (kind != EngineLoadKind::DesignReload) CancelLoads();
    pending_.push_back({++nextLoad_, kind, url});
    PostMessageW(queue_, LoadMessage(), pending_.back().id, 0);
  }
  void CancelLoads() override {
    std::erase_if(pending_, [](const PendingLoad& l) { return l.kind != EngineLoadKind::DesignReload; });
  }
  DocumentView* View() override { return view_.Handle() ? &view_ : nullptr; }
  void UpdateUI() override {
    if (uiHandler_) uiHandler_->UpdateUI();
  }
  DWORD HostFlags() override { return hostFlags_; }
  HWND HostWindow() override { return hostWindow_; }

 protected:
  HRESULT QueryOther(REFIID riid, void** out) override {
    if (riid == IID_IEngineBrowser) *out = static_cast<IEngineBrowser*>(this);
    else if (riid == IID_IDispatch) *out = static_cast<IDispatch*>(this);
    else {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }

  void OnSiteChanged() override {
    if (uiHandler_) uiHandler_->Release();
    uiHandler_ = nullptr;
    if (site_) site_->QueryInterface(IID_IDocHostUIHandler, reinterpret_cast<void**>(&uiHandler_));
    if (!document_) document_ = new EngineDocument(this);
  }

  HWND CreateInPlaceWindow(HWND parent, const RECT& pos) override {
    HWND w = CreateWindowExW(0, ContainerClass(), L"", WS_CHILD | WS_CLIPCHILDREN, pos.left, pos.top,
                             pos.right - pos.left, pos.bottom - pos.top, parent, nullptr, GetModuleHandleW(nullptr),
                             this);
    if (!w) return nullptr;
    hostWindow_ = parent;
    // Every view control made (the first, and a fresh one for a new document) is set up alike.
    view_.OnCreated = [this](HWND v) { SetUpView(v); };
    view_.OnDestroying = [this](HWND v) {
      if (document_) document_->ViewDestroying(v);
    };
    view_.Pictures = [this](const PictureRef& picture) {
      return document_ ? document_->PictureRtf(picture) : std::string();
    };
    RECT inner{0, 0, pos.right - pos.left, pos.bottom - pos.top};
    if (!view_.Create(w, inner)) {
      DestroyWindow(w);
      return nullptr;
    }
    ApplyHostInfo();
    if (document_) document_->Refresh();
    return w;
  }

  void SetUpView(HWND v) {
    SendMessageW(v, EM_SETREADONLY, TRUE, 0);  // input reaches the document, never the view directly
    SendMessageW(v, EM_SETEVENTMASK, 0, ENM_SELCHANGE);
    SetWindowLongPtrW(v, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    viewProc_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(v, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ViewProc)));
    if (document_) document_->ViewCreated(v);
  }

  void PlaceWindow(const RECT& pos, const RECT& clip) override {
    OleControlObject::PlaceWindow(pos, clip);
    if (view_.Handle()) MoveWindow(view_.Handle(), 0, 0, pos.right - pos.left, pos.bottom - pos.top, TRUE);
  }

  HRESULT OnTranslateAccelerator(MSG* msg) override {
    if (uiHandler_ && uiHandler_->TranslateAccelerator(msg, &CGID_EditorCommands, 0) == S_OK) return S_OK;
    return S_FALSE;
  }

 private:
  static const wchar_t* QueueClass() {
    static const wchar_t* name = [] {
      WNDCLASSEXW wc{sizeof wc};
      wc.lpfnWndProc = QueueProc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = L"QuilloraHtmlEngineQueue";
      RegisterClassExW(&wc);
      return wc.lpszClassName;
    }();
    return name;
  }
  static const wchar_t* ContainerClass() {
    static const wchar_t* name = [] {
      WNDCLASSEXW wc{sizeof wc};
      wc.lpfnWndProc = ContainerProc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.hCursor = LoadCursorW(nullptr, IDC_IBEAM);
      wc.lpszClassName = L"QuilloraHtmlBrowser";
      RegisterClassExW(&wc);
      return wc.lpszClassName;
    }();
    return name;
  }

  static EngineBrowser* From(HWND hwnd, UINT msg, LPARAM lp) {
    if (msg == WM_NCCREATE)
      SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
    return reinterpret_cast<EngineBrowser*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }

  static LRESULT CALLBACK QueueProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    EngineBrowser* self = From(hwnd, msg, lp);
    if (self && msg == LoadMessage()) {
      self->AddRef();
      self->CompleteLoad(wp);
      self->Release();
      return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
  }

  static LRESULT CALLBACK ContainerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    EngineBrowser* self = From(hwnd, msg, lp);
    if (self) {
      switch (msg) {
        case WM_SETFOCUS: {
          // The focus passes on to the view; the site hears of it here when it came from outside.
          HWND from = reinterpret_cast<HWND>(wp);
          if (!(from && IsChild(hwnd, from))) self->NotifySiteFocus(true);
          if (self->view_.Handle()) SetFocus(self->view_.Handle());
          return 0;
        }
        case WM_NOTIFY:
          if (reinterpret_cast<NMHDR*>(lp)->code == EN_SELCHANGE) {
            if (self->document_) self->document_->SelectionChanged();
            self->UpdateUI();
          }
          return 0;
        case WM_ERASEBKGND:
          return 1;
        default:
          break;
      }
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
  }

  static LRESULT CALLBACK ViewProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<EngineBrowser*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    WNDPROC original = self->viewProc_;
    switch (msg) {
      case WM_COMMAND:
        // The document window's own commands: browse and edit mode, following a link.
        if (lp == 0 && (LOWORD(wp) == kCmdBrowseMode || LOWORD(wp) == kCmdEditMode)) {
          if (self->document_) self->document_->SetDesignMode(LOWORD(wp) == kCmdEditMode ? u"On" : u"Off");
          return 0;
        }
        if (lp == 0 && LOWORD(wp) == kCmdFollowLink) return 0;
        break;
      case WM_CONTEXTMENU:
        if (self->uiHandler_) {
          POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
          self->uiHandler_->ShowContextMenu(CONTEXT_MENU_DEFAULT, &pt, nullptr, nullptr);
        }
        return 0;
      case WM_SETFOCUS:
      case WM_KILLFOCUS: {
        // The site hears when the focus enters or leaves the control.
        HWND other = reinterpret_cast<HWND>(wp);
        HWND container = GetParent(hwnd);
        const bool fromInside = other && (other == container || IsChild(container, other));  // the container told it
        if (!fromInside) self->NotifySiteFocus(msg == WM_SETFOCUS);
        break;
      }
      case WM_NCDESTROY:
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        self->view_.Forget(hwnd);
        return CallWindowProcW(original, hwnd, msg, wp, lp);
      default:
        break;
    }
    // Input and the messages that would change the view's text go to the document.
    EngineDocument* doc = self->document_;
    if (doc) {
      doc->AddRef();
      LRESULT result = 0;
      const bool handled = doc->HandleViewMessage(hwnd, msg, wp, lp, result);
      if (!handled) {
        result = CallWindowProcW(original, hwnd, msg, wp, lp);
        doc->AfterViewMessage(hwnd, msg);
        if (msg == WM_SIZE) doc->ViewResized();
      }
      doc->Release();
      return result;
    }
    return CallWindowProcW(original, hwnd, msg, wp, lp);
  }

  void NotifySiteFocus(bool gotFocus) {
    IOleControlSite* controlSite = nullptr;
    if (site_ && SUCCEEDED(site_->QueryInterface(IID_IOleControlSite, reinterpret_cast<void**>(&controlSite)))) {
      controlSite->OnFocus(gotFocus);
      controlSite->Release();
    }
  }

  // The host's presentation wishes, asked at every load: the border and the scroll bar.
  void ApplyHostInfo() {
    DOCHOSTUIINFO info{sizeof info};
    if (uiHandler_ && uiHandler_->GetHostInfo(&info) == S_OK) hostFlags_ = info.dwFlags;
    HWND v = view_.Handle();
    if (!v) return;
    LONG_PTR ex = GetWindowLongPtrW(v, GWL_EXSTYLE);
    LONG_PTR wanted = (hostFlags_ & DOCHOSTUIFLAG_NO3DBORDER) ? (ex & ~WS_EX_CLIENTEDGE) : (ex | WS_EX_CLIENTEDGE);
    if (wanted != ex) {
      SetWindowLongPtrW(v, GWL_EXSTYLE, wanted);
      SetWindowPos(v, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    }
    view_.SetVerticalScrollBar(!(hostFlags_ & DOCHOSTUIFLAG_SCROLL_NO));
  }

  // BeforeNavigate2(pDisp, URL, Flags, TargetFrameName, PostData, Headers, Cancel): true to cancel.
  bool FireBeforeNavigate2(const std::u16string& url) {
    EventParams p;
    p.Dispatch(static_cast<IDispatch*>(this));
    p.Text(url);
    p.Int(0);
    p.Text(u"");
    p.Empty();
    p.Text(u"");
    VARIANT_BOOL* cancel = p.Cancel();
    Events().Fire(kDispBeforeNavigate2, p.Params());
    return *cancel != VARIANT_FALSE;
  }

  // NavigateComplete2 and DocumentComplete: (pDisp, URL).
  void FireWithUrl(DISPID dispid, const std::u16string& url) {
    EventParams p;
    p.Dispatch(static_cast<IDispatch*>(this));
    p.Text(url);
    Events().Fire(dispid, p.Params());
  }

  // NavigateError(pDisp, URL, TargetFrameName, StatusCode, Cancel): true to cancel.
  bool FireNavigateError(const std::u16string& url, HRESULT status) {
    EventParams p;
    p.Dispatch(static_cast<IDispatch*>(this));
    p.Text(url);
    p.Text(u"");
    p.Int(status);
    VARIANT_BOOL* cancel = p.Cancel();
    Events().Fire(kDispNavigateError, p.Params());
    return *cancel != VARIANT_FALSE;
  }

  void CompleteLoad(WPARAM id) {
    auto it = std::find_if(pending_.begin(), pending_.end(), [id](const PendingLoad& l) { return l.id == id; });
    if (it == pending_.end() || !document_) return;  // replaced or cancelled meanwhile
    PendingLoad load = *it;
    pending_.erase(it);
    if (load.kind == EngineLoadKind::DesignReload) {
      document_->SetReadyState(u"complete");
      UpdateUI();
      return;
    }
    std::string bytes;
    std::u16string file, url = load.url;
    HRESULT status = S_OK;
    if (load.kind == EngineLoadKind::Navigation && HtmlSameText(url, u"about:blank")) {
      url = u"about:blank";
    } else if (auto path = LocalPathOf(url)) {
      if (ReadWholeFile(*path, bytes, kMaxLoadBytes)) {
        file = *path;
        if (load.kind == EngineLoadKind::File) url = CanonicalUrl(*path);
      } else {
        status = kResourceNotFound;
      }
    } else {
      status = kUnknownProtocol;  // nothing is fetched from outside this machine
    }
    if (FAILED(status)) {
      if (FireNavigateError(url, status)) return;
      bytes = unicode::Utf16ToUtf8(ErrorPage(url));
      file.clear();
    }
    AddRef();
    ApplyHostInfo();
    document_->LoadSource(bytes, url, file);
    FireWithUrl(kDispNavigateComplete2, url);
    document_->SetReadyState(u"complete");
    FireWithUrl(kDispDocumentComplete, url);
    UpdateUI();
    Release();
  }

  HWND queue_ = nullptr;
  DocumentView view_;
  WNDPROC viewProc_ = nullptr;
  EngineDocument* document_ = nullptr;
  IDocHostUIHandler* uiHandler_ = nullptr;
  DWORD hostFlags_ = 0;
  HWND hostWindow_ = nullptr;
  std::deque<PendingLoad> pending_;
  WPARAM nextLoad_ = 0;
  bool silent_ = false, dropTarget_ = true;
};

ControlClassFactory<EngineBrowser>& Factory() {
  static ControlClassFactory<EngineBrowser> factory;
  return factory;
}
DWORD registration = 0;

}  // namespace

HRESULT RegisterEngineClass() {
  if (registration) return S_OK;
  return CoRegisterClassObject(CLSID_HtmlEngine, &Factory(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &registration);
}

void RevokeEngineClass() {
  if (!registration) return;
  CoRevokeClassObject(registration);
  registration = 0;
}

}  // namespace htmledit
