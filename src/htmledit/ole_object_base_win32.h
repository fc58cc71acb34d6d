// The object side of an in-process ActiveX control: the interfaces a container talks to
// (object, in-place object, active object, control, stream persistence, connection points)
// with plain answers, so that a concrete control only makes its window and its content.
// The engine's browser control is one; the host's test probe is another.
#pragma once

#include <ole2.h>
#include <ocidl.h>
#include <olectl.h>

#include <new>
#include <utility>
#include <vector>

namespace htmledit {

class OleControlObject;

// One outgoing interface of a control: the sinks advised to it, called through IDispatch.
class ConnectionPoint : public IConnectionPoint {
 public:
  ConnectionPoint(OleControlObject& owner, const IID& iid) : owner_(owner), iid_(iid) {}
  ~ConnectionPoint();
  ConnectionPoint(const ConnectionPoint&) = delete;
  ConnectionPoint& operator=(const ConnectionPoint&) = delete;

  STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP GetConnectionInterface(IID* iid) override;
  STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** out) override;
  STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
  STDMETHODIMP Unadvise(DWORD cookie) override;
  STDMETHODIMP EnumConnections(IEnumConnections** out) override;

  const IID& Iid() const { return iid_; }
  bool HasSinks() const { return !sinks_.empty(); }
  // Invokes dispid on every sink that offers IDispatch (event interfaces are dispinterfaces).
  void Fire(DISPID dispid, DISPPARAMS& params);
  // Calls fn with each sink (IUnknown) in turn.
  template <class Fn>
  void ForEach(Fn fn) {
    auto copy = sinks_;
    for (auto& s : copy) fn(s.second);
  }
  void UnadviseAll();

 private:
  OleControlObject& owner_;
  IID iid_;
  DWORD nextCookie_ = 1;
  std::vector<std::pair<DWORD, IUnknown*>> sinks_;
};

class OleControlObject : public IOleObject,
                         public IOleInPlaceObject,
                         public IOleInPlaceActiveObject,
                         public IOleControl,
                         public IPersistStreamInit,
                         public IConnectionPointContainer {
 public:
  // eventIid: the control's event interface (its default source).
  OleControlObject(const CLSID& clsid, const IID& eventIid);
  virtual ~OleControlObject();
  OleControlObject(const OleControlObject&) = delete;
  OleControlObject& operator=(const OleControlObject&) = delete;

  // IUnknown (every interface of the object answers through these).
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IOleObject
  STDMETHODIMP SetClientSite(IOleClientSite* site) override;
  STDMETHODIMP GetClientSite(IOleClientSite** site) override;
  STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
  STDMETHODIMP Close(DWORD saveOption) override;
  STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** out) override;
  STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP GetClipboardData(DWORD, IDataObject** out) override;
  STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent, LPCRECT pos) override;
  STDMETHODIMP EnumVerbs(IEnumOLEVERB** out) override;
  STDMETHODIMP Update() override { return S_OK; }
  STDMETHODIMP IsUpToDate() override { return S_OK; }
  STDMETHODIMP GetUserClassID(CLSID* clsid) override;
  STDMETHODIMP GetUserType(DWORD, LPOLESTR* out) override;
  STDMETHODIMP SetExtent(DWORD aspect, SIZEL* size) override;
  STDMETHODIMP GetExtent(DWORD aspect, SIZEL* size) override;
  STDMETHODIMP Advise(IAdviseSink*, DWORD* cookie) override;
  STDMETHODIMP Unadvise(DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP EnumAdvise(IEnumSTATDATA** out) override;
  STDMETHODIMP GetMiscStatus(DWORD, DWORD* status) override;
  STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

  // IOleWindow (of the in-place and the active object)
  STDMETHODIMP GetWindow(HWND* out) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  // IOleInPlaceObject
  STDMETHODIMP InPlaceDeactivate() override;
  STDMETHODIMP UIDeactivate() override;
  STDMETHODIMP SetObjectRects(LPCRECT pos, LPCRECT clip) override;
  STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }
  // IOleInPlaceActiveObject
  STDMETHODIMP TranslateAccelerator(LPMSG msg) override;
  STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnDocWindowActivate(BOOL activate) override;
  STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
  STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }

  // IOleControl
  STDMETHODIMP GetControlInfo(CONTROLINFO* info) override;
  STDMETHODIMP OnMnemonic(MSG*) override { return S_OK; }
  STDMETHODIMP OnAmbientPropertyChange(DISPID) override { return S_OK; }
  STDMETHODIMP FreezeEvents(BOOL freeze) override;

  // IPersistStreamInit: the control's own state (not its document).
  STDMETHODIMP GetClassID(CLSID* clsid) override;
  STDMETHODIMP IsDirty() override { return S_FALSE; }
  STDMETHODIMP Load(LPSTREAM stream) override;
  STDMETHODIMP Save(LPSTREAM stream, BOOL clearDirty) override;
  STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override;
  STDMETHODIMP InitNew() override;

  // IConnectionPointContainer
  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** out) override;
  STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** out) override;

  HWND Window() const { return window_; }
  IOleClientSite* ClientSite() const { return site_; }
  ConnectionPoint& Events() { return events_; }
  ConnectionPoint& PropertyNotify() { return propertyNotify_; }
  bool EventsFrozen() const { return frozen_ > 0; }

 protected:
  // Interfaces beyond those above (the concrete control's own).
  virtual HRESULT QueryOther(REFIID riid, void** out) {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  // Makes the in-place window as a child of parent at pos; nullptr on failure.
  virtual HWND CreateInPlaceWindow(HWND parent, const RECT& pos) = 0;
  // Called after the window is placed or moved.
  virtual void PlaceWindow(const RECT& pos, const RECT& clip);
  virtual void OnSiteChanged() {}
  virtual HRESULT OnTranslateAccelerator(MSG*) { return S_FALSE; }
  // The state that Load/Save carry (none by default) and InitNew resets.
  virtual HRESULT LoadState(IStream*) { return S_OK; }
  virtual HRESULT SaveState(IStream*) { return S_OK; }
  virtual void ResetState() {}

  // The steps of in-place activation, in the order the protocol asks of them.
  HRESULT ActivateInPlace(IOleClientSite* site, HWND parent, LPCRECT pos, bool uiActivate);
  void DestroyWindowAndSite();

  IOleClientSite* site_ = nullptr;
  IOleInPlaceSite* inPlaceSite_ = nullptr;
  IOleInPlaceFrame* frame_ = nullptr;
  IOleInPlaceUIWindow* uiWindow_ = nullptr;
  HWND window_ = nullptr;
  bool inPlaceActive_ = false;
  bool uiActive_ = false;
  SIZEL extent_{5080, 3810};  // HIMETRIC: 2 × 1.5 inches

 private:
  LONG refs_ = 1;
  int frozen_ = 0;
  CLSID clsid_;
  ConnectionPoint events_;
  ConnectionPoint propertyNotify_;
};

// A class factory for one kind of control object (made with new, one reference held).
template <class T>
class ControlClassFactory : public IClassFactory {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == IID_IClassFactory) {
      *out = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    T* object = new (std::nothrow) T();
    if (!object) return E_OUTOFMEMORY;
    HRESULT hr = object->QueryInterface(riid, out);
    object->Release();
    return hr;
  }
  STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

}  // namespace htmledit
