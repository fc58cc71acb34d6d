#include "app/reorder/list_drag_win32.h"

#include <commctrl.h>
#include <windowsx.h>

#include "gui/guard.h"

namespace app {

ListDragTracker::ListDragTracker(unicode::TUniWinControl& list, Handlers handlers)
    : list_(list), handlers_(std::move(handlers)) {
  list_.OnMessage = [this](UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    return gui::Guarded("ListDragTracker", false, [&] { return Handle(msg, wp, lp, result); });
  };
}

ListDragTracker::~ListDragTracker() { list_.OnMessage = nullptr; }

void ListDragTracker::ShowCursorFor(int x, int y) {
  const bool accepted = handlers_.dragOver && handlers_.dragOver(x, y);
  SetCursor(LoadCursorW(nullptr, accepted ? IDC_ARROW : IDC_NO));
}

void ListDragTracker::EndDrag() {
  gesture_.Cancel();
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

bool ListDragTracker::Handle(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
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
        if (wp & MK_LBUTTON) return true;
        ignoreUntilButtonUp_ = false;
        break;
      }
      if (gesture_.Dragging()) {
        ShowCursorFor(x, y);
        return true;  // the list must not move its selection with the mouse
      }
      if (gesture_.Move(x, y, (wp & MK_LBUTTON) != 0, GetSystemMetrics(SM_CXDRAG), GetSystemMetrics(SM_CYDRAG))) {
        if (handlers_.startDrag) handlers_.startDrag(gesture_.DragRow());
        ShowCursorFor(x, y);
        return true;
      }
      break;
    case WM_LBUTTONUP:
      ignoreUntilButtonUp_ = false;
      if (gesture_.Dragging()) {
        gesture_.Release();
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        // The list ends its own tracking of the button first (it releases the capture).
        result = list_.Perform(msg, wp, lp);
        if (handlers_.dragDrop) handlers_.dragDrop(x, y);
        return true;
      }
      break;
    case WM_KEYDOWN:
      if (wp == VK_ESCAPE && gesture_.Dragging()) {
        EndDrag();
        swallowEscapeChar_ = true;
        ignoreUntilButtonUp_ = (GetKeyState(VK_LBUTTON) & 0x8000) != 0;
        return true;
      }
      break;
    case WM_CHAR:
      if (wp == VK_ESCAPE && swallowEscapeChar_) {
        swallowEscapeChar_ = false;
        return true;
      }
      break;
    case WM_CAPTURECHANGED:
      if (gesture_.Dragging()) EndDrag();
      break;
    default:
      break;
  }
  return false;
}

}  // namespace app
