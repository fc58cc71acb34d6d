// The control ids of the options dialog's controls: how the dialog finds its own controls,
// and how tools that drive windows (the end-to-end tests, screen readers) find them.
#pragma once

namespace windows::optionsid {

enum : int {
  PageControl1 = 3001,
  Edit0, Edit1, Edit2, Edit3, Edit4,
  BitBtn1, huanyuang, iconImage1,
  xiansiCheckBox1, rejianCheckBox1, CheckBoxmyalt, zidongtiaodaoCheckBox,
  fuziCheckBox1, fuzi_CheckBoxmyalt, fuzi_zidongtiaodaoCheckBox, zidongxuanzeCheckBox,
  rejianComboBox1, lianxvniantietiaogeComboBox, fuziComboBox1, lianxvfuzitiaogeComboBox,
  UpDown1, UpDown2,
  Button1, Button2,
  GroupBox1, GroupBox2,
};

// The tabs of PageControl1, left to right.
enum Tab : int { kLengthTab = 0, kIconTab, kTrayTab, kPasteTab, kCopyTab };

}  // namespace windows::optionsid
