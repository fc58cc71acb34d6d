#include "windows/picture_form_win32.h"

#include "gui/dialogs.h"
#include "gui/file_dialogs.h"
#include "gui/gdi.h"
#include "gui/guard.h"
#include "gui/sent_message_pause.h"
#include "gui/wide.h"
#include "unicode/uni_file_stream.h"
#include "unicode/wide_exceptions.h"
#include "windows/pictures/dib_check.h"
#include "windows/pictures/picture_files.h"
#include "windows/pictures/picture_writers.h"

namespace windows {

namespace {
constexpr int kImageWidth = 130, kImageHeight = 105;
constexpr int kLabelWidth = 50, kLabelHeight = 25;
// A class name of its own: other windows have image controls of their own classes.
constexpr wchar_t kImageClass[] = L"TSlotImage";

constexpr unsigned kPlain = gui::kMenuPlain;
constexpr gui::MenuRowSpec kMainMenu1[] = {
    {0, u"bianji", u"  编辑  ", u"", gui::kMenuSubmenu},
    {1, u"tupianquanbusuodin", u"全部锁定", u"tupianquanbusuodinClick", kPlain},
    {1, u"tupianquanbujiesuo", u"全部解锁", u"tupianquanbujiesuoClick", kPlain},
    {1, u"tupianquanbusancu", u"全部删除", u"tupianquanbusancuClick", kPlain},
    {1, u"N6", u"删除所有未锁定的图片", u"N6Click", kPlain},
};
constexpr gui::MenuRowSpec kPopupMenu1[] = {
    {0, u"tupiandangesancu", u"单个删除", u"tupiandangesancuClick", kPlain},
    {0, u"suodin", u"锁定", u"suodinClick", kPlain},
    {0, u"jiesuo", u"解锁", u"jiesuoClick", kPlain},
    {0, u"tupianlincunwei", u"另存为", u"tupianlincunweiClick", kPlain},
};
}  // namespace

// One slot's picture: drawn stretched; the mouse starts drags and opens the context menu.
class SlotImage {
 public:
  SlotImage(TForm5& form, HWND parent, int slot, int left, int top) : form_(form), slot_(slot) {
    static const bool registered = [] {
      WNDCLASSEXW wc{sizeof wc};
      wc.lpfnWndProc = &SlotImage::WindowProc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
      wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
      wc.lpszClassName = kImageClass;
      return RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
    hwnd_ = CreateWindowExW(WS_EX_CLIENTEDGE, kImageClass, L"", WS_CHILD | WS_VISIBLE, left, top, kImageWidth,
                            kImageHeight, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(900 + slot)),
                            GetModuleHandleW(nullptr), this);
  }
  ~SlotImage() {
    if (hwnd_ && IsWindow(hwnd_)) {
      SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
      DestroyWindow(hwnd_);
    }
  }
  HWND Handle() const { return hwnd_; }
  int Slot() const { return slot_; }  // the image's tag
  void SetPicture(Picture picture) {
    picture_ = std::move(picture);
    InvalidateRect(hwnd_, nullptr, TRUE);
  }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
      auto* creating = static_cast<SlotImage*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
      creating->hwnd_ = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creating));
    }
    auto* self = reinterpret_cast<SlotImage*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    return gui::Guarded("TSlotImage", LRESULT{0}, [&] { return self->Handle(msg, wp, lp); });
  }

  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
      case WM_PAINT: {
        gui::PaintScope paint(hwnd_);
        Paint(paint.dc());
        return 0;
      }
      case WM_LBUTTONDOWN:
        // A drag starts at once on the press (and copies the picture); it ends where the
        // button is released.
        SetCapture(hwnd_);
        dragging_ = true;
        form_.myimagesStartDrag(slot_);
        return 0;
      case WM_MOUSEMOVE:
        if (dragging_) SetCursor(LoadCursorW(nullptr, TargetAt(lp) ? IDC_UPARROW : IDC_NO));
        return 0;
      case WM_LBUTTONUP: {
        const bool wasDragging = dragging_;
        dragging_ = false;
        if (GetCapture() == hwnd_) ReleaseCapture();
        if (wasDragging) {
          if (const SlotImage* target = TargetAt(lp)) form_.myimagesDragDrop(slot_, target->slot_);
        }
        return 0;
      }
      case WM_CAPTURECHANGED:
        dragging_ = false;
        return 0;
      case WM_CONTEXTMENU: {
        POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        if (p.x == -1 && p.y == -1) {  // from the keyboard: at the image
          p = {0, 0};
          ClientToScreen(hwnd_, &p);
        }
        form_.myimagesContextPopup(slot_, p.x, p.y);
        return 0;
      }
      default:
        return DefWindowProcW(hwnd_, msg, wp, lp);
    }
  }

  // The slot image under a point of this image's client area that accepts this drag.
  const SlotImage* TargetAt(LPARAM lp) const {
    POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
    ClientToScreen(hwnd_, &p);
    HWND under = WindowFromPoint(p);
    if (!under) return nullptr;
    wchar_t name[16] = {};
    GetClassNameW(under, name, 16);
    if (lstrcmpW(name, kImageClass) != 0) return nullptr;
    const auto* target = reinterpret_cast<const SlotImage*>(GetWindowLongPtrW(under, GWLP_USERDATA));
    if (!target || &target->form_ != &form_ || !form_.myimagesDragOver(slot_, target->slot_)) return nullptr;
    return target;
  }

  void Paint(HDC dc) const {
    if (!picture_) return;
    const DibCheck check = CheckDib(*picture_);
    if (!check.ok()) return;
    RECT client{};
    GetClientRect(hwnd_, &client);
    const auto* info = reinterpret_cast<const BITMAPINFO*>(picture_->data());
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchDIBits(dc, 0, 0, client.right, client.bottom, 0, 0, check.info.width, check.info.height,
                  picture_->data() + check.info.pixelOffset, info, DIB_RGB_COLORS, SRCCOPY);
  }

  TForm5& form_;
  int slot_;
  HWND hwnd_ = nullptr;
  Picture picture_;
  bool dragging_ = false;
};

TForm5::TForm5()
    : SecondaryForm(
          [] {
            gui::FormSpec desc;
            desc.windowClass = u"TForm5";
            desc.caption = u"查看剪切板中的图片数据";
            desc.width = 749;
            desc.height = 439;
            desc.style = WS_OVERLAPPEDWINDOW;
            desc.exStyle = WS_EX_TOPMOST;
            return desc;
          }(),
          true) {}

TForm5::~TForm5() = default;

void TForm5::CreateControls() {
  MainMenu1.Build(gui::Menu::Kind::Bar, kMainMenu1, 500);
  PopupMenu1.Build(gui::Menu::Kind::Popup, kPopupMenu1, 600);
  SetMenuBar(MainMenu1);
  AddPopupMenu(PopupMenu1);
  auto bind = [this](std::u16string_view handler, std::function<void()> action) {
    MainMenu1.Bind(handler, action);
    PopupMenu1.Bind(handler, action);
  };
  bind(u"tupiandangesancuClick", [this] { tupiandangesancuClick(); });
  bind(u"suodinClick", [this] { suodinClick(); });
  bind(u"jiesuoClick", [this] { jiesuoClick(); });
  bind(u"tupianquanbusuodinClick", [this] { tupianquanbusuodinClick(); });
  bind(u"tupianquanbujiesuoClick", [this] { tupianquanbujiesuoClick(); });
  bind(u"tupianquanbusancuClick", [this] { tupianquanbusancuClick(); });
  bind(u"N6Click", [this] { N6Click(); });
  bind(u"tupianlincunweiClick", [this] { tupianlincunweiClick(); });
  gui::ControlSpec button;
  button.id = 100;
  button.left = 4;
  button.top = 4;
  button.width = 80;
  button.height = 26;
  button.text = u"全部删除";
  ToolButton1.Create(hwnd_, button, Font());
  ToolButton1.OnClick = [this] { tupianquanbusancuClick(); };
}

void TForm5::FormCreate() {
  SecondaryForm::FormCreate();  // scaled by the main window's routine
  for (int r = 0; r <= 1; ++r) {
    for (int c = 1; c <= 5; ++c) {
      const int s = r * 5 + c;
      const int left = (c - 1) * 140 + 24, top = r * 165 + 48;
      Images[s] = std::make_unique<SlotImage>(*this, hwnd_, s, left, top);
      gui::ControlSpec label;
      label.id = 800 + s;
      label.left = left + 20;
      label.top = top + kImageHeight + 10;
      label.width = kLabelWidth;
      label.height = kLabelHeight;
      label.text = u"空";
      Labels[s].Create(hwnd_, label, Font());
    }
  }
  ShowAllSlots();  // what the slots took before the window was made
}

void TForm5::Start() {
  slots_.deleteAll();  // every state 0, NextPictureSlot 1
  if (hooks_.windowCreated) hooks_.windowCreated();
}

bool TForm5::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg != WM_CTLCOLORSTATIC) return false;
  for (int s = 1; s <= PictureSlots::kSlots; ++s) {
    if (Labels[s].Handle() != reinterpret_cast<HWND>(lp)) continue;
    const HDC dc = reinterpret_cast<HDC>(wp);
    SetTextColor(dc, LabelFor(slots_.state(s)).red ? RGB(255, 0, 0) : RGB(0, 0, 0));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    return true;
  }
  return false;
}

void TForm5::ShowSlot(int slot) {
  if (!Handle()) return;  // the window shows the slots when it is made
  const SlotLabel label = LabelFor(slots_.state(slot));
  Labels[slot].SetText(label.caption);
  Labels[slot].Invalidate();
  Images[slot]->SetPicture(slots_.picture(slot));
}

void TForm5::ShowAllSlots() {
  for (int s = 1; s <= PictureSlots::kSlots; ++s) ShowSlot(s);
}

int TForm5::StorePicture(Picture picture) {
  const std::optional<int> slot = slots_.store(std::move(picture));
  if (!slot) return 0;
  ShowSlot(*slot);
  return *slot;
}

void TForm5::tupiandangesancuClick() {
  slots_.deleteOne(CurrentPictureSlot);
  ShowAllSlots();
}
void TForm5::suodinClick() {
  slots_.lock(CurrentPictureSlot);
  ShowAllSlots();
}
void TForm5::jiesuoClick() {
  slots_.unlock(CurrentPictureSlot);
  ShowAllSlots();
}
void TForm5::tupianquanbusuodinClick() {
  slots_.lockAll();
  ShowAllSlots();
}
void TForm5::tupianquanbujiesuoClick() {
  slots_.unlockAll();
  ShowAllSlots();
}
void TForm5::tupianquanbusancuClick() {
  slots_.deleteAll();
  ShowAllSlots();
}
void TForm5::N6Click() {
  slots_.deleteUnlocked();
  ShowAllSlots();
}

void TForm5::myimagesContextPopup(int slot, int screenX, int screenY) {
  CurrentPictureSlot = slot;
  const SlotMenu menu = ContextMenuFor(slots_.state(slot));
  PopupMenu1.SetEnabled(u"tupiandangesancu", menu.deleteOne);
  PopupMenu1.SetEnabled(u"suodin", menu.lock);
  PopupMenu1.SetEnabled(u"jiesuo", menu.unlock);
  PopupMenu1.SetEnabled(u"tupianlincunwei", menu.saveAs);
  PopupMenu1.Popup(hwnd_, screenX, screenY);
}

void TForm5::CopyToClipboardOwn(const Picture& picture) {
  if (hooks_.pictureGoesToClipboard) hooks_.pictureGoesToClipboard([&] { CopyToClipboard(picture); });
  else CopyToClipboard(picture);
}

bool TForm5::CopyToClipboard(const Picture& picture) {
  if (!picture) return false;
  const DibCheck check = CheckDib(*picture);
  if (!check.ok()) return false;
  // The clipboard may be busy for a moment: a few tries, then the copy is given up.
  bool opened = false;
  for (int attempt = 0; attempt < 20 && !(opened = OpenClipboard(hwnd_)); ++attempt) gui::PauseAnsweringSentMessages(50);
  if (!opened) return false;
  bool done = false;
  if (EmptyClipboard()) {
    if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, check.info.totalBytes)) {
      if (void* bytes = GlobalLock(block)) {
        memcpy(bytes, picture->data(), check.info.totalBytes);
        GlobalUnlock(block);
        done = SetClipboardData(CF_DIB, block) != nullptr;
      }
      if (!done) GlobalFree(block);
    }
  }
  CloseClipboard();
  return done;
}

void TForm5::myimagesStartDrag(int slot) {
  DragSourceSlot = slot;
  if (slots_.state(slot) == SlotState::Empty) return;
  // The change this copy raises is not a new picture, and the check timer must not post it.
  CopyToClipboardOwn(slots_.picture(slot));
  dragCopySequence_ = GetClipboardSequenceNumber();
  if (hooks_.playSound) hooks_.playSound(u"image图片组单击.wav");
}

bool TForm5::myimagesDragOver(int source, int target) const { return source != target && source >= 1; }

void TForm5::myimagesDragDrop(int source, int target) {
  DragTargetSlot = target;
  // The slots swap in memory; the clipboard is not a store on the way.
  if (!slots_.swap(source, target)) return;
  ShowSlot(source);
  ShowSlot(target);
  // The clipboard holds the dragged picture since the drag started; copy it again only when
  // something else went there meanwhile.
  if (GetClipboardSequenceNumber() != dragCopySequence_) {
    CopyToClipboardOwn(slots_.picture(target));
    dragCopySequence_ = GetClipboardSequenceNumber();
  }
}

void TForm5::tupianlincunweiClick() {
  const int slot = CurrentPictureSlot;
  if (slots_.state(slot) == SlotState::Empty) return;
  const Picture picture = slots_.picture(slot);
  const DibCheck check = CheckDib(*picture);
  if (!check.ok()) return;
  gui::FileDialogSpec desc;
  desc.filter = u"bmp|*.bmp|jpg|*.jpg";
  desc.filterIndex = 1;
  desc.initialDir = hooks_.pictureFolder;
  const gui::FileDialogResult chosen = gui::SaveFileDialog(hwnd_, desc);
  if (!chosen.ok) return;
  const std::u16string path = WithPictureExtension(chosen.file, chosen.filterIndex);
  // The dialog asked about the name as typed; the extension added here may name a file that
  // exists, which is replaced only when the user says so.
  if (path != chosen.file && gui::FileExists(path) &&
      gui::MessageBoxU(ReplaceQuestion(path), u"另存为", MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) != IDYES) {
    return;
  }
  std::string bytes;
  if (IsJpegFilter(chosen.filterIndex)) {
    JpegResult jpeg = JpegFileBytes(*picture, check.info);
    if (!jpeg.ok()) {
      gui::MessageBoxU(jpeg.error, u"出错", MB_OK | MB_ICONERROR);
      return;
    }
    bytes = std::move(jpeg.bytes);
  } else {
    bytes = BmpFileBytes(*picture, check.info);
  }
  try {
    unicode::TReplacingFile file(path);
    file.Stream().WriteBuffer(bytes.data(), bytes.size());
    file.Commit();
  } catch (const unicode::WideException& e) {
    gui::MessageBoxU(u"无法保存图片：" + e.Message(), u"出错", MB_OK | MB_ICONERROR);
  }
}

}  // namespace windows
