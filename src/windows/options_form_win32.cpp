#include "windows/options_form_win32.h"

#include <algorithm>

#include "gui/application.h"
#include "gui/dialogs.h"
#include "gui/wide.h"
#include "windows/options_captions.h"
#include "windows/options_control_ids.h"

namespace windows {

namespace id = optionsid;

namespace {
constexpr int kWidth = 440;
constexpr int kHeight = 350;
constexpr wchar_t kIconFolder[] = L"\\图标\\";

gui::ControlSpec At(int controlId, int left, int top, int width, int height, std::u16string text = {}) {
  gui::ControlSpec s;
  s.id = controlId;
  s.left = left, s.top = top, s.width = width, s.height = height;
  s.text = std::move(text);
  return s;
}

std::u16string Decimal(int value) { return gui::U(std::to_wstring(value)); }

std::u16string FileNamePart(const std::u16string& path) {
  const size_t slash = path.find_last_of(u"\\/");
  return slash == std::u16string::npos ? path : path.substr(slash + 1);
}

// An icon file as the window and the preview use it; nullptr when it does not load as one.
HICON LoadIconFile(const std::u16string& file, int size) {
  return static_cast<HICON>(LoadImageW(nullptr, gui::W(file), IMAGE_ICON, size, size, LR_LOADFROMFILE));
}
}  // namespace

void TForm2::Create() {
  if (Handle()) return;
  gui::FormSpec desc;
  desc.windowClass = u"TForm2";
  desc.caption = u"属性设置";
  desc.width = kWidth;
  desc.height = kHeight;
  desc.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MAXIMIZEBOX;
  desc.exStyle = WS_EX_TOPMOST;
  gui::Form::Create(desc);
}

void TForm2::CreateControls() {
  const HFONT font = Font();
  PageControl1.Create(Handle(), At(id::PageControl1, 8, 8, kWidth - 30, 250), font);
  static constexpr const char16_t* kTabs[] = {u"监视文本长度", u"图标", u"托盘", u"连续粘贴", u"连续复制"};
  for (const char16_t* tab : kTabs) PageControl1.AddPage(tab);
  tabIcon_.reset(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, 16, 16, 0)));
  if (!tabIcon_) tabIcon_.reset(CopyIcon(LoadIconW(nullptr, IDI_INFORMATION)));
  PageControl1.AddImage(tabIcon_.get());

  // "监视文本长度"
  HWND page = PageControl1.Page(id::kLengthTab).Handle();
  Label0.Create(page, At(0, 12, 14, 370, 40, u"被监视的剪切板文本有效长度（中英文字符都按一个字符计算）1~320000，最大文本约600k"),
                font);
  Edit0.Create(page, At(id::Edit0, 12, 64, 120, 22), font);
  Edit0.SetMaxLength(6);

  // "图标"
  page = PageControl1.Page(id::kIconTab).Handle();
  Label1.Create(page, At(0, 12, 10, 300, 18, u"选择最小化时任务兰上的图标"), font);
  Edit1.Create(page, At(id::Edit1, 12, 30, 290, 22), font);
  BitBtn1.Create(page, At(id::BitBtn1, 310, 29, 64, 24, u"打开"), font);
  Label2.Create(page, At(0, 12, 72, 300, 18, u"最小化时任务兰上显示的文字"), font);
  Edit2.Create(page, At(id::Edit2, 12, 92, 290, 22), font);
  huanyuang.Create(page, At(id::huanyuang, 310, 91, 64, 24, u"还原"), font);
  iconImage1.Create(page, At(id::iconImage1, 12, 130, 40, 40));

  // "托盘"
  page = PageControl1.Page(id::kTrayTab).Handle();
  xiansiCheckBox1.Create(page, At(id::xiansiCheckBox1, 12, 16, 380, 22, u"程序是否显示在系统托盘上（任务栏右侧）"), font);
  xiansiCheckBox1.SetChecked(true);

  // "连续粘贴" and its mirror "连续复制".
  struct StepTab {
    int tab;
    gui::CheckBox& onBox;
    int onId;
    const char16_t* onCaption;
    gui::Label& stepLabel;
    const char16_t* stepCaption;
    gui::Edit& stepEdit;
    int stepEditId;
    gui::UpDown& upDown;
    int upDownId;
    gui::GroupBox& group;
    int groupId;
    gui::ComboBox& keyCombo;
    int keyComboId;
    gui::CheckBox& altBox;
    int altId;
    gui::CheckBox& jumpBox;
    int jumpId;
    const char16_t* jumpCaption;
    gui::Label& jumpLabel;
    gui::ComboBox& jumpCombo;
    int jumpComboId;
  };
  StepTab tabs[] = {
      {id::kPasteTab, rejianCheckBox1, id::rejianCheckBox1, u"开启连续粘贴（默认F9）", Label3,
       u"连续粘贴时，数据每次下移条数", Edit3, id::Edit3, UpDown1, id::UpDown1, GroupBox1, id::GroupBox1,
       rejianComboBox1, id::rejianComboBox1, CheckBoxmyalt, id::CheckBoxmyalt, zidongtiaodaoCheckBox,
       id::zidongtiaodaoCheckBox, u"连续粘贴时，自动跳到下一窗格", Label4, lianxvniantietiaogeComboBox,
       id::lianxvniantietiaogeComboBox},
      {id::kCopyTab, fuziCheckBox1, id::fuziCheckBox1, u"开启连续复制（默认F9）", Label5, u"连续复制时，每次跳几格",
       Edit4, id::Edit4, UpDown2, id::UpDown2, GroupBox2, id::GroupBox2, fuziComboBox1, id::fuziComboBox1,
       fuzi_CheckBoxmyalt, id::fuzi_CheckBoxmyalt, fuzi_zidongtiaodaoCheckBox, id::fuzi_zidongtiaodaoCheckBox,
       u"连续复制时，自动跳到下一表格位", Label6, lianxvfuzitiaogeComboBox, id::lianxvfuzitiaogeComboBox},
  };
  std::vector<std::u16string> keys;
  for (int i = 0; i < kHotKeyCount; ++i) keys.push_back(HotKeyName(i));
  const std::vector<std::u16string> jumps(std::begin(kJumpKeyNames), std::end(kJumpKeyNames));
  for (StepTab& t : tabs) {
    page = PageControl1.Page(t.tab).Handle();
    t.onBox.Create(page, At(t.onId, 12, 8, 300, 22, t.onCaption), font);
    t.stepLabel.Create(page, At(0, 12, 42, 200, 18, t.stepCaption), font);
    t.stepEdit.Create(page, At(t.stepEditId, 220, 38, 60, 22), font);
    t.upDown.Create(page, t.upDownId, t.stepEdit.Handle(), kStepMin, kStepMax);
    t.keyCombo.Create(page, At(t.keyComboId, 26, 92, 100, 22), font);
    t.keyCombo.SetItems(keys);
    t.altBox.Create(page, At(t.altId, 150, 92, 150, 22, u"加上 Alt 前缀"), font);
    // Created after the controls inside it, so that it lies beneath them.
    t.group.Create(page, At(t.groupId, 12, 70, 370, 54, u"热键定义为（默认F9）"), font);
    t.jumpBox.Create(page, At(t.jumpId, 12, 134, 300, 22, t.jumpCaption), font);
    t.jumpLabel.Create(page, At(0, 12, 170, 80, 18, u"跳格键设置"), font);
    t.jumpCombo.Create(page, At(t.jumpComboId, 100, 166, 140, 22), font, 100);
    t.jumpCombo.SetItems(jumps);
  }
  zidongxuanzeCheckBox.Create(PageControl1.Page(id::kCopyTab).Handle(),
                              At(id::zidongxuanzeCheckBox, 12, 196, 300, 22, u"连续复制时，表格内的文本自动全部选择"),
                              font);
  zidongxuanzeCheckBox.SetChecked(true);
  zidongxuanzeCheckBox.SetVisible(false);

  Button1.Create(Handle(), At(id::Button1, kWidth - 200, 266, 80, 28, u"确定"), font);
  Button2.Create(Handle(), At(id::Button2, kWidth - 110, 266, 80, 28, u"取消"), font);
  BindHandlers();
}

void TForm2::BindHandlers() {
  Button1.OnClick = [this] { Button1Click(); };
  Button2.OnClick = [this] { Button2Click(); };
  BitBtn1.OnClick = [this] { BitBtn1Click(); };
  huanyuang.OnClick = [this] { Edit2.SetText(kDefaultWindowTitle); };
  PageControl1.OnChange = [this] { PageControl1Change(); };
  Edit0.OnKeyPress = gui::DigitsOnly;
  Edit3.OnKeyPress = gui::DigitsOnly;
  Edit4.OnKeyPress = gui::DigitsOnly;

  // Continuous paste and copy exclude each other.
  rejianCheckBox1.OnClick = [this] {
    if (rejianCheckBox1.Checked() && fuziCheckBox1.Checked()) fuziCheckBox1.SetChecked(false);
  };
  fuziCheckBox1.OnClick = [this] {
    if (rejianCheckBox1.Checked() && fuziCheckBox1.Checked()) rejianCheckBox1.SetChecked(false);
  };
  // The copy tab's controls are twins of the paste tab's, in both directions.
  auto twinCombos = [](gui::ComboBox& a, gui::ComboBox& b) {
    a.OnSelect = [&a, &b] { b.SetItemIndex(a.ItemIndex()); };
    b.OnSelect = [&a, &b] { a.SetItemIndex(b.ItemIndex()); };
  };
  auto twinBoxes = [](gui::CheckBox& a, gui::CheckBox& b) {
    a.OnClick = [&a, &b] { b.SetChecked(a.Checked()); };
    b.OnClick = [&a, &b] { a.SetChecked(b.Checked()); };
  };
  twinCombos(rejianComboBox1, fuziComboBox1);
  twinCombos(lianxvniantietiaogeComboBox, lianxvfuzitiaogeComboBox);
  twinBoxes(CheckBoxmyalt, fuzi_CheckBoxmyalt);
  twinBoxes(zidongtiaodaoCheckBox, fuzi_zidongtiaodaoCheckBox);
  UpDown1.OnClick = [this] { UpDown2.SetPosition(UpDown1.Position()); };
  UpDown2.OnClick = [this] { UpDown1.SetPosition(UpDown2.Position()); };
  // A step typed into either box is the other's too (OK reads both).
  Edit3.OnChange = [this] {
    if (Edit4.Text() != Edit3.Text()) Edit4.SetText(Edit3.Text());
  };
  Edit4.OnChange = [this] {
    if (Edit3.Text() != Edit4.Text()) Edit3.SetText(Edit4.Text());
  };
}

// ---- Creation ---------------------------------------------------------------------------------

std::u16string TForm2::ResolveStartIcon(const std::u16string& iconFile) const {
  if (gui::FileExists(iconFile)) return iconFile;
  // A program folder that moved still finds its icon in its own icon folder.
  const std::u16string local = host_.BaseDirectory() + gui::U(kIconFolder) + FileNamePart(iconFile);
  if (!iconFile.empty() && gui::FileExists(local)) return local;
  return {};
}

void TForm2::Start(const ScaleRoutine& scale) {
  scale_ = scale;
  ControlValues& boxes = startValues_;
  // 2. The fixed-entry keys. (1, the scaling, is the window's: Create.)
  if (host_.RowChecked(OptionsRow::kaiqigudinkuaijie)) host_.kaiqigudinkuaijieClick();
  // 3.-4.
  OptionsValues v = host_.OptionValues();
  PreviousOptionsTab = 0;
  boxes.alt = v.HotKeyAlt != 0;
  OptionsFormPending = false;
  if (v.ShowTrayIcon == 0) boxes.showTray = false;
  // 5. The title.
  if (v.WindowTitle.empty()) v.WindowTitle = std::u16string(kDefaultWindowTitle);
  host_.SetOptionValues(v);
  host_.SetApplicationTitle(v.WindowTitle);
  // 6. The icon: a file that does not load as an icon is passed over, start-up goes on.
  const std::u16string icon = ResolveStartIcon(v.TrayIconFile);
  if (!icon.empty()) {
    v.TrayIconFile = icon;
    host_.SetOptionValues(v);
    gui::UniqueIcon preview;
    if (HasIconExtension(icon)) preview.reset(LoadIconFile(icon, 32));
    if (preview) {
      previewIcon_ = std::move(preview);
      host_.SetApplicationIcon(icon);
      host_.TraySetUseAppIcon(true);
      host_.TraySetHint(v.WindowTitle);
    }
  }
  // 7. The saved switches take effect.
  boxes.paste = v.ContinuousPaste != 0;
  if (host_.RowChecked(OptionsRow::lianxvniantie)) host_.lianxvniantieClick();
  if (host_.RowChecked(OptionsRow::lianxvfuzi)) host_.lianxvfuziClick();
  // 8.
  v = host_.OptionValues();
  boxes.hotKey = v.HotKeyIndex;
  host_.SetRowCaption(OptionsRow::menurejiandinyi, HotKeyCaption(v.HotKeyIndex, v.HotKeyAlt != 0));
  // 9.
  boxes.step = v.PasteStep;
  if (v.PasteAutoJump != 0) {
    host_.SetRowChecked(OptionsRow::zidongtiaodao, true);
    host_.zidongtiaodaoClick();
  }
  // 10.
  boxes.jumpKey = v.JumpKey;
  host_.SetRowCaption(OptionsRow::menutiaogeseziwei, JumpKeyCaption(v.JumpKey));
  // 11. (The copy tab's twins follow the paste tab's when the controls are loaded.)
  boxes.autoSelect = v.PasteAutoSelect != 0;
}

void TForm2::FormCreate() {
  // 1. Scaled like every window.
  if (scale_) scale_(*this);
  PageControl1.SetTabImage(PreviousOptionsTab, 0);
  if (previewIcon_) iconImage1.SetIcon(previewIcon_.get());
  LoadControls(startValues_);
}

void TForm2::LoadControls(const ControlValues& values) {
  CheckBoxmyalt.SetChecked(values.alt);
  xiansiCheckBox1.SetChecked(values.showTray);
  rejianCheckBox1.SetChecked(values.paste);
  fuziCheckBox1.SetChecked(values.copy);
  rejianComboBox1.SetItemIndex(values.hotKey);
  UpDown1.SetPosition(values.step);
  zidongtiaodaoCheckBox.SetChecked(values.jump);
  lianxvniantietiaogeComboBox.SetItemIndex(values.jumpKey);
  lianxvfuzitiaogeComboBox.SetItemIndex(values.jumpKey);
  MirrorCopyTab();
  UpDown2.SetPosition(values.step);
  zidongxuanzeCheckBox.SetChecked(values.autoSelect);
}

void TForm2::SetPasteBox(bool checked) {
  if (Handle()) rejianCheckBox1.SetChecked(checked);
  else startValues_.paste = checked;
}

void TForm2::SetCopyBox(bool checked) {
  if (Handle()) fuziCheckBox1.SetChecked(checked);
  else startValues_.copy = checked;
}

bool TForm2::LoadPreview(const std::u16string& file) {
  gui::UniqueIcon icon(LoadIconFile(file, 32));
  if (!icon) return false;
  iconImage1.SetIcon(icon.get());
  previewIcon_ = std::move(icon);
  return true;
}

void TForm2::MirrorCopyTab() {
  fuziComboBox1.SetItemIndex(rejianComboBox1.ItemIndex());
  fuzi_CheckBoxmyalt.SetChecked(CheckBoxmyalt.Checked());
  fuzi_zidongtiaodaoCheckBox.SetChecked(zidongtiaodaoCheckBox.Checked());
}

void TForm2::SetJumpBoxes(bool checked) {
  if (!Handle()) {
    startValues_.jump = checked;
    return;
  }
  zidongtiaodaoCheckBox.SetChecked(checked);
  fuzi_zidongtiaodaoCheckBox.SetChecked(checked);
}

// ---- Opening ---------------------------------------------------------------------------------

void TForm2::OpenOnTab(int tab) {
  const OptionsValues v = host_.OptionValues();
  Edit0.SetText(Decimal(v.MaxTextLength));
  Edit1.SetText(v.TrayIconFile);
  Edit2.SetText(v.WindowTitle);
  UpDown1.SetPosition(v.PasteStep);
  UpDown2.SetPosition(v.PasteStep);
  if (tab >= 0) PageControl1.SetActivePageIndex(tab);
  PageControl1Change();
  Show();
  BringToFront();
}

void TForm2::FormShow() {
  // Centred on the main window.
  gui::Form* owner = gui::Application::Instance().MainForm();
  if (!owner || !owner->Handle()) return;
  RECT area{};
  GetWindowRect(owner->Handle(), &area);
  int x = area.left + (area.right - area.left - Width()) / 2;
  int y = area.top + (area.bottom - area.top - Height()) / 2;
  x = std::max(0, std::min(x, GetSystemMetrics(SM_CXSCREEN) - Width()));
  y = std::max(0, std::min(y, GetSystemMetrics(SM_CYSCREEN) - Height()));
  SetWindowPos(Handle(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm2::FormResize() {
  // The scaling routine and the maximise box change the window's size: the pages and the
  // buttons follow it.
  if (!PageControl1.Handle()) return;
  const int w = ClientWidth(), h = ClientHeight();
  PageControl1.SetBounds(8, 8, std::max(0, w - 16), std::max(0, h - 56));
  PageControl1.FitPages();
  Button1.SetBounds(w - 190, h - 40, 80, 28);
  Button2.SetBounds(w - 100, h - 40, 80, 28);
}

void TForm2::PageControl1Change() {
  const int tab = PageControl1.ActivePageIndex();
  PageControl1.SetTabImage(PreviousOptionsTab, -1);
  PageControl1.SetTabImage(tab, 0);
  PreviousOptionsTab = tab;
}

// ---- OK ----------------------------------------------------------------------------------------

void TForm2::Button1Click() {
  // Every field is checked before anything is applied: a refusal leaves all as it was.
  const std::u16string iconFile = Edit1.Text();
  const std::u16string title = Edit2.Text();
  gui::UniqueIcon checkedIcon;
  if (gui::FileExists(iconFile) && HasIconExtension(iconFile)) checkedIcon.reset(LoadIconFile(iconFile, 32));
  if (const auto refusal = RefuseOk(iconFile, static_cast<bool>(checkedIcon), title)) {
    gui::ShowMessage(*refusal);
    return;
  }
  OptionsValues v = host_.OptionValues();
  const OptionsValues before = v;

  // 1. The text limit.
  v.MaxTextLength = TextLimitFromField(Edit0.Text());
  host_.SetRowCaption(OptionsRow::menucangdu, TextLengthCaption(v.MaxTextLength));
  // 3. Icon and title.
  v.TrayIconFile = iconFile;
  iconImage1.SetIcon(checkedIcon.get());
  previewIcon_ = std::move(checkedIcon);
  host_.SetOptionValues(v);
  host_.SetApplicationIcon(v.TrayIconFile);
  host_.TraySetUseAppIcon(true);
  if (!title.empty()) {
    v.WindowTitle = title;
    host_.SetOptionValues(v);
    host_.SetApplicationTitle(v.WindowTitle);
    host_.TraySetHint(v.WindowTitle);
  }
  // 4. The tray icon.
  v.ShowTrayIcon = xiansiCheckBox1.Checked() ? -1 : 0;
  host_.SetOptionValues(v);
  const bool trayRow = host_.RowChecked(OptionsRow::xiansituopan);
  if (xiansiCheckBox1.Checked() && !trayRow) {
    host_.SetRowChecked(OptionsRow::xiansituopan, true);
    host_.TrayShowIcon();
    host_.TraySetAutoHide(true);
  } else if (!xiansiCheckBox1.Checked() && trayRow) {
    host_.SetRowChecked(OptionsRow::xiansituopan, false);
    host_.TrayHideIcon();
    host_.TraySetAutoHide(false);
  }
  // 5. Continuous paste.
  const SwitchChanges switches =
      DecideSwitches(rejianCheckBox1.Checked(), host_.RowChecked(OptionsRow::lianxvniantie), fuziCheckBox1.Checked(),
                     host_.RowChecked(OptionsRow::lianxvfuzi));
  host_.SetRowChecked(OptionsRow::lianxvniantie, rejianCheckBox1.Checked());
  if (switches.runPasteSwitch) host_.lianxvniantieClick();
  v = host_.OptionValues();
  v.ContinuousPaste = rejianCheckBox1.Checked() ? -1 : 0;
  // 6. The paste key.
  v.HotKeyAlt = CheckBoxmyalt.Checked() ? -1 : 0;
  v.HotKeyIndex = rejianComboBox1.ItemIndex();
  v.HotKeyCode = HotKeyCodeOf(v.HotKeyIndex);
  host_.SetRowCaption(OptionsRow::menurejiandinyi, HotKeyCaption(v.HotKeyIndex, v.HotKeyAlt != 0));
  // 7.-9. The step, the jump key, and where the next paste starts.
  const int step = StepFromFields(Edit3.Text(), Edit4.Text());
  if (!StepFromField(Edit3.Text()) || !StepFromField(Edit4.Text())) {
    UpDown1.SetPosition(kStepMin);
    UpDown2.SetPosition(kStepMin);
    Edit3.SetText(u"1");
    Edit4.SetText(u"1");
  }
  v.JumpKey = lianxvniantietiaogeComboBox.ItemIndex();
  host_.SetRowCaption(OptionsRow::menutiaogeseziwei, JumpKeyCaption(v.JumpKey));
  v.PasteStep = step;
  host_.SetRowCaption(OptionsRow::xiayistep, PasteStepCaption(v.PasteStep));
  host_.SetPastePosition(
      RebasePastePosition(host_.CurrentPastePosition(), host_.SelectedListRow(), before.PasteStep, v.PasteStep));
  // 10. The jump switch.
  host_.SetRowChecked(OptionsRow::zidongtiaodao, zidongtiaodaoCheckBox.Checked());
  v.PasteAutoJump = zidongtiaodaoCheckBox.Checked() ? -1 : 0;
  v.PasteAutoSelect = zidongxuanzeCheckBox.Checked() ? -1 : 0;
  host_.SetOptionValues(v);
  // 11. Continuous copy.
  if (switches.setCopyRow) {
    host_.SetRowChecked(OptionsRow::lianxvfuzi, fuziCheckBox1.Checked());
    host_.lianxvfuziClick();
  }
  MirrorCopyTab();
  UpDown2.SetPosition(UpDown1.Position());
  Hide();
}

// ---- Cancel, close, browse ---------------------------------------------------------------------

void TForm2::ReloadControls() {
  const OptionsValues v = host_.OptionValues();
  Edit1.SetText(v.TrayIconFile);
  Edit2.SetText(v.WindowTitle);
  xiansiCheckBox1.SetChecked(host_.RowChecked(OptionsRow::xiansituopan));
  rejianCheckBox1.SetChecked(host_.RowChecked(OptionsRow::lianxvniantie));
  rejianComboBox1.SetItemIndex(v.HotKeyIndex);
  CheckBoxmyalt.SetChecked(v.HotKeyAlt != 0);
  LoadPreview(v.TrayIconFile);
  UpDown1.SetPosition(v.PasteStep);
  zidongtiaodaoCheckBox.SetChecked(v.PasteAutoJump != 0);
  fuziCheckBox1.SetChecked(host_.RowChecked(OptionsRow::lianxvfuzi));
  MirrorCopyTab();
  UpDown2.SetPosition(UpDown1.Position());
  zidongxuanzeCheckBox.SetChecked(v.PasteAutoSelect != 0);
  lianxvniantietiaogeComboBox.SetItemIndex(v.JumpKey);
  lianxvfuzitiaogeComboBox.SetItemIndex(v.JumpKey);
}

void TForm2::Button2Click() {
  ReloadControls();
  Hide();
}

void TForm2::FormClose(gui::CloseAction& action) {
  ReloadControls();
  action = gui::CloseAction::Hide;
}

void TForm2::BitBtn1Click() {
  const std::optional<std::u16string> chosen =
      host_.BrowseForFile(u"icon(*.ico)|*.ico", host_.BaseDirectory() + gui::U(kIconFolder));
  if (!chosen) return;
  Edit1.SetText(*chosen);
  LoadPreview(*chosen);
}

}  // namespace windows
