#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/Cell.h"
#include "base/Errors.h"

namespace pg {
namespace {

int ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const RunTimeError& e) {
    return e.number();
  }
  return 0;
}

struct Sample {
  CellValue cell;
  CellValue::Kind kind;
  double numeric;
  std::string text;
};

// Cells of different kinds may carry the same payload (true, 1 and the day after 1 January
// 1970; false, 0, Empty and ""): each is equal only to itself, and reads as its own kind does.
TEST(CellValue, EachKindKeepsItsValueAndEqualsOnlyItself) {
  using K = CellValue::Kind;
  const std::vector<Sample> samples{
      {CellValue(), K::Empty, 0, ""},
      {CellValue::Null(), K::Null, 0, ""},
      {CellValue(0.0), K::Number, 0, "0"},
      {CellValue(1), K::Number, 1, "1"},
      {CellValue(-1.5), K::Number, -1.5, "-1.5"},
      {CellValue(MakeDate(1970, 1, 2)), K::Date, 0, "02/01/1970"},
      {CellValue(MakeDate(1899, 12, 30)), K::Date, 0, "30/12/1899"},
      {CellValue(true), K::Bool, -1, "True"},
      {CellValue(false), K::Bool, 0, "False"},
      {CellValue("12abc"), K::Text, 12, "12abc"},
      {CellValue(""), K::Text, 0, ""},
  };
  for (size_t i = 0; i < samples.size(); ++i) {
    const Sample& s = samples[i];
    SCOPED_TRACE(i);
    const CellValue copy = s.cell;
    EXPECT_EQ(copy, s.cell);
    EXPECT_EQ(copy.kind(), s.kind);
    EXPECT_EQ(copy.NumericValue(), s.numeric);
    EXPECT_EQ(copy.ToText(), s.text);
    for (size_t j = 0; j < samples.size(); ++j) {
      if (j != i) {
        EXPECT_FALSE(samples[j].cell == s.cell) << j;
      }
    }
    const int wrongKind = s.kind == K::Null ? err::kInvalidUseOfNull : err::kTypeMismatch;
    EXPECT_EQ(ErrorOf([&] { s.cell.number(); }), s.kind == K::Number ? 0 : wrongKind);
    EXPECT_EQ(ErrorOf([&] { s.cell.date(); }), s.kind == K::Date ? 0 : wrongKind);
    EXPECT_EQ(ErrorOf([&] { s.cell.boolean(); }), s.kind == K::Bool ? 0 : wrongKind);
    EXPECT_EQ(ErrorOf([&] { s.cell.text(); }), s.kind == K::Text ? 0 : wrongKind);
  }
  EXPECT_EQ(CellValue(MakeDate(1899, 12, 30)).date(), MakeDate(1899, 12, 30));
  EXPECT_FALSE(CellValue(false).boolean());
  EXPECT_EQ(CellValue(-1.5).number(), -1.5);
}

}  // namespace
}  // namespace pg
