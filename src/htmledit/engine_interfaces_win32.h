// The editor's own in-process browser control: its class id, and the C++ interfaces the
// editor reaches it through (the browser and its document). The control speaks the
// container protocol and the browser's event interface; everything the editor needs of
// the document beyond stream and file persistence and the command target is here.
#pragma once

#include <ole2.h>

#include <functional>

#include <string>
#include <string_view>

#include "htmledit/body_text.h"
#include "htmledit/dom.h"

namespace htmledit {

// {598BEABF-12C8-470F-A37A-BF8459706290}
inline constexpr CLSID CLSID_HtmlEngine = {0x598beabf, 0x12c8, 0x470f, {0xa3, 0x7a, 0xbf, 0x84, 0x59, 0x70, 0x62, 0x90}};
// {046704CD-BA88-435D-AF68-83691D65278A}
inline constexpr CLSID CLSID_HtmlEngineDocument = {
    0x046704cd, 0xba88, 0x435d, {0xaf, 0x68, 0x83, 0x69, 0x1d, 0x65, 0x27, 0x8a}};
// {164826F2-7445-4676-B6E0-87B42CA7F518}
inline constexpr IID IID_IEngineBrowser = {0x164826f2, 0x7445, 0x4676, {0xb6, 0xe0, 0x87, 0xb4, 0x2c, 0xa7, 0xf5, 0x18}};
// {0EC70FCD-911A-4F9C-BF89-D942DB6FA088}
inline constexpr IID IID_IEngineDocument = {0x0ec70fcd, 0x911a, 0x4f9c, {0xbf, 0x89, 0xd9, 0x42, 0xdb, 0x6f, 0xa0, 0x88}};
// {39ED86CC-B97A-4CF3-A44F-9829D3052FE8}
inline constexpr IID IID_IEngineChangeSink = {
    0x39ed86cc, 0xb97a, 0x4cf3, {0xa4, 0x4f, 0x98, 0x29, 0xd3, 0x05, 0x2f, 0xe8}};
// The browser's event interface and the command group of the editing commands.
inline constexpr IID DIID_BrowserEvents2 = {0x34a715a0, 0x6587, 0x11d0, {0x92, 0x4a, 0x00, 0x20, 0xaf, 0xc7, 0xac, 0x4d}};
inline constexpr GUID CGID_EditorCommands = {0xde4ba900, 0x59ca, 0x11cf, {0x95, 0x92, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

// The name of the message through which loads complete (posted to the engine's queue
// window): a load that is announced now completes when this message is handled.
inline constexpr wchar_t kEngineLoadMessage[] = L"QuilloraHtmlEngineLoad";

// The user agent text of the document's window.
inline constexpr char16_t kEngineUserAgent[] = u"Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; Quillora)";

// The editor's change notification: called once for every change of the document.
struct IEngineChangeSink : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Notify() = 0;
};

// The event object of the document's window while an input event property runs: what the
// handler reads, and returnValue, which it clears to cancel what the document would do.
struct EngineEvent {
  std::u16string type;         // "keydown", "mousedown", "paste", ...
  int keyCode = 0;             // keys: the virtual key; keypress: the character
  bool altKey = false, ctrlKey = false, shiftKey = false;
  int button = 0;              // mouse: 1 left, 2 right, 4 middle
  int clientX = 0, clientY = 0;  // mouse: in the document window's client area
  bool returnValue = true;
};

// Hears OLE drags over the document's window and drops on it (the control's drag events).
// Points are screen points; states are 0 entered, 1 left, 2 moved.
struct EngineDragListener {
  // accept comes with whether the document takes the data and may be changed.
  std::function<void(IDataObject* data, POINT screen, int state, bool& accept)> over;
  // After the document took what it could of an accepted drop.
  std::function<void(IDataObject* data, POINT screen)> dropped;
};

struct IEngineBrowser : IUnknown {
  // Starts a navigation (BeforeNavigate2 first; it may cancel). The load completes later.
  virtual HRESULT STDMETHODCALLTYPE Navigate(const std::u16string& url) = 0;
  // The document object (its IDispatch); nullptr before the first load.
  virtual HRESULT STDMETHODCALLTYPE GetDocument(IDispatch** doc) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetSilent(bool silent) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetRegisterAsDropTarget(bool value) = 0;
  virtual bool STDMETHODCALLTYPE Busy() = 0;
  virtual std::u16string STDMETHODCALLTYPE LocationURL() = 0;
};

struct IEngineDocument : IUnknown {
  virtual std::u16string STDMETHODCALLTYPE ReadyState() = 0;    // "loading" or "complete"
  virtual std::u16string STDMETHODCALLTYPE DesignMode() = 0;    // "On", "Off" or "Inherit"
  // "On" or "Off" (any case): a change reloads; readystatechange "complete" ends it.
  virtual HRESULT STDMETHODCALLTYPE SetDesignMode(std::u16string_view mode) = 0;
  // write and close act at once: close parses what was written into the document.
  virtual HRESULT STDMETHODCALLTYPE Write(std::u16string_view html) = 0;
  virtual HRESULT STDMETHODCALLTYPE Close() = 0;
  virtual std::u16string STDMETHODCALLTYPE Title() = 0;
  virtual std::u16string STDMETHODCALLTYPE Url() = 0;
  virtual std::u16string STDMETHODCALLTYPE UserAgent() = 0;  // the window's navigator text
  virtual HRESULT STDMETHODCALLTYPE FocusWindow() = 0;       // the document window takes the focus
  virtual HWND STDMETHODCALLTYPE DocumentWindow() = 0;       // the view (nullptr before activation)
  // An event property of the document ("onclick", ...) or of its body ("body.onpaste"):
  // the handler is invoked (DISPID 0) when the event fires. nullptr clears it.
  virtual HRESULT STDMETHODCALLTYPE SetEventHandler(std::u16string_view name, IDispatch* handler) = 0;
  // The tree, its layout and the view's selection in body-text positions.
  virtual Document& STDMETHODCALLTYPE Dom() = 0;
  virtual const BodyText& STDMETHODCALLTYPE Layout() = 0;
  virtual void STDMETHODCALLTYPE GetSelection(int& start, int& end) = 0;
  virtual void STDMETHODCALLTYPE SetSelection(int start, int end) = 0;
  // After edits made on Dom(): layout again, mirror into the view, mark modified, update UI.
  virtual void STDMETHODCALLTYPE ContentChanged() = 0;
  // A change log that calls sink on every change while it lives (released to stop).
  virtual HRESULT STDMETHODCALLTYPE CreateChangeLog(IEngineChangeSink* sink, bool forward, bool backward,
                                                    IUnknown** log) = 0;
  // Undo units: the tree as it was when the outermost unit began comes back on Undo.
  // Units nest; only the outermost one is kept.
  virtual HRESULT STDMETHODCALLTYPE BeginUndoUnit(std::u16string_view title) = 0;
  virtual HRESULT STDMETHODCALLTYPE EndUndoUnit() = 0;
  virtual bool STDMETHODCALLTYPE CanUndo() = 0;
  virtual std::u16string STDMETHODCALLTYPE UndoTitle() = 0;
  virtual HRESULT STDMETHODCALLTYPE Undo() = 0;
  // Display lines, as the view wraps them, in body-text positions.
  virtual int STDMETHODCALLTYPE LineCount() = 0;
  virtual int STDMETHODCALLTYPE LineIndex(int line) = 0;        // first position, -1 past the last line
  virtual int STDMETHODCALLTYPE LineFromPosition(int pos) = 0;
  // Highlight segments: a wavy underline of the colour (0x00BBGGRR) under [start, end),
  // drawn over the view at every paint until removed.
  virtual int STDMETHODCALLTYPE AddHighlight(int start, int end, COLORREF color) = 0;
  // Removed while the view paints, a segment stays on the screen until the next paint.
  virtual HRESULT STDMETHODCALLTYPE RemoveHighlight(int id) = 0;
  virtual int STDMETHODCALLTYPE HighlightCount() = 0;
  // Called after every paint of the view (nullptr stops it).
  virtual void STDMETHODCALLTYPE SetPaintListener(IEngineChangeSink* listener) = 0;
  // Told of drags and drops (an empty listener stops it).
  virtual void STDMETHODCALLTYPE SetDragListener(EngineDragListener listener) = 0;

  // The event being fired to an input event property (nullptr outside one).
  virtual EngineEvent* STDMETHODCALLTYPE CurrentEvent() = 0;
  // The document's command methods: execCommand (the value may be nullptr), its
  // queryCommandValue (VT_NULL for a mixed selection) and queryCommandEnabled.
  virtual bool STDMETHODCALLTYPE ExecCommand(std::u16string_view name, const VARIANT* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE QueryCommandValue(std::u16string_view name, VARIANT* out) = 0;
  virtual bool STDMETHODCALLTYPE QueryCommandEnabled(std::u16string_view name) = 0;
  // The selection replaced by plain text, as one step to undo.
  virtual HRESULT STDMETHODCALLTYPE ReplaceSelection(std::u16string_view text) = 0;
  // Where things are in the view: the position and the element under a point of its client
  // area, and an element's box there (false when it shows nowhere).
  virtual int STDMETHODCALLTYPE PositionFromPoint(POINT point) = 0;
  virtual Node* STDMETHODCALLTYPE ElementFromPoint(POINT point) = 0;
  virtual bool STDMETHODCALLTYPE ElementRect(const Node* element, RECT* rect) = 0;
  // The face shown where no FONT or style names one.
  virtual std::u16string STDMETHODCALLTYPE DefaultFontName() = 0;
};

// Registers the engine's class object for this process (idempotent); the editor module
// calls it at start. Needs COM on the calling thread.
HRESULT RegisterEngineClass();
void RevokeEngineClass();

}  // namespace htmledit
