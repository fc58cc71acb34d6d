#include "gui/file_dialogs.h"

#include <commdlg.h>
#include <shlobj.h>

#include <vector>

#include "gui/modal_loop.h"
#include "gui/wide.h"

namespace gui {

namespace {
FileDialogResult Run(HWND owner, const FileDialogSpec& desc, bool save) {
  // The dialog takes the filter as pairs of zero-terminated strings, the list ending in two zeros.
  std::u16string filter = desc.filter;
  for (char16_t& c : filter) {
    if (c == u'|') c = u'\0';
  }
  filter.push_back(u'\0');
  filter.push_back(u'\0');
  std::vector<wchar_t> file(32768, L'\0');
  for (size_t i = 0; i < desc.fileName.size() && i + 1 < file.size(); ++i) file[i] = desc.fileName[i];

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = W(filter);
  ofn.nFilterIndex = static_cast<DWORD>(desc.filterIndex);
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = desc.initialDir.empty() ? nullptr : W(desc.initialDir);
  ofn.lpstrDefExt = desc.defaultExtension.empty() ? nullptr : W(desc.defaultExtension);
  ofn.lpstrTitle = desc.title.empty() ? nullptr : W(desc.title);
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
              (save ? OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST : OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
  FileDialogResult result;
  const ModalLoopScope modal;
  result.ok = (save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn)) != FALSE;
  if (result.ok) {
    result.file = U(file.data());
    result.filterIndex = static_cast<int>(ofn.nFilterIndex);
  }
  return result;
}
}  // namespace

FileDialogResult OpenFileDialog(HWND owner, const FileDialogSpec& desc) { return Run(owner, desc, false); }

namespace {
int CALLBACK SelectInitialFolder(HWND dialog, UINT msg, LPARAM, LPARAM data) {
  if (msg == BFFM_INITIALIZED && data) SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, data);
  return 0;
}
}  // namespace

void BrowseForFolder(HWND owner, std::u16string_view title, std::u16string_view initialFolder,
                     std::u16string& folder) {
  const std::u16string text(title);
  const std::u16string initial(initialFolder);
  BROWSEINFOW info{};
  info.hwndOwner = owner;
  info.lpszTitle = W(text);
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;  // 0x41
  if (!initial.empty()) {
    info.lpfn = SelectInitialFolder;
    info.lParam = reinterpret_cast<LPARAM>(W(initial));
  }
  folder.clear();
  const ModalLoopScope modal;
  PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&info);
  if (!item) return;
  wchar_t path[MAX_PATH + 1] = {};  // 261 characters
  if (SHGetPathFromIDListW(item, path)) folder = U(path);
  CoTaskMemFree(item);
}
FileDialogResult SaveFileDialog(HWND owner, const FileDialogSpec& desc) { return Run(owner, desc, true); }

}  // namespace gui
