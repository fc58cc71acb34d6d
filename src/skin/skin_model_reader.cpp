#include "skin/skin_model_reader.h"

#include <algorithm>
#include <string>
#include <utility>

#include "skin/bmp_reader.h"
#include "skin/quick_ini.h"
#include "skin/skin_derived_images.h"
#include "skin/skin_reader.h"
#include "skin/skin_text.h"

namespace skin {

Bitmap24 LoadSkinImage(const TSkinReader& archive, std::u16string_view value) {
  const size_t dot = value.rfind(u'.');
  if (dot == std::u16string_view::npos || value.substr(dot) != u".bmp") return {};
  const size_t folder = value.find_last_of(u"\\/:");
  if (dot == 0 || (folder != std::u16string_view::npos && folder + 1 == dot)) return {};
  unicode::TMemoryStream entry;
  archive.GetEntry(value, entry);
  if (entry.Size() == 0) return {};
  return ReadBmp(entry.Bytes().data(), entry.Bytes().size());
}

namespace {

struct ColourSlot {
  int slot;
  const char16_t* key;
  TColor fallback;
};
constexpr ColourSlot kColourSlots[] = {
    {scWindowText, u"WindowText", clWindowText},     {scTitleTextActive, u"TitleTextActive", clCaptionText},
    {scTitleTextNoActive, u"TitleTextNoActive", clInactiveCaptionText},
    {scButtonFace, u"ButtonFace", clBtnFace},        {scButtonText, u"ButtonText", clBtnText},
    {scButtonHilight, u"ButtonHilight", clBtnHighlight}, {scButtonlight, u"Buttonlight", clBtnHighlight},
    {scButtonShadow, u"ButtonShadow", clBtnShadow},  {scButtonDkShadow, u"ButtonDkShadow", cl3DDkShadow},
    {scHilightText, u"HilightText", clHighlightText}, {scHilight, u"Hilight", clHighlight},
    {scMenubar, u"Menubar", clBtnFace /* replaced by slot 3 */}, {scMenuBarText, u"MenuBarText", clMenuText},
    {scMenuText, u"MenuText", clMenuText},           {scMenu, u"Menu", clMenu},
    {scScrollbar, u"Scrollbar", clScrollBar}};

// Section names that begin with "BUTTON" but are not caption buttons.
constexpr std::u16string_view kNotCaptionButtons[] = {u"BUTTONS", u"BUTTON.RADIO", u"BUTTON.CHECKBOX", u"BUTTON"};

bool StartsWith(std::u16string_view text, std::u16string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

class ModelReader {
 public:
  ModelReader(const TQuickIni& ini, const TSkinReader& archive) : ini_(ini), archive_(archive) {}

  TSkinModel Read() {
    sections_ = ini_.ReadSections();
    m_.SkinName = ini_.ReadString(u"TitlebarSkin", u"SkinName", u"");
    ReadBorder(m_.Left, u"Left");
    ReadBorder(m_.Right, u"Right");
    ReadBorder(m_.Top, u"Top");
    ReadBorder(m_.Bottom, u"Bottom");
    ReadColours();
    ReadCaptionButtons();
    ReadPushButtons();
    ReadTitle();
    ReadProgress();
    ReadObjectSections();
    SetFixedFrameCounts();
    DeriveImages(m_);
    for (TDataSkinObject* o : AllObjects(m_)) {
      // A frame count below 1 would divide by zero in every painter; negative margins
      // would turn the nine-part drawing inside out.
      o->FrameCount = std::max(o->FrameCount, 1);
      o->Margins = {std::max(o->Margins.Left, 0), std::max(o->Margins.Top, 0), std::max(o->Margins.Right, 0),
                    std::max(o->Margins.Bottom, 0)};
    }
    return std::move(m_);
  }

 private:
  std::u16string String(std::u16string_view section, std::u16string_view key) const {
    return ini_.ReadString(section, key, u"");
  }
  int Integer(std::u16string_view section, std::u16string_view key, int fallback) const {
    return ini_.ReadInteger(section, key, fallback);
  }
  // Colour text; the fallback when the value is empty. given (when asked) records which.
  TColor Colour(std::u16string_view section, std::u16string_view key, TColor fallback, bool* given = nullptr) const {
    const std::u16string text = String(section, key);
    if (given != nullptr) *given = !text.empty();
    return text.empty() ? fallback : ParseColourText(text);
  }
  Bitmap24 Image(std::u16string_view section, std::u16string_view key) const {
    return LoadSkinImage(archive_, String(section, key));
  }
  void ReadMargins(TDataSkinObject& o, std::u16string_view section) const {
    o.Margins = {Integer(section, u"LeftWidth", 0), Integer(section, u"TopHeight", 0),
                 Integer(section, u"RightWidth", 0), Integer(section, u"BottomHeight", 0)};
  }
  // "Tile" into Stretch: 0 or 1, a value above 1 reading aboveOne.
  int Tile(std::u16string_view section, std::u16string_view key, int fallback, int aboveOne) const {
    const int value = Integer(section, key, fallback);
    return value > 1 ? aboveOne : value;
  }

  void ReadBorder(TDataSkinObject& o, const std::u16string& n) {
    const std::u16string_view p = u"Personality";
    o.Name = n;
    o.Bitmap = Image(p, n);
    const int first = Integer(p, n + u"TopHeight", 0);
    const int second = Integer(p, n + u"BotHeight", 0);
    if (n == u"Left" || n == u"Right") {
      o.Margins = {0, first, 0, second};
    } else {
      o.Margins = {first, 0, second, 0};
    }
    o.FrameCount = Integer(p, n + u"Frame", 1);
    o.Stretch = Tile(p, n + u"Stretch", 1, 1);
    o.Trans = Integer(p, n + u"Trans", 1);
  }

  void ReadColours() {
    for (const ColourSlot& c : kColourSlots) {
      const TColor fallback = c.slot == scMenubar ? m_.Colors[scButtonFace] : c.fallback;
      bool given = false;
      m_.Colors[static_cast<size_t>(c.slot)] = Colour(u"Colours", c.key, fallback, &given);
      m_.ColorGiven[static_cast<size_t>(c.slot)] = given;
    }
    for (const std::u16string& s : sections_) {
      const std::u16string upper = AsciiUpper(s);
      if (StartsWith(upper, u"COLOUR") && upper != u"COLOURS") m_.ColourList.push_back(Colour(s, u"color", clWindowText));
    }
    for (int i = 0; i < 10; ++i) {
      m_.CustomColors[static_cast<size_t>(i)] =
          Colour(u"Customcolors", u"Color" + std::u16string(1, static_cast<char16_t>(u'0' + i)), clWhite);
    }
  }

  bool IsCaptionButtonSection(const std::u16string& s) const {
    const std::u16string upper = AsciiUpper(s);
    if (!StartsWith(upper, u"BUTTON")) return false;
    for (std::u16string_view other : kNotCaptionButtons) {
      if (upper == other) return false;
    }
    return !(Integer(s, u"Action", 0) == -1 && Integer(s, u"Visibility", -1) != 0);
  }

  void ReadCaptionButtons() {
    bool haveMaximise = false;
    int maximiseX = 0, maximiseY = 0;
    for (const std::u16string& s : sections_) {
      if (!IsCaptionButtonSection(s)) continue;
      TDataSkinSysButton b;
      b.Name = s;
      b.Action = Integer(s, u"Action", 0);
      b.Align = Integer(s, u"Align", 0);
      b.Xcoord = Integer(s, u"Xcoord", 0);
      b.Ycoord = Integer(s, u"Ycoord", 0);
      b.Visibility = Integer(s, u"Visibility", 0);
      b.Visibility1 = Integer(s, u"Visibility1", b.Action == -1 ? -1 : 0);
      b.CombineOp = Integer(s, u"CombineOp", -1);
      const int frame = Integer(s, u"frame", 0);
      b.Bitmap = Image(s, u"ButtonImage");
      if (b.Action == 1 && b.Visibility == 2) {
        haveMaximise = true;
        maximiseX = b.Xcoord;
        maximiseY = b.Ycoord;
      }
      if (b.Action == 4 && haveMaximise) {
        b.Xcoord = maximiseX;
        b.Ycoord = maximiseY;
      }
      b.FrameCount = frame;
      if (frame == 0) {
        b.FrameCount = 6;
        if (!b.Bitmap.Empty()) {
          // Wide pictures hold six frames, squarer ones three (width / height at most 1.9).
          b.FrameCount = b.Bitmap.Width() * 10 <= b.Bitmap.Height() * 19 ? 3 : 6;
          if (b.Action < 0) b.FrameCount = 6;
        }
        // A system-menu button without frames shows the window's icon instead.
        if (b.Action == 3 || b.Action == 11) b.Bitmap.Clear();
      }
      m_.SysButtons.push_back(std::move(b));
    }
    // The MDI child's minimise, restore and close: four frames each out of one 12-frame picture.
    const Bitmap24 mdi = Image(u"MDICONTROLS", u"Image");
    const int w = mdi.Width() / 12;
    for (int i = 0; i < 3; ++i) {
      TDataSkinSysButton b;
      b.Name = u"MDICONTROLS";
      b.Action = 7 + i;
      b.Align = b.Visibility = b.Visibility1 = 100;
      b.FrameCount = 4;
      if (w > 0) b.Bitmap = mdi.Copy(4 * i * w, 0, 4 * w, mdi.Height());
      b.Xcoord = (3 - i) * (w + 4);
      m_.SysButtons.push_back(std::move(b));
    }
  }

  // The three text colours given as colour text, each defaulting to the ButtonText slot.
  void ReadStateColours(TDataSkinObject& o, std::u16string_view s, bool* given = nullptr) const {
    o.NormalColour = Integer(s, u"NormalColour", -1);
    o.MouseOverColour = Integer(s, u"MouseOverColour", -1);
    o.PressedColour = Integer(s, u"PressedColour", -1);
    const TColor text = m_.Colors[scButtonText];
    o.NormalColour2 = Colour(s, u"NormalColour2", text, given ? &given[0] : nullptr);
    o.MouseOverColour2 = Colour(s, u"MouseOverColour2", text, given ? &given[1] : nullptr);
    o.PressedColour2 = Colour(s, u"PressedColour2", text, given ? &given[2] : nullptr);
  }

  void ReadPushButtons() {
    const std::u16string_view s = u"Buttons";
    TDataSkinButton& b = m_.Buttons;
    b.Name = s;
    ReadMargins(b, s);
    b.Trans = Integer(s, u"Trans", 0);
    b.Bitmap = Image(s, u"Bitmap");
    b.Stretch = Tile(s, u"Tile", 0, 0);
    b.CheckBitmap = Image(s, u"CheckButton");
    b.RadioBitmap = Image(s, u"RadioButton");
    b.RadioButtonFrame = Integer(s, u"RadioButtonFrame", 0);
    b.CheckButtonFrame = Integer(s, u"CheckButtonFrame", 0);
    bool given[3] = {false, false, false};
    ReadStateColours(b, s, given);
    b.NormalColour2Given = given[0];
    b.MouseOverColour2Given = given[1];
    b.PressedColour2Given = given[2];
  }

  // "<name>R", "<name>G", "<name>B": a colour only when all three are 0 or more.
  std::optional<TColor> TextColour(const std::u16string& name) const {
    const std::u16string_view p = u"Personality";
    const int r = Integer(p, name + u"R", -1), g = Integer(p, name + u"G", -1), b = Integer(p, name + u"B", -1);
    if (r < 0 || g < 0 || b < 0) return std::nullopt;
    return RGBColor(std::min(r, 255), std::min(g, 255), std::min(b, 255));
  }

  void ReadTitle() {
    const std::u16string_view p = u"Personality";
    TDataSkinTitle& t = m_.Title;
    t.Name = u"Title";
    t.Bitmap = Image(p, u"TextBack");
    t.Margins = {Integer(p, u"TextShift", 0), Integer(p, u"TextShiftVert", 0), Integer(p, u"TextRightClip", 0), 0};
    t.TextAlignment = Integer(p, u"TextAlignment", 0);
    t.Textbackground = Integer(p, u"Textbackground", 0);
    t.TXTBackleft = Integer(p, u"TXTBackleft", 0);
    t.TXTBackRight = Integer(p, u"TXTBackRight", 0);
    t.FontHeight = Integer(u"Fonts", u"FontHeight", 14);
    t.ActiveText = TextColour(u"ActiveText");
    t.InActiveText = TextColour(u"InActiveText");
  }

  void ReadProgress() {
    const std::u16string_view s = u"Progress";
    const std::u16string image = String(s, u"Bitmap");
    if (image.empty()) return;
    TDataSkinObject o;
    o.Name = s;
    o.Bitmap = LoadSkinImage(archive_, image);
    o.Style = Integer(s, u"Style", 0);
    ReadMargins(o, s);
    o.Trans = Integer(s, u"Trans", 0);
    o.Stretch = Tile(s, u"Tile", 0, 1);
    m_.Progress = std::move(o);
  }

  // An object section with the common keys; absent when its image key is empty.
  std::optional<TDataSkinObject> Object(std::u16string_view s, std::u16string_view secondImage = {},
                                        int frameDefault = 1) const {
    const std::u16string image = String(s, u"Image");
    if (image.empty()) return std::nullopt;
    TDataSkinObject o;
    o.Name = s;
    o.Bitmap = LoadSkinImage(archive_, image);
    if (!secondImage.empty()) o.Bitmap2 = Image(s, secondImage);
    o.Style = Integer(s, u"Style", 0);
    ReadMargins(o, s);
    o.FrameCount = Integer(s, u"Frame", frameDefault);
    o.Trans = Integer(s, u"Trans", 0);
    o.Stretch = Tile(s, u"Tile", 0, 0);
    ReadStateColours(o, s);
    return o;
  }

  void ReadMenuBar() {
    const std::u16string_view p = u"Personality";
    const std::u16string image = String(p, u"menuBar");
    if (image.empty()) return;
    TDataSkinObject o;
    o.Name = u"menuBar";
    o.Bitmap = LoadSkinImage(archive_, image);
    o.Stretch = Tile(p, u"TileMenu", 1, 1);
    o.Margins = {Integer(p, u"TileLeftMenu", 1), 0, Integer(p, u"TileRightMenu", 1), 0};
    m_.MenuBar = std::move(o);
  }

  void ReadObjectSections() {
    m_.ProgressChunk = Object(u"Progress.Chunk");
    ReadMenuBar();
    m_.GroupBoxEdge = Object(u"GroupBoxEdge");
    if (auto box = Object(u"GroupBox")) {
      TDataSkinBoxLabel label;
      static_cast<TDataSkinObject&>(label) = std::move(*box);
      label.BackgroundAlignment = Integer(u"GroupBox", u"BackgroundAlignment", 0);
      label.BackgroundLeftShift = Integer(u"GroupBox", u"BackgroundLeftShift", 0);
      label.BackgroundRightShift = Integer(u"GroupBox", u"BackgroundRightShift", 0);
      m_.GroupBox = std::move(label);
    }
    m_.Tabs = Object(u"Tabs", u"Border");
    m_.StatusBarEdges = Object(u"StatusBarEdges");
    m_.TabPane = Object(u"Tab.Pane");
    if (m_.TabPane) {
      for (int* margin : {&m_.TabPane->Margins.Left, &m_.TabPane->Margins.Top, &m_.TabPane->Margins.Right,
                          &m_.TabPane->Margins.Bottom}) {
        if (*margin == 0) *margin = 4;
      }
    }
    m_.ToolBars = Object(u"ToolBars");
    m_.ComboButton = Object(u"ComboButton", u"****");
    m_.SunkEdge = Object(u"SunkEdge");
    m_.ExtraImages = Object(u"ExtraImages");
    m_.Headerbar = Object(u"Headerbar", {}, 0);
    m_.MenuItem = Object(u"MenuItem");
    m_.MenuBackground = Object(u"MenuBackground");
    m_.Scrollbar = Object(u"Scrollbar");
    m_.HorzScroll = Object(u"HorzScroll");
    m_.VertScroll = Object(u"VertScroll");
    m_.HorzScrollThumb = Object(u"HorzScrollThumb");
    m_.VertScrollThumb = Object(u"VertScrollThumb");
    m_.ThumbHorz = Object(u"Trackbar.ThumbHorz");
    m_.ThumbVert = Object(u"Trackbar.ThumbVert");
    m_.ThumbLeft = Object(u"Trackbar.ThumbLeft");
    m_.ThumbRight = Object(u"Trackbar.ThumbRight");
    m_.ThumbUp = Object(u"Trackbar.ThumbUp");
    m_.ThumbDown = Object(u"Trackbar.ThumbDown");
    m_.UpDownHorz = Object(u"UpDown.Horz", u"GlyphImage");
    m_.UpDownVert = Object(u"UpDown.Vert", u"GlyphImage");
    auto track = Object(u"Track");
    m_.Track = track ? std::move(*track) : BuiltInTrack(false);
    auto trackVert = Object(u"TRACKVERT");
    m_.TrackVert = trackVert ? std::move(*trackVert) : BuiltInTrack(true);
  }

  // Frame counts that the painters rely on, whatever a "Frame" key said.
  void SetFixedFrameCounts() {
    using Object = std::optional<TDataSkinObject> TSkinModel::*;
    static constexpr std::pair<Object, int> kFixed[] = {
        {&TSkinModel::MenuBar, 2},        {&TSkinModel::GroupBoxEdge, 2},   {&TSkinModel::ToolBars, 5},
        {&TSkinModel::Tabs, 5},           {&TSkinModel::TabPane, 1},        {&TSkinModel::StatusBarEdges, 3},
        {&TSkinModel::ComboButton, 4},    {&TSkinModel::SunkEdge, 4},       {&TSkinModel::ExtraImages, 5},
        {&TSkinModel::MenuItem, 5},       {&TSkinModel::MenuBackground, 1}, {&TSkinModel::Scrollbar, 23},
        {&TSkinModel::HorzScroll, 4},     {&TSkinModel::VertScroll, 4},     {&TSkinModel::UpDownHorz, 8},
        {&TSkinModel::UpDownVert, 8},     {&TSkinModel::ThumbHorz, 5},      {&TSkinModel::ThumbVert, 5},
        {&TSkinModel::ThumbLeft, 5},      {&TSkinModel::ThumbRight, 5},     {&TSkinModel::ThumbUp, 5},
        {&TSkinModel::ThumbDown, 5}};
    for (const auto& [object, frames] : kFixed) {
      if (m_.*object) (m_.*object)->FrameCount = frames;
    }
    m_.Buttons.FrameCount = 5;
    m_.Title.FrameCount = 2;
    if (m_.Progress) m_.Progress->FrameCount = m_.Progress->Style != 0 ? 1 : 2;
    if (m_.GroupBox) m_.GroupBox->FrameCount = 1;
    if (m_.Headerbar && m_.Headerbar->FrameCount <= 0) m_.Headerbar->FrameCount = 5;
    if (m_.HorzScrollThumb) m_.HorzScrollThumb->FrameCount = Integer(u"HorzScrollThumb", u"FrameCount", 3);
    if (m_.VertScrollThumb) m_.VertScrollThumb->FrameCount = Integer(u"VertScrollThumb", u"FrameCount", 3);
    m_.Buttons.CheckButtonFrame = GlyphFrames(m_.Buttons.CheckButtonFrame, m_.Buttons.CheckBitmap);
    m_.Buttons.RadioButtonFrame = GlyphFrames(m_.Buttons.RadioButtonFrame, m_.Buttons.RadioBitmap);
  }

  // Glyph frames the skin does not give: 16-pixel glyphs in a picture at least 16 high,
  // else 13-pixel ones; at least 4.
  static int GlyphFrames(int given, const Bitmap24& glyphs) {
    if (given > 0) return given;
    const int size = glyphs.Height() >= 16 ? 16 : 13;
    return std::max(glyphs.Width() / size, 4);
  }

  const TQuickIni& ini_;
  const TSkinReader& archive_;
  std::vector<std::u16string> sections_;
  TSkinModel m_;
};

}  // namespace

TSkinModel ReadSkinModel(const TQuickIni& ini, const TSkinReader& archive) { return ModelReader(ini, archive).Read(); }

}  // namespace skin
