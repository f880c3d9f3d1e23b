#include <gtest/gtest.h>

#include "base/Errors.h"
#include "base/Items.h"

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

TEST(ItemReader, ReadsEveryKindOfItem) {
  ItemReader r("\"9.3\",12,-3.5,,#NULL#,#TRUE#,#FALSE#,#2006-09-25#,\"text, with comma\",bare\r\n");
  EXPECT_EQ(r.ReadText(), "9.3");
  EXPECT_EQ(r.ReadInt16(), 12);
  EXPECT_EQ(r.ReadCell(), CellValue(-3.5));
  EXPECT_TRUE(r.ReadCell().IsEmpty());
  EXPECT_TRUE(r.ReadCell().IsNull());
  EXPECT_EQ(r.ReadCell(), CellValue(true));
  EXPECT_EQ(r.ReadCell(), CellValue(false));
  EXPECT_EQ(r.ReadCell(), CellValue(MakeDate(2006, 9, 25)));
  EXPECT_EQ(r.ReadCell(), CellValue("text, with comma"));
  EXPECT_EQ(r.ReadCell(), CellValue("bare"));
  EXPECT_TRUE(r.AtEnd());
  EXPECT_EQ(ErrorOf([&] { r.ReadText(); }), err::kInputPastEnd);
}

TEST(ItemReader, CarriageReturnEndsAnItemButABareLineFeedDoesNot) {
  ItemReader r("1\r\n2\n3,  4  ,\"a\"\nb,c\r\n");
  EXPECT_EQ(r.ReadText(), "1");
  EXPECT_EQ(r.ReadText(), "2\n3");
  EXPECT_EQ(r.ReadText(), "4");  // blanks around a bare item are not part of it
  EXPECT_EQ(r.ReadText(), "a");  // after the closing quote, the rest is dropped by default
  EXPECT_EQ(r.ReadText(), "c");

  ItemReader keep("\"a\"\nb,\"c\" d,\"e\"f,c", ItemReader::AfterQuote::Keep);
  EXPECT_EQ(keep.ReadText(), "a\nb");
  EXPECT_EQ(keep.ReadCell(), CellValue("c d"));  // each item joined afresh
  EXPECT_EQ(keep.ReadText(), "ef");
  EXPECT_EQ(keep.ReadText(), "c");
}

TEST(ItemReader, TypedReadsRefuseWhatDoesNotFit) {
  ItemReader r("32767,-32768,32768,abc,#NULL#,2.5,3.5,\"17\"");
  EXPECT_EQ(r.ReadInt16(), 32767);
  EXPECT_EQ(r.ReadInt16(), -32768);
  EXPECT_EQ(ErrorOf([&] { r.ReadInt16(); }), err::kOverflow);
  EXPECT_EQ(ErrorOf([&] { r.ReadInt16(); }), err::kTypeMismatch);
  EXPECT_EQ(ErrorOf([&] { r.ReadInt16(); }), err::kInvalidUseOfNull);
  EXPECT_EQ(r.ReadInt16(), 2);  // halves to even
  EXPECT_EQ(r.ReadInt16(), 4);
  EXPECT_EQ(r.ReadInt16(), 17);  // a quoted number is still a number
}

TEST(ItemReader, SingleAndLines) {
  ItemReader r("55.12345,1e40\r\nwhole line, with comma\r\nlast");
  EXPECT_EQ(r.ReadSingle(), 55.12345f);
  EXPECT_EQ(ErrorOf([&] { r.ReadSingle(); }), err::kOverflow);
  EXPECT_EQ(r.ReadLine(), "whole line, with comma");
  EXPECT_EQ(r.ReadLine(), "last");
  EXPECT_TRUE(r.AtEnd());
}

TEST(ItemWriter, WritesItemsTheReaderReadsBack) {
  ItemWriter w;
  w.Text("3.6").EndLine().Empty().EndLine();
  w.Number(51.23).Number(56).Number(0.01).Number(7).EndLine();
  w.Cell(CellValue::Null()).Cell(CellValue(true)).Cell(CellValue(MakeDate(2013, 7, 5)));
  w.Cell(CellValue()).Cell(CellValue("x")).Number(0.01 * 232).EndLine();
  EXPECT_EQ(w.str(),
            "\"3.6\"\r\n\r\n51.23,56,0.01,7\r\n#NULL#,#TRUE#,#2013-07-05#,,\"x\",2.32\r\n");
  ItemReader r(w.str());
  EXPECT_EQ(r.ReadText(), "3.6");
  EXPECT_EQ(r.ReadText(), "");
  EXPECT_EQ(r.ReadDouble(), 51.23);
}

}  // namespace
}  // namespace pg
