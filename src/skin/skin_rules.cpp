#include "skin/skin_rules.h"

namespace skin {

namespace {
// Window styles the rules read (the values of the Windows headers).
constexpr uint32_t kDsSetForeground = 0x200;
constexpr uint32_t kBsTypeMask = 0x0F;
constexpr uint32_t kBsPushButton = 0x0, kBsDefPushButton = 0x1, kBsCheckBox = 0x2, kBsAutoCheckBox = 0x3,
                   kBsRadioButton = 0x4, kBs3State = 0x5, kBsAuto3State = 0x6, kBsGroupBox = 0x7,
                   kBsAutoRadioButton = 0x9, kBsOwnerDraw = 0xB;
constexpr uint32_t kBsIcon = 0x40, kBsBitmap = 0x80;
constexpr uint32_t kCbsTypeMask = 0x3, kCbsSimple = 0x1;
constexpr uint32_t kWsTabStop = 0x00010000;
constexpr uint32_t kTcsButtons = 0x0100;

bool Contains(const std::u16string& text, std::u16string_view part) { return text.find(part) != std::u16string::npos; }
}  // namespace

std::u16string LowerAscii(std::u16string text) {
  for (char16_t& c : text) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return text;
}

bool CanSkinForm(TSkinData* data, const std::u16string& className, uint32_t style) {
  if (data == nullptr) return true;
  const std::u16string lower = LowerAscii(className);
  if (!data->Options.Has(xoPreview) && Contains(lower, u"preview")) return false;
  if (className == u"#32770" && (style & kDsSetForeground)) return false;
  if (lower == u"tpopupdbtreeview") return false;
  return data->AllowsFormSkin(className);
}

int PickSkinData(const std::vector<SkinDataEntry>& datas, const void* window, const std::u16string& className) {
  auto last = [&](auto match) {
    int found = -1;
    for (size_t i = 0; i < datas.size(); ++i) {
      if (match(datas[i])) found = static_cast<int>(i);
    }
    return found;
  };
  int i = last([&](const SkinDataEntry& d) { return d.Type == sfOnlyThisForm && d.OwnerWindow == window; });
  if (i >= 0) return i;
  const std::u16string lower = LowerAscii(className);
  if (lower == u"tmessageform" || lower == u"#32770") {
    i = last([](const SkinDataEntry& d) { return d.Type == sfDialog; });
    if (i >= 0) return i;
  }
  i = last([](const SkinDataEntry& d) { return d.Type == sfMainform; });
  if (i >= 0) return i;
  return datas.empty() ? -1 : 0;
}

WindowVerdict CheckWindowRules(const WindowFacts& f, const CheckContext& c) {
  if (!c.Active) return WindowVerdict::NotActive;
  if (f.AnswersSkinned || f.AlreadyListed) return WindowVerdict::AlreadySkinned;
  if (!c.CheckingAll && f.IsChild && !f.IsMdiChild && LowerAscii(f.ParentClass) != u"mdiclient") {
    return WindowVerdict::ChildWindow;
  }
  if (!f.HasControl && !f.OwnInstance && f.ClassName != u"#32770") return WindowVerdict::ForeignInstance;
  if (static_cast<int64_t>(f.Width) * f.Height == 0 && !f.IsMdiChild) return WindowVerdict::EmptyRect;
  if (f.HasControl && f.ControlTag == c.DisableTag) return WindowVerdict::DisabledTag;
  if (Contains(f.ClassName, u"TcxPopupEditPopupWindow") || Contains(f.ClassName, u"TTERenderWindow") ||
      f.ClassName == u"TApplication") {
    return WindowVerdict::ExcludedClass;
  }
  if (c.CanSkin && !c.CanSkin()) return WindowVerdict::Refused;
  const int picked = c.Pick ? c.Pick() : -1;
  if (picked < 0) return WindowVerdict::NoSkinData;
  if (c.PickedLoading && c.PickedLoading(picked)) return WindowVerdict::SkinLoading;
  return WindowVerdict::Skin;
}

bool PopupMenuAllowed(int menuKind, const TSkinControlTypes& controls) {
  switch (menuKind) {
    case 0: return controls.Has(xcPopupMenu);
    case 1: return controls.Has(xcMainMenu) || controls.Has(xcMenuItem);
    case 2: return controls.Has(xcSystemMenu);
    default: return true;
  }
}

namespace {
// The kinds of a Skin3rd line, by its gate; kinds whose painter this engine leaves out map to Unbuilt.
PainterKind By3rdKind(const std::u16string& kind, const TSkinControlTypes& c, bool& mapped) {
  mapped = true;
  if (kind == u"button") return c.Has(xcButton) ? PainterKind::Button : PainterKind::None;
  if (kind == u"bitbtn" || kind == u"pngbitbtn") return c.Has(xcButton) ? PainterKind::BitButton : PainterKind::None;
  if (kind == u"radiobutton") return c.Has(xcRadioButton) ? PainterKind::RadioButton : PainterKind::None;
  if (kind == u"checkbox") return c.Has(xcCheckBox) ? PainterKind::CheckBox : PainterKind::None;
  if (kind == u"panel" || kind == u"container") return c.Has(xcPanel) ? PainterKind::Box : PainterKind::None;
  if (kind == u"groupbox") return c.Has(xcGroupBox) ? PainterKind::GroupBox : PainterKind::None;
  if (kind == u"progress") return c.Has(xcProgress) ? PainterKind::Progress : PainterKind::None;
  if (kind == u"combobox" || kind == u"comboboxex" || kind == u"edit" || kind == u"trackbar" ||
      kind == u"datetimepicker" || kind == u"mediaplayer" || kind == u"pngspeedbutton" || kind == u"menubtn" ||
      kind == u"speedbutton" || kind == u"tab" || kind == u"scrollbar" || kind == u"singlescrollbar" ||
      kind == u"embedscrollbar" || kind == u"advpagecontrol" || kind == u"radiogroup" || kind == u"checkgroup") {
    return PainterKind::Unbuilt;
  }
  mapped = false;
  return PainterKind::None;
}
}  // namespace

PainterKind ClassifyControl(const ControlFacts& f, const TSkinData& data) {
  if (f.Tag == data.DisableTag) return PainterKind::None;
  const TSkinControlTypes& c = data.SkinControls;
  const std::u16string lower = LowerAscii(f.ClassName);
  for (const std::u16string& line : data.Skin3rd) {
    const size_t eq = line.find(u'=');
    if (eq == std::u16string::npos || LowerAscii(line.substr(0, eq)) != lower) continue;
    bool mapped = false;
    const PainterKind kind = By3rdKind(LowerAscii(line.substr(eq + 1)), c, mapped);
    if (mapped) return kind;
  }
  switch (f.Kind) {
    case DesignKind::CheckBox: if (c.Has(xcCheckBox)) return PainterKind::CheckBox; break;
    case DesignKind::SpinButton: if (c.Has(xcSpin)) return PainterKind::UpDown; break;
    case DesignKind::GroupBox: if (c.Has(xcPanel)) return PainterKind::GroupBox; break;
    case DesignKind::ToolBar: if (c.Has(xcToolbar)) return PainterKind::Unbuilt; break;
    case DesignKind::ProgressBar: if (c.Has(xcProgress)) return PainterKind::Progress; break;
    case DesignKind::ComboBox: if (c.Has(xcCombo)) return PainterKind::Unbuilt; break;
    case DesignKind::BitBtn: return c.Has(xcBitBtn) ? PainterKind::BitButton : PainterKind::None;
    // A speed button is a button of the framework here, but never skinned as a push button.
    case DesignKind::SpeedButton: return c.Has(xcSpeedButton) ? PainterKind::Unbuilt : PainterKind::None;
    case DesignKind::Panel: if (c.Has(xcPanel)) return PainterKind::Box; break;
    case DesignKind::TabControl: if (c.Has(xcTab)) return PainterKind::Unbuilt; break;
    default: break;
  }
  const bool scrolling = f.Kind == DesignKind::Memo || f.Kind == DesignKind::ListBox ||
                         f.Kind == DesignKind::ListView || f.HasScrollBars;
  if (scrolling && c.Has(xcScrollbar)) return PainterKind::Unbuilt;
  if (f.Kind == DesignKind::Button && c.Has(xcButton)) return PainterKind::Button;
  if (f.Kind == DesignKind::Edit && c.Has(xcEdit)) return PainterKind::Unbuilt;
  return PainterKind::None;
}

PainterKind ClassifyForeignChild(const std::u16string& cls, uint32_t style, const TSkinControlTypes& c) {
  if (cls == u"button") {
    const uint32_t type = style & kBsTypeMask;
    if (type == kBsOwnerDraw) return PainterKind::None;
    if (type == kBsGroupBox || (style & (kBsBitmap | kBsIcon))) return PainterKind::BoxH;
    if (type == kBsPushButton || type == kBsDefPushButton) return c.Has(xcButton) ? PainterKind::Button : PainterKind::None;
    if (type == kBsRadioButton || type == kBsAutoRadioButton) {
      return c.Has(xcRadioButton) ? PainterKind::RadioButton : PainterKind::None;
    }
    if (type == kBsCheckBox || type == kBsAutoCheckBox || type == kBs3State || type == kBsAuto3State) {
      return c.Has(xcCheckBox) ? PainterKind::CheckBox : PainterKind::None;
    }
    return PainterKind::None;
  }
  if ((cls == u"combobox" && (style & kCbsTypeMask) != kCbsSimple) || cls == u"comboboxex32") {
    return c.Has(xcCombo) ? PainterKind::Unbuilt : PainterKind::None;
  }
  if (cls == u"scrollbar") return (style & kWsTabStop) ? PainterKind::None : PainterKind::Sizer;
  if (cls == u"#32770") return (style & kWsTabStop) ? PainterKind::None : PainterKind::Children;
  if (cls == u"tpanel" || cls == u"tunipanel.unicodeclass" || cls == u"tunisilentpaintpanel.unicodeclass" ||
      cls == u"tsilentpaintpanel") {
    return c.Has(xcPanel) ? PainterKind::Box : PainterKind::None;
  }
  if (cls == u"tcheckbox") return c.Has(xcCheckBox) ? PainterKind::CheckBox : PainterKind::None;
  if (cls == u"tbutton") return c.Has(xcButton) ? PainterKind::Button : PainterKind::None;
  if (cls == u"tprogressbar") return PainterKind::Progress;
  if (cls == u"tcombobox") return c.Has(xcCombo) ? PainterKind::Unbuilt : PainterKind::None;
  if (cls == u"systabcontrol32" && !(style & kTcsButtons)) return c.Has(xcTab) ? PainterKind::Unbuilt : PainterKind::None;
  if (cls == u"edit") return c.Has(xcEdit) ? PainterKind::Unbuilt : PainterKind::None;
  if (cls == u"toolbarwindow32") return PainterKind::Unbuilt;
  return PainterKind::None;
}

bool PainterRecolours(PainterKind kind) { return kind == PainterKind::Box || kind == PainterKind::GroupBox; }

}  // namespace skin
