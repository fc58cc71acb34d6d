// The hex editor's OLE side: its data object and format enumerator, the drop source and
// drop target, and the clipboard commands and the paste/drop routine built on them.
#include <windows.h>

#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "gui/clipboard_reads.h"
#include "gui/dialogs.h"
#include "gui/wide.h"
#include "hexedit/format_sel_dialog_win32.h"
#include "hexedit/hex_editor_control_win32.h"
#include "unicode/codepage.h"

namespace hexedit {

const RegisteredFormats& ClipboardFormats() {
  static const RegisteredFormats formats = [] {
    RegisteredFormats f;
    f.own = RegisterClipboardFormatW(gui::W(kOwnFormatName));
    f.regEdit = RegisterClipboardFormatW(gui::W(kRegEditFormatName));
    f.richText = RegisterClipboardFormatW(gui::W(kRichTextFormatName));
    f.fileContents = RegisterClipboardFormatW(gui::W(kFileContentsName));
    f.fileGroupDescriptor = RegisterClipboardFormatW(gui::W(kFileGroupDescriptorName));
    return f;
  }();
  return formats;
}

unsigned PerformedDropEffectFormat() {
  static const unsigned id = RegisterClipboardFormatW(gui::W(kPerformedDropEffectName));
  return id;
}

unsigned LogicalPerformedDropEffectFormat() {
  static const unsigned id = RegisterClipboardFormatW(gui::W(kLogicalPerformedDropEffectName));
  return id;
}

namespace {
// Registered once per process, as soon as the library is loaded.
const bool kFormatsRegistered = (ClipboardFormats(), PerformedDropEffectFormat(), LogicalPerformedDropEffectFormat(), true);

FORMATETC Format(unsigned id, LONG index = -1, DWORD tymed = TYMED_HGLOBAL) {
  return FORMATETC{static_cast<CLIPFORMAT>(id), nullptr, DVASPECT_CONTENT, index, tymed};
}

HGLOBAL ToGlobal(const void* bytes, size_t size) {
  HGLOBAL global = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, std::max<size_t>(size, 1));
  if (!global) return nullptr;
  if (size) {
    void* p = GlobalLock(global);
    std::memcpy(p, bytes, size);
    GlobalUnlock(global);
  }
  return global;
}

std::vector<FORMATETC> OfferedFormats() {
  const RegisteredFormats& f = ClipboardFormats();
  return {Format(f.own), Format(CF_TEXT), Format(f.fileGroupDescriptor), Format(f.fileContents, 0)};
}

}  // namespace

// The reference count and interface query of a COM object with one interface; the object
// deletes itself when the last reference goes.
template <class Interface, const IID& kInterfaceId>
class ComObject : public Interface {
 public:
  virtual ~ComObject() = default;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == kInterfaceId) {
      *out = static_cast<Interface*>(this);
      this->AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return left;
  }

 private:
  LONG refs_ = 1;
};

// ---- THxEnumFormatETC

class THxEnumFormatETC final : public ComObject<IEnumFORMATETC, IID_IEnumFORMATETC> {
 public:
  explicit THxEnumFormatETC(std::vector<FORMATETC> formats, ULONG index = 0)
      : formats_(std::move(formats)), index_(index) {}

  HRESULT STDMETHODCALLTYPE Next(ULONG count, FORMATETC* out, ULONG* fetched) override {
    if (!out || (count > 1 && !fetched)) return E_INVALIDARG;
    ULONG n = 0;
    while (n < count && index_ < formats_.size()) out[n++] = formats_[index_++];
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    index_ += count;
    if (index_ > formats_.size()) {
      index_ = static_cast<ULONG>(formats_.size());
      return S_FALSE;
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    index_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC** out) override {
    if (!out) return E_POINTER;
    *out = new THxEnumFormatETC(formats_, index_);
    return S_OK;
  }

 private:
  std::vector<FORMATETC> formats_;
  ULONG index_;
};

// ---- THxDataObject

class THxDataObject final : public ComObject<IDataObject, IID_IDataObject> {
 public:
  THxDataObject(Bytes bytes, bool swapNibbles, bool hexText, std::u16string virtualName)
      : bytes_(std::move(bytes)), swap_(swapNibbles), hexText_(hexText), name_(std::move(virtualName)) {}


  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (!format || !medium) return E_INVALIDARG;
    const HRESULT check = Check(*format);
    if (check != S_OK) return check;
    HGLOBAL global = Render(format->cfFormat);
    if (!global) return E_OUTOFMEMORY;
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = global;
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    return format ? Check(*format) : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    if (out) out->ptd = nullptr;
    return E_NOTIMPL;
  }
  // Only the drop target's report of what it did is taken.
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override {
    if (!format || !medium) return E_INVALIDARG;
    const bool effect = format->cfFormat == PerformedDropEffectFormat() ||
                        format->cfFormat == LogicalPerformedDropEffectFormat();
    if (!effect || medium->tymed != TYMED_HGLOBAL) return DV_E_FORMATETC;
    if (GlobalSize(medium->hGlobal) >= sizeof(DWORD)) {
      const auto* value = static_cast<const DWORD*>(GlobalLock(medium->hGlobal));
      if (value) {
        performedEffect_ = *value;
        GlobalUnlock(medium->hGlobal);
      }
    }
    if (release) ReleaseStgMedium(medium);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
    if (!out) return E_POINTER;
    if (direction != DATADIR_GET) {
      *out = nullptr;
      return E_NOTIMPL;
    }
    *out = new THxEnumFormatETC(OfferedFormats());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

  DWORD PerformedEffect() const { return performedEffect_; }

 private:
  HRESULT Check(const FORMATETC& f) const {
    const RegisteredFormats& r = ClipboardFormats();
    const unsigned id = f.cfFormat;
    if (id != r.own && id != CF_TEXT && id != r.fileGroupDescriptor && id != r.fileContents) return DV_E_FORMATETC;
    if (f.dwAspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!(f.tymed & TYMED_HGLOBAL)) return DV_E_TYMED;
    if (f.lindex != -1 && id != r.fileContents) return DV_E_LINDEX;
    return S_OK;
  }

  HGLOBAL Render(unsigned id) const {
    const RegisteredFormats& r = ClipboardFormats();
    if (id == CF_TEXT) {
      const Bytes text = RenderTextFormat(bytes_, hexText_, swap_);
      return ToGlobal(text.data(), text.size());
    }
    if (id == r.own) {
      const Bytes block = BuildOwnBlock(bytes_);
      return ToGlobal(block.data(), block.size());
    }
    if (id == r.fileGroupDescriptor) {
      FILEGROUPDESCRIPTORA group{};
      group.cItems = 1;
      FILEDESCRIPTORA& d = group.fgd[0];
      d.dwFlags = FD_FILESIZE | FD_WRITESTIME;
      d.nFileSizeLow = static_cast<DWORD>(bytes_.size());
      GetSystemTimeAsFileTime(&d.ftLastWriteTime);
      const std::string name = unicode::Utf16ToAnsi(name_);
      std::strncpy(d.cFileName, name.c_str(), 259);
      return ToGlobal(&group, sizeof group);
    }
    return ToGlobal(bytes_.data(), bytes_.size());
  }

  Bytes bytes_;
  bool swap_;
  bool hexText_;
  std::u16string name_;
  DWORD performedEffect_ = DROPEFFECT_NONE;
};

IDataObject* NewHexDataObject(Bytes bytes, bool swapNibbles, bool hexText, const std::u16string& fileName) {
  return new THxDataObject(std::move(bytes), swapNibbles, hexText, VirtualFileName(fileName));
}

// ---- THxDropSource

class THxDropSource final : public ComObject<IDropSource, IID_IDropSource> {
 public:
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override {
    if (escape) return DRAGDROP_S_CANCEL;
    if (!(keys & MK_LBUTTON)) return DRAGDROP_S_DROP;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

 private:
};

// ---- THxDropTarget

namespace {

// What a data object offers, with the names of registered formats.
std::vector<OfferedFormat> OfferedBy(IDataObject* data) {
  std::vector<OfferedFormat> offered;
  IEnumFORMATETC* formats = nullptr;
  if (FAILED(data->EnumFormatEtc(DATADIR_GET, &formats)) || !formats) return offered;
  FORMATETC f{};
  while (formats->Next(1, &f, nullptr) == S_OK) {
    if (f.ptd) CoTaskMemFree(f.ptd);
    const unsigned id = f.cfFormat;
    if (std::any_of(offered.begin(), offered.end(), [id](const OfferedFormat& o) { return o.id == id; })) continue;
    OfferedFormat o{id, {}};
    if (id >= 0xC000) {
      wchar_t name[256] = {};
      if (GetClipboardFormatNameW(id, name, 255) > 0) o.name = gui::U(name);
    }
    offered.push_back(o);
  }
  formats->Release();
  return offered;
}

bool OffersFiles(IDataObject* data) {
  FORMATETC f = Format(CF_HDROP);
  return data->QueryGetData(&f) == S_OK;
}

}  // namespace

class THxDropTarget final : public ComObject<IDropTarget, IID_IDropTarget> {
 public:
  explicit THxDropTarget(HexEditorControl& editor) : editor_(editor) {}


  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL at, DWORD* effect) override {
    usable_ = data && !editor_.ReadOnlyView() &&
              ChoosePasteFormat(OfferedBy(data), editor_.SupportsOtherClipFormats, ClipboardFormats()).kind !=
                  PasteChoice::Kind::None;
    files_ = data && OffersFiles(data);
    return DragOver(keys, at, effect);
  }
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL at, DWORD* effect) override {
    if (!effect) return E_INVALIDARG;
    if (!usable_) {
      *effect = DROPEFFECT_NONE;
      return S_OK;
    }
    *effect = Decide(keys, *effect);
    POINT p{at.x, at.y};
    ScreenToClient(editor_.Handle(), &p);
    const std::optional<CellTarget> target = editor_.TargetOf(editor_.CellAt(p.x, p.y, true));
    const auto size = static_cast<std::int64_t>(editor_.DataSize());
    editor_.SetDropPosition(target ? std::min(target->position, size) : size);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragLeave() override {
    editor_.SetDropPosition(-1);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL at, DWORD* effect) override {
    DragOver(keys, at, effect);
    const std::int64_t position = editor_.DropPosition();
    editor_.SetDropPosition(-1);
    if (!usable_ || !data || *effect == DROPEFFECT_NONE) {
      *effect = DROPEFFECT_NONE;
      return S_OK;
    }
    const bool moveWithinSelf = editor_.OwnDragActive() && *effect == DROPEFFECT_MOVE;
    if (!editor_.PasteFrom(data, true, *effect, position, moveWithinSelf)) *effect = DROPEFFECT_NONE;
    return S_OK;
  }

 private:
  // Move within the control itself; from elsewhere move with Shift, else copy; a moved file
  // list becomes a link to the files (their names).
  DWORD Decide(DWORD keys, DWORD allowed) const {
    DWORD wanted = editor_.OwnDragActive() ? DROPEFFECT_MOVE : ((keys & MK_SHIFT) ? DROPEFFECT_MOVE : DROPEFFECT_COPY);
    if (files_ && wanted == DROPEFFECT_MOVE) wanted = DROPEFFECT_LINK;
    if (allowed & wanted) return wanted;
    if (allowed & DROPEFFECT_COPY) return DROPEFFECT_COPY;
    return DROPEFFECT_NONE;
  }

  HexEditorControl& editor_;
  bool usable_ = false;
  bool files_ = false;
};

// ---- The control's clipboard and drag work

void HexEditorControl::OleDragDropChanged() {
  if (!hwnd_) return;
  if (OleDragDrop() && !dropRegistered_) {
    if (!dropTarget_) dropTarget_ = new THxDropTarget(*this);
    dropRegistered_ = SUCCEEDED(RegisterDragDrop(hwnd_, dropTarget_));
  } else if (!OleDragDrop() && dropRegistered_) {
    RevokeDragDrop(hwnd_);
    dropRegistered_ = false;
  }
}

void HexEditorControl::ReleaseClipboardObject() {
  if (!clipboardObject_) return;
  // At shut-down the data stays on the clipboard only when FlushClipboardAtShutDown.
  if (OleIsCurrentClipboard(clipboardObject_) == S_OK) {
    if (FlushClipboardAtShutDown) OleFlushClipboard();
    else OleSetClipboard(nullptr);
  }
  clipboardObject_->Release();
  clipboardObject_ = nullptr;
}

namespace {
Bytes SelectedBytes(const HexEditorControl& editor) {
  const std::string text = editor.GetSelectionAsText();
  return Bytes(text.begin(), text.end());
}
}  // namespace

void HexEditorControl::CopyToClipboard() {
  if (!CanCopy()) return;
  PushCursor(LoadCursorW(nullptr, IDC_WAIT));
  auto* object = new THxDataObject(SelectedBytes(*this), SwapNibbles(), ClipboardAsHexText, VirtualFileName(FileName));
  if (SUCCEEDED(OleSetClipboard(object))) {
    if (clipboardObject_) clipboardObject_->Release();
    clipboardObject_ = object;
  } else {
    object->Release();
  }
  PopCursor();
}

void HexEditorControl::CutToClipboard() {
  if (!CanCut()) return;
  CopyToClipboard();
  DeleteSelection("Cut to Clipboard");
}

bool HexEditorControl::CanPaste() {
  if (ReadOnlyView() || (NoSizeChange() && DataSize() == 0)) return false;
  // A read the program gave up is still inside its owner: any read would wait for it for good.
  if (gui::ClipboardReadsHeld()) return false;
  IDataObject* data = nullptr;
  if (FAILED(OleGetClipboard(&data)) || !data) return false;
  const bool usable = ChoosePasteFormat(OfferedBy(data), SupportsOtherClipFormats, ClipboardFormats()).kind !=
                      PasteChoice::Kind::None;
  data->Release();
  return usable;
}

void HexEditorControl::PasteFromClipboard() {
  if (ReadOnlyView()) return;
  if (gui::ClipboardReadsHeld()) return gui::ReportClipboardReadsHeld();
  IDataObject* data = nullptr;
  if (FAILED(OleGetClipboard(&data)) || !data) return;
  PasteFrom(data, false, DROPEFFECT_COPY, -1, false);
  data->Release();
}

bool HexEditorControl::ReadDroppedFile(const std::u16string& file, Bytes& bytes) {
  HANDLE h = CreateFileW(gui::W(file), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    gui::MessageBoxU(u"无法打开拖入的文件：" + file, u"出错", MB_OK | MB_ICONERROR);
    return false;
  }
  LARGE_INTEGER size{};
  GetFileSizeEx(h, &size);
  if (size.QuadPart < 0 || static_cast<unsigned long long>(size.QuadPart) > kMaxLoadSize) {
    CloseHandle(h);
    gui::MessageBoxU(u"拖入的文件太大，无法放入编辑器：" + file, u"出错", MB_OK | MB_ICONERROR);
    return false;
  }
  try {
    bytes.resize(static_cast<size_t>(size.QuadPart));
  } catch (const std::bad_alloc&) {
    CloseHandle(h);
    gui::MessageBoxU(u"内存不足，无法放入拖入的文件：" + file, u"出错", MB_OK | MB_ICONERROR);
    return false;
  }
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD read = 0;
    const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 24));
    if (!ReadFile(h, bytes.data() + done, want, &read, nullptr) || read == 0) break;
    done += read;
  }
  CloseHandle(h);
  if (done != bytes.size()) {
    gui::MessageBoxU(u"无法读完拖入的文件：" + file, u"出错", MB_OK | MB_ICONERROR);
    return false;
  }
  return true;
}

namespace {

// A bitmap as the bytes of a bitmap file (24 bits per pixel).
std::optional<Bytes> BitmapFileBytes(HBITMAP bitmap) {
  BITMAP info{};
  if (!GetObjectW(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) return std::nullopt;
  BITMAPINFOHEADER header{sizeof header};
  header.biWidth = info.bmWidth;
  header.biHeight = info.bmHeight;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  const unsigned long long stride = ((static_cast<unsigned long long>(info.bmWidth) * 3 + 3) / 4) * 4;
  const unsigned long long imageSize = stride * static_cast<unsigned long long>(info.bmHeight);
  if (imageSize > kMaxLoadSize) return std::nullopt;
  Bytes out(sizeof(BITMAPFILEHEADER) + sizeof header + imageSize);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfSize = static_cast<DWORD>(out.size());
  file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof header;
  std::memcpy(out.data(), &file, sizeof file);
  std::memcpy(out.data() + sizeof file, &header, sizeof header);
  HDC dc = GetDC(nullptr);
  const int lines = GetDIBits(dc, bitmap, 0, static_cast<UINT>(info.bmHeight), out.data() + file.bfOffBits,
                              reinterpret_cast<BITMAPINFO*>(out.data() + sizeof file), DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  if (lines == 0) return std::nullopt;
  return out;
}

std::optional<Bytes> StreamBytes(IStream* stream) {
  Bytes out;
  unsigned char buffer[65536];
  for (;;) {
    ULONG read = 0;
    if (FAILED(stream->Read(buffer, sizeof buffer, &read)) || read == 0) break;
    if (out.size() + read > kMaxLoadSize) return std::nullopt;
    out.insert(out.end(), buffer, buffer + read);
  }
  return out;
}

}  // namespace

bool HexEditorControl::PasteFrom(IDataObject* data, bool drop, DWORD effect, std::int64_t dropPosition,
                                 bool moveWithinSelf) {
  if (!data || ReadOnlyView()) return false;
  const RegisteredFormats& registered = ClipboardFormats();
  const PasteChoice choice = ChoosePasteFormat(OfferedBy(data), SupportsOtherClipFormats, registered);
  unsigned format = choice.format;
  bool hexText = ClipboardAsHexText;
  if (choice.kind == PasteChoice::Kind::None) return false;
  if (choice.kind == PasteChoice::Kind::Ask) {
    const bool hadFocus = GetFocus() == hwnd_;
    const std::optional<FormatSelection> chosen =
        TFormatSelDialog::Execute(GetAncestor(hwnd_, GA_ROOT), choice.candidates, registered);
    // The closed dialog hands the focus to the window; the user goes on in the editor.
    if (hadFocus) ::SetFocus(hwnd_);
    if (!chosen) return false;
    format = chosen->format;
    hexText = hexText || chosen->hexText;
  }

  struct CursorScope {
    HexEditorControl& editor;
    explicit CursorScope(HexEditorControl& e) : editor(e) { editor.PushCursor(LoadCursorW(nullptr, IDC_WAIT)); }
    ~CursorScope() { editor.PopCursor(); }
  } hourglass(*this);

  std::optional<Bytes> bytes;
  if (format == CF_HDROP) {
    FORMATETC f = Format(CF_HDROP);
    STGMEDIUM medium{};
    if (FAILED(data->GetData(&f, &medium))) return false;
    std::vector<std::u16string> files;
    if (auto drops = static_cast<HDROP>(GlobalLock(medium.hGlobal))) {
      const UINT count = DragQueryFileW(drops, 0xFFFFFFFF, nullptr, 0);
      for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drops, i, nullptr, 0);
        std::wstring name(length + 1, L'\0');
        DragQueryFileW(drops, i, name.data(), length + 1);
        name.resize(length);
        files.push_back(gui::U(name));
      }
      GlobalUnlock(medium.hGlobal);
    }
    ReleaseStgMedium(&medium);
    if (files.empty()) return false;
    if (effect & DROPEFFECT_LINK) {
      bytes = FileNamesAsBytes(files);
    } else {
      Bytes contents;
      if (!ReadDroppedFile(files.front(), contents)) return true;  // refused with a message; nothing changed
      bytes = std::move(contents);
    }
  } else if (format == CF_BITMAP) {
    FORMATETC f = Format(CF_BITMAP, -1, TYMED_GDI);
    STGMEDIUM medium{};
    if (FAILED(data->GetData(&f, &medium))) return false;
    bytes = BitmapFileBytes(medium.hBitmap);
    ReleaseStgMedium(&medium);
  } else if (format == CF_ENHMETAFILE) {
    FORMATETC f = Format(CF_ENHMETAFILE, -1, TYMED_ENHMF);
    STGMEDIUM medium{};
    if (FAILED(data->GetData(&f, &medium))) return false;
    const UINT size = GetEnhMetaFileBits(medium.hEnhMetaFile, 0, nullptr);
    if (size > 0 && size <= kMaxLoadSize) {
      Bytes b(size);
      GetEnhMetaFileBits(medium.hEnhMetaFile, size, b.data());
      bytes = std::move(b);
    }
    ReleaseStgMedium(&medium);
  } else {
    FORMATETC f = Format(format, -1, TYMED_HGLOBAL | TYMED_ISTREAM | TYMED_MFPICT);
    STGMEDIUM medium{};
    if (FAILED(data->GetData(&f, &medium))) return false;
    if (medium.tymed == TYMED_ISTREAM && medium.pstm) {
      bytes = StreamBytes(medium.pstm);
      if (bytes && IsTextFormat(format, registered)) {
        bytes = DecodePastedBlock(format, bytes->data(), bytes->size(), hexText, SwapNibbles(), registered);
      }
    } else if (medium.tymed == TYMED_HGLOBAL || medium.tymed == TYMED_MFPICT) {
      HGLOBAL global = medium.tymed == TYMED_HGLOBAL ? medium.hGlobal : medium.hMetaFilePict;
      const SIZE_T size = GlobalSize(global);
      if (const auto* p = static_cast<const std::uint8_t*>(GlobalLock(global))) {
        if (size <= kMaxLoadSize) bytes = DecodePastedBlock(format, p, size, hexText, SwapNibbles(), registered);
        GlobalUnlock(global);
      }
    }
    ReleaseStgMedium(&medium);
  }
  if (!bytes) return false;
  if (bytes->empty()) return true;

  if (!drop) {
    ReplaceSelection(*bytes, "Paste from Clipboard");
    return true;
  }
  const auto size = static_cast<std::int64_t>(DataSize());
  std::int64_t at = dropPosition < 0 ? size : std::min(dropPosition, size);
  if (moveWithinSelf && HasSelection()) {
    const std::int64_t low = SelectionLow(), count = GetSelCount();
    if (at >= low && at <= low + count) return true;  // dropped onto itself: nothing moves
    BeginUndoUpdate("Data Moved");
    DeleteBytes(low, count, "Data Moved");
    if (at > low) at -= count;
    InsertBuffer(*bytes, at, "Data Moved");
    EndUndoUpdate();
    droppedOnSelf_ = true;
  } else {
    ResetSelection();
    InsertBuffer(*bytes, at, "Data Dropped");
  }
  SetSelStart(at);
  SetSelEnd(at + static_cast<std::int64_t>(bytes->size()) - 1);
  return true;
}

void HexEditorControl::StartDrag() {
  CancelDragPending();
  if (!CanCopy()) return;
  auto* object = new THxDataObject(SelectedBytes(*this), SwapNibbles(), ClipboardAsHexText, VirtualFileName(FileName));
  auto* source = new THxDropSource();
  ownDrag_ = true;
  droppedOnSelf_ = false;
  DWORD effect = DROPEFFECT_NONE;
  const DWORD allowed = ReadOnlyView() || NoSizeChange() ? DROPEFFECT_COPY : DROPEFFECT_COPY | DROPEFFECT_MOVE;
  const HRESULT result = DoDragDrop(object, source, allowed, &effect);
  ownDrag_ = false;
  // Moved to another window: the data leaves this one.
  if (result == DRAGDROP_S_DROP && effect == DROPEFFECT_MOVE && !droppedOnSelf_) DeleteSelection("Data Moved");
  object->Release();
  source->Release();
  if (GetCapture() == hwnd_) ReleaseCapture();
}

}  // namespace hexedit
