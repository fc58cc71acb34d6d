// How a cell's value reads as an entry: numbers in their shortest form of at most 15
// significant digits, dates as "2024/1/5" (with a time "2024/1/5 13:45:00"), TRUE/FALSE, errors as
// the sheet shows them. Whether a number is a date is told by its number format.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace app {

// Fixed notation from 0.00001 up to 15 integer digits, else "1.5E-7" / "2.5E20".
std::u16string NumberText(double value);

// A serial date of the 1900 (or 1904) system; a serial without a day part shows the time
// alone, one without a time part the date alone. Negative or far serials read as numbers.
std::u16string DateText(double serial, bool dates1904);

std::u16string BoolText(bool value);

// Excel's error codes of the binary format (0x07 "#DIV/0!", 0x2A "#N/A", ...).
std::u16string ErrorText(std::uint8_t code);

// A number format shows a date or time: the built-in ids of dates and times, or a format code
// with y, m, d, h or s outside quotes, escapes and brackets (elapsed [h], [m], [s] count).
bool IsDateFormat(int formatId, std::string_view formatCode);
bool IsBuiltInDateFormat(int formatId);

}  // namespace app
