// The in-place view: a RichEdit 5.0 control that only shows the body text, wraps it and
// holds caret and selection. It is filled by one RTF stream-in; every change is made in
// the document and mirrored here, never the other way.
#pragma once

#include <windows.h>

#include <string>

#include "htmledit/body_text.h"

namespace htmledit {

class DocumentView {
 public:
  DocumentView() = default;
  ~DocumentView();
  DocumentView(const DocumentView&) = delete;
  DocumentView& operator=(const DocumentView&) = delete;

  // Creates the RichEdit child (msftedit.dll); false when the class is not available.
  bool Create(HWND parent, const RECT& bounds, int id = 0);
  HWND Handle() const { return hwnd_; }

  // Replaces the view's content by the layout's text and formats, keeping the selection.
  bool Mirror(const BodyText& layout);
  // The view's text as the control holds it (paragraph marks as "\r").
  std::u16string Text() const;
  void GetSelection(int& start, int& end) const;
  void SetSelection(int start, int end);
  // The view's width in twips (what table cells without widths share).
  int WidthTwips() const;

 private:
  HWND hwnd_ = nullptr;
};

}  // namespace htmledit
