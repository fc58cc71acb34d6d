// The in-place view: a RichEdit 5.0 control that only shows the body text, wraps it and
// holds caret and selection. Every change is made in the document and mirrored here, never
// the other way: an edit streams in the paragraphs that changed; a new document, or a change
// too large to delete piece by piece, gets a fresh control (this RichEdit deletes long
// stretches of text in time that grows with the square of their length).
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "htmledit/body_text.h"
#include "htmledit/rtf_view.h"

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
  // The window was destroyed with its parent: the view no longer has one.
  void Forget(HWND window) {
    if (window == hwnd_) hwnd_ = nullptr;
  }
  // Run for every control made (the first and each fresh one), before it is filled.
  std::function<void(HWND)> OnCreated;
  // Run before a control is destroyed to make way for a fresh one.
  std::function<void(HWND)> OnDestroying;
  // The RTF group of an IMG's picture; the placeholder shows where it gives none.
  PictureRtfLookup Pictures;

  // Replaces the view's content by the layout's text and formats, keeping the selection.
  bool Mirror(const BodyText& layout);
  // Shows `after` where the view shows `before`: only the paragraphs that differ change.
  bool Update(const BodyText& before, const BodyText& after);
  // The view's text as the control holds it (paragraph marks as "\r").
  std::u16string Text() const;
  void GetSelection(int& start, int& end) const;
  void SetSelection(int start, int end);
  // The view's width in twips (what table cells without widths share).
  int WidthTwips() const;
  // Whether the view has a vertical scroll bar when its text is taller than the window.
  void SetVerticalScrollBar(bool show);
  // True while the view puts its own content in (the only text and formats it takes).
  bool Streaming() const { return streaming_; }

 private:
  bool StreamRtf(const std::string& rtf, bool selection);
  // Pictures for one stream, at most so many bytes of them (the rest keep their placeholders).
  PictureRtfLookup StreamPictures() const;
  bool Recreate();
  // Lines wrap at the window's width unless the text holds paragraphs so long that this
  // RichEdit would take seconds to wrap them (its wrapping time grows with the square of a
  // paragraph's length): then each paragraph is one line.
  void ChooseWrapping(const BodyText& layout);
  // Shows the vertical scroll bar before a stream that will certainly need it.
  void ShowScrollBarAhead(const BodyText& layout);
  // Gives paragraph i of the view the layout's paragraph format (a stream into a selection
  // leaves the paragraph after it with the stream's last paragraph format).
  void ApplyParagraphFormat(const BodyText& layout, size_t i);

  HWND hwnd_ = nullptr;
  HWND parent_ = nullptr;
  int id_ = 0;
  bool filled_ = false;  // the control shows the last layout mirrored
  bool streaming_ = false;
  bool wrapping_ = true;
  bool scrollBar_ = true;
};

}  // namespace htmledit
