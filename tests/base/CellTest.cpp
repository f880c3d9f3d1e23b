#include <gtest/gtest.h>

#include <string>

#include "base/Cell.h"

namespace pg {
namespace {

// Cells of different kinds may carry the same payload (true, 1 and the day after 1 January
// 1970; false, 0, Empty and ""): each is equal only to itself, and reads as its own kind does.
TEST(CellValue, EachKindKeepsItsValueAndEqualsOnlyItself) {
  using K = CellValue::Kind;
  const struct {
    CellValue cell;
    K kind;
    double numeric;
    std::string text;
  } samples[] = {
      {CellValue(), K::Empty, 0, ""},
      {CellValue::Null(), K::Null, 0, ""},
      {CellValue(0.0), K::Number, 0, "0"},
      {CellValue(1), K::Number, 1, "1"},
      {CellValue(MakeDate(1970, 1, 2)), K::Date, 0, "02/01/1970"},
      {CellValue(MakeDate(1899, 12, 30)), K::Date, 0, "30/12/1899"},
      {CellValue(true), K::Bool, -1, "True"},
      {CellValue(false), K::Bool, 0, "False"},
      {CellValue("12abc"), K::Text, 12, "12abc"},
      {CellValue(""), K::Text, 0, ""},
  };
  for (const auto& s : samples) {
    SCOPED_TRACE(s.text);
    const CellValue copy = s.cell;
    EXPECT_EQ(copy.kind(), s.kind);
    EXPECT_EQ(copy.NumericValue(), s.numeric);
    EXPECT_EQ(copy.ToText(), s.text);
    for (const auto& other : samples)
      EXPECT_EQ(other.cell == copy, &other == &s);
  }
  EXPECT_EQ(CellValue(MakeDate(1899, 12, 30)).date(), MakeDate(1899, 12, 30));
  EXPECT_FALSE(CellValue(false).boolean());
  EXPECT_EQ(CellValue(-1.5).number(), -1.5);
}

}  // namespace
}  // namespace pg
