// TForm1: pictures from the clipboard. A change without text goes to the picture slots of
// TForm5 and, when that switch is on, to a numbered JPEG file in "图片保存"; the check timer
// re-posts a clipboard picture while saving and clearing are both on.
#include <windows.h>
#include <shellapi.h>

#include "app/capture/clipboard_session_win32.h"
#include "app/commands/folder_commands.h"
#include "app/mainform/main_form_win32.h"
#include "app/snapshot/snapshot_clipboard_win32.h"
#include "app/startup/secondary_windows_win32.h"
#include "gui/dialogs.h"
#include "gui/gdi.h"
#include "gui/wide.h"
#include "windows/pictures/dib_check.h"
#include "windows/pictures/picture_files.h"
#include "windows/pictures/picture_writers.h"

namespace app {

namespace {
using windows::Picture;

constexpr std::u16string_view kPictureFolderName = u"图片保存";
std::u16string PictureFolder(const AppPaths& paths) { return paths.BaseDir + u"\\" + std::u16string(kPictureFolderName); }

// A picture kept from the clipboard: its DIB as the clipboard gave it, checked, cut to its size.
Picture DibPicture(std::span<const std::uint8_t> block) {
  const windows::DibCheck check = windows::CheckDib(block);
  if (!check.ok()) return nullptr;
  return std::make_shared<const std::vector<std::uint8_t>>(block.begin(), block.begin() + check.info.totalBytes);
}

// A metafile drawn at its own size onto a white 24-bit picture.
Picture DrawnPicture(int width, int height, const std::function<void(HDC, const RECT&)>& draw) {
  if (width <= 0 || height <= 0) return nullptr;
  const std::uint64_t stride = (std::uint64_t(width) * 24 + 31) / 32 * 4;
  if (stride * std::uint64_t(height) > windows::kMaxPictureBytes ||
      std::uint64_t(width) * height * 4 > windows::kMaxPictureBytes) {
    return nullptr;
  }
  BITMAPINFOHEADER header{sizeof header};
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  HBITMAP bitmap = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
  Picture picture;
  if (bitmap && bits) {
    HGDIOBJ old = SelectObject(dc, bitmap);
    const RECT all{0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    draw(dc, all);
    GdiFlush();
    SelectObject(dc, old);
    std::vector<std::uint8_t> dib(sizeof header + static_cast<std::size_t>(stride * height));
    memcpy(dib.data(), &header, sizeof header);
    memcpy(dib.data() + sizeof header, bits, dib.size() - sizeof header);
    picture = DibPicture(dib);
  }
  if (bitmap) DeleteObject(bitmap);
  DeleteDC(dc);
  return picture;
}

int HimetricToPixels(LONG himetric, int pixelsPerInch) { return MulDiv(himetric, pixelsPerInch, 2540); }

Picture EnhancedMetafilePicture(HENHMETAFILE metafile) {
  ENHMETAHEADER header{};
  if (!metafile || GetEnhMetaFileHeader(metafile, sizeof header, &header) == 0) return nullptr;
  // rclFrame is in hundredths of a millimetre, as large as the picture was made.
  HDC screen = GetDC(nullptr);
  const int dpiX = GetDeviceCaps(screen, LOGPIXELSX), dpiY = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  const int width = HimetricToPixels(header.rclFrame.right - header.rclFrame.left, dpiX);
  const int height = HimetricToPixels(header.rclFrame.bottom - header.rclFrame.top, dpiY);
  return DrawnPicture(width, height, [&](HDC dc, const RECT& all) { PlayEnhMetaFile(dc, metafile, &all); });
}

Picture MetafilePicture(HGLOBAL block) {
  GlobalMemoryLock lock(block);
  if (!lock.locked() || lock.bytes().size() < sizeof(METAFILEPICT)) return nullptr;
  METAFILEPICT pict;
  memcpy(&pict, lock.bytes().data(), sizeof pict);
  // Its extent is in hundredths of a millimetre for the scalable mapping modes.
  HDC screen = GetDC(nullptr);
  const int dpiX = GetDeviceCaps(screen, LOGPIXELSX), dpiY = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  const int width = HimetricToPixels(std::abs(pict.xExt), dpiX), height = HimetricToPixels(std::abs(pict.yExt), dpiY);
  return DrawnPicture(width, height, [&](HDC dc, const RECT& all) {
    SetMapMode(dc, pict.mm == MM_ISOTROPIC ? MM_ISOTROPIC : MM_ANISOTROPIC);
    SetWindowExtEx(dc, width, height, nullptr);
    SetViewportExtEx(dc, all.right, all.bottom, nullptr);
    PlayMetaFile(dc, pict.hMF);
  });
}
}  // namespace

windows::PictureWindowHooks TForm1::PictureWindowHooks() {
  windows::PictureWindowHooks hooks;
  hooks.windowCreated = [this] { capture_.PictureWindowPending = false; };
  hooks.pictureGoesToClipboard = [this](const std::function<void()>& write) {
    capture_.PictureRetryArmed = false;
    WriteClipboardOwn(write);
  };
  hooks.playSound = [this](std::u16string_view wave) { PlaySoundFile(wave); };
  hooks.pictureFolder = PictureFolder(paths_);
  return hooks;
}

// ---- Reading and writing the clipboard's picture ------------------------------------------------

namespace {
// The picture of the clipboard this thread holds open.
Picture ReadOpenClipboardPicture() {
  // A bitmap comes as a DIB (the system makes one from CF_BITMAP); metafiles are drawn.
  if (IsClipboardFormatAvailable(CF_DIB)) {
    if (HANDLE block = GetClipboardData(CF_DIB)) {
      GlobalMemoryLock lock(block);
      if (lock.locked()) return DibPicture(lock.bytes());
    }
  }
  if (IsClipboardFormatAvailable(CF_ENHMETAFILE)) {
    return EnhancedMetafilePicture(static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE)));
  }
  if (IsClipboardFormatAvailable(CF_METAFILEPICT)) {
    return MetafilePicture(static_cast<HGLOBAL>(GetClipboardData(CF_METAFILEPICT)));
  }
  return nullptr;
}
}  // namespace

ClipboardReader::Read TForm1::ReadPictureInto(std::shared_ptr<Picture> picture) const {
  return [picture = std::move(picture), answerMs = clipboardReader_.budget().ownerAnswerMs](const std::atomic<bool>&) {
    Clipboardbaocun::OwnerQuestion owner;
    if (owner.Answered(answerMs)) *picture = ReadOpenClipboardPicture();
  };
}

Picture TForm1::ReadClipboardPicture() {
  // Read on the reader's thread, as the capture's text: the owner may render the picture late
  // or not at all; then there is none.
  auto picture = std::make_shared<Picture>();
  const ClipboardReader::Outcome read = clipboardReader_.Run(WaitForClipboard(), ReadPictureInto(picture));
  return read == ClipboardReader::Outcome::Done ? *picture : nullptr;
}

bool TForm1::PutPictureOnClipboard(const Picture& picture) {
  if (!picture) return false;
  try {
    const ClipboardSession session(Handle(), WaitForClipboard());
    if (!EmptyClipboard()) return false;
    GlobalMemory block = GlobalMemory::CopyOf(*picture);
    if (!SetClipboardData(CF_DIB, block.get())) return false;
    block.release();
    return true;
  } catch (const ClipboardError&) {
    return false;
  }
}

void TForm1::StoreClipboardPicture() {
  // A capture's read: at the session's end the picture still reaches its slot and its file.
  auto picture = std::make_shared<Picture>();
  RunCaptureRead(ReadPictureInto(picture), [this, picture](ClipboardReader::Outcome outcome) {
    if (outcome != ClipboardReader::Outcome::Done || !*picture) return;  // an empty or unreadable picture stores nothing
    myimageszancunziClick(*picture);
    if (Checked(u"menu_tupianbaocun")) tupianbaocunziClick(*picture);
  });
}

// ---- The picture slots --------------------------------------------------------------------------

void TForm1::myimageszancunziClick(const Picture& picture) {
  if (!Form5 || !picture) return;
  if (Form5->StorePicture(picture) == 0) return;  // every slot is locked
  if (!Checked(u"menu_tupianbaocun")) PlaySoundFile(u"image图片组暂存.wav");
  capture_.PictureRetryArmed = true;
}

// ---- Picture files --------------------------------------------------------------------------------

void TForm1::tupianbaocunziClick(const Picture& picture) {
  if (!picture) return;
  const windows::DibCheck check = windows::CheckDib(*picture);
  if (!check.ok()) return;
  const windows::JpegResult jpeg = windows::JpegFileBytes(*picture, check.info);
  if (!jpeg.ok()) {
    if (!SessionEnding) gui::MessageBoxU(jpeg.error, u"出错", MB_OK | MB_ICONERROR);
    return;
  }
  const std::u16string folder = PictureFolder(paths_);
  CreateDirectoryW(gui::W(folder), nullptr);
  auto name = [&](int n) {
    const std::string digits = std::to_string(n);
    return folder + u"\\" + std::u16string(digits.begin(), digits.end()) + u".jpg";
  };
  // The picture is written whole beside its place first; it then takes the free number
  // without replacing a file another program put there meanwhile.
  const std::u16string temporary = folder + u"\\~图片.tmp";
  HANDLE file = CreateFileW(gui::W(temporary), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  const bool complete = file != INVALID_HANDLE_VALUE &&
                        WriteFile(file, jpeg.bytes.data(), static_cast<DWORD>(jpeg.bytes.size()), &written, nullptr) &&
                        written == jpeg.bytes.size();
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  windows::NumberedSave save;
  if (complete) {
    save = windows::SaveUnderFirstFreeNumber(
        [&](int n) { return GetFileAttributesW(gui::W(name(n))) != INVALID_FILE_ATTRIBUTES; },
        [&](int n) {
          if (MoveFileW(gui::W(temporary), gui::W(name(n)))) return windows::PlaceOutcome::Placed;
          const DWORD error = GetLastError();
          return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? windows::PlaceOutcome::Taken
                                                                              : windows::PlaceOutcome::Failed;
        });
  } else {
    save.failed = true;
  }
  if (save.number == 0) DeleteFileW(gui::W(temporary));
  // At the session's end (the capture finished from inside its read) no box shows and the
  // clipboard is left as it is.
  if (SessionEnding) return;
  if (save.full) {
    gui::MessageBoxU(u"无法保存！文件数大于65000", u"出错", MB_OK);
    return;
  }
  if (save.failed) {
    gui::MessageBoxU(u"无法保存图片文件：" + folder, u"出错", MB_OK | MB_ICONERROR);
    return;
  }
  if (Checked(u"qinkongjianqieban")) {
    WriteClipboardOwn([&] {
      const ClipboardSession session(Handle(), WaitForClipboard());
      EmptyClipboard();
    });
  }
  PlaySoundFile(u"图片保存.wav");
}

// ---- The switches and rows of the picture commands ---------------------------------------------

void TForm1::menu_tupianbaocunClick() { capture_.PictureRetryArmed = true; }

void TForm1::qinkongjianqiebanClick() {
  capture_.PictureRetryArmed = true;
  if (!Checked(u"qinkongjianqieban")) {
    gui::MessageBoxU(u"如果你正在连续复制保存网页图片，建议选择打钩设为有效，否则网页关闭后会多保存出一个文件，"
                     u"并且剪切板有可能会失去响应！",
                     u"友情提示", MB_OK);
  }
}

void TForm1::jiansitupiangesiClick() {
  // The window is in the chain already. A picture on the clipboard now, passed over while the
  // switch was off, is taken as a change; a text taken already is not taken again.
  if (!Checked(u"jiansitupiangesi")) return;
  const std::optional<ClipboardLook> look = LookAtClipboard();
  if (look && look->picture && !look->text) lastSeenSequence_ = 0;
  TakeClipboardChange(false);
}

void TForm1::OpenFolderInExplorer(const std::u16string& folder, int show) {
  const std::u16string arguments = ExplorerFolderArguments(folder);
  ShellExecuteW(Handle(), L"open", L"Explorer.exe", gui::W(arguments), nullptr, show);
}

void TForm1::OpenProgramFolder(std::u16string_view name) {
  const std::u16string folder = paths_.BaseDir + u"\\" + std::u16string(name);
  CreateDirectoryW(gui::W(folder), nullptr);
  OpenFolderInExplorer(folder, SW_SHOWMAXIMIZED);
}

void TForm1::N131Click() { OpenProgramFolder(kPictureFolderName); }

void TForm1::N137Click() {
  if (!Form5) return;
  NeedWindow(SecondaryWindow::Pictures);
  Form5->Show();
  Form5->BringToFront();
}

// ---- The check timer's picture repair -------------------------------------------------------------

bool TForm1::PictureRepairDue() {
  return Checked(u"jiansitupiangesi") && Checked(u"menu_tupianbaocun") && Checked(u"qinkongjianqieban") &&
         capture_.PictureRetryArmed;
}

void TForm1::RepairClipboardPicture() {
  // A picture left on the clipboard while saving and clearing are on was missed: join the
  // chain again and put it back, so that the change is captured.
  JoinClipboardChain();
  PlaySoundFile(u"出错.wav");
  capture_.CaptureBusy = false;
  const Picture picture = ReadClipboardPicture();
  capture_.SkipNextClipChange = false;
  PutPictureOnClipboard(picture);
}

void TForm1::BindPictureCommands() {
  Bind(u"tupianbaocunziClick", [this] { tupianbaocunziClick(ReadClipboardPicture()); });
  Bind(u"myimageszancunziClick", [this] { myimageszancunziClick(ReadClipboardPicture()); });
  Bind(u"menu_tupianbaocunClick", [this] { menu_tupianbaocunClick(); });
  Bind(u"qinkongjianqiebanClick", [this] { qinkongjianqiebanClick(); });
  Bind(u"jiansitupiangesiClick", [this] { jiansitupiangesiClick(); });
  Bind(u"N131Click", [this] { N131Click(); });
  Bind(u"N137Click", [this] { N137Click(); });
}

}  // namespace app
