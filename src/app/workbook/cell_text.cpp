#include "app/workbook/cell_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace app {

namespace {
std::u16string Ascii(std::string_view s) { return std::u16string(s.begin(), s.end()); }

// Days from 1970-01-01 to a civil date and back (proleptic Gregorian).
void CivilFromDays(long long z, int& y, int& m, int& d) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long yy = static_cast<long long>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yy + (m <= 2));
}
}  // namespace

std::u16string NumberText(double value) {
  if (std::isnan(value) || std::isinf(value)) return u"#NUM!";
  if (value == 0) return u"0";
  char buffer[40];
  // 15 significant digits: d.dddddddddddddde±XX.
  std::snprintf(buffer, sizeof buffer, "%.14e", value);
  std::string s(buffer);
  const bool negative = s[0] == '-';
  if (negative) s.erase(0, 1);
  const std::size_t e = s.find('e');
  const int exponent = std::atoi(s.c_str() + e + 1);
  std::string digits = s.substr(0, 1) + s.substr(2, e - 2);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string out = negative ? "-" : "";
  const double magnitude = std::fabs(value);
  if (exponent >= 15 || magnitude < 0.00001) {
    out += digits.substr(0, 1);
    if (digits.size() > 1) out += "." + digits.substr(1);
    out += "E" + std::to_string(exponent);
  } else if (exponent < 0) {
    out += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  } else {
    const std::size_t whole = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= whole) {
      out += digits + std::string(whole - digits.size(), '0');
    } else {
      out += digits.substr(0, whole) + "." + digits.substr(whole);
    }
  }
  return Ascii(out);
}

std::u16string DateText(double serial, bool dates1904) {
  // Beyond the year 9999 or before the system's day 0 a date means nothing: show the number.
  if (!(serial >= 0) || serial >= 2958466) return NumberText(serial);
  long long days = static_cast<long long>(std::floor(serial));
  long long seconds = std::llround((serial - static_cast<double>(days)) * 86400.0);
  if (seconds >= 86400) {
    ++days;
    seconds -= 86400;
  }
  std::string out;
  if (days != 0) {
    // Day 0 of the 1900 system is 1899-12-31 up to its fictitious 1900-02-29 (day 60), after
    // which the count runs from 1899-12-30; the 1904 system counts from 1904-01-01.
    long long fromEpoch;  // days from 1970-01-01
    if (dates1904) fromEpoch = days - 24107;
    else if (days < 61) fromEpoch = days - 25568;
    else fromEpoch = days - 25569;
    int y, m, d;
    CivilFromDays(fromEpoch, y, m, d);
    if (!dates1904 && days == 60) d = 29, m = 2;  // the day the 1900 system believes in
    out = std::to_string(y) + "/" + std::to_string(m) + "/" + std::to_string(d);
  }
  if (seconds != 0 || days == 0) {
    char time[16];
    std::snprintf(time, sizeof time, "%d:%02d:%02d", static_cast<int>(seconds / 3600),
                  static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    if (!out.empty()) out += " ";
    out += time;
  }
  return Ascii(out);
}

std::u16string BoolText(bool value) { return value ? u"TRUE" : u"FALSE"; }

std::u16string ErrorText(std::uint8_t code) {
  switch (code) {
    case 0x00: return u"#NULL!";
    case 0x07: return u"#DIV/0!";
    case 0x0F: return u"#VALUE!";
    case 0x17: return u"#REF!";
    case 0x1D: return u"#NAME?";
    case 0x24: return u"#NUM!";
    case 0x2A: return u"#N/A";
    default: return u"#N/A";
  }
}

bool IsBuiltInDateFormat(int id) {
  // 14-22 dates and times, 45-47 times; 27-36 and 50-58 are the Chinese versions' date formats.
  return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) || (id >= 50 && id <= 58);
}

bool IsDateFormat(int formatId, std::string_view code) {
  if (IsBuiltInDateFormat(formatId)) return true;
  if (code.empty()) return false;
  // Only the first section (positive numbers) decides.
  for (std::size_t i = 0; i < code.size(); ++i) {
    const char c = code[i];
    if (c == ';') break;
    if (c == '"') {
      const std::size_t close = code.find('"', i + 1);
      if (close == std::string_view::npos) return false;
      i = close;
    } else if (c == '\\' || c == '_' || c == '*') {
      ++i;  // the next character is shown or padded as it is
    } else if (c == '[') {
      const std::size_t close = code.find(']', i + 1);
      if (close == std::string_view::npos) return false;
      const std::string_view inside = code.substr(i + 1, close - i - 1);
      if (!inside.empty() && (inside[0] == 'h' || inside[0] == 'H' || inside[0] == 'm' || inside[0] == 'M' ||
                              inside[0] == 's' || inside[0] == 'S') &&
          inside.find_first_not_of(inside.substr(0, 1)) == std::string_view::npos) {
        return true;  // elapsed time
      }
      i = close;
    } else {
      switch (c) {
        case 'y': case 'Y': case 'm': case 'M': case 'd': case 'D': case 'h': case 'H': case 's': case 'S':
          return true;
        default:
          break;
      }
    }
  }
  return false;
}

}  // namespace app
