#include "gui/subclass.h"

#include <list>
#include <memory>
#include <unordered_map>
#include <vector>

namespace gui {

namespace {

struct Layer {
  SubclassProcedure procedure;
  UINT_PTR id;
  DWORD_PTR data;
  bool removed = false;  // taken away while a message ran through the window: erased afterwards
};

struct Chain {
  WNDPROC original = nullptr;
  std::list<Layer> layers;  // the bottom first; stable while layers come and go
  // For each message running through the window (nested sends too), the layer now serving it;
  // layers.end() while the message has not reached the top layer yet.
  std::vector<std::list<Layer>::iterator> running;
  bool destroyed = false;  // WM_NCDESTROY went through while another message ran
};

std::unordered_map<HWND, std::unique_ptr<Chain>>& Chains() {
  static std::unordered_map<HWND, std::unique_ptr<Chain>> chains;
  return chains;
}

Chain* Find(HWND window) {
  const auto found = Chains().find(window);
  return found == Chains().end() ? nullptr : found->second.get();
}

LRESULT CALLBACK Entry(HWND window, UINT msg, WPARAM wp, LPARAM lp);

// The window forgets the table: its own procedure back if ours is still the one it calls.
void Forget(HWND window, Chain& chain) {
  if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)) == &Entry) {
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(chain.original));
  }
  Chains().erase(window);
}

// Once no message runs through the window: erases removed layers, and with none left gives the
// window its procedure back (when another procedure lies over ours, ours stays and passes on).
void Tidy(HWND window, Chain& chain) {
  if (!chain.running.empty()) return;
  if (chain.destroyed) {
    Forget(window, chain);
    return;
  }
  chain.layers.remove_if([](const Layer& layer) { return layer.removed; });
  if (chain.layers.empty() && reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)) == &Entry) {
    Forget(window, chain);
  }
}

// Calls the first layer below the one the innermost running message is at.
LRESULT CallBelow(HWND window, Chain& chain, UINT msg, WPARAM wp, LPARAM lp) {
  const auto served = chain.running.back();
  for (auto next = served; next != chain.layers.begin();) {
    if ((--next)->removed) continue;
    chain.running.back() = next;
    const Layer layer = *next;
    const LRESULT result = layer.procedure(window, msg, wp, lp, layer.id, layer.data);
    // The chain is still there: it is only erased once no message runs through the window.
    chain.running.back() = served;
    return result;
  }
  return CallWindowProcW(chain.original, window, msg, wp, lp);
}

LRESULT CALLBACK Entry(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  Chain* chain = Find(window);
  if (chain == nullptr) return DefWindowProcW(window, msg, wp, lp);
  chain->running.push_back(chain->layers.end());
  const LRESULT result = CallBelow(window, *chain, msg, wp, lp);
  chain->running.pop_back();
  if (msg == WM_NCDESTROY) chain->destroyed = true;
  Tidy(window, *chain);
  return result;
}

}  // namespace

bool InstallSubclass(HWND window, SubclassProcedure procedure, UINT_PTR id, DWORD_PTR data) {
  if (!IsWindow(window) || procedure == nullptr) return false;
  Chain* chain = Find(window);
  if (chain == nullptr) {
    auto made = std::make_unique<Chain>();
    SetLastError(ERROR_SUCCESS);
    made->original =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Entry)));
    if (made->original == nullptr && GetLastError() != ERROR_SUCCESS) return false;
    chain = made.get();
    Chains()[window] = std::move(made);
  }
  for (Layer& layer : chain->layers) {
    if (!layer.removed && layer.procedure == procedure && layer.id == id) {
      layer.data = data;
      return true;
    }
  }
  chain->layers.push_back(Layer{procedure, id, data});
  return true;
}

bool RemoveSubclass(HWND window, SubclassProcedure procedure, UINT_PTR id) {
  Chain* chain = Find(window);
  if (chain == nullptr) return false;
  for (Layer& layer : chain->layers) {
    if (!layer.removed && layer.procedure == procedure && layer.id == id) {
      layer.removed = true;
      Tidy(window, *chain);
      return true;
    }
  }
  return false;
}

LRESULT CallNextSubclass(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  Chain* chain = Find(window);
  if (chain == nullptr) return DefWindowProcW(window, msg, wp, lp);
  if (chain->running.empty()) return CallWindowProcW(chain->original, window, msg, wp, lp);
  return CallBelow(window, *chain, msg, wp, lp);
}

}  // namespace gui
