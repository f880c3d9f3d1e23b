#include "base/Date.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <vector>

namespace pg {
namespace {

constexpr std::array<const char*, 12> kMonths = {"January",   "February", "March",    "April",
                                                 "May",       "June",     "July",     "August",
                                                 "September", "October",  "November", "December"};
// Indexed by std::chrono::weekday::c_encoding(): Sunday is 0.
constexpr std::array<const char*, 7> kDays = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                              "Thursday", "Friday", "Saturday"};

std::string TwoDigits(unsigned v) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02u", v % 100);
  return buf;
}

bool SameWordPrefix(std::string_view word, std::string_view name, size_t minLength) {
  if (word.size() < minLength || word.size() > name.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(word[i])) !=
        std::tolower(static_cast<unsigned char>(name[i])))
      return false;
  }
  return true;
}

// A month named in full or by its first three letters or more ("Sep", "Sept", "September").
std::optional<unsigned> MonthByName(std::string_view word) {
  for (unsigned m = 0; m < kMonths.size(); ++m) {
    if (SameWordPrefix(word, kMonths[m], 3)) return m + 1;
  }
  return std::nullopt;
}

std::optional<Date> Valid(int year, unsigned month, unsigned day) {
  // The calendar types keep a day or month in one byte: 281 would wrap to 25 before the test.
  if (year < 1 || year > 9999 || month > 12 || day > 31) return std::nullopt;
  std::chrono::year_month_day ymd{std::chrono::year{year}, std::chrono::month{month},
                                  std::chrono::day{day}};
  if (!ymd.ok()) return std::nullopt;
  return std::chrono::sys_days{ymd};
}

int WidenYear(int year, size_t digits) {
  if (digits <= 2) return year < 30 ? 2000 + year : 1900 + year;
  return year;
}

struct Token {
  bool number;
  std::string text;
};

}  // namespace

Date MakeDate(int year, unsigned month, unsigned day) {
  return std::chrono::sys_days{std::chrono::year_month_day{
      std::chrono::year{year}, std::chrono::month{month}, std::chrono::day{day}}};
}

int YearOf(Date d) {
  return static_cast<int>(std::chrono::year_month_day{d}.year());
}
unsigned MonthOf(Date d) {
  return static_cast<unsigned>(std::chrono::year_month_day{d}.month());
}
unsigned DayOf(Date d) {
  return static_cast<unsigned>(std::chrono::year_month_day{d}.day());
}

std::string FormatDate(Date d, std::string_view pattern) {
  const std::chrono::year_month_day ymd{d};
  const int year = static_cast<int>(ymd.year());
  const unsigned month = static_cast<unsigned>(ymd.month());
  const unsigned day = static_cast<unsigned>(ymd.day());
  const unsigned weekday = std::chrono::weekday{d}.c_encoding();
  std::string out;
  size_t i = 0;
  while (i < pattern.size()) {
    const char c = pattern[i];
    size_t run = 1;
    while (i + run < pattern.size() && pattern[i + run] == c)
      ++run;
    if (c == 'd') {
      if (run == 1)
        out += std::to_string(day);
      else if (run == 2)
        out += TwoDigits(day);
      else if (run == 3)
        out += std::string(kDays[weekday]).substr(0, 3);
      else
        out += kDays[weekday];
    } else if (c == 'm') {
      if (run == 1)
        out += std::to_string(month);
      else if (run == 2)
        out += TwoDigits(month);
      else if (run == 3)
        out += std::string(kMonths[month - 1]).substr(0, 3);
      else
        out += kMonths[month - 1];
    } else if (c == 'y') {
      if (run >= 3) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%04d", year);
        out += buf;
      } else {
        out += TwoDigits(static_cast<unsigned>(year));
      }
    } else {
      out.append(run, c);
    }
    i += run;
  }
  return out;
}

std::optional<Date> ParseDate(std::string_view text) {
  std::vector<Token> tokens;
  size_t i = 0;
  while (i < text.size()) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (std::isdigit(c)) {
      size_t j = i;
      while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j])))
        ++j;
      tokens.push_back({true, std::string(text.substr(i, j - i))});
      i = j;
    } else if (std::isalpha(c)) {
      size_t j = i;
      while (j < text.size() && std::isalpha(static_cast<unsigned char>(text[j])))
        ++j;
      tokens.push_back({false, std::string(text.substr(i, j - i))});
      i = j;
    } else if (c == ' ' || c == '\t' || c == '/' || c == '-' || c == '.' || c == ',') {
      ++i;
    } else {
      return std::nullopt;
    }
  }
  // A leading day name ("Monday 25 Sep 2006") says nothing the numbers do not.
  if (!tokens.empty() && !tokens[0].number) {
    bool isDay = false;
    for (const char* name : kDays)
      isDay = isDay || SameWordPrefix(tokens[0].text, name, 3);
    if (isDay) tokens.erase(tokens.begin());
  }
  if (tokens.size() != 3) return std::nullopt;
  for (const Token& t : tokens) {
    if (t.number && t.text.size() > 4) return std::nullopt;
  }
  if (!tokens[0].number || !tokens[2].number) return std::nullopt;
  const int first = std::stoi(tokens[0].text);
  const int last = std::stoi(tokens[2].text);
  unsigned month = 0;
  if (tokens[1].number) {
    month = static_cast<unsigned>(std::stoi(tokens[1].text));
  } else {
    const auto named = MonthByName(tokens[1].text);
    if (!named) return std::nullopt;
    month = *named;
  }
  if (tokens[0].text.size() == 4 && tokens[1].number) {
    // Year first, as in 2006-09-25.
    return Valid(first, month, static_cast<unsigned>(last));
  }
  if (tokens[0].text.size() > 2 || first < 1) return std::nullopt;
  if (tokens[2].text.size() == 3) return std::nullopt;
  return Valid(WidenYear(last, tokens[2].text.size()), month, static_cast<unsigned>(first));
}

}  // namespace pg
