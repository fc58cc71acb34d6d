#include "widgets/blink_list_win32.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "gui/guard.h"

namespace widgets {

namespace {
constexpr UINT_PTR kTimerId = 1;

struct List {
  HWND window = nullptr;
  std::vector<HWND> labels;
  bool running = false;

  List();
  ~List() {
    if (window) DestroyWindow(window);
  }
  bool AnyBlinking() const {
    return std::any_of(labels.begin(), labels.end(),
                       [](HWND h) { return SendMessageW(h, kBlinkQueryMessage, 0, 0) == 1; });
  }
  void Tick();
};

BlinkClock& SharedClock() {
  static BlinkClock clock;  // the intervals outlive the list, as properties of every label
  return clock;
}

std::unique_ptr<List>& Instance() {
  static std::unique_ptr<List> list;
  return list;
}

LRESULT CALLBACK ListProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER && wp == kTimerId) {
    gui::Guarded("blink timer", [] {
      if (Instance()) Instance()->Tick();
    });
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

List::List() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = ListProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TFxBlinkList";
    RegisterClassExW(&wc);
    registered = true;
  }
  window = CreateWindowExW(0, L"TFxBlinkList", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                           nullptr);
}

void List::Tick() {
  const unsigned interval = SharedClock().Tick();
  SetTimer(window, kTimerId, interval, nullptr);
  const WPARAM phase = SharedClock().On() ? 1 : 0;
  bool any = false;
  for (HWND label : std::vector<HWND>(labels)) {
    if (SendMessageW(label, kBlinkQueryMessage, 0, 0) != 1) continue;
    any = true;
    SendMessageW(label, kBlinkPhaseMessage, phase, 0);
  }
  if (!any) {
    KillTimer(window, kTimerId);
    running = false;
  }
}
}  // namespace

void BlinkList::Add(HWND label) {
  if (!Instance()) Instance() = std::make_unique<List>();
  Instance()->labels.push_back(label);
}

void BlinkList::Remove(HWND label) {
  if (!Instance()) return;
  std::erase(Instance()->labels, label);
  if (Instance()->labels.empty()) Instance().reset();
}

void BlinkList::Update() {
  List* list = Instance().get();
  if (!list) return;
  const bool any = list->AnyBlinking();
  if (any && !list->running) {
    SetTimer(list->window, kTimerId, SharedClock().CurrentInterval(), nullptr);
    list->running = true;
  } else if (!any && list->running) {
    KillTimer(list->window, kTimerId);
    list->running = false;
  }
}

BlinkClock& BlinkList::Clock() { return SharedClock(); }
bool BlinkList::Exists() { return Instance() != nullptr; }
bool BlinkList::TimerRunning() { return Instance() && Instance()->running; }

}  // namespace widgets
