#include "htmledit/com_ref_win32.h"
#include "htmledit/ole_control_host_win32.h"

#include <unordered_map>
#include <unordered_set>

#include "gui/application.h"
#include "gui/guard.h"
#include "htmledit/ole_host_site_win32.h"

namespace htmledit {

namespace {

constexpr RECT kClipAll{0, 0, 32767, 32767};

std::unordered_map<HWND, THtmlOleControl*>& ControlWindows() {
  static std::unordered_map<HWND, THtmlOleControl*> map;
  return map;
}

std::unordered_set<HWND>& HostWindows() {
  static std::unordered_set<HWND> set;
  return set;
}

// The system's message for an OLE result code.
std::string SystemMessage(HRESULT hr) {
  wchar_t* text = nullptr;
  DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string out;
  if (n && text) {
    int len = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(n), nullptr, 0, nullptr, nullptr);
    out.resize(static_cast<size_t>(len));
    WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(n), out.data(), len, nullptr, nullptr);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == ' ')) out.pop_back();
  }
  if (text) LocalFree(text);
  if (out.empty()) {
    char buf[32];
    wsprintfA(buf, "OLE error %08lX", static_cast<unsigned long>(hr));
    out = buf;
  }
  return out;
}

void Check(HRESULT hr) {
  if (FAILED(hr)) throw EOleError(SystemMessage(hr), hr);
}


HWND MakeParkingWindow() {
  WNDCLASSEXW wc{sizeof wc};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"THtmlOleParking";
  RegisterClassExW(&wc);
  return CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                         wc.hInstance, nullptr);
}

}  // namespace

// ---- THtmlEventDispatch

STDMETHODIMP THtmlEventDispatch::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (riid == IID_IUnknown || riid == IID_IDispatch ||
      (host_.controlData_ && riid == host_.controlData_->EventIID)) {
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) THtmlEventDispatch::AddRef() { return host_.SiteAddRef(); }
STDMETHODIMP_(ULONG) THtmlEventDispatch::Release() { return host_.SiteRelease(); }

STDMETHODIMP THtmlEventDispatch::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

STDMETHODIMP THtmlEventDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP THtmlEventDispatch::Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                        UINT*) {
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  host_.InvokeEvent(dispid, params ? *params : none);
  return S_OK;
}

// ---- THtmlOleControl

THtmlOleControl::THtmlOleControl()
    : site_(std::make_unique<THtmlOleSite>(*this)),
      frame_(std::make_unique<THtmlOleFrame>(*this)),
      eventDispatch_(std::make_unique<THtmlEventDispatch>(*this)) {}

THtmlOleControl::~THtmlOleControl() { DestroyControl(); }

HWND THtmlOleControl::ParkingWindow() const {
  static HWND parking = MakeParkingWindow();
  return parking;
}

IOleClientSite* THtmlOleControl::ClientSite() { return static_cast<IOleClientSite*>(site_.get()); }
IDispatch* THtmlOleControl::AmbientDispatch() { return static_cast<IDispatch*>(site_.get()); }

HWND THtmlOleControl::ParentForm() const {
  HWND w = hwnd_ ? hwnd_ : parent_;
  return w ? GetAncestor(w, GA_ROOT) : nullptr;
}

void THtmlOleControl::Create(HWND parent, const gui::ControlSpec& place) {
  static bool keyPathInstalled = false;
  if (!keyPathInstalled) {
    gui::Application::Instance().AddKeyPreview(&OfferKeyToOleControl);
    keyPathInstalled = true;
  }
  parent_ = parent;
  place_ = place;
  id_ = place.id;
  CreateObject();
  CreateHandle();
}

void THtmlOleControl::CreateObject() {
  if (oleObject_) return;
  controlData_ = &InitControlData();
  if (!counted_) ++controlData_->InstanceCount;
  counted_ = true;
  const size_t needed = controlData_->FirstEventOfs + controlData_->EventCount;
  if (eventMethods_.size() < needed) eventMethods_.resize(needed);
  Check(CoCreateInstance(controlData_->ClassID, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IOleObject,
                         reinterpret_cast<void**>(&oleObject_)));
  // The control's size is its extent until the owner gives it bounds.
  SIZEL extent{0, 0};
  if (SUCCEEDED(oleObject_->GetExtent(DVASPECT_CONTENT, &extent))) {
    HDC dc = GetDC(nullptr);
    const int ppiX = dc ? GetDeviceCaps(dc, LOGPIXELSX) : 96, ppiY = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc) ReleaseDC(nullptr, dc);
    if (place_.width <= 0) place_.width = MulDiv(extent.cx, ppiX, 2540);
    if (place_.height <= 0) place_.height = MulDiv(extent.cy, ppiY, 2540);
  }
}

void THtmlOleControl::SetupControl() {
  Check(oleObject_->SetClientSite(ClientSite()));
  if (SUCCEEDED(oleObject_->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persistStream_)))) {
    if (!StoredControlData.empty()) {
      HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, StoredControlData.size());
      if (!mem) Check(E_OUTOFMEMORY);
      memcpy(GlobalLock(mem), StoredControlData.data(), StoredControlData.size());
      GlobalUnlock(mem);
      IStream* stream = nullptr;
      HRESULT hr = CreateStreamOnHGlobal(mem, TRUE, &stream);
      if (FAILED(hr)) GlobalFree(mem);
      Check(hr);
      hr = persistStream_->Load(stream);
      stream->Release();
      Check(hr);
    } else {
      Check(persistStream_->InitNew());
    }
  }
  oleObject_->QueryInterface(IID_IOleControl, reinterpret_cast<void**>(&oleControl_));
  oleObject_->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&controlDispatch_));
  IConnectionPointContainer* cpc = nullptr;
  if (SUCCEEDED(oleObject_->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&cpc)))) {
    IConnectionPoint* cp = nullptr;
    if (SUCCEEDED(cpc->FindConnectionPoint(controlData_->EventIID, &cp))) {
      cp->Advise(static_cast<IDispatch*>(eventDispatch_.get()), &eventsConnection_);
      cp->Release();
    }
    if (SUCCEEDED(cpc->FindConnectionPoint(IID_IPropertyNotifySink, &cp))) {
      cp->Advise(static_cast<IPropertyNotifySink*>(site_.get()), &propertyConnection_);
      cp->Release();
    }
    cpc->Release();
  }
  ReadMnemonics();
  setupDone_ = true;
}

void THtmlOleControl::ReadMnemonics() {
  controlInfo_ = CONTROLINFO{};
  controlInfo_.cb = sizeof controlInfo_;
  if (oleControl_) oleControl_->GetControlInfo(&controlInfo_);
}

void THtmlOleControl::CreateHandle() {
  if (hwnd_) return;
  const wchar_t* className = WindowClassName();
  WNDCLASSEXW wc{sizeof wc};
  if (!GetClassInfoExW(GetModuleHandleW(nullptr), className, &wc)) {
    wc = WNDCLASSEXW{sizeof wc};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = className;
    RegisterClassExW(&wc);
  }
  hwnd_ = CreateWindowExW(place_.exStyle, className, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | place_.style,
                          place_.left, place_.top, place_.width, place_.height, parent_,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(place_.id)), GetModuleHandleW(nullptr), this);
  if (!hwnd_) Check(HRESULT_FROM_WIN32(GetLastError()));
  HostWindows().insert(hwnd_);
  gui::AttachReflectTarget(hwnd_, this);
  CreateControlWindow();
}

void THtmlOleControl::CreateControlWindow() {
  RECT client{0, 0, 0, 0};
  GetClientRect(hwnd_, &client);
  if (parked_) {
    SetParent(controlWnd_, hwnd_);
    parked_ = false;
    if (inPlaceObject_) inPlaceObject_->SetObjectRects(&client, &kClipAll);
  } else {
    if (!setupDone_) SetupControl();
    Check(oleObject_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, ClientSite(), 0, hwnd_, &client));
    if (!inPlaceObject_)
      oleObject_->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlaceObject_));
    if (!inPlaceActiveObject_)
      oleObject_->QueryInterface(IID_IOleInPlaceActiveObject, reinterpret_cast<void**>(&inPlaceActiveObject_));
    HWND window = nullptr;
    if (inPlaceObject_) inPlaceObject_->GetWindow(&window);
    if (!window) throw EOleError("The ActiveX control gave no window after in-place activation.", E_FAIL);
    controlWnd_ = window;
    ControlWindows()[controlWnd_] = this;
    controlOriginalProc_ =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(controlWnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ControlProc)));
  }
  // The host's own visibility, not its form's: a control made while its form is hidden shows
  // with the form.
  if (!(GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_VISIBLE)) ShowWindow(controlWnd_, SW_HIDE);
}

void THtmlOleControl::ParkControlWindow() {
  if (!controlWnd_ || !IsWindow(controlWnd_)) return;
  ShowWindow(controlWnd_, SW_HIDE);
  SetParent(controlWnd_, ParkingWindow());
  ShowWindow(controlWnd_, SW_SHOWNA);
  parked_ = true;
}

void THtmlOleControl::DestroyHandle() {
  if (!hwnd_) return;
  DestroyWindow(hwnd_);  // WM_DESTROY parks the control's window
  hwnd_ = nullptr;
}

void THtmlOleControl::RecreateWnd() {
  DestroyHandle();
  CreateHandle();
}

void THtmlOleControl::DestroyControl() {
  destroying_ = true;
  if (controlWnd_ && IsWindow(controlWnd_) && controlOriginalProc_)
    SetWindowLongPtrW(controlWnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(controlOriginalProc_));
  if (controlWnd_) ControlWindows().erase(controlWnd_);
  controlWnd_ = nullptr;
  if (oleObject_) {
    IConnectionPointContainer* cpc = nullptr;
    if (SUCCEEDED(oleObject_->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&cpc)))) {
      IConnectionPoint* cp = nullptr;
      if (eventsConnection_ && SUCCEEDED(cpc->FindConnectionPoint(controlData_->EventIID, &cp))) {
        cp->Unadvise(eventsConnection_);
        cp->Release();
      }
      if (propertyConnection_ && SUCCEEDED(cpc->FindConnectionPoint(IID_IPropertyNotifySink, &cp))) {
        cp->Unadvise(propertyConnection_);
        cp->Release();
      }
      cpc->Release();
    }
    oleObject_->Close(OLECLOSE_NOSAVE);
    oleObject_->SetClientSite(nullptr);
  }
  ReleaseAndClear(inPlaceActiveObject_);
  ReleaseAndClear(inPlaceObject_);
  ReleaseAndClear(persistStream_);
  ReleaseAndClear(controlDispatch_);
  ReleaseAndClear(oleControl_);
  ReleaseAndClear(oleObject_);
  if (counted_ && controlData_ && controlData_->InstanceCount > 0) --controlData_->InstanceCount;
  counted_ = false;
  if (hwnd_) {
    HostWindows().erase(hwnd_);
    gui::DetachReflectTarget(hwnd_);
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
  }
}

bool THtmlOleControl::SaveControlData(std::vector<uint8_t>& out) const {
  out.clear();
  if (!oleObject_ || !persistStream_) return false;
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream))) return false;
  bool ok = SUCCEEDED(persistStream_->Save(stream, TRUE));
  HGLOBAL mem = nullptr;
  STATSTG stat{};
  if (ok && SUCCEEDED(stream->Stat(&stat, STATFLAG_NONAME)) && SUCCEEDED(GetHGlobalFromStream(stream, &mem))) {
    const auto* bytes = static_cast<const uint8_t*>(GlobalLock(mem));
    if (bytes) out.assign(bytes, bytes + stat.cbSize.QuadPart);
    GlobalUnlock(mem);
  }
  stream->Release();
  return ok;
}

void THtmlOleControl::InvokeEvent(DISPID dispid, DISPPARAMS& params) {
  if (!controlData_ || !controlData_->EventDispIDs) return;
  for (uint32_t i = 0; i < controlData_->EventCount; ++i) {
    if (controlData_->EventDispIDs[i] != dispid) continue;
    const size_t index = controlData_->FirstEventOfs + i;
    if (index < eventMethods_.size() && eventMethods_[index])
      gui::Guarded("THtmlOleControl event", [&] { eventMethods_[index](params); });
    return;
  }
}

LRESULT THtmlOleControl::DefaultHandler(UINT msg, WPARAM wp, LPARAM lp) {
  // Reflected notifications go to the control in the OLE reflected range.
  if (msg >= CN_BASE && msg < CN_BASE + 0x400) {
    if (controlWnd_ && controlOriginalProc_)
      return CallWindowProcW(controlOriginalProc_, controlWnd_, msg - kReflectedToOle, wp, lp);
    return 0;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT THtmlOleControl::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      if (inPlaceObject_ && !parked_) {
        RECT client{0, 0, LOWORD(lp), HIWORD(lp)};
        inPlaceObject_->SetObjectRects(&client, &kClipAll);
      }
      return 0;
    case WM_SETFOCUS:
      if (!uiActive_ && oleObject_) {
        RECT client{};
        GetClientRect(hwnd_, &client);
        oleObject_->DoVerb(OLEIVERB_UIACTIVATE, nullptr, ClientSite(), 0, hwnd_, &client);
      }
      if (controlWnd_ && GetFocus() == hwnd_) ::SetFocus(controlWnd_);
      return 0;
    case CM_UIACTIVATE: {
      RECT client{};
      GetClientRect(hwnd_, &client);
      return oleObject_ ? oleObject_->DoVerb(OLEIVERB_UIACTIVATE, nullptr, ClientSite(), 0, hwnd_, &client) : E_FAIL;
    }
    case CM_UIDEACTIVATE:
      return inPlaceObject_ ? inPlaceObject_->UIDeactivate() : E_FAIL;
    case CM_DOCWINDOWACTIVATE:
      return inPlaceActiveObject_ ? inPlaceActiveObject_->OnDocWindowActivate(static_cast<BOOL>(wp)) : E_FAIL;
    case WM_COMMAND:
      if (controlWnd_ && reinterpret_cast<HWND>(lp) == controlWnd_) return SendMessageW(hwnd_, CN_BASE + msg, wp, lp);
      break;
    case WM_NOTIFY:
      if (controlWnd_ && reinterpret_cast<NMHDR*>(lp)->hwndFrom == controlWnd_)
        return SendMessageW(hwnd_, CN_BASE + msg, wp, lp);
      break;
    case WM_DESTROY:
      if (!destroying_) ParkControlWindow();
      HostWindows().erase(hwnd_);
      gui::DetachReflectTarget(hwnd_);
      break;
    default:
      break;
  }
  return DefaultHandler(msg, wp, lp);
}

bool THtmlOleControl::OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg != WM_COMMAND && msg != WM_NOTIFY) return false;
  result = SendMessageW(hwnd_, CN_BASE + msg, wp, lp);
  return true;
}

LRESULT THtmlOleControl::ControlWndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_ERASEBKGND) return 1;
  if (msg >= CN_BASE && msg < CN_BASE + 0x400) msg -= kReflectedToOle;
  return CallWindowProcW(controlOriginalProc_, controlWnd_, msg, wp, lp);
}

LRESULT CALLBACK THtmlOleControl::HostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    static_cast<THtmlOleControl*>(cs->lpCreateParams)->hwnd_ = hwnd;
  }
  auto* self = reinterpret_cast<THtmlOleControl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self || self->hwnd_ != hwnd) return DefWindowProcW(hwnd, msg, wp, lp);
  return gui::Guarded("THtmlOleControl", LRESULT{0}, [&] { return self->WndProc(msg, wp, lp); });
}

LRESULT CALLBACK THtmlOleControl::ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto it = ControlWindows().find(hwnd);
  if (it == ControlWindows().end()) return DefWindowProcW(hwnd, msg, wp, lp);
  THtmlOleControl* self = it->second;
  if (msg == WM_NCDESTROY) {
    WNDPROC original = self->controlOriginalProc_;
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    ControlWindows().erase(hwnd);
    self->controlWnd_ = nullptr;
    self->parked_ = false;
    return CallWindowProcW(original, hwnd, msg, wp, lp);
  }
  return gui::Guarded("THtmlOleControl window", LRESULT{0}, [&] { return self->ControlWndProc(msg, wp, lp); });
}

bool OfferKeyToOleControl(MSG& msg) {
  if (msg.message < WM_KEYDOWN || msg.message > WM_SYSDEADCHAR + 1) return false;
  for (HWND w = msg.hwnd; w; w = GetParent(w)) {
    if (HostWindows().count(w)) return SendMessageW(w, CN_BASE + msg.message, msg.wParam, msg.lParam) != 0;
    if (!(GetWindowLongPtrW(w, GWL_STYLE) & WS_CHILD)) break;
  }
  return false;
}

}  // namespace htmledit
