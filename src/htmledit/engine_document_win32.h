// The engine's document object: the tree, its source as loaded, ready state and design
// mode, the event properties, the editing command target, and stream and file persistence.
// Loads are started by the browser that owns it (they complete through its queue).
#pragma once

#include <docobj.h>
#include <ole2.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "htmledit/engine_interfaces_win32.h"
#include "htmledit/picture_loader_win32.h"

namespace htmledit {

class DocumentView;
class ChangeLog;

enum class EngineLoadKind { Navigation, File, DesignReload };

// What the document needs of its browser.
class EngineDocumentOwner {
 public:
  virtual ~EngineDocumentOwner() = default;
  virtual void StartLoad(EngineLoadKind kind, const std::u16string& url) = 0;
  virtual void CancelLoads() = 0;
  virtual DocumentView* View() = 0;
  virtual void UpdateUI() = 0;
  // The host's presentation flags (DOCHOSTUIFLAG_*), as read at the last load.
  virtual DWORD HostFlags() = 0;
  // The window of the control that hosts the browser (where the view's dialog codes come from).
  virtual HWND HostWindow() = 0;
};

// Styles the next typed text takes at a caret (a formatting command with nothing selected).
struct TypingStyles {
  int at = -1;  // the caret they belong to
  int bold = -1, italic = -1, underline = -1;  // -1 unchanged, 0 off, 1 on
  std::u16string face, size, color;
  bool Any() const { return bold >= 0 || italic >= 0 || underline >= 0 || !face.empty() || !size.empty() || !color.empty(); }
};

class EngineDocument : public IDispatch,
                       public IEngineDocument,
                       public IOleCommandTarget,
                       public IPersistStreamInit,
                       public IPersistFile,
                       public IOleWindow {
 public:
  explicit EngineDocument(EngineDocumentOwner* owner);
  virtual ~EngineDocument();

  STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IDispatch: the document object as the browser hands it out (no members by name).
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** out) override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return DISP_E_MEMBERNOTFOUND;
  }

  // IEngineDocument
  std::u16string STDMETHODCALLTYPE ReadyState() override { return readyState_; }
  std::u16string STDMETHODCALLTYPE DesignMode() override { return designMode_; }
  HRESULT STDMETHODCALLTYPE SetDesignMode(std::u16string_view mode) override;
  HRESULT STDMETHODCALLTYPE Write(std::u16string_view html) override;
  HRESULT STDMETHODCALLTYPE Close() override;
  std::u16string STDMETHODCALLTYPE Title() override { return dom_.Title(); }
  std::u16string STDMETHODCALLTYPE Url() override { return url_; }
  std::u16string STDMETHODCALLTYPE UserAgent() override { return kEngineUserAgent; }
  HRESULT STDMETHODCALLTYPE FocusWindow() override;
  HWND STDMETHODCALLTYPE DocumentWindow() override;
  HRESULT STDMETHODCALLTYPE SetEventHandler(std::u16string_view name, IDispatch* handler) override;
  Document& STDMETHODCALLTYPE Dom() override { return dom_; }
  const BodyText& STDMETHODCALLTYPE Layout() override { return layout_; }
  void STDMETHODCALLTYPE GetSelection(int& start, int& end) override;
  void STDMETHODCALLTYPE SetSelection(int start, int end) override;
  void STDMETHODCALLTYPE ContentChanged() override;
  HRESULT STDMETHODCALLTYPE CreateChangeLog(IEngineChangeSink* sink, bool forward, bool backward,
                                            IUnknown** log) override;
  HRESULT STDMETHODCALLTYPE BeginUndoUnit(std::u16string_view title) override;
  HRESULT STDMETHODCALLTYPE EndUndoUnit() override;
  bool STDMETHODCALLTYPE CanUndo() override { return !undo_.empty(); }
  std::u16string STDMETHODCALLTYPE UndoTitle() override { return undo_.empty() ? u"" : undo_.back().title; }
  HRESULT STDMETHODCALLTYPE Undo() override;
  int STDMETHODCALLTYPE LineCount() override;
  int STDMETHODCALLTYPE LineIndex(int line) override;
  int STDMETHODCALLTYPE LineFromPosition(int pos) override;
  int STDMETHODCALLTYPE AddHighlight(int start, int end, COLORREF color) override;
  HRESULT STDMETHODCALLTYPE RemoveHighlight(int id) override;
  int STDMETHODCALLTYPE HighlightCount() override { return static_cast<int>(highlights_.size()); }
  void STDMETHODCALLTYPE SetPaintListener(IEngineChangeSink* listener) override;
  void STDMETHODCALLTYPE SetDragListener(EngineDragListener listener) override { drag_ = std::move(listener); }
  EngineEvent* STDMETHODCALLTYPE CurrentEvent() override { return event_; }
  bool STDMETHODCALLTYPE ExecCommand(std::u16string_view name, const VARIANT* value) override;
  HRESULT STDMETHODCALLTYPE QueryCommandValue(std::u16string_view name, VARIANT* out) override;
  bool STDMETHODCALLTYPE QueryCommandEnabled(std::u16string_view name) override;
  HRESULT STDMETHODCALLTYPE ReplaceSelection(std::u16string_view text) override;
  int STDMETHODCALLTYPE PositionFromPoint(POINT point) override;
  Node* STDMETHODCALLTYPE ElementFromPoint(POINT point) override;
  bool STDMETHODCALLTYPE ElementRect(const Node* element, RECT* rect) override;
  std::u16string STDMETHODCALLTYPE DefaultFontName() override;

  // IOleCommandTarget (the editing command group)
  STDMETHODIMP QueryStatus(const GUID* group, ULONG count, OLECMD* cmds, OLECMDTEXT* text) override;
  STDMETHODIMP Exec(const GUID* group, DWORD id, DWORD option, VARIANT* in, VARIANT* out) override;

  // IPersist (stream and file alike)
  STDMETHODIMP GetClassID(CLSID* clsid) override;
  STDMETHODIMP IsDirty() override { return modified_ ? S_OK : S_FALSE; }
  // IPersistStreamInit: the document's source (as loaded while unchanged).
  STDMETHODIMP Load(LPSTREAM stream) override;
  STDMETHODIMP Save(LPSTREAM stream, BOOL clearDirty) override;
  STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override;
  STDMETHODIMP InitNew() override;
  // IPersistFile
  STDMETHODIMP Load(LPCOLESTR fileName, DWORD mode) override;
  STDMETHODIMP Save(LPCOLESTR fileName, BOOL remember) override;
  STDMETHODIMP SaveCompleted(LPCOLESTR) override { return S_OK; }
  STDMETHODIMP GetCurFile(LPOLESTR* fileName) override;
  // IOleWindow: the document's window (the view).
  STDMETHODIMP GetWindow(HWND* out) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // The browser's side.
  void Detach() { owner_ = nullptr; }
  // Replaces the content by a loaded source (bytes as read) at url; file is the local file.
  void LoadSource(const std::string& bytes, const std::u16string& url, const std::u16string& file);
  void SetReadyState(const std::u16string& state);
  // Lays the tree out again and mirrors it (the view was made or resized).
  void Refresh() { Relayout(); }
  // The RTF group of an IMG's picture for the view; empty where the placeholder stays.
  std::string PictureRtf(const PictureRef& picture) { return pictures_.Rtf(picture, pictureBase_); }
  // Invokes the handler of an event property, when one is set.
  void FireEvent(const std::u16string& name);
  // What the editing commands have switched (glyph display, zero borders, cursor override).
  const std::u16string& GlyphTable() const { return glyphTable_; }
  bool GlyphsShown() const { return glyphsShown_; }
  bool ZeroBordersShown() const { return zeroBorders_; }
  bool CursorOverridden() const { return cursorOverride_; }
  // Draws the highlight segments over the view (after the view painted itself).
  void PaintHighlights(HWND view, HDC dc);
  // After the view painted: the highlights, glyphs and zero borders, then the paint listener.
  void AfterViewPaint(HWND view);

  // Input that reaches the view (engine_input_win32.cpp): keys, characters, IME results,
  // mouse, drops and every message that would change the view's text become events of the
  // document and edits of the tree. True when handled (result set); *wp may be replaced for
  // the control's own handling.
  bool HandleViewMessage(HWND view, UINT msg, WPARAM& wp, LPARAM lp, LRESULT& result);
  // After the view handled a message itself: the click after a button up, the overlays after a paint.
  void AfterViewMessage(HWND view, UINT msg);
  // The view's selection moved (typed styles and the typing step end unless it is theirs).
  void SelectionChanged();
  // The view was made: it takes drops of text and HTML.
  void ViewCreated(HWND view);
  void ViewDestroying(HWND view);
  // The view's size changed: table rows get cell boundaries for the new width.
  void ViewResized();

  // The editing operations behind keys, menus and commands (engine_commands_win32.cpp).
  bool CopySelection();
  bool CutSelection();
  bool PasteClipboard();
  bool DeleteSelection();
  void SelectAll();
  bool UndoStep();
  // Inserts text or HTML at a point of the view (a drop).
  bool InsertAt(int pos, const std::u16string* html, const std::u16string* text);

 private:
  friend class ViewDropTarget;
  void Relayout();
  bool Editable() const { return designMode_ == u"On"; }
  // Runs one edit of the tree: an undo step (unless it continues the typing step), the
  // change counted once, the layout and the view brought up to date, the caret placed.
  void Edit(std::u16string_view undoTitle, bool typing, const std::function<DomPoint(const BodyText&)>& op);
  void TypeText(std::u16string_view text);
  void ApplyTypingStyles(const TypingStyles& styles, int start, int end);
  bool KeyDownDefault(int key, bool ctrl, bool shift, bool alt);
  void FireInput(const char16_t* property, EngineEvent& event);
  bool ToggleStyle(int style);
  bool SetFont(int attribute, std::u16string value);
  int Selection(int& start, int& end);
  bool ReadStreamIn(WPARAM format, LPARAM stream, LRESULT& result);
  bool SetTextFromOutside(std::u16string text, bool selection);
  void PaintGlyphs(HWND view, HDC dc);
  HRESULT ExecDisplayCommand(DWORD id, VARIANT* in);
  void InvalidateView();
  void PaintZeroBorders(HWND view, HDC dc);
  // The source as saved: the loaded bytes while the tree is unchanged, else the tree
  // written out as UTF-16LE after FF FE.
  std::string SourceBytes() const;

  LONG refs_ = 1;
  EngineDocumentOwner* owner_;
  Document dom_;
  BodyText layout_;
  int layoutWidth_ = 9000;  // the view width (twips) the layout was made for
  std::string loadedBytes_;
  uint64_t changesAtLoad_ = 0;
  std::u16string url_ = u"about:blank";
  std::u16string file_;
  std::u16string readyState_ = u"complete";
  std::u16string designMode_ = u"Inherit";
  bool modified_ = false;
  bool writeOpen_ = false;
  std::u16string written_;
  std::map<std::u16string, IDispatch*> handlers_;
  std::vector<ChangeLog*> logs_;
  struct UndoUnit {
    std::u16string title;
    std::unique_ptr<Document> before;
    int selStart = 0, selEnd = 0;
  };
  std::vector<UndoUnit> undo_;
  int undoDepth_ = 0;
  struct Highlight {
    int id, start, end;
    COLORREF color;
  };
  std::vector<Highlight> highlights_;
  int nextHighlight_ = 1;
  std::u16string glyphTable_;
  bool glyphsShown_ = false, zeroBorders_ = false, cursorOverride_ = false;
  IEngineChangeSink* paintListener_ = nullptr;
  bool painting_ = false;
  EngineEvent* event_ = nullptr;
  TypingStyles typingStyles_;
  int typingCaret_ = -1;        // where the typing step's next character goes
  char16_t highSurrogate_ = 0;  // the first half of a character typed in two messages
  bool mouseInside_ = false;
  bool leftDownInView_ = false;
  struct Glyphs;
  std::shared_ptr<Glyphs> glyphs_;  // complete where the pictures are drawn
  IDropTarget* dropTarget_ = nullptr;
  EngineDragListener drag_;
  PictureLoader pictures_;
  std::u16string pictureBase_;  // where relative picture addresses start: the BASE, else the URL
};

}  // namespace htmledit
