#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pg {

// The text without the blanks and tabs at either end, as a typed answer or a line of a file is
// taken.
inline std::string Trim(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return "";
  return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

// A Latin-1 capital as its small letter (the accented capitals lie 32 below theirs, as A to Z
// do); any other character as it is.
inline char LowerLatin1(char c) {
  const auto u = static_cast<unsigned char>(c);
  if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7))
    return static_cast<char>(u + 32);
  return c;
}

// The decimal number at the start of a text, after blanks; 0 when the text does not start with
// one ("12abc" is 12, "abc" is 0, " -1.5" is -1.5).
double NumericValue(std::string_view text);

// Whether the whole text, blanks at either end aside, is one decimal number.
bool IsNumber(std::string_view text);

// The number a whole text holds, when IsNumber.
std::optional<double> ParseNumber(std::string_view text);

// The value of a text that is nothing but a whole number of up to 15 digits with an optional
// sign, which a double holds exactly: what ParseNumber gives for it, without its general work.
// Most numbers of the program's files are such, and there are hundreds of thousands of them.
inline std::optional<double> ShortWholeNumber(std::string_view text) {
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (negative || text[0] == '+')) text.remove_prefix(1);
  if (text.empty() || text.size() > 15) return std::nullopt;
  std::int64_t whole = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    whole = whole * 10 + (c - '0');
  }
  const auto value = static_cast<double>(whole);
  return negative ? -value : value;
}

// Plain decimal text with a point and a leading zero, up to 15 significant digits, trailing
// zeros dropped: 51.23, 0.1, -12, 7; the double 0.01 * 232 is "2.32". Zero is "0".
std::string NumberText(double value);

// Display patterns of up to three sections (positive;negative;zero), each an optional literal
// prefix, '0'/'#' digit places, an optional point with its places, and a literal suffix:
// "0.00", "+0.00;-0.00;0", "+0.00;-0.00;0.00", "00. ". Halves round away from zero on the
// value's 15-significant-digit decimal form, so 2.675 shows as 2.68 as a person expects.
std::string FormatNumber(double value, std::string_view pattern);

}  // namespace pg
