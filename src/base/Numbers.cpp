#include "base/Numbers.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <system_error>
#include <vector>

namespace pg {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// Length of the number at the start of text (sign, digits, point, digits, exponent), 0 if none.
size_t NumberLength(std::string_view text) {
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = 0;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
    ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
      ++i, ++digits;
  }
  if (digits == 0) return 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    size_t expDigits = 0;
    while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j])))
      ++j, ++expDigits;
    if (expDigits > 0) i = j;
  }
  return i;
}

// text is a number as NumberLength found it. from_chars rounds exactly as strtod does and is
// many times faster, which a session file of thousands of numbers feels; it takes no '+' and
// reports values beyond a double's range, which strtod turns into infinity or zero.
double ToDouble(std::string_view text) {
  const std::string_view unsigned_ = !text.empty() && text[0] == '+' ? text.substr(1) : text;
  double value = 0;
  const auto [end, error] =
      std::from_chars(unsigned_.data(), unsigned_.data() + unsigned_.size(), value);
  if (error == std::errc() && end == unsigned_.data() + unsigned_.size()) return value;
  const std::string s(text);
  return std::strtod(s.c_str(), nullptr);
}

// The 15 significant digits of |value| and the power of ten of the first one.
struct Decimal {
  std::string digits;  // exactly 15 digits, the first non-zero unless the value is zero
  int exponent = 0;    // value = 0.d1d2... * 10^(exponent + 1)
};

Decimal ToDecimal(double value) {
  // The digits printf's "%.14e" gives, from the locale-free and much quicker to_chars, which is
  // bound to give the same; every figure the program writes passes through here.
  char buf[64];
  const auto [end, ec] =
      std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 14);
  Decimal d;
  if (ec != std::errc()) return d;
  d.digits.reserve(15);
  const char* p = buf;
  for (; p < end && *p != 'e'; ++p) {
    if (*p >= '0' && *p <= '9') d.digits += *p;
  }
  if (p < end) {
    int exponent = 0;
    const char* from = p + 1;
    if (from < end && *from == '+') ++from;
    std::from_chars(from, static_cast<const char*>(end), exponent);
    d.exponent = exponent;
  }
  return d;
}

// Digits of |value| rounded half away from zero to `places` decimals, as integer and fraction.
void RoundDecimal(double value, int places, std::string& whole, std::string& fraction) {
  Decimal d = ToDecimal(value);
  // Position (in d.digits) of the digit for 10^0 is d.exponent.
  // Build a digit string covering 10^max(exp,0) down to 10^-places.
  const int high = std::max(d.exponent, 0);
  std::string all;  // digits from 10^high down to 10^-places
  for (int power = high; power >= -places; --power) {
    const int index = d.exponent - power;
    all += (index >= 0 && index < static_cast<int>(d.digits.size())) ? d.digits[index] : '0';
  }
  const int nextIndex = d.exponent + places + 1;
  const bool roundUp = value != 0 && nextIndex >= 0 &&
                       nextIndex < static_cast<int>(d.digits.size()) && d.digits[nextIndex] >= '5';
  if (roundUp) {
    int k = static_cast<int>(all.size()) - 1;
    while (k >= 0 && all[k] == '9')
      all[k--] = '0';
    if (k >= 0)
      ++all[k];
    else
      all.insert(all.begin(), '1');
  }
  const size_t split = all.size() - static_cast<size_t>(places);
  whole = all.substr(0, split);
  fraction = all.substr(split);
  size_t firstNonZero = whole.find_first_not_of('0');
  whole = firstNonZero == std::string::npos ? "" : whole.substr(firstNonZero);
}

struct Section {
  std::string prefix, suffix;
  int wholeZeros = 0;  // '0' places before the point (minimum digits)
  bool point = false;
  int fractionZeros = 0, fractionHashes = 0;
};

Section ParseSection(std::string_view s) {
  Section sec;
  size_t i = 0;
  while (i < s.size() && s[i] != '0' && s[i] != '#' && s[i] != '.')
    sec.prefix += s[i++];
  while (i < s.size() && (s[i] == '0' || s[i] == '#' || s[i] == ',')) {
    if (s[i] == '0') ++sec.wholeZeros;
    ++i;
  }
  if (i < s.size() && s[i] == '.') {
    sec.point = true;
    ++i;
    while (i < s.size() && (s[i] == '0' || s[i] == '#')) {
      if (s[i] == '0')
        ++sec.fractionZeros;
      else
        ++sec.fractionHashes;
      ++i;
    }
  }
  sec.suffix = std::string(s.substr(i));
  return sec;
}

std::string Render(double magnitude, const Section& sec) {
  std::string whole, fraction;
  RoundDecimal(magnitude, sec.fractionZeros + sec.fractionHashes, whole, fraction);
  while (static_cast<int>(whole.size()) < sec.wholeZeros)
    whole.insert(whole.begin(), '0');
  while (static_cast<int>(fraction.size()) > sec.fractionZeros && fraction.back() == '0')
    fraction.pop_back();
  std::string out = sec.prefix + whole;
  if (sec.point) out += "." + fraction;
  return out + sec.suffix;
}

}  // namespace

double NumericValue(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i]))
    ++i;
  const std::string_view rest = text.substr(i);
  const size_t n = NumberLength(rest);
  return n == 0 ? 0.0 : ToDouble(rest.substr(0, n));
}

std::optional<double> ParseNumber(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && IsBlank(text[b]))
    ++b;
  while (e > b && IsBlank(text[e - 1]))
    --e;
  const std::string_view core = text.substr(b, e - b);
  if (const std::optional<double> whole = ShortWholeNumber(core)) return whole;
  if (core.empty() || NumberLength(core) != core.size()) return std::nullopt;
  return ToDouble(core);
}

bool IsNumber(std::string_view text) {
  return ParseNumber(text).has_value();
}

std::string NumberText(double value) {
  if (value == 0 || !std::isfinite(value)) return "0";
  Decimal d = ToDecimal(value);
  while (d.digits.size() > 1 && d.digits.back() == '0')
    d.digits.pop_back();
  std::string out = value < 0 ? "-" : "";
  const int n = static_cast<int>(d.digits.size());
  if (d.exponent < 0) {
    out += "0.";
    out.append(static_cast<size_t>(-d.exponent - 1), '0');
    out += d.digits;
  } else if (d.exponent + 1 >= n) {
    out += d.digits;
    out.append(static_cast<size_t>(d.exponent + 1 - n), '0');
  } else {
    const size_t wholeDigits = static_cast<size_t>(d.exponent) + 1;
    out += d.digits.substr(0, wholeDigits);
    out += '.';
    out += d.digits.substr(wholeDigits);
  }
  return out;
}

std::string FormatNumber(double value, std::string_view pattern) {
  std::vector<std::string_view> sections;
  size_t start = 0;
  for (size_t i = 0; i <= pattern.size(); ++i) {
    if (i == pattern.size() || pattern[i] == ';') {
      sections.push_back(pattern.substr(start, i - start));
      start = i + 1;
    }
  }
  if (value == 0 && sections.size() >= 3) return Render(0, ParseSection(sections[2]));
  if (value < 0 && sections.size() >= 2) return Render(-value, ParseSection(sections[1]));
  const std::string text = Render(std::fabs(value), ParseSection(sections[0]));
  return value < 0 ? "-" + text : text;
}

}  // namespace pg
