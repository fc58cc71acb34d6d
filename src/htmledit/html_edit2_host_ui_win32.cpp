#include "htmledit/html_edit2_host_ui_win32.h"

namespace htmledit {

STDMETHODIMP THtmlEdit2::HostUIHandler::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IDocHostUIHandler) {
    *out = static_cast<IDocHostUIHandler*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

DWORD THtmlEdit2::HostInfoFlags() const {
  DWORD flags = DOCHOSTUIFLAG_THEME;
  if (UseDivOnCarriageReturn) flags |= DOCHOSTUIFLAG_DIV_BLOCKDEFAULT;
  if (Flat) flags |= DOCHOSTUIFLAG_NO3DBORDER;
  if (!ScrollBars) flags |= DOCHOSTUIFLAG_SCROLL_NO;
  if (FlatScrollBars) flags |= DOCHOSTUIFLAG_FLAT_SCROLLBAR;
  return flags;
}

STDMETHODIMP THtmlEdit2::HostUIHandler::GetHostInfo(DOCHOSTUIINFO* info) {
  if (!info) return E_POINTER;
  info->cbSize = 20;
  info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
  info->dwFlags = editor_.HostInfoFlags();
  return S_OK;
}

STDMETHODIMP THtmlEdit2::HostUIHandler::UpdateUI() {
  editor_.DocumentUpdateUI();
  return S_OK;
}

STDMETHODIMP THtmlEdit2::HostUIHandler::TranslateAccelerator(LPMSG msg, const GUID*, DWORD command) {
  // Ctrl+N goes to the editor's own window: the browser never opens a new window.
  if (msg && command == 0 && msg->wParam == 0x4E && (GetKeyState(VK_CONTROL) < 0) && !(GetKeyState(VK_MENU) < 0)) {
    SendMessageA(editor_.Handle(), msg->message, msg->wParam, msg->lParam);
    return S_OK;
  }
  return S_FALSE;
}

STDMETHODIMP THtmlEdit2::HostUIHandler::GetOptionKeyPath(LPOLESTR* key, DWORD) {
  if (key) *key = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP THtmlEdit2::HostUIHandler::GetDropTarget(IDropTarget*, IDropTarget** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP THtmlEdit2::HostUIHandler::GetExternal(IDispatch** out) {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP THtmlEdit2::HostUIHandler::TranslateUrl(DWORD, OLECHAR*, OLECHAR** out) {
  if (out) *out = nullptr;
  return S_FALSE;
}

STDMETHODIMP THtmlEdit2::HostUIHandler::FilterDataObject(IDataObject*, IDataObject** out) {
  if (out) *out = nullptr;
  return S_FALSE;
}

HRESULT THtmlEdit2::QuerySiteInterface(REFIID riid, void** out) {
  if (riid == IID_IDocHostUIHandler) return uiHandler_->QueryInterface(riid, out);
  return TCustomHtmlEdit::QuerySiteInterface(riid, out);
}

}  // namespace htmledit
