// THtmlEdit2's answers to the browser as its host's user-interface handler.
#pragma once

#include <mshtmhst.h>

#include "htmledit/html_edit2_win32.h"

namespace htmledit {

class THtmlEdit2::HostUIHandler : public IDocHostUIHandler {
 public:
  explicit HostUIHandler(THtmlEdit2& editor) : editor_(editor) {}
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override { return editor_.SiteAddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return editor_.SiteRelease(); }

  // The browser shows no menu of its own; the control's OnContextPopup hears of it.
  STDMETHODIMP ShowContextMenu(DWORD, POINT* screen, IUnknown*, IDispatch*) override {
    editor_.DoContextPopup(screen ? *screen : POINT{-1, -1});
    return S_OK;
  }
  STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override;
  STDMETHODIMP ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                      IOleInPlaceUIWindow*) override {
    return S_FALSE;
  }
  STDMETHODIMP HideUI() override { return E_NOTIMPL; }
  STDMETHODIMP UpdateUI() override;
  STDMETHODIMP EnableModeless(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP OnDocWindowActivate(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP OnFrameWindowActivate(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP TranslateAccelerator(LPMSG msg, const GUID* group, DWORD command) override;
  STDMETHODIMP GetOptionKeyPath(LPOLESTR* key, DWORD) override;
  STDMETHODIMP GetDropTarget(IDropTarget*, IDropTarget** out) override;
  STDMETHODIMP GetExternal(IDispatch** out) override;
  STDMETHODIMP TranslateUrl(DWORD, OLECHAR*, OLECHAR** out) override;
  STDMETHODIMP FilterDataObject(IDataObject*, IDataObject** out) override;

 private:
  THtmlEdit2& editor_;
};

}  // namespace htmledit
