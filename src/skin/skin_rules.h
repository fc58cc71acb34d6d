// The skin manager's decisions as plain functions: which top-level windows are skinned and
// with which skin component, which popup menus get a skinned frame, and which painter each
// child control gets. The Windows side gathers the facts and carries the answers out.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "skin/skin_data.h"

namespace skin {

// What the manager knows of a window when it checks it.
struct WindowFacts {
  std::u16string ClassName;
  bool AnswersSkinned = false;     // answers 1 to 0x3523
  bool AlreadyListed = false;      // a skinned form of this manager exists for it
  bool HasControl = false;         // a window of the program's own framework (form or control)
  bool IsChild = false;            // WS_CHILD
  bool IsMdiChild = false;         // WS_EX_MDICHILD
  std::u16string ParentClass;
  bool OwnInstance = true;         // GWL_HINSTANCE is the program's
  int Width = 0, Height = 0;
  int ControlTag = 0;
  uint32_t Style = 0;
};

enum class WindowVerdict {
  Skin, NotActive, AlreadySkinned, ChildWindow, ForeignInstance, EmptyRect, DisabledTag, ExcludedClass, Refused,
  NoSkinData, SkinLoading
};

// The refusals of CanSkinForm, asked of the default component (none: everything allowed).
bool CanSkinForm(TSkinData* defaultData, const std::u16string& className, uint32_t style);

// A component as PickSkinData sees it.
struct SkinDataEntry {
  TSkinFormType Type = sfMainform;
  const void* OwnerWindow = nullptr;  // the owner form's window (sfOnlyThisForm)
};
// Index of the component that skins the window (the last registered of a kind wins), or -1.
int PickSkinData(const std::vector<SkinDataEntry>& datas, const void* window, const std::u16string& className);

// The rules of CheckWindow, in order. canSkin and pick stand for CanSkinForm and
// PickSkinData; pickedLoading tells whether the picked component is loading a skin.
struct CheckContext {
  bool Active = false;
  bool CheckingAll = false;
  int DisableTag = 99;
  std::function<bool()> CanSkin;
  std::function<int()> Pick;
  std::function<bool(int)> PickedLoading;
};
WindowVerdict CheckWindowRules(const WindowFacts& facts, const CheckContext& context);

// The menu about to open: 0 popup, 1 a menu bar's drop-down, 2 the system menu.
bool PopupMenuAllowed(int menuKind, const TSkinControlTypes& controls);

// ---- Child controls --------------------------------------------------------------------------

// Painters of the control family that this engine builds.
enum class PainterKind {
  None,         // left native
  Box,          // panels: recoloured, never painted
  Button,       // push buttons
  BitButton,    // push buttons with a glyph
  CheckBox,
  RadioButton,
  GroupBox,     // framework group boxes
  BoxH,         // foreign group boxes and bitmap buttons
  UpDown,
  Progress,
  Sizer,        // size grips
  Children,     // a dialog inside a dialog: its children are offered in turn
  Unbuilt       // a painter of the family this engine leaves out (combo, edit, scroll bars, tabs, ...)
};

// The kind of control a window of the program's framework was designed as.
enum class DesignKind {
  Other, Button, BitBtn, SpeedButton, Panel, CheckBox, RadioButton, GroupBox, SpinButton, ProgressBar, ComboBox,
  Edit, Memo, ListBox, ListView, TabControl, ToolBar, StatusBar, TrackBar, Label, Image
};

struct ControlFacts {
  DesignKind Kind = DesignKind::Other;
  std::u16string ClassName;   // the window class
  int Tag = 0;
  bool HasScrollBars = false; // WS_VSCROLL or WS_HSCROLL
};
// The painter for a framework control: the Skin3rd line of its class first, then the table.
// A control whose Tag is the disable tag stays native; a speed button or bit button never
// falls through to the push-button row.
PainterKind ClassifyControl(const ControlFacts& facts, const TSkinData& data);
// The painter for a child window of a foreign dialog, by its lower-cased class and style.
PainterKind ClassifyForeignChild(const std::u16string& lowerClass, uint32_t style, const TSkinControlTypes& controls);
// Painters that recolour the control to the skin's face colour.
bool PainterRecolours(PainterKind kind);

std::u16string LowerAscii(std::u16string text);

}  // namespace skin
