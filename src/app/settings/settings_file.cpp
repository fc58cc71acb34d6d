#include "app/settings/settings_file.h"

#include <cstdint>
#include <optional>

#include "app/files/atomic_file.h"
#include "app/skins/skin_choices.h"
#include "unicode/codepage.h"

namespace app {

namespace fs = std::filesystem;

namespace {

constexpr int kMaxTextLengthLimit = 320000;  // the options dialog's upper bound
constexpr int kMaxFontSize = 1638;           // the largest size the font dialog offers
constexpr std::size_t kMaxFontNameLength = 31;
constexpr int kMaxWindowExtent = 32767;

// A decimal integer with an optional sign; blanks around it are allowed.
std::optional<int> ParseInteger(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= 0x20) text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= 0x20) text.remove_suffix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || text.size() > 10) return std::nullopt;
  long long value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (negative) value = -value;
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<int>(value);
}

// RGB values and the system colours ($FF000000 + index) are colours; anything else is junk.
bool IsColourValue(int value) {
  constexpr int kSystemColourBase = -16777216;  // $FF000000
  return (value >= 0 && value <= 0xFFFFFF) || (value >= kSystemColourBase && value <= kSystemColourBase + 30);
}

// Splits the file into its first lines (CR LF, lone CR or lone LF end a line).
std::vector<std::string_view> FirstLines(std::string_view bytes, bool truncated) {
  if (truncated) {
    // The part after the last break belongs to a line we did not get whole.
    const std::size_t last = bytes.find_last_of("\r\n");
    bytes = last == std::string_view::npos ? std::string_view() : bytes.substr(0, last + 1);
  }
  std::vector<std::string_view> lines;
  std::size_t pos = 0;
  while (pos < bytes.size() && lines.size() < static_cast<std::size_t>(kSettingsLineCount)) {
    std::size_t end = bytes.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = bytes.size();
    lines.push_back(bytes.substr(pos, end - pos));
    if (end < bytes.size() && bytes[end] == '\r') ++end;
    if (end < bytes.size() && bytes[end] == '\n') ++end;
    pos = end;
  }
  return lines;
}

std::string AnsiLine(std::u16string_view text) {
  // A line break or NUL inside a value would shift every line after it.
  std::u16string clean(text);
  for (char16_t& c : clean) {
    if (c == u'\r' || c == u'\n' || c == u'\0') c = u' ';
  }
  return unicode::Utf16ToAnsi(clean);
}

class SettingsReader {
 public:
  SettingsReader(const Settings& current) { result_.values = current; }

  SettingsReadResult Run(std::string_view bytes, bool truncated) {
    const std::vector<std::string_view> lines = FirstLines(bytes, truncated);
    for (int number = 1; number <= kSettingsLineCount; ++number) {
      if (number > static_cast<int>(lines.size()) || !Apply(number, lines[number - 1])) {
        result_.status = SettingsReadStatus::Corrupt;
        break;
      }
      ++result_.linesRead;
    }
    if (result_.status == SettingsReadStatus::Corrupt || replaced_) result_.message = settingstext::kUnreadable;
    result_.textLengthCaption = TextLengthCaption(result_.values.MaxTextLength);
    return std::move(result_);
  }

 private:
  // Applies line `number`; false when the line cannot be read at all.
  bool Apply(int number, std::string_view line) {
    Settings& s = result_.values;
    switch (number) {
      case 2: return Text(line, s.TrayIconFile);
      case 3: return Text(line, s.WindowTitle);
      case 9: {
        if (!Text(line, s.ListFontName)) return false;
        if (s.ListFontName.empty() || s.ListFontName.size() > kMaxFontNameLength) Replace(s.ListFontName, u"宋体");
        return true;
      }
      default: break;
    }
    const std::optional<int> parsed = ParseInteger(line);
    if (!parsed) return false;
    const int v = *parsed;
    switch (number) {
      case 1: s.MaxTextLength = InRange(v, 1, kMaxTextLengthLimit, 80000); break;
      case 4:
        s.ShowTrayIcon = v != 0 ? -1 : 0;
        if (s.ShowTrayIcon == 0) {
          Check(SettingsRow::xiansituopan, false);
          result_.hideTrayIcon = true;
        }
        break;
      case 5:
        s.ContinuousPaste = v != 0 ? -1 : 0;
        Check(SettingsRow::lianxvniantie, v != 0);
        break;
      case 6:
        s.HotKeyIndex = InRange(v, 0, 11, 8);
        s.HotKeyCode = s.HotKeyIndex + 112;
        break;
      case 7: Row(SettingsRow::bujilucongfu, s.bujilucongfu, v); break;
      case 8: s.ListFontSize = InRange(v, 1, kMaxFontSize, 14); break;
      case 10:
        s.ListFontColor = IsColourValue(v) ? v : Replaced(kClWindowText);
        result_.applyListFont = true;
        break;
      case 11: s.HotKeyAlt = v; break;
      case 12:
        s.PasteStep = (v >= 1 && v <= 50) ? v : 1;
        result_.pasteStepCaption = PasteStepCaption(s.PasteStep);
        break;
      case 13: s.PasteAutoJump = v; break;
      case 14: s.PasteAutoSelect = v; break;
      case 15: Row(SettingsRow::lianxvfuzi, s.lianxvfuzi, v); break;
      case 16: Row(SettingsRow::diaoyongkuaisu, s.diaoyongkuaisu, v); break;
      // A number that names no skin shows the classic look, and is saved as such.
      case 17: s.SkinNumber = InRange(v, kClassicSkin, static_cast<int>(SkinChoices().size()), kClassicSkin); break;
      case 18: Row(SettingsRow::kaiqigudinkuaijie, s.kaiqigudinkuaijie, v); break;
      case 19: Row(SettingsRow::jiansitupiangesi, s.jiansitupiangesi, v); break;
      case 20: Row(SettingsRow::ziciwordhtm, s.ziciwordhtm, v); break;
      case 21:
        // 1, 2 or 3 checks that row; any other value changes nothing.
        if (v == 1) Sound(SoundChoice::wusen, SettingsRow::wusen);
        if (v == 2) Sound(SoundChoice::laosisen, SettingsRow::laosisen);
        if (v == 3) Sound(SoundChoice::Windowsminzong, SettingsRow::Windowsminzong);
        break;
      case 22: s.JumpKey = v; break;
      case 23: Row(SettingsRow::zidongniantie, s.zidongniantie, v); break;
      case 24: Row(SettingsRow::danjihoucuxiantisi, s.danjihoucuxiantisi, v); break;
      case 25: Row(SettingsRow::qidongjiazaisangcibaocun, s.qidongjiazaisangcibaocun, v); break;
      case 26: Row(SettingsRow::jiyicuangtidaxiao, s.jiyicuangtidaxiao, v); break;
      case 27: s.SavedWidth = InRange(v, 0, kMaxWindowExtent, 0); break;
      case 28: s.SavedHeight = InRange(v, 0, kMaxWindowExtent, 0); break;
      case 29: Row(SettingsRow::zisexvkuang, s.zisexvkuang, v); break;
      case 30: Row(SettingsRow::menu_tuicubaocunweisujuku, s.menu_tuicubaocunweisujuku, v); break;
      default: return false;
    }
    return true;
  }

  // A string line: taken as it is (leading blanks too); a NUL byte makes it unreadable.
  static bool Text(std::string_view line, std::u16string& out) {
    if (line.find('\0') != std::string_view::npos) return false;
    out = unicode::AnsiToUtf16(line);
    return true;
  }

  // A value outside what the program can use falls back to its default, and the user
  // hears that the file is damaged.
  int InRange(int value, int low, int high, int fallback) {
    if (value >= low && value <= high) return value;
    return Replaced(fallback);
  }
  int Replaced(int fallback) {
    replaced_ = true;
    return fallback;
  }
  void Replace(std::u16string& value, std::u16string_view fallback) {
    replaced_ = true;
    value = fallback;
  }

  void Row(SettingsRow row, bool& value, int v) {
    value = v != 0;
    Check(row, value);
  }
  void Sound(SoundChoice choice, SettingsRow row) {
    result_.values.sound = choice;
    Check(row, true);
  }
  void Check(SettingsRow row, bool checked) { result_.rowChecks.push_back({row, checked}); }

  SettingsReadResult result_;
  bool replaced_ = false;
};

}  // namespace

Settings DefaultSettings(std::u16string_view baseDir) {
  Settings settings;
  settings.TrayIconFile = std::u16string(baseDir) + u"\\图标\\系统托盘主图标.ico";
  return settings;
}

std::string_view SettingsRowName(SettingsRow row) {
  switch (row) {
    case SettingsRow::xiansituopan: return "xiansituopan";
    case SettingsRow::lianxvniantie: return "lianxvniantie";
    case SettingsRow::bujilucongfu: return "bujilucongfu";
    case SettingsRow::lianxvfuzi: return "lianxvfuzi";
    case SettingsRow::diaoyongkuaisu: return "diaoyongkuaisu";
    case SettingsRow::kaiqigudinkuaijie: return "kaiqigudinkuaijie";
    case SettingsRow::jiansitupiangesi: return "jiansitupiangesi";
    case SettingsRow::ziciwordhtm: return "ziciwordhtm";
    case SettingsRow::wusen: return "wusen";
    case SettingsRow::laosisen: return "laosisen";
    case SettingsRow::Windowsminzong: return "Windowsminzong";
    case SettingsRow::zidongniantie: return "zidongniantie";
    case SettingsRow::danjihoucuxiantisi: return "danjihoucuxiantisi";
    case SettingsRow::qidongjiazaisangcibaocun: return "qidongjiazaisangcibaocun";
    case SettingsRow::jiyicuangtidaxiao: return "jiyicuangtidaxiao";
    case SettingsRow::zisexvkuang: return "zisexvkuang";
    case SettingsRow::menu_tuicubaocunweisujuku: return "menu_tuicubaocunweisujuku";
  }
  return {};
}

fs::path SettingsFilePath(const fs::path& baseDir) { return baseDir / u"set"; }

SettingsReadResult ParseSettingsFile(std::string_view bytes, const Settings& current, bool truncated) {
  return SettingsReader(current).Run(bytes, truncated);
}

SettingsReadResult LoadSettingsFile(const fs::path& file, const Settings& current) {
  const FileReadResult read = ReadFileBounded(file, kMaxSettingsFileBytes);
  if (read.missing) {
    SettingsReadResult result;
    result.values = current;
    result.status = SettingsReadStatus::Missing;
    result.message = settingstext::kMissingFile;
    return result;
  }
  if (read.error) {
    // There but unreadable (locked, a folder of that name): the values stay.
    SettingsReadResult result;
    result.values = current;
    result.status = SettingsReadStatus::Corrupt;
    result.message = settingstext::kUnreadable;
    result.textLengthCaption = TextLengthCaption(current.MaxTextLength);
    return result;
  }
  return ParseSettingsFile(read.bytes, current, read.truncated);
}

std::string FormatSettingsFile(const Settings& s, int windowWidth, int windowHeight) {
  std::string out;
  const auto number = [&out](long long value) {
    out += std::to_string(value);
    out += "\r\n";
  };
  const auto text = [&out](std::u16string_view value) {
    out += AnsiLine(value);
    out += "\r\n";
  };
  const auto row = [&number](bool checked) { number(checked ? 1 : 0); };
  number(s.MaxTextLength);
  text(s.TrayIconFile);
  text(s.WindowTitle);
  number(s.ShowTrayIcon);
  number(s.ContinuousPaste);
  number(s.HotKeyIndex);
  row(s.bujilucongfu);
  number(s.ListFontSize);
  text(s.ListFontName);
  number(s.ListFontColor);
  number(s.HotKeyAlt);
  number(s.PasteStep);
  number(s.PasteAutoJump);
  number(s.PasteAutoSelect);
  row(s.lianxvfuzi);
  row(s.diaoyongkuaisu);
  number(s.SkinNumber);
  row(s.kaiqigudinkuaijie);
  row(s.jiansitupiangesi);
  row(s.ziciwordhtm);
  number(s.sound == SoundChoice::laosisen ? 2 : s.sound == SoundChoice::Windowsminzong ? 3 : 1);
  number(s.JumpKey);
  row(s.zidongniantie);
  row(s.danjihoucuxiantisi);
  row(s.qidongjiazaisangcibaocun);
  row(s.jiyicuangtidaxiao);
  number(windowWidth);
  number(windowHeight);
  row(s.zisexvkuang);
  row(s.menu_tuicubaocunweisujuku);
  return out;
}

std::error_code SaveSettingsFile(const fs::path& file, const Settings& settings, int windowWidth,
                                  int windowHeight) {
  return WriteFileAtomically(file, FormatSettingsFile(settings, windowWidth, windowHeight));
}

bool ShouldRestoreSavedSize(const Settings& settings, int windowWidth, int windowHeight) {
  return settings.jiyicuangtidaxiao && settings.SavedWidth > 0 && settings.SavedHeight > 0 &&
         windowWidth >= settings.SavedWidth && windowHeight >= settings.SavedHeight;
}

}  // namespace app
