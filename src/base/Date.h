#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace pg {

// A calendar date without a time of day.
using Date = std::chrono::sys_days;

Date MakeDate(int year, unsigned month, unsigned day);
int YearOf(Date d);
unsigned MonthOf(Date d);
unsigned DayOf(Date d);

// Formats with the day-month-year patterns the windows and files use: d, dd, ddd, dddd, m, mm,
// mmm, mmmm, yy, yyyy; any other character stands for itself. Names are always English, whatever
// the machine's locale, because the files written with them are read back by the program.
std::string FormatDate(Date d, std::string_view pattern);

// Reads a date as a person types it, day before month: 25/9/2006, 25/09/06, 25-9-2006,
// 25.9.2006, 25 September 2006, 25 Sep 2006, 2006-09-25, and the catalogue's "dd mmmm yyyy "
// with its trailing blank. Two-digit years 00-29 are 2000-2029, 30-99 are 1930-1999.
std::optional<Date> ParseDate(std::string_view text);

}  // namespace pg
