// The ActiveX host against a probe control of this test program: the probe asks the site
// every question of the container protocol and records the answers; the host fires the
// probe's events by index, reflects notifications into the OLE range and parks the
// probe's window while its own is re-made.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "htmledit/ole_control_host_win32.h"
#include "htmledit/ole_object_base_win32.h"

namespace htmledit {
namespace {

// {7F0E3B1A-5C2D-4E61-9A8B-2C3D4E5F6071}
constexpr CLSID CLSID_Probe = {0x7f0e3b1a, 0x5c2d, 0x4e61, {0x9a, 0x8b, 0x2c, 0x3d, 0x4e, 0x5f, 0x60, 0x71}};
// {7F0E3B1B-5C2D-4E61-9A8B-2C3D4E5F6071}
constexpr IID DIID_ProbeEvents = {0x7f0e3b1b, 0x5c2d, 0x4e61, {0x9a, 0x8b, 0x2c, 0x3d, 0x4e, 0x5f, 0x60, 0x71}};
constexpr UINT OCM_BASE = WM_USER + 0x1C00;

// What the probe saw, kept outside the object (it dies with the host).
struct ProbeLog {
  std::map<std::string, HRESULT> answers;
  std::vector<std::string> calls;
  std::vector<UINT> windowMessages;
  std::string loadedState;
  HWND siteWindow = nullptr, frameWindow = nullptr, contextFrameWindow = nullptr;
  RECT contextPos{}, contextClip{}, lastRects{}, lastClip{};
  bool contextDocNull = false, frameNotNull = false;
  UINT contextAccelCount = 99;
  IDispatch* extended = nullptr;
  float toContainerX = 0;
  LONG toHimetricX = 0;
  VARIANT userMode{};
  int sharedMenuItemsAfterInsert = -1, sharedMenuItemsAfterRemove = -1;
  bool wasUiActiveAfterOnUIActivate = false, uiActiveAfterOnUIDeactivate = true;
  bool outParamsNulled = true;
  void Clear() { *this = ProbeLog{}; }
} g_log;

class Probe;
Probe* g_probe = nullptr;

LRESULT CALLBACK ProbeWindowProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  g_log.windowMessages.push_back(m);
  return DefWindowProcW(h, m, w, l);
}

class Probe : public OleControlObject {
 public:
  Probe() : OleControlObject(CLSID_Probe, DIID_ProbeEvents) {
    g_probe = this;
    info_.cb = sizeof info_;
  }
  ~Probe() override { g_probe = nullptr; }

  CONTROLINFO info_{};
  THtmlOleControl* host = nullptr;

  STDMETHODIMP GetControlInfo(CONTROLINFO* info) override {
    *info = info_;
    return S_OK;
  }
  STDMETHODIMP Close(DWORD option) override {
    g_log.calls.push_back(option == OLECLOSE_NOSAVE ? "Close(NOSAVE)" : "Close(other)");
    return OleControlObject::Close(option);
  }
  STDMETHODIMP UIDeactivate() override {
    g_log.calls.push_back("UIDeactivate");
    return OleControlObject::UIDeactivate();
  }
  STDMETHODIMP SetObjectRects(LPCRECT pos, LPCRECT clip) override {
    g_log.lastRects = *pos;
    g_log.lastClip = clip ? *clip : RECT{};
    return OleControlObject::SetObjectRects(pos, clip);
  }

  // Asks every question of the protocol and records the answers.
  void AskEverything() {
    IOleClientSite* cs = site_;
    auto& a = g_log.answers;
    a["SaveObject"] = cs->SaveObject();
    a["ShowObject"] = cs->ShowObject();
    a["OnShowWindow"] = cs->OnShowWindow(TRUE);
    IMoniker* mk = reinterpret_cast<IMoniker*>(1);
    a["GetMoniker"] = cs->GetMoniker(OLEGETMONIKER_ONLYIFTHERE, OLEWHICHMK_CONTAINER, &mk);
    IOleContainer* container = reinterpret_cast<IOleContainer*>(1);
    a["GetContainer"] = cs->GetContainer(&container);
    g_log.outParamsNulled = mk == nullptr && container == nullptr;
    a["RequestNewObjectLayout"] = cs->RequestNewObjectLayout();

    IOleControlSite* ctl = nullptr;
    a["QI IOleControlSite"] = cs->QueryInterface(IID_IOleControlSite, reinterpret_cast<void**>(&ctl));
    info_.cAccel = 3;
    a["OnControlInfoChanged"] = ctl->OnControlInfoChanged();
    a["LockInPlaceActive"] = ctl->LockInPlaceActive(TRUE);
    a["GetExtendedControl"] = ctl->GetExtendedControl(&g_log.extended);
    POINTL him{2540, 2540};
    POINTF cont{0, 0};
    a["TransformCoords to container"] = ctl->TransformCoords(&him, &cont, XFORMCOORDS_HIMETRICTOCONTAINER | XFORMCOORDS_SIZE);
    g_log.toContainerX = cont.x;
    POINTL back{0, 0};
    POINTF px{96, 96};
    a["TransformCoords to himetric"] = ctl->TransformCoords(&back, &px, XFORMCOORDS_CONTAINERTOHIMETRIC | XFORMCOORDS_SIZE);
    g_log.toHimetricX = back.x;
    MSG msg{};
    a["ControlSite TranslateAccelerator"] = ctl->TranslateAccelerator(&msg, 0);
    a["OnFocus"] = ctl->OnFocus(TRUE);
    a["ShowPropertyFrame"] = ctl->ShowPropertyFrame();
    ctl->Release();

    IOleInPlaceSite* ips = nullptr;
    cs->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&ips));
    a["InPlaceSite GetWindow"] = ips->GetWindow(&g_log.siteWindow);
    a["InPlaceSite ContextSensitiveHelp"] = ips->ContextSensitiveHelp(TRUE);
    a["CanInPlaceActivate"] = ips->CanInPlaceActivate();
    a["OnInPlaceActivate"] = ips->OnInPlaceActivate();
    a["OnUIActivate"] = ips->OnUIActivate();
    g_log.wasUiActiveAfterOnUIActivate = host->UIActive();
    IOleInPlaceFrame* frame = nullptr;
    IOleInPlaceUIWindow* doc = reinterpret_cast<IOleInPlaceUIWindow*>(1);
    OLEINPLACEFRAMEINFO info{sizeof info};
    a["GetWindowContext"] = ips->GetWindowContext(&frame, &doc, &g_log.contextPos, &g_log.contextClip, &info);
    g_log.contextDocNull = doc == nullptr;
    g_log.frameNotNull = frame != nullptr;
    g_log.contextFrameWindow = info.hwndFrame;
    g_log.contextAccelCount = info.cAccelEntries;
    a["Scroll"] = ips->Scroll(SIZE{1, 1});
    a["OnUIDeactivate"] = ips->OnUIDeactivate(FALSE);
    g_log.uiActiveAfterOnUIDeactivate = host->UIActive();
    a["DiscardUndoState"] = ips->DiscardUndoState();
    RECT r{5, 6, 105, 56};
    a["OnPosRectChange"] = ips->OnPosRectChange(&r);
    ips->Release();

    if (frame) {
      a["Frame GetWindow"] = frame->GetWindow(&g_log.frameWindow);
      a["Frame ContextSensitiveHelp"] = frame->ContextSensitiveHelp(TRUE);
      RECT border{};
      a["GetBorder"] = frame->GetBorder(&border);
      BORDERWIDTHS widths{};
      a["RequestBorderSpace"] = frame->RequestBorderSpace(&widths);
      a["SetBorderSpace"] = frame->SetBorderSpace(&widths);
      a["SetActiveObject"] = frame->SetActiveObject(nullptr, nullptr);
      HMENU shared = CreateMenu();
      OLEMENUGROUPWIDTHS groups{};
      a["InsertMenus"] = frame->InsertMenus(shared, &groups);
      g_log.sharedMenuItemsAfterInsert = GetMenuItemCount(shared);
      a["RemoveMenus"] = frame->RemoveMenus(shared);
      g_log.sharedMenuItemsAfterRemove = GetMenuItemCount(shared);
      DestroyMenu(shared);
      a["SetStatusText"] = frame->SetStatusText(L"x");
      a["Frame EnableModeless"] = frame->EnableModeless(TRUE);
      a["Frame TranslateAccelerator"] = frame->TranslateAccelerator(&msg, 0);
      frame->Release();
    }

    IDispatch* ambient = nullptr;
    cs->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&ambient));
    UINT count = 7;
    a["Ambient GetTypeInfoCount"] = ambient->GetTypeInfoCount(&count);
    a["Ambient count is 0"] = count == 0 ? S_OK : E_FAIL;
    ITypeInfo* ti = nullptr;
    a["Ambient GetTypeInfo"] = ambient->GetTypeInfo(0, 0, &ti);
    LPOLESTR name = const_cast<LPOLESTR>(L"x");
    DISPID id = 0;
    a["Ambient GetIDsOfNames"] = ambient->GetIDsOfNames(IID_NULL, &name, 1, 0, &id);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    for (DISPID d : {-709, -701, -702, -703, -704, -705, -706, -710, -711, -712, -715, -713, -5512, -999}) {
      VARIANT v;
      VariantInit(&v);
      a["Ambient " + std::to_string(d)] =
          ambient->Invoke(d, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &v, nullptr, nullptr);
      if (d == -709) g_log.userMode = v;
      else VariantClear(&v);
    }
    VARIANT v;
    VariantInit(&v);
    a["Ambient method call"] = ambient->Invoke(-709, IID_NULL, 0, DISPATCH_METHOD, &none, &v, nullptr, nullptr);
    a["Ambient get without result"] =
        ambient->Invoke(-709, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, nullptr, nullptr, nullptr);
    ambient->Release();

    IPropertyNotifySink* pns = nullptr;
    cs->QueryInterface(IID_IPropertyNotifySink, reinterpret_cast<void**>(&pns));
    a["OnChanged"] = pns->OnChanged(1);
    a["OnRequestEdit"] = pns->OnRequestEdit(1);
    pns->Release();
    ISimpleFrameSite* sfs = nullptr;
    cs->QueryInterface(IID_ISimpleFrameSite, reinterpret_cast<void**>(&sfs));
    LRESULT lr = 0;
    DWORD cookie = 0;
    a["PreMessageFilter"] = sfs->PreMessageFilter(nullptr, 0, 0, 0, &lr, &cookie);
    a["PostMessageFilter"] = sfs->PostMessageFilter(nullptr, 0, 0, 0, &lr, cookie);
    sfs->Release();
    a["DeactivateAndUndo"] = [&] {
      IOleInPlaceSite* s = nullptr;
      cs->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&s));
      HRESULT hr = s->DeactivateAndUndo();
      s->Release();
      return hr;
    }();
  }

  void Fire(DISPID id, LONG value) {
    VARIANT arg;
    VariantInit(&arg);
    arg.vt = VT_I4;
    arg.lVal = value;
    DISPPARAMS params{&arg, nullptr, 1, 0};
    Events().Fire(id, params);
  }

 protected:
  HRESULT LoadState(IStream* stream) override {
    char buf[64] = {};
    ULONG got = 0;
    stream->Read(buf, sizeof buf - 1, &got);
    g_log.loadedState.assign(buf, got);
    g_log.calls.push_back("Load");
    return S_OK;
  }
  HRESULT SaveState(IStream* stream) override {
    ULONG n = 0;
    return stream->Write("probe-state", 11, &n);
  }
  void ResetState() override { g_log.calls.push_back("InitNew"); }

  HWND CreateInPlaceWindow(HWND parent, const RECT& pos) override {
    static bool registered = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = ProbeWindowProc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = L"ProbeControlWindow";
      return RegisterClassW(&wc) != 0;
    }();
    (void)registered;
    return CreateWindowExW(0, L"ProbeControlWindow", L"", WS_CHILD | WS_VISIBLE, pos.left, pos.top,
                           pos.right - pos.left, pos.bottom - pos.top, parent, nullptr, GetModuleHandleW(nullptr),
                           nullptr);
  }
};

constexpr DISPID kProbeEvents[] = {10, 20, 30};

class ProbeHost : public THtmlOleControl {
 public:
  std::vector<std::pair<int, LONG>> fired;
  ProbeHost() {
    EventMethods().resize(3);
    for (int i = 0; i < 3; ++i)
      if (i != 2)
        EventMethods()[i] = [this, i](DISPPARAMS& p) { fired.emplace_back(i, p.cArgs ? p.rgvarg[0].lVal : -1); };
  }
  ~ProbeHost() override { DestroyControl(); }

 protected:
  TControlData& InitControlData() override {
    static TControlData data = [] {
      TControlData d;
      d.ClassID = CLSID_Probe;
      d.EventIID = DIID_ProbeEvents;
      d.EventCount = 3;
      d.EventDispIDs = kProbeEvents;
      d.Version = 401;
      return d;
    }();
    return data;
  }
};

struct ProbeEnvironment {
  ControlClassFactory<Probe> factory;
  DWORD cookie = 0;
  HWND form = nullptr;
  HMENU menu = nullptr;
  ProbeEnvironment() {
    OleInitialize(nullptr);
    CoRegisterClassObject(CLSID_Probe, &factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie);
    menu = CreateMenu();
    AppendMenuW(menu, MF_STRING, 1, L"\u6587\u4EF6");
    AppendMenuW(menu, MF_STRING, 2, L"\u7F16\u8F91");
    form = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 500, 400, nullptr, menu,
                           GetModuleHandleW(nullptr), nullptr);
    g_log.Clear();
  }
  ~ProbeEnvironment() {
    DestroyWindow(form);
    CoRevokeClassObject(cookie);
  }
};

gui::ControlSpec Bounds() {
  gui::ControlSpec bounds;
  bounds.left = 10;
  bounds.top = 20;
  bounds.width = 300;
  bounds.height = 200;
  return bounds;
}

TEST(OleControlHost, EverySiteAnswerIsTheProtocolsAnswer) {
  ProbeEnvironment env;
  {
    ProbeHost host;
    host.Create(env.form, Bounds());
    ASSERT_NE(g_probe, nullptr);
    g_probe->host = &host;
    g_probe->AskEverything();
    auto& a = g_log.answers;
    for (const char* ok : {"SaveObject", "ShowObject", "OnShowWindow", "OnControlInfoChanged", "LockInPlaceActive",
                           "GetExtendedControl", "TransformCoords to container", "TransformCoords to himetric",
                           "InPlaceSite GetWindow", "CanInPlaceActivate", "OnInPlaceActivate", "OnUIActivate",
                           "GetWindowContext", "OnUIDeactivate", "OnPosRectChange", "DeactivateAndUndo",
                           "Frame GetWindow", "SetActiveObject", "InsertMenus", "RemoveMenus", "SetStatusText",
                           "Frame EnableModeless", "Ambient GetTypeInfoCount", "Ambient count is 0", "OnChanged",
                           "OnRequestEdit", "PreMessageFilter", "PostMessageFilter", "Ambient -709", "Ambient -701",
                           "Ambient -702", "Ambient -703", "Ambient -704", "Ambient -705", "Ambient -706",
                           "Ambient -710", "Ambient -711", "Ambient -712", "Ambient -715"})
      EXPECT_EQ(a[ok], S_OK) << ok;
    for (const char* notImpl : {"GetMoniker", "GetContainer", "RequestNewObjectLayout",
                                "ControlSite TranslateAccelerator", "OnFocus", "ShowPropertyFrame",
                                "InPlaceSite ContextSensitiveHelp", "Scroll", "DiscardUndoState",
                                "Frame ContextSensitiveHelp", "SetBorderSpace", "Ambient GetTypeInfo",
                                "Ambient GetIDsOfNames"})
      EXPECT_EQ(a[notImpl], E_NOTIMPL) << notImpl;
    EXPECT_EQ(a["GetBorder"], INPLACE_E_NOTOOLSPACE);
    EXPECT_EQ(a["RequestBorderSpace"], INPLACE_E_NOTOOLSPACE);
    EXPECT_EQ(a["Frame TranslateAccelerator"], S_FALSE);
    for (const char* missing : {"Ambient -713", "Ambient -5512", "Ambient -999", "Ambient method call", "Ambient get without result"})
      EXPECT_EQ(a[missing], DISP_E_MEMBERNOTFOUND) << missing;
    EXPECT_TRUE(g_log.outParamsNulled);
    // What the answers carry.
    EXPECT_EQ(host.Mnemonics().cAccel, 3);  // read again after OnControlInfoChanged
    EXPECT_EQ(g_log.extended, host.AmbientDispatch());
    if (g_log.extended) g_log.extended->Release();
    HDC dc = GetDC(nullptr);
    const int ppi = GetDeviceCaps(dc, LOGPIXELSX);
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(g_log.toContainerX, static_cast<float>(ppi));  // one inch
    EXPECT_EQ(g_log.toHimetricX, MulDiv(96, 2540, ppi));
    EXPECT_EQ(g_log.siteWindow, host.Handle());
    EXPECT_EQ(g_log.frameWindow, env.form);
    EXPECT_EQ(g_log.contextFrameWindow, env.form);
    EXPECT_TRUE(g_log.frameNotNull);
    EXPECT_TRUE(g_log.contextDocNull);
    EXPECT_EQ(g_log.contextAccelCount, 0u);
    EXPECT_EQ(g_log.contextPos.right, 300);
    EXPECT_EQ(g_log.contextPos.bottom, 200);
    EXPECT_EQ(g_log.contextClip.right, 32767);
    EXPECT_EQ(g_log.contextClip.bottom, 32767);
    EXPECT_TRUE(g_log.wasUiActiveAfterOnUIActivate);
    EXPECT_FALSE(g_log.uiActiveAfterOnUIDeactivate);
    EXPECT_EQ(g_log.lastRects.left, 5);  // OnPosRectChange sets the rectangles, clipped to 32767
    EXPECT_EQ(g_log.lastRects.bottom, 56);
    EXPECT_EQ(g_log.lastClip.right, 32767);
    EXPECT_EQ(g_log.userMode.vt, VT_BOOL);
    EXPECT_EQ(g_log.userMode.boolVal, VARIANT_TRUE);
    EXPECT_EQ(g_log.sharedMenuItemsAfterInsert, 2);  // the form's two menus merged in
    EXPECT_EQ(g_log.sharedMenuItemsAfterRemove, 0);
    EXPECT_EQ(GetMenuItemCount(env.menu), 2);        // the form keeps its own
    EXPECT_NE(std::find(g_log.calls.begin(), g_log.calls.end(), "UIDeactivate"), g_log.calls.end());
    EXPECT_EQ(host.ControlData().InstanceCount, 1u);
  }
  // Destruction closes the control without saving.
  EXPECT_NE(std::find(g_log.calls.begin(), g_log.calls.end(), "Close(NOSAVE)"), g_log.calls.end());
  EXPECT_EQ(g_probe, nullptr);
}

TEST(OleControlHost, SetupUsesInitNewOrTheStoredControlData) {
  ProbeEnvironment env;
  {
    ProbeHost host;
    host.Create(env.form, Bounds());
    EXPECT_EQ(g_log.calls.front(), "InitNew");
    std::vector<uint8_t> saved;
    ASSERT_TRUE(host.SaveControlData(saved));
    EXPECT_EQ(std::string(saved.begin(), saved.end()), "probe-state");
  }
  g_log.Clear();
  ProbeHost host;
  const std::string state = "stored-bytes";
  host.StoredControlData.assign(state.begin(), state.end());
  host.Create(env.form, Bounds());
  EXPECT_EQ(g_log.calls.front(), "Load");
  EXPECT_EQ(g_log.loadedState, state);
}

TEST(OleControlHost, EventsReachTheMethodOfTheirDispidsIndex) {
  ProbeEnvironment env;
  ProbeHost host;
  host.Create(env.form, Bounds());
  ASSERT_TRUE(g_probe->Events().HasSinks());
  ASSERT_TRUE(g_probe->PropertyNotify().HasSinks());
  g_probe->Fire(20, 7);
  g_probe->Fire(10, 5);
  g_probe->Fire(30, 9);  // index 2 has no method
  g_probe->Fire(99, 1);  // not an event of the record
  ASSERT_EQ(host.fired.size(), 2u);
  EXPECT_EQ(host.fired[0], std::make_pair(1, 7L));
  EXPECT_EQ(host.fired[1], std::make_pair(0, 5L));
}

TEST(OleControlHost, TheControlWindowIsParkedAndRestored) {
  ProbeEnvironment env;
  ProbeHost host;
  host.Create(env.form, Bounds());
  HWND control = host.ControlWindow();
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(GetParent(control), host.Handle());
  host.DestroyHandle();
  EXPECT_TRUE(IsWindow(control));
  EXPECT_EQ(GetParent(control), host.ParkingWindow());
  EXPECT_FALSE(IsWindowVisible(host.ParkingWindow()));
  host.CreateHandle();
  EXPECT_EQ(host.ControlWindow(), control);  // the same window, back under the new host window
  EXPECT_EQ(GetParent(control), host.Handle());
  host.RecreateWnd();
  EXPECT_EQ(GetParent(control), host.Handle());
  EXPECT_TRUE(IsWindow(control));
}

TEST(OleControlHost, NotificationsAreReflectedIntoTheOleRangeAndKeysOffered) {
  ProbeEnvironment env;
  ProbeHost host;
  host.Create(env.form, Bounds());
  HWND control = host.ControlWindow();
  g_log.windowMessages.clear();
  SendMessageW(host.Handle(), CN_BASE + WM_COMMAND, 0, 0);
  SendMessageW(host.Handle(), WM_COMMAND, MAKEWPARAM(1, 0), reinterpret_cast<LPARAM>(control));
  SendMessageW(control, CN_BASE + WM_NOTIFY, 0, 0);
  MSG key{control, WM_KEYDOWN, VK_F5, 0};
  EXPECT_FALSE(OfferKeyToOleControl(key));  // the probe does not take it
  MSG other{env.form, WM_KEYDOWN, VK_F5, 0};
  EXPECT_FALSE(OfferKeyToOleControl(other));
  auto count = [&](UINT m) { return std::count(g_log.windowMessages.begin(), g_log.windowMessages.end(), m); };
  EXPECT_EQ(count(OCM_BASE + WM_COMMAND), 2);
  EXPECT_EQ(count(OCM_BASE + WM_NOTIFY), 1);
  EXPECT_EQ(count(OCM_BASE + WM_KEYDOWN), 1);
  EXPECT_EQ(count(CN_BASE + WM_COMMAND), 0);
  // Erasing the host's background is answered without painting.
  EXPECT_EQ(SendMessageW(host.Handle(), WM_ERASEBKGND, 0, 0), 1);
}

// A control that answers DoVerb but never makes a window.
class WindowlessProbe : public Probe {
 public:
  STDMETHODIMP DoVerb(LONG, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) override { return S_OK; }
};

TEST(OleControlHost, AControlWithoutAWindowAfterActivationRaises) {
  ProbeEnvironment env;
  CoRevokeClassObject(env.cookie);
  ControlClassFactory<WindowlessProbe> factory;
  CoRegisterClassObject(CLSID_Probe, &factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &env.cookie);
  {
    ProbeHost host;
    EXPECT_THROW(host.Create(env.form, Bounds()), EOleError);
    EXPECT_EQ(host.ControlWindow(), nullptr);
  }
  EXPECT_EQ(g_probe, nullptr);  // released with the host
}

TEST(OleControlHost, AClassThatCannotBeCreatedRaisesTheSystemsMessage) {
  ProbeEnvironment env;
  CoRevokeClassObject(env.cookie);
  env.cookie = 0;
  ProbeHost host;
  try {
    host.Create(env.form, Bounds());
    FAIL() << "no error raised";
  } catch (const EOleError& e) {
    EXPECT_EQ(e.Code(), REGDB_E_CLASSNOTREG);
    EXPECT_FALSE(std::string(e.what()).empty());
  }
}

}  // namespace
}  // namespace htmledit
