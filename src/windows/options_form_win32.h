// TForm2, the options dialog "属性设置": created at start-up right after the main window,
// shown modeless on a chosen tab by the main window's option rows. Its controls are loaded
// from the main window's settings and menu checks; OK writes them back (nothing of its own is
// stored), Cancel and the close box put the controls back as the settings stand.
//
// Its creation is in two parts: Start, at start-up, switches the saved features on and keeps
// the values it gives the controls; Create makes the window and its controls with those
// values, later (the main window shows sooner without them).
#pragma once

#include <string>

#include "gui/check_box.h"
#include "gui/combo_box.h"
#include "gui/control.h"
#include "gui/edit.h"
#include "gui/form.h"
#include "gui/gdi.h"
#include "gui/page_control.h"
#include "gui/up_down.h"
#include "windows/options_host.h"
#include "windows/options_rules.h"
#include "windows/secondary_forms_win32.h"

namespace windows {

class TForm2 : public gui::Form {
 public:
  explicit TForm2(OptionsHost& host) : host_(host) {}
  // The creation's effects on the main window, at start-up.
  void Start(const ScaleRoutine& scale);
  // The window and its controls, loaded with what Start and the switches gave them.
  void Create();

  // The main window's opening rows: the fields filled from the settings, the tab chosen
  // (-1 keeps the one shown), the tab icon moved, the dialog shown.
  void OpenOnTab(int tab);

  // Set from creation to the end of FormCreate: the main window's switch handlers leave the
  // check boxes alone meanwhile.
  bool OptionsFormPending = true;
  // The main window's switch handlers keep these boxes equal to their rows.
  void SetPasteBox(bool checked);
  void SetCopyBox(bool checked);
  void SetJumpBoxes(bool checked);

  void Button1Click();
  void Button2Click();
  void PageControl1Change();

 protected:
  void CreateControls() override;
  void FormCreate() override;
  void FormClose(gui::CloseAction& action) override;
  void FormShow() override;
  void FormResize() override;

 private:
  void BindHandlers();
  void BitBtn1Click();
  void ReloadControls();
  void MirrorCopyTab();
  bool LoadPreview(const std::u16string& file);
  std::u16string ResolveStartIcon(const std::u16string& iconFile) const;

  // What the controls hold while the window is not made yet (the twins of the copy tab hold
  // the same as the paste tab's, as the creation leaves them).
  struct ControlValues {
    bool showTray = true;
    bool paste = false;
    bool copy = false;
    bool alt = false;
    bool jump = false;
    bool autoSelect = true;
    int hotKey = -1;
    int jumpKey = -1;
    int step = kStepMin;
  };
  void LoadControls(const ControlValues& values);

  OptionsHost& host_;
  ScaleRoutine scale_;
  ControlValues startValues_;
  int PreviousOptionsTab = 0;

  gui::PageControl PageControl1;
  gui::Label Label0, Label1, Label2, Label3, Label4, Label5, Label6;
  gui::Edit Edit0, Edit1, Edit2, Edit3, Edit4;
  gui::Button BitBtn1, huanyuang, Button1, Button2;
  gui::Image iconImage1;
  gui::CheckBox xiansiCheckBox1, rejianCheckBox1, CheckBoxmyalt, zidongtiaodaoCheckBox;
  gui::CheckBox fuziCheckBox1, fuzi_CheckBoxmyalt, fuzi_zidongtiaodaoCheckBox, zidongxuanzeCheckBox;
  gui::GroupBox GroupBox1, GroupBox2;
  gui::ComboBox rejianComboBox1, lianxvniantietiaogeComboBox, fuziComboBox1, lianxvfuzitiaogeComboBox;
  gui::UpDown UpDown1, UpDown2;
  gui::UniqueIcon previewIcon_;
  gui::UniqueIcon tabIcon_;
};

}  // namespace windows
