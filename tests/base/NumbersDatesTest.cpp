#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdlib>

#include "base/Date.h"
#include "base/Numbers.h"

namespace pg {
namespace {

TEST(NumberText, PlainDecimalUpToFifteenDigits) {
  EXPECT_EQ(NumberText(51.23), "51.23");
  EXPECT_EQ(NumberText(0.1), "0.1");
  EXPECT_EQ(NumberText(-12), "-12");
  EXPECT_EQ(NumberText(7), "7");
  EXPECT_EQ(NumberText(0.01 * 232), "2.32");
  EXPECT_EQ(NumberText(0.00001), "0.00001");
  EXPECT_EQ(NumberText(-0.5), "-0.5");
  EXPECT_EQ(NumberText(1e20), "100000000000000000000");
  EXPECT_EQ(NumberText(0.0), "0");
  EXPECT_EQ(NumberText(-0.0), "0");
  EXPECT_EQ(NumberText(1.0 / 3), "0.333333333333333");
}

TEST(NumericValue, LeadingNumberOrZero) {
  EXPECT_EQ(NumericValue("  -1.5abc"), -1.5);
  EXPECT_EQ(NumericValue("abc"), 0);
  EXPECT_EQ(NumericValue(""), 0);
  EXPECT_EQ(NumericValue(".5"), 0.5);
  EXPECT_EQ(NumericValue("3e2x"), 300);
  EXPECT_TRUE(IsNumber(" 12.5 "));
  EXPECT_FALSE(IsNumber("12.5x"));
  EXPECT_FALSE(IsNumber(""));
  EXPECT_FALSE(IsNumber("-"));
}

// Whole numbers take a shorter road than fractions; both must give the double the general
// conversion gives, to the last bit and the sign of zero.
TEST(ParseNumber, EveryFormGivesTheCorrectlyRoundedDouble) {
  for (const char* text : {"0", "-0", "+7", "007", " 42 ", "-32768", "999999999999999",
                           "-999999999999999", "9999999999999999", "12345678901234567890",
                           "9007199254740993", "0.1", "-2.675", "1e3", "-0.0", "5."}) {
    SCOPED_TRACE(text);
    const std::optional<double> value = ParseNumber(text);
    ASSERT_TRUE(value.has_value());
    const double expected = std::strtod(text, nullptr);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(*value), std::bit_cast<std::uint64_t>(expected));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(NumericValue(text)),
              std::bit_cast<std::uint64_t>(expected));
  }
  for (const char* text : {"", "+", "-", "--1", "1-", "+-1", "1 2", "0x10"})
    EXPECT_FALSE(ParseNumber(text).has_value()) << text;
}

TEST(FormatNumber, DisplayPatterns) {
  EXPECT_EQ(FormatNumber(51.234, "0.00"), "51.23");
  EXPECT_EQ(FormatNumber(2.675, "0.00"), "2.68");
  EXPECT_EQ(FormatNumber(-0.5, "0.00"), "-0.50");
  EXPECT_EQ(FormatNumber(1.5, "+0.00;-0.00;0"), "+1.50");
  EXPECT_EQ(FormatNumber(-1.5, "+0.00;-0.00;0"), "-1.50");
  EXPECT_EQ(FormatNumber(0, "+0.00;-0.00;0"), "0");
  EXPECT_EQ(FormatNumber(0, "+0.00;-0.00;0.00"), "0.00");
  EXPECT_EQ(FormatNumber(5, "00. "), "05. ");
  EXPECT_EQ(FormatNumber(123, "00. "), "123. ");
  EXPECT_EQ(FormatNumber(9.999, "0.00"), "10.00");
}

TEST(Dates, DisplayPatternsInEnglish) {
  const Date d = MakeDate(2006, 9, 25);
  EXPECT_EQ(FormatDate(d, "dddd dd mmm yyyy"), "Monday 25 Sep 2006");
  EXPECT_EQ(FormatDate(d, "dd mmmm yyyy"), "25 September 2006");
  EXPECT_EQ(FormatDate(d, "dddd"), "Monday");
  EXPECT_EQ(FormatDate(d, "ddd dd/mm/yy"), "Mon 25/09/06");
  EXPECT_EQ(FormatDate(d, "dd/mm/yy"), "25/09/06");
  EXPECT_EQ(FormatDate(d, "yymmdd"), "060925");
  EXPECT_EQ(FormatDate(d, "yyyy"), "2006");
  EXPECT_EQ(FormatDate(d, "mmdd"), "0925");
  EXPECT_EQ(FormatDate(d, "dddd dd/mm/yy"), "Monday 25/09/06");
  EXPECT_EQ(FormatDate(MakeDate(2013, 7, 5), "dddd dd mmmm yyyy"), "Friday 05 July 2013");
}

TEST(Dates, ReadsWhatAPersonTypesDayFirst) {
  const Date d = MakeDate(2006, 9, 25);
  for (const char* text :
       {"25/9/2006", "25/09/06", "25 September 2006", "25 Sep 2006", "2006-09-25",
        "25 September 2006 ", "25-9-2006", "25.9.2006", "Monday 25 Sep 2006"}) {
    EXPECT_EQ(ParseDate(text), d) << text;
  }
  EXPECT_EQ(ParseDate("1/2/29"), MakeDate(2029, 2, 1));
  EXPECT_EQ(ParseDate("1/2/30"), MakeDate(1930, 2, 1));
  for (const char* text :
       {"", "yesterday", "31/9/2006", "29/2/2007", "25/13/2006", "25/9", "25 Sepx 2006", "0/1/2006",
        "25/9/2006/1", "2006-09-281", "06-0259-25", "281/9/06"}) {
    EXPECT_FALSE(ParseDate(text).has_value()) << text;
  }
}

}  // namespace
}  // namespace pg
