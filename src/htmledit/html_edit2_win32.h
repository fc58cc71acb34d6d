// THtmlEdit2: the concrete HTML editor. It hosts the engine's browser control, keeps its
// document in design mode and turns every asynchronous load into a synchronous operation:
// a pending-operation state, a message-pumping wait with a time limit, and the browser's
// DocumentComplete. It answers the browser as its host's user-interface handler.
#pragma once

#include <mshtmhst.h>

#include "htmledit/custom_html_edit_win32.h"

namespace htmledit {

class THtmlEdit2;

// The handler object of one document event property: calls the editor with its index.
class THtmlEdit2EventHandler : public IDispatch {
 public:
  THtmlEdit2EventHandler(THtmlEdit2& editor, uint8_t index) : editor_(editor), index_(index) {}
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP GetTypeInfoCount(UINT*) override { return S_OK; }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return S_OK; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return S_OK; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;

 private:
  ULONG refs_ = 1;
  THtmlEdit2& editor_;  // not counted: the editor outlives the documents it attaches to
  uint8_t index_;
};

class THtmlEdit2 : public TCustomHtmlEdit {
 public:
  THtmlEdit2();
  ~THtmlEdit2() override;

  // Creates the browser and navigates to "about:blank" (state 1 until the document is
  // complete). Raises EOleError when the browser cannot be created.
  void Create(HWND parent, const gui::ControlSpec& place);

  TNotifyEvent OnBeforePaste;  // not published
  TNotifyEvent OnPaste;
  bool UseDivOnCarriageReturn = false;
  bool SourceCodePreservation = false;
  bool ScrollBars = true;
  bool Flat = false;
  bool FlatScrollBars = false;
  bool ShowDetails() const { return showDetails_; }
  void SetShowDetails(bool value);
  bool ShowBorders() const { return showBorders_; }
  void SetShowBorders(bool value);
  bool BrowseMode() { return GetBrowseMode(); }
  void SetBrowseMode(bool value);

  // Loads that wait (states 3 and 4): a URL through the editor's own navigation, a file
  // through the document.
  bool OpenURL(const std::u16string& url);
  bool OpenFile(const std::u16string& fileName);

  // ---- the virtual operations
  void CheckDocumentReady() override;
  void SetModified(bool value) override;
  bool GetSourceCodePreservation() override { return SourceCodePreservation; }
  bool ResetDesignMode() override;
  bool ExecuteAndWait(std::shared_ptr<void> obj, uint8_t state, const std::u16string& arg,
                      const std::function<bool(const std::u16string&)>& proc) override;
  void SetSource(const std::u16string& value) override;
  void SetBaseURL(const std::u16string& value) override;
  std::u16string GetAbout() override;
  bool GetBrowseMode() override;
  bool GetUseDivOnCarriageReturn() override { return UseDivOnCarriageReturn; }
  bool GetShowDetails() override { return showDetails_; }
  bool GetPreserveSource() override { return SourceCodePreservation; }
  bool DoTimeout() override;
  bool LoadURL(const std::u16string& url) override;
  bool LoadFromFile(const std::u16string& fileName) override;
  void SaveToFile(const std::u16string& fileName) override;
  bool GetBusy() override { return State() != kIdle; }
  std::u16string GetDocumentURL() override;
  std::u16string GetBaseURL() override;
  bool GetModified() override;
  std::u16string GetTitle() override;
  void GetPreservedSource(std::u16string& value) override { ReadPreservedSource(value); }
  void GetDocumentDispatch(IDispatch** doc) override;
  void ReadPreservedSource(std::u16string& value) override;
  bool GetDocument(IEngineDocument** doc) override;
  void OpenDialog(const std::u16string& initialDir, std::u16string& fileName) override;
  void SaveDialog(const std::u16string& initialDir, std::u16string& fileName) override;
  bool GetReady() override { return !GetBusy(); }
  bool NewDocument() override;
  bool WriteSource(const std::u16string& fileName) override;
  bool InsertTable(int rows, int cols, const std::u16string& caption = u"") override;
  bool CanInsertTable() override;
  bool IsInTable() override;
  bool InsertRow() override;
  bool CanInsertRow() override;
  bool DeleteRow() override;
  bool CanDeleteRow() override;
  bool InsertColumn() override;
  bool CanInsertColumn() override;
  bool DeleteColumn() override;
  bool CanDeleteColumn() override;
  bool InsertCell() override;
  bool CanInsertCell() override;
  bool DeleteCells() override;
  bool CanDeleteCells() override;
  bool SplitCell() override;
  bool CanSplitCell() override;
  bool MergeCells() override;
  bool CanMergeCells() override;
  bool ShowContextMenu(int x, int y) override;

  // The document event dispatch (the handler objects call it with their index).
  void DispatchDocumentEvent(uint8_t index);
  // The host information flags the browser reads at each load.
  DWORD HostInfoFlags() const;

 protected:
  TControlData& InitControlData() override;
  HRESULT OnFocus(BOOL gotFocus) override;
  HRESULT QuerySiteInterface(REFIID riid, void** out) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  const wchar_t* WindowClassName() const override { return L"THtmlEdit2"; }
  // WaitHost: the timeout path.
  bool ResetDocument() override;
  void OnTimedOut() override;

 private:
  class HostUIHandler;
  friend class HostUIHandler;

  // The document whatever the state (the creation and completion steps need it).
  IEngineDocument* RawDocument();
  bool HasFocus(IEngineDocument* doc);
  void FocusDocumentIfFocused(IEngineDocument* doc);
  void EditorNavigate(const std::u16string& url);
  void OnBeforeNavigate2(DISPPARAMS& params);
  void OnDocumentComplete(DISPPARAMS& params);
  void CreationStep();
  void Reattach();
  void AttachDocumentEvents();
  void AttachPasteEvents();
  void UpdateGlyphTable(bool show);
  void Fire(TNotifyEvent& event);
  HRESULT Exec(IEngineDocument* doc, DWORD command, VARIANT* in);
  // Writes a generated source into the document (write, close); a "BUSY" or "ERROR" text
  // is never written over the user's document.
  bool RewriteDocument(IEngineDocument* doc, const std::u16string& source);
  // Step H.1: the document rewritten under the switch options, then saved to name.
  void RewriteAndSaveAs(const std::u16string& name);
  // Step H.2: the generated source written to name; false (nothing written) on failure.
  bool WriteGeneratedSource(const std::u16string& name);
  template <class Op>
  bool TableOperation(Op op, bool change);
  // Step L.4 and its restoring step: HideBaseElement and ExcludeBaseURL off,
  // ExcludeFileProtocol on (off where addresses must stay as they are), no preservation.
  class SwitchOptions {
   public:
    explicit SwitchOptions(THtmlEdit2& e, bool fileUrlsAsPaths = true)
        : editor_(e), options_(e.SourceCodeOptions), preservation_(e.SourceCodePreservation) {
      auto o = options_.Without(THtmlEditSourceCodeOption::HideBaseElement)
                   .Without(THtmlEditSourceCodeOption::ExcludeBaseURL)
                   .Without(THtmlEditSourceCodeOption::ExcludeFileProtocol);
      e.SourceCodeOptions = fileUrlsAsPaths ? o.With(THtmlEditSourceCodeOption::ExcludeFileProtocol) : o;
      e.SourceCodePreservation = false;
    }
    ~SwitchOptions() {
      editor_.SourceCodeOptions = options_;
      editor_.SourceCodePreservation = preservation_;
    }

   private:
    THtmlEdit2& editor_;
    THtmlEditSourceCodeOptions options_;
    bool preservation_;
  };
  // Runs fn with the document's IPersistFile; raises EOleError with failure on an error.
  void WithPersistFile(const char* failure, const std::function<HRESULT(IPersistFile*)>& fn);

  class PaintListener : public IEngineChangeSink {
   public:
    explicit PaintListener(TCustomHtmlEdit& editor) : editor_(editor) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
      if (!out) return E_POINTER;
      *out = nullptr;
      if (riid != IID_IUnknown && riid != IID_IEngineChangeSink) return E_NOINTERFACE;
      *out = static_cast<IEngineChangeSink*>(this);
      AddRef();
      return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override {
      const ULONG n = --refs_;
      if (n == 0) delete this;
      return n;
    }
    HRESULT STDMETHODCALLTYPE Notify() override {
      editor_.AfterDocumentPaint();
      return S_OK;
    }
    virtual ~PaintListener() = default;

   private:
    ULONG refs_ = 1;
    TCustomHtmlEdit& editor_;
  };

  IEngineBrowser* browser_ = nullptr;
  PaintListener* paintListener_ = nullptr;
  std::unique_ptr<HostUIHandler> uiHandler_;
  bool storedBrowseMode_ = false;
  bool showDetails_ = false;
  bool showBorders_ = false;
};

}  // namespace htmledit
