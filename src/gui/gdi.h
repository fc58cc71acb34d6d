// Owning wrappers for GDI and USER handles, so that no early return leaks one.
#pragma once

#include <windows.h>

#include <string_view>
#include <utility>

namespace gui {

template <class H, BOOL(WINAPI* Free)(H)>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(H h) : h_(h) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) { reset(); h_ = std::exchange(o.h_, nullptr); }
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  H get() const { return h_; }
  H release() { return std::exchange(h_, nullptr); }
  void reset(H h = nullptr) {
    if (h_) Free(h_);
    h_ = h;
  }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  H h_ = nullptr;
};

inline BOOL WINAPI DeleteFontObject(HFONT f) { return DeleteObject(f); }
inline BOOL WINAPI DeleteBrushObject(HBRUSH b) { return DeleteObject(b); }
inline BOOL WINAPI DeletePenObject(HPEN p) { return DeleteObject(p); }
using UniqueFont = UniqueHandle<HFONT, DeleteFontObject>;
using UniqueBrush = UniqueHandle<HBRUSH, DeleteBrushObject>;
using UniquePen = UniqueHandle<HPEN, DeletePenObject>;
using UniqueMenu = UniqueHandle<HMENU, DestroyMenu>;
using UniqueIcon = UniqueHandle<HICON, DestroyIcon>;

// Selects an object into a DC for the lifetime of the scope.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
  ~SelectedObject() { SelectObject(dc_, old_); }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// BeginPaint/EndPaint.
class PaintScope {
 public:
  explicit PaintScope(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
  ~PaintScope() { EndPaint(hwnd_, &ps_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC dc() const { return dc_; }
  const RECT& area() const { return ps_.rcPaint; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// A font by face name, height in pixels (negative: character height), weight and character set.
UniqueFont MakeFont(std::u16string_view face, int height, int weight = FW_NORMAL, BYTE charset = GB2312_CHARSET,
                    bool italic = false, bool underline = false);

// The hourglass cursor for the lifetime of the scope (long operations over all entries).
// Scopes nest; forms keep showing the hourglass (WM_SETCURSOR) while any scope is open.
class WaitCursor {
 public:
  WaitCursor();
  ~WaitCursor();
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR old_;
};
bool WaitCursorActive();

}  // namespace gui
