#include "app/reorder/list_drag_win32.h"

#include <commctrl.h>
#include <windowsx.h>

#include "gui/guard.h"

namespace app {

namespace {
constexpr UINT_PTR kSubclassId = 0x4452;  // "DR"
}

ListDragTracker::ListDragTracker(HWND list, Handlers handlers) : list_(list), handlers_(std::move(handlers)) {
  SetWindowSubclass(list_, &ListDragTracker::Proc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

ListDragTracker::~ListDragTracker() {
  if (IsWindow(list_)) RemoveWindowSubclass(list_, &ListDragTracker::Proc, kSubclassId);
}

LRESULT CALLBACK ListDragTracker::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
  if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, &ListDragTracker::Proc, kSubclassId);
    return DefSubclassProc(hwnd, msg, wp, lp);
  }
  auto* tracker = reinterpret_cast<ListDragTracker*>(self);
  LRESULT result = 0;
  const bool handled = gui::Guarded("ListDragTracker", false, [&] {
    result = tracker->Handle(msg, wp, lp);
    return true;
  });
  return handled ? result : DefSubclassProc(hwnd, msg, wp, lp);
}

void ListDragTracker::ShowCursorFor(int x, int y) {
  const bool accepted = handlers_.dragOver && handlers_.dragOver(x, y);
  SetCursor(LoadCursorW(nullptr, accepted ? IDC_ARROW : IDC_NO));
}

void ListDragTracker::EndDrag() {
  gesture_.Cancel();
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

LRESULT ListDragTracker::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  const int x = GET_X_LPARAM(lp);
  const int y = GET_Y_LPARAM(lp);
  switch (msg) {
    case WM_LBUTTONDOWN: {
      bool onText = false;
      const int row = handlers_.rowAt ? handlers_.rowAt(x, y, onText) : -1;
      gesture_.Press(row, onText, x, y);
      ignoreUntilButtonUp_ = false;
      break;
    }
    case WM_LBUTTONDBLCLK:
      gesture_.Press(-1, false, x, y);  // a double click never drags
      break;
    case WM_MOUSEMOVE:
      if (ignoreUntilButtonUp_) {
        if (wp & MK_LBUTTON) return 0;
        ignoreUntilButtonUp_ = false;
        break;
      }
      if (gesture_.Dragging()) {
        ShowCursorFor(x, y);
        return 0;  // the list must not move its selection with the mouse
      }
      if (gesture_.Move(x, y, (wp & MK_LBUTTON) != 0, GetSystemMetrics(SM_CXDRAG), GetSystemMetrics(SM_CYDRAG))) {
        if (handlers_.startDrag) handlers_.startDrag(gesture_.DragRow());
        ShowCursorFor(x, y);
        return 0;
      }
      break;
    case WM_LBUTTONUP:
      ignoreUntilButtonUp_ = false;
      if (gesture_.Dragging()) {
        gesture_.Release();
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        // The list ends its own tracking of the button first (it releases the capture).
        const LRESULT r = DefSubclassProc(list_, msg, wp, lp);
        if (handlers_.dragDrop) handlers_.dragDrop(x, y);
        return r;
      }
      break;
    case WM_KEYDOWN:
      if (wp == VK_ESCAPE && gesture_.Dragging()) {
        EndDrag();
        swallowEscapeChar_ = true;
        ignoreUntilButtonUp_ = (GetKeyState(VK_LBUTTON) & 0x8000) != 0;
        return 0;
      }
      break;
    case WM_CHAR:
      if (wp == VK_ESCAPE && swallowEscapeChar_) {
        swallowEscapeChar_ = false;
        return 0;
      }
      break;
    case WM_CAPTURECHANGED:
      if (gesture_.Dragging()) EndDrag();
      break;
    default:
      break;
  }
  return DefSubclassProc(list_, msg, wp, lp);
}

}  // namespace app
