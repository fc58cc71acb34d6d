// THtmlEdit2's file dialogs and source files (steps G, H and K). A source is written only
// when it could be generated, through a temporary file that replaces the target.
#include <stdexcept>

#include "gui/file_dialogs.h"
#include "htmledit/com_ref_win32.h"
#include "htmledit/editor_selection.h"
#include "htmledit/file_replace_win32.h"
#include "htmledit/html_edit2_win32.h"
#include "htmledit/module_routines.h"
#include "unicode/codepage.h"

namespace htmledit {

namespace {

constexpr char16_t kHtmlFilter[] = u"HTML files|*.html;*.htm";

bool IsStatusText(const std::u16string& source) { return source == kBusyText || source == kErrorText; }

std::u16string ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::u16string p(reinterpret_cast<const char16_t*>(path), n);
  size_t slash = p.find_last_of(u"\\/");
  return slash == std::u16string::npos ? std::u16string() : p.substr(0, slash);
}


}  // namespace

// Step G.
void THtmlEdit2::OpenDialog(const std::u16string& initialDir, std::u16string& fileName) {
  IEngineDocument* doc = nullptr;
  if (!GetDocument(&doc)) {
    fileName.clear();
    return;
  }
  gui::FileDialogSpec dialog;
  dialog.filter = kHtmlFilter;
  dialog.initialDir = initialDir;
  gui::FileDialogResult chosen = gui::OpenFileDialog(ParentForm(), dialog);
  if (chosen.ok) {
    fileName = chosen.file;
    auto held = HoldReference(doc);
    doc->Release();
    ExecuteAndWait(held, kOpeningDialogFile, fileName, [this](const std::u16string& f) { return LoadFromFile(f); });
    return;
  }
  doc->Release();
  fileName = GetDocumentURL();
  Fire(OnOpenDialogCancel);
}

// Step H.1.
void THtmlEdit2::RewriteAndSaveAs(const std::u16string& name) {
  IEngineDocument* doc = RawDocument();
  if (!doc) throw EOleError("There is no document.", E_UNEXPECTED);
  {
    SwitchOptions switchOptions(*this);
    RewriteDocument(doc, GetSource());
  }
  doc->Release();
  Reattach();
  SaveToFile(name);
}

// Step H.2.
bool THtmlEdit2::WriteGeneratedSource(const std::u16string& name) {
  std::u16string source = GetSource();
  if (IsStatusText(source)) return false;
  return WriteFileReplacing(name, EncodeSourceForFile(source));
}

// Step H.
void THtmlEdit2::SaveDialog(const std::u16string& initialDir, std::u16string& fileName) {
  fileName.clear();
  IEngineDocument* doc = nullptr;
  if (!GetDocument(&doc)) return;
  doc->Release();
  gui::FileDialogSpec dialog;
  dialog.filter = kHtmlFilter;
  dialog.defaultExtension = u"html";
  dialog.initialDir = initialDir;
  gui::FileDialogResult chosen = gui::SaveFileDialog(ParentForm(), dialog);
  if (!chosen.ok) return;
  // A document that cannot give its source leaves the chosen file as it was.
  std::u16string source = GetSource();
  if (IsStatusText(source)) {
    ShowMessage(source == kBusyText ? u"\u6587\u6863\u8FD8\u6CA1\u6709\u51C6\u5907\u597D\uFF0C\u6CA1\u6709\u4FDD\u5B58\u3002"
                                    : u"\u65E0\u6CD5\u751F\u6210\u6587\u6863\u7684\u6E90\u4EE3\u7801\uFF0C\u6CA1\u6709\u4FDD\u5B58\u3002");
    return;
  }
  if (!HtmlSameText(chosen.file, GetDocumentURL())) {
    try {
      RewriteAndSaveAs(chosen.file);
    } catch (const std::exception& e) {
      ShowMessage(unicode::Utf8ToUtf16(e.what()));
      return;
    }
  }
  if (!WriteGeneratedSource(chosen.file)) {
    ShowMessage(u"\u65E0\u6CD5\u5199\u5165\u6587\u4EF6\uFF1A" + chosen.file);
    return;
  }
  fileName = GetDocumentURL();
}

// Step K.
bool THtmlEdit2::WriteSource(const std::u16string& fileName) {
  const size_t slash = fileName.find_last_of(u"\\/:");
  const std::u16string filePart = slash == std::u16string::npos ? fileName : fileName.substr(slash + 1);
  if (filePart.empty()) return false;
  IEngineDocument* doc = nullptr;
  if (!GetDocument(&doc)) return false;
  doc->Release();
  std::u16string full = fileName;
  if (slash == std::u16string::npos) full = ProgramFolder() + u"\\" + fileName;
  if (IsStatusText(GetSource())) return false;
  if (!HtmlSameText(full, GetDocumentURL())) {
    try {
      RewriteAndSaveAs(full);
    } catch (const std::exception&) {
      // the generated source below is what the file gets
    }
  }
  return WriteGeneratedSource(full);
}

}  // namespace htmledit
