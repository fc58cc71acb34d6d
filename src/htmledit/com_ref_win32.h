// Small helpers for COM references held by the editor's classes.
#pragma once

#include <unknwn.h>

#include <memory>

namespace htmledit {

// Releases p, when set, after clearing it (a release may call back here).
template <class T>
void ReleaseAndClear(T*& p) {
  if (p) {
    T* q = p;
    p = nullptr;
    q->Release();
  }
}

// A counted reference held for as long as the returned pointer lives (a wait's object).
inline std::shared_ptr<void> HoldReference(IUnknown* p) {
  if (!p) return nullptr;
  p->AddRef();
  return std::shared_ptr<void>(p, [](void* q) { static_cast<IUnknown*>(q)->Release(); });
}

}  // namespace htmledit
