#include "htmledit/ole_host_site_win32.h"

#include <olectl.h>

#include <cmath>

#include "htmledit/ole_control_host_win32.h"

namespace htmledit {

namespace {
constexpr RECT kClipAll{0, 0, 32767, 32767};

int ScreenPixelsPerInch(bool horizontal) {
  HDC dc = GetDC(nullptr);
  int ppi = dc ? GetDeviceCaps(dc, horizontal ? LOGPIXELSX : LOGPIXELSY) : 96;
  if (dc) ReleaseDC(nullptr, dc);
  return ppi > 0 ? ppi : 96;
}

void SetBool(VARIANT* v, bool value) {
  v->vt = VT_BOOL;
  v->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

void SetInt(VARIANT* v, LONG value) {
  v->vt = VT_I4;
  v->lVal = value;
}

OLE_COLOR ColorOf(int sysColorIndex) { return 0x80000000u | static_cast<OLE_COLOR>(sysColorIndex); }
}  // namespace

// ---- THtmlOleSite

STDMETHODIMP THtmlOleSite::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (riid == IID_IUnknown || riid == IID_IOleClientSite) *out = static_cast<IOleClientSite*>(this);
  else if (riid == IID_IOleControlSite) *out = static_cast<IOleControlSite*>(this);
  else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite) *out = static_cast<IOleInPlaceSite*>(this);
  else if (riid == IID_IDispatch) *out = static_cast<IDispatch*>(this);
  else if (riid == IID_IPropertyNotifySink) *out = static_cast<IPropertyNotifySink*>(this);
  else if (riid == IID_ISimpleFrameSite) *out = static_cast<ISimpleFrameSite*>(this);
  else return host_.QuerySiteInterface(riid, out);
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) THtmlOleSite::AddRef() { return host_.SiteAddRef(); }
STDMETHODIMP_(ULONG) THtmlOleSite::Release() { return host_.SiteRelease(); }

STDMETHODIMP THtmlOleSite::GetMoniker(DWORD, DWORD, IMoniker** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP THtmlOleSite::GetContainer(IOleContainer** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP THtmlOleSite::OnControlInfoChanged() {
  host_.ReadMnemonics();
  return S_OK;
}

STDMETHODIMP THtmlOleSite::GetExtendedControl(IDispatch** out) {
  if (!out) return E_POINTER;
  *out = static_cast<IDispatch*>(this);
  AddRef();
  return S_OK;
}

STDMETHODIMP THtmlOleSite::TransformCoords(POINTL* himetric, POINTF* container, DWORD flags) {
  if (!himetric || !container) return E_POINTER;
  const double ppiX = ScreenPixelsPerInch(true), ppiY = ScreenPixelsPerInch(false);
  if (flags & XFORMCOORDS_HIMETRICTOCONTAINER) {
    container->x = static_cast<float>(std::lround(himetric->x * ppiX / 2540.0));
    container->y = static_cast<float>(std::lround(himetric->y * ppiY / 2540.0));
  } else {
    himetric->x = std::lround(container->x * 2540.0 / ppiX);
    himetric->y = std::lround(container->y * 2540.0 / ppiY);
  }
  return S_OK;
}

STDMETHODIMP THtmlOleSite::OnFocus(BOOL gotFocus) {
  host_.FocusChanged(gotFocus != FALSE);
  return host_.OnFocus(gotFocus);
}

STDMETHODIMP THtmlOleSite::GetWindow(HWND* out) {
  if (!out) return E_POINTER;
  *out = host_.Handle();
  return *out ? S_OK : E_FAIL;
}

STDMETHODIMP THtmlOleSite::OnUIActivate() {
  host_.uiActive_ = true;
  return S_OK;
}

STDMETHODIMP THtmlOleSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos,
                                            LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
  if (!frame || !doc || !pos || !clip || !info) return E_POINTER;
  *frame = host_.frame_.get();
  (*frame)->AddRef();
  *doc = nullptr;
  RECT client{0, 0, 0, 0};
  if (host_.Handle()) GetClientRect(host_.Handle(), &client);
  *pos = client;
  *clip = kClipAll;
  info->fMDIApp = FALSE;
  info->hwndFrame = host_.ParentForm();
  info->haccel = nullptr;
  info->cAccelEntries = 0;
  return S_OK;
}

STDMETHODIMP THtmlOleSite::OnUIDeactivate(BOOL) {
  if (host_.sharedMenu_) {
    host_.frame_->SetMenu(nullptr, nullptr, nullptr);
    host_.sharedMenu_ = nullptr;
  }
  host_.uiActive_ = false;
  return S_OK;
}

STDMETHODIMP THtmlOleSite::OnInPlaceDeactivate() {
  if (host_.inPlaceActiveObject_) {
    host_.inPlaceActiveObject_->Release();
    host_.inPlaceActiveObject_ = nullptr;
  }
  if (host_.inPlaceObject_) {
    host_.inPlaceObject_->Release();
    host_.inPlaceObject_ = nullptr;
  }
  return S_OK;
}

STDMETHODIMP THtmlOleSite::DeactivateAndUndo() {
  if (host_.inPlaceObject_) host_.inPlaceObject_->UIDeactivate();
  return S_OK;
}

STDMETHODIMP THtmlOleSite::OnPosRectChange(LPCRECT pos) {
  if (!pos) return E_POINTER;
  if (host_.inPlaceObject_) host_.inPlaceObject_->SetObjectRects(pos, &kClipAll);
  return S_OK;
}

STDMETHODIMP THtmlOleSite::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

STDMETHODIMP THtmlOleSite::GetTypeInfo(UINT, LCID, ITypeInfo** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP THtmlOleSite::Invoke(DISPID dispid, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                  UINT*) {
  if (!(flags & DISPATCH_PROPERTYGET) || !result) return DISP_E_MEMBERNOTFOUND;
  VariantInit(result);
  switch (dispid) {
    case DISPID_AMBIENT_USERMODE: SetBool(result, !host_.Designing()); return S_OK;
    case DISPID_AMBIENT_BACKCOLOR: SetInt(result, static_cast<LONG>(ColorOf(COLOR_WINDOW))); return S_OK;
    case DISPID_AMBIENT_DISPLAYNAME:
      result->vt = VT_BSTR;
      result->bstrVal = SysAllocString(host_.WindowClassName());
      return S_OK;
    case DISPID_AMBIENT_FONT: {
      FONTDESC desc{sizeof desc, const_cast<LPOLESTR>(L"SimSun"), {90000, 0}, FW_NORMAL, GB2312_CHARSET, FALSE,
                    FALSE, FALSE};
      IDispatch* font = nullptr;
      if (FAILED(OleCreateFontIndirect(&desc, IID_IFontDisp, reinterpret_cast<void**>(&font)))) return S_OK;
      result->vt = VT_DISPATCH;
      result->pdispVal = font;
      return S_OK;
    }
    case DISPID_AMBIENT_FORECOLOR: SetInt(result, static_cast<LONG>(ColorOf(COLOR_WINDOWTEXT))); return S_OK;
    case DISPID_AMBIENT_LOCALEID: SetInt(result, static_cast<LONG>(GetUserDefaultLCID())); return S_OK;
    case DISPID_AMBIENT_MESSAGEREFLECT: SetBool(result, true); return S_OK;
    case DISPID_AMBIENT_UIDEAD:
    case DISPID_AMBIENT_SHOWGRABHANDLES:
    case DISPID_AMBIENT_SHOWHATCHING: SetBool(result, false); return S_OK;
    case DISPID_AMBIENT_AUTOCLIP: SetBool(result, true); return S_OK;
    default: return DISP_E_MEMBERNOTFOUND;  // -5512 (the download control flags) among them
  }
}

// ---- THtmlOleFrame

STDMETHODIMP THtmlOleFrame::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (riid == IID_IUnknown || riid == IID_IOleWindow || riid == IID_IOleInPlaceUIWindow ||
      riid == IID_IOleInPlaceFrame) {
    *out = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    return S_OK;
  }
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) THtmlOleFrame::AddRef() { return host_.SiteAddRef(); }
STDMETHODIMP_(ULONG) THtmlOleFrame::Release() { return host_.SiteRelease(); }

STDMETHODIMP THtmlOleFrame::GetWindow(HWND* out) {
  if (!out) return E_POINTER;
  *out = host_.ParentForm();
  return *out ? S_OK : E_FAIL;
}

STDMETHODIMP THtmlOleFrame::InsertMenus(HMENU shared, LPOLEMENUGROUPWIDTHS widths) {
  if (!shared || !widths) return E_POINTER;
  HWND form = host_.ParentForm();
  HMENU main = form ? GetMenu(form) : nullptr;
  LONG added = 0;
  if (main) {
    // The form's menus go into the first (File) group of the shared menu.
    const int count = GetMenuItemCount(main);
    for (int i = 0; i < count; ++i) {
      wchar_t text[256] = {};
      MENUITEMINFOW mii{sizeof mii};
      mii.fMask = MIIM_STRING | MIIM_SUBMENU | MIIM_ID | MIIM_FTYPE | MIIM_STATE;
      mii.dwTypeData = text;
      mii.cch = 255;
      if (!GetMenuItemInfoW(main, static_cast<UINT>(i), TRUE, &mii)) continue;
      mii.dwTypeData = text;
      if (InsertMenuItemW(shared, static_cast<UINT>(added), TRUE, &mii)) ++added;
    }
  }
  widths->width[0] = added;
  widths->width[2] = 0;
  widths->width[4] = 0;
  return S_OK;
}

STDMETHODIMP THtmlOleFrame::SetMenu(HMENU shared, HOLEMENU descriptor, HWND activeObject) {
  HWND form = host_.ParentForm();
  if (!form) return E_FAIL;
  if (shared) {
    if (!host_.sharedMenu_) host_.formMenu_ = GetMenu(form);
    host_.sharedMenu_ = shared;
    if (host_.formMenu_) ::SetMenu(form, shared);
    return OleSetMenuDescriptor(descriptor, form, activeObject, nullptr, nullptr);
  }
  // Back to the form's own menu.
  if (host_.formMenu_) ::SetMenu(form, host_.formMenu_);
  host_.sharedMenu_ = nullptr;
  return OleSetMenuDescriptor(nullptr, form, nullptr, nullptr, nullptr);
}

STDMETHODIMP THtmlOleFrame::RemoveMenus(HMENU shared) {
  if (!shared) return E_POINTER;
  // The form's popups stay alive: they are removed, not destroyed.
  while (GetMenuItemCount(shared) > 0) RemoveMenu(shared, 0, MF_BYPOSITION);
  return S_OK;
}

}  // namespace htmledit
