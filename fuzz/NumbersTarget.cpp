// Numbers as a person types them and as the files hold them, and the texts the program shows and
// writes for them. The input is a number text, then optionally a zero byte and a display pattern.
#include <cctype>
#include <cfloat>
#include <cmath>
#include <utility>

#include "Targets.h"
#include "base/Numbers.h"

namespace pg::fuzz {
namespace {

// Significant digits of a number text's mantissa (leading and trailing zeros are none).
size_t SignificantDigits(std::string_view text) {
  std::string digits;
  for (const char c : text) {
    if (c == 'e' || c == 'E') break;
    if (std::isdigit(static_cast<unsigned char>(c))) digits += c;
  }
  const size_t first = digits.find_first_not_of('0');
  if (first == std::string::npos) return 0;
  return digits.find_last_not_of('0') - first + 1;
}

// NumberText's form: an optional minus, the whole part without leading zeros (one zero when it
// is nothing), and a fraction only when it has a digit other than a trailing zero.
bool IsPlainDecimal(const std::string& text) {
  size_t i = text.starts_with("-") ? 1 : 0;
  const size_t whole = i;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
    ++i;
  if (i == whole || (text[whole] == '0' && i - whole > 1)) return false;
  if (i == text.size()) return text != "-0";
  if (text[i] != '.' || i + 1 == text.size() || text.back() == '0') return false;
  for (++i; i < text.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
  }
  return true;
}

// A decimal text in NumberText's form rounded to `places` decimals, halves away from zero,
// worked on the digits, as a person rounds: the magnitude only.
std::string RoundedDigits(const std::string& plain, int places) {
  const std::string digits = plain.starts_with("-") ? plain.substr(1) : plain;
  const size_t point = digits.find('.');
  const std::string whole = digits.substr(0, point);
  std::string fraction = point == std::string::npos ? "" : digits.substr(point + 1);
  fraction.resize(static_cast<size_t>(places) + 1, '0');
  const bool up = fraction.back() >= '5';
  fraction.pop_back();
  std::string all = whole + fraction;
  if (up) {
    size_t k = all.size();
    while (k > 0 && all[k - 1] == '9')
      all[--k] = '0';
    if (k == 0)
      all.insert(all.begin(), '1');
    else
      ++all[k - 1];
  }
  const size_t split = all.size() - static_cast<size_t>(places);
  std::string out = all.substr(0, split);
  if (places > 0) out += "." + all.substr(split);
  return out;
}

// The magnitude rounded as a person rounds; the sign is the value's, even where the digits are
// all zeros ("-0.00" for -0.001), as the windows have always shown it.
void RequireShown(double value, const std::string& plain) {
  static constexpr std::pair<int, const char*> kPatterns[] = {
      {0, "0"}, {1, "0.0"}, {2, "0.00"}, {4, "0.0000"}};
  const std::string sign = value < 0 ? "-" : "";
  for (const auto& [places, pattern] : kPatterns) {
    const std::string expected = sign + RoundedDigits(plain, places);
    const std::string shown = FormatNumber(value, pattern);
    Require(shown == expected,
            "FormatNumber(" + plain + ", \"" + pattern + "\") is " + shown + ", not " + expected);
  }
  const std::string expected = value == 0 ? "0" : (value > 0 ? "+" : "-") + RoundedDigits(plain, 2);
  Require(FormatNumber(value, "+0.00;-0.00;0") == expected,
          "the signed display of " + plain + " is not " + expected);
}

}  // namespace

void NumbersBody(std::string_view input, const std::string&) {
  const size_t zero = input.find('\0');
  const std::string_view text = input.substr(0, zero);
  const std::string_view pattern =
      zero == std::string_view::npos ? std::string_view("0.00") : input.substr(zero + 1);

  const std::optional<double> number = ParseNumber(text);
  const double leading = NumericValue(text);
  Require(!std::isnan(leading), "a text's numeric value is no number");
  Require(IsNumber(text) == number.has_value(), "IsNumber and ParseNumber disagree");
  FormatNumber(leading, pattern);
  if (!number) return;
  Require(leading == *number, "a number's numeric value is not the number");
  if (!std::isfinite(*number)) return;

  // What a file or a message shows of a number reads back as the same text.
  const std::string plain = NumberText(*number);
  Require(IsPlainDecimal(plain), "NumberText gives " + plain);
  const std::optional<double> back = ParseNumber(plain);
  Require(back && NumberText(*back) == plain, "the text of a number does not read back: " + plain);
  Require(std::fabs(*back - *number) <= std::fabs(*number) * 1e-14,
          "the text of a number is not the number: " + plain);
  // A number typed with up to 15 significant digits reads back exactly.
  if (SignificantDigits(text) <= 15 && (*number == 0 || std::fabs(*number) >= DBL_MIN))
    Require(*back == *number, "a number of 15 digits does not read back exactly: " + plain);
  RequireShown(*number, plain);
}

}  // namespace pg::fuzz
