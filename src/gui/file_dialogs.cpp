#include "gui/file_dialogs.h"

#include <commdlg.h>

#include <vector>

#include "gui/wide.h"

namespace gui {

namespace {
FileDialogResult Run(HWND owner, const FileDialogSpec& spec, bool save) {
  // The dialog takes the filter as pairs of zero-terminated strings, the list ending in two zeros.
  std::u16string filter = spec.filter;
  for (char16_t& c : filter) {
    if (c == u'|') c = u'\0';
  }
  filter.push_back(u'\0');
  filter.push_back(u'\0');
  std::vector<wchar_t> file(32768, L'\0');
  for (size_t i = 0; i < spec.fileName.size() && i + 1 < file.size(); ++i) file[i] = spec.fileName[i];

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = W(filter);
  ofn.nFilterIndex = static_cast<DWORD>(spec.filterIndex);
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = spec.initialDir.empty() ? nullptr : W(spec.initialDir);
  ofn.lpstrDefExt = spec.defaultExtension.empty() ? nullptr : W(spec.defaultExtension);
  ofn.lpstrTitle = spec.title.empty() ? nullptr : W(spec.title);
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
              (save ? OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST : OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
  FileDialogResult result;
  result.ok = (save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn)) != FALSE;
  if (result.ok) {
    result.file = U(file.data());
    result.filterIndex = static_cast<int>(ofn.nFilterIndex);
  }
  return result;
}
}  // namespace

FileDialogResult OpenFileDialog(HWND owner, const FileDialogSpec& spec) { return Run(owner, spec, false); }
FileDialogResult SaveFileDialog(HWND owner, const FileDialogSpec& spec) { return Run(owner, spec, true); }

}  // namespace gui
