// THtmlOleControl: a windowed control that creates one ActiveX control, is its container
// site and activates it in place inside its own window. The hosted control's window is
// subclassed by the host; when the host's window is destroyed on its own (not with the
// component) that window is parked under a hidden window and put back when the host's
// window is made again. Events of the control arrive at THtmlEventDispatch and are handed,
// by the index of their DISPID, to the instance's event methods.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <ocidl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "gui/control.h"

namespace htmledit {

// The framework's reflected-notification range and the OLE one it maps to.
inline constexpr UINT CN_BASE = 0xBC00;
inline constexpr UINT kReflectedToOle = 39936;  // CN_BASE - OCM__BASE
inline constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
inline constexpr UINT CN_SYSDEADCHAR = CN_BASE + WM_SYSDEADCHAR;
// The framework's UI activation notifications, passed on to the in-place active object.
inline constexpr UINT CM_UIACTIVATE = WM_APP + 0x3A00;
inline constexpr UINT CM_UIDEACTIVATE = WM_APP + 0x3A01;
inline constexpr UINT CM_DOCWINDOWACTIVATE = WM_APP + 0x3A02;  // wParam: activate

// Raised when creating or setting up the control fails; the text is the system's message
// for the returned code.
class EOleError : public std::runtime_error {
 public:
  EOleError(const std::string& text, HRESULT code) : std::runtime_error(text), code_(code) {}
  HRESULT Code() const { return code_; }

 private:
  HRESULT code_;
};

// An event method: the parameters of the call as the control passed them.
using TEventMethod = std::function<void(DISPPARAMS& params)>;

// The control data record, filled by the descendant and shared by its instances.
struct TControlData {
  CLSID ClassID{};
  IID EventIID{};
  uint32_t EventCount = 0;
  const DISPID* EventDispIDs = nullptr;
  const wchar_t* LicenseKey = nullptr;
  uint32_t Flags = 0;
  uint32_t Version = 0;
  uint32_t FontCount = 0;
  const DISPID* FontIDs = nullptr;
  uint32_t PictureCount = 0;
  const DISPID* PictureIDs = nullptr;
  uint32_t Reserved = 0;
  uint32_t InstanceCount = 0;
  std::vector<std::wstring> EnumPropDescs;
  // Where the first of the EventCount event methods lies in the instance: the host keeps
  // them in one table (EventMethods()), so this is its index there.
  uint32_t FirstEventOfs = 0;
};

class THtmlOleControl;

// The event sink: IDispatch of the control's event interface.
class THtmlEventDispatch : public IDispatch {
 public:
  explicit THtmlEventDispatch(THtmlOleControl& host) : host_(host) {}
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** out) override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override;

 private:
  THtmlOleControl& host_;
};

class THtmlOleSite;
class THtmlOleFrame;

class THtmlOleControl : public gui::Control {
 public:
  THtmlOleControl();
  ~THtmlOleControl() override;

  // Creates the control object and the host's window (with the control active in place).
  // Raises EOleError when the object cannot be made or set up.
  void Create(HWND parent, const gui::ControlSpec& place);
  // Destroys the host's window alone (the control's window is parked) and makes it again.
  void DestroyHandle();
  void CreateHandle();
  void RecreateWnd();
  bool HandleAllocated() const { return hwnd_ != nullptr; }

  // The hosted control's window and its interfaces (nullptr before creation).
  HWND ControlWindow() const { return controlWnd_; }
  HWND ParkingWindow() const;
  IOleObject* OleObject() const { return oleObject_; }
  IDispatch* ControlDispatch() const { return controlDispatch_; }
  IOleInPlaceActiveObject* InPlaceActiveObject() const { return inPlaceActiveObject_; }
  bool UIActive() const { return uiActive_; }
  const CONTROLINFO& Mnemonics() const { return controlInfo_; }
  const TControlData& ControlData() const { return *controlData_; }
  std::vector<TEventMethod>& EventMethods() { return eventMethods_; }

  // The stored control state ("ControlData"): what setup loads instead of InitNew when it
  // holds anything, and what SaveControlData writes from the living object.
  std::vector<uint8_t> StoredControlData;
  bool SaveControlData(std::vector<uint8_t>& out) const;

  // Hands an event of the control to the event method of its DISPID's index.
  void InvokeEvent(DISPID dispid, DISPPARAMS& params);

  // The site's reference count (the control holds the site interfaces through it).
  ULONG SiteAddRef() { return ++siteRefs_; }
  ULONG SiteRelease() { return --siteRefs_; }
  ULONG SiteRefs() const { return siteRefs_; }

  // The parent form's window (the top-level window holding the host).
  HWND ParentForm() const;
  // The host's own dispatch interface (the ambient properties).
  IDispatch* AmbientDispatch();
  // The interface of the site objects, for tests and the in-place protocol.
  IOleClientSite* ClientSite();

  // Whether the component is in design time: never in this program.
  bool Designing() const { return false; }

 protected:
  // IOleControlSite.OnFocus: E_NOTIMPL here; the editor overrides it.
  virtual HRESULT OnFocus(BOOL gotFocus) { return E_NOTIMPL; }
  // The control reported that the focus entered or left it (before OnFocus answers).
  virtual void FocusChanged(bool gotFocus) {}
  // Fills the control data record (once per class) and returns it.
  virtual TControlData& InitControlData() = 0;
  // Interfaces the site offers beyond the container protocol (the editor's host handler).
  virtual HRESULT QuerySiteInterface(REFIID riid, void** out) {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  // The host's window procedure; the default handles what the host must.
  virtual LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT DefaultHandler(UINT msg, WPARAM wp, LPARAM lp);
  virtual const wchar_t* WindowClassName() const { return L"THtmlOleControl"; }
  bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

  // The messages of the control's own window: CN_ reflection and erasing; others go to
  // its window procedure.
  LRESULT ControlWndProc(UINT msg, WPARAM wp, LPARAM lp);

  // Closes the control (OLECLOSE_NOSAVE) and destroys the windows; a descendant whose
  // members answer the control's calls runs it first in its destructor.
  void DestroyControl();

  IOleInPlaceObject* inPlaceObject_ = nullptr;

 private:
  friend class THtmlOleSite;
  friend class THtmlOleFrame;
  friend class THtmlEventDispatch;

  void CreateObject();
  void SetupControl();
  void CreateControlWindow();
  void ParkControlWindow();
  void ReadMnemonics();
  static LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

  TControlData* controlData_ = nullptr;
  std::vector<TEventMethod> eventMethods_;
  std::unique_ptr<THtmlOleSite> site_;
  std::unique_ptr<THtmlOleFrame> frame_;
  std::unique_ptr<THtmlEventDispatch> eventDispatch_;
  IOleObject* oleObject_ = nullptr;
  IOleControl* oleControl_ = nullptr;
  IDispatch* controlDispatch_ = nullptr;
  IPersistStreamInit* persistStream_ = nullptr;
  IOleInPlaceActiveObject* inPlaceActiveObject_ = nullptr;
  DWORD eventsConnection_ = 0;
  DWORD propertyConnection_ = 0;
  HWND controlWnd_ = nullptr;
  WNDPROC controlOriginalProc_ = nullptr;
  bool parked_ = false;
  bool setupDone_ = false;
  bool uiActive_ = false;
  bool destroying_ = false;
  bool counted_ = false;  // this instance is in InstanceCount
  CONTROLINFO controlInfo_{};
  ULONG siteRefs_ = 0;
  HMENU sharedMenu_ = nullptr;
  HMENU formMenu_ = nullptr;
  HWND parent_ = nullptr;
  gui::ControlSpec place_;
};

// The key path of the message loop: keys offered to the focused ActiveX control (as CN_
// messages to its host) before dialog navigation. True when the host consumed the key.
bool OfferKeyToOleControl(MSG& msg);

}  // namespace htmledit
