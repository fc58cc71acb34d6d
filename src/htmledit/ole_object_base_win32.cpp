#include "htmledit/com_ref_win32.h"
#include "htmledit/ole_object_base_win32.h"

#include <algorithm>

namespace htmledit {

// ---- ConnectionPoint

ConnectionPoint::~ConnectionPoint() { UnadviseAll(); }

STDMETHODIMP ConnectionPoint::QueryInterface(REFIID riid, void** out) {
  if (riid == IID_IUnknown || riid == IID_IConnectionPoint) {
    *out = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) ConnectionPoint::AddRef() { return owner_.AddRef(); }
STDMETHODIMP_(ULONG) ConnectionPoint::Release() { return owner_.Release(); }

STDMETHODIMP ConnectionPoint::GetConnectionInterface(IID* iid) {
  if (!iid) return E_POINTER;
  *iid = iid_;
  return S_OK;
}

STDMETHODIMP ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** out) {
  if (!out) return E_POINTER;
  *out = static_cast<IConnectionPointContainer*>(&owner_);
  owner_.AddRef();
  return S_OK;
}

STDMETHODIMP ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
  if (!sink || !cookie) return E_POINTER;
  // The sink must speak the interface (or IDispatch, for dispinterfaces).
  IUnknown* held = nullptr;
  if (FAILED(sink->QueryInterface(iid_, reinterpret_cast<void**>(&held))) &&
      FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&held))))
    return CONNECT_E_CANNOTCONNECT;
  *cookie = nextCookie_++;
  sinks_.emplace_back(*cookie, held);
  return S_OK;
}

STDMETHODIMP ConnectionPoint::Unadvise(DWORD cookie) {
  auto it = std::find_if(sinks_.begin(), sinks_.end(), [cookie](auto& s) { return s.first == cookie; });
  if (it == sinks_.end()) return CONNECT_E_NOCONNECTION;
  IUnknown* sink = it->second;
  sinks_.erase(it);
  sink->Release();
  return S_OK;
}

STDMETHODIMP ConnectionPoint::EnumConnections(IEnumConnections** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

void ConnectionPoint::Fire(DISPID dispid, DISPPARAMS& params) {
  if (owner_.EventsFrozen()) return;
  // A sink may unadvise from inside its handler: call a held copy.
  auto copy = sinks_;
  for (auto& s : copy) s.second->AddRef();
  for (auto& s : copy) {
    IDispatch* disp = nullptr;
    if (SUCCEEDED(s.second->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&disp)))) {
      disp->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
      disp->Release();
    }
  }
  for (auto& s : copy) s.second->Release();
}

void ConnectionPoint::UnadviseAll() {
  auto copy = std::move(sinks_);
  sinks_.clear();
  for (auto& s : copy) s.second->Release();
}

// ---- OleControlObject

OleControlObject::OleControlObject(const CLSID& clsid, const IID& eventIid)
    : clsid_(clsid), events_(*this, eventIid), propertyNotify_(*this, IID_IPropertyNotifySink) {}

OleControlObject::~OleControlObject() { DestroyWindowAndSite(); }

STDMETHODIMP OleControlObject::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (riid == IID_IUnknown || riid == IID_IOleObject) *out = static_cast<IOleObject*>(this);
  else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceObject) *out = static_cast<IOleInPlaceObject*>(this);
  else if (riid == IID_IOleInPlaceActiveObject) *out = static_cast<IOleInPlaceActiveObject*>(this);
  else if (riid == IID_IOleControl) *out = static_cast<IOleControl*>(this);
  else if (riid == IID_IPersistStreamInit || riid == IID_IPersist) *out = static_cast<IPersistStreamInit*>(this);
  else if (riid == IID_IConnectionPointContainer) *out = static_cast<IConnectionPointContainer*>(this);
  else return QueryOther(riid, out);
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) OleControlObject::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }

STDMETHODIMP_(ULONG) OleControlObject::Release() {
  LONG n = InterlockedDecrement(&refs_);
  if (n == 0) delete this;
  return static_cast<ULONG>(n);
}

STDMETHODIMP OleControlObject::SetClientSite(IOleClientSite* site) {
  if (site == site_) return S_OK;
  if (!site) {
    DestroyWindowAndSite();
    OnSiteChanged();
    return S_OK;
  }
  site->AddRef();
  ReleaseAndClear(site_);
  site_ = site;
  OnSiteChanged();
  return S_OK;
}

STDMETHODIMP OleControlObject::GetClientSite(IOleClientSite** site) {
  if (!site) return E_POINTER;
  *site = site_;
  if (site_) site_->AddRef();
  return S_OK;
}

STDMETHODIMP OleControlObject::Close(DWORD) {
  InPlaceDeactivate();
  return S_OK;
}

STDMETHODIMP OleControlObject::GetMoniker(DWORD, DWORD, IMoniker** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP OleControlObject::GetClipboardData(DWORD, IDataObject** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP OleControlObject::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent, LPCRECT pos) {
  switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_UIACTIVATE:
      return ActivateInPlace(site ? site : site_, parent, pos, true);
    case OLEIVERB_INPLACEACTIVATE:
      return ActivateInPlace(site ? site : site_, parent, pos, false);
    case OLEIVERB_HIDE:
      if (window_) ShowWindow(window_, SW_HIDE);
      return S_OK;
    default:
      return OLEOBJ_S_INVALIDVERB;
  }
}

HRESULT OleControlObject::ActivateInPlace(IOleClientSite* site, HWND parent, LPCRECT pos, bool uiActivate) {
  if (!site) return E_UNEXPECTED;
  if (!inPlaceActive_) {
    IOleInPlaceSite* ips = nullptr;
    if (FAILED(site->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&ips)))) return E_NOINTERFACE;
    if (ips->CanInPlaceActivate() != S_OK) {
      ips->Release();
      return E_FAIL;
    }
    ips->OnInPlaceActivate();
    inPlaceSite_ = ips;
    inPlaceActive_ = true;
    HWND siteWindow = nullptr;
    if (SUCCEEDED(ips->GetWindow(&siteWindow)) && siteWindow) parent = siteWindow;
    RECT position{0, 0, 0, 0}, clip{0, 0, 0, 0};
    OLEINPLACEFRAMEINFO info{sizeof info};
    ReleaseAndClear(frame_);
    ReleaseAndClear(uiWindow_);
    ips->GetWindowContext(&frame_, &uiWindow_, &position, &clip, &info);
    if (pos) position = *pos;
    if (!window_) window_ = CreateInPlaceWindow(parent, position);
    if (!window_) return E_FAIL;
    if (GetParent(window_) != parent) SetParent(window_, parent);
    PlaceWindow(position, clip);
    ShowWindow(window_, SW_SHOWNA);
  }
  if (uiActivate && !uiActive_) {
    uiActive_ = true;
    inPlaceSite_->OnUIActivate();
    if (frame_) frame_->SetActiveObject(static_cast<IOleInPlaceActiveObject*>(this), nullptr);
    if (uiWindow_) uiWindow_->SetActiveObject(static_cast<IOleInPlaceActiveObject*>(this), nullptr);
    if (window_) SetFocus(window_);
  }
  return S_OK;
}

STDMETHODIMP OleControlObject::EnumVerbs(IEnumOLEVERB** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP OleControlObject::GetUserClassID(CLSID* clsid) { return GetClassID(clsid); }

STDMETHODIMP OleControlObject::GetUserType(DWORD, LPOLESTR* out) {
  if (out) *out = nullptr;
  return OLE_S_USEREG;
}

STDMETHODIMP OleControlObject::SetExtent(DWORD aspect, SIZEL* size) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!size) return E_POINTER;
  extent_ = *size;
  return S_OK;
}

STDMETHODIMP OleControlObject::GetExtent(DWORD aspect, SIZEL* size) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (!size) return E_POINTER;
  *size = extent_;
  return S_OK;
}

STDMETHODIMP OleControlObject::Advise(IAdviseSink*, DWORD* cookie) {
  if (cookie) *cookie = 0;
  return E_NOTIMPL;
}

STDMETHODIMP OleControlObject::EnumAdvise(IEnumSTATDATA** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP OleControlObject::GetMiscStatus(DWORD, DWORD* status) {
  if (!status) return E_POINTER;
  *status = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_CANTLINKINSIDE | OLEMISC_INSIDEOUT | OLEMISC_ACTIVATEWHENVISIBLE |
            OLEMISC_SETCLIENTSITEFIRST;
  return S_OK;
}

STDMETHODIMP OleControlObject::GetWindow(HWND* out) {
  if (!out) return E_POINTER;
  *out = window_;
  return window_ ? S_OK : E_FAIL;
}

STDMETHODIMP OleControlObject::InPlaceDeactivate() {
  if (!inPlaceActive_) return S_OK;
  UIDeactivate();
  inPlaceActive_ = false;
  if (window_) {
    DestroyWindow(window_);
    window_ = nullptr;
  }
  IOleInPlaceSite* ips = inPlaceSite_;
  inPlaceSite_ = nullptr;
  if (ips) {
    ips->OnInPlaceDeactivate();
    ips->Release();
  }
  ReleaseAndClear(frame_);
  ReleaseAndClear(uiWindow_);
  return S_OK;
}

STDMETHODIMP OleControlObject::UIDeactivate() {
  if (!uiActive_) return S_OK;
  uiActive_ = false;
  if (frame_) frame_->SetActiveObject(nullptr, nullptr);
  if (uiWindow_) uiWindow_->SetActiveObject(nullptr, nullptr);
  if (inPlaceSite_) inPlaceSite_->OnUIDeactivate(FALSE);
  return S_OK;
}

STDMETHODIMP OleControlObject::SetObjectRects(LPCRECT pos, LPCRECT clip) {
  if (!pos) return E_POINTER;
  RECT c = clip ? *clip : *pos;
  if (window_) PlaceWindow(*pos, c);
  return S_OK;
}

void OleControlObject::PlaceWindow(const RECT& pos, const RECT&) {
  MoveWindow(window_, pos.left, pos.top, pos.right - pos.left, pos.bottom - pos.top, TRUE);
}

STDMETHODIMP OleControlObject::TranslateAccelerator(LPMSG msg) {
  if (!msg) return E_POINTER;
  return OnTranslateAccelerator(msg);
}

STDMETHODIMP OleControlObject::OnDocWindowActivate(BOOL activate) {
  if (!activate) UIDeactivate();
  return S_OK;
}

STDMETHODIMP OleControlObject::GetControlInfo(CONTROLINFO* info) {
  if (!info) return E_POINTER;
  info->hAccel = nullptr;
  info->cAccel = 0;
  info->dwFlags = 0;
  return S_OK;
}

STDMETHODIMP OleControlObject::FreezeEvents(BOOL freeze) {
  frozen_ += freeze ? 1 : -1;
  if (frozen_ < 0) frozen_ = 0;
  return S_OK;
}

STDMETHODIMP OleControlObject::GetClassID(CLSID* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = clsid_;
  return S_OK;
}

STDMETHODIMP OleControlObject::Load(LPSTREAM stream) {
  if (!stream) return E_POINTER;
  return LoadState(stream);
}

STDMETHODIMP OleControlObject::Save(LPSTREAM stream, BOOL) {
  if (!stream) return E_POINTER;
  return SaveState(stream);
}

STDMETHODIMP OleControlObject::GetSizeMax(ULARGE_INTEGER* size) {
  if (size) size->QuadPart = 0;
  return E_NOTIMPL;
}

STDMETHODIMP OleControlObject::InitNew() {
  ResetState();
  return S_OK;
}

STDMETHODIMP OleControlObject::EnumConnectionPoints(IEnumConnectionPoints** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP OleControlObject::FindConnectionPoint(REFIID riid, IConnectionPoint** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  ConnectionPoint* cp = nullptr;
  if (riid == events_.Iid()) cp = &events_;
  else if (riid == IID_IPropertyNotifySink) cp = &propertyNotify_;
  else return CONNECT_E_NOCONNECTION;
  *out = cp;
  cp->AddRef();
  return S_OK;
}

void OleControlObject::DestroyWindowAndSite() {
  InPlaceDeactivate();
  if (window_) {
    DestroyWindow(window_);
    window_ = nullptr;
  }
  events_.UnadviseAll();
  propertyNotify_.UnadviseAll();
  ReleaseAndClear(site_);
}

}  // namespace htmledit
