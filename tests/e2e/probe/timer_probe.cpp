// A message hook library for the end-to-end tests and measurements: hooked into the program's
// GUI thread, it counts the timer messages each window takes from the queue (per window and
// timer id) and sends the counts back to the test as text, one timer per line:
// "<window>\t<timer id>\t<count>" (window as a number). A request with lParam 1 also starts
// counting again from zero.
#include <windows.h>

#include <map>
#include <string>
#include <utility>

namespace {

const UINT kCountsMessage = RegisterWindowMessageW(L"Quillora.E2E.TimerCounts");
std::map<std::pair<HWND, WPARAM>, long> g_counts;

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK TimerProbeHook(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION && wp == PM_REMOVE) {
    auto* msg = reinterpret_cast<MSG*>(lp);
    if (msg->message == WM_TIMER) {
      ++g_counts[{msg->hwnd, msg->wParam}];
    } else if (msg->message == kCountsMessage) {
      std::wstring text;
      for (const auto& [key, count] : g_counts) {
        text += std::to_wstring(reinterpret_cast<UINT_PTR>(key.first)) + L"\t" + std::to_wstring(key.second) + L"\t" +
                std::to_wstring(count) + L"\n";
      }
      if (msg->lParam == 1) g_counts.clear();
      COPYDATASTRUCT data{0x54494D52, static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)),
                          const_cast<wchar_t*>(text.c_str())};
      SendMessageW(reinterpret_cast<HWND>(msg->wParam), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
      msg->message = WM_NULL;
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}
