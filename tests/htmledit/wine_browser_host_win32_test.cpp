// The host with the system's own WebBrowser control (Wine's): created, active in place,
// its event sink connected; BeforeNavigate2 arrives as DISPID 250 and its Cancel holds.
#include <windows.h>
#include <exdisp.h>
#include <exdispid.h>

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "htmledit/ole_control_host_win32.h"
#include "htmledit/win32_test_support.h"

namespace htmledit {
namespace {

constexpr std::array<DISPID, 35> kBrowserEvents{102, 108, 105, 106, 104, 113, 112, 250, 251, 252, 259, 253,
                                                254, 255, 256, 257, 258, 260, 262, 264, 265, 266, 267, 263,
                                                268, 269, 270, 271, 225, 226, 227, 272, 273, 282, 283};

TControlData& BrowserData() {
  static TControlData data = [] {
    TControlData d;
    d.ClassID = CLSID_WebBrowser;
    d.EventIID = DIID_DWebBrowserEvents2;
    d.EventCount = static_cast<uint32_t>(kBrowserEvents.size());
    d.EventDispIDs = kBrowserEvents.data();
    d.Version = 401;
    return d;
  }();
  return data;
}

class WebBrowserHost : public testing::RecordingHost {
 public:
  std::wstring navigatedTo;
  bool cancel = true;
  WebBrowserHost() : RecordingHost(BrowserData()) {
    onEvent = [this](DISPID id, DISPPARAMS& p) {
      if (id != DISPID_BEFORENAVIGATE2 || p.cArgs != 7) return;
      VARIANT* url = p.rgvarg[5].vt == (VT_VARIANT | VT_BYREF) ? p.rgvarg[5].pvarVal : nullptr;
      if (url && url->vt == VT_BSTR) navigatedTo = url->bstrVal;
      if (cancel && p.rgvarg[0].vt == (VT_BOOL | VT_BYREF)) *p.rgvarg[0].pboolVal = VARIANT_TRUE;
    };
  }
};

using testing::Pump;

struct Navigation {
  std::vector<DISPID> seen;
  std::wstring url, location;
};

// Hosts Wine's browser, navigates to about:blank and reports what came back.
Navigation NavigateAboutBlank(bool cancel) {
  Navigation result;
  HWND form = CreateWindowExW(0, L"STATIC", L"browser", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 500, 400, nullptr,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
  {
    WebBrowserHost host;
    host.cancel = cancel;
    gui::ControlSpec bounds;
    bounds.width = 400;
    bounds.height = 300;
    host.Create(form, bounds);
    EXPECT_NE(host.ControlWindow(), nullptr);  // active in place
    EXPECT_TRUE(IsChild(host.Handle(), host.ControlWindow()));
    IWebBrowser2* browser = nullptr;
    EXPECT_EQ(host.OleObject()->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser)), S_OK);
    if (browser) {
      VARIANT empty;
      VariantInit(&empty);
      BSTR url = SysAllocString(L"about:blank");
      browser->Navigate(url, &empty, &empty, &empty, &empty);
      SysFreeString(url);
      Pump(600);
      BSTR location = nullptr;
      if (SUCCEEDED(browser->get_LocationURL(&location)) && location) result.location = location;
      SysFreeString(location);
      browser->Release();
    }
    result.seen = host.seen;
    result.url = host.navigatedTo;
  }
  DestroyWindow(form);
  return result;
}

bool Saw(const Navigation& n, DISPID id) { return std::find(n.seen.begin(), n.seen.end(), id) != n.seen.end(); }

TEST(WineWebBrowserHost, BeforeNavigate2ArrivesAsDispid250AndCancelHolds) {
  OleInitialize(nullptr);
  Navigation allowed = NavigateAboutBlank(false);
  ASSERT_FALSE(allowed.seen.empty()) << "the event sink is not connected";
  EXPECT_EQ(allowed.seen.front(), DISPID_BEFORENAVIGATE2);
  EXPECT_EQ(allowed.url, L"about:blank");
  EXPECT_TRUE(Saw(allowed, DISPID_DOWNLOADBEGIN));  // the navigation went on
  EXPECT_EQ(allowed.location, L"about:blank");

  Navigation cancelled = NavigateAboutBlank(true);
  ASSERT_EQ(cancelled.seen.size(), 1u);
  EXPECT_EQ(cancelled.seen.front(), DISPID_BEFORENAVIGATE2);
  EXPECT_FALSE(Saw(cancelled, DISPID_DOWNLOADBEGIN));
  EXPECT_NE(cancelled.location, L"about:blank");
}

}  // namespace
}  // namespace htmledit
