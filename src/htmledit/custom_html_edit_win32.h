// TCustomHtmlEdit: the abstract HTML editor control on the ActiveX host. It owns the
// editor's properties and events, the attributes of new tables, the tag substitutions,
// the change notification and the virtual editing operations that the concrete editor
// implements; on top of those it implements what every concrete editor shares (source
// generation, the selection source, the display update, redraw and focus).
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "htmledit/editor_attributes.h"
#include "htmledit/engine_interfaces_win32.h"
#include "htmledit/ole_control_host_win32.h"
#include "htmledit/pending_operation.h"
#include "htmledit/source_generator.h"
#include "htmledit/table_editing.h"

namespace htmledit {

class TCustomHtmlEdit;

enum TShiftStateBits : uint8_t { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64 };
using TShiftState = uint8_t;
enum class TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };
enum class TDragState : uint8_t { dsDragEnter, dsDragLeave, dsDragMove };

using TNotifyEvent = std::function<void(TCustomHtmlEdit& sender)>;
using TKeyEvent = std::function<void(TCustomHtmlEdit& sender, WORD& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TCustomHtmlEdit& sender, wchar_t& key)>;
using TMouseEvent = std::function<void(TCustomHtmlEdit& sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TCustomHtmlEdit& sender, TShiftState shift, int x, int y)>;
using TContextPopupEvent = std::function<void(TCustomHtmlEdit& sender, POINT mousePos, bool& handled)>;
using TDragDropEvent = std::function<void(TCustomHtmlEdit& sender, void* source, int x, int y)>;
using TDragOverEvent =
    std::function<void(TCustomHtmlEdit& sender, void* source, int x, int y, TDragState state, bool& accept)>;

// The change sink: fires the editor's OnChange for each change of the document, never
// from inside its own OnChange.
class THtmlEditChangeSink : public IEngineChangeSink {
 public:
  explicit THtmlEditChangeSink(TCustomHtmlEdit& editor) : editor_(editor) {}
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
  STDMETHODIMP_(ULONG) Release() override;
  HRESULT STDMETHODCALLTYPE Notify() override;

 private:
  ULONG refs_ = 1;
  TCustomHtmlEdit& editor_;  // not counted: the editor outlives its change log
  bool notifying_ = false;
};

class TCustomHtmlEdit : public THtmlOleControl, protected WaitHost {
 public:
  TCustomHtmlEdit();
  ~TCustomHtmlEdit() override;

  // ---- published properties
  std::u16string About() { return GetAbout(); }
  void SetAbout(const std::u16string&) {}  // read-only text
  THtmlEditTableAttrs& TableAttrs() { return *tableAttrs_; }
  void SetTableAttrs(const THtmlEditTableAttrs&) {}  // the owned object stays
  THtmlEditTableCellAttrs& TableCellAttrs() { return *tableCellAttrs_; }
  void SetTableCellAttrs(const THtmlEditTableCellAttrs&) {}
  THtmlEditTagsSubstitution& TagsSubstitution() { return *tagsSubstitution_; }
  void SetTagsSubstitution(const THtmlEditTagsSubstitution&) {}
  double Timeout() { return pending_.Timeout().Get(); }
  void SetTimeout(double seconds) { pending_.Timeout().Set(seconds); }
  bool UseBrOnCarriageReturn = false;
  THtmlEditSourceCodeOptions SourceCodeOptions = THtmlEditSourceCodeOptions::All();
  std::u16string DOCTYPE;
  bool WantTabs = false;

  // ---- published events (the first thirteen are the framework's usual ones)
  TContextPopupEvent OnContextPopup;
  TNotifyEvent OnClick, OnDblClick;
  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;
  TKeyEvent OnKeyUp;
  TMouseEvent OnMouseDown, OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnEnter, OnExit;
  TDragDropEvent OnDragDrop;
  TDragOverEvent OnDragOver;
  TNotifyEvent OnMouseEnter, OnMouseLeave, OnDisplayChanged, OnCreate, OnNewDocument, OnSetBaseURL, OnSetBrowseMode,
      OnSetSource, OnLoadURL, OnLoadURLError, OnOpenDialog, OnLoadFromFile, OnStop, OnTimeout, OnOpenDialogCancel,
      OnChange;

  // The pending-operation state (1 while the first document is made, 0 when idle).
  uint8_t State() const { return pending_.State(); }

  // ---- the virtual operations, in slot order
  virtual void CheckDocumentReady() = 0;
  virtual void SetModified(bool value) = 0;
  virtual bool GetSourceCodePreservation() = 0;
  virtual bool ResetDesignMode() = 0;
  // Records the state, runs proc, then waits (holding obj) as the concrete editor does.
  virtual bool ExecuteAndWait(std::shared_ptr<void> obj, uint8_t state, const std::u16string& arg,
                              const std::function<bool(const std::u16string&)>& proc) = 0;
  virtual void SetSource(const std::u16string& value) = 0;
  virtual void SetBaseURL(const std::u16string& value) = 0;
  virtual std::u16string GetAbout() = 0;
  virtual bool GetBrowseMode() = 0;
  virtual bool GetUseDivOnCarriageReturn() = 0;
  virtual bool GetShowDetails() = 0;
  virtual bool GetPreserveSource() = 0;
  virtual bool DoTimeout() = 0;
  virtual bool LoadURL(const std::u16string& url) = 0;
  virtual bool LoadFromFile(const std::u16string& fileName) = 0;
  virtual void SaveToFile(const std::u16string& fileName) = 0;
  virtual bool GetBusy() = 0;
  virtual std::u16string GetDocumentURL() = 0;
  virtual std::u16string GetBaseURL() = 0;
  virtual bool GetModified() = 0;
  virtual std::u16string GetTitle() = 0;
  virtual void GetPreservedSource(std::u16string& value) = 0;
  virtual void GetDocumentDispatch(IDispatch** doc) = 0;
  virtual void ReadPreservedSource(std::u16string& value) = 0;
  // The document, false when there is none (every command asks this first).
  virtual bool GetDocument(IEngineDocument** doc) = 0;
  virtual void OpenDialog(const std::u16string& initialDir, std::u16string& fileName) = 0;
  virtual void SaveDialog(const std::u16string& initialDir, std::u16string& fileName) = 0;
  virtual bool GetReady() = 0;
  virtual bool NewDocument() = 0;
  virtual bool WriteSource(const std::u16string& fileName) = 0;
  virtual bool InsertTable(int rows, int cols, const std::u16string& caption = u"") = 0;
  virtual bool CanInsertTable() = 0;
  virtual bool IsInTable() = 0;
  virtual bool InsertRow() = 0;
  virtual bool CanInsertRow() = 0;
  virtual bool DeleteRow() = 0;
  virtual bool CanDeleteRow() = 0;
  virtual bool InsertColumn() = 0;
  virtual bool CanInsertColumn() = 0;
  virtual bool DeleteColumn() = 0;
  virtual bool CanDeleteColumn() = 0;
  virtual bool InsertCell() = 0;
  virtual bool CanInsertCell() = 0;
  virtual bool DeleteCells() = 0;
  virtual bool CanDeleteCells() = 0;
  virtual bool SplitCell() = 0;
  virtual bool CanSplitCell() = 0;
  virtual bool MergeCells() = 0;
  virtual bool CanMergeCells() = 0;
  // The browser's own edit context menu at a point of the client area: the chosen command
  // goes to the document's window. False when no menu could be shown.
  virtual bool ShowContextMenu(int x, int y);

  // ---- shared by every concrete editor
  // GetSource: "BUSY" while not ready; the preserved or the generated source; "ERROR" when
  // the document cannot be walked.
  std::u16string GetSource();
  std::u16string GetSelectionSource();
  void SetSelectionSource(const std::u16string& html);
  // The body text the view shows (positions count in it).
  std::u16string BodyTextOfDocument();
  // PasteHTMLAtSelection: a control selection's element replaced, or the text range.
  bool PasteHTMLAtSelection(const std::u16string& html);
  // The display update the browser asks for (its UpdateUI); S_OK when idle.
  HRESULT DocumentUpdateUI();
  // Whether the control or the document's window has the focus.
  bool Focused();

  // ---- editing and formatting commands (each asks for the document first and returns its
  // failure value when there is none or the document raises)
  bool SelectAll();
  bool Copy();
  bool Paste();
  bool SetBold(bool value);
  bool SetItalic(bool value);
  bool SetUnderline(bool value);
  void SetForeColor(TColor color);
  void SetFontName(const std::u16string& name);
  std::u16string GetFontName();
  void SetFontSize(uint8_t size);
  uint8_t GetFontSize();
  void GetBlockFormat(std::u16string& name);
  bool GetBlockFormats(std::vector<std::u16string>& list);
  bool IsNormalBlock();
  bool IsUnorderedList();
  bool IsOrderedList();

  // ---- selection and caret, in characters of the body text
  int GetSelStart();
  void SetSelStart(int pos);
  int GetSelLength();
  void SetSelLength(int length);
  void GetSelText(std::u16string& text);
  void ReplaceSel(const std::u16string& text);

  // ---- the document's input events, as the concrete editor's handler objects deliver them
  void DocKeyDown();
  void DocKeyUp();
  void DocKeyPress();
  void DocMouseDown();
  void DocMouseUp();
  void DocMouseMove();
  void DocMouseEnter();
  void DocMouseLeave();
  void DocDblClick();
  // The key code or character after the control's own key events ran.
  WORD KeyCode = 0;
  // After every paint of the document window: the word marks go (a checker marks again).
  void AfterDocumentPaint();
  // A context menu asked for at a screen point ((-1, -1) from the keyboard): OnContextPopup
  // with the point in client coordinates; true when the handler handled it.
  bool DoContextPopup(POINT screen);
  // OLE drags over the document and drops on it (screen points): OnDragOver, which may refuse
  // or accept, and OnDragDrop; the data object is the source.
  void NotifyDragOver(IDataObject* data, POINT screen, TDragState state, bool& accept);
  void NotifyDragDrop(IDataObject* data, POINT screen);

 protected:
  // Attaching the change notification (after every load, from 5.5 on).
  void AttachChangeSink();
  // The selection's element (a control selection or the element holding the text range).
  TableSelection CurrentSelection(IEngineDocument* doc);
  SourceContext MakeSourceContext();
  // Fixes run at the next display update (set by the key handling).
  bool paragraphFixupPending_ = false;
  bool divisionFixupPending_ = false;
  virtual void RunParagraphFixup();
  virtual void RunDivisionFixup();
  // The command target of the document (nullptr for the standard group).
  HRESULT ExecDocumentCommand(IEngineDocument* doc, const GUID* group, DWORD id, VARIANT* in, VARIANT* out);
  // The edit-control messages (custom_html_edit_messages_win32.cpp); true when handled.
  bool HandleEditMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  // The control's own key and mouse events (the messages the document handlers send it).
  bool HandleInputMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  // OnEnter and OnExit as the focus enters and leaves the document.
  void FocusChanged(bool gotFocus) override;

  // WaitHost: the clock and the message pump of the waits.
  uint32_t TickCount() override { return GetTickCount(); }
  void ProcessMessages() override;
  void ShowMessage(const std::u16string& text) override;

  PendingOperation pending_{*this};
  std::vector<std::u16string> blockFormats_;  // filled on first use by the formatting commands
  std::vector<int> highlights_;               // the document's highlight segments shown now
  int rememberedSelStart_ = 0, rememberedSelLength_ = 0;
  // The key handling: events still to skip after synthetic keystrokes, the body as it was
  // when the paragraph fix-up was marked, and an undo unit opened for a deletion.
  uint8_t keyDownSkip_ = 0, keyUpSkip_ = 0;
  std::u16string rememberedBody_;
  bool undoUnitOpen_ = false;
  bool clicked_ = false;  // a left button went down on the control (a click ends with its up)
  // Column resizing.
  bool cursorOverridden_ = false;
  bool resizing_ = false;
  struct ColumnBorder {
    Node* table = nullptr;
    int leftColumn = 0;
    int leftWidth = 0, rightWidth = 0;
    int x = 0;  // the border's position in the document window
  } border_;
  int dragStartX_ = 0, dragLastX_ = -1;
  // The edit-control emulation: what kind of client asked, the word range of the last
  // selection request, the point of the last EM_CHARFROMPOS, and whether a mark is drawn.
  uint8_t clientMode_ = 0;
  int wordStart_ = 0, wordEnd_ = 2147483647;
  bool wordSelected_ = false;           // the word range is the checker's selection
  int markLineStart_ = -1, markLineEnd_ = -1;  // the line of the checker's last line request
  POINT charFromPos_{};
  bool drawingMark_ = false;

 private:
  friend class THtmlEditChangeSink;
  IUnknown* changeLog_ = nullptr;
  THtmlEditChangeSink* changeSink_ = nullptr;
  std::unique_ptr<THtmlEditTableAttrs> tableAttrs_;
  std::unique_ptr<THtmlEditTableCellAttrs> tableCellAttrs_;
  std::unique_ptr<THtmlEditTagsSubstitution> tagsSubstitution_;
};

}  // namespace htmledit
