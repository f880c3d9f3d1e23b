// Dates as a person types them and as the files hold them. The input is a date text, then
// optionally a zero byte and a display pattern.
#include <cctype>

#include "Targets.h"
#include "base/Errors.h"
#include "base/Items.h"

namespace pg::fuzz {
namespace {

// Every way the program writes a date that it, or the person reading it, may give back to it.
constexpr const char* kReadBack[] = {
    "dd mmmm yyyy ", "dd mmmm yyyy",    "dddd dd mmmm yyyy", "d mmmm yyyy",
    "d mmm yyyy",    "ddd dd mmm yyyy", "dd/mm/yyyy",        "d/m/yyyy",
    "dd-mm-yyyy",    "dd.mm.yyyy",      "yyyy-mm-dd",
};

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// Every item of text read as a cell: a date item must be a day a display pattern can show.
void ReadItems(std::string_view text) {
  ItemReader items{std::string(text)};
  while (!items.AtEnd()) {
    try {
      const CellValue cell = items.ReadCell();
      if (cell.IsDate()) {
        const int year = YearOf(cell.date());
        Require(year >= 0 && year <= 9999, "a date item outside the years it can be written in");
        Require(FormatDate(cell.date(), "#yyyy-mm-dd#").size() == 12,
                "a date item does not write back in its own form");
      }
    } catch (const RunTimeError&) {
      // A bad date item is the reader's own error; the files' readers report it.
    }
  }
}

}  // namespace

void DatesBody(std::string_view input, const std::string&) {
  const size_t zero = input.find('\0');
  const std::string_view text = input.substr(0, zero);
  const std::string_view pattern = zero == std::string_view::npos
                                       ? std::string_view("dddd dd mmmm yyyy")
                                       : input.substr(zero + 1);

  ReadItems(input);
  const std::optional<Date> day = ParseDate(text);
  Require(ParseDate(Upper(text)) == day, "capitals change what a date text reads as");
  Require(ParseDate(" " + std::string(text) + " ") == day,
          "blanks around a date text change what it reads as");
  if (!day) return;

  const int year = YearOf(*day);
  Require(year >= 1 && year <= 9999, "a typed date outside the years 1 to 9999");
  for (const char* p : kReadBack) {
    Require(ParseDate(FormatDate(*day, p)) == day,
            std::string("a date written \"") + p + "\" does not read back");
  }
  if (year >= 1930 && year <= 2029) {
    Require(ParseDate(FormatDate(*day, "dd/mm/yy")) == day,
            "a date of 1930 to 2029 written with two-digit years does not read back");
  }
  ItemWriter w;
  w.DateItem(*day);
  ItemReader r(w.str());
  const CellValue cell = r.ReadCell();
  Require(cell.IsDate() && cell.date() == *day, "a date item does not read back");
  FormatDate(*day, pattern);
}

}  // namespace pg::fuzz
