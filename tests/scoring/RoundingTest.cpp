#include <gtest/gtest.h>

#include "base/Errors.h"
#include "scoring/Rounding.h"

namespace pg {
namespace {

TEST(RoundTo, HalvesAwayFromZeroInDoublePrecision) {
  EXPECT_EQ(RoundTo(2.5, 1), 3);
  EXPECT_EQ(RoundTo(-2.5, 1), -3);
  EXPECT_EQ(RoundTo(1.005, 0.01), 1);  // 1.005 / 0.01 is just below 100.5
  EXPECT_EQ(RoundTo(425, 10), 430);
  EXPECT_EQ(RoundTo(-425, 10), -430);
  EXPECT_EQ(RoundTo(151.75 / 3, 0.01), 0.01 * 5058);
  EXPECT_EQ(RoundTo(7.3, 0), 7.3);
}

TEST(RoundTo, VariantsPassThroughWhatIsNotANumber) {
  EXPECT_TRUE(RoundTo(CellValue::Null(), CellValue(0.1)).IsNull());
  EXPECT_EQ(RoundTo(CellValue(""), CellValue(0.1)), CellValue(""));
  EXPECT_EQ(RoundTo(CellValue(7.3), CellValue(0)), CellValue(7.3));
  EXPECT_EQ(RoundTo(CellValue("2.5"), CellValue(1)), CellValue(3.0));
  EXPECT_TRUE(RoundTo(CellValue(), CellValue(1)).IsEmpty());
}

TEST(RoundUpTo, AwayFromZeroAfterCleaningTheQuotient) {
  EXPECT_EQ(RoundUpTo(1.4, 0.00001), 0.00001 * 140000);
  EXPECT_EQ(RoundUpTo(-2.3, 1), -3);
  EXPECT_EQ(RoundUpTo(0, 1), 0);
  EXPECT_EQ(RoundUpTo(27, 10), 30);
  // 12 x 0.1 lies just above 1.2, and the carry lifts it a whole step: "Ave+" at top 12.
  EXPECT_EQ(6 + RoundUpTo(12 * 0.1, 0.00001), 6 + 0.00001 * 120001);
  EXPECT_FLOAT_EQ(static_cast<float>(6 + RoundUpTo(12 * 0.1, 0.00001)), 7.20001f);
  EXPECT_EQ(7 + RoundUpTo(14 * 0.1, 0.00001), 8.4);
  EXPECT_TRUE(RoundUpTo(CellValue::Null(), CellValue(1)).IsNull());
  EXPECT_TRUE(RoundUpTo(CellValue(), CellValue(1)).IsEmpty());
  EXPECT_THROW(RoundUpTo(1.0, 0.0), RunTimeError);
}

TEST(Ordinal, SuffixesAndWidth) {
  EXPECT_EQ(Ordinal(1, 6), "   1st");
  EXPECT_EQ(Ordinal(2, 6), "   2nd");
  EXPECT_EQ(Ordinal(3, 6), "   3rd");
  EXPECT_EQ(Ordinal(4, 6), "   4th");
  EXPECT_EQ(Ordinal(11, 6), "  11th");
  EXPECT_EQ(Ordinal(12, 6), "  12th");
  EXPECT_EQ(Ordinal(13, 6), "  13th");
  EXPECT_EQ(Ordinal(21, 6), "  21st");
  EXPECT_EQ(Ordinal(22, 6), "  22nd");
  EXPECT_EQ(Ordinal(111, 6), " 111st");
  EXPECT_EQ(Ordinal(1234567, 6), "123456");
}

}  // namespace
}  // namespace pg
