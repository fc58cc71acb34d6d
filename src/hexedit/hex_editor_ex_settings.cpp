// THexEditorEx: the settings as text lines "name=value".
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>

#include "hexedit/hex_editor_ex.h"
#include "unicode/codepage.h"

namespace hexedit {

namespace {

constexpr std::array<std::u16string_view, 65> kNames = {
    u"ShowRuler", u"DrawGutter3D", u"CreateBackup", u"BackupExtension", u"OleDragDrop", u"ClipboardAsHexText",
    u"FlushClipboardAtShutDown", u"SupportsOtherClipFormats", u"UseEditorFontForPrinting", u"ZoomOnWheel",
    u"BytesPerRow", u"BytesPerColumn", u"Translation", u"OffsetFormat", u"CaretKind", u"FocusFrame", u"SwapNibbles",
    u"MaskChar", u"NoSizeChange", u"AllowInsertMode", u"DrawGridLines", u"ReadOnlyView", u"HideSelection",
    u"GraySelectionIfNotFocused", u"GutterWidth", u"MaxUndo", u"InsertMode", u"HexLowerCase", u"Colors.Background",
    u"Colors.ChangedBackground", u"Colors.ChangedText", u"Colors.CursorFrame", u"Colors.NonFocusCursorFrame",
    u"Colors.Offset", u"Colors.OddColumn", u"Colors.EvenColumn", u"Colors.CurrentOffsetBackground",
    u"Colors.OffsetBackGround", u"Colors.CurrentOffset", u"Colors.Grid", u"PrintFont.Charset", u"PrintFont.Color",
    u"PrintFont.Name", u"PrintFont.Size", u"PrintFont.Style", u"PrintOptions.MarginLeft", u"PrintOptions.MarginTop",
    u"PrintOptions.MarginRight", u"PrintOptions.MarginBottom", u"PrintOptions.PageHeader", u"PrintOptions.PageFooter",
    u"PrintOptions.Flags", u"Font.Charset", u"Font.Color", u"Font.Name", u"Font.Size", u"Font.Style", u"BytesPerUnit",
    u"RulerBytesPerUnit", u"ShowPositionIfNotFocused", u"UnicodeChars", u"UnicodeBigEndian", u"BytesPerBlock",
    u"SeparateBlocksInCharField", u"FindProgress"};

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }
bool SameText(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) {
           return Lower(x) == Lower(y);
         });
}
std::u16string_view Trim(std::u16string_view s) {
  while (!s.empty() && (s.front() == u' ' || s.front() == u'\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == u' ' || s.back() == u'\t' || s.back() == u'\r')) s.remove_suffix(1);
  return s;
}
std::u16string Ascii(std::string_view s) { return std::u16string(s.begin(), s.end()); }
std::string Narrow(std::u16string_view s) { return unicode::Utf16ToUtf8(s); }

[[noreturn]] void BadValue(std::u16string_view name, std::u16string_view value) {
  throw EHexEditor("Invalid property value " + Narrow(name) + "=" + Narrow(value));
}

// ---- Value texts

std::u16string BoolText(bool v) { return v ? u"True" : u"False"; }
bool ParseBool(std::u16string_view name, std::u16string_view v) {
  if (SameText(v, u"True")) return true;
  if (SameText(v, u"False")) return false;
  BadValue(name, v);
}

std::u16string IntText(long long v) { return Ascii(std::to_string(v)); }
long long ParseInt(std::u16string_view name, std::u16string_view v) {
  const std::string s = Narrow(v);
  if (s.empty()) BadValue(name, v);
  char* end = nullptr;
  const long long n = s[0] == '$' ? std::strtoll(s.c_str() + 1, &end, 16) : std::strtoll(s.c_str(), &end, 10);
  if (*end != '\0' || (s[0] == '$' && s.size() == 1)) BadValue(name, v);
  return n;
}
int ParseSmallInt(std::u16string_view name, std::u16string_view v) {
  const long long n = ParseInt(name, v);
  if (n < -0x7FFFFFFFLL || n > 0x7FFFFFFFLL) BadValue(name, v);
  return static_cast<int>(n);
}

struct NamedValue {
  std::u16string_view name;
  long long value;
};
constexpr NamedValue kColorNames[] = {
    {u"clBlack", clBlack},       {u"clMaroon", clMaroon},   {u"clGreen", clGreen},
    {u"clOlive", clOlive},       {u"clNavy", clNavy},       {u"clPurple", clPurple},
    {u"clTeal", clTeal},         {u"clGray", clGray},       {u"clSilver", clSilver},
    {u"clRed", clRed},           {u"clLime", clLime},       {u"clYellow", clYellow},
    {u"clBlue", clBlue},         {u"clFuchsia", clFuchsia}, {u"clAqua", clAqua},
    {u"clWhite", clWhite},       {u"clBtnFace", clBtnFace}, {u"clBtnShadow", clBtnShadow},
    {u"clBtnHighlight", clBtnHighlight}, {u"clWindow", clWindow}, {u"clWindowText", clWindowText},
    {u"clHighlight", clHighlight}, {u"clHighlightText", clHighlightText}};
constexpr NamedValue kCharsetNames[] = {{u"ANSI_CHARSET", 0},     {u"DEFAULT_CHARSET", 1}, {u"SYMBOL_CHARSET", 2},
                                        {u"GB2312_CHARSET", 134}, {u"OEM_CHARSET", 255}};

template <std::size_t N>
std::u16string NamedText(const NamedValue (&names)[N], long long v, bool hexFallback) {
  for (const NamedValue& n : names) {
    if (n.value == v) return std::u16string(n.name);
  }
  if (!hexFallback) return IntText(v);
  char text[16];
  std::snprintf(text, sizeof text, "$%08X", static_cast<unsigned>(v));
  return Ascii(text);
}
template <std::size_t N>
long long ParseNamed(const NamedValue (&names)[N], std::u16string_view name, std::u16string_view v) {
  for (const NamedValue& n : names) {
    if (SameText(n.name, v)) return n.value;
  }
  return ParseInt(name, v);
}
TColor ParseColor(std::u16string_view name, std::u16string_view v) {
  const long long n = ParseNamed(kColorNames, name, v);
  if (n < -0x80000000LL || n > 0xFFFFFFFFLL) BadValue(name, v);
  return static_cast<TColor>(static_cast<std::uint32_t>(n));
}

// Sets of flags: "[fsBold,fsItalic]".
struct FlagName {
  std::u16string_view name;
  unsigned bit;
};
constexpr FlagName kFontStyles[] = {{u"fsBold", fsBold}, {u"fsItalic", fsItalic}, {u"fsUnderline", fsUnderline},
                                    {u"fsStrikeOut", fsStrikeOut}};
constexpr FlagName kPrintFlags[] = {{u"pfSelectionOnly", pfSelectionOnly}, {u"pfSelectionBold", pfSelectionBold},
                                    {u"pfMonochrome", pfMonochrome}, {u"pfUseBackgroundColor", pfUseBackgroundColor},
                                    {u"pfCurrentViewOnly", pfCurrentViewOnly}};
template <std::size_t N>
std::u16string SetText(const FlagName (&names)[N], unsigned bits) {
  std::u16string out = u"[";
  for (const FlagName& f : names) {
    if (!(bits & f.bit)) continue;
    if (out.size() > 1) out += u',';
    out += f.name;
  }
  return out + u"]";
}
template <std::size_t N>
unsigned ParseSet(const FlagName (&names)[N], std::u16string_view name, std::u16string_view v) {
  if (v.size() < 2 || v.front() != u'[' || v.back() != u']') BadValue(name, v);
  std::u16string_view rest = v.substr(1, v.size() - 2);
  unsigned bits = 0;
  while (!Trim(rest).empty()) {
    const std::size_t comma = rest.find(u',');
    const std::u16string_view item = Trim(rest.substr(0, comma));
    const auto* f = std::find_if(std::begin(names), std::end(names), [&](const FlagName& n) { return SameText(n.name, item); });
    if (f == std::end(names)) BadValue(name, v);
    bits |= f->bit;
    if (comma == std::u16string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  return bits;
}

constexpr std::u16string_view kTranslationNames[] = {u"tkAsIs", u"tkDos8", u"tkASCII", u"tkMac", u"tkBCD", u"tkCustom"};
constexpr std::u16string_view kCaretKindNames[] = {u"ckFull", u"ckLeft", u"ckBottom", u"ckAuto"};
template <std::size_t N>
int ParseEnum(const std::u16string_view (&names)[N], std::u16string_view name, std::u16string_view v) {
  for (std::size_t i = 0; i < N; ++i) {
    if (SameText(names[i], v)) return static_cast<int>(i);
  }
  BadValue(name, v);
}

// Texts stay on one line: backslash, CR and LF are escaped.
std::u16string Escape(std::u16string_view s) {
  std::u16string out;
  for (char16_t c : s) {
    if (c == u'\\') out += u"\\\\";
    else if (c == u'\r') out += u"\\r";
    else if (c == u'\n') out += u"\\n";
    else out += c;
  }
  return out;
}
std::u16string Unescape(std::u16string_view s) {
  std::u16string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] != u'\\' || i + 1 == s.size()) {
      out += s[i];
      continue;
    }
    const char16_t n = s[++i];
    out += n == u'r' ? u'\r' : n == u'n' ? u'\n' : n;
  }
  return out;
}

std::u16string FontProperty(const THxFont& f, std::u16string_view field) {
  if (field == u"Charset") return NamedText(kCharsetNames, f.Charset, false);
  if (field == u"Color") return NamedText(kColorNames, f.Color, true);
  if (field == u"Name") return Escape(f.Name);
  if (field == u"Size") return IntText(f.Size);
  return SetText(kFontStyles, f.Style);
}
void SetFontProperty(THxFont& f, std::u16string_view field, std::u16string_view name, std::u16string_view v) {
  if (field == u"Charset") {
    const long long n = ParseNamed(kCharsetNames, name, v);
    if (n < 0 || n > 255) BadValue(name, v);
    f.Charset = static_cast<int>(n);
  } else if (field == u"Color") {
    f.Color = ParseColor(name, v);
  } else if (field == u"Name") {
    if (v.empty()) BadValue(name, v);
    f.Name = Unescape(v);
  } else if (field == u"Size") {
    const int size = ParseSmallInt(name, v);
    if (size < 1 || size > 1000) BadValue(name, v);
    f.Size = size;
  } else {
    f.Style = ParseSet(kFontStyles, name, v);
  }
}

TColor* ColorSlot(THxColors& c, std::size_t i) {
  TColor* slots[] = {&c.Background,   &c.ChangedBackground,        &c.ChangedText,      &c.CursorFrame,
                     &c.NonFocusCursorFrame, &c.Offset,           &c.OddColumn,        &c.EvenColumn,
                     &c.CurrentOffsetBackground, &c.OffsetBackGround, &c.CurrentOffset, &c.Grid};
  return slots[i];
}

constexpr std::size_t kFirstColor = 28;       // "Colors.Background"
constexpr std::size_t kFirstPrintFont = 40;   // "PrintFont.Charset"
constexpr std::size_t kFirstPrintOption = 45; // "PrintOptions.MarginLeft"
constexpr std::size_t kFirstFont = 52;        // "Font.Charset"

std::u16string_view FieldOf(std::u16string_view name) { return name.substr(name.find(u'.') + 1); }

}  // namespace

std::span<const std::u16string_view> SettingsNames() { return kNames; }

bool THexEditorEx::IsPublicProperty(std::u16string_view name) {
  bool isPublic = std::any_of(kNames.begin(), kNames.end(), [&](std::u16string_view n) { return SameText(n, name); });
  if (isPublic && OnQueryPublicProperty) OnQueryPublicProperty(name, isPublic);
  return isPublic;
}

std::u16string THexEditorEx::GetProperty(std::size_t i) {
  const std::u16string_view name = kNames[i];
  if (i >= kFirstColor && i < kFirstPrintFont) {
    THxColors colors = Colors();
    return NamedText(kColorNames, *ColorSlot(colors, i - kFirstColor), true);
  }
  if (i >= kFirstPrintFont && i < kFirstPrintOption) return FontProperty(PrintFont, FieldOf(name));
  if (i >= kFirstFont && i < kFirstFont + 5) return FontProperty(Font(), FieldOf(name));
  switch (i) {
    case 0: return BoolText(ShowRuler());
    case 1: return BoolText(DrawGutter3D());
    case 2: return BoolText(CreateBackup);
    case 3: return Escape(BackupExtension);
    case 4: return BoolText(OleDragDrop());
    case 5: return BoolText(ClipboardAsHexText);
    case 6: return BoolText(FlushClipboardAtShutDown);
    case 7: return BoolText(SupportsOtherClipFormats);
    case 8: return BoolText(UseEditorFontForPrinting);
    case 9: return BoolText(ZoomOnWheel);
    case 10: return IntText(BytesPerRow());
    case 11: return IntText(BytesPerColumn());
    case 12: return std::u16string(kTranslationNames[static_cast<int>(Translation())]);
    case 13: return Escape(unicode::Utf8ToUtf16(OffsetFormatText()));
    case 14: return std::u16string(kCaretKindNames[static_cast<int>(CaretKind())]);
    case 15: return BoolText(FocusFrame());
    case 16: return BoolText(SwapNibbles());
    case 17: return Escape(std::u16string(1, MaskChar()));
    case 18: return BoolText(NoSizeChange());
    case 19: return BoolText(AllowInsertMode());
    case 20: return BoolText(DrawGridLines());
    case 21: return BoolText(ReadOnlyView());
    case 22: return BoolText(HideSelection());
    case 23: return BoolText(GraySelectionIfNotFocused());
    case 24: return IntText(GutterWidth());
    case 25: return IntText(static_cast<long long>(MaxUndo()));
    case 26: return BoolText(InsertMode());
    case 27: return BoolText(HexLowerCase());
    case 45: return IntText(PrintOptions.MarginLeft);
    case 46: return IntText(PrintOptions.MarginTop);
    case 47: return IntText(PrintOptions.MarginRight);
    case 48: return IntText(PrintOptions.MarginBottom);
    case 49: return Escape(PrintOptions.PageHeader);
    case 50: return Escape(PrintOptions.PageFooter);
    case 51: return SetText(kPrintFlags, PrintOptions.Flags);
    case 57: return IntText(BytesPerUnit());
    case 58: return IntText(RulerBytesPerUnit());
    case 59: return BoolText(ShowPositionIfNotFocused());
    case 60: return BoolText(UnicodeChars());
    case 61: return BoolText(UnicodeBigEndian());
    case 62: return IntText(BytesPerBlock());
    case 63: return BoolText(SeparateBlocksInCharField());
    case 64: return BoolText(FindProgress());
    default: return {};
  }
}

void THexEditorEx::SetProperty(std::size_t i, std::u16string_view v) {
  const std::u16string_view name = kNames[i];
  if (i >= kFirstColor && i < kFirstPrintFont) {
    THxColors colors = Colors();
    *ColorSlot(colors, i - kFirstColor) = ParseColor(name, v);
    SetColors(colors);
    return;
  }
  if (i >= kFirstPrintFont && i < kFirstPrintOption) {
    SetFontProperty(PrintFont, FieldOf(name), name, v);
    return;
  }
  if (i >= kFirstFont && i < kFirstFont + 5) {
    THxFont font = Font();
    SetFontProperty(font, FieldOf(name), name, v);
    SetFont(font);
    return;
  }
  const auto flag = [&] { return ParseBool(name, v); };
  switch (i) {
    case 0: SetShowRuler(flag()); break;
    case 1: SetDrawGutter3D(flag()); break;
    case 2: CreateBackup = flag(); break;
    case 3: BackupExtension = Unescape(v); break;
    case 4: SetOleDragDrop(flag()); break;
    case 5: ClipboardAsHexText = flag(); break;
    case 6: FlushClipboardAtShutDown = flag(); break;
    case 7: SupportsOtherClipFormats = flag(); break;
    case 8: UseEditorFontForPrinting = flag(); break;
    case 9: ZoomOnWheel = flag(); break;
    case 10: SetBytesPerRow(ParseSmallInt(name, v)); break;
    case 11: SetBytesPerColumn(ParseSmallInt(name, v)); break;
    case 12: SetTranslation(static_cast<THxTranslationKind>(ParseEnum(kTranslationNames, name, v))); break;
    case 13: SetOffsetFormat(unicode::Utf16ToUtf8(Unescape(v))); break;
    case 14: SetCaretKind(static_cast<TCaretKind>(ParseEnum(kCaretKindNames, name, v))); break;
    case 15: SetFocusFrame(flag()); break;
    case 16: SetSwapNibbles(flag()); break;
    case 17: {
      const std::u16string c = Unescape(v);
      if (c.size() != 1) BadValue(name, v);
      SetMaskChar(c[0]);
      break;
    }
    case 18: SetNoSizeChange(flag()); break;
    case 19: SetAllowInsertMode(flag()); break;
    case 20: SetDrawGridLines(flag()); break;
    case 21: SetReadOnlyView(flag()); break;
    case 22: SetHideSelection(flag()); break;
    case 23: SetGraySelectionIfNotFocused(flag()); break;
    case 24: SetGutterWidth(ParseSmallInt(name, v)); break;
    case 25: {
      const long long n = ParseInt(name, v);
      if (n < 0) BadValue(name, v);
      SetMaxUndo(static_cast<std::size_t>(n));
      break;
    }
    case 26: SetInsertMode(flag()); break;
    case 27: SetHexLowerCase(flag()); break;
    case 45: PrintOptions.MarginLeft = ParseSmallInt(name, v); break;
    case 46: PrintOptions.MarginTop = ParseSmallInt(name, v); break;
    case 47: PrintOptions.MarginRight = ParseSmallInt(name, v); break;
    case 48: PrintOptions.MarginBottom = ParseSmallInt(name, v); break;
    case 49: PrintOptions.PageHeader = Unescape(v); break;
    case 50: PrintOptions.PageFooter = Unescape(v); break;
    case 51: PrintOptions.Flags = ParseSet(kPrintFlags, name, v); break;
    case 57: SetBytesPerUnit(ParseSmallInt(name, v)); break;
    case 58: SetRulerBytesPerUnit(ParseSmallInt(name, v)); break;
    case 59: SetShowPositionIfNotFocused(flag()); break;
    case 60: SetUnicodeChars(flag()); break;
    case 61: SetUnicodeBigEndian(flag()); break;
    case 62: SetBytesPerBlock(ParseSmallInt(name, v)); break;
    case 63: SetSeparateBlocksInCharField(flag()); break;
    case 64: SetFindProgress(flag()); break;
    default: break;
  }
}

std::u16string THexEditorEx::GetPropertiesAsText() {
  std::u16string text;
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    if (!IsPublicProperty(kNames[i])) continue;
    text += kNames[i];
    text += u'=';
    text += GetProperty(i);
    text += u"\r\n";
  }
  return text;
}

void THexEditorEx::SetPropertiesFromText(std::u16string_view text) {
  // Painting resumes and the view is drawn once on every way out, a failure included.
  struct UpdateScope {
    THexEditorEx& editor;
    explicit UpdateScope(THexEditorEx& e) : editor(e) { editor.settingsUpdating_ = true; }
    ~UpdateScope() {
      editor.settingsUpdating_ = false;
      editor.InvalidateView();
    }
  } scope(*this);
  while (!text.empty()) {
    std::size_t end = text.find(u'\n');
    std::u16string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
    text = end == std::u16string_view::npos ? std::u16string_view() : text.substr(end + 1);
    const std::size_t equals = line.find(u'=');
    if (equals == std::u16string_view::npos) continue;
    const std::u16string_view name = Trim(line.substr(0, equals));
    const auto it = std::find_if(kNames.begin(), kNames.end(), [&](std::u16string_view n) { return SameText(n, name); });
    if (it == kNames.end() || !IsPublicProperty(name)) continue;
    SetProperty(static_cast<std::size_t>(it - kNames.begin()), line.substr(equals + 1));
  }
}

}  // namespace hexedit
