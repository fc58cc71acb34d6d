#include "skin/skin_rules.h"

#include <gtest/gtest.h>

namespace {

using skin::WindowVerdict;

skin::CheckContext Allowing() {
  skin::CheckContext c;
  c.Active = true;
  c.CanSkin = [] { return true; };
  c.Pick = [] { return 0; };
  c.PickedLoading = [](int) { return false; };
  return c;
}

skin::WindowFacts Form() {
  skin::WindowFacts f;
  f.ClassName = u"TForm3";
  f.HasControl = true;
  f.Width = 300;
  f.Height = 200;
  return f;
}

TEST(CheckWindow, RulesRefuseInOrder) {
  skin::CheckContext c = Allowing();
  EXPECT_EQ(skin::CheckWindowRules(Form(), c), WindowVerdict::Skin);

  c.Active = false;
  EXPECT_EQ(skin::CheckWindowRules(Form(), c), WindowVerdict::NotActive);
  c.Active = true;

  auto f = Form();
  f.AnswersSkinned = true;
  EXPECT_EQ(skin::CheckWindowRules(f, c), WindowVerdict::AlreadySkinned);

  f = Form();
  f.IsChild = true;
  EXPECT_EQ(skin::CheckWindowRules(f, c), WindowVerdict::ChildWindow);
  f.ParentClass = u"MDIClient";  // a child of an MDI client is taken
  EXPECT_EQ(skin::CheckWindowRules(f, c), WindowVerdict::Skin);
  f.ParentClass.clear();
  c.CheckingAll = true;  // action 1 walks the forms: children pass this rule
  EXPECT_EQ(skin::CheckWindowRules(f, c), WindowVerdict::Skin);
  c.CheckingAll = false;

  // Foreign windows of other modules: only system dialogs.
  f = Form();
  f.HasControl = false;
  f.OwnInstance = false;
  EXPECT_EQ(skin::CheckWindowRules(f, c), WindowVerdict::ForeignInstance);
  f.ClassName = u"#32770";
  EXPECT_EQ(skin::CheckWindowRules(f, c), WindowVerdict::Skin);

  f = Form();
  f.Height = 0;
  EXPECT_EQ(skin::CheckWindowRules(f, c), WindowVerdict::EmptyRect);
  f.IsMdiChild = true;
  EXPECT_EQ(skin::CheckWindowRules(f, c), WindowVerdict::Skin);

  f = Form();
  f.ControlTag = 99;
  EXPECT_EQ(skin::CheckWindowRules(f, c), WindowVerdict::DisabledTag);

  f = Form();
  f.ClassName = u"TApplication";
  EXPECT_EQ(skin::CheckWindowRules(f, c), WindowVerdict::ExcludedClass);

  c.CanSkin = [] { return false; };
  EXPECT_EQ(skin::CheckWindowRules(Form(), c), WindowVerdict::Refused);
  c = Allowing();
  c.Pick = [] { return -1; };
  EXPECT_EQ(skin::CheckWindowRules(Form(), c), WindowVerdict::NoSkinData);
  c = Allowing();
  c.PickedLoading = [](int) { return true; };
  EXPECT_EQ(skin::CheckWindowRules(Form(), c), WindowVerdict::SkinLoading);
}

TEST(CanSkinForm, PreviewsForegroundDialogsAndTheVeto) {
  EXPECT_TRUE(skin::CanSkinForm(nullptr, u"TPrintPreview", 0));
  skin::TSkinData data;
  data.Options = {skin::xoToolbarBK};
  EXPECT_FALSE(skin::CanSkinForm(&data, u"TPrintPreview", 0));
  data.Options.Include(skin::xoPreview);
  EXPECT_TRUE(skin::CanSkinForm(&data, u"TPrintPreview", 0));
  EXPECT_TRUE(skin::CanSkinForm(&data, u"#32770", 0x80C80000));
  EXPECT_FALSE(skin::CanSkinForm(&data, u"#32770", 0x80C80200));  // DS_SETFOREGROUND
  EXPECT_FALSE(skin::CanSkinForm(&data, u"TPopupDBTreeView", 0));
  EXPECT_FALSE(skin::CanSkinForm(&data, u"SysMonthCal32", 0));
  data.OnFormSkin = [](skin::TSkinData&, const std::u16string& name, bool& doSkin) { doSkin = name != u"TForm9"; };
  EXPECT_FALSE(skin::CanSkinForm(&data, u"TForm9", 0));
  EXPECT_TRUE(skin::CanSkinForm(&data, u"SysMonthCal32", 0));  // the event decides alone
}

TEST(PickSkinData, OwnFormThenDialogThenMainThenFirst) {
  int formA = 0, formB = 0;
  const std::vector<skin::SkinDataEntry> datas{
      {skin::sfDialog, nullptr}, {skin::sfMainform, nullptr}, {skin::sfOnlyThisForm, &formA}, {skin::sfMainform, nullptr}};
  EXPECT_EQ(skin::PickSkinData(datas, &formA, u"TForm2"), 2);
  EXPECT_EQ(skin::PickSkinData(datas, &formB, u"#32770"), 0);
  EXPECT_EQ(skin::PickSkinData(datas, &formB, u"TMessageForm"), 0);
  EXPECT_EQ(skin::PickSkinData(datas, &formB, u"TForm2"), 3);  // the last main-form component
  EXPECT_EQ(skin::PickSkinData({{skin::sfDLL, nullptr}, {skin::sfDLL, nullptr}}, &formB, u"TForm2"), 0);
  EXPECT_EQ(skin::PickSkinData({}, &formB, u"TForm2"), -1);
}

TEST(PopupMenus, GatedByTheKindOfMenu) {
  const skin::TSkinControlTypes popupsOnly{skin::xcPopupMenu};
  EXPECT_TRUE(skin::PopupMenuAllowed(0, popupsOnly));
  EXPECT_FALSE(skin::PopupMenuAllowed(1, popupsOnly));
  EXPECT_FALSE(skin::PopupMenuAllowed(2, popupsOnly));
  EXPECT_TRUE(skin::PopupMenuAllowed(1, {skin::xcMenuItem}));
  EXPECT_TRUE(skin::PopupMenuAllowed(2, {skin::xcSystemMenu}));
  EXPECT_FALSE(skin::PopupMenuAllowed(0, {}));
}

// The program's settings: SkinControls without xcSpeedButton, xcScrollbar, xcEdit, xcCombo.
skin::TSkinData ProgramData() {
  skin::TSkinData data;
  using namespace skin;
  data.SkinControls = {xcMainMenu, xcPopupMenu, xcCheckBox, xcRadioButton, xcButton, xcBitBtn,
                       xcSpin,     xcPanel,     xcGroupBox, xcStatusBar,   xcSystemMenu};
  return data;
}

TEST(ClassifyControl, TheProgramsControlsByDesignKind) {
  using skin::DesignKind;
  using skin::PainterKind;
  const skin::TSkinData data = ProgramData();
  auto kind = [&](DesignKind k, int tag = 0, std::u16string cls = u"BUTTON") {
    return skin::ClassifyControl({k, cls, tag, false}, data);
  };
  EXPECT_EQ(kind(DesignKind::Panel), PainterKind::Box);
  EXPECT_EQ(kind(DesignKind::Button), PainterKind::Button);
  EXPECT_EQ(kind(DesignKind::BitBtn), PainterKind::BitButton);
  EXPECT_EQ(kind(DesignKind::SpinButton), PainterKind::UpDown);
  EXPECT_EQ(kind(DesignKind::SpeedButton), PainterKind::None);  // not a push button
  EXPECT_EQ(kind(DesignKind::Memo), PainterKind::None);         // xcScrollbar is off
  EXPECT_EQ(kind(DesignKind::ProgressBar), PainterKind::None);  // xcProgress is off
  EXPECT_EQ(kind(DesignKind::Button, 99), PainterKind::None);   // the disable tag
  EXPECT_EQ(kind(DesignKind::GroupBox), PainterKind::GroupBox);
  // Skin3rd maps this system's TFxButton to a push button whatever its design kind.
  EXPECT_EQ(kind(DesignKind::Other, 0, u"TFxButton"), PainterKind::Button);

  skin::TSkinData narrow = ProgramData();
  narrow.SkinControls.Exclude(skin::xcBitBtn);
  EXPECT_EQ(skin::ClassifyControl({DesignKind::BitBtn, u"BUTTON", 0, false}, narrow), PainterKind::None);
  narrow.SkinControls.Exclude(skin::xcPanel);  // the group box row is gated by xcPanel
  EXPECT_EQ(skin::ClassifyControl({DesignKind::GroupBox, u"BUTTON", 0, false}, narrow), PainterKind::None);
}

TEST(ClassifyForeignChild, MessageBoxAndDialogChildren) {
  using skin::PainterKind;
  const auto controls = ProgramData().SkinControls;
  EXPECT_EQ(skin::ClassifyForeignChild(u"button", 0x50010000 | 0x1, controls), PainterKind::Button);  // default push
  EXPECT_EQ(skin::ClassifyForeignChild(u"button", 0x50010000 | 0xB, controls), PainterKind::None);    // owner-drawn
  EXPECT_EQ(skin::ClassifyForeignChild(u"button", 0x50000007, controls), PainterKind::BoxH);          // group box
  EXPECT_EQ(skin::ClassifyForeignChild(u"button", 0x50010003, controls), PainterKind::CheckBox);
  EXPECT_EQ(skin::ClassifyForeignChild(u"button", 0x50010009, controls), PainterKind::RadioButton);
  EXPECT_EQ(skin::ClassifyForeignChild(u"static", 0x50000000, controls), PainterKind::None);
  EXPECT_EQ(skin::ClassifyForeignChild(u"#32770", 0x50000000, controls), PainterKind::Children);
  EXPECT_EQ(skin::ClassifyForeignChild(u"scrollbar", 0x5000001C, controls), PainterKind::Sizer);
  EXPECT_EQ(skin::ClassifyForeignChild(u"edit", 0x50010000, controls), PainterKind::None);
}

}  // namespace
